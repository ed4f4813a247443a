// What the grid draws on question pictures: the letter count under each
// copy of the puzzle, and a found answer's overlay at its place.
#pragma once

#include <windows.h>

#include "model/quiz_state.h"

namespace quiz {

// A new bitmap: a copy of `picture` with "%d lettres" for question k written
// at (183, 468), black on opaque white, in `font`. Null for a null picture.
// The picture given is never written on.
HBITMAP DrawLetterCount(QuizState* state, HBITMAP picture, int k, HFONT font);

// Draws `overlay`, read from its own (0, 0), into `base` at the place of
// question index + 1 (nothing for a question without a place), then returns
// DrawLetterCount of base. `base` is changed; both stay the caller's.
HBITMAP ComposeAnswerPicture(QuizState* state, HBITMAP overlay, HBITMAP base, int index);

// The puzzle picture, decoded once through the platform and kept until the
// grid goes (ReleasePuzzlePicture); callers draw on copies only. Null when it
// cannot be loaded (said once, not at every find).
HBITMAP PuzzlePicture();
void ReleasePuzzlePicture();

// Puts question k's marked picture (a fresh puzzle with only its own answer
// marked, and its letter count) into picture control 9900 + k of the grid.
// A question that the quiz gives no place is not looked up at all; a named
// overlay that does not load leaves the picture as it was.
void ShowFoundPicture(QuizState* state, HWND grid, int k);

}  // namespace quiz
