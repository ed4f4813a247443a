// Code page 1252, the player's texts: each byte's character, and back; and
// the UTF-8 that the page, the authors' sources and picked files bring.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quiz {

// How many continuation bytes follow a UTF-8 lead byte; -1 for a byte that
// cannot lead a sequence (a continuation byte, 0xC0, 0xC1, 0xF5 and up).
inline int Utf8TrailBytes(uint8_t lead) {
    return lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1
         : lead >= 0xE0 && lead < 0xF0 ? 2 : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
}

// The UTF-8 sequence at `at`: its length, its character in `codePoint`; 0
// when no whole sequence starts there (a byte that cannot lead, or fewer
// continuation bytes than its lead asks before the end or another byte).
// Overlong forms of three and four bytes and surrogates pass: a caller that
// refuses them checks the character.
inline int Utf8SequenceAt(std::string_view utf8, size_t at, uint32_t* codePoint) {
    const uint8_t lead = static_cast<uint8_t>(utf8[at]);
    const int extra = Utf8TrailBytes(lead);
    if (extra < 0 || at + extra >= utf8.size()) return 0;
    uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const uint8_t next = static_cast<uint8_t>(utf8[at + k]);
        if ((next & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    *codePoint = cp;
    return extra + 1;
}

// Where whole UTF-8 sequences stop; npos when all the bytes are such.
inline size_t FirstInvalidUtf8(std::string_view bytes) {
    uint32_t cp;
    for (size_t i = 0; i < bytes.size();) {
        const int length = Utf8SequenceAt(bytes, i, &cp);
        if (length == 0) return i;
        i += size_t(length);
    }
    return std::string_view::npos;
}

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
