// The player's shell, started in-process on real windows and read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include <memory>

#include "model/alert.h"
#include "test_support.h"
#include "model/quiz_state_win32.h"
#include "shell/shell_win32.h"

namespace quiz {
namespace {

// Pumps messages until the display has settled.
void FlushEvents() {
    DWORD end = GetTickCount() + 200;
    for (;;) {
        DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

RECT ChildRect(HWND parent, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string TextOf(HWND window) {
    char text[300] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

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
        StatusLabelBrush()};
    for (HGDIOBJ object : objects) EXPECT_NE(GetObjectType(object), 0u);
    HWND header = windows.header;
    ShutDownPlayer(&windows);
    for (size_t i = 0; i < sizeof objects / sizeof objects[0]; ++i)
        EXPECT_EQ(GetObjectType(objects[i]), 0u) << "object " << i;
    EXPECT_FALSE(IsWindow(header));
    EXPECT_EQ(CurrentQuizState(), nullptr);
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
    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(400), "IMG"), nullptr);
    for (int k = 1; k <= 21; ++k)
        EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(10400 + k), "IMG"), nullptr) << k;
    EXPECT_EQ(FindResourceA(self, MAKEINTRESOURCEA(10422), "IMG"), nullptr);
    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(104), "PATCH"), nullptr);
    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(105), "PATCH"), nullptr);
}

}  // namespace
}  // namespace quiz
