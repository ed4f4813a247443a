// quizpack's decode of an author's picture over arbitrary bytes: GIF, JPEG,
// BMP or PNG, as it runs before a quiz is built, as shown and on a ground;
// and the PNG that stands for an opaque GIF in the .exe.
#include <cstdlib>
#include <vector>

#include "pictures/raster.h"
#include "pictures/scaling.h"

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
    // The same picture on a ground (stb_image reads a PNG's transparency):
    // never a picture the plain decode refused, never another size.
    quizpack::RgbImage grounded;
    std::string groundError;
    if (quizpack::DecodeOnGround(bytes, {90, 95, 150}, &grounded, &groundError)) {
        if (image.pixels.empty() || grounded.width != image.width || grounded.height != image.height ||
            grounded.pixels.size() != image.pixels.size())
            std::abort();
    } else if (groundError.empty()) {
        std::abort();
    }
    // A picture quizpack scales: read upright at the size of a mosaic's tile
    // (its EXIF block parsed on the way), then scaled to it.
    const quizpack::PictureInfo info = quizpack::ReadPictureInfo(bytes);
    if (info.orientation < 1 || info.orientation > 8) std::abort();
    quizpack::RgbImage upright;
    if (int64_t(info.width) * info.height <= 4000000 &&
        quizpack::DecodeUpright(bytes, 60, 60, {90, 95, 150}, &upright, &error)) {
        if (upright.pixels.size() != size_t(upright.width) * size_t(upright.height)) std::abort();
        int width = 0, height = 0;
        quizpack::FitInto(upright.width, upright.height, 60, 60, &width, &height);
        const quizpack::RgbImage tile = quizpack::ScaleImage(upright, width, height);
        if (tile.width != width || tile.height != height || width > 60 || height > 60) std::abort();
    }
    const std::vector<uint8_t> png = quizpack::GifAsPng(bytes);
    if (!png.empty()) {
        // Only a GIF that passed stands for itself as a PNG, and its PNG
        // shows the GIF's very pixels.
        quizpack::RgbImage back;
        if (image.pixels.empty() || !quizpack::DecodePicture(png, &back, &error) ||
            back.width != image.width || back.height != image.height || back.pixels != image.pixels)
            std::abort();
    }
    return 0;
}
