// The stored form in which accepted answers are held and every comparison is
// made: a phone's ’ and ‘ (0x92, 0x91) as the keyboard's ', upper-casing of
// a-z and 0xE0-0xFF, then a byte encoding. The encoding
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

// Phones type ’ where a keyboard types ', and quizpack keeps an author's ’ as
// ': both sides fold them, so a typed l’Italie is L'Italie.
inline uint8_t KeyboardApostrophe(uint8_t b) { return (b == 0x91 || b == 0x92) ? uint8_t('\'') : b; }

// One byte to its stored form.
inline uint8_t StoredByte(uint8_t b) { return EncodeAnswerByte(UpperAnswerByte(KeyboardApostrophe(b))); }

// Transforms a NUL-terminated text in place.
void TransformAnswerText(char* text);

}  // namespace quiz
