// The player's own verdict, for the authors' side: what a player typing a
// given answer will be told.
#pragma once

#include <string>

namespace quizpack {

// The player's verdict ("BRAVO", "FAUX", a hint) on a typed answer, both in
// CP1252, as the player compares them.
std::string PlayerVerdict(const std::string& expected, const std::string& typed);

}  // namespace quizpack
