// The quiz's .exe: the tables the player reads, and quizpack exe over a
// hand-built stub, read back by our reader and by Debian's pefile.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "make/package_writer.h"
#include "commands.h"
#include "grid/quiz_tables.h"
#include "exe/pe_resources.h"
#include "make/make_resources.h"
#include "stages.h"
#include "write/quiz_exe.h"
#include "small_pe.h"
#include "text/text.h"

namespace quizpack {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Words(std::initializer_list<int> counts) {
    return quiz::LetterCountTable(std::vector<int>(counts));
}

std::vector<uint8_t> Places(std::initializer_list<std::array<int, 4>> places) {
    std::vector<quiz::AnswerPlace> list;
    for (const auto& p : places) list.push_back({p[0], p[1], p[2], p[3]});
    return quiz::AnswerPlaceTable(list);
}

TEST(QuizTables, EachTableIsTakenWholeOrNotAtAll) {
    const std::vector<uint8_t> full = quiz::LetterCountTable(std::vector<int>(96, 7));
    const std::vector<uint8_t> tooMany = quiz::LetterCountTable(std::vector<int>(97, 7));
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t kept;  // entries read; 0: the whole table refused
    } letters[] = {
        {"missing", {}, 0},
        {"one count", Words({5}), 1},
        {"an odd size", {5, 0, 7}, 0},
        {"96 counts", full, 96},
        {"97 counts", tooMany, 0},
        {"a count of 1", Words({5, 1}), 2},
        {"a count of 0", Words({5, 0}), 0},
        {"a count of 259", Words({259}), 1},
        {"a count of 260", Words({260}), 0},
    };
    for (const Case& c : letters) {
        SCOPED_TRACE(c.name);
        const quiz::QuizTables t = quiz::ReadQuizTables(c.bytes.data(), c.bytes.size(), nullptr, 0);
        EXPECT_EQ(t.letterCounts.size(), c.kept);
        // Outside the table, or with no table, a question counts 2 letters.
        EXPECT_EQ(quiz::LetterCountOf(t, static_cast<int>(c.kept) + 1), 2);
        if (c.kept) {
            EXPECT_EQ(quiz::LetterCountOf(t, 1), c.bytes[0] | c.bytes[1] << 8);
        }
    }
    Case places[] = {
        {"a place and none", Places({{145, 11, 65, 67}, {0, 0, 0, 0}}), 2},
        {"not a whole entry", std::vector<uint8_t>(17, 0), 0},
        {"at the picture's edge", Places({{4096 - 65, 4096 - 67, 65, 67}}), 1},
        {"one pixel past it", Places({{4096 - 64, 0, 65, 67}}), 0},
        {"one pixel below it", Places({{0, 4096 - 66, 65, 67}}), 0},
        {"a negative left", Places({{-1, 0, 65, 67}}), 0},
        {"a width without a height", Places({{0, 0, 65, 0}}), 0},
        {"a side of 4097", Places({{0, 0, 4097, 5}}), 0},
        {"96 places", std::vector<uint8_t>(96 * 16, 0), 96},
        {"97 places", std::vector<uint8_t>(97 * 16, 0), 0},
    };
    for (const Case& c : places) {
        SCOPED_TRACE(c.name);
        const quiz::QuizTables t = quiz::ReadQuizTables(nullptr, 0, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(t.answerPlaces.size(), c.kept);
    }
    // A place is given back as written; width 0 means no overlay.
    const std::vector<uint8_t> two = Places({{145, 11, 65, 67}, {0, 0, 0, 0}});
    const quiz::QuizTables t = quiz::ReadQuizTables(nullptr, 0, two.data(), two.size());
    quiz::AnswerPlace p{};
    ASSERT_TRUE(quiz::AnswerPlaceOf(t, 1, &p));
    EXPECT_EQ((std::array<int, 4>{p.left, p.top, p.width, p.height}), (std::array<int, 4>{145, 11, 65, 67}));
    EXPECT_FALSE(quiz::AnswerPlaceOf(t, 2, &p));
    EXPECT_FALSE(quiz::AnswerPlaceOf(t, 3, &p));
}

struct QuizExe : ::testing::Test {
    fs::path dir;
    std::string source;  // the sample quiz, in a folder whose name has an "é"

