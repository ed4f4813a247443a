// Pictures as plain RGB pixels, for the pictures quizpack draws and for the
// answer key it composes: PNG written with stb_image_write (or as an indexed
// PNG of our own) and read back with the player's own decoder, GIF and BMP
// (and a PNG's transparency) read with stb_image, JPEG with libjpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/picture_info.h"

namespace quizpack {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

struct RgbImage {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // rows top to bottom

    RgbImage() = default;
    RgbImage(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgb& At(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    void Fill(int left, int top, int w, int h, Rgb colour);
    // The block (left, top, w, h), which must lie inside.
    RgbImage Crop(int left, int top, int w, int h) const;
};

// An RGB PNG of the image; empty on failure.
std::vector<uint8_t> EncodePng(const RgbImage& image);

// A JPEG of the image (quality 1 to 100); empty on failure.
std::vector<uint8_t> EncodeJpeg(const RgbImage& image, int quality);

// An indexed PNG (8 bits, colour type 3) of an image of 256 colours at most,
// its palette in the order the colours first appear; empty otherwise.
std::vector<uint8_t> EncodeIndexedPng(const RgbImage& image);

// An opaque GIF's first frame as an indexed PNG that the player's own decoder
// reads back to the same pixels; empty for a GIF with any transparent pixel or
// one that does not decode. The player decodes such a PNG about ten times
// faster than the platform decodes the GIF.
std::vector<uint8_t> GifAsPng(const std::vector<uint8_t>& gif);

// The widest and tallest picture a quiz may carry: the grid shows pictures
// 510 pixels wide, and a header may claim any size.
constexpr int kMaxPictureSide = 4096;

// JPEG: libjpeg on Linux, the system's own decoder on Windows (Debian builds
// no libjpeg for MinGW, and stb_image's JPEG reader fails under fuzzing).
// False with the decoder's reason.
// `reduction` (1, 2, 4 or 8) reads it at that fraction of its size where the
// decoder can (libjpeg); the Windows loader reads it whole.
bool DecodeJpegOnPlatform(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* why,
                          int reduction = 1, int maxSide = kMaxPictureSide);

// A picture quizpack drew, as the bytes it ships: a palette PNG where 256
// colours hold it, RGB otherwise (the smaller file, and less for the player
// to inflate). It counts as made only once the player's own decoder reads
// back exactly its pixels; false otherwise.
bool MadePicture(const RgbImage& image, PictureSource* picture);

// The largest pictures quizpack reads to scale them: any phone's photo.
constexpr int kMaxLargeSide = 10000;
constexpr long kMaxLargePixels = 50000000;

// As DecodeOnGround below, for a picture up to those limits, a JPEG read at
// 1/`reduction` of its size (as stored: no EXIF turn).
bool DecodeLarge(const std::vector<uint8_t>& bytes, int reduction, Rgb ground, RgbImage* image, std::string* error);

// Decodes a PNG with the player's decoder, a GIF's first frame and a BMP with
// stb_image, a JPEG as above. False with a French `error` for pictures
// wider or taller than the side above, or bytes that do not decode, a GIF or
// a BMP cut short among them. Transparency is not applied: a PNG's
// transparent pixels keep the colours stored under them.
bool DecodePicture(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* error);

// As DecodePicture, for a picture quizpack draws anew: a PNG's alpha (or
// tRNS) and a GIF's transparent pixels blended over `ground`, the quiz's
// background. A BMP stays opaque, as the platform's loader shows it.
bool DecodeOnGround(const std::vector<uint8_t>& bytes, Rgb ground, RgbImage* image, std::string* error);

// The CRC-32 of ZIP and PNG (stb_image_write's) over `size` bytes, at most
// 2 GiB.
uint32_t Crc32(const uint8_t* data, size_t size);

// Raw deflate data (no zlib header), as a ZIP stores them, inflated by
// stb_image's decoder into exactly `expected` bytes: false when the data are
// damaged or give any other count.
bool InflateRaw(const uint8_t* data, size_t size, size_t expected, std::vector<uint8_t>* out);

}  // namespace quizpack
