// The 70-byte built-in record compiled into the player (made by quizpack
// build from the quiz source).
#pragma once

#include <cstdint>

#include "model/package.h"

namespace quiz {

extern const uint8_t kBuiltInRecord[kBuiltInRecordSize];

}  // namespace quiz