    void SetUp() override {
        dir = fs::temp_directory_path() / ("quizexe-\xC3\xA9-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        source = Utf8OfPath(dir / "fruits.toml");
        fs::copy_file(QUIZ_SAMPLE_PATH, dir / "fruits.toml");
    }
    void TearDown() override { fs::remove_all(dir); }

    int Exe(const std::vector<uint8_t>& stub, const std::string& out, std::string* said) {
        std::ostringstream o, e;
        int rc = ExeCommand(source, out, stub, "stub.exe", o, e);
        *said = o.str() + e.str();
        return rc;
    }
    std::vector<uint8_t> Bytes(const fs::path& p) {
        std::vector<uint8_t> b;
        ReadFileBytes(Utf8OfPath(p), &b);
        return b;
    }
    std::string Run(const std::string& script, const fs::path& exe) {
        const fs::path py = dir / "read.py", listing = dir / "listing.txt";
        std::ofstream(py) << script;
        const std::string command = "/usr/bin/python3 '" + py.string() + "' '" + exe.string() + "' > '" +
                                    listing.string() + "' 2>&1";
        const int rc = std::system(command.c_str());
        std::vector<uint8_t> text = Bytes(listing);
        return (rc == 0 ? "" : "exit " + std::to_string(rc) + "\n") + std::string(text.begin(), text.end());
    }
};

TEST_F(QuizExe, TheExeCarriesEveryResourceAndReadsBackElsewhere) {
    std::string said;
    // No --out: the executable's name beside the source.
    ASSERT_EQ(Exe(PlayerLikeStub(), "", &said), 0) << said;
    const fs::path exe = dir / "fruits.exe";
    EXPECT_NE(said.find(Utf8OfPath(exe) + " \xC3\xA9" "crit : 21 questions, 28 ressources"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(dir / "fruits.exe.quizpack-partiel"));
    const std::vector<uint8_t> bytes = Bytes(exe);

    // What the quiz adds, found whole by our reader.
    QuizDefinition quiz;
    ASSERT_FALSE(HasErrors(ReadQuizSource(source, &quiz)));
    std::vector<Resource> added, found;
    ASSERT_TRUE(MakeQuizResources(quiz, &added).empty());
    std::string error;
    ASSERT_TRUE(ReadResources(bytes, &found, &error)) << error;
    EXPECT_EQ(found.size(), added.size() + 2);  // and the stub's two dialogs
    EXPECT_TRUE(VerifyQuizExe(bytes, quiz, added, &error)) << error;

    // The same inputs, the same bytes; written again over the old one.
    ASSERT_EQ(Exe(PlayerLikeStub(), Utf8OfPath(exe), &said), 0) << said;
    EXPECT_EQ(Bytes(exe), bytes);

    // Debian's pefile: the checksum, the tree, every resource's size, and the
    // version strings the .exe's properties show.
    const std::string listing = Run(
        "import pefile, sys\n"
        "pe = pefile.PE(sys.argv[1])\n"
        "print(pe.verify_checksum())\n"
        "kinds = {}\n"
        "for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:\n"
        "  for n in t.directory.entries:\n"
        "    for l in n.directory.entries:\n"
        "      k = str(t.name or t.id) + ' ' + str(l.id)\n"
        "      kinds[k] = kinds.get(k, 0) + 1\n"
        "print(sorted(kinds.items()))\n"
        "for info in pe.FileInfo[0]:\n"
        "  for table in getattr(info, 'StringTable', []):\n"
        "    for key in (b'ProductName', b'CompanyName', b'FileVersion', b'OriginalFilename'):\n"
        "      print(key.decode(), table.entries[key].decode())\n"
        "print(hex(pe.VS_FIXEDFILEINFO[0].FileVersionMS), hex(pe.VS_FIXEDFILEINFO[0].FileVersionLS))\n",
        exe);
    EXPECT_EQ(listing,
              "True\n"
              "[('10 1033', 22), ('16 1033', 1), ('5 1033', 2), ('PATCH 1033', 3), ('TABLE 1033', 2)]\n"
              "ProductName Les fruits\n"
              "CompanyName L'\xC3\xA9quipe du quiz\n"
              "FileVersion 1.0\n"
              "OriginalFilename fruits.exe\n"
              "0x10000 0x0\n");
}

TEST_F(QuizExe, RefusalsWriteNothingAndLeaveTheTargetAsItWas) {
    const fs::path target = dir / "d\xC3\xA9j\xC3\xA0.exe";
    std::ofstream(target) << "the old one";
    std::vector<uint8_t> made;
    std::string said;
    ASSERT_EQ(Exe(PlayerLikeStub(), Utf8OfPath(dir / "made.exe"), &said), 0) << said;
    made = Bytes(dir / "made.exe");
    const std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'e', 'x', 'e'};
    struct Case {
        const char* name;
        std::vector<uint8_t> stub;
        std::string out;
        std::string message;
    } cases[] = {
        {"a text file as stub", text, Utf8OfPath(target), "stub.exe : le lecteur n'est pas un programme Windows que quizpack sache compl\xC3\xA9ter"},
        {"a PE without the player's windows", SmallPe(), Utf8OfPath(target), "ce programme n'est pas le lecteur de quiz"},
        {"a quiz's .exe as stub", made, Utf8OfPath(target), "ce lecteur contient d\xC3\xA9j\xC3\xA0 un quiz"},
        {"a 32-bit stub", SmallPe(0x14C), Utf8OfPath(target), "ce programme n'est pas fait pour Windows x86-64"},
        {"a folder as target", PlayerLikeStub(), Utf8OfPath(dir), "est un dossier"},
        {"a missing folder", PlayerLikeStub(), Utf8OfPath(dir / "nulle-part" / "q.exe"), "impossible d'\xC3\xA9" "crire"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Exe(c.stub, c.out, &said), 2);
        EXPECT_NE(said.find(c.message), std::string::npos) << said;
        EXPECT_EQ(Bytes(target), std::vector<uint8_t>({'t', 'h', 'e', ' ', 'o', 'l', 'd', ' ', 'o', 'n', 'e'}));
    }
    size_t left = 0;
    for (const auto& entry : fs::directory_iterator(dir)) left += entry.path().extension() == ".quizpack-partiel";
    EXPECT_EQ(left, 0u);

    // A source with a problem makes no .exe.
    std::ofstream(source, std::ios::app) << "\n[[question]]\nanswer = \"\"\n";
    EXPECT_EQ(Exe(PlayerLikeStub(), Utf8OfPath(target), &said), 1);
    EXPECT_EQ(Bytes(target).size(), 11u);
}

TEST_F(QuizExe, ReadBackCatchesAnExeThatIsNotTheQuiz) {
    QuizDefinition quiz;
    ASSERT_FALSE(HasErrors(ReadQuizSource(source, &quiz)));
    std::vector<Resource> added;
    ASSERT_TRUE(MakeQuizResources(quiz, &added).empty());
    std::vector<uint8_t> exe;
    std::string error;
    ASSERT_TRUE(MakeQuizExe(PlayerLikeStub(), added, &exe, &error)) << error;
    ASSERT_TRUE(VerifyQuizExe(exe, quiz, added, &error)) << error;
    // The resources with one changed by `change`; one it empties is left out.
    auto changed = [&](const char* type, int id, const std::function<void(std::vector<uint8_t>&)>& change) {
        std::vector<Resource> list;
        for (Resource r : added) {
            if (r.type == ResourceName(type) && r.name == ResourceId(static_cast<uint16_t>(id))) {
                change(r.data);
                if (r.data.empty()) continue;
            }
            list.push_back(r);
        }
        return list;
    };
    auto without = [&](const char* type, int id, bool replace) {
        return changed(type, id, [&](std::vector<uint8_t>& d) {
            if (replace) d.assign(d.size(), 0);
            else d.clear();
        });
    };
    // Resources that differ from what was asked are caught by their bytes;
    // resources made wrong from the start (expected = written) by the
    // player's own readers.
    struct Case {
        const char* name;
        std::vector<Resource> written;
        bool madeWrong;
        const char* message;
    } cases[] = {
        {"a table changed", without("TABLE", 1, true), false, "n'a pas les octets de la ressource \"TABLE\" 1"},
        {"no record 105", without("PATCH", 105, false), false, "n'a pas de la ressource \"PATCH\" 105"},
        {"a table made of zeros", without("TABLE", 1, true), true, "d'autres tables pour la question 1"},
        {"a record 104 made of zeros", without("PATCH", 104, true), true, "le lecteur lirait autre chose que le quiz"},
        {"a record 105 made missing", without("PATCH", 105, false), true, "n'a pas les trois enregistrements"},
        {"the last letter count one more", changed("TABLE", 1, [](auto& d) { ++d[2 * 20]; }), true, "d'autres tables pour la question 21"},
        {"an answer place dropped", changed("TABLE", 2, [](auto& d) { std::fill(d.begin() + 16 * 4, d.begin() + 16 * 5, 0); }), true, "d'autres tables pour la question 5"},
        {"an answer place one pixel lower", changed("TABLE", 2, [](auto& d) { ++d[16 * 2 + 4]; }), true, "d'autres tables pour la question 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> wrong;
        ASSERT_TRUE(WriteResources(PlayerLikeStub(), c.written, &wrong, &error)) << error;
        EXPECT_FALSE(VerifyQuizExe(wrong, quiz, c.madeWrong ? c.written : added, &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    exe[exe.size() - 1] ^= 1;  // one bit of the last resource
    EXPECT_FALSE(VerifyQuizExe(exe, quiz, added, &error));
}

}  // namespace
}  // namespace quizpack
