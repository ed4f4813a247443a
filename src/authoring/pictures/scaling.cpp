#include "pictures/scaling.h"

#include <algorithm>
#include <cstdint>

namespace quizpack {

namespace {

// For each destination index, the source indexes it covers and how much of
// each: source pixel s spans [s * to, (s + 1) * to) and destination pixel d
// spans [d * from, (d + 1) * from) on one axis of from * to units, so the
// weights of a destination pixel add up to `from`.
struct Taps {
    std::vector<uint32_t> first, count;
    std::vector<uint32_t> index, weight;
};

Taps TapsFor(int from, int to) {
    Taps taps;
    for (int d = 0; d < to; ++d) {
        const int64_t begin = int64_t(d) * from, end = begin + from;
        taps.first.push_back(static_cast<uint32_t>(taps.index.size()));
        for (int64_t s = begin / to; s < from && s * to < end; ++s) {
            const int64_t overlap = std::min(end, (s + 1) * to) - std::max(begin, s * to);
            taps.index.push_back(static_cast<uint32_t>(s));
            taps.weight.push_back(static_cast<uint32_t>(overlap));
        }
        taps.count.push_back(static_cast<uint32_t>(taps.index.size()) - taps.first.back());
    }
    return taps;
}

// One axis: the rows (or columns) of `in`, `stride` apart, resampled.
template <typename Get, typename Put>
void Resample(const Taps& taps, int from, int lines, Get get, Put put) {
    const size_t destinations = taps.first.size();
    for (int line = 0; line < lines; ++line)
        for (size_t d = 0; d < destinations; ++d) {
            uint64_t sum[3] = {0, 0, 0};
            for (uint32_t t = taps.first[d]; t < taps.first[d] + taps.count[d]; ++t) {
                const Rgb p = get(line, taps.index[t]);
                sum[0] += uint64_t(p.r) * taps.weight[t];
                sum[1] += uint64_t(p.g) * taps.weight[t];
                sum[2] += uint64_t(p.b) * taps.weight[t];
            }
            const uint64_t half = uint64_t(from) / 2;
            put(line, d, Rgb{uint8_t((sum[0] + half) / from), uint8_t((sum[1] + half) / from),
                             uint8_t((sum[2] + half) / from)});
        }
}

}  // namespace

RgbImage ScaleImage(const RgbImage& image, int width, int height) {
    if (width < 1 || height < 1 || image.width < 1 || image.height < 1) return RgbImage();
    if (width == image.width && height == image.height) return image;
    RgbImage across(width, image.height, {});
    Resample(TapsFor(image.width, width), image.width, image.height,
             [&](int y, uint32_t x) { return image.At(int(x), y); },
             [&](int y, size_t x, Rgb p) { across.At(int(x), y) = p; });
    RgbImage out(width, height, {});
    Resample(TapsFor(image.height, height), image.height, width,
             [&](int x, uint32_t y) { return across.At(x, int(y)); },
             [&](int x, size_t y, Rgb p) { out.At(x, int(y)) = p; });
    return out;
}

RgbImage Oriented(const RgbImage& image, int orientation) {
    if (orientation < 2 || orientation > 8) return image;
    const int w = image.width, h = image.height;
    const bool turned = orientation >= 5;
    RgbImage out(turned ? h : w, turned ? w : h, {});
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;                  // mirrored
                case 3: sx = w - 1 - x, sy = h - 1 - y; break;  // upside down
                case 4: sy = h - 1 - y; break;                  // mirrored upside down
                case 5: sx = y, sy = x; break;                  // mirrored, a quarter left
                case 6: sx = y, sy = h - 1 - x; break;          // a quarter to the right
                case 7: sx = w - 1 - y, sy = h - 1 - x; break;  // mirrored, a quarter right
                default: sx = w - 1 - y, sy = x; break;         // 8: a quarter to the left
            }
            out.At(x, y) = image.At(sx, sy);
        }
    return out;
}

void FitInto(int width, int height, int boxWidth, int boxHeight, int* fitWidth, int* fitHeight) {
    // The side that binds first sets the scale; the other rounds to nearest.
    if (int64_t(width) * boxHeight >= int64_t(height) * boxWidth) {
        *fitWidth = boxWidth;
        *fitHeight = static_cast<int>((int64_t(height) * boxWidth + width / 2) / width);
    } else {
        *fitHeight = boxHeight;
        *fitWidth = static_cast<int>((int64_t(width) * boxHeight + height / 2) / height);
    }
    *fitWidth = std::max(1, *fitWidth);
    *fitHeight = std::max(1, *fitHeight);
}

bool DecodeUpright(const std::vector<uint8_t>& bytes, int needWidth, int needHeight, Rgb ground, RgbImage* image,
                   std::string* error) {
    const PictureInfo info = ReadPictureInfo(bytes);
    // The need in the stored picture's own axes.
    const bool turned = info.orientation >= 5;
    const int storedNeedWidth = turned ? needHeight : needWidth, storedNeedHeight = turned ? needWidth : needHeight;
    int reduction = 1;
    if (info.format == PictureFormat::Jpeg)
        for (int r : {8, 4, 2})
            if ((info.width + r - 1) / r >= storedNeedWidth && (info.height + r - 1) / r >= storedNeedHeight) {
                reduction = r;
                break;
            }
    RgbImage decoded;
    if (!DecodeLarge(bytes, reduction, ground, &decoded, error)) return false;
    *image = Oriented(decoded, info.orientation);
    return true;
}

}  // namespace quizpack
