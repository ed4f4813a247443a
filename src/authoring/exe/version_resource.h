// The version block of a Windows .exe: what its properties show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quizpack {

// What the .exe's properties show (RT_VERSION 1, US English, code page 1252).
struct VersionStrings {
    std::u16string product;      // ProductName and FileDescription
    std::u16string company;      // CompanyName
    std::u16string version;      // FileVersion and ProductVersion, as written
    std::u16string fileName;     // OriginalFilename
    std::u16string comments;     // Comments
};

// A VS_VERSIONINFO block: the fixed part gives `numbers` (up to four, missing
// ones 0) as file and product version, the string table the texts.
std::vector<uint8_t> VersionResource(const VersionStrings& strings,
                                     const std::vector<uint16_t>& numbers);

}  // namespace quizpack
