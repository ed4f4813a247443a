// quizpack's decode of an author's picture over arbitrary bytes: GIF, JPEG,
// BMP or PNG, as it runs before a quiz is built.
#include <cstdlib>
#include <vector>

#include "raster.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    quizpack::RgbImage image;
    std::string error;
    if (quizpack::DecodePicture(bytes, &image, &error)) {
        // What passes is a picture the player can show, whole.
        if (image.width < 1 || image.height < 1 || image.width > quizpack::kMaxPictureSide ||
            image.height > quizpack::kMaxPictureSide ||
            image.pixels.size() != size_t(image.width) * size_t(image.height))
            std::abort();
    } else if (error.empty()) {
        std::abort();  // a refusal always says why
    }
    return 0;
}
