// What the grid draws on question pictures: the letter count under each
// copy of the puzzle, and a found answer's overlay at its place.
#pragma once

#include <windows.h>

#include "model/quiz_state.h"

namespace quiz {

// A new bitmap: a copy of `picture` with "%d lettres" for question k written
// at (kLetterCountLeft, kLetterCountTop), black on opaque white, in `font`.
// Null for a null picture.
// The picture given is never written on.
HBITMAP DrawLetterCount(QuizState* state, HBITMAP picture, int k, HFONT font);

// Draws `overlay`, read from its own (0, 0), into `base` at the place of
// question index + 1 (nothing for a question without a place), then returns
// DrawLetterCount of base. `base` is changed; both stay the caller's.
HBITMAP ComposeAnswerPicture(QuizState* state, HBITMAP overlay, HBITMAP base, int index);

// Question k's unmarked picture: the puzzle with k's letter count. Questions
// with the same count show the same pixels, so they share one bitmap, made
// at the first of them and kept until ReleasePuzzlePicture. Null without a
// puzzle. Never draw on it: give a question a picture of its own instead.
HBITMAP SharedLetterCountPicture(QuizState* state, HBITMAP puzzle, int k);

// Gives picture control `control` its bitmap and deletes the one it held,
// unless that one is shared. A missing control takes nothing: an unshared
// bitmap given to it is deleted.
void SetQuestionPicture(HWND control, HBITMAP bitmap);

// The puzzle picture, decoded once through the platform and kept until the
// grid goes (ReleasePuzzlePicture); callers draw on copies only. Null when it
// cannot be loaded (said once, not at every find).
HBITMAP PuzzlePicture();
// Deletes the puzzle and the shared pictures: the controls must hold none.
void ReleasePuzzlePicture();

// Puts question k's marked picture (a fresh puzzle with only its own answer
// marked, and its letter count) into picture control 9900 + k of the grid.
// A question that the quiz gives no place is not looked up at all; a named
// overlay that does not load leaves the picture as it was.
void ShowFoundPicture(QuizState* state, HWND grid, int k);

}  // namespace quiz
