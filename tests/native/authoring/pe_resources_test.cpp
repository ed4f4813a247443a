#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "exe/pe_resources.h"
#include "small_pe.h"
#include "text/text.h"

namespace quizpack {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string Describe(const std::vector<Resource>& list) {
    std::ostringstream out;
    for (const Resource& r : list) {
        for (const ResourceKey* k : {&r.type, &r.name}) {
            if (k->named)
                for (char16_t c : k->name) out << static_cast<char>(c);
            else
                out << k->id;
            out << " ";
        }
        out << r.language << " " << std::string(r.data.begin(), r.data.end()) << "\n";
    }
    return out.str();
}

TEST(PeResources, WrittenResourcesReadBackAndMergeWithTheStubs) {
    const std::vector<Resource> first = {
        {ResourceName("PATCH"), ResourceId(105), 1033, Bytes("record 105")},
        {ResourceId(10), ResourceId(400), 1033, Bytes("the puzzle")},
        {ResourceName("patch"), ResourceId(104), 1033, Bytes("record 104")},
        {ResourceName("IMG"), ResourceName("Grille"), 1036, Bytes("")},
    };
    std::vector<uint8_t> exe, again, merged;
    std::string error;
    ASSERT_TRUE(WriteResources(SmallPe(), first, &exe, &error)) << error;
    std::vector<Resource> back;
    ASSERT_TRUE(ReadResources(exe, &back, &error)) << error;
    // Named types first, in order, then numbered ones; names upper case.
    EXPECT_EQ(Describe(back), "IMG GRILLE 1036 \nPATCH 104 1033 record 104\nPATCH 105 1033 record 105\n10 400 1033 the puzzle\n");
    uint32_t stored = 0;
    for (int i = 0; i < 4; ++i) stored |= uint32_t(exe[0x98 + 64 + i]) << (8 * i);
    EXPECT_EQ(stored, PeChecksum(exe));
    ASSERT_TRUE(WriteResources(SmallPe(), first, &again, &error));
    EXPECT_EQ(exe, again);  // the same inputs, the same bytes

    // Written again over its own output: one replaced, one added, the rest kept.
    ASSERT_TRUE(WriteResources(exe, {{ResourceId(10), ResourceId(400), 1033, Bytes("a new puzzle")},
                                     {ResourceId(16), ResourceId(1), 1033, Bytes("version")}},
                               &merged, &error))
        << error;
    ASSERT_TRUE(ReadResources(merged, &back, &error)) << error;
    EXPECT_EQ(Describe(back), "IMG GRILLE 1036 \nPATCH 104 1033 record 104\nPATCH 105 1033 record 105\n10 400 1033 a new puzzle\n16 1 1033 version\n");

    // An independent reader: Debian's pefile lists the same tree and finds
    // the checksum and the image size right.
    const auto dir = std::filesystem::temp_directory_path();
    const std::string file = (dir / "pe_resources_test.exe").string(), listing = (dir / "pe_resources_test.txt").string();
    ASSERT_TRUE(WriteFileBytes(file, merged.data(), merged.size()));
    const std::string script =
        "import pefile, sys\n"
        "pe = pefile.PE(sys.argv[1])\n"
        "print(pe.verify_checksum(), pe.OPTIONAL_HEADER.SizeOfImage == max(s.VirtualAddress + s.Misc_VirtualSize for s in pe.sections) + 0xFFF & ~0xFFF)\n"
        "for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:\n"
        "  for n in t.directory.entries:\n"
        "    for l in n.directory.entries:\n"
        "      d = l.data.struct\n"
        "      print(t.name or t.id, n.name or n.id, l.id, pe.get_data(d.OffsetToData, d.Size).decode())\n";
    std::ofstream((dir / "pe_resources_test.py").string()) << script;
    const std::string command = "/usr/bin/python3 " + (dir / "pe_resources_test.py").string() + " " + file + " > " + listing + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<uint8_t> text;
    ASSERT_TRUE(ReadFileBytes(listing, &text));
    EXPECT_EQ(std::string(text.begin(), text.end()),
              "True True\nIMG GRILLE 1036 \nPATCH 104 1033 record 104\nPATCH 105 1033 record 105\n10 400 1033 a new puzzle\n16 1 1033 version\n");
}

// A stub with no section at all, its file no longer than its headers: the
// resources go after the headers, in file and in memory.
TEST(PeResources, AStubWithoutSectionsGetsItsResourcesAfterItsHeaders) {
    std::vector<uint8_t> stub = SmallPe();
    Put(&stub, 0x86, 0, 2);
    std::fill(stub.begin() + 0x188, stub.begin() + 0x1B0, 0);  // its section header goes too
    stub.resize(0x400);
    std::vector<uint8_t> exe;
    std::string error;
    ASSERT_TRUE(WriteResources(stub, {{ResourceId(10), ResourceId(1), 1033, Bytes("x")}}, &exe, &error)) << error;
    std::vector<Resource> back;
    ASSERT_TRUE(ReadResources(exe, &back, &error)) << error;
    EXPECT_EQ(Describe(back), "10 1 1033 x\n");
    EXPECT_EQ(exe.size(), 0x600u);
    // Headers that end right after room for one more section header will do.
    EXPECT_TRUE(WriteResources(SmallPe(0x8664, 0x20B, 0x1D8), {{ResourceId(10), ResourceId(1), 1033, Bytes("x")}}, &exe, &error)) << error;
}

// Offsets in SmallPe: the optional header at 0x98, the section table at 0x188.
constexpr size_t kOptional = 0x98, kSections = 0x188;

uint32_t Get(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// SmallPe with its one section's sizes set, the file as long as its raw data.
std::vector<uint8_t> WithText(uint32_t virtualSize, uint32_t rawSize) {
    std::vector<uint8_t> b = SmallPe();
    Put(&b, kSections + 8, virtualSize, 4);
    Put(&b, kSections + 16, rawSize, 4);
    b.resize(0x400 + rawSize, 0);
    return b;
}

// A second section after .text, without raw data, as GNU ld lays out .bss.
std::vector<uint8_t> WithBss() {
    std::vector<uint8_t> b = SmallPe();
    Put(&b, 0x86, 2, 2);
    std::memcpy(&b[kSections + 40], ".bss\0\0\0\0", 8);
    Put(&b, kSections + 40 + 8, 0x1800, 4);   // VirtualSize
    Put(&b, kSections + 40 + 12, 0x2000, 4);  // VirtualAddress
    Put(&b, kSections + 40 + 36, 0xC0000080, 4);
    return b;
}

// The new section goes right after the last one in memory: after its
// VirtualSize (its raw size when that is 0), rounded up to 0x1000; in the
// file, right after the last raw data.
TEST(PeResources, TheNewSectionFollowsTheLastOneWhereTheLoaderLooks) {
    struct Case {
        const char* name;
        std::vector<uint8_t> stub;
        uint32_t rva, rawPointer;
    } cases[] = {
        {"raw data past its VirtualSize", WithText(0x10, 0x1200), 0x2000, 0x1600},
        {"a VirtualSize of 0", WithText(0, 0x1200), 0x3000, 0x1600},
        {"a VirtualSize one past the page", WithText(0x1001, 0x200), 0x3000, 0x600},
        {"a .bss without raw data", WithBss(), 0x4000, 0x600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> exe;
        std::string error;
        ASSERT_TRUE(WriteResources(c.stub, {{ResourceId(10), ResourceId(1), 1033, Bytes("x")}}, &exe, &error)) << error;
        const size_t added = kSections + 40 * (Get(c.stub, 0x84) >> 16);
        EXPECT_EQ(Get(exe, added + 12), c.rva);
        EXPECT_EQ(Get(exe, added + 20), c.rawPointer);
        EXPECT_EQ(Get(exe, kOptional + 56), c.rva + 0x1000);  // SizeOfImage
        std::vector<Resource> back;
        ASSERT_TRUE(ReadResources(exe, &back, &error)) << error;
        EXPECT_EQ(Describe(back), "10 1 1033 x\n");
    }
}

// An overlay stays at the end of the file, COFF symbols in it follow it; a
// certificate table cannot sign other bytes: it is left out, and said.
TEST(PeResources, AnOverlayIsKeptAndASignatureLeftOut) {
    const std::string overlay = "OVERLAY!", certificate = "CERTIFICATE TABLE";
    std::vector<uint8_t> stub = SmallPe();
    Put(&stub, 0x84 + 8, 0x600 + 4, 4);  // PointerToSymbolTable, inside the overlay
    stub.insert(stub.end(), overlay.begin(), overlay.end());
    std::vector<uint8_t> plain, signed_, exe;
    std::vector<std::string> notes;
    std::string error;
    ASSERT_TRUE(WriteResources(stub, {{ResourceId(10), ResourceId(1), 1033, Bytes("x")}}, &plain, &error, &notes)) << error;
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(std::string(plain.end() - 8, plain.end()), overlay);
    EXPECT_EQ(Get(plain, 0x84 + 8), plain.size() - 8 + 4);
    Put(&stub, kOptional + 112 + 4 * 8, stub.size(), 4);
    Put(&stub, kOptional + 112 + 4 * 8 + 4, certificate.size(), 4);
    stub.insert(stub.end(), certificate.begin(), certificate.end());
    ASSERT_TRUE(WriteResources(stub, {{ResourceId(10), ResourceId(1), 1033, Bytes("x")}}, &exe, &error, &notes)) << error;
    EXPECT_EQ(notes, std::vector<std::string>{"la signature du lecteur est retirée : signez le .exe du quiz"});
    EXPECT_EQ(Get(exe, kOptional + 112 + 4 * 8) | Get(exe, kOptional + 112 + 4 * 8 + 4), 0u);
    // The same file as the unsigned stub's but for the directory and checksum.
    ASSERT_EQ(exe.size(), plain.size());
    EXPECT_EQ(std::string(exe.end() - 8, exe.end()), overlay);
}

TEST(PeResources, AStubThatIsNotOursIsRefusedAndNothingWritten) {
    std::vector<uint8_t> notPe(0x200, 0);
    std::vector<uint8_t> cut = SmallPe();
    cut.resize(0x190);
    std::vector<uint8_t> cutInData = SmallPe(), busy = SmallPe(), badCertificate = SmallPe();
    cutInData.resize(0x5FF);
    busy[kSections + 40 + 39] = 1;
    Put(&badCertificate, kOptional + 112 + 4 * 8, 0x5F0, 4);  // inside .text
    Put(&badCertificate, kOptional + 112 + 4 * 8 + 4, 0x10, 4);
    struct Case {
        const char* name;
        std::vector<uint8_t> stub;
        const char* says;
    } cases[] = {
        {"no MZ", notPe, "ce n'est pas un programme Windows (pas d'en-tête MZ)"},
        {"32-bit machine", SmallPe(0x14C), "ce programme n'est pas fait pour Windows x86-64"},
        {"PE32, not PE32+", SmallPe(0x8664, 0x10B), "ce programme n'est pas un PE32+ (64 bits)"},
        {"no room for a section header", SmallPe(0x8664, 0x20B, 0x1B0), "l'en-tête du programme n'a pas la place d'une section de plus"},
        {"cut short", cut, "la table des sections du programme est tronquée"},
        {"headers longer than the file", SmallPe(0x8664, 0x20B, 0x800), "l'en-tête du programme est tronqué"},
        {"cut one byte into its last section", cutInData, "le programme est tronqué (une section sort du fichier)"},
        {"a byte in the room after the section table", busy, "l'en-tête du programme a des octets après sa table des sections"},
        {"a certificate table inside a section", badCertificate, "la table des certificats du programme sort de son fichier"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> out = {1, 2, 3};
        std::string error;
        EXPECT_FALSE(WriteResources(c.stub, {{ResourceId(10), ResourceId(1), 1033, Bytes("x")}}, &out, &error));
        EXPECT_EQ(error, c.says);
        EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3}));
    }
}

}  // namespace
}  // namespace quizpack
