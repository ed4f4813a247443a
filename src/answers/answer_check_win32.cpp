#include "answers/answer_check_win32.h"

#include "answers/score_win32.h"
#include "grid/grid_items_win32.h"
#include "grid/grid_layout.h"
#include "grid/hide_found.h"
#include "grid/question_pictures_win32.h"

namespace quiz {

namespace {

GridBoard& GridOf(void* context) { return *static_cast<GridBoard*>(context); }

void FieldText(void* context, int a, char* text) {
    GridItemText(GridOf(context).grid, kAnswerFieldBase + a, text, kTextSize);
}

void VerdictText(void* context, int a, char* text) {
    GridItemText(GridOf(context).grid, kResultLabelBase + a, text, 255);
}

void SetVerdict(void* context, int a, const char* verdict) {
    SetGridItemText(GridOf(context).grid, kResultLabelBase + a, verdict);
}

void MarkFound(void*, int) {}  // the entry is the grid's only record of a find

void ShowHint(HWND grid, int q, int command) { ShowWindow(GridItem(grid, kHintLabelBase + 1 + q), command); }

void HideHint(void* context, int q) { ShowHint(GridOf(context).grid, q, SW_HIDE); }

// A reveal never shows the hint of a question "Cacher" has hidden: it comes
// out with the rest of the question when the box is unchecked.
void RevealHint(void* context, int q) {
    const GridBoard& board = GridOf(context);
    if (!QuestionIsHidden(board.state, q + 1)) ShowHint(board.grid, q, SW_SHOWNORMAL);
}

void ShowPicture(void* context, int q) { ShowFoundPicture(GridOf(context).state, GridOf(context).grid, q + 1); }

void ShowExtraText(void* context, int q, const char* text) {
    SetGridItemText(GridOf(context).grid, kHintLabelBase + q + 1, text);
}

// The field left is judged as it loses the focus: the fill's order is the
// focus's.
void TypeAndJudge(void* context, int a, const char* text) {
    HWND open = GridItem(GridOf(context).grid, kAnswerFieldBase + a);
    SetWindowTextA(open, text);
    SetFocus(open);
}

}  // namespace

PlayBoard GridPlayBoard(GridBoard* controls) {
    return {controls, FieldText, VerdictText, SetVerdict, MarkFound, HideHint, RevealHint, ShowPicture, ShowExtraText, TypeAndJudge};
}

void CheckAnswerField(QuizState* state, HWND grid, int fieldId) {
    GridBoard controls{state, grid};
    if (CheckField(state, GridPlayBoard(&controls), fieldId - kAnswerFieldBase)) UpdateScore(state, grid);
}

}  // namespace quiz
