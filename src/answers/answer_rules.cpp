#include "answers/answer_rules.h"

#include <cstdio>
#include <cstring>

namespace quiz {

Reveal RevealOf(int layoutType) {
    switch (layoutType) {
        case 1:
        case 6: return Reveal::kPicture;
        case 2: return Reveal::kHint;
        case 3: return Reveal::kHintThenPicture;
        case 7: return Reveal::kExtraText;
        default: return Reveal::kNothing;
    }
}

bool WrongAnswerHidesHint(int layoutType) {
    return layoutType != 5 && layoutType != 7 && layoutType != 8;
}

bool RevealsAllAtTheEnd(int layoutType) { return layoutType == 4 || layoutType == 8; }

bool IsHiddenSecondAnswer(const QuestionEntry* entry, int place) {
    return entry && place == 2 && std::strcmp(entry->answer2, "-") == 0;
}

bool FieldIsRight(const QuestionEntry* entry, int place, const char* typedStored) {
    if (!entry || (place != 1 && place != 2)) return false;
    if (IsHiddenSecondAnswer(entry, place)) return true;
    return std::strcmp(typedStored, place == 1 ? entry->answer1 : entry->answer2) == 0;
}

FieldAnswer FieldAnswerOf(int fieldId, int answersPerQuestion) {
    if (answersPerQuestion == 2) return {(fieldId - 3999) / 2 - 1, fieldId % 2 == 1 ? 1 : 2};
    return {fieldId - 4001, 1};
}

int CountFoundQuestions(int questionCount, int answersPerQuestion,
                        const std::vector<bool>& bravo) {
    int found = 0;
    for (int p = 0; p < questionCount; ++p) {
        bool all = true;
        for (int k = 0; k < answersPerQuestion; ++k) {
            const size_t i = static_cast<size_t>(p) * answersPerQuestion + k;
            all = all && i < bravo.size() && bravo[i];
        }
        found += all;
    }
    return found;
}

void FormatScore(int found, int questionCount, char* out, int size) {
    std::snprintf(out, static_cast<size_t>(size), " %d / %d", found, questionCount);
}

const char* CodeTextFor(const QuizState* state, int found) {
    if (found <= 0) return "      ";
    if (found > kMaxQuestions) return "";
    return state->questionLines[found - 1];
}

FieldView FieldViewOf(const QuizState* state, int fieldId, int px, int py, int h, int v,
                      int gridWidth, int gridHeight) {
    const bool across = h <= px + 255 && px + 255 <= h + gridWidth - 15;
    const bool down = v <= py && py <= v + gridHeight - 15;
    // The row is found by dividing by the number of questions, not of answers
    // per question: kept so, as the grid has always scrolled.
    int row = state->questionCount > 0 ? (fieldId - 3999) / state->questionCount + 1 : 0;
    if (row < 0) row = 0;
    if (row >= kMaxRows) row = kMaxRows - 1;
    return {across && down, py - state->rowHeights[row] - 15, px - 255};
}

}  // namespace quiz
