// The quiz this build carries: the tables the player reads from its build
// files are the ones its source describes, and the records load without an
// alert.
#include <gtest/gtest.h>

#include <vector>

#include "grid/quiz_tables.h"
#include "model/package.h"
#include "stages.h"
#include "test_support.h"
#include "text/text.h"

namespace quizpack {
namespace {

TEST(CarriedQuiz, TablesMatchTheSource) {
    QuizDefinition quiz;
    ASSERT_TRUE(ReadQuizSource(QUIZ_SOURCE_PATH, &quiz).empty());
    std::vector<uint8_t> letterBytes, placeBytes;
    ASSERT_TRUE(ReadFileBytes(QUIZ_BUILD_PATH "/letter_counts.bin", &letterBytes));
    ASSERT_TRUE(ReadFileBytes(QUIZ_BUILD_PATH "/answer_places.bin", &placeBytes));
    const quiz::QuizTables tables = quiz::ReadQuizTables(letterBytes.data(), letterBytes.size(),
                                                         placeBytes.data(), placeBytes.size());
    const int size = static_cast<int>(quiz.questions.size());
    ASSERT_EQ(static_cast<int>(tables.letterCounts.size()), size);
    ASSERT_EQ(static_cast<int>(tables.answerPlaces.size()), size);
    for (int k = 1; k <= size; ++k) {
        SCOPED_TRACE("question " + std::to_string(k));
        const QuestionDefinition& q = quiz.questions[k - 1];
        EXPECT_EQ(quiz::LetterCountOf(tables, k), q.letters);
        quiz::AnswerPlace place{};
        ASSERT_EQ(quiz::AnswerPlaceOf(tables, k, &place), q.hasOverlay);
        if (q.hasOverlay) {
            EXPECT_EQ(place.left, q.place[0]);
            EXPECT_EQ(place.top, q.place[1]);
            EXPECT_EQ(place.width, q.place[2]);
            EXPECT_EQ(place.height, q.place[3]);
        }
    }
    EXPECT_EQ(quiz::LetterCountOf(tables, 0), 2);
    EXPECT_EQ(quiz::LetterCountOf(tables, size + 1), 2);
    quiz::AnswerPlace none{};
    EXPECT_FALSE(quiz::AnswerPlaceOf(tables, size + 1, &none));
    EXPECT_FALSE(quiz::AnswerPlaceOf(tables, -1, &none));
}

TEST(CarriedQuiz, RecordsLoadWithoutAnAlert) {
    std::vector<uint8_t> builtIn, r104, r105;
    ASSERT_TRUE(ReadFileBytes(QUIZ_BUILD_PATH "/builtin.bin", &builtIn));
    ASSERT_TRUE(ReadFileBytes(QUIZ_BUILD_PATH "/record104.bin", &r104));
    ASSERT_TRUE(ReadFileBytes(QUIZ_BUILD_PATH "/record105.bin", &r105));
    EXPECT_EQ(builtIn.size(), quiz::kBuiltInRecordSize);
    QuizDefinition source;
    ASSERT_TRUE(ReadQuizSource(QUIZ_SOURCE_PATH, &source).empty());

    quiz::test::AlertCapture capture;
    quiz::QuizState state;
    quiz::QuizStateInit(&state);
    quiz::PackageRecords records;
    records.builtIn = {builtIn.data(), builtIn.size()};
    records.record104 = {r104.data(), r104.size()};
    records.record105 = {r105.data(), r105.size()};
    EXPECT_EQ(quiz::LoadQuizPackage(&state, records), 3);
    EXPECT_TRUE(capture.alerts().empty());
    EXPECT_EQ(state.questionCount, static_cast<int>(source.questions.size()));
    EXPECT_EQ(std::string(state.title), source.package.title);
    EXPECT_EQ(std::string(state.statusText), source.package.statusText);
    quiz::QuizStateReleaseQuestions(&state);
}

}  // namespace
}  // namespace quizpack
