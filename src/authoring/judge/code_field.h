// The header's code field as a player sees it: 53 pixels wide, read-only,
// without scrolling, so that a code longer than about 8 characters is cut.
#pragma once

#include <cstdint>
#include <string>

namespace quizpack {

// The field's text runs from x 3 to x 50 (its margins are 3 pixels).
constexpr int kCodeFieldTextWidth = 47;

// The advance of a CP1252 byte in the field's font (8-point sans serif, 11
// pixels high); 0 below the space.
int CodeFieldCharWidth(uint8_t byte);

// The start of a CP1252 code text that the field shows whole: the characters
// that end within its text width.
std::string VisibleCodeText(const std::string& cp1252);

}  // namespace quizpack
