#include "shell/shell_win32.h"
#include "shell/startup_phases_win32.h"

#include "answers/answer_field_win32.h"
#include "answers/progress_file.h"
#include "answers/progress_file_win32.h"
#include "grid/grid_items_win32.h"
#include "grid/grid_layout.h"
#include "grid/quiz_tables.h"
#include "grid/grid_win32.h"
#include "model/alert.h"
#include "model/package_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/header_win32.h"

namespace quiz {

const char kMainClassName[] = "Zarlo";

namespace {

HBRUSH g_statusLabelBrush = nullptr;
// The control that had the keyboard when the main window was deactivated.
HWND g_lastFocus = nullptr;

// The two dialogs are known through the quiz state only.
HWND GridOf(const QuizState* state) { return state ? AsWindow(state->gridDialog) : nullptr; }
HWND HeaderOf(const QuizState* state) { return state ? AsWindow(state->headerDialog) : nullptr; }

void LayOut(HWND hwnd, const QuizState* state) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int r = client.right, b = client.bottom;
    SetWindowPos(GridOf(state), nullptr, 5, 50, r - 11, b - 68, SWP_NOZORDER);
    SetWindowPos(HeaderOf(state), nullptr, 5, 2, r - 11, 49, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(hwnd, kStatusLabelId), nullptr, r - 145, b - 16, 150, 15,
                 SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

// As a dialog does, the main window keeps the keyboard for its controls: the
// focus it had goes back when the window is activated again, else the first
// answer field takes it. The window itself never keeps it, or typing would go
// nowhere after Alt+Tab.
void RememberFocus(HWND main) {
    HWND focus = GetFocus();
    if (focus && IsChild(main, focus)) g_lastFocus = focus;
}

void RestoreFocus(HWND main, const QuizState* state) {
    HWND target = g_lastFocus;
    if (!target || !IsWindow(target) || !IsChild(main, target) || !IsWindowVisible(target))
        target = GridItem(GridOf(state), kAnswerFieldBase + 1);
    if (!target) target = GridOf(state);
    // The grid stays where the player scrolled it: only a focus the player
    // moves brings its field into view.
    if (target) GiveFocusBack(target);
    else if (GetFocus() != main) SetFocus(main);
}

// True while the player is asked whether to close without their answers:
// a session's end must not decide for them.
bool g_askingToClose = false;
char g_blockReason[400] = {};

// The end of a session: the answers are saved; when they cannot be, the
// session is held up with the reason Windows lists beside the player.
BOOL QueryEndSession(HWND main, QuizState* state) {
    if (!g_askingToClose && SaveProgress(state) != SaveOutcome::kFailed) {
        g_blockReason[0] = '\0';
        ShutdownBlockReasonDestroy(main);
        return TRUE;
    }
    char path[MAX_PATH];
    ProgressFilePath(path, sizeof path);
    FormatUnsavedAnswers(path, g_blockReason, sizeof g_blockReason);
    WCHAR wide[400];
    if (MultiByteToWideChar(1252, 0, g_blockReason, -1, wide, 400))
        ShutdownBlockReasonCreate(main, wide);
    return FALSE;
}

}  // namespace

HBRUSH StatusLabelBrush() { return g_statusLabelBrush; }

const char* SessionBlockReason() { return g_blockReason; }

HWND CreateStaticLabel(HWND parent, const char* text, int x, int y, int width, int height,
                       int id) {
    HWND label = CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE, x, y, width, height,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    return label;
}

void ForwardMouseWheel(HWND grid, WPARAM wParam) {
    if (const int code = WheelScrollCode(wParam))
        PostMessageA(grid, WM_VSCROLL, static_cast<WPARAM>(code), 0);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    QuizState* state = CurrentQuizState();
    switch (message) {
        case WM_CREATE: {
            RECT client;
            GetClientRect(hwnd, &client);
            CreateStaticLabel(hwnd, state ? state->statusText : "", 720, client.bottom - 16, 140,
                              15, kStatusLabelId);
            SendMessageA(hwnd, WM_SETICON, ICON_BIG,
                         reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_QUESTION)));
            return 0;
        }
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) LayOut(hwnd, state);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) RememberFocus(hwnd);
            else if (!HIWORD(wParam)) RestoreFocus(hwnd, state);  // not while minimised
            return 0;
        case WM_SETFOCUS:
            RestoreFocus(hwnd, state);
            return 0;
        case WM_CLOSE:
            // Saved before the grid goes: the file is read from its fields.
            // A save that failed asks first; "Non" keeps the game open.
            // The main window itself stays until the loop has ended.
            if (state) {
                g_askingToClose = true;
                const bool close = SaveProgressOrSay(state, true);
                g_askingToClose = false;
                if (!close) return 0;
            }
            DestroyWindow(GridOf(state));
            PostQuitMessage(0);
            return 0;
        case WM_QUERYENDSESSION:
            // Logging off never sends WM_CLOSE: the answers are saved here.
            return state ? QueryEndSession(hwnd, state) : TRUE;
        case WM_ENDSESSION:
            // The session really ends: one more try, with nobody to tell.
            if (wParam && state) SaveProgress(state);
            if (!wParam) {
                g_blockReason[0] = '\0';
                ShutdownBlockReasonDestroy(hwnd);
            }
            return 0;
        case WM_DESTROY:
            DestroyWindow(GridOf(state));
            PostQuitMessage(0);
            return 0;
        case WM_CTLCOLORSTATIC:
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kStatusLabelId) {
                // The text background matches the label's brush.
                SetBkColor(reinterpret_cast<HDC>(wParam), RGB(212, 208, 200));
                return reinterpret_cast<LRESULT>(g_statusLabelBrush);
            }
            return 0;
        case WM_MOUSEWHEEL:
            ForwardMouseWheel(GridOf(state), wParam);
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool StartPlayer(HINSTANCE instance, PlayerWindows* windows) {
    MarkStartupBegun();
    // The player stub before quizpack has added a quiz to it: nothing to play.
    if (!CarriesQuiz(instance)) {
        ShowAlert("Ce lecteur ne contient aucun quiz : quizpack exe en fait l'ex\xE9" "cutable d'un "
                  "quiz (quizpack exe QUIZ.toml).",
                  "Zarlo", kAlertInformation);
        return false;
    }
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    windowClass.lpszClassName = kMainClassName;
    if (!RegisterClassExA(&windowClass)) {
        MessageBoxA(nullptr, "Erreur dans la cr\xE9" "ation de la fen\xEAtre principale", "Zarlo",
                    MB_ICONINFORMATION);
        return false;
    }
    g_statusLabelBrush = CreateSolidBrush(RGB(212, 208, 200));

    QuizState* state = CreateQuizState();
    SetCurrentQuizState(state);
    if (state) {
        PhaseTimer timer(StartupPhase::kPackageLoad);
        LoadQuizPackage(state);
        CarriedTables();
    }

    HWND main = CreateWindowExA(0, kMainClassName, state ? state->title : "",
                                WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, kMainWidth,
                                kMainHeight, nullptr, nullptr, instance, nullptr);
    RECT desktop, window;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(main, &window);
    SetWindowPos(main, nullptr,
                 desktop.left + ((desktop.right - desktop.left) - (window.right - window.left)) / 2,
                 desktop.top + ((desktop.bottom - desktop.top) - (window.bottom - window.top)) / 2,
                 0, 0, SWP_NOZORDER | SWP_NOSIZE);

    HWND header = CreateDialogParamA(instance, MAKEINTRESOURCEA(kHeaderTemplateId), main,
                                     HeaderDialogProc, 0);
    ShowWindow(header, SW_SHOWNORMAL);
    // Stored before the grid exists: the checks of restored answers that the
    // grid runs while it builds write their score into the header.
    if (state) state->headerDialog = header;
    HWND grid = CreateDialogParamA(instance, MAKEINTRESOURCEA(kGridTemplateId), main,
                                   GridDialogProc, 0);
    if (state) state->gridDialog = grid;
    MarkWindowsShown();
    ShowWindow(main, SW_SHOWNORMAL);
    ShowWindow(grid, SW_SHOWNORMAL);
    SendMessageA(grid, WM_VSCROLL, SB_TOP, 0);

    windows->main = main;
    windows->header = header;
    windows->grid = grid;
    return true;
}

int RunMessageLoop(HWND grid) {
    MSG msg = {};
    bool drawn = false;
    while (true) {
        // The first idle queue: the first screen is drawn. Asked until then
        // only: under Wine every peek is a trip to the server.
        if (!drawn && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            drawn = true;
            ReportStartupPhases();
        }
        if (!GetMessageA(&msg, nullptr, 0, 0)) break;
        if (IsDialogMessageA(grid, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void ShutDownPlayer(PlayerWindows* windows) {
    EndDialog(windows->grid, 0);
    DestroyWindow(windows->header);
    DeleteObject(g_statusLabelBrush);
    g_statusLabelBrush = nullptr;
    g_lastFocus = nullptr;
    QuizState* state = CurrentQuizState();
    SetCurrentQuizState(nullptr);
    DestroyQuizState(state);
    *windows = {};
}

}  // namespace quiz
