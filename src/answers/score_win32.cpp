#include "answers/score_win32.h"
#include "shell/startup_phases_win32.h"

#include <cstring>
#include <vector>

#include "grid/grid_items_win32.h"
#include "answers/answer_check_win32.h"
#include "answers/answer_compare.h"
#include "answers/answer_rules.h"
#include "grid/grid_layout.h"
#include "grid/hide_found_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/header_layout.h"

namespace quiz {

namespace {

bool g_held = false;
bool g_asked = false;

}  // namespace

void HoldScoreUpdates() {
    g_held = true;
    g_asked = false;
}

void ReleaseScoreUpdates(QuizState* state, HWND grid) {
    g_held = false;
    if (g_asked) UpdateScore(state, grid);
    g_asked = false;
}

void UpdateScore(QuizState* state, HWND grid) {
    if (g_held) {
        g_asked = true;
        return;
    }
    PhaseTimer timer(StartupPhase::kScoreUpdates);
    GridBoard controls{state, grid};
    const ScoreTexts texts = ScoreOf(state, GridPlayBoard(&controls));
    HWND header = AsWindow(state->headerDialog);
    SetDlgItemTextA(header, kScoreLabelId, texts.score);
    SetDlgItemTextA(header, kCodeFieldId, texts.code);
    ToggleHideFound(state);
}

void FillOpenFields(HWND field) {
    QuizState* state = CurrentQuizState();
    if (!state) return;
    GridBoard controls{state, GetParent(field)};
    FillOpenFields(state, GridPlayBoard(&controls), GetDlgCtrlID(field) - kAnswerFieldBase);
    SetFocus(field);  // the last field filled is judged as it loses the focus
}

}  // namespace quiz
