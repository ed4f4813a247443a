#include "pictures/embedded_font.h"

// The font file's bytes, placed in read-only data by the assembler (the file
// is named by the build: QUIZ_FONT_PATH).
#if defined(_WIN32)
#define QUIZ_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#else
#define QUIZ_READ_ONLY_SECTION ".section .rodata\n"
#endif
__asm__(QUIZ_READ_ONLY_SECTION
        ".balign 16\n"
        ".globl quizpack_font_data\n"
        "quizpack_font_data:\n"
        ".incbin \"" QUIZ_FONT_PATH "\"\n"
        ".globl quizpack_font_end\n"
        "quizpack_font_end:\n"
        ".text\n");

extern "C" const uint8_t quizpack_font_data[];
extern "C" const uint8_t quizpack_font_end[];

namespace quizpack {

const uint8_t* EmbeddedFont() { return quizpack_font_data; }
size_t EmbeddedFontSize() { return static_cast<size_t>(quizpack_font_end - quizpack_font_data); }

}  // namespace quizpack
