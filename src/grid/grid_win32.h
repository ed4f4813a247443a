// The quiz grid: a modeless child dialog from template 1001, with both
// scroll bars and one block of controls per question, three to a row.
#pragma once

#include <windows.h>

namespace quiz {

INT_PTR CALLBACK GridDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The grid's own brush for result labels that read "BRAVO".
HBRUSH GreenBrush();

}  // namespace quiz
