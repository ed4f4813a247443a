// DejaVu Sans Bold travels inside quizpack, so that the word search draws the
// same letters on every machine, with no font to install.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quizpack {

const uint8_t* EmbeddedFont();
size_t EmbeddedFontSize();

}  // namespace quizpack
