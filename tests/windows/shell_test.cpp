// The player's shell, started in-process on real windows and read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <memory>

#include "judge/code_field.h"
#include "answers/progress_file_win32.h"
#include "model/alert.h"
#include "test_support.h"
#include "model/quiz_state_win32.h"
#include "shell/header_layout.h"
#include "shell/header_win32.h"
#include "shell/shell_win32.h"
#include "win32_test_support.h"

namespace quiz {
namespace {

void FlushEvents() { test::FlushEvents(nullptr, 200); }

RECT ChildRect(HWND, HWND child) { return test::ChildRect(child); }

using test::TextOf;

class Player : public ::testing::Test {
protected:
    PlayerWindows windows;
    HWND main = nullptr;  // kept for the teardown: shut-down leaves the main window
    std::unique_ptr<test::AlertCapture> capture;

    void SetUp() override {
        capture = std::make_unique<test::AlertCapture>();
        ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), &windows));
        main = windows.main;
        FlushEvents();
    }

    void TearDown() override {
        if (windows.grid || windows.header) ShutDownPlayer(&windows);
        if (IsWindow(main)) DestroyWindow(main);
        FlushEvents();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        UnregisterClassA(kMainClassName, GetModuleHandleA(nullptr));
        capture.reset();
    }

    void ExpectLayout(const char* when) {
        SCOPED_TRACE(when);
        RECT client;
        GetClientRect(windows.main, &client);
        RECT label = ChildRect(windows.main, GetDlgItem(windows.main, kStatusLabelId));
        EXPECT_EQ(label.left, client.right - 145);
        EXPECT_EQ(label.top, client.bottom - 16);
        EXPECT_EQ(label.right - label.left, 150);
        EXPECT_EQ(label.bottom - label.top, 15);
        RECT grid = ChildRect(windows.main, windows.grid);
        EXPECT_EQ(grid.left, 5);
        EXPECT_EQ(grid.top, 50);
        EXPECT_EQ(grid.right - grid.left, client.right - 11);
        EXPECT_EQ(grid.bottom - grid.top, client.bottom - 68);
        RECT header = ChildRect(windows.main, windows.header);
        EXPECT_EQ(header.left, 5);
        EXPECT_EQ(header.top, 2);
        EXPECT_EQ(header.right - header.left, client.right - 11);
        EXPECT_EQ(header.bottom - header.top, 49);
    }
};

TEST_F(Player, ClassHasTheListedSettings) {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kMainClassName, &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_OWNDC));
    EXPECT_EQ(info.lpfnWndProc, &MainWindowProc);
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1));
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(info.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(info.lpszMenuName, nullptr);
    EXPECT_EQ(GetClassLongPtrA(windows.main, GCLP_WNDPROC),
              reinterpret_cast<ULONG_PTR>(&MainWindowProc));
}

