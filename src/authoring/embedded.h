// Files the build places inside quizpack, in read-only data: the assembler
// includes them whole (.incbin), so that quizpack needs nothing beside it.
#pragma once

#include <cstdint>
#include <string_view>

#if defined(__EMSCRIPTEN__)
// In a browser the page that loads the library hands these files over as it
// starts (the assembler there has no .incbin): NAME() views the one handed
// over under "NAME", empty until then.
namespace quizpack {
std::string_view HandedOver(std::string_view name);
}
#define QUIZPACK_EMBED(name, path) \
    static std::string_view name() { return quizpack::HandedOver(#name); }
#else

#if defined(_WIN32)
#define QUIZPACK_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#else
#define QUIZPACK_READ_ONLY_SECTION ".section .rodata\n"
#endif

// Defines quizpack_NAME_data and quizpack_NAME_end around the file at PATH
// (a string literal the build gives), and a function NAME() that views it.
#define QUIZPACK_EMBED(name, path)                                                           \
    __asm__(QUIZPACK_READ_ONLY_SECTION ".balign 16\n"                                      \
            ".globl quizpack_" #name "_data\n"                                             \
            "quizpack_" #name "_data:\n"                                                   \
            ".incbin \"" path "\"\n"                                                       \
            ".globl quizpack_" #name "_end\n"                                              \
            "quizpack_" #name "_end:\n"                                                    \
            ".text\n");                                                                    \
    extern "C" const uint8_t quizpack_##name##_data[];                                     \
    extern "C" const uint8_t quizpack_##name##_end[];                                      \
    static std::string_view name() {                                                       \
        return {reinterpret_cast<const char*>(quizpack_##name##_data),                     \
                static_cast<size_t>(quizpack_##name##_end - quizpack_##name##_data)};      \
    }

#endif
