// The mark of a found question, drawn by quizpack from the puzzle itself:
// the question's place tinted, a strong frame around it, and, where there is
// room and an answer to show, the answer across a band at its foot.
#pragma once

#include <array>
#include <string>

#include "pictures/raster.h"

namespace quizpack {

struct MarkStyle {
    Rgb frame{220, 30, 40};
    Rgb tint{255, 170, 205};
    int tintShare = 35;  // percent of the tint over the picture
    Rgb ink{255, 255, 255};
};

// How wide the frame of a place is: a tenth of its shorter side, 2 to 5 pixels.
int MarkFrameWidth(int width, int height);

// The mark of the block `place` (left, top, width, height, inside the
// puzzle); `answer` (CP1252) is written across a band at its foot when it is
// not empty. False with a French `error` when the font cannot be read.
bool DrawMark(const RgbImage& puzzle, const std::array<int, 4>& place, const std::string& answer,
              const MarkStyle& style, RgbImage* mark, std::string* error);

}  // namespace quizpack
