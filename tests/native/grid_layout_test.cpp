// The grid's and the header's arithmetic: ids, geometry, the row layout of a
// build, word counts, label colours, scroll requests and progress lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "answers/progress_file.h"
#include "grid/grid_layout.h"
#include "grid/grid_scroll.h"
#include "model/stored_form.h"
#include "shell/header_layout.h"

namespace quiz {
namespace {

struct Rows {
    int tops[kMaxRows];
    int answerTops[kMaxRows];
};

// Lays out `count` questions whose pictures are all `height` high, as the
// build does, and returns each row's top and answer top.
Rows LayOut(QuizState* state, int count, int height) {
    Rows rows = {};
    GridRowCursor cursor;
    GridStartRows(state, &cursor);
    const int heights[3] = {height, height, height};
    for (int k = 1; k <= count; ++k) {
        if (GridBeginQuestion(state, &cursor, k)) GridSetRowPictures(state, &cursor, heights);
        rows.tops[(k - 1) / 3] = cursor.rowTop;
        rows.answerTops[(k - 1) / 3] = cursor.answerTop;
        GridEndQuestion(state, &cursor, k);
    }
    GridFinish(state);
    return rows;
}

TEST(GridLayout, RowsAndExtentsOfABuild) {
    struct Case {
        int layout, perQuestion, count, height;
        int top2, answerTop1, width, gridHeight;
    } cases[] = {
        // layout, answers, questions, picture height -> second row, T, extent
        {0, 1, 5, 505, 580, 520, 1660, 1155},
        {5, 1, 5, 505, 660, 520, 1660, 1315},
        {1, 2, 4, 505, 580, 520, 1720, 1155},
        {0, 1, 2, 0, 0, 15, 1660, 75},  // no puzzle picture: T is 10 below the top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("layout " + std::to_string(c.layout) + ", height " + std::to_string(c.height));
        QuizState state;
        QuizStateInit(&state);
        state.layoutType = c.layout;
        state.answersPerQuestion = c.perQuestion;
        Rows rows = LayOut(&state, c.count, c.height);
        EXPECT_EQ(rows.tops[0], 5);
        if (c.count > 3) {
            EXPECT_EQ(rows.tops[1], c.top2);
        }
        EXPECT_EQ(rows.answerTops[0], c.answerTop1);
        EXPECT_EQ(state.gridWidth, c.width);
        EXPECT_EQ(state.gridHeight, c.gridHeight);
        EXPECT_EQ(state.rowHeights[0], c.height);
    }
    QuizState state;
    QuizStateInit(&state);
    state.quizKind = 2;  // no rows at all: only the margin
    GridRowCursor cursor;
    GridStartRows(&state, &cursor);
    state.answersPerQuestion = 2;
    GridFinish(&state);
    EXPECT_EQ(state.gridWidth, 80);
    EXPECT_EQ(state.gridHeight, 0);
}

TEST(GridLayout, RowHeightsKeepTheProvisional510OfAnUnstartedRow) {
    QuizState state;
    QuizStateInit(&state);
    LayOut(&state, 5, 300);
    EXPECT_EQ(state.rowHeights[0], 300);
    EXPECT_EQ(state.rowHeights[1], 300);
    EXPECT_EQ(state.rowHeights[2], 510);  // written by questions 4 and 5
    QuizState full;
    QuizStateInit(&full);
    LayOut(&full, 96, 505);  // 32 rows: every store stays inside the table
    EXPECT_EQ(full.rowHeights[31], 505);
}

TEST(GridLayout, BlocksAndControlsOfAQuestion) {
    EXPECT_EQ(BlockLeft(3, 1), 1126);
    EXPECT_EQ(BlockLeft(3, 2), 1186);
    EXPECT_EQ(BlockLeft(4, 1), 46);
    EXPECT_EQ(AnswerNumber(3, 2, 2), 6);
    EXPECT_EQ(QuestionOfAnswer(6, 2), 3);
    EXPECT_EQ(PlaceOfAnswer(5, 2), 1);
    const PixelRect picture = PictureRect(46, 5, 505, 459, 505);
    EXPECT_EQ(picture.x, 71);
    EXPECT_EQ(picture.y, 5);
    const PixelRect odd = PictureRect(46, 5, 505, 458, 500);  // halves truncate
    EXPECT_EQ(odd.x, 72);
    EXPECT_EQ(odd.y, 7);
    EXPECT_EQ(ResultLabelRect(46, 520, 1, 1).y, 539);  // overlaps the field's last row
    EXPECT_EQ(AnswerFieldRect(1186, 520, 2, 2).y, 539);
    EXPECT_EQ(ResultLabelRect(1186, 520, 2, 2).x, 1636);
    EXPECT_EQ(AnswerCaptionRect(520, 2).x, 3);
}

std::string Stored(const char* text) {
    char buffer[kTextSize];
    CopyText(buffer, kTextSize, text);
    TransformAnswerText(buffer);
    return buffer;
}

TEST(GridLayout, WordCountsOfStoredAnswers) {
    struct Case {
        const char* answer;
        int words;
        const char* label;
    } cases[] = {
        {"POMME", 1, "en 1 mot"},
        {"NEW YORK", 2, "en 2 mots"},
        {"PIED-DE-BICHE", 3, "en 3 mots"},
        {"L'ABRICOT SEC", 3, "en 3 mots"},
        {"A! B", 1, "en 1 mot"},    // '!' hides the space after it
        {"A!", 1, "en 1 mot"},      // and the end right after it still ends the walk
        {"", 1, "en 1 mot"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const int words = CountAnswerWords(Stored(c.answer).c_str());
        EXPECT_EQ(words, c.words);
        char label[32];
        FormatWordCount(words, label, sizeof label);
        EXPECT_STREQ(label, c.label);
    }
    EXPECT_EQ(CountAnswerWords("A B"), 1);  // a raw space is not a stored separator
}

TEST(GridLayout, LabelPaintByIdAndVerdict) {
    QuizState state;
    QuizStateInit(&state);
    state.questionCount = 5;
    struct Case {
        int red, green, blue, id;
        const char* text;
        LabelBrush brush;
        bool transparent;
        uint32_t colour;
    } cases[] = {
        {70, 0, 0, 2001, "", LabelBrush::kBack, true, 0x000000},
        {69, 69, 255, 2001, "", LabelBrush::kBack, true, 0xFFFFFF},
        {0, 70, 0, 8005, "", LabelBrush::kBack, true, 0x000000},
        {0, 0, 0, 156, "", LabelBrush::kBack, true, 0xFFFFFF},
        {0, 0, 0, 2245, "", LabelBrush::kBack, true, 0xFFFFFF},  // 2240 + N
        {0, 0, 0, 2246, "", LabelBrush::kNone, false, 0},
        {0, 0, 0, 8006, "", LabelBrush::kNone, false, 0},
        {0, 0, 0, 5001, "Presque", LabelBrush::kAmber, false, 0},
        {0, 0, 0, 5005, "Anagramme", LabelBrush::kOrange, false, 0},
        {0, 0, 0, 5002, "BRAVO", LabelBrush::kGreen, false, 0},
        {0, 0, 0, 5003, "FAUX", LabelBrush::kRed, false, 0},
        {0, 0, 0, 5004, "?", LabelBrush::kNone, false, 0},
        {0, 0, 0, 5006, "BRAVO", LabelBrush::kNone, false, 0},  // beyond the fields
        {0, 0, 0, 9901, "", LabelBrush::kNone, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id) + " " + c.text + " red " + std::to_string(c.red));
        state.backRed = c.red;
        state.backGreen = c.green;
        state.backBlue = c.blue;
        const LabelPaint paint = ChooseGridLabelPaint(&state, c.id, c.text);
        EXPECT_EQ(paint.brush, c.brush);
        EXPECT_EQ(paint.transparentText, c.transparent);
        if (c.transparent) {
            EXPECT_EQ(paint.textColour, c.colour);
        }
    }
}

TEST(GridScroll, RangesAndRequests) {
    const AxisRange h = ComputeAxisRange(1660, 1000), v = ComputeAxisRange(1155, 800);
    EXPECT_EQ(h.nMax, 1658);
    EXPECT_EQ(h.nPage, 999);
    EXPECT_EQ(v.nMax, 1153);
    EXPECT_EQ(v.nPage, 799);
    EXPECT_FALSE(v.resetPosition);
    const AxisRange fits = ComputeAxisRange(800, 800), larger = ComputeAxisRange(801, 800);
    EXPECT_TRUE(fits.resetPosition);
    EXPECT_EQ(fits.nPage, 799);
    EXPECT_FALSE(larger.resetPosition);

    const ScrollBarState bar = {0, 1153, 799, 100, 300};
    struct Case {
        int request, vertical, horizontal;
    } cases[] = {
        {0, 0, 99},      {1, 660, 101},  {2, 0, 0},        {3, 899, 899}, {4, 100, 100},
        {5, 300, 300},   {6, 0, 100},    {7, 1153, 100},   {8, 100, 100}, {500, 150, 100},
        {501, 50, 100},  {9, 100, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("request " + std::to_string(c.request));
        EXPECT_EQ(VerticalScrollTarget(c.request, bar), c.vertical);
        EXPECT_EQ(HorizontalScrollTarget(c.request, bar), c.horizontal);
    }
    const ScrollBarState bottom = {0, 1153, 799, 1153, 0};
    EXPECT_EQ(VerticalScrollTarget(1, bottom), 1153);  // clamped to nMax
    EXPECT_EQ(HorizontalScrollTarget(3, bottom), 1153);

    EXPECT_EQ(WheelScrollCode(120u << 16), kWheelUpCode);
    EXPECT_EQ(WheelScrollCode(65416u << 16 | 0x8), kWheelDownCode);  // key flags don't count
    EXPECT_EQ(WheelScrollCode(60u << 16), 0);
    EXPECT_EQ(WheelScrollCode(240u << 16), 0);
    EXPECT_EQ(WheelScrollCode(65296u << 16), 0);  // -240
}

TEST(ProgressFile, LinesReachTheirFields) {
    const std::string hundred(100, 'x');
    struct Case {
        const char* name;
        std::string data;
        std::string lines[3];
    } cases[] = {
        {"three lines", "A\r\nROME\r\n\r\n", {"A", "ROME", ""}},
        {"fewer lines than fields", "A\r\n", {"A", "", ""}},
        {"a 100-byte line keeps 85", hundred + "\r\nB\r\n", {std::string(85, 'x'), "B", ""}},
        {"LF alone runs on", "A\nB\r\nC\r\n", {"A\nB", "C", ""}},
        {"CR alone skips to the next LF", "A\rB\r\nC\r\n", {"A", "C", ""}},
        {"no final line end", "A\r\nB", {"A", "B", ""}},
        {"85 bytes exactly", std::string(85, 'y') + "\r\nZ\r\n", {std::string(85, 'y'), "Z", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto* data = reinterpret_cast<const uint8_t*>(c.data.data());
        size_t position = 0;
        for (const std::string& expected : c.lines) {
            char text[kAnswerFieldLimit + 1];
            std::memset(text, '#', sizeof text);
            ReadProgressLine(data, c.data.size(), &position, text);
            EXPECT_EQ(std::string(text), expected);
            EXPECT_LE(position, c.data.size());
        }
    }
    char name[kTextSize];
    ProgressFileName("jeu.exe", name, sizeof name);
    EXPECT_STREQ(name, "jeu.txt");
    ProgressFileName("JEU.EXE", name, sizeof name);
    EXPECT_STREQ(name, "JEU.txt");
    ProgressFileName("ab", name, sizeof name);
    EXPECT_STREQ(name, "txt");
}

TEST(ProgressFile, AFailedSaveSaysWhereAndWhy) {
    const std::string lead = "Les r\xE9ponses n'ont pas pu \xEAtre enregistr\xE9" "es dans ";
    const std::string ask = "\r\n\r\nFermer quand m\xEAme ? Les r\xE9ponses tap\xE9" "es depuis "
                            "le dernier enregistrement seront perdues.";
    struct Case {
        const char* reason;
        bool closing;
        std::string text;
    } cases[] = {
        {"Acc\xE8s refus\xE9.\r\n", false, lead + "\xAB C:\\jeu\\fruits.txt \xBB :\r\nAcc\xE8s refus\xE9."},
        {"Disque plein  \r\n\r\n", true, lead + "\xAB C:\\jeu\\fruits.txt \xBB :\r\nDisque plein" + ask},
        {"\r\n", false, lead + "\xAB C:\\jeu\\fruits.txt \xBB :\r\nraison inconnue"},
        {"", true, lead + "\xAB C:\\jeu\\fruits.txt \xBB :\r\nraison inconnue" + ask},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        char text[1200];
        FormatSaveFailure("C:\\jeu\\fruits.txt", c.reason, c.closing, text, sizeof text);
        EXPECT_EQ(std::string(text), c.text);
    }
    // A path and a reason of 259 bytes each, into a short buffer: cut, never overrun.
    const std::string path(259, 'p'), reason(259, 'r');
    char small[64];
    std::memset(small, '#', sizeof small);
    FormatSaveFailure(path.c_str(), reason.c_str(), true, small, 40);
    EXPECT_EQ(std::strlen(small), 39u);
    EXPECT_EQ(small[40], '#');
}

TEST(HeaderLayout, RightBlockFollowsTheEdge) {
    HeaderMove moves[8];
    ASSERT_EQ(HeaderLayout(700, 1, moves), 8);
    EXPECT_EQ(moves[0].id, 29);
    EXPECT_EQ(moves[0].width, 350);   // title
    EXPECT_EQ(moves[5].width, 376);   // subtitle
    EXPECT_EQ(moves[1].x, 566);       // link
    EXPECT_EQ(moves[7].id, kHideFoundId);
    EXPECT_EQ(moves[7].x, 496);
    ASSERT_EQ(HeaderLayout(350, 2, moves), 7);  // no check box to move
    EXPECT_EQ(moves[0].width, 0);
    EXPECT_EQ(moves[6].id, 122);
    const int invalidated[] = {26, 27, 28, 122};
    for (int i = 0; i < 7; ++i) {
        const HeaderMove& m = moves[i];
        const bool expected = std::find(std::begin(invalidated), std::end(invalidated), m.id) !=
                              std::end(invalidated);
        EXPECT_EQ(m.invalidate, expected) << m.id;
    }
    EXPECT_TRUE(ChooseHeaderPaint(20).onHeaderBrush);
    EXPECT_TRUE(ChooseHeaderPaint(33).onHeaderBrush);
    EXPECT_FALSE(ChooseHeaderPaint(19).onHeaderBrush);
    EXPECT_FALSE(ChooseHeaderPaint(34).onHeaderBrush);
    EXPECT_FALSE(ChooseHeaderPaint(120).onHeaderBrush);
    EXPECT_TRUE(ChooseHeaderPaint(24).linkColour);
    EXPECT_FALSE(ChooseHeaderPaint(25).linkColour);
}

}  // namespace
}  // namespace quiz
