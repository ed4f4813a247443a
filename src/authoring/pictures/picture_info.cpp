#include "pictures/picture_info.h"

#include <cctype>

#include <cstring>

namespace quizpack {

namespace {

uint32_t Be16(const uint8_t* p) { return (p[0] << 8) | p[1]; }
uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }
uint32_t Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
int32_t Le32(const uint8_t* p) {
    return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24));
}

// The orientation tag (0x0112) of an EXIF block's first directory, in
// either byte order; 1 when there is none or it says nothing sound.
int TiffOrientation(const uint8_t* t, size_t size) {
    if (size < 8) return 1;
    const bool little = t[0] == 'I' && t[1] == 'I';
    if (!little && !(t[0] == 'M' && t[1] == 'M')) return 1;
    auto u16 = [&](size_t at) { return little ? Le16(t + at) : Be16(t + at); };
    auto u32 = [&](size_t at) { return little ? uint32_t(Le32(t + at)) : Be32(t + at); };
    if (u16(2) != 42) return 1;
    const uint32_t directory = u32(4);
    if (directory > size - 2) return 1;
    const uint32_t entries = u16(directory);
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + size_t(12) * i;
        if (entry + 12 > size) return 1;
        if (u16(entry) != 0x0112) continue;
        const uint32_t value = u16(entry + 8);
        return u16(entry + 2) == 3 && value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

PictureInfo Jpeg(const std::vector<uint8_t>& b) {
    PictureInfo info{PictureFormat::Jpeg, 0, 0};
    size_t pos = 2;
    while (pos + 4 <= b.size()) {
        if (b[pos] != 0xFF) return info;
        uint8_t marker = b[pos + 1];
        if (marker == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            pos += 2;
            continue;
        }
        size_t length = Be16(&b[pos + 2]);
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                     marker != 0xCC;
        if (frame) {
            if (pos + 9 > b.size()) return info;
            info.height = static_cast<int>(Be16(&b[pos + 5]));
            info.width = static_cast<int>(Be16(&b[pos + 7]));
            return info;
        }
        if (length < 2) return info;
        if (marker == 0xE1 && pos + 2 + length <= b.size() && length >= 8 &&
            std::memcmp(&b[pos + 4], "Exif\0\0", 6) == 0)
            info.orientation = TiffOrientation(&b[pos + 10], length - 8);
        pos += 2 + length;
    }
    return info;
}

}  // namespace

PictureInfo ReadPictureInfo(const std::vector<uint8_t>& b) {
    PictureInfo info;
    if (b.size() >= 10 && (std::memcmp(b.data(), "GIF87a", 6) == 0 ||
                           std::memcmp(b.data(), "GIF89a", 6) == 0)) {
        info = {PictureFormat::Gif, static_cast<int>(Le16(&b[6])), static_cast<int>(Le16(&b[8]))};
    } else if (b.size() >= 24 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0) {
        info.format = PictureFormat::Png;
        if (std::memcmp(&b[12], "IHDR", 4) == 0) {
            uint32_t w = Be32(&b[16]), h = Be32(&b[20]);
            if (w <= 0x7FFFFFFF && h <= 0x7FFFFFFF) info = {PictureFormat::Png, int(w), int(h)};
        }
    } else if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) {
        info = Jpeg(b);
    } else if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
        info.format = PictureFormat::Bmp;
        uint32_t headerSize = static_cast<uint32_t>(Le32(&b[14]));
        if (headerSize == 12) {
            info.width = static_cast<int>(Le16(&b[18]));
            info.height = static_cast<int>(Le16(&b[20]));
        } else if (headerSize >= 40) {
            int32_t w = Le32(&b[18]), h = Le32(&b[22]);
            info.width = w;
            info.height = h == INT32_MIN ? 0 : (h < 0 ? -h : h);  // negative: top-down
        }
    }
    if (info.width < 0) info.width = 0;
    return info;
}

const char* PictureFormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Gif: return "GIF";
        case PictureFormat::Jpeg: return "JPEG";
        case PictureFormat::Bmp: return "BMP";
        case PictureFormat::Png: return "PNG";
        default: return "unknown";
    }
}

PictureFormat FormatOfName(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return PictureFormat::Unknown;
    std::string ending = name.substr(dot + 1);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ending == "png") return PictureFormat::Png;
    if (ending == "gif") return PictureFormat::Gif;
    if (ending == "jpg" || ending == "jpeg") return PictureFormat::Jpeg;
    if (ending == "bmp") return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

}  // namespace quizpack
