// What authors get from quizpack, fingerprinted: the .exe of the sample and
// of the 96-question quiz (made from a stub whose bytes never change), the
// files of their build folders and their answer keys (sha256), and every
// message of a set of broken sources, word for word. A change that moves any
// of an author's bytes shows here; when it is meant, run the suite with
// QUIZ_FINGERPRINTS_UPDATE=1 and commit the fixture it writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "commands.h"
#include "small_pe.h"
#include "text/text.h"

namespace quizpack {
namespace {

namespace fs = std::filesystem;

const fs::path kTop = QUIZ_PROJECT_DIR;
const fs::path kFixture = kTop / "tests/native/fixtures/author_fingerprints.txt";

std::string Sha256(const fs::path& file) {
    const std::string command = "sha256sum '" + file.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    char digest[65] = {};
    if (!pipe || std::fscanf(pipe, "%64s", digest) != 1) digest[0] = '\0';
    if (pipe) pclose(pipe);
    return digest;
}

// Broken sources, each with what it means to catch; pictures from the tests.
struct Broken {
    const char* name;
    std::string source;
};

// Five words of three letters in a 3 x 3 grid.
std::string WordSearchOf(const std::string& directions) {
    std::string source = "executable = \"mots\"\ntitle = \"Mots\"\n\n[motsmeles]\ncolumns = 3\nrows = 3\ndirections = " +
                         directions + "\n";
    for (const char* word : {"ABC", "DEF", "GHI", "JKL", "MNO"}) source += std::string("\n[[question]]\nanswer = \"") + word + "\"\n";
    return source;
}

std::vector<Broken> BrokenSources() {
    const std::string question = "\n[[question]]\n";
    return {
        {"every header field wrong",
         "executable = \"ferme-\xC3\xA9t\xC3\xA9\"\ntitle = \"" + std::string(260, 'T') +
             "\"\nlinkText = \"" + std::string(30, 'l') + "\"\nstatusText = \"" + std::string(43, 's') +
             "\"\nquizKind = 300\nanswersPerQuestion = 3\nlayoutType = 12\nbackground = [1, 2]\n"
             "scrambled = \"oui\"\nversion = \"1.x\"\npuzzle = \"images\\tache.gif\"\nauteur = \"?\"\n" +
             question + "answr = \"x\"\n"},
        {"every question field wrong",
         "executable = \"q\"\ntitle = \"Q\"\nlayoutType = 3\npuzzle = \"grille.gif\"\n" + question +
             "answer = \" a \"\n" + question + "answer = \"" + std::string(86, 'R') + "\"\ntext = \"t\"\ncode = \"" +
             std::string(300, 'c') + "\"\n" + question + "answers = [\"a\", \"b\"]\ntext = \"t\"\ntext2 = \"a|b\"\n" +
             question + "answer = \"\xE2\x80\x98\xC5\x92UVRE\xE2\x80\x99\"\ntext = \"t\"\ncode = \"VOUS AVEZ GAGN\xC3\x89\"\n" +
             question + "answer = \"b\"\ntext = \"\xCE\xB1\"\noverlay = \"small.gif\"\nplace = [0, 0, 2, 2]\n" +
             question + "answer = \"c\"\ntext = \"t\"\noverlay = \"small.gif\"\nplace = [500, 0, 4, 4]\n" +
             question + "answer = \"d\"\ntext = \"t\"\nplace = [1, 2, 3, 4]\n"},
        {"a word search", "executable = \"mots\"\ntitle = \"Mots\"\nlayoutType = 3\npuzzle = \"grille.gif\"\n\n"
                          "[motsmeles]\ncolumns = 5\nrows = 40\ndirections = [\"right\", \"nord\", \"right\"]\n"
                          "ink = [250, 250, 250]\ntint = [1, 2]\n" +
                              question + "answer = \"ABRICOTS\"\ntext = \"t\"\nletters = 3\n" + question +
                              "answer = \"n1p\"\ntext = \"t\"\n"},
        {"a word search with no room left", WordSearchOf("[\"right\", \"down\"]")},
        {"a crowded word search", WordSearchOf("[\"right\"]")},
        {"a JPEG that does not decode", "executable = \"p\"\ntitle = \"P\"\npuzzle = \"broken.jpg\"\n" + question + "answer = \"x\"\n"},
        {"a GIF named PNG", "executable = \"p\"\ntitle = \"P\"\npuzzle = \"gif.png\"\n" + question + "answer = \"x\"\n"},
        {"TOML syntax", "title = \"Essai\n"},
        {"not UTF-8", "title = \"Caf\xE9\"\n"},
        {"no question", "executable = \"vide\"\ntitle = \"Vide\"\npuzzle = \"grille.gif\"\n"},
    };
}

std::string Run(int (*command)(const std::string&, std::ostream&, std::ostream&), const std::string& path) {
    std::ostringstream out, err;
    const int rc = command(path, out, err);
    return "exit " + std::to_string(rc) + "\n" + out.str() + err.str();
}

// Every fingerprint, in a fixed order, one line each (messages as they are).
std::string Fingerprints(const fs::path& scratch) {
    std::ostringstream lines;
    const std::vector<uint8_t> stub = PlayerLikeStub();
    for (const char* source : {"quizzes/fruits/fruits.toml", "tests/windows/fixtures/fruits/quiz96.toml"}) {
        const std::string name = fs::path(source).stem().string();
        std::ostringstream out, err;
        const fs::path exe = scratch / (name + ".exe"), folder = scratch / name, key = scratch / (name + ".png");
        EXPECT_EQ(ExeCommand((kTop / source).string(), exe.string(), stub, "stub.exe", out, err), 0) << err.str();
        EXPECT_EQ(BuildCommand((kTop / source).string(), folder.string(), out, err), 0) << err.str();
        EXPECT_EQ(PreviewCommand((kTop / source).string(), key.string(), out, err), 0) << err.str();
        lines << "exe " << name << " " << Sha256(exe) << "\n";
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        for (const std::string& file : files) lines << "build " << name << "/" << file << " " << Sha256(folder / file) << "\n";
        lines << "key " << name << " " << Sha256(key) << "\n";
    }
    // Broken sources, by a path relative to their folder, as an author types it.
    const fs::path broken = scratch / "broken";
    fs::create_directories(broken);
    fs::copy_file(kTop / "tests/windows/fixtures/fruits/grille.gif", broken / "grille.gif");
    fs::copy_file(kTop / "tests/windows/pictures/small.gif", broken / "small.gif");
    fs::copy_file(kTop / "tests/windows/pictures/small.gif", broken / "gif.png");
    const char jpegBytes[] = "\377\330\377\340\000\004JF\377\300\000\013\010\001\371\001\313\003";
    const std::string jpeg(jpegBytes, sizeof jpegBytes - 1);
    std::ofstream(broken / "broken.jpg", std::ios::binary).write(jpeg.data(), static_cast<std::streamsize>(jpeg.size()));
    const fs::path here = fs::current_path();
    fs::current_path(broken);
    for (const Broken& b : BrokenSources()) {
        std::ofstream("quiz.toml", std::ios::binary) << b.source;
        lines << "== check: " << b.name << "\n" << Run(CheckCommand, "quiz.toml");
    }
    fs::current_path(here);
    return lines.str();
}

TEST(AuthorFingerprints, QuizpackMakesTheSameBytesAndSaysTheSameWords) {
    const fs::path scratch = fs::temp_directory_path() / "author-fingerprints";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    const std::string now = Fingerprints(scratch);
    fs::remove_all(scratch);
    if (std::getenv("QUIZ_FINGERPRINTS_UPDATE")) {
        std::ofstream(kFixture, std::ios::binary) << now;
        GTEST_SKIP() << "fixture written: " << kFixture;
    }
    std::vector<uint8_t> fixture;
    ASSERT_TRUE(ReadFileBytes(kFixture.string(), &fixture)) << kFixture;
    EXPECT_EQ(now, std::string(fixture.begin(), fixture.end()))
        << "an author's bytes or words moved; if that is meant, run with QUIZ_FINGERPRINTS_UPDATE=1";
}

}  // namespace
}  // namespace quizpack
