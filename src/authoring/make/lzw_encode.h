// The encoder of the package records' LZW stream, for quiz authors and
// tests; the player only decodes (model/lzw.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/lzw.h"

namespace quiz {

// Writes the code stream the decoder reads back as `data`: first code at 9
// bits, code 257 just before a code that no longer fits, code 258 once the
// dictionary is full, never an entry past 4095. Empty data cannot be written
// (the stream always starts with a literal): returns false.
bool LzwEncode(const uint8_t* data, size_t length, std::vector<uint8_t>* stream);

}  // namespace quiz
