// What kind of picture a file holds and its pixel size, read from its header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quizpack {

enum class PictureFormat { Unknown, Gif, Jpeg, Bmp, Png };

struct PictureInfo {
    PictureFormat format = PictureFormat::Unknown;
    int width = 0;   // as stored
    int height = 0;
    // A JPEG's EXIF orientation, 1 to 8 (1: upright as stored; 5 to 8 turn
    // it a quarter, so that its width and height swap); 1 for the others.
    int orientation = 1;
    int UprightWidth() const { return orientation >= 5 ? height : width; }
    int UprightHeight() const { return orientation >= 5 ? width : height; }
};

// A picture of a quiz: the file it came from (or what drew it), what its
// header says, its bytes.
struct PictureSource {
    std::string path;  // as resolved against the source's folder
    PictureInfo info;
    std::vector<uint8_t> bytes;
};

// Unknown format, or a size of 0, when the header cannot be read.
PictureInfo ReadPictureInfo(const std::vector<uint8_t>& bytes);

const char* PictureFormatName(PictureFormat format);

// The format a file name's ending promises (.png, .gif, .jpg or .jpeg, .bmp,
// either case); Unknown for any other ending.
PictureFormat FormatOfName(const std::string& name);

}  // namespace quizpack
