// Two pictures of tests/windows/pictures with transparent pixels, and what
// quizpack makes of them on the tests' ground: the same pixels natively and
// in quizpack.exe.
#pragma once

#include "pictures/raster.h"

namespace quizpack {

inline const Rgb kTestGround = {90, 95, 150};

// rgba.png: red, green, blue, white, black, brown (128, 64, 32) at alpha 200,
// each sample 200/255 of its own and 55/255 of the ground's, to nearest.
inline const Rgb kRgbaOnGround[6] = {{219, 20, 32}, {19, 220, 32}, {19, 20, 232},
                                     {219, 220, 232}, {19, 20, 32}, {120, 71, 57}};

// transparent.gif: 2 x 1, its index 0 (200, 100, 50) declared transparent,
// then index 1 (10, 20, 30).
inline const Rgb kTransparentGifOnGround[2] = {{90, 95, 150}, {10, 20, 30}};

}  // namespace quizpack
