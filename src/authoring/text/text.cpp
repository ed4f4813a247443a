#include "text/text.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace quizpack {

namespace {

char HexDigit(int v) { return "0123456789abcdef"[v]; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool Utf8ToCp1252(std::string_view utf8, std::string* out, std::string* error) {
    out->clear();
    std::vector<std::string> missing;
    size_t i = 0;
    while (i < utf8.size()) {
        uint32_t cp = 0;
        const int length = quiz::Utf8SequenceAt(utf8, i, &cp);
        // The smallest character of each length: a longer form of a smaller one is overlong.
        static const uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (length == 0 || cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            if (error) *error = "UTF-8 invalide à l'octet " + std::to_string(i + 1);
            return false;
        }
        const int byte = quiz::Cp1252ByteOf(cp);
        if (byte >= 0) {
            out->push_back(static_cast<char>(byte));
        } else {
            // Every character that cannot go is named, not just the first.
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", cp);
            std::string named = std::string("« ") + std::string(utf8.substr(i, size_t(length))) + " » (" + name + ")";
            if (std::find(missing.begin(), missing.end(), named) == missing.end()) missing.push_back(named);
        }
        i += size_t(length);
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
        uint32_t cp = 0;
        const int length = quiz::Utf8SequenceAt(utf8, i, &cp);
        if (length == 0) {
            out.push_back(u'\uFFFD');  // a byte that starts no sound sequence
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += size_t(length);
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) { return quiz::Cp1252ToUtf8Text(std::string(cp1252)); }

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

namespace {
const FilesInMemory* g_inMemory = nullptr;
}  // namespace

ReadingFromMemory::ReadingFromMemory(const FilesInMemory* files) : before(g_inMemory) { g_inMemory = files; }
ReadingFromMemory::~ReadingFromMemory() { g_inMemory = before; }
bool FilesAreInMemory() { return g_inMemory != nullptr; }

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* out) {
    if (g_inMemory) {
        // "./images/chat.png" and "images//chat.png" are the same file.
        const std::filesystem::path wanted = PathOfUtf8(path).lexically_normal();
        auto found = g_inMemory->find(Utf8OfPath(wanted));
        // Files chosen one by one come without their folder: the only one of
        // that name stands for it ("images/chat.png" is the chat.png chosen).
        if (found == g_inMemory->end()) {
            for (auto at = g_inMemory->begin(); at != g_inMemory->end(); ++at) {
                if (PathOfUtf8(at->first).filename() != wanted.filename()) continue;
                if (found != g_inMemory->end()) return false;  // two of that name: which one is not known
                found = at;
            }
        }
        if (found == g_inMemory->end()) return false;
        *out = found->second;
        return true;
    }
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

std::string TomlString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace quizpack
