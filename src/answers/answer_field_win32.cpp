#include "answers/answer_field_win32.h"

#include "answers/answer_check_win32.h"
#include "answers/answer_rules.h"
#include "answers/progress_file_win32.h"
#include "answers/score_win32.h"
#include "model/quiz_state_win32.h"

namespace quiz {

namespace {

WNDPROC g_editProc = nullptr;
// True while the focus comes back with the window: no field scrolls then.
bool g_givingFocusBack = false;

// A field that takes the focus is brought into view unless it already is.
void ScrollIntoView(QuizState* state, HWND field) {
    HWND grid = GetParent(field);
    RECT gridRect, fieldRect;
    GetWindowRect(grid, &gridRect);
    GetWindowRect(field, &fieldRect);
    const int h = GetScrollPos(grid, SB_HORZ);
    const int v = GetScrollPos(grid, SB_VERT);
    POINT p = {fieldRect.left + h + 18, fieldRect.top + v};
    ScreenToClient(grid, &p);
    const FieldView view = FieldViewOf(state, GetDlgCtrlID(field), p.x, p.y, h, v,
                                       gridRect.right - gridRect.left,
                                       gridRect.bottom - gridRect.top);
    if (view.visible) return;
    SetScrollPos(grid, SB_VERT, view.vertical, TRUE);  // the system keeps it in range
    SetScrollPos(grid, SB_HORZ, view.horizontal, TRUE);
    ScrollWindow(grid, h - GetScrollPos(grid, SB_HORZ), v - GetScrollPos(grid, SB_VERT), nullptr,
                 nullptr);
}

// The keys act on their release, and on WM_SYSKEYDOWN (Alt held, F10).
// Returns true when the key is finished here and the edit control must not
// see it.
bool HandleKey(QuizState* state, HWND field, WPARAM key) {
    HWND grid = GetParent(field);
    switch (key) {
        case VK_RETURN:
            CheckAnswerField(state, grid, GetDlgCtrlID(field));
            return true;
        case VK_PRIOR:
        case VK_UP:
            SendMessageA(grid, WM_VSCROLL, SB_PAGEUP, 0);
            return false;
        case VK_NEXT:
        case VK_DOWN:
            SendMessageA(grid, WM_VSCROLL, SB_PAGEDOWN, 0);
            return false;
        case VK_F1:
            FillOpenFields(field);
            return false;
        case VK_F2:
            SaveProgressOrSay(state, false);
            return false;
        default:
            return false;
    }
}

}  // namespace

void InstallAnswerFieldProc(HWND field) {
    if (!field) return;
    // The pointer-sized call: the 32-bit one would cut the procedure on x64.
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnswerFieldProc)));
}

void GiveFocusBack(HWND window) {
    g_givingFocusBack = true;
    SetFocus(window);
    g_givingFocusBack = false;
}

LRESULT CALLBACK AnswerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    QuizState* state = CurrentQuizState();
    if (state) {
        switch (message) {
            case WM_KEYUP:
            case WM_SYSKEYDOWN:
                if (HandleKey(state, field, wParam)) return 1;
                break;
            case WM_CHAR:
                // NUL, Tab and Enter never reach the text.
                if (wParam == 0 || wParam == '\t' || wParam == '\r') return 0;
                break;
            case WM_SETFOCUS:
                SendMessageA(field, EM_SETSEL, 0, 260);
                if (!g_givingFocusBack) ScrollIntoView(state, field);
                break;
            case WM_KILLFOCUS:
                CheckAnswerField(state, GetParent(field), GetDlgCtrlID(field));
                break;
            default:
                break;
        }
    }
    return CallWindowProcA(g_editProc, field, message, wParam, lParam);
}

}  // namespace quiz
