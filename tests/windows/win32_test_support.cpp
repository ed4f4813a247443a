#include "win32_test_support.h"

#include <cstdio>
#include <cstring>

#include "grid/grid_win32.h"
#include "model/alert.h"
#include "model/alert_win32.h"
#include "model/quiz_state_win32.h"
#include "model/stored_form.h"

namespace quiz::test {

void FlushEvents(HWND grid, DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            if (grid && IsDialogMessageA(grid, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

RECT ChildRect(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string TextOf(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

LONG StyleOf(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

std::vector<uint32_t> PixelsOf(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
    HDC dc = GetDC(nullptr);
    const int lines = GetDIBits(dc, bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (lines != size.cy) return {};  // nothing read: no comparison can pass
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

QuizState* MakeQuiz(int layoutType, int answersPerQuestion,
                    const std::vector<FixtureQuestion>& questions) {
    QuizState* state = CreateQuizState();
    state->layoutType = layoutType;
    state->answersPerQuestion = answersPerQuestion;
    state->questionCount = static_cast<int32_t>(questions.size());
    CopyText(state->answerCaption1, kTextSize, "Nom :");
    CopyText(state->answerCaption2, kTextSize, "Pays :");
    for (const FixtureQuestion& q : questions) {
        char a1[kTextSize], a2[kTextSize];
        CopyText(a1, kTextSize, q.answer1);
        CopyText(a2, kTextSize, q.answer2 ? q.answer2 : "");
        TransformAnswerText(a1);
        if (std::strcmp(a2, "-") != 0) TransformAnswerText(a2);
        AddQuestion(state, a1, a2, "");
        CopyText(state->lastQuestion->extraText, kTextSize, q.extraText ? q.extraText : "");
    }
    SetCurrentQuizState(state);
    return state;
}

void DropQuiz(QuizState* state) {
    SetCurrentQuizState(nullptr);
    DestroyQuizState(state);
}

void SetClientSize(HWND window, int width, int height) {
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, width + (outer.right - outer.left) - client.right,
                 height + (outer.bottom - outer.top) - client.bottom,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

HWND Frame() {
    // One frame for every grid of the run: under Wine, destroying a shown
    // top-level window waits two seconds for a window manager there is none of.
    static HWND frame = CreateWindowExA(0, "Static", "grille", WS_POPUP | WS_VISIBLE, 0, 0, 1900,
                                        1300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return frame;
}

GridFixture OpenGrid(int clientWidth, int clientHeight) {
    GridFixture fixture;
    fixture.frame = Frame();
    fixture.grid = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1001),
                                      fixture.frame, GridDialogProc, 0);
    SetClientSize(fixture.grid, clientWidth, clientHeight);
    ShowWindow(fixture.grid, SW_SHOWNORMAL);
    SendMessageA(fixture.grid, WM_VSCROLL, SB_TOP, 0);
    FlushEvents(fixture.grid, 50);
    return fixture;
}

void CloseGrid(GridFixture* fixture) {
    DestroyWindow(fixture->grid);
    FlushEvents(nullptr, 20);
    *fixture = {};
}

std::string ProgressName() {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string name = std::strrchr(program, '\\') + 1;
    return name.substr(0, name.size() - 3) + "txt";
}

std::string FileBytes(const std::string& name) {
    std::string bytes;
    if (FILE* file = std::fopen(name.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

namespace {

struct BoxSearch {
    DWORD process;
    const char* caption;
    HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process != search->process || std::strcmp(className, "#32770") != 0 ||
        TextOf(window) != search->caption || !IsWindowVisible(window))
        return TRUE;
    search->box = window;
    return FALSE;
}

BOOL CALLBACK LongestStaticText(HWND child, LPARAM context) {
    auto* text = reinterpret_cast<std::string*>(context);
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    const std::string own = TextOf(child);
    if (_stricmp(className, "Static") == 0 && own.size() > text->size()) *text = own;
    return TRUE;
}

}  // namespace

HWND FindMessageBox(DWORD process, const char* caption) {
    BoxSearch search = {process, caption, nullptr};
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, &LongestStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

MessageBoxAnswer::MessageBoxAnswer(const char* caption, int button, std::function<void()> whileShown)
    : caption_(caption), button_(button), whileShown_(std::move(whileShown)) {
    thread_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
}

MessageBoxAnswer::~MessageBoxAnswer() { Finish(); }

MessageBoxSeen MessageBoxAnswer::Finish() {
    if (thread_) {
        // The box ran its own loop inside the call that showed it; nothing
        // is pumped here, so a posted WM_QUIT stays for the test to see.
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return seen_;
}

DWORD WINAPI MessageBoxAnswer::Run(void* self) {
    auto* answer = static_cast<MessageBoxAnswer*>(self);
    HWND box = nullptr;
    for (int waited = 0; waited < 10000 && !box; waited += 20) {
        box = FindMessageBox(GetCurrentProcessId(), answer->caption_.c_str());
        if (!box) Sleep(20);
    }
    if (!box) return 0;
    Sleep(50);  // let it finish drawing, as a player would look first
    answer->seen_.text = MessageBoxText(box);
    answer->seen_.yesNo = GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDOK);
    if (answer->whileShown_) answer->whileShown_();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer->button_, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer->button_)));
    return 0;
}

RealMessageBoxes::RealMessageBoxes() {
    SetAlertHandler(nullptr, nullptr, &previous_, &previousContext_);
    RouteAlertsToMessageBox();
}

RealMessageBoxes::~RealMessageBoxes() { SetAlertHandler(previous_, previousContext_); }

}  // namespace quiz::test
