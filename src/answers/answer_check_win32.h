// The one place where answers are judged: one answer field of the grid
// against its accepted answer, with the reveals that follow.
#pragma once

#include <windows.h>

#include "model/quiz_state.h"

namespace quiz {

// Checks answer field `fieldId` (4001 up to 4000 + the field count) of the
// grid and shows the verdict in its result label.
void CheckAnswerField(QuizState* state, HWND grid, int fieldId);

}  // namespace quiz
