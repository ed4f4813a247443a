// Text helpers of the authors' tool: CP1252 <-> UTF-8 over the player's own
// code page (model/cp1252.h), and hexadecimal.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/cp1252.h"

namespace quizpack {

using quiz::FirstInvalidUtf8;
using quiz::Utf8TrailBytes;

// UTF-8 to CP1252, stricter than quiz::Utf8ToCp1252Text, which makes '?' of
// what it cannot read: fails on invalid UTF-8 (overlong forms and surrogates
// too), naming its byte, or on characters CP1252 cannot hold, naming each
// (the first three and a count). U+0081, U+008D, U+008F, U+0090 and U+009D
// map to the five bytes CP1252 leaves undefined, where the player's fields
// make '?' of them.
bool Utf8ToCp1252(std::string_view utf8, std::string* out, std::string* error);

// "a", "a et b", "a, b et c", or the first three and how many more:
// "a, b, c et 2 autres".
std::string FirstThreeAndCount(const std::vector<std::string>& items);

// CP1252 to UTF-8 (quiz::Cp1252ToUtf8Text); the five undefined bytes become
// the C1 controls of the same number.
std::string Cp1252ToUtf8(std::string_view cp1252);

// A TOML basic string of a UTF-8 text: quotes, backslashes and control
// characters escaped.
std::string TomlString(std::string_view utf8);

// UTF-8 (already checked) to UTF-16.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Lower-case hexadecimal of the bytes.
std::string ToHex(std::string_view bytes);

// Hexadecimal (either case, even length) to bytes.
bool FromHex(std::string_view hex, std::string* out);

// File names are UTF-8 inside quizpack; these make the path the system's
// calls take (wide on Windows) and back.
std::filesystem::path PathOfUtf8(const std::string& utf8);
std::string Utf8OfPath(const std::filesystem::path& path);

// Whole file; false when it cannot be read. Names in UTF-8.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* out);

// Files handed over as bytes (the library in a browser has no disk), each
// under the path the library opens it by: the source's own name and, beside
// it, each picture's as the source writes it ("images/chat.png").
using FilesInMemory = std::map<std::string, std::vector<uint8_t>>;
// While one lives, ReadFileBytes looks in `files` and never on a disk.
struct ReadingFromMemory {
    explicit ReadingFromMemory(const FilesInMemory* files);
    ~ReadingFromMemory();
    ReadingFromMemory(const ReadingFromMemory&) = delete;
    ReadingFromMemory& operator=(const ReadingFromMemory&) = delete;
    const FilesInMemory* before;
};
bool FilesAreInMemory();
bool WriteFileBytes(const std::string& path, const uint8_t* data, size_t size);

}  // namespace quizpack
