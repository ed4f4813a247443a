// JPEG in the atelier: the browser's decoder, as quizpack.exe uses Windows'
// own. The page keeps each picture it decoded, at the size asked, under a
// hash of the file's bytes; the pixels come back upright (the browser turns
// them by the EXIF orientation) and are turned back here, so that the
// library turns them upright by its own reading of the orientation, as on
// every other system.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "pictures/picture_info.h"
#include "pictures/raster.h"
#include "pictures/raster_web.h"
#include "pictures/scaling.h"

// 1: `out` (width x height x 4 bytes, RGBA, upright) holds the picture; 0:
// the page has it to decode (it keeps a copy of the bytes); -1: the browser
// refused it. `stored` is width x height in the file's own axes.
EM_JS(int, atelier_jpeg, (const uint8_t* bytes, int size, const char* key, int width, int height, int storedWidth,
                          int storedHeight, uint8_t* out), {
    return Module.atelierJpeg(HEAPU8.subarray(bytes, bytes + size), UTF8ToString(key), width, height, storedWidth,
                              storedHeight, out);
});

namespace quizpack {

namespace {

bool g_toDecode = false;

// Every byte, eight at a time (a photo is megabytes, hashed at each call):
// the same file gives the same key in every call.
std::string KeyOf(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 0x9E3779B97F4A7C15ull ^ bytes.size();
    size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    }
    for (; at < bytes.size(); ++at) hash = (hash ^ bytes[at]) * 0x100000001B3ull;
    char text[32];
    std::snprintf(text, sizeof text, "%016llx-%zu", static_cast<unsigned long long>(hash), bytes.size());
    return text;
}

}  // namespace

bool JpegsToDecode() { return g_toDecode; }
void ForgetJpegsToDecode() { g_toDecode = false; }

bool DecodeJpegOnPlatform(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* why, int reduction,
                          int) {
    const PictureInfo info = ReadPictureInfo(bytes);
    const int r = reduction > 1 ? reduction : 1;
    const int storedWidth = (info.width + r - 1) / r, storedHeight = (info.height + r - 1) / r;
    if (storedWidth < 1 || storedHeight < 1) {
        *why = "taille impossible";
        return false;
    }
    const bool turned = info.orientation >= 5;
    const int width = turned ? storedHeight : storedWidth, height = turned ? storedWidth : storedHeight;
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    const int got = atelier_jpeg(bytes.data(), int(bytes.size()), KeyOf(bytes).c_str(), width, height, storedWidth,
                                 storedHeight, rgba.data());
    if (got <= 0) {
        g_toDecode = g_toDecode || got == 0;
        *why = got == 0 ? "le navigateur ne l'a pas encore décodée" : "le navigateur ne la décode pas";
        return false;
    }
    RgbImage upright(width, height, {});
    for (size_t i = 0; i < upright.pixels.size(); ++i) upright.pixels[i] = {rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]};
    // Orientations 6 and 8 undo each other; every other one undoes itself.
    const int o = info.orientation;
    *image = Oriented(upright, o == 6 ? 8 : o == 8 ? 6 : o);
    return true;
}

}  // namespace quizpack
