// Draws the pictures of the quizzes we ship and test, so that none comes
// from elsewhere: a symbol of the font quizpack carries, large, on a
// gradient of its own.
//   example_pictures release DIR   the mosaic example's six PNG pictures
//   example_pictures fixture DIR   a mosaic's six pictures in every format
//                                  (a JPEG with an EXIF turn, PNG, GIF, BMP)
//                                  and a 12-megapixel photo for a puzzle
//   example_pictures photos DIR N  N photos of 12 megapixels, as noisy as a
//                                  phone's (several megabytes each), for the
//                                  mosaic benchmark
#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "pictures/font.h"
#include "pictures/raster.h"
#include "pictures/scaling.h"
#include "text/text.h"

namespace {

using quizpack::Rgb;
using quizpack::RgbImage;

struct Picture {
    const char* name;  // the file, its ending the format
    char16_t symbol;
    int width, height;
    Rgb top, bottom, ink;
    int orientation;  // a JPEG's EXIF turn: drawn so that it shows upright once turned
};

RgbImage Draw(const Picture& p) {
    RgbImage image(p.width, p.height, {});
    for (int y = 0; y < p.height; ++y) {
        const int t = y * 255 / std::max(1, p.height - 1);
        auto mix = [t](uint8_t a, uint8_t b) { return uint8_t((a * (255 - t) + b * t) / 255); };
        image.Fill(0, y, p.width, 1, {mix(p.top.r, p.bottom.r), mix(p.top.g, p.bottom.g), mix(p.top.b, p.bottom.b)});
    }
    quizpack::Font font;
    std::string error;
    const int pixels = std::min(p.width, p.height) * 3 / 4;
    if (!font.Open(pixels, &error)) return image;
    const std::u16string symbol(1, p.symbol);
    const int baseline = (p.height + font.Ascent()) / 2 - pixels / 10;
    font.Write(&image, symbol, (p.width - font.Width(symbol)) / 2, baseline, p.ink);
    return image;
}

// The inverse of an EXIF turn: stored so that turning it shows `upright`.
RgbImage Stored(const RgbImage& upright, int orientation) {
    const int inverse[9] = {1, 1, 2, 3, 4, 5, 8, 7, 6};
    return quizpack::Oriented(upright, inverse[orientation]);
}

// An APP1 segment with the orientation tag, just after the JPEG's SOI.
std::vector<uint8_t> WithExif(std::vector<uint8_t> jpeg, int orientation) {
    const uint8_t tiff[] = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0,
                            uint8_t(orientation), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> app1 = {0xFF, 0xE1, 0, uint8_t(2 + 6 + sizeof tiff), 'E', 'x', 'i', 'f', 0, 0};
    app1.insert(app1.end(), std::begin(tiff), std::end(tiff));
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

// A GIF of up to 256 colours through giflib.
std::vector<uint8_t> Gif(const RgbImage& image) {
    std::vector<Rgb> colours;
    std::vector<GifPixelType> indices;
    for (const Rgb& p : image.pixels) {
        // Colours rounded to a 6 x 6 x 6 cube: 216 of them at most.
        const Rgb q{uint8_t((p.r + 25) / 51 * 51), uint8_t((p.g + 25) / 51 * 51), uint8_t((p.b + 25) / 51 * 51)};
        size_t at = 0;
        while (at < colours.size() && colours[at] != q) ++at;
        if (at == colours.size()) colours.push_back(q);
        indices.push_back(GifPixelType(at));
    }
    std::vector<GifColorType> table(256);
    for (size_t i = 0; i < colours.size(); ++i) table[i] = {colours[i].r, colours[i].g, colours[i].b};
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, [](GifFileType* f, const GifByteType* data, int size) {
        auto* bytes = static_cast<std::vector<uint8_t>*>(f->UserData);
        bytes->insert(bytes->end(), data, data + size);
        return size;
    }, &error);
    ColorMapObject* map = GifMakeMapObject(256, table.data());
    EGifPutScreenDesc(file, image.width, image.height, 8, 0, map);
    EGifPutImageDesc(file, 0, 0, image.width, image.height, false, nullptr);
    for (int y = 0; y < image.height; ++y) EGifPutLine(file, &indices[size_t(y) * image.width], image.width);
    GifFreeMapObject(map);
    EGifCloseFile(file, &error);
    return out;
}

std::vector<uint8_t> Bmp(const RgbImage& image) {
    const uint32_t stride = (uint32_t(image.width) * 3 + 3) & ~3u, size = 54 + stride * image.height;
    std::vector<uint8_t> b(size, 0);
    auto put = [&](size_t at, uint32_t v, int n) { for (int i = 0; i < n; ++i) b[at + i] = uint8_t(v >> (8 * i)); };
    b[0] = 'B', b[1] = 'M';
    put(2, size, 4), put(10, 54, 4), put(14, 40, 4), put(18, image.width, 4), put(22, image.height, 4);
    put(26, 1, 2), put(28, 24, 2);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Rgb& p = image.At(x, image.height - 1 - y);
            const size_t at = 54 + stride * y + 3 * x;
            b[at] = p.b, b[at + 1] = p.g, b[at + 2] = p.r;
        }
    return b;
}

