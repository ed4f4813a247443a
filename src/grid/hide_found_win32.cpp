#include "grid/hide_found_win32.h"

#include "grid/grid_items_win32.h"
#include "grid/grid_layout.h"
#include "grid/grid_scroll_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/header_layout.h"

namespace quiz {

namespace {

// Moves a control down by dy in its parent's current client coordinates,
// so that the move is right at any scroll position.
void MoveBy(HWND control, int dy) {
    if (!control) return;
    RECT rect;
    GetWindowRect(control, &rect);
    POINT corner = {rect.left, rect.top + dy};
    HWND parent = GetParent(control);
    if (parent && parent != GetDesktopWindow()) ScreenToClient(parent, &corner);
    SetWindowPos(control, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

void MoveQuestionRow(QuizState* state, RowAction action, int showCommand, HWND grid, int amount,
                     int sign, int k) {
    const int dy = amount * sign;
    HWND picture = GridItem(grid, kPictureBase + k);
    HWND hint = GridItem(grid, kHintLabelBase + k);
    if (action == RowAction::kRaise || action == RowAction::kLower) {
        MoveBy(picture, dy);
        MoveBy(hint, dy);
    } else {
        if (picture) ShowWindow(picture, showCommand);
        if (hint) ShowWindow(hint, showCommand);
    }
    const int perQuestion = state->answersPerQuestion;
    const int first = perQuestion == 2 ? 2 * k - 1 : k;
    for (int d = first; d < first + (perQuestion == 2 ? 2 : 1); ++d) {
        MoveBy(GridItem(grid, kAnswerFieldBase + d), dy);
        MoveBy(GridItem(grid, kResultLabelBase + d), dy);
    }
    MoveBy(GridItem(grid, kNumberLabelBase + k), dy);
}

void ToggleHideFound(QuizState* state) {
    HWND grid = AsWindow(state->gridDialog);
    const bool checked = SendDlgItemMessageA(AsWindow(state->headerDialog), kHideFoundId,
                                             BM_GETCHECK, 0, 0) == BST_CHECKED;
    for (const QuestionMove& move : PlanHideFound(state, checked)) {
        const bool shows = move.action == RowAction::kShow || move.action == RowAction::kShowThird ||
                           move.action == RowAction::kLower;
        MoveQuestionRow(state, move.action, shows ? SW_SHOWNORMAL : SW_HIDE, grid, move.amount,
                        move.sign, move.k);
    }
    ScrollGridAfterResize(state, grid);  // the same steps as a resize
}

}  // namespace quiz
