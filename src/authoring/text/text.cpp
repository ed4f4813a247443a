#include "text/text.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "model/cp1252.h"

namespace quizpack {

namespace {

uint32_t CodePointOf(uint8_t byte) { return quiz::Cp1252CodePoint(byte); }

void AppendUtf8(uint32_t cp, std::string* out) {
    if (cp < 0x80) {
        out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool ByteOf(uint32_t cp, uint8_t* byte) {
    const int b = quiz::Cp1252ByteOf(cp);
    if (b < 0) return false;
    *byte = static_cast<uint8_t>(b);
    return true;
}

char HexDigit(int v) { return "0123456789abcdef"[v]; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int Utf8TrailBytes(uint8_t lead) {
    return lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1
         : lead >= 0xE0 && lead < 0xF0 ? 2 : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
}

size_t FirstInvalidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const int extra = Utf8TrailBytes(static_cast<uint8_t>(bytes[i]));
        if (extra < 0 || i + extra >= bytes.size()) return i;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<uint8_t>(bytes[i + k]) & 0xC0) != 0x80) return i;
        i += extra + 1;
    }
    return std::string::npos;
}

bool Utf8ToCp1252(std::string_view utf8, std::string* out, std::string* error) {
    out->clear();
    std::vector<std::string> missing;
    size_t i = 0;
    while (i < utf8.size()) {
        uint8_t lead = static_cast<uint8_t>(utf8[i]);
        const int extra = Utf8TrailBytes(lead);
        if (extra < 0 || i + extra >= utf8.size()) {
            if (error) *error = "UTF-8 invalide à l'octet " + std::to_string(i + 1);
            return false;
        }
        uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            uint8_t next = static_cast<uint8_t>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                if (error) *error = "UTF-8 invalide à l'octet " + std::to_string(i + 1);
                return false;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        static const uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            if (error) *error = "UTF-8 invalide à l'octet " + std::to_string(i + 1);
            return false;
        }
        uint8_t byte;
        if (ByteOf(cp, &byte)) {
            out->push_back(static_cast<char>(byte));
        } else {
            // Every character that cannot go is named, not just the first.
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", cp);
            std::string named = std::string("« ") + std::string(utf8.substr(i, extra + 1)) + " » (" + name + ")";
            if (std::find(missing.begin(), missing.end(), named) == missing.end()) missing.push_back(named);
        }
        i += extra + 1;
    }
    if (missing.empty()) return true;
    if (error) {
        const std::string list = FirstThreeAndCount(missing);
        *error = missing.size() == 1 ? "le caractère " + list + " n'existe pas dans la page de codes 1252"
                                     : "les caractères " + list +
                                           " n'existent pas dans la page de codes 1252";
    }
    return false;
}

std::string FirstThreeAndCount(const std::vector<std::string>& items) {
    std::string list;
    for (size_t k = 0; k < items.size() && k < 3; ++k)
        list += (k == 0 ? "" : k + 1 == items.size() ? " et " : ", ") + items[k];
    if (items.size() > 3)
        list += " et " + std::to_string(items.size() - 3) + (items.size() == 4 ? " autre" : " autres");
    return list;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const uint8_t lead = static_cast<uint8_t>(utf8[i]);
        const int extra = Utf8TrailBytes(lead);
        if (extra < 0 || FirstInvalidUtf8(utf8.substr(i, extra + 1)) != std::string::npos) {
            out.push_back(u'\uFFFD');  // a byte that starts no sound sequence
            ++i;
            continue;
        }
        uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += extra + 1;
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() * 2);
    for (char c : cp1252) AppendUtf8(CodePointOf(static_cast<uint8_t>(c)), &out);
    return out;
}

std::string ToHex(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        uint8_t b = static_cast<uint8_t>(c);
        out.push_back(HexDigit(b >> 4));
        out.push_back(HexDigit(b & 15));
    }
    return out;
}

bool FromHex(std::string_view hex, std::string* out) {
    out->clear();
    if (hex.size() % 2) return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        out->push_back(static_cast<char>(high * 16 + low));
    }
    return true;
}

std::filesystem::path PathOfUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8OfPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* out) {
    std::ifstream in(PathOfUtf8(path), std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFileBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream outFile(PathOfUtf8(path), std::ios::binary | std::ios::trunc);
    if (!outFile) return false;
    outFile.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(outFile.flush());
}

}  // namespace quizpack
