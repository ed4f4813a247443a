// The hide-found mode: found questions hidden when "Cacher" is checked.
#pragma once

#include "model/quiz_state.h"

namespace quiz {

// Hides or shows the found questions as the header's check box says and
// brings the scroll ranges in line.
void ToggleHideFound(QuizState* state);

}  // namespace quiz
