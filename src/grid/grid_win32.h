// The quiz grid: a modeless child dialog from template 1001, with both
// scroll bars.
#pragma once

#include <windows.h>

namespace quiz {

INT_PTR CALLBACK GridDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quiz
