// The rules of play: reveals by layout, the score, field scrolling and the
// hide-found walk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "answers/answer_rules.h"
#include "grid/hide_found.h"

namespace quiz {
namespace {

TEST(PlayRules, RevealsAndHintsByLayout) {
    const Reveal reveals[] = {Reveal::kNothing, Reveal::kPicture, Reveal::kHint,
                              Reveal::kHintThenPicture, Reveal::kNothing, Reveal::kNothing,
                              Reveal::kPicture, Reveal::kExtraText, Reveal::kNothing,
                              Reveal::kNothing, Reveal::kNothing};
    for (int layout = 0; layout <= 10; ++layout) {
        SCOPED_TRACE(layout);
        EXPECT_EQ(RevealOf(layout), reveals[layout]);
        EXPECT_EQ(WrongAnswerHidesHint(layout), layout != 5 && layout != 7 && layout != 8);
        EXPECT_EQ(RevealsAllAtTheEnd(layout), layout == 4 || layout == 8);
    }
    EXPECT_EQ(RevealOf(-1), Reveal::kNothing);
    QuestionEntry entry = {};
    entry.answer2[0] = '-';
    EXPECT_TRUE(IsHiddenSecondAnswer(&entry, 2));
    EXPECT_FALSE(IsHiddenSecondAnswer(&entry, 1));
    entry.answer2[1] = '-';
    EXPECT_FALSE(IsHiddenSecondAnswer(&entry, 2));
    EXPECT_EQ(FieldAnswerOf(4005, 2).question, 2);
    EXPECT_EQ(FieldAnswerOf(4005, 2).place, 1);
    EXPECT_EQ(FieldAnswerOf(4006, 2).place, 2);
    EXPECT_EQ(FieldAnswerOf(4003, 1).question, 2);
}

TEST(PlayRules, AFieldIsRightOnlyWhenEveryByteMatches) {
    QuestionEntry entry = {};
    CopyText(entry.answer1, kTextSize, "\x14\x01\x25");
    CopyText(entry.answer2, kTextSize, "-");
    struct Case {
        const char* typed;
        int place;
        bool right;
    } cases[] = {
        {"\x14\x01\x25", 1, true},
        {"\x14\x02\x25", 1, false},  // only a control byte differs
        {"\x14\x25", 1, false},       // a control byte left out
        {"\x14\x01\x25\x01", 1, false},
        {"", 1, false},
        {"anything", 2, true},          // the hidden second answer
        {"\x14\x01\x25", 3, false},    // no third answer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " @" + std::to_string(c.place));
        EXPECT_EQ(FieldIsRight(&entry, c.place, c.typed), c.right);
    }
    CopyText(entry.answer2, kTextSize, "\x01");
    EXPECT_FALSE(FieldIsRight(&entry, 2, "\x02"));
    EXPECT_FALSE(FieldIsRight(nullptr, 1, ""));
}

TEST(PlayRules, ScoreAndCodeText) {
    QuizState state;
    QuizStateInit(&state);
    CopyText(state.questionLines[0], kTextSize, "BR");
    CopyText(state.questionLines[95], kTextSize, "FIN");
    EXPECT_EQ(CountFoundQuestions(3, 1, {true, false, true}), 2);
    EXPECT_EQ(CountFoundQuestions(2, 2, {true, false, true, true}), 1);  // one of two is not found
    EXPECT_EQ(CountFoundQuestions(2, 2, {true, true, true}), 1);         // a missing label
    char score[32];
    FormatScore(0, 10, score, sizeof score);
    EXPECT_STREQ(score, " 0 / 10");
    EXPECT_STREQ(CodeTextFor(&state, 0), "      ");
    EXPECT_STREQ(CodeTextFor(&state, 1), "BR");
    EXPECT_STREQ(CodeTextFor(&state, 96), "FIN");
    EXPECT_STREQ(CodeTextFor(&state, 97), "");
}

TEST(PlayRules, AFieldScrollsIntoViewOnlyWhenHidden) {
    QuizState state;
    QuizStateInit(&state);
    state.questionCount = 21;
    state.rowHeights[1] = 505;
    struct Case {
        int px, py, h, v;
        bool visible;
    } cases[] = {
        {64, 520, 0, 0, true},
        {64, 571, 0, 0, true},      // the lowest visible top: v + 586 - 15
        {64, 572, 0, 0, false},
        {64, 10, 20, 11, false},    // above the view
        {-255, 0, 1, 0, false},     // left of the view
        {-255, 0, 0, 0, true},
        {660, 0, 0, 0, true},       // 660 + 255 = 0 + 930 - 15
        {661, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.px) + "," + std::to_string(c.py));
        const FieldView view = FieldViewOf(&state, 4001, c.px, c.py, c.h, c.v, 930, 586);
        EXPECT_EQ(view.visible, c.visible);
        EXPECT_EQ(view.vertical, c.py - 505 - 15);  // row (2 / 21) + 1
        EXPECT_EQ(view.horizontal, c.px - 255);
    }
}

struct Walk {
    std::vector<std::string> moves;  // "action k dy"
};

Walk Pass(QuizState* state, bool checked) {
    Walk walk;
    for (const QuestionMove& m : PlanHideFound(state, checked))
        walk.moves.push_back(std::to_string(static_cast<int>(m.action)) + " " + std::to_string(m.k) +
                             " " + std::to_string(m.amount * m.sign));
    return walk;
}

QuizState* Quiz(int questions, int layout, const std::vector<int>& found) {
    auto* state = new QuizState;
    QuizStateInit(state);
    state->questionCount = questions;
    state->layoutType = layout;
    state->gridHeight = 5000;
    for (int r = 0; r < kMaxRows; ++r) state->rowHeights[r] = 505;
    for (int k = 1; k <= questions; ++k) AddQuestion(state, "A", "", "");
    for (int k : found) QuestionAt(state, k - 1)->found = 1;
    return state;
}

void Drop(QuizState* state) {
    QuizStateReleaseQuestions(state);
    delete state;
}

TEST(HideFound, OneFoundRisesAndAFullRowCollapses) {
    QuizState* one = Quiz(5, 0, {2});
    EXPECT_EQ(Pass(one, true).moves, std::vector<std::string>{"1 2 -505"});
    EXPECT_EQ(one->gridHeight, 5000);
    EXPECT_TRUE(Pass(one, true).moves.empty());  // clicked again: nothing moves
    EXPECT_EQ(Pass(one, false).moves, std::vector<std::string>{"3 2 505"});
    EXPECT_EQ(one->questionShown[2], 0);
    Drop(one);

    // Hint labels exist above layout 1: their 65 pixels go with the row.
    for (int layout : {0, 1, 2, 5}) {
        SCOPED_TRACE(layout);
        const int m = layout > 1 ? 570 : 505;
        QuizState* row = Quiz(5, layout, {1, 2, 3});
        const std::string up = std::to_string(-m), down = std::to_string(m);
        EXPECT_EQ(Pass(row, true).moves,
                  (std::vector<std::string>{"1 1 -505", "1 2 -505", "1 3 -505", "2 4 " + up,
                                            "2 5 " + up}));
        EXPECT_EQ(row->gridHeight, 5000 - m);
        EXPECT_EQ(row->questionShown[3], 2);
        EXPECT_TRUE(Pass(row, true).moves.empty());  // a collapsed row never collapses twice
        EXPECT_EQ(Pass(row, false).moves,
                  (std::vector<std::string>{"3 1 505", "3 2 505", "4 3 505", "5 4 " + down,
                                            "5 5 " + down}));
        EXPECT_EQ(row->gridHeight, 5000);
        Drop(row);
    }
    QuizState* tail = Quiz(5, 0, {4, 5});  // a last row of two never collapses
    EXPECT_EQ(Pass(tail, true).moves, (std::vector<std::string>{"1 4 -505", "1 5 -505"}));
    EXPECT_EQ(tail->gridHeight, 5000);
    Drop(tail);
}

TEST(HideFound, AHiddenQuestionIsStateOneOrTwo) {
    QuizState* state = Quiz(6, 3, {1, 2, 3, 4});
    EXPECT_FALSE(QuestionIsHidden(state, 1));
    Pass(state, true);  // row 1 collapsed (3 holds 2), 4 hidden (1), 5 and 6 shown
    const bool hidden[] = {false, true, true, true, true, false, false};
    for (int k = 0; k <= 6; ++k) EXPECT_EQ(QuestionIsHidden(state, k), hidden[k]) << k;
    state->questionShown[5] = 3;  // no such state
    EXPECT_FALSE(QuestionIsHidden(state, 5));
    EXPECT_FALSE(QuestionIsHidden(state, kMaxQuestions + 1));
    Pass(state, false);
    for (int k = 1; k <= 4; ++k) EXPECT_FALSE(QuestionIsHidden(state, k)) << k;
    Drop(state);
}

TEST(HideFound, CollapsesAddUpBelowTwoRows) {
    QuizState* state = Quiz(7, 0, {1, 2, 3});
    Pass(state, true);
    for (int k : {4, 5, 6}) QuestionAt(state, k - 1)->found = 1;
    const Walk walk = Pass(state, true);
    EXPECT_EQ(walk.moves.back(), "2 7 -505");
    EXPECT_EQ(state->gridHeight, 5000 - 2 * 505);
    EXPECT_EQ(Pass(state, false).moves.size(), 6u + 4u + 1u);  // shows, then lowers by each row
    EXPECT_EQ(state->gridHeight, 5000);
    Drop(state);
}

}  // namespace
}  // namespace quiz
