// The letters a text gives in a grid of letters: capitals A-Z, accents
// folded. The word search writes its answers so; the judge and quizpack new
// fold names the same way.
#pragma once

#include <cstdint>
#include <string>

namespace quizpack {

// The capital letters A-Z a CP1252 byte folds to ("E" for é, "OE" for œ);
// "" for a space, hyphen or apostrophe; nullptr for anything else.
const char* FoldedLetters(uint8_t byte);

// The letters of an answer as they go into the grid: A-Z only, upper-cased,
// accents folded (É -> E, Œ -> OE, Æ -> AE, ß -> SS); spaces, hyphens and
// apostrophes are left out. The answer is CP1252. False, naming the
// character in `error`, when something else stands in it (a digit, a '?').
bool GridLetters(const std::string& answer, std::string* letters, std::string* error);

}  // namespace quizpack
