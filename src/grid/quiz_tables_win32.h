// The tables read from a module's resources.
#pragma once

#include <windows.h>

#include "grid/quiz_tables.h"

namespace quiz {

// "TABLE" 1 and 2 of the module, missing ones read as empty.
QuizTables LoadQuizTables(HMODULE module);

}  // namespace quiz
