// The verdict step over a board that only writes down what it is told, so
// each case sees every effect of one check in the order it happens.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "answers/answer_compare.h"
#include "answers/play_steps.h"
#include "model/quiz_state.h"

namespace quiz {
namespace {

struct FakeBoard {
    std::vector<std::string> texts, verdicts;  // index a - 1
    std::string log;                           // every change, in order
};

FakeBoard& FakeOf(void* context) { return *static_cast<FakeBoard*>(context); }
// Notes "<what><n>" or "<what><n>=<text>".
void Note(void* context, const char* what, int n, const char* text = nullptr) {
    std::string& log = FakeOf(context).log;
    if (!log.empty()) log += ' ';
    log.append(what).append(std::to_string(n));
    if (text) log.append("=").append(text);
}
void Copy(const std::string& from, char* text) {
    std::strncpy(text, from.c_str(), kTextSize - 1);
    text[kTextSize - 1] = '\0';
}
void FieldText(void* c, int a, char* text) { Copy(FakeOf(c).texts.at(size_t(a - 1)), text); }
// A label the grid lacks reads empty, as a missing control does.
void VerdictText(void* c, int a, char* text) {
    const std::vector<std::string>& verdicts = FakeOf(c).verdicts;
    Copy(a >= 1 && a <= int(verdicts.size()) ? verdicts[size_t(a - 1)] : std::string(), text);
}
void SetVerdict(void* c, int a, const char* verdict) {
    FakeOf(c).verdicts.at(size_t(a - 1)) = verdict;
    Note(c, "v", a, verdict);
}
void MarkFound(void* c, int q) { Note(c, "found", q); }
void HideHint(void* c, int q) { Note(c, "hide", q); }
void RevealHint(void* c, int q) { Note(c, "hint", q); }
void ShowPicture(void* c, int q) { Note(c, "picture", q); }
void ShowExtraText(void* c, int q, const char* text) { Note(c, "extra", q, text); }
void TypeAndJudge(void* c, int a, const char* text) { Note(c, "type", a, text); }

PlayBoard BoardOf(FakeBoard* fake) {
    return {fake, FieldText, VerdictText, SetVerdict, MarkFound, HideHint, RevealHint, ShowPicture, ShowExtraText,
            TypeAndJudge};
}

// Answers as a player types them; the entry holds their stored form.
std::string Stored(const std::string& typed) {
    char text[kTextSize] = {};
    Copy(typed, text);
    NormalizeTypedAnswer(text);
    return text;
}

struct Case {
    const char* name;
    int layout, perQuestion;
    std::vector<std::string> answers;  // per question: answer1, and answer2 with two ("-": hidden)
    std::vector<std::string> texts, verdicts;
    int allFoundBefore, a;
    bool changed;
    const char* log;
    int allFoundAfter;
    std::vector<int> found;  // the entries' found, after
};

TEST(PlaySteps, OneCheckDoesWhatTheLayoutSays) {
    const std::string B = kVerdictBravo, F = kVerdictFaux, U = kVerdictUnknown;
    // name, layout, per question, answers, texts, verdicts before, allFound before, field a,
    // changed, log, allFound after, found after
    const std::vector<Case> cases = {
        {"right, layout 1: the picture", 1, 1, {"chat", "rat"}, {"Chat ", ""}, {U, U}, 0, 1,
         true, "v1=BRAVO found0 picture0", 0, {1, 0}},
        {"right, layout 2: the hint", 2, 1, {"chat", "rat"}, {"", "rat"}, {U, U}, 0, 2,
         true, "v2=BRAVO found1 hint1", 0, {0, 1}},
        {"right, layout 3: hint then picture", 3, 1, {"chat"}, {"chat"}, {U}, 0, 1,
         true, "v1=BRAVO found0 hint0 picture0", 0, {1}},
        {"right, layout 7: the extra text", 7, 1, {"chat"}, {"chat"}, {U}, 0, 1,
         true, "v1=BRAVO found0 extra0=Indice 1", 0, {1}},
        {"right, layouts 0 and 5 reveal nothing", 5, 1, {"chat"}, {"chat"}, {U}, 0, 1,
         true, "v1=BRAVO found0", 0, {1}},
        {"the same verdict again: nothing at all", 3, 1, {"chat"}, {"chat"}, {B}, 0, 1,
         false, "", 0, {0}},
        {"wrong, layout 3: the hint hides again", 3, 1, {"chat", "rat"}, {"bol", "rat"}, {B, B}, 1, 1,
         true, "v1=FAUX hide0", 0, {0, 0}},
        {"wrong, layouts 5, 7 and 8 keep their hints", 7, 1, {"chat"}, {"bol"}, {U}, 0, 1,
         true, "v1=FAUX", 0, {0}},
        {"the same wrong verdict: the hint stays", 3, 1, {"chat"}, {"bol"}, {F}, 0, 1,
         false, "", 0, {0}},
        {"two answers, one right: not found yet", 1, 2, {"chat", "rat"}, {"chat", "souris"}, {U, U}, 0, 1,
         true, "v1=BRAVO", 0, {0}},
        {"two answers, the second makes it found", 1, 2, {"chat", "rat"}, {"chat", "rat"}, {B, U}, 0, 2,
         true, "v2=BRAVO found0 picture0", 0, {1}},
        {"the hidden second answer is right whatever it holds", 1, 2, {"chat", "-"}, {"chat", "zut"}, {B, U}, 0, 2,
         true, "v2=BRAVO found0 picture0", 0, {1}},
        {"a right first answer counts the hidden second", 2, 2, {"chat", "-"}, {"chat", "-"}, {U, B}, 0, 1,
         true, "v1=BRAVO found0 hint0", 0, {1}},
        {"layout 4, the last BRAVO: everything comes out", 4, 1, {"chat", "rat"}, {"chat", "rat"}, {B, U}, 0, 2,
         true, "v2=BRAVO found1 hint0 picture0 hint1 picture1", 1, {0, 1}},
        {"layout 8, not the last: nothing yet", 8, 1, {"chat", "rat", "pie"}, {"chat", "rat", ""}, {U, U, U}, 0, 2,
         true, "v2=BRAVO found1", 0, {0, 1, 0}},
        {"layout 8, all right with two answers", 8, 2, {"chat", "-"}, {"chat", "-"}, {U, B}, 0, 1,
         true, "v1=BRAVO found0 hint0 picture0", 1, {1}},
        {"layout 4, all found already: a wrong answer undoes it", 4, 1, {"chat"}, {"bol"}, {B}, 1, 1,
         true, "v1=FAUX hide0", 0, {0}},
        {"layout 4, all found: the same verdict reveals nothing again", 4, 1, {"chat"}, {"chat"}, {B}, 1, 1,
         false, "", 1, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuizState state;
        QuizStateInit(&state);
        state.layoutType = c.layout;
        state.answersPerQuestion = c.perQuestion;
        state.allFound = c.allFoundBefore;
        state.questionCount = 0;
        for (size_t i = 0; i < c.answers.size(); i += size_t(c.perQuestion)) {
            const std::string second = c.perQuestion == 2 ? (c.answers[i + 1] == "-" ? "-" : Stored(c.answers[i + 1])) : "";
            ASSERT_TRUE(AddQuestion(&state, Stored(c.answers[i]).c_str(), second.c_str(), ""));
            std::snprintf(state.lastQuestion->extraText, kTextSize, "Indice %d", state.questionCount + 1);
            ++state.questionCount;
        }
        FakeBoard fake{c.texts, c.verdicts, ""};
        EXPECT_EQ(CheckField(&state, BoardOf(&fake), c.a), c.changed);
        EXPECT_EQ(fake.log, c.log);
        EXPECT_EQ(state.allFound, c.allFoundAfter);
        ASSERT_EQ(size_t(state.questionCount), c.found.size());
        for (int q = 0; q < state.questionCount; ++q) EXPECT_EQ(QuestionAt(&state, q)->found, c.found[size_t(q)]) << q;
        QuizStateReleaseQuestions(&state);
    }
}

TEST(PlaySteps, AVerdictIsOfTheStoredFormAndCutAsTheFieldWouldBe) {
    QuizState state;
    QuizStateInit(&state);
    state.answersPerQuestion = 2;
    state.questionCount = 2;
    ASSERT_TRUE(AddQuestion(&state, Stored("chat").c_str(), "-", ""));
    ASSERT_TRUE(AddQuestion(&state, Stored(std::string(259, 'a')).c_str(), Stored("rat").c_str(), ""));
    EXPECT_STREQ(VerdictFor(&state, 1, "  CHAT  "), kVerdictBravo);
    EXPECT_STREQ(VerdictFor(&state, 2, "anything"), kVerdictBravo);  // hidden second
    EXPECT_STREQ(VerdictFor(&state, 4, "rat"), kVerdictBravo);
    EXPECT_STRNE(VerdictFor(&state, 3, "rat"), kVerdictBravo);
    // Past 259 bytes a text is cut, as a field's text is read.
    EXPECT_STREQ(VerdictFor(&state, 3, std::string(300, 'a').c_str()), kVerdictBravo);
    QuizStateReleaseQuestions(&state);
}

// "Essayer partout" from field 2 types its text into every field not yet
// right, the first included; the kept lines go to their fields, the hidden
// second field gets "-" and its line is passed over all the same.
TEST(PlaySteps, TheFillSkipsRightFieldsAndTheKeptLinesKeepTheirPlaces) {
    const std::string B = kVerdictBravo, F = kVerdictFaux, U = kVerdictUnknown;
    QuizState state;
    QuizStateInit(&state);
    state.answersPerQuestion = 2;
    state.questionCount = 2;
    ASSERT_TRUE(AddQuestion(&state, Stored("chat").c_str(), "-", ""));
    ASSERT_TRUE(AddQuestion(&state, Stored("rat").c_str(), Stored("pie").c_str(), ""));
    FakeBoard fake{{"", "x", "pie", ""}, {F, B, U, B}, ""};
    FillOpenFields(&state, BoardOf(&fake), 3);
    EXPECT_EQ(fake.log, "type1=pie type3=pie");

    const std::string kept = "chat\r\nzut\r\nrat\r\n";
    size_t position = 0;
    std::vector<std::string> texts;
    std::vector<bool> hidden;
    for (int a = 1; a <= 4; ++a) {
        const StartingField field = StartingFieldOf(&state, a, reinterpret_cast<const uint8_t*>(kept.data()), kept.size(), &position);
        texts.push_back(field.text);
        hidden.push_back(field.hidden);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"chat", "-", "rat", ""}));
    EXPECT_EQ(hidden, (std::vector<bool>{false, true, false, false}));
    QuizStateReleaseQuestions(&state);
}

TEST(PlaySteps, TheScoreCountsQuestionsWhoseEveryLabelReadsBravo) {
    const std::string B = kVerdictBravo, F = kVerdictFaux, U = kVerdictUnknown;
    struct Score {
        const char* name;
        int perQuestion, questions;
        std::vector<std::string> verdicts;
        const char* score;
        const char* code;
    };
    // name, per question, questions, result labels, score, code
    const std::vector<Score> cases = {
        {"none found: six spaces", 1, 3, {U, F, U}, " 0 / 3", "      "},
        {"two of three", 1, 3, {B, F, B}, " 2 / 3", "L2"},
        {"two answers: both labels or nothing", 2, 3, {B, F, B, B, F, B}, " 1 / 3", "L1"},
        {"a label the grid lacks is not right", 1, 3, {B, B}, " 2 / 3", "L2"},
    };
    for (const Score& c : cases) {
        SCOPED_TRACE(c.name);
        QuizState state;
        QuizStateInit(&state);
        state.answersPerQuestion = c.perQuestion;
        state.questionCount = c.questions;
        for (int k = 0; k < c.questions; ++k) std::snprintf(state.questionLines[k], kTextSize, "L%d", k + 1);
        FakeBoard fake{std::vector<std::string>(c.verdicts.size()), c.verdicts, ""};
        const ScoreTexts texts = ScoreOf(&state, BoardOf(&fake));
        EXPECT_STREQ(texts.score, c.score);
        EXPECT_STREQ(texts.code, c.code);
        EXPECT_EQ(fake.log, "");  // counting changes nothing
    }
}

TEST(PlaySteps, EachLayoutStartsItsHintLabelsAsItSays) {
    struct Hint {
        int layout;
        bool has, shown;
        const char* text;
    };
    // layout, a hint label, shown at the start, its text
    const std::vector<Hint> cases = {
        {0, false, false, "Un indice"}, {1, false, false, "Un indice"}, {2, true, false, "Un indice"},
        {4, true, false, "Un indice"},  {5, true, true, "en 3 mots"},  {7, true, true, "en 3 mots"},
        {8, true, true, "Un indice"},
    };
    QuizState state;
    QuizStateInit(&state);
    ASSERT_TRUE(AddQuestion(&state, Stored("le chat-botte").c_str(), "", ""));
    std::snprintf(state.firstQuestion->extraText, kTextSize, "Un indice");
    for (const Hint& c : cases) {
        SCOPED_TRACE("layout " + std::to_string(c.layout));
        state.layoutType = c.layout;
        const StartingHint hint = StartingHintOf(&state, state.firstQuestion);
        EXPECT_EQ(hint.has, c.has);
        EXPECT_EQ(hint.shown, c.shown);
        EXPECT_STREQ(hint.text, c.text);
    }
    QuizStateReleaseQuestions(&state);
}

}  // namespace
}  // namespace quiz
