// The one place where answers are judged: one answer field of the grid
// against its accepted answer, with the reveals that follow.
#pragma once

#include <windows.h>

#include "answers/play_steps.h"
#include "model/quiz_state.h"

namespace quiz {

// Checks answer field `fieldId` (4001 up to 4000 + the field count) of the
// grid and shows the verdict in its result label.
void CheckAnswerField(QuizState* state, HWND grid, int fieldId);

// The grid's controls as the steps of play see them: the result labels'
// texts are the verdicts. `controls` must outlive the board.
struct GridBoard {
    QuizState* state;
    HWND grid;
};
PlayBoard GridPlayBoard(GridBoard* controls);

}  // namespace quiz