TEST_F(Player, MainWindowIsCentredWithTheQuizTitle) {
    QuizState* state = CurrentQuizState();
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(capture->alerts().empty());
    EXPECT_EQ(TextOf(windows.main), state->title);
    EXPECT_EQ(TextOf(windows.main), "Les fruits");
    RECT rect, desktop;
    GetWindowRect(windows.main, &rect);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(rect.right - rect.left, 930);
    EXPECT_EQ(rect.bottom - rect.top, 600);
    EXPECT_EQ(rect.left, desktop.left + ((desktop.right - desktop.left) - 930) / 2);
    EXPECT_EQ(rect.top, desktop.top + ((desktop.bottom - desktop.top) - 600) / 2);
    EXPECT_EQ(GetWindowLongA(windows.main, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(IsWindowVisible(windows.main));
    EXPECT_EQ(TextOf(GetDlgItem(windows.main, kStatusLabelId)), state->statusText);
    EXPECT_EQ(TextOf(GetDlgItem(windows.main, kStatusLabelId)), "Mots m\xEAl\xE9s : les fruits");
    EXPECT_EQ(state->headerDialog, windows.header);
    EXPECT_EQ(state->gridDialog, windows.grid);
    EXPECT_EQ(state->questionCount, 21);
    ExpectLayout("after start-up");
}

TEST_F(Player, DialogsComeFromTheirTemplates) {
    EXPECT_EQ(GetParent(windows.grid), windows.main);
    EXPECT_EQ(GetParent(windows.header), windows.main);
    LONG gridStyle = GetWindowLongA(windows.grid, GWL_STYLE);
    LONG headerStyle = GetWindowLongA(windows.header, GWL_STYLE);
    EXPECT_EQ(gridStyle & (WS_CHILD | WS_BORDER | WS_VSCROLL | WS_HSCROLL),
              WS_CHILD | WS_BORDER | WS_VSCROLL | WS_HSCROLL);
    EXPECT_EQ(headerStyle & (WS_CHILD | WS_BORDER), WS_CHILD | WS_BORDER);
    EXPECT_EQ(headerStyle & (WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_TRUE(IsWindowVisible(windows.grid));
    EXPECT_TRUE(IsWindowVisible(windows.header));
    // Both templates are empty: every control is made at run time.
    EXPECT_NE(GetDlgItem(windows.grid, 4001), nullptr);
    EXPECT_NE(GetDlgItem(windows.header, 32), nullptr);
}

TEST_F(Player, StatusLabelFollowsEveryResize) {
    const SIZE sizes[] = {{930, 600}, {700, 450}, {1200, 800}, {400, 300}, {931, 601}};
    for (const SIZE& size : sizes) {
        SetWindowPos(windows.main, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
        FlushEvents();
        ExpectLayout(("resized to " + std::to_string(size.cx) + " x " + std::to_string(size.cy)).c_str());
    }
}

TEST_F(Player, MinimisingLaysNothingOutAndRestoringDoes) {
    HWND label = GetDlgItem(windows.main, kStatusLabelId);
    SetWindowPos(label, nullptr, 1, 1, 10, 10, SWP_NOZORDER);
    SendMessageA(windows.main, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    RECT moved = ChildRect(windows.main, label);
    EXPECT_EQ(moved.left, 1);
    EXPECT_EQ(moved.top, 1);
    ShowWindow(windows.main, SW_MINIMIZE);
    FlushEvents();
    ShowWindow(windows.main, SW_RESTORE);
    FlushEvents();
    ExpectLayout("after restoring");
}

TEST_F(Player, WheelNotchesReachTheGridAsPrivateScrollCodes) {
    struct Case {
        int delta;
        bool posts;
        WPARAM code;
    } cases[] = {{120, true, kWheelUpCode}, {-120, true, kWheelDownCode}, {60, false, 0},
                 {240, false, 0}, {-240, false, 0}, {0, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("delta " + std::to_string(c.delta));
        SendMessageA(windows.main, WM_MOUSEWHEEL,
                     MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(c.delta))), 0);
        MSG msg;
        BOOL posted = PeekMessageA(&msg, windows.grid, WM_VSCROLL, WM_VSCROLL, PM_REMOVE);
        EXPECT_EQ(posted != FALSE, c.posts);
        if (posted) {
            EXPECT_EQ(msg.wParam, c.code);
            EXPECT_EQ(msg.lParam, 0);
        }
        EXPECT_FALSE(PeekMessageA(&msg, windows.grid, WM_VSCROLL, WM_VSCROLL, PM_REMOVE));
    }
}

TEST_F(Player, ClosingEndsTheLoopAndTeardownReleasesEveryObject) {
    HWND grid = windows.grid;
    PostMessageA(windows.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(grid), 0);
    EXPECT_FALSE(IsWindow(grid));
    EXPECT_TRUE(IsWindow(windows.header));

    QuizState* state = CurrentQuizState();
    ASSERT_NE(state, nullptr);
    LOGFONTA small = {};
    small.lfHeight = 15;
    small.lfWeight = FW_THIN;
    state->smallFont = CreateFontIndirectA(&small);  // as the built grid would have it
    HGDIOBJ objects[] = {
        static_cast<HGDIOBJ>(state->backBrush),   static_cast<HGDIOBJ>(state->redBrush),
        static_cast<HGDIOBJ>(state->orangeBrush), static_cast<HGDIOBJ>(state->amberBrush),
        static_cast<HGDIOBJ>(state->titleFont),   static_cast<HGDIOBJ>(state->smallFont),
        static_cast<HGDIOBJ>(state->scoreFont),   static_cast<HGDIOBJ>(state->pictureFont),
        StatusLabelBrush(),
        reinterpret_cast<HGDIOBJ>(HeaderDialogProc(windows.header, WM_CTLCOLORDLG, 0, 0)),
        reinterpret_cast<HGDIOBJ>(SendMessageA(GetDlgItem(windows.header, 24), WM_GETFONT, 0, 0))};
    for (HGDIOBJ object : objects) EXPECT_NE(GetObjectType(object), 0u);
    HWND header = windows.header;
    ShutDownPlayer(&windows);
    for (size_t i = 0; i < sizeof objects / sizeof objects[0]; ++i)
        EXPECT_EQ(GetObjectType(objects[i]), 0u) << "object " << i;
    EXPECT_FALSE(IsWindow(header));
    EXPECT_EQ(CurrentQuizState(), nullptr);
}


std::vector<std::string> g_openedLinks;

TEST_F(Player, HeaderControlsInCreationOrder) {
    QuizState* state = CurrentQuizState();
    const LONG child = WS_CHILD | WS_VISIBLE;
    HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    struct Control {
        int id;
        const char* className;
        std::string text;
        LONG style;
        RECT rect;  // left, top, right, bottom
        HFONT font;  // null: the link's own, or none set
    } table[] = {
        {24, "Static", state->linkText, child | SS_NOTIFY, {736, 5, 851, 23}, nullptr},
        {25, "Static", "Par :", child, {736, 25, 763, 43}, gui},
        {26, "Static", state->author, child, {763, 25, 848, 43}, gui},
        {33, "Button", "Cacher", child | BS_AUTOCHECKBOX, {666, 5, 731, 23}, gui},
        {27, "Button", "Sauver", child, {666, 25, 721, 43}, gui},
        {28, "Static", state->subtitle, child, {110, 19, 600, 46}, gui},
        {29, "Static", "Les fruits", child, {110, 3, 300, 21}, AsFont(state->titleFont)},
        {31, "Static", " Code :", child, {7, 29, 43, 44}, gui},
        {32, "Static", " 0 / 21", child | SS_CENTER, {10, 1, 90, 21}, AsFont(state->scoreFont)},
        {30, "Edit", "", child | ES_READONLY, {44, 29, 97, 45}, gui},
        {120, "Static", "", child | WS_BORDER, {0, 26, 100, 27}, nullptr},
        {121, "Static", "", child | WS_BORDER, {100, 0, 101, 50}, nullptr},
        {122, "Static", "", child | WS_BORDER, {730, 0, 731, 50}, nullptr},
    };
    // A header not laid out yet: moves change the order of the children.
    HWND fresh = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1002), windows.main,
                                    HeaderDialogProc, 0);
    HWND control = GetWindow(fresh, GW_CHILD);
    for (const Control& c : table) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetDlgCtrlID(control), c.id);
        char className[32] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STRCASEEQ(className, c.className);
        EXPECT_EQ(TextOf(control), c.text);
        EXPECT_EQ(test::StyleOf(control) & ~(WS_GROUP | WS_TABSTOP), c.style);
        const RECT r = ChildRect(fresh, control);
        EXPECT_TRUE(EqualRect(&r, &c.rect)) << r.left << "," << r.top << "," << r.right << ","
                                            << r.bottom;
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        if (c.font) {
            EXPECT_EQ(font, c.font);
        }
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr);
    for (HWND header : {fresh, windows.header}) {  // each header its own link font
        LOGFONTA link = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(header, 24), WM_GETFONT, 0, 0)),
                   sizeof link, &link);
        EXPECT_EQ(link.lfHeight, -13);  // three quarters of 18, truncated
        EXPECT_EQ(link.lfUnderline, 1);
        EXPECT_EQ(link.lfWeight, FW_NORMAL);
    }
    DestroyWindow(fresh);
}

