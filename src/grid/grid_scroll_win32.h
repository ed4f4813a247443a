// The grid's scroll bars: ranges from the content extent, and the requests
// of the bars, the wheel and resizing. Children move with ScrollWindow.
#pragma once

#include <windows.h>

#include "model/quiz_state.h"

namespace quiz {

// Both bars from gridWidth x gridHeight and the client size; a bar whose
// content fits is put back to 0 (without moving anything) and stays visible,
// disabled.
void UpdateScrollRanges(QuizState* state, HWND grid);

// WM_SIZE: new ranges, and the content follows the positions that changed.
void ScrollGridAfterResize(QuizState* state, HWND grid);

// WM_VSCROLL (bar SB_VERT) or WM_HSCROLL (SB_HORZ) with its request code.
void ScrollGrid(HWND grid, int bar, int request);

}  // namespace quiz
