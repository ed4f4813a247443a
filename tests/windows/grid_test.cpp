// The quiz grid on real windows: rows built from fixture quizzes, their
// controls read back, label colours, scrolling, restored answers and the
// question pictures.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "answers/answer_check_win32.h"
#include "answers/answer_field_win32.h"
#include "grid/grid_win32.h"
#include "grid/question_pictures_win32.h"
#include "grid/quiz_tables.h"
#include "images/picture_loader_win32.h"
#include "model/quiz_state_win32.h"
#include "test_support.h"
#include "win32_test_support.h"

namespace quiz {
namespace {

using test::ChildRect;
using test::StyleOf;
using test::TextOf;

const std::vector<test::FixtureQuestion> kFive = {
    {"POMME", nullptr, "Un fruit du verger."},
    {"PIED-DE-BICHE", "-", "Un outil."},
    {"FIGUE", nullptr, ""},
    {"NEW YORK", nullptr, ""},
    {"KIWI", nullptr, ""},
};

class Grid : public ::testing::Test {
protected:
    QuizState* state = nullptr;
    test::GridFixture fixture;
    std::unique_ptr<test::AlertCapture> alerts = std::make_unique<test::AlertCapture>();

    void Open(int layout, int perQuestion, int clientWidth = 1000, int clientHeight = 800) {
        state = test::MakeQuiz(layout, perQuestion, kFive);
        fixture = test::OpenGrid(clientWidth, clientHeight);
    }
    void TearDown() override {
        if (fixture.grid) test::CloseGrid(&fixture);
        if (state) test::DropQuiz(state);
    }
    HWND Item(int id) { return GetDlgItem(fixture.grid, id); }
    void ExpectRect(int id, int x, int y, int width, int height) {
        SCOPED_TRACE("control " + std::to_string(id));
        const RECT r = ChildRect(Item(id));
        EXPECT_EQ(r.left, x);
        EXPECT_EQ(r.top, y);
        EXPECT_EQ(r.right - r.left, width);
        EXPECT_EQ(r.bottom - r.top, height);
    }
};

TEST_F(Grid, OneAnswerRowsStandAt5And580) {
    Open(0, 1);
    EXPECT_EQ(state->gridWidth, 1660);
    EXPECT_EQ(state->gridHeight, 1155);
    EXPECT_EQ(state->gridDialog, fixture.grid);
    EXPECT_TRUE(alerts->alerts().empty());
    ExpectRect(9901, 71, 5, 459, 505);
    ExpectRect(9904, 71, 580, 459, 505);
    ExpectRect(4003, 1126, 520, 510, 20);
    ExpectRect(5003, 1126, 539, 510, 20);
    ExpectRect(2003, 1098, 522, 27, 17);
    ExpectRect(4005, 586, 1095, 510, 20);
    EXPECT_EQ(Item(4006), nullptr);
    EXPECT_EQ(Item(8001), nullptr);  // layouts 0 and 1 have no hint labels
    EXPECT_EQ(TextOf(Item(2003)), "3.");
    EXPECT_EQ(TextOf(Item(5003)), "?");
    struct Kind {
        int id;
        const char* className;
        LONG style;
    } kinds[] = {
        {9901, "Static", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_BITMAP | SS_CENTERIMAGE},
        {2001, "Static", WS_CHILD | WS_VISIBLE | SS_RIGHT},
        // An edit control takes WS_BORDER off its style and draws the border itself.
        {4001, "Edit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER},
        {5001, "Static", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.id);
        char className[32] = {};
        GetClassNameA(Item(kind.id), className, sizeof className);
        EXPECT_STRCASEEQ(className, kind.className);
        EXPECT_EQ(StyleOf(Item(kind.id)) & ~WS_GROUP, kind.style);
    }
    EXPECT_EQ(SendMessageA(Item(4001), EM_GETLIMITTEXT, 0, 0), 85);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Item(4001), WM_GETFONT, 0, 0)),
              AsFont(state->smallFont));
    EXPECT_EQ(GetWindowLongPtrA(Item(4001), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&AnswerFieldProc));
    HBITMAP first = reinterpret_cast<HBITMAP>(SendMessageA(Item(9901), STM_GETIMAGE, IMAGE_BITMAP, 0));
    HBITMAP second = reinterpret_cast<HBITMAP>(SendMessageA(Item(9902), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);  // 5 and 7 letters
    EXPECT_EQ(test::BitmapSize(first).cx, 459);
    EXPECT_EQ(test::BitmapSize(first).cy, 505);
}

TEST_F(Grid, HintLabelsByLayout) {
    struct Case {
        int layout;
        int top2, gridHeight;
        bool visible;
        const char* hint1;
        const char* hint2;
    } cases[] = {
        {5, 660, 1315, true, "en 1 mot", "en 3 mots"},
        {7, 660, 1315, true, "en 1 mot", "en 3 mots"},
        {8, 660, 1315, true, "Un fruit du verger.", "Un outil."},
        {3, 660, 1315, false, "Un fruit du verger.", "Un outil."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("layout " + std::to_string(c.layout));
        Open(c.layout, 1);
        ExpectRect(9904, 71, c.top2, 459, 505);
        EXPECT_EQ(state->gridHeight, c.gridHeight);
        EXPECT_EQ(TextOf(Item(8001)), c.hint1);
        EXPECT_EQ(TextOf(Item(8002)), c.hint2);
        EXPECT_EQ(IsWindowVisible(Item(8001)) != FALSE, c.visible);
        ExpectRect(8001, 46, 566, 510, 65);
        test::CloseGrid(&fixture);
        test::DropQuiz(state);
        state = nullptr;
    }
}

TEST_F(Grid, TwoAnswersAndTheHiddenSecondField) {
    Open(0, 2);
    EXPECT_EQ(state->gridWidth, 1720);
    ExpectRect(4005, 1186, 520, 451, 20);
    ExpectRect(4006, 1186, 539, 451, 20);
    ExpectRect(5006, 1636, 539, 60, 20);
    // Question 2's second answer is held as "-": one visible field.
    EXPECT_EQ(TextOf(Item(4004)), "-");
    EXPECT_FALSE(IsWindowVisible(Item(4004)));
    EXPECT_FALSE(IsWindowVisible(Item(5004)));
    EXPECT_TRUE(IsWindowVisible(Item(4003)));
    std::vector<RECT> captions;
    for (HWND child = GetWindow(fixture.grid, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == 156) captions.push_back(ChildRect(child));
    ASSERT_EQ(captions.size(), 4u);  // two per row, first column only
    EXPECT_EQ(captions[0].left, 4);
    EXPECT_EQ(captions[0].top, 522);
    EXPECT_EQ(captions[1].left, 3);
    EXPECT_EQ(captions[1].top, 542);
    EXPECT_EQ(captions[2].top, 1097);
}

TEST_F(Grid, OtherQuizKindsBuildNoRows) {
    for (int perQuestion : {1, 2}) {
        state = test::MakeQuiz(0, perQuestion, kFive);
        state->quizKind = 2;
        fixture = test::OpenGrid(600, 400);
        EXPECT_EQ(GetWindow(fixture.grid, GW_CHILD), nullptr);
        EXPECT_EQ(state->gridWidth, perQuestion == 1 ? 20 : 80);
        EXPECT_EQ(state->gridHeight, 0);
        test::CloseGrid(&fixture);
        test::DropQuiz(state);
        state = nullptr;
    }
}

TEST_F(Grid, LabelsArePaintedByTheirText) {
    Open(5, 1);
    state->backRed = 70;
    HDC dc = GetDC(fixture.grid);
    auto paint = [&](int id) {
        SetTextColor(dc, RGB(1, 2, 3));
        // The procedure itself: through SendMessage a 0 becomes the dialog
        // manager's default brush.
        return reinterpret_cast<HBRUSH>(GridDialogProc(fixture.grid, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(Item(id))));
    };
    EXPECT_EQ(paint(2001), AsBrush(state->backBrush));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    state->backRed = 69;
    state->backGreen = 69;
    state->backBlue = 255;
    EXPECT_EQ(paint(8002), AsBrush(state->backBrush));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
    struct Case {
        const char* text;
        HBRUSH brush;
    } cases[] = {{"Presque", AsBrush(state->amberBrush)}, {"?", nullptr},
                 {"BRAVO", GreenBrush()}, {"FAUX", AsBrush(state->redBrush)},
                 {"Anagramme", AsBrush(state->orangeBrush)}};
    for (const Case& c : cases) {
        SetWindowTextA(Item(5002), c.text);
        EXPECT_EQ(paint(5002), c.brush) << c.text;
        EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3)) << c.text;  // result labels keep theirs
    }
    LOGBRUSH green = {};
    GetObjectA(GreenBrush(), sizeof green, &green);
    EXPECT_EQ(green.lbColor, RGB(0, 255, 0));
    EXPECT_EQ(paint(9901), nullptr);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageA(fixture.grid, WM_CTLCOLORDLG,
                                                    reinterpret_cast<WPARAM>(dc), 0)),
              AsBrush(state->backBrush));
    ReleaseDC(fixture.grid, dc);
    // Closing the grid leaves its brush alone; destroying it deletes it once.
    SendMessageA(fixture.grid, WM_CLOSE, 0, 0);
    HBRUSH brush = GreenBrush();
    EXPECT_NE(GetObjectType(brush), 0u);
    DestroyWindow(fixture.grid);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GreenBrush(), nullptr);
}