TEST_F(Player, HeaderLaysOutByItsWidth) {
    for (int width : {700, 350, 914}) {
        SCOPED_TRACE(width);
        test::SetClientSize(windows.header, width, 47);
        struct Move {
            int id, x, y, w, h;
        } moves[] = {{29, 110, 3, width - 350, 18}, {24, width - 134, 0, 115, 18},
                     {25, width - 134, 25, 26, 18}, {26, width - 107, 25, 105, 18},
                     {27, width - 204, 25, 55, 18}, {28, 110, 19, width - 324, 28},
                     {122, width - 145, 0, 1, 50},  {33, width - 204, 0, 85, 18}};
        for (const Move& m : moves) {
            const RECT r = ChildRect(windows.header, GetDlgItem(windows.header, m.id));
            EXPECT_EQ(r.left, m.x) << m.id;
            EXPECT_EQ(r.top, m.y) << m.id;
            EXPECT_EQ(r.right - r.left, std::max(m.w, 0)) << m.id;
            EXPECT_EQ(r.bottom - r.top, m.h) << m.id;
        }
    }
    // A quiz of another kind has no check box; its layout passes it over.
    QuizState* state = CurrentQuizState();
    state->quizKind = 2;
    HWND other = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1002), windows.main,
                                    HeaderDialogProc, 0);
    test::SetClientSize(other, 600, 47);
    EXPECT_EQ(GetDlgItem(other, 33), nullptr);
    EXPECT_EQ(ChildRect(other, GetDlgItem(other, 27)).left, 396);
    DestroyWindow(other);
    state->quizKind = 1;
}

