#include "grid/grid_win32.h"

namespace quiz {

// The rows of questions are not built yet: the grid is an empty scrolling
// pane for now.
INT_PTR CALLBACK GridDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    return FALSE;
}

}  // namespace quiz
