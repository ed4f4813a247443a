// Code page 1252, the player's texts: each byte's character, and back.
#pragma once

#include <cstdint>
#include <string>

namespace quiz {

// The character of a byte; the five bytes CP1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control of the same number.
uint32_t Cp1252CodePoint(uint8_t byte);

// The byte of a character; -1 when CP1252 has none.
int Cp1252ByteOf(uint32_t codePoint);

// CP1252 bytes as UTF-8.
std::string Cp1252ToUtf8Text(const std::string& cp1252);

// UTF-8 as CP1252, as a Windows ANSI edit control holds what is typed into
// it: a character CP1252 has no byte for, or a broken sequence, becomes '?'.
std::string Utf8ToCp1252Text(const std::string& utf8);

}  // namespace quiz
