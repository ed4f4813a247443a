#include "shell/header_win32.h"

namespace quiz {

// The header's controls (title, score, code, link, buttons) are not made yet:
// for now the bar is an empty bordered strip.
INT_PTR CALLBACK HeaderDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    return FALSE;
}

}  // namespace quiz
