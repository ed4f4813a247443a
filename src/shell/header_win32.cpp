#include "shell/header_win32.h"

#include "answers/progress_file_win32.h"
#include "grid/hide_found_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/controls_win32.h"
#include "shell/header_layout.h"

namespace quiz {

namespace {

constexpr int kLinkCursorId = 1003;

HBRUSH g_headerBrush = nullptr;
HCURSOR g_linkCursor = nullptr;
LinkOpener g_linkOpener = nullptr;

void OpenLink(const char* link) {
    if (g_linkOpener) {
        g_linkOpener(link);
        return;
    }
    // The shell is loaded when the link is first clicked, not at every start:
    // it is the heaviest library the player would otherwise load.
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static HMODULE shell = LoadLibraryA("shell32.dll");
    auto execute = shell ? reinterpret_cast<ShellExecuteFunction>(
                               reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")))
                         : nullptr;
    if (execute) execute(nullptr, "open", link, nullptr, nullptr, SW_SHOWNORMAL);
}

void CreateHeaderControls(HWND dialog, QuizState* state) {
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DWORD rule = child | WS_BORDER;
    HFONT gui = GuiFont();
    SetupLinkLabel(CreateChild(dialog, "Static", state->linkText, child | SS_NOTIFY,
                               {736, 5, 115, 18}, kLinkLabelId));
    CreateChild(dialog, "Static", "Par :", child, {736, 25, 27, 18}, 25, gui);
    CreateChild(dialog, "Static", state->author, child, {763, 25, 85, 18}, 26, gui);
    if (state->quizKind == 1)
        CreateChild(dialog, "button", "Cacher", child | BS_AUTOCHECKBOX, {666, 5, 65, 18},
                    kHideFoundId, gui);
    CreateChild(dialog, "button", "Sauver", child, {666, 25, 55, 18}, kSaveButtonId, gui);
    CreateChild(dialog, "Static", state->subtitle, child, {110, 19, 490, 27}, 28, gui);
    CreateChild(dialog, "Static", state->title, child, {110, 3, 190, 18}, 29,
                AsFont(state->titleFont), FALSE);
    CreateChild(dialog, "Static", " Code :", child, {7, 29, 36, 15}, 31, gui);
    char score[32];
    wsprintfA(score, " 0 / %d", state->questionCount);
    CreateChild(dialog, "Static", score, child | SS_CENTER, {10, 1, 80, 20}, kScoreLabelId,
                AsFont(state->scoreFont), TRUE);
    CreateChild(dialog, "edit", "", child | ES_READONLY, {44, 29, 53, 16}, kCodeFieldId, gui);
    CreateChild(dialog, "Static", "", rule, {0, 26, 100, 1}, 120);
    CreateChild(dialog, "Static", "", rule, {100, 0, 1, 50}, 121);
    CreateChild(dialog, "Static", "", rule, {730, 0, 1, 50}, 122);
}

void LayOutHeader(HWND dialog, const QuizState* state) {
    RECT client;
    GetClientRect(dialog, &client);
    HeaderMove moves[8];
    const int count = HeaderLayout(client.right, state->quizKind, moves);
    for (int i = 0; i < count; ++i) {
        HWND control = GetDlgItem(dialog, moves[i].id);
        SetWindowPos(control, nullptr, moves[i].x, moves[i].y, moves[i].width, moves[i].height,
                     SWP_NOOWNERZORDER | SWP_NOACTIVATE);
        if (moves[i].invalidate) InvalidateRect(control, nullptr, FALSE);
    }
}

}  // namespace

void SetLinkOpener(LinkOpener opener) { g_linkOpener = opener; }

void SetupLinkLabel(HWND label) {
    RECT client;
    GetClientRect(label, &client);
    LOGFONTA font = {};
    font.lfHeight = -(client.bottom * 3 / 4);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = 1;
    // The header that holds the label owns this font and deletes it when it
    // is destroyed.
    HFONT linkFont = CreateFontIndirectA(&font);
    SetWindowLongPtrA(GetParent(label), DWLP_USER, reinterpret_cast<LONG_PTR>(linkFont));
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), FALSE);
    // The hand is shown over this label only (WM_SETCURSOR of the header),
    // not set on the whole "Static" class, which every label shares.
    g_linkCursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kLinkCursorId));
}

INT_PTR CALLBACK HeaderDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    QuizState* state = CurrentQuizState();
    switch (message) {
        case WM_INITDIALOG:
            if (state) CreateHeaderControls(hwnd, state);
            g_headerBrush = CreateSolidBrush(RGB(128, 128, 255));
            return TRUE;
        case WM_SIZE:
            if (state) LayOutHeader(hwnd, state);
            return FALSE;
        case WM_COMMAND:
            // The whole wParam is compared: only a click (code 0) acts.
            if (!state) return FALSE;
            if (wParam == kLinkLabelId) OpenLink(state->linkText);
            else if (wParam == kSaveButtonId) SaveProgressOrSay(state, false);
            else if (wParam == kHideFoundId) ToggleHideFound(state);
            return FALSE;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == GetDlgItem(hwnd, kLinkLabelId) && g_linkCursor) {
                SetCursor(g_linkCursor);
                SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(g_headerBrush);
        case WM_CTLCOLORSTATIC: {
            const HeaderPaint paint = ChooseHeaderPaint(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
            if (!paint.onHeaderBrush) return FALSE;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            if (paint.linkColour) SetTextColor(dc, RGB(50, 50, 255));
            return reinterpret_cast<INT_PTR>(g_headerBrush);
        }
        case WM_DESTROY:
            DeleteObject(g_headerBrush);
            g_headerBrush = nullptr;
            DeleteObject(reinterpret_cast<HGDIOBJ>(GetWindowLongPtrA(hwnd, DWLP_USER)));
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace quiz
