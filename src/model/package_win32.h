// The quiz package as the player finds it: the built-in record compiled into
// the program and the "PATCH" resources 104 and 105 of a module.
#pragma once

#include <windows.h>

#include "model/package.h"

namespace quiz {

// Loads the package of `module` (null: the program itself) into the state
// and, once record 104 is read, gives it its background brush. Returns the
// number of records parsed, as the portable loader does.
int LoadQuizPackage(QuizState* state, HMODULE module = nullptr);

}  // namespace quiz
