// The make stage of a picture quiz without a section: the puzzle as the
// grid needs it, and the marks quizpack draws.
#pragma once

#include <array>

#include "judge/quiz_definition.h"
#include "problem.h"

namespace quizpack {

// A place given in the pixels of a picture `from` wide, in those of the same
// picture scaled to `to` x `toHeight`: its edges rounded to the nearest
// pixel, at least 1 x 1 and inside the scaled picture.
std::array<int, 4> ScalePlace(const std::array<int, 4>& place, int from, int to, int toHeight);

// A puzzle the judge remade (turned upright, scaled to the grid's column) is
// padded below to the count's strip with the background colour and ships as
// a PNG, its places and the authors' overlays scaled with it; each place
// without an overlay gets a mark drawn from the puzzle.
void MakePicturePuzzle(QuizDefinition* quiz, Problems* problems);

}  // namespace quizpack
