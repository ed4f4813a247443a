// The quiz this build carries: the compiled tables and built-in record are the
// ones its source describes, and the records load without an alert.
#include <gtest/gtest.h>

#include <vector>

#include "grid/quiz_tables.h"
#include "model/builtin_record.h"
#include "model/package.h"
#include "quiz_source.h"
#include "test_support.h"
#include "text.h"

namespace quizpack {
namespace {

TEST(CarriedQuiz, TablesMatchTheSource) {
    QuizDefinition quiz;
    ASSERT_TRUE(ReadQuizSource(QUIZ_SOURCE_PATH, &quiz).empty());
    ASSERT_EQ(quiz::kQuizTableSize, static_cast<int>(quiz.questions.size()));
    for (int k = 1; k <= quiz::kQuizTableSize; ++k) {
        SCOPED_TRACE("question " + std::to_string(k));
        const QuestionDefinition& q = quiz.questions[k - 1];
        EXPECT_EQ(quiz::LetterCountOf(k), q.letters);
        quiz::AnswerPlace place{};
        ASSERT_EQ(quiz::AnswerPlaceOf(k, &place), q.hasOverlay);
        if (q.hasOverlay) {
            EXPECT_EQ(place.left, q.place[0]);
            EXPECT_EQ(place.top, q.place[1]);
            EXPECT_EQ(place.width, q.place[2]);
            EXPECT_EQ(place.height, q.place[3]);
        }
    }
    EXPECT_EQ(quiz::LetterCountOf(0), 2);
    EXPECT_EQ(quiz::LetterCountOf(quiz::kQuizTableSize + 1), 2);
    quiz::AnswerPlace none{};
    EXPECT_FALSE(quiz::AnswerPlaceOf(quiz::kQuizTableSize + 1, &none));
    EXPECT_FALSE(quiz::AnswerPlaceOf(-1, &none));
}

TEST(CarriedQuiz, RecordsLoadWithoutAnAlert) {
    std::vector<uint8_t> builtIn, r104, r105;
    ASSERT_TRUE(ReadFileBytes(QUIZ_BUILD_PATH "/builtin.bin", &builtIn));
    ASSERT_TRUE(ReadFileBytes(QUIZ_BUILD_PATH "/record104.bin", &r104));
    ASSERT_TRUE(ReadFileBytes(QUIZ_BUILD_PATH "/record105.bin", &r105));
    EXPECT_EQ(builtIn, std::vector<uint8_t>(quiz::kBuiltInRecord,
                                            quiz::kBuiltInRecord + quiz::kBuiltInRecordSize));
    QuizDefinition source;
    ASSERT_TRUE(ReadQuizSource(QUIZ_SOURCE_PATH, &source).empty());

    quiz::test::AlertCapture capture;
    quiz::QuizState state;
    quiz::QuizStateInit(&state);
    quiz::PackageRecords records;
    records.builtIn = {quiz::kBuiltInRecord, quiz::kBuiltInRecordSize};
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
