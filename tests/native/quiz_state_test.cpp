#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/quiz_state.h"

namespace quiz {
namespace {

struct StateFixture : ::testing::Test {
    QuizState state;
    void SetUp() override { QuizStateInit(&state); }
    void TearDown() override { QuizStateReleaseQuestions(&state); }
    void Add(const char* answer) { ASSERT_TRUE(AddQuestion(&state, answer, "", "")); }
};

TEST_F(StateFixture, FreshStateHoldsTheStartingValues) {
    EXPECT_STREQ(state.title, "nom du zarlo");
    EXPECT_STREQ(state.author, " createur");
    EXPECT_EQ(state.questionCount, 2);
    EXPECT_EQ(state.answersPerQuestion, 1);
    EXPECT_EQ(state.quizKind, 1);
    EXPECT_EQ(state.layoutType, 0);
    EXPECT_EQ(state.allFound, 0);
    EXPECT_EQ(state.backRed, 90);
    EXPECT_EQ(state.backGreen, 95);
    EXPECT_EQ(state.backBlue, 150);
    EXPECT_EQ(state.firstQuestion, nullptr);
    EXPECT_EQ(state.lastQuestion, nullptr);
    EXPECT_STREQ(state.linkText, "");
    EXPECT_STREQ(state.statusText, "");
    EXPECT_STREQ(state.subtitle, "");
    for (int k = 0; k <= kMaxQuestions; ++k) EXPECT_EQ(state.questionShown[k], 0) << k;
    for (int i = 0; i < kMaxQuestions; ++i) EXPECT_STREQ(state.questionLines[i], "") << i;
}

TEST_F(StateFixture, QuestionAtWalksAndStopsAtTheLastEntry) {
    EXPECT_EQ(QuestionAt(&state, 0), nullptr);
    Add("one");
    ASSERT_NE(QuestionAt(&state, 0), nullptr);
    EXPECT_STREQ(QuestionAt(&state, 0)->answer1, "one");
    EXPECT_EQ(QuestionAt(&state, 4), QuestionAt(&state, 0));
    Add("two");
    Add("three");
    EXPECT_STREQ(QuestionAt(&state, 1)->answer1, "two");
    EXPECT_STREQ(QuestionAt(&state, 5)->answer1, "three");
    EXPECT_EQ(QuestionListLength(&state), 3);
}

TEST_F(StateFixture, AddQuestionLinksBothWaysAndStartsUnfound) {
    ASSERT_TRUE(AddQuestion(&state, "A1", "A2", "spare"));
    Add("B");
    QuestionEntry* first = state.firstQuestion;
    QuestionEntry* last = state.lastQuestion;
    ASSERT_NE(first, last);
    EXPECT_EQ(first->previous, nullptr);
    EXPECT_EQ(first->next, last);
    EXPECT_EQ(last->previous, first);
    EXPECT_EQ(last->next, nullptr);
    EXPECT_STREQ(first->answer2, "A2");
    EXPECT_STREQ(first->spareText, "spare");
    EXPECT_STREQ(first->extraText, "");
    EXPECT_EQ(first->found, 0);
}

TEST_F(StateFixture, TextsLongerThanTheirArrayAreCut) {
    std::string longText(400, 'x');
    Add(longText.c_str());
    EXPECT_EQ(std::strlen(state.firstQuestion->answer1), 259u);
    char small[5];
    CopyText(small, sizeof small, "abcdefgh");
    EXPECT_STREQ(small, "abcd");
}

TEST_F(StateFixture, ReleasingQuestionsEmptiesTheList) {
    Add("a");
    Add("b");
    QuizStateReleaseQuestions(&state);
    EXPECT_EQ(state.firstQuestion, nullptr);
    EXPECT_EQ(state.lastQuestion, nullptr);
    EXPECT_EQ(QuestionAt(&state, 0), nullptr);
    Add("c");  // the list is usable again
    EXPECT_EQ(QuestionListLength(&state), 1);
}

TEST(CurrentQuizState, HoldsTheOneState) {
    QuizState state;
    QuizStateInit(&state);
    SetCurrentQuizState(&state);
    EXPECT_EQ(CurrentQuizState(), &state);
    SetCurrentQuizState(nullptr);
    EXPECT_EQ(CurrentQuizState(), nullptr);
}

}  // namespace
}  // namespace quiz