// quizpack warns of a code the field would cut from its own table of the
// field's font: each character, and every code of the sample, against the
// real field (a sentinel after the text gives the last one's right edge).
TEST_F(Player, TheCodeFieldShowsWhatQuizpackSays) {
    HWND field = GetDlgItem(windows.header, kCodeFieldId);
    RECT format = {};
    SendMessageA(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.right - format.left, quizpack::kCodeFieldTextWidth);
    auto shown = [&](const std::string& text) {
        SetWindowTextA(field, (text + "|").c_str());
        size_t count = 0;
        while (count < text.size() &&
               static_cast<short>(LOWORD(SendMessageA(field, EM_POSFROMCHAR, count + 1, 0))) <= format.right)
            ++count;
        return count;
    };
    std::vector<std::string> texts;
    for (int b = 0x20; b <= 0xFF; ++b) texts.push_back(std::string(12, static_cast<char>(b)));
    for (int k = 0; k < CurrentQuizState()->questionCount; ++k) texts.push_back(CurrentQuizState()->questionLines[k]);
    texts.push_back("BRAVO ! VOUS AVEZ");
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(shown(text), quizpack::VisibleCodeText(text).size());
    }
}

TEST_F(Player, HeaderCommandsColoursAndLinkCursor) {
    g_openedLinks.clear();
    SetLinkOpener([](const char* link) { g_openedLinks.push_back(link); });
    SendMessageA(windows.header, WM_COMMAND, MAKEWPARAM(24, STN_DBLCLK), 0);  // not a click
    EXPECT_TRUE(g_openedLinks.empty());
    SendMessageA(windows.header, WM_COMMAND, 24, 0);
    ASSERT_EQ(g_openedLinks.size(), 1u);
    EXPECT_EQ(g_openedLinks[0], "https://q.example");
    SetLinkOpener(nullptr);
    {
        // The link shows whole on one line of its label, in the label's font.
        HWND link = GetDlgItem(windows.header, 24);
        char text[64] = {};
        GetWindowTextA(link, text, sizeof text);
        RECT box;
        GetClientRect(link, &box);
        HDC linkDc = GetDC(link);
        HGDIOBJ old = SelectObject(linkDc, reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32A(linkDc, text, lstrlenA(text), &size);
        SelectObject(linkDc, old);
        ReleaseDC(link, linkDc);
        EXPECT_LE(size.cx, box.right) << text;
    }

    HDC dc = GetDC(windows.header);
    auto paint = [&](int id) {
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, RGB(1, 2, 3));
        return reinterpret_cast<HBRUSH>(HeaderDialogProc(
            windows.header, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
            reinterpret_cast<LPARAM>(GetDlgItem(windows.header, id))));
    };
    HBRUSH brush = reinterpret_cast<HBRUSH>(HeaderDialogProc(windows.header, WM_CTLCOLORDLG, 0, 0));
    LOGBRUSH logical = {};
    GetObjectA(brush, sizeof logical, &logical);
    EXPECT_EQ(logical.lbColor, RGB(128, 128, 255));
    EXPECT_EQ(paint(24), brush);
    EXPECT_EQ(GetTextColor(dc), RGB(50, 50, 255));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(paint(30), brush);  // the read-only code field
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(paint(120), nullptr);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    ReleaseDC(windows.header, dc);

    // The hand shows over the link only; the "Static" class keeps its arrow.
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1003));
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    EXPECT_EQ(SendMessageA(windows.header, WM_SETCURSOR,
                           reinterpret_cast<WPARAM>(GetDlgItem(windows.header, 26)),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), FALSE);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(SendMessageA(windows.header, WM_SETCURSOR,
                           reinterpret_cast<WPARAM>(GetDlgItem(windows.header, 24)),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(GetCursor(), hand);
    EXPECT_EQ(GetClassLongPtrA(GetDlgItem(windows.header, 24), GCLP_HCURSOR),
              reinterpret_cast<ULONG_PTR>(arrow));
}

TEST_F(Player, TheSampleQuizFillsTheGrid) {
    QuizState* state = CurrentQuizState();
    EXPECT_EQ(state->gridWidth, 1660);
    EXPECT_EQ(state->gridHeight, 5 + 7 * (505 + 10 + 140));  // seven rows, hint space below
    for (int k = 1; k <= 21; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NE(SendMessageA(GetDlgItem(windows.grid, 9900 + k), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
        EXPECT_EQ(TextOf(GetDlgItem(windows.grid, 2000 + k)), std::to_string(k) + ".");
        EXPECT_EQ(TextOf(GetDlgItem(windows.grid, 5000 + k)), "?");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(windows.grid, 8000 + k)));  // layout 3: hidden hints
    }
    EXPECT_EQ(GetDlgItem(windows.grid, 4022), nullptr);
}

TEST_F(Player, EndingTheSessionSavesTheAnswers) {
    const std::string name = test::ProgressName();
    auto bytes = [&] { return test::FileBytes(name); };
    std::string empty;
    for (int i = 0; i < 20; ++i) empty += "\r\n";
    SetWindowTextA(GetDlgItem(windows.grid, 4001), "abricot");
    // A save that fails holds the session up, silently, with the reason.
    const std::string fresh = name + ".new";  // a folder by that name: the save cannot write
    ASSERT_TRUE(CreateDirectoryA(fresh.c_str(), nullptr));
    EXPECT_EQ(SendMessageA(windows.main, WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_TRUE(capture->alerts().empty());
    char path[MAX_PATH];
    GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    EXPECT_EQ(std::string(SessionBlockReason()),
              "Les r\xE9ponses n'ont pas pu \xEAtre enregistr\xE9" "es dans \xAB " + std::string(path) + " \xBB");
    // While the player is asked whether to close, the session waits for them.
    LRESULT queried = -1;
    {
        test::RealMessageBoxes boxes;
        test::MessageBoxAnswer answer("Zarlo", IDNO, [&] {
            RemoveDirectoryA(fresh.c_str());  // a save would go through now
            queried = SendMessageA(windows.main, WM_QUERYENDSESSION, 0, 0);
        });
        SendMessageA(windows.main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(answer.Finish().yesNo);
    }
    EXPECT_EQ(queried, FALSE);
    EXPECT_EQ(SendMessageA(windows.main, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_STREQ(SessionBlockReason(), "");
    EXPECT_EQ(bytes(), "abricot\r\n" + empty);
    SetWindowTextA(GetDlgItem(windows.grid, 4001), "ananas");
    SendMessageA(windows.main, WM_ENDSESSION, FALSE, 0);  // the session goes on: nothing
    EXPECT_EQ(bytes(), "abricot\r\n" + empty);
    SendMessageA(windows.main, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(bytes(), "ananas\r\n" + empty);
    std::remove(name.c_str());
}

// The message names the full path only when the system wrote it whole: one
// byte short of room, it names the file as the player opens it.
TEST(ProgressFile, ThePathShownIsOnlyWhatWasWritten) {
    const std::string name = test::ProgressName();
    char full[MAX_PATH] = {};
    const int length = static_cast<int>(GetFullPathNameA(name.c_str(), sizeof full, full, nullptr));
    ASSERT_GT(length, static_cast<int>(name.size()));
    char path[MAX_PATH] = {};
    ProgressFilePath(path, length + 1);
    EXPECT_STREQ(path, full);
    ProgressFilePath(path, length);
    EXPECT_EQ(std::string(path), name);
}

TEST_F(Player, ClosingWithAFailedSaveAsksAndNoKeepsTheGame) {
    const std::string name = test::ProgressName();
    std::remove(name.c_str());
    const std::string fresh = name + ".new";  // a folder by that name: the save cannot write
    ASSERT_TRUE(CreateDirectoryA(fresh.c_str(), nullptr));
    SetWindowTextA(GetDlgItem(windows.grid, 4001), "abricot");
    test::RealMessageBoxes boxes;
    {
        test::MessageBoxAnswer answer("Zarlo", IDNO);
        EXPECT_EQ(SendMessageA(windows.main, WM_CLOSE, 0, 0), 0);
        const test::MessageBoxSeen seen = answer.Finish();
        EXPECT_TRUE(seen.yesNo);
        EXPECT_NE(seen.text.find("Fermer quand m\xEAme ?"), std::string::npos) << seen.text;
        EXPECT_NE(seen.text.find(name), std::string::npos) << seen.text;
    }
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the game ended";
    EXPECT_TRUE(IsWindow(windows.grid));
    EXPECT_EQ(TextOf(GetDlgItem(windows.grid, 4001)), "abricot");
    {
        test::MessageBoxAnswer answer("Zarlo", IDYES);
        SendMessageA(windows.main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(answer.Finish().yesNo);
    }
    EXPECT_FALSE(IsWindow(windows.grid));
    EXPECT_EQ(RunMessageLoop(windows.grid), 0);
    RemoveDirectoryA(fresh.c_str());
    EXPECT_EQ(GetFileAttributesA(name.c_str()), INVALID_FILE_ATTRIBUTES);  // nothing half-written
}

TEST_F(Player, TheKeyboardComesBackWithTheWindow) {
    // Nobody had the focus: the first answer field takes it.
    EXPECT_EQ(GetFocus(), GetDlgItem(windows.grid, 4001));
    // Scrolled down by the wheel, the focus still in field 4001: coming back
    // leaves the grid where it was.
    for (int notch = 0; notch < 20; ++notch) SendMessageA(windows.grid, WM_VSCROLL, 500, 0);
    const LONG scrolled = ChildRect(windows.grid, GetDlgItem(windows.grid, 4001)).top;
    ASSERT_LT(scrolled, 0);
    auto switchAway = [&] {
        HWND other = CreateWindowExA(0, "Static", "autre", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(other);
        SetActiveWindow(other);
        FlushEvents();
        return other;
    };
    auto comeBack = [&](HWND other) {
        SetForegroundWindow(windows.main);
        SetActiveWindow(windows.main);
        test::FlushEvents(windows.grid, 200);
        DestroyWindow(other);
    };
    comeBack(switchAway());
    EXPECT_EQ(GetFocus(), GetDlgItem(windows.grid, 4001));
    EXPECT_EQ(ChildRect(windows.grid, GetDlgItem(windows.grid, 4001)).top, scrolled);
    // A focus the player moves still brings its field into view.
    SetFocus(GetDlgItem(windows.grid, 4002));
    SetFocus(GetDlgItem(windows.grid, 4001));
    EXPECT_GT(ChildRect(windows.grid, GetDlgItem(windows.grid, 4001)).top, 0);
    HWND field = GetDlgItem(windows.grid, 4005);
    SetFocus(field);
    HWND other = CreateWindowExA(0, "Static", "autre", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    FlushEvents();
    ASSERT_EQ(GetActiveWindow(), other);
    EXPECT_NE(GetFocus(), field);
    SetForegroundWindow(windows.main);
    SetActiveWindow(windows.main);
    test::FlushEvents(windows.grid, 200);
    ASSERT_EQ(GetActiveWindow(), windows.main);
    EXPECT_EQ(GetFocus(), field);
    // A key pressed now reaches the field, through the loop's dialog manager.
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = 'K';
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof keys[0]);
    test::FlushEvents(windows.grid, 200);
    EXPECT_EQ(TextOf(field), "k");
    DestroyWindow(other);
}

TEST(QuizStateWin32, FontsAndBrushesAreMadeAsListed) {
    QuizState* state = CreateQuizState();
    ASSERT_NE(state, nullptr);
    struct FontCase {
        GdiHandle font;
        LONG height, weight;
        BYTE italic;
        const char* face;
    } fonts[] = {{state->pictureFont, 27, FW_BOLD, 1, "Arial"},
                 {state->scoreFont, 25, FW_NORMAL, 0, "Arial"},
                 {state->titleFont, -15, FW_BOLD, 1, ""}};
    for (const FontCase& f : fonts) {
        SCOPED_TRACE(f.face);
        LOGFONTA logical = {};
        ASSERT_EQ(GetObjectA(static_cast<HGDIOBJ>(f.font), sizeof logical, &logical),
                  static_cast<int>(sizeof logical));
        EXPECT_EQ(logical.lfHeight, f.height);
        EXPECT_EQ(logical.lfWeight, f.weight);
        EXPECT_EQ(logical.lfItalic, f.italic);
        EXPECT_STREQ(logical.lfFaceName, f.face);
    }
    struct BrushCase {
        GdiHandle brush;
        COLORREF colour;
    } brushes[] = {{state->backBrush, RGB(90, 95, 150)},
                   {state->redBrush, RGB(255, 0, 0)},
                   {state->orangeBrush, RGB(255, 100, 0)},
                   {state->amberBrush, RGB(255, 203, 38)}};
    for (const BrushCase& b : brushes) {
        LOGBRUSH logical = {};
        ASSERT_NE(GetObjectA(static_cast<HGDIOBJ>(b.brush), sizeof logical, &logical), 0);
        EXPECT_EQ(logical.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(logical.lbColor, b.colour);
    }
    EXPECT_EQ(state->smallFont, nullptr);  // made when the grid is built
    GdiHandle oldBrush = state->backBrush;
    state->backRed = 1;
    state->backGreen = 2;
    state->backBlue = 3;
    ReplaceBackBrush(state);
    LOGBRUSH replaced = {};
    GetObjectA(static_cast<HGDIOBJ>(state->backBrush), sizeof replaced, &replaced);
    EXPECT_EQ(replaced.lbColor, RGB(1, 2, 3));
    EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(oldBrush)), 0u);
    GdiHandle pictureFont = state->pictureFont;
    DestroyQuizState(state);  // without a smallFont: harmless
    EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(pictureFont)), 0u);
}

// The plain DLGTEMPLATE header, as stored.
#pragma pack(push, 2)
struct StoredDialog {
    DWORD style;
    DWORD extendedStyle;
    WORD controls;
    short x, y, cx, cy;
};
#pragma pack(pop)

TEST(Resources, DialogTemplatesAreExactlyAsListed) {
    struct Case {
        int id;
        DWORD style;
    } cases[] = {{1001, 0x40B00040}, {1002, 0x40800040}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(c.id), MAKEINTRESOURCEA(5));
        ASSERT_NE(found, nullptr);
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
        StoredDialog header;
        memcpy(&header, bytes, sizeof header);
        EXPECT_EQ(header.style, c.style);
        EXPECT_EQ(header.extendedStyle, 0u);
        EXPECT_EQ(header.controls, 0);
        EXPECT_EQ(header.x, 0);
        EXPECT_EQ(header.y, 0);
        EXPECT_EQ(header.cx, 86);
        EXPECT_EQ(header.cy, 100);
        const WORD* words = reinterpret_cast<const WORD*>(bytes + sizeof header);
        EXPECT_EQ(words[0], 0);  // no menu
        EXPECT_EQ(words[1], 0);  // default class
        EXPECT_EQ(words[2], 0);  // empty title
        EXPECT_EQ(words[3], 8);  // point size
        std::wstring face(reinterpret_cast<const wchar_t*>(words + 4));
        EXPECT_TRUE(face == L"MS Sans Serif");
    }
}

TEST(Resources, CursorIconPicturesAndRecordsArePresent) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    HCURSOR cursor = LoadCursorA(self, MAKEINTRESOURCEA(1003));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    EXPECT_EQ(info.hbmColor, nullptr);  // monochrome
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    DeleteObject(info.hbmMask);

    EXPECT_NE(FindResourceA(self, "A", MAKEINTRESOURCEA(14)), nullptr);  // RT_GROUP_ICON
    HICON icon = static_cast<HICON>(LoadImageA(self, "A", IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    DestroyIcon(icon);
    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)), nullptr);  // version
    // The pictures quizpack draws are PNG, for the player's own decoder
    // (RT_RCDATA); hand-made GIF, JPEG or BMP pictures are "IMG".
    auto picture = [&](int id) {
        return FindResourceA(self, MAKEINTRESOURCEA(id), "IMG") != nullptr ||
               FindResourceA(self, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10)) != nullptr;
    };
    EXPECT_TRUE(picture(400));
    for (int k = 1; k <= 21; ++k) EXPECT_TRUE(picture(10400 + k)) << k;
    EXPECT_FALSE(picture(10422));
    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(104), "PATCH"), nullptr);
    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(105), "PATCH"), nullptr);
}

}  // namespace
}  // namespace quiz
