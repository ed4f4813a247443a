// The header bar: a modeless child dialog from template 1002.
#pragma once

#include <windows.h>

namespace quiz {

INT_PTR CALLBACK HeaderDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quiz
