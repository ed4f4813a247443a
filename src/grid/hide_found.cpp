#include "grid/hide_found.h"

namespace quiz {

namespace {

// A collapsed row gives back its pictures' room, and its hint labels' (65
// pixels) in the layouts that have them.
int CollapseAmount(const QuizState* state, int row) {
    return state->rowHeights[row] + (state->layoutType > 1 ? 65 : 0);
}

int RowOf(int k) {
    const int row = (k - 1) / 3;
    return row < kMaxRows ? row : kMaxRows - 1;
}

}  // namespace

bool QuestionIsHidden(const QuizState* state, int k) {
    if (k < 1 || k > kMaxQuestions) return false;
    return state->questionShown[k] == 1 || state->questionShown[k] == 2;
}

std::vector<QuestionMove> PlanHideFound(QuizState* state, bool checked) {
    std::vector<QuestionMove> moves;
    const int count = state->questionCount < kMaxQuestions ? state->questionCount : kMaxQuestions;
    if (checked) {
        int hidden = 0;
        const QuestionEntry* entry = state->firstQuestion;
        for (int k = 1; k <= count; ++k, entry = entry ? entry->next : nullptr) {
            const int row = RowOf(k);
            const int shown = state->questionShown[k];
            if (shown == 1) ++hidden;
            // The entry a walk from the head gives: the last one when the list is short.
            const QuestionEntry* question = entry ? entry : state->lastQuestion;
            if (question && question->found == 1 && shown == 0) {
                moves.push_back({RowAction::kHide, k, state->rowHeights[row], -1});
                ++hidden;
                state->questionShown[k] = 1;
            }
            if (k % 3 == 0) {
                // A collapsed row's third question holds 2: it never counts again.
                if (hidden == 3) {
                    const int amount = CollapseAmount(state, row);
                    for (int j = k + 1; j <= count; ++j)
                        moves.push_back({RowAction::kRaise, j, amount, -1});
                    state->gridHeight -= amount;
                    state->questionShown[k] = 2;
                }
                hidden = 0;
            }
        }
        return moves;
    }
    for (int k = 1; k <= count; ++k) {
        const int row = RowOf(k);
        const int shown = state->questionShown[k];
        if (shown == 1) moves.push_back({RowAction::kShow, k, state->rowHeights[row], +1});
        if (shown == 2) {
            moves.push_back({RowAction::kShowThird, k, state->rowHeights[row], +1});
            const int amount = CollapseAmount(state, row);
            state->gridHeight += amount;
            for (int j = k + 1; j <= count; ++j)
                moves.push_back({RowAction::kLower, j, amount, +1});
        }
        state->questionShown[k] = 0;
    }
    return moves;
}

}  // namespace quiz
