// The score in the header bar, and the F1 fill that tries one text in
// every open field.
#pragma once

#include <windows.h>

#include "model/quiz_state.h"

namespace quiz {

// Recounts found questions from the result labels, writes the score and the
// code text into the header, then runs the hide-found pass.
void UpdateScore(QuizState* state, HWND grid);

// While the grid builds, every restored verdict would rerun the score, the
// code text, the hide-found and the scroll passes over a grid still growing:
// held, they run once when the rows are made, if a verdict asked for them.
void HoldScoreUpdates();
void ReleaseScoreUpdates(QuizState* state, HWND grid);

// Copies the text of `field` into every field whose label does not read
// "BRAVO", moving the focus through them so that each is judged, and gives
// `field` the focus back.
void FillOpenFields(HWND field);

}  // namespace quiz
