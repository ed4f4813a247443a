#include "answers/answer_check_win32.h"

#include <cstring>

#include "grid/grid_items_win32.h"
#include "answers/answer_compare.h"
#include "answers/answer_rules.h"
#include "answers/score_win32.h"
#include "grid/grid_layout.h"
#include "grid/hide_found.h"
#include "grid/question_pictures_win32.h"

namespace quiz {

namespace {

// A field's text in stored form.
void StoredTextOf(HWND grid, int fieldId, char* text) {
    GridItemText(grid, fieldId, text, kTextSize);
    NormalizeTypedAnswer(text);
}

const char* AcceptedAnswer(const QuestionEntry* entry, int place) {
    if (!entry) return "";
    return place == 1 ? entry->answer1 : entry->answer2;
}

void ShowHint(HWND grid, int q, int command) {
    ShowWindow(GridItem(grid, kHintLabelBase + 1 + q), command);
}

// A reveal never shows the hint of a question "Cacher" has hidden: it comes
// out with the rest of the question when the box is unchecked.
void RevealHint(const QuizState* state, HWND grid, int q) {
    if (!QuestionIsHidden(state, q + 1)) ShowHint(grid, q, SW_SHOWNORMAL);
}

void RevealFound(QuizState* state, HWND grid, const QuestionEntry* entry, int q) {
    const int k = q + 1;
    switch (RevealOf(state->layoutType)) {
        case Reveal::kPicture: ShowFoundPicture(state, grid, k); break;
        case Reveal::kHint: RevealHint(state, grid, q); break;
        case Reveal::kHintThenPicture:
            RevealHint(state, grid, q);
            ShowFoundPicture(state, grid, k);
            break;
        case Reveal::kExtraText:
            SetGridItemText(grid, kHintLabelBase + k, entry ? entry->extraText : "");
            break;
        case Reveal::kNothing: break;
    }
}

// Layouts 4 and 8 wait for the whole quiz: at the last "BRAVO" every hint
// and every picture comes out at once.
void RevealAllWhenDone(QuizState* state, HWND grid) {
    const int fields = AnswerFieldCount(state);
    int right = 0;
    char text[kTextSize];
    for (int i = 1; i <= fields; ++i) {
        GridItemText(grid, kResultLabelBase + i, text, 255);
        right += std::strcmp(text, kVerdictBravo) == 0;
    }
    if (right != fields) return;
    state->allFound = 1;
    for (int p = 1; p <= state->questionCount; ++p) {
        RevealHint(state, grid, p - 1);
        ShowFoundPicture(state, grid, p);
    }
}

}  // namespace

void CheckAnswerField(QuizState* state, HWND grid, int fieldId) {
    char shown[kTextSize] = {};
    GridItemText(grid, fieldId + kFieldToResultLabel, shown, 255);
    const int perQuestion = state->answersPerQuestion;
    const FieldAnswer field = FieldAnswerOf(fieldId, perQuestion);
    QuestionEntry* entry = QuestionAt(state, field.question);

    char typed[kTextSize];
    StoredTextOf(grid, fieldId, typed);
    // The hidden second field of a one-field question is always right.
    const char* verdict = IsHiddenSecondAnswer(entry, field.place)
                              ? kVerdictBravo
                              : ChooseVerdict(AcceptedAnswer(entry, field.place), typed);
    if (std::strcmp(verdict, shown) == 0) return;  // unchanged: nothing more to do
    SetGridItemText(grid, fieldId + kFieldToResultLabel, verdict);

    if (std::strcmp(verdict, kVerdictBravo) != 0) {
        if (WrongAnswerHidesHint(state->layoutType)) ShowHint(grid, field.question, SW_HIDE);
        state->allFound = 0;
    } else {
        int right = 0;
        for (int k = 1; k <= perQuestion; ++k) {
            const int id = kAnswerFieldBase + field.question * perQuestion + k;
            StoredTextOf(grid, id, typed);
            right += FieldIsRight(entry, k, typed);
        }
        if (right >= perQuestion && entry) {
            entry->found = 1;  // never set back
            RevealFound(state, grid, entry, field.question);
        }
    }
    if (RevealsAllAtTheEnd(state->layoutType) && state->allFound == 0) RevealAllWhenDone(state, grid);
    UpdateScore(state, grid);
}

}  // namespace quiz
