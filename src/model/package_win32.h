// The quiz package as the player finds it: the "PATCH" resources 103 (the
// built-in record), 104 and 105 of a module.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "model/package.h"

namespace quiz {

struct ResourceBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;  // 0: missing
};

// The bytes of resource `id` of `type` in `module` (null: the program); a
// missing resource reads as no bytes. The bytes live as long as the module.
ResourceBytes FindResourceBytes(HMODULE module, int id, const char* type);

// Loads the package of `module` (null: the program itself) into the state
// and, once record 104 is read, gives it its background brush. Returns the
// number of records parsed, as the portable loader does.
int LoadQuizPackage(QuizState* state, HMODULE module = nullptr);

// Whether the module carries any record of a quiz: a player stub that
// quizpack has not made into a quiz's .exe carries none.
bool CarriesQuiz(HMODULE module = nullptr);

}  // namespace quiz
