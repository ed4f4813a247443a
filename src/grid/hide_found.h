// The hide-found walk, portable: which questions move, how and by how much
// when "Cacher" is checked or unchecked. It updates questionShown and
// gridHeight; the Win32 half carries out the moves in order.
#pragma once

#include <vector>

#include "model/quiz_state.h"

namespace quiz {

enum class RowAction {
    kHide = 1,         // picture and hint hidden, the rest raised
    kRaise = 2,        // below a collapsed row: everything raised
    kShow = 3,         // picture and hint shown, the rest lowered
    kShowThird = 4,    // the same, for the third question of a collapsed row
    kLower = 5,        // below a row opened again: everything lowered
};

struct QuestionMove {
    RowAction action;
    int k;       // question number, from 1
    int amount;  // pixels, positive
    int sign;    // -1 up, +1 down
};

// Whether question k (from 1) is hidden by "Cacher" (state 1 or 2): nothing
// of it may be shown until the show branch brings it back.
bool QuestionIsHidden(const QuizState* state, int k);

// One pass over every question: the hide branch when `checked`, else the
// show branch. Reads `found` of each entry and rowHeights.
std::vector<QuestionMove> PlanHideFound(QuizState* state, bool checked);

}  // namespace quiz
