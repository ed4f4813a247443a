#include "answers/play_steps.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "answers/answer_compare.h"
#include "answers/answer_rules.h"
#include "answers/progress_file.h"
#include "grid/grid_layout.h"

namespace quiz {

namespace {

const char* AcceptedAnswer(const QuestionEntry* entry, int place) {
    if (!entry) return "";
    return place == 1 ? entry->answer1 : entry->answer2;
}

// Field a's text in stored form.
void StoredTextOf(const PlayBoard& board, int a, char* text) {
    board.fieldText(board.context, a, text);
    NormalizeTypedAnswer(text);
}

void RevealFound(const QuizState* state, const PlayBoard& board, const QuestionEntry* entry, int q) {
    switch (RevealOf(state->layoutType)) {
        case Reveal::kPicture: board.showPicture(board.context, q); break;
        case Reveal::kHint: board.revealHint(board.context, q); break;
        case Reveal::kHintThenPicture:
            board.revealHint(board.context, q);
            board.showPicture(board.context, q);
            break;
        case Reveal::kExtraText: board.showExtraText(board.context, q, entry->extraText); break;
        case Reveal::kNothing: break;
    }
}

bool ReadsBravo(const PlayBoard& board, int a) {
    char text[kTextSize];
    board.verdictText(board.context, a, text);
    return std::strcmp(text, kVerdictBravo) == 0;
}

// Layouts 4 and 8 wait for the whole quiz: at the last "BRAVO" every hint
// and every picture comes out at once.
void RevealAllWhenDone(QuizState* state, const PlayBoard& board) {
    for (int a = 1; a <= AnswerFieldCount(state); ++a)
        if (!ReadsBravo(board, a)) return;
    state->allFound = 1;
    for (int q = 0; q < state->questionCount; ++q) {
        board.revealHint(board.context, q);
        board.showPicture(board.context, q);
    }
}

}  // namespace

const char* VerdictFor(const QuizState* state, int a, const char* typed) {
    const FieldAnswer field = FieldAnswerOf(kAnswerFieldBase + a, state->answersPerQuestion);
    const QuestionEntry* entry = QuestionAt(state, field.question);
    // The hidden second field of a one-field question is always right.
    if (IsHiddenSecondAnswer(entry, field.place)) return kVerdictBravo;
    char stored[kTextSize] = {};
    std::strncpy(stored, typed, kTextSize - 1);
    NormalizeTypedAnswer(stored);
    return ChooseVerdict(AcceptedAnswer(entry, field.place), stored);
}

bool CheckField(QuizState* state, const PlayBoard& board, int a) {
    char shown[kTextSize] = {};
    board.verdictText(board.context, a, shown);
    const int perQuestion = state->answersPerQuestion;
    const int q = FieldAnswerOf(kAnswerFieldBase + a, perQuestion).question;
    QuestionEntry* entry = QuestionAt(state, q);

    char typed[kTextSize] = {};
    board.fieldText(board.context, a, typed);
    const char* verdict = VerdictFor(state, a, typed);
    if (std::strcmp(verdict, shown) == 0) return false;  // unchanged: nothing more to do
    board.setVerdict(board.context, a, verdict);

    if (std::strcmp(verdict, kVerdictBravo) != 0) {
        if (WrongAnswerHidesHint(state->layoutType)) board.hideHint(board.context, q);
        state->allFound = 0;
    } else {
        int right = 0;
        for (int k = 1; k <= perQuestion; ++k) {
            StoredTextOf(board, q * perQuestion + k, typed);
            right += FieldIsRight(entry, k, typed);
        }
        if (right >= perQuestion && entry) {
            entry->found = 1;  // never set back
            board.markFound(board.context, q);
            RevealFound(state, board, entry, q);
        }
    }
    if (RevealsAllAtTheEnd(state->layoutType) && state->allFound == 0) RevealAllWhenDone(state, board);
    return true;
}

void FillOpenFields(const QuizState* state, const PlayBoard& board, int a) {
    char text[kTextSize] = {};
    board.fieldText(board.context, a, text);
    for (int open = 1; open <= AnswerFieldCount(state); ++open)
        if (!ReadsBravo(board, open)) board.typeAndJudge(board.context, open, text);
}

StartingField StartingFieldOf(const QuizState* state, int a, const uint8_t* kept, size_t size, size_t* position) {
    StartingField field{};
    ReadProgressLine(kept, kept ? size : 0, position, field.text);
    const FieldAnswer place = FieldAnswerOf(kAnswerFieldBase + a, state->answersPerQuestion);
    field.hidden = state->answersPerQuestion == 2 && IsHiddenSecondAnswer(QuestionAt(state, place.question), place.place);
    if (field.hidden) std::snprintf(field.text, sizeof field.text, "-");
    return field;
}

ScoreTexts ScoreOf(const QuizState* state, const PlayBoard& board) {
    const int fields = AnswerFieldCount(state);
    std::vector<bool> bravo(size_t(fields > 0 ? fields : 0));
    for (int a = 1; a <= fields; ++a) bravo[size_t(a - 1)] = ReadsBravo(board, a);
    const int found = CountFoundQuestions(state->questionCount, state->answersPerQuestion, bravo);
    ScoreTexts texts{};
    FormatScore(found, state->questionCount, texts.score, sizeof texts.score);
    texts.code = CodeTextFor(state, found);
    return texts;
}

StartingHint StartingHintOf(const QuizState* state, const QuestionEntry* entry) {
    StartingHint hint{};
    hint.has = state->layoutType > 1;
    std::snprintf(hint.text, sizeof hint.text, "%s", entry ? entry->extraText : "");
    if (state->layoutType == 5 || state->layoutType == 7) {
        FormatWordCount(CountAnswerWords(entry ? entry->answer1 : ""), hint.text, kTextSize);
        hint.shown = true;
    }
    hint.shown = hint.shown || state->layoutType == 8;
    return hint;
}

}  // namespace quiz
