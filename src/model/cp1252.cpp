#include "model/cp1252.h"

namespace quiz {

namespace {

// Code points of 0x80..0x9F; 0 marks the five undefined bytes.
const uint16_t kHighTable[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

}  // namespace

uint32_t Cp1252CodePoint(uint8_t byte) {
    if (byte < 0x80 || byte > 0x9F) return byte;
    const uint16_t mapped = kHighTable[byte - 0x80];
    return mapped ? mapped : byte;
}

int Cp1252ByteOf(uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return int(codePoint);
    for (int i = 0; i < 32; ++i)
        if ((kHighTable[i] ? kHighTable[i] : 0x80u + i) == codePoint) return 0x80 + i;
    return -1;
}

std::string Cp1252ToUtf8Text(const std::string& cp1252) {
    std::string out;
    for (char c : cp1252) {
        const uint32_t cp = Cp1252CodePoint(static_cast<uint8_t>(c));
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::string Utf8ToCp1252Text(const std::string& utf8) {
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const uint8_t lead = static_cast<uint8_t>(utf8[i]);
        const int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2
                        : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
        uint32_t cp = extra <= 0 ? lead : lead & (0x3F >> extra);
        bool sound = extra >= 0 && i + extra < utf8.size();
        for (int k = 1; sound && k <= extra; ++k) {
            const uint8_t next = static_cast<uint8_t>(utf8[i + k]);
            sound = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        const int byte = sound ? Cp1252ByteOf(cp) : -1;
        out.push_back(byte < 0 || (byte >= 0x80 && byte <= 0x9F && Cp1252CodePoint(uint8_t(byte)) == uint32_t(byte))
                          ? '?'
                          : static_cast<char>(byte));
        i += sound ? extra + 1 : 1;
    }
    return out;
}

}  // namespace quiz