bool Write(const std::string& folder, const Picture& p) {
    const RgbImage upright = Draw(p);
    const std::string name(p.name), path = folder + "/" + name;
    const std::string ending = name.substr(name.rfind('.'));
    std::vector<uint8_t> bytes;
    if (ending == ".jpg") bytes = WithExif(quizpack::EncodeJpeg(Stored(upright, p.orientation), 90), p.orientation);
    else if (ending == ".gif") bytes = Gif(upright);
    else if (ending == ".bmp") bytes = Bmp(upright);
    else bytes = quizpack::EncodePng(upright);
    return !bytes.empty() && quizpack::WriteFileBytes(path, bytes.data(), bytes.size());
}

}  // namespace

// A phone's photo: 4000 x 3000, a gradient under fine noise of its own seed.
bool WritePhoto(const std::string& path, uint32_t seed) {
    RgbImage photo(4000, 3000, {});
    uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < photo.height; ++y)
        for (int x = 0; x < photo.width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int n = int(state >> 27) - 16;
            auto c = [n](int v) { return uint8_t(std::clamp(v + n, 0, 255)); };
            photo.At(x, y) = {c(x * 200 / 4000 + int(seed * 7 % 50)), c(y * 200 / 3000), c(120 + int(seed * 13 % 80))};
        }
    const std::vector<uint8_t> jpeg = quizpack::EncodeJpeg(photo, 92);
    return !jpeg.empty() && quizpack::WriteFileBytes(path, jpeg.data(), jpeg.size());
}

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "photos") {
        for (int i = 1; i <= std::atoi(argv[3]); ++i)
            if (!WritePhoto(std::string(argv[2]) + "/photo" + std::to_string(i) + ".jpg", uint32_t(i))) return 1;
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: example_pictures release|fixture DIR\n");
        return 2;
    }
    const std::string kind = argv[1], folder = argv[2];
    const Rgb sky{120, 180, 240}, sea{20, 90, 160}, white{255, 255, 255}, night{20, 30, 70};
    std::vector<Picture> pictures;
    if (kind == "release")
        pictures = {{"soleil.png", 0x2600, 640, 480, sky, {250, 230, 150}, {250, 170, 0}, 1},
                    {"nuage.png", 0x2601, 640, 480, {60, 130, 220}, sky, white, 1},
                    {"parapluie.png", 0x2602, 480, 640, {90, 90, 110}, {160, 160, 180}, {200, 20, 60}, 1},
                    {"flocon.png", 0x2744, 600, 600, night, {70, 90, 150}, white, 1},
                    {"avion.png", 0x2708, 800, 450, sky, white, {40, 40, 60}, 1},
                    {"ancre.png", 0x2693, 500, 700, sea, {10, 40, 80}, {230, 190, 60}, 1}};
    else
        pictures = {{"soleil.jpg", 0x2600, 900, 600, sky, {250, 230, 150}, {250, 170, 0}, 6},
                    {"nuage.png", 0x2601, 640, 480, {60, 130, 220}, sky, white, 1},
                    {"parapluie.gif", 0x2602, 300, 400, {90, 90, 110}, {160, 160, 180}, {200, 20, 60}, 1},
                    {"flocon.bmp", 0x2744, 200, 200, night, {70, 90, 150}, white, 1},
                    {"avion.jpg", 0x2708, 800, 450, sky, white, {40, 40, 60}, 3},
                    {"ancre.png", 0x2693, 500, 700, sea, {10, 40, 80}, {230, 190, 60}, 1},
                    {"photo.jpg", 0x2605, 4000, 3000, night, sea, {250, 220, 90}, 1}};
    for (const Picture& p : pictures)
        if (!Write(folder, p)) {
            std::fprintf(stderr, "example_pictures: cannot write %s/%s\n", folder.c_str(), p.name);
            return 1;
        }
    return 0;
}
