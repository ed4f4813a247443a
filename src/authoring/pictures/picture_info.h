// What kind of picture a file holds and its pixel size, read from its header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quizpack {

enum class PictureFormat { Unknown, Gif, Jpeg, Bmp, Png };

struct PictureInfo {
    PictureFormat format = PictureFormat::Unknown;
    int width = 0;
    int height = 0;
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
