#include "pictures/embedded_font.h"

#include "embedded.h"

// The font file's bytes (the file is named by the build: QUIZ_FONT_PATH).
QUIZPACK_EMBED(FontFile, QUIZ_FONT_PATH)

namespace quizpack {

const uint8_t* EmbeddedFont() { return reinterpret_cast<const uint8_t*>(FontFile().data()); }
size_t EmbeddedFontSize() { return FontFile().size(); }

}  // namespace quizpack
