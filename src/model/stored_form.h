// The stored form in which accepted answers are held and every comparison is
// made: upper-casing of a-z and 0xE0-0xFF, then a byte encoding. The encoding
// maps distinct bytes to distinct bytes and never yields 0, so a stored text
// keeps its length.
#pragma once

#include <cstdint>

namespace quiz {

inline uint8_t UpperAnswerByte(uint8_t b) {
    return ((b >= 'a' && b <= 'z') || b >= 0xE0) ? static_cast<uint8_t>(b - 0x20) : b;
}

// (b << 4) + (b >> 4 with its sign repeated), kept to 8 bits.
inline uint8_t EncodeAnswerByte(uint8_t b) {
    return static_cast<uint8_t>((b << 4) + (static_cast<int8_t>(b) >> 4));
}

// One byte to its stored form.
inline uint8_t StoredByte(uint8_t b) { return EncodeAnswerByte(UpperAnswerByte(b)); }

// Transforms a NUL-terminated text in place.
void TransformAnswerText(char* text);

}  // namespace quiz
