// The hide-found mode: found questions hidden when "Cacher" is checked.
#pragma once

#include <windows.h>

#include "grid/hide_found.h"
#include "model/quiz_state.h"

namespace quiz {

// Hides or shows the found questions as the header's check box says and
// brings the scroll ranges in line.
void ToggleHideFound(QuizState* state);

// Shows, hides or moves the controls of question k by amount x sign pixels.
void MoveQuestionRow(QuizState* state, RowAction action, int showCommand, HWND grid, int amount,
                     int sign, int k);

}  // namespace quiz
