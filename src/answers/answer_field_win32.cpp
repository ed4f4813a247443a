#include "answers/answer_field_win32.h"

namespace quiz {

namespace {
WNDPROC g_editProc = nullptr;
}

void InstallAnswerFieldProc(HWND field) {
    if (!field) return;
    // The pointer-sized call: the 32-bit one would cut the procedure on x64.
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnswerFieldProc)));
}

// The keys and focus moves of the quiz come with the answer checks; until
// then a field behaves as the plain edit control it is.
LRESULT CALLBACK AnswerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_editProc, field, message, wParam, lParam);
}

}  // namespace quiz
