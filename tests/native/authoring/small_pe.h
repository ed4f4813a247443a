// A hand-built PE32+ for the PE writer's tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "exe/pe_resources.h"

namespace quizpack {

inline void Put(std::vector<uint8_t>* b, size_t at, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A small PE32+ for x86-64 as a linker lays it out: headers of 0x400 bytes,
// one code section at 0x1000, 16 data directories.
inline std::vector<uint8_t> SmallPe(uint16_t machine = 0x8664, uint16_t magic = 0x20B, uint32_t sizeOfHeaders = 0x400) {
    std::vector<uint8_t> b(0x600, 0);
    b[0] = 'M', b[1] = 'Z';
    Put(&b, 0x3C, 0x80, 4);
    std::memcpy(&b[0x80], "PE\0\0", 4);
    const size_t coff = 0x84, opt = coff + 20;
    Put(&b, coff, machine, 2);
    Put(&b, coff + 2, 1, 2);             // one section
    Put(&b, coff + 16, 112 + 16 * 8, 2);  // SizeOfOptionalHeader
    Put(&b, coff + 18, 0x22, 2);
    Put(&b, opt, magic, 2);
    Put(&b, opt + 4, 0x200, 4);           // SizeOfCode
    Put(&b, opt + 16, 0x1000, 4);         // entry point
    Put(&b, opt + 24, 0x140000000ull, 8); // ImageBase
    Put(&b, opt + 32, 0x1000, 4);
    Put(&b, opt + 36, 0x200, 4);
    Put(&b, opt + 40, 6, 2);              // subsystem version 6.0
    Put(&b, opt + 48, 6, 2);
    Put(&b, opt + 56, 0x2000, 4);         // SizeOfImage
    Put(&b, opt + 60, sizeOfHeaders, 4);
    Put(&b, opt + 68, 2, 2);              // GUI
    Put(&b, opt + 72, 0x100000, 8);
    Put(&b, opt + 80, 0x1000, 8);
    Put(&b, opt + 88, 0x100000, 8);
    Put(&b, opt + 96, 0x1000, 8);
    Put(&b, opt + 108, 16, 4);
    const size_t section = opt + 112 + 16 * 8;
    std::memcpy(&b[section], ".text\0\0\0", 8);
    Put(&b, section + 8, 1, 4);
    Put(&b, section + 12, 0x1000, 4);
    Put(&b, section + 16, 0x200, 4);
    Put(&b, section + 20, 0x400, 4);
    Put(&b, section + 36, 0x60000020, 4);
    b[0x400] = 0xC3;  // ret
    return b;
}

// A stub as quizpack finds the player's: the two dialog templates and a
// version block of its own, which the quiz's replaces. Its bytes never change.
inline std::vector<uint8_t> PlayerLikeStub() {
    std::vector<uint8_t> stub;
    std::string error;
    const std::vector<uint8_t> dialog(24, 0);
    WriteResources(SmallPe(),
                   {{ResourceId(5), ResourceId(1001), 1033, dialog},
                    {ResourceId(5), ResourceId(1002), 1033, dialog},
                    {ResourceId(16), ResourceId(1), 1033, {1, 2, 3}}},
                   &stub, &error);
    return stub;
}

}  // namespace quizpack
