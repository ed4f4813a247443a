// The progress file: the answers typed so far, beside the program.
#pragma once

#include "model/quiz_state.h"

namespace quiz {

// Writes the answers of the grid's fields to the progress file.
void SaveProgress(QuizState* state);

}  // namespace quiz
