// The player stub, carried inside quizpack.exe: its bytes placed in read-only
// data by the assembler (the file is named by the build: QUIZ_STUB_PATH).
#include "windows_edge.h"

__asm__(".section .rdata,\"dr\"\n"
        ".balign 16\n"
        ".globl quizpack_stub_data\n"
        "quizpack_stub_data:\n"
        ".incbin \"" QUIZ_STUB_PATH "\"\n"
        ".globl quizpack_stub_end\n"
        "quizpack_stub_end:\n"
        ".text\n");

extern "C" const uint8_t quizpack_stub_data[];
extern "C" const uint8_t quizpack_stub_end[];

namespace quizpack {

std::vector<uint8_t> EmbeddedStub() { return {quizpack_stub_data, quizpack_stub_end}; }

}  // namespace quizpack
