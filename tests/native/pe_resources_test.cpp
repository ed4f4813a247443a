#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "pe_resources.h"
#include "small_pe.h"
#include "text.h"

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

TEST(PeResources, AStubThatIsNotOursIsRefusedAndNothingWritten) {
    std::vector<uint8_t> notPe(0x200, 0);
    std::vector<uint8_t> cut = SmallPe();
    cut.resize(0x190);
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