TEST_F(Grid, ScrollRequestsMoveTheContent) {
    Open(0, 1);
    auto top = [&] { return static_cast<int>(ChildRect(Item(9901)).top); };
    auto left = [&] { return static_cast<int>(ChildRect(Item(9901)).left); };
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(fixture.grid, SB_HORZ, &info);
    EXPECT_EQ(info.nMax, 1658);
    EXPECT_EQ(info.nPage, 999u);
    GetScrollInfo(fixture.grid, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 1153);
    EXPECT_EQ(info.nPage, 799u);
    struct Case {
        UINT message;
        WPARAM request;
        int position, pictureTop, pictureLeft;
    } cases[] = {
        {WM_VSCROLL, SB_LINEDOWN, 355, 5 - 355, 71},  // 560 asked, 355 reachable
        {WM_VSCROLL, SB_LINEUP, 0, 5, 71},
        {WM_VSCROLL, SB_BOTTOM, 355, -350, 71},
        {WM_VSCROLL, SB_TOP, 0, 5, 71},
        {WM_VSCROLL, 500, 50, -45, 71},
        {WM_VSCROLL, 501, 0, 5, 71},
        {WM_HSCROLL, SB_PAGERIGHT, 660, 5, 71 - 660},
        {WM_HSCROLL, SB_LINELEFT, 659, 5, 71 - 659},
        {WM_HSCROLL, SB_LEFT, 659, 5, 71 - 659},  // SB_LEFT and SB_RIGHT change nothing
        {WM_HSCROLL, SB_RIGHT, 659, 5, 71 - 659},
        {WM_HSCROLL, SB_PAGELEFT, 0, 5, 71},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("message " + std::to_string(c.message) + " request " + std::to_string(c.request));
        SendMessageA(fixture.grid, c.message, c.request, 0);
        EXPECT_EQ(GetScrollPos(fixture.grid, c.message == WM_VSCROLL ? SB_VERT : SB_HORZ), c.position);
        EXPECT_EQ(top(), c.pictureTop);
        EXPECT_EQ(left(), c.pictureLeft);
    }
    // A wheel notch toward the user posts one 500: 50 pixels down.
    SendMessageA(fixture.grid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    SendMessageA(fixture.grid, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    test::FlushEvents(fixture.grid, 50);
    EXPECT_EQ(GetScrollPos(fixture.grid, SB_VERT), 50);
    // A resize that changes no range moves nothing; a client taller than the
    // content puts the position back to 0 and the content with it.
    test::SetClientSize(fixture.grid, 1000, 800);
    EXPECT_EQ(top(), -45);
    SendMessageA(fixture.grid, WM_VSCROLL, SB_BOTTOM, 0);
    test::SetClientSize(fixture.grid, 1000, 1000);  // the position clamped: the content follows
    EXPECT_EQ(GetScrollPos(fixture.grid, SB_VERT), 155);
    EXPECT_EQ(top(), 5 - 155);
    test::SetClientSize(fixture.grid, 1000, 1200);
    EXPECT_EQ(GetScrollPos(fixture.grid, SB_VERT), 0);
    EXPECT_EQ(top(), 5);
    GetScrollInfo(fixture.grid, SB_VERT, &info);
    EXPECT_EQ(info.nPage, 1154u);  // the extent's, not the client's
}

TEST_F(Grid, RestoredAnswersReachTheirFields) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string name = strrchr(program, '\\') + 1;
    name = name.substr(0, name.size() - 3) + "txt";
    const std::string lines = "POMME\r\n" + std::string(100, 'x') + "\r\nFIGUE\r\n";
    FILE* file = std::fopen(name.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(lines.data(), 1, lines.size(), file);
    std::fclose(file);
    Open(0, 1);
    std::remove(name.c_str());
    const std::string expected[] = {"POMME", std::string(85, 'x'), "FIGUE", "", ""};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(TextOf(Item(4001 + i)), expected[i]) << 4001 + i;
}

TEST_F(Grid, BuildingAndClosingTheGridKeepsNoBitmap) {
    state = test::MakeQuiz(0, 1, kFive);  // five questions: one prepared picture unused
    auto workingSet = [] {
        PROCESS_MEMORY_COUNTERS counters = {};
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return static_cast<long long>(counters.WorkingSetSize);
    };
    fixture = test::OpenGrid(1000, 800);
    test::CloseGrid(&fixture);
    const long long before = workingSet();
    for (int i = 0; i < 6; ++i) {
        fixture = test::OpenGrid(1000, 800);
        test::CloseGrid(&fixture);
    }
    // A leaked 459 x 505 picture per build would be 5.5 MB by now.
    EXPECT_LT(workingSet() - before, 3ll << 20) << "before " << before;
}

class Pictures : public ::testing::Test {
protected:
    QuizState* state = test::MakeQuiz(0, 1, kFive);
    HBITMAP puzzle = LoadResourcePicture(nullptr, 400, "IMG", 510, 510);
    void TearDown() override {
        DeleteObject(puzzle);
        test::DropQuiz(state);
    }
    // The letter count as a reference drawing would put it on a copy.
    std::vector<uint32_t> Reference(HBITMAP base, const char* text) {
        HBITMAP copy = static_cast<HBITMAP>(CopyImage(base, IMAGE_BITMAP, 0, 0, 0));
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, copy);
        SelectObject(dc, AsFont(state->pictureFont));
        TextOutA(dc, 183, 468, text, lstrlenA(text));
        SelectObject(dc, old);
        DeleteDC(dc);
        std::vector<uint32_t> pixels = test::PixelsOf(copy);
        DeleteObject(copy);
        return pixels;
    }
};

TEST_F(Pictures, LetterCountsFromTheQuizTables) {
    ASSERT_NE(puzzle, nullptr);
    const std::vector<uint32_t> original = test::PixelsOf(puzzle);
    struct Case {
        int k;
        const char* text;
    } cases[] = {{3, "9 lettres"}, {10, "9 lettres"}, {21, "6 lettres"}, {22, "2 lettres"}, {0, "2 lettres"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        HBITMAP drawn = DrawLetterCount(state, puzzle, c.k, AsFont(state->pictureFont));
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(test::BitmapSize(drawn).cx, 459);
        EXPECT_EQ(test::BitmapSize(drawn).cy, 505);
        const std::vector<uint32_t> pixels = test::PixelsOf(drawn);
        EXPECT_TRUE(pixels == Reference(puzzle, c.text));
        EXPECT_NE(pixels, original);
        DeleteObject(drawn);
    }
    EXPECT_EQ(test::PixelsOf(puzzle), original);  // never written on
    EXPECT_EQ(DrawLetterCount(state, nullptr, 1, AsFont(state->pictureFont)), nullptr);
}

TEST_F(Pictures, OverlaysLandAtTheirPlaceOnly) {
    HBITMAP overlay = LoadResourcePicture(nullptr, 10410, "IMG", 510, 510);
    ASSERT_NE(overlay, nullptr);
    const std::vector<uint32_t> marks = test::PixelsOf(overlay);
    const std::vector<uint32_t> original = test::PixelsOf(puzzle);
    HBITMAP base = static_cast<HBITMAP>(CopyImage(puzzle, IMAGE_BITMAP, 0, 0, 0));
    HBITMAP composed = ComposeAnswerPicture(state, overlay, base, 9);
    const std::vector<uint32_t> changed = test::PixelsOf(base);
    int differing = 0;
    for (int y = 0; y < 505; ++y)
        for (int x = 0; x < 459; ++x) {
            const bool inside = x >= 417 && x < 448 && y >= 11 && y < 253;
            const uint32_t want = inside ? marks[(y - 11) * 31 + (x - 417)] : original[y * 459 + x];
            differing += changed[y * 459 + x] != want;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(test::PixelsOf(composed) == Reference(base, "9 lettres"));
    DeleteObject(composed);
    for (int index : {21, -1}) {  // no place: nothing copied, still a letter count
        HBITMAP clean = static_cast<HBITMAP>(CopyImage(puzzle, IMAGE_BITMAP, 0, 0, 0));
        HBITMAP result = ComposeAnswerPicture(state, overlay, clean, index);
        EXPECT_EQ(test::PixelsOf(clean), original) << index;
        EXPECT_TRUE(test::PixelsOf(result) == Reference(puzzle, "2 lettres")) << index;
        DeleteObject(result);
        DeleteObject(clean);
    }
    DeleteObject(base);
    DeleteObject(overlay);
}

// Questions with one letter count show one bitmap; a find gives its question
// a picture of its own and leaves the others theirs; the grid's end deletes
// each bitmap once.
TEST_F(Pictures, QuestionsWithOneLetterCountShareOnePicture) {
    std::vector<test::FixtureQuestion> twelve;
    for (int k = 1; k <= 12; ++k) twelve.push_back(kFive[(k - 1) % 5]);
    twelve[9] = {"DATTE", nullptr, ""};  // question 10: the one with an overlay
    test::DropQuiz(state);
    state = test::MakeQuiz(1, 1, twelve);  // a find shows its marked picture
    test::GridFixture fixture = test::OpenGrid(1000, 800);
    auto shown = [&](int k) {
        return reinterpret_cast<HBITMAP>(
            SendDlgItemMessageA(fixture.grid, 9900 + k, STM_GETIMAGE, IMAGE_BITMAP, 0));
    };
    // Counts 5 7 9 6 8 5 7 7 6 9 6 6: 1 and 6, 2 7 and 8, 3 and 10, 4 9 11 and 12.
    const int firstWithCount[13] = {0, 1, 2, 3, 4, 5, 1, 2, 2, 4, 3, 4, 4};
    for (int k = 1; k <= 12; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(shown(k), shown(firstWithCount[k]));
        for (int j = 1; j < k; ++j)
            if (firstWithCount[j] != firstWithCount[k]) {
                EXPECT_NE(shown(j), shown(k)) << j;
            }
        char text[16];
        wsprintfA(text, "%d lettres", LetterCountOf(k));
        EXPECT_TRUE(test::PixelsOf(shown(k)) == Reference(puzzle, text));
    }
    HBITMAP shared = shown(3);
    const std::vector<uint32_t> before = test::PixelsOf(shared);
    SetWindowTextA(GetDlgItem(fixture.grid, 4010), "DATTE");
    CheckAnswerField(state, fixture.grid, 4010);
    EXPECT_NE(shown(10), shared);
    EXPECT_EQ(shown(3), shared);
    EXPECT_EQ(test::PixelsOf(shared), before);  // the find drew on its own copy
    HBITMAP marked = shown(10);
    test::CloseGrid(&fixture);
    for (HBITMAP gone : {shared, marked}) EXPECT_EQ(GetObjectType(gone), 0u);
}

TEST_F(Pictures, AFoundQuestionShowsItsOwnMarkOnly) {
    HWND grid = CreateWindowExA(0, "Static", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
    struct Case {
        int k;
        bool replaced;
        size_t alerts;
    } cases[] = {{10, true, 0}, {22, false, 0}, {3, false, 1}};  // 3: a place, no resource
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        test::AlertCapture capture;
        HWND control = CreateWindowExA(0, "Static", "", WS_CHILD | SS_BITMAP, 0, 0, 10, 10, grid,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(9900 + c.k)),
                                       nullptr, nullptr);
        HBITMAP before = DrawLetterCount(state, puzzle, c.k, AsFont(state->pictureFont));
        SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(before));
        ShowFoundPicture(state, grid, c.k);
        HBITMAP after = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        EXPECT_EQ(after != before, c.replaced);
        EXPECT_EQ(GetObjectType(before) == 0, c.replaced);  // the replaced one is released
        EXPECT_EQ(capture.alerts().size(), c.alerts);
        if (c.alerts) {
            EXPECT_EQ(capture.alerts()[0].text, "Error: couldn't load PNG resource");
        }
        if (c.replaced) {
            // The pixels of the all-found composition, in the screen's format.
            HBITMAP overlay = LoadResourcePicture(nullptr, 10400 + c.k, "IMG", 510, 510);
            HBITMAP base = static_cast<HBITMAP>(CopyImage(puzzle, IMAGE_BITMAP, 0, 0, 0));
            HBITMAP composed = ComposeAnswerPicture(state, overlay, base, c.k - 1);
            EXPECT_TRUE(test::PixelsOf(after) == test::PixelsOf(composed));
            EXPECT_FALSE(test::PixelsOf(after) == Reference(puzzle, "9 lettres"));  // the mark shows
            BITMAP format = {}, screen = {};
            GetObjectA(after, sizeof format, &format);
            GetObjectA(composed, sizeof screen, &screen);
            EXPECT_EQ(format.bmBitsPixel, screen.bmBitsPixel);
            for (HBITMAP bitmap : {overlay, base, composed}) DeleteObject(bitmap);
        }
        DestroyWindow(control);
        DeleteObject(after);
    }
    DestroyWindow(grid);
}

}  // namespace
}  // namespace quiz
