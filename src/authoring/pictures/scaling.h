// Pictures quizpack scales before they ship (a puzzle wider than the grid's
// column, a mosaic's pictures): read only as large as they are needed,
// turned upright, and scaled in integer arithmetic, so that the same
// pixels come out on every platform.
#pragma once

#include <string>
#include <vector>

#include "pictures/picture_info.h"
#include "pictures/raster.h"

namespace quizpack {

// The image scaled to width x height: each pixel the average of the area it
// covers (a box filter, both ways).
RgbImage ScaleImage(const RgbImage& image, int width, int height);

// The image turned upright by an EXIF orientation (1 to 8).
RgbImage Oriented(const RgbImage& image, int orientation);

// The size that fits `width` x `height` into a box, proportions kept: the
// largest that fits, at least 1 x 1.
void FitInto(int width, int height, int boxWidth, int boxHeight, int* fitWidth, int* fitHeight);

// The picture decoded, upright, at least `needWidth` x `needHeight` when it
// is that large: a JPEG at the smallest of libjpeg's scales (1/8, 1/4, 1/2)
// that still covers the need, the others whole; transparent pixels blended
// over `ground`, the quiz's background. False with a French `error`.
bool DecodeUpright(const std::vector<uint8_t>& bytes, int needWidth, int needHeight, Rgb ground, RgbImage* image,
                   std::string* error);

}  // namespace quizpack
