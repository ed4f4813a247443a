// The write stage: the build folder as quizpack keeps it, and the guide's
// examples built whole.
#include "authoring_fixtures.h"

namespace quizpack {
namespace {

TEST_F(QuizFiles, BuildLeavesAnExistingOutputUntouchedOnAProblem) {
    fs::path out = dir / "out";
    std::ostringstream o, e;
    ASSERT_EQ(BuildCommand(WriteSource(BaseSource()), out.string(), o, e), 0) << e.str();
    std::vector<uint8_t> before;
    ASSERT_TRUE(ReadFileBytes((out / "record104.bin").string(), &before));
    std::string broken = BaseSource();
    broken.replace(broken.find("Paris"), 5, "Lisbonne");
    broken.replace(broken.find("[10, 20, 30]"), 12, "[10, 20]");
    EXPECT_EQ(BuildCommand(WriteSource(broken), out.string(), o, e), 1);
    std::vector<uint8_t> after;
    ASSERT_TRUE(ReadFileBytes((out / "record104.bin").string(), &after));
    EXPECT_EQ(before, after);
    std::ostringstream missing;
    EXPECT_EQ(CheckCommand((dir / "absent.toml").string(), o, missing), 2);
}


// A folder keeps only what its latest build made.
TEST_F(QuizFiles, ARebuildLeavesOnlyItsOwnFiles) {
    std::string words;
    for (const char* word : {"POMME", "POIRE", "KIWI", "FIGUE", "DATTE", "MANGUE", "CITRON"})
        words += std::string("\n[[question]]\nanswer = \"") + word + "\"\ntext = \"t\"\n";
    const std::string head = "executable = \"mots\"\ntitle = \"Mots\"\nlayoutType = 3\n\n[motsmeles]\ncolumns = 9\nrows = 9\n";
    const fs::path out = dir / "out";
    auto names = [&] {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(out)) found.insert(entry.path().filename().string());
        return found;
    };
    std::ostringstream o, e;
    ASSERT_EQ(BuildCommand(WriteSource(head + words), out.string(), o, e), 0) << e.str();
    EXPECT_EQ(names().count("img_10407.png"), 1u);
    const std::string five = head + words.substr(0, words.find("\n[[question]]\nanswer = \"MANGUE\""));
    ASSERT_EQ(BuildCommand(WriteSource(five), out.string(), o, e), 0) << e.str();
    std::set<std::string> expected = {"builtin.bin", "record104.bin", "record105.bin",
                                      "letter_counts.bin", "answer_places.bin", "quiz_pictures.rc",
                                      "quiz.cmake", "img_400.png", "quizpack-fichiers.txt"};
    for (int k = 1; k <= 5; ++k) expected.insert("img_1040" + std::to_string(k) + ".png");
    EXPECT_EQ(names(), expected);
    // A file quizpack did not write stops the build, and stays.
    Write("out/notes.txt", {'x'});
    std::ostringstream o2, e2;
    EXPECT_EQ(BuildCommand(WriteSource(five), out.string(), o2, e2), 2);
    EXPECT_NE(e2.str().find("contient des fichiers que quizpack n'y a pas \xC3\xA9" "crits (notes.txt)"), std::string::npos) << e2.str();
    EXPECT_TRUE(fs::exists(out / "notes.txt"));
    std::ostringstream o3, e3;
    EXPECT_EQ(BuildCommand(WriteSource(five), (out / "notes.txt").string(), o3, e3), 2);
    EXPECT_EQ(e3.str(), "quizpack build : " + (out / "notes.txt").string() + " est un fichier ; --out attend un dossier\n");
}


// Every whole quiz the guide shows builds, its pictures made to the sizes
// its comments give.
TEST_F(QuizFiles, TheGuidesExamplesBuild) {
    const std::string guide = Guide();
    const std::regex block("```toml\n([^`]*)```");
    int built = 0;
    for (auto it = std::sregex_iterator(guide.begin(), guide.end(), block); it != std::sregex_iterator(); ++it) {
        std::string source = (*it)[1].str();
        if (source.find("executable =") == std::string::npos) continue;  // a fragment
        SCOPED_TRACE(source.substr(0, source.find('\n')));
        Write("images/grille.gif", FakeGif(459, 505));
        const std::regex picture(R"re(overlay = "([^"]+)"[^\n]*\nplace = \[\d+, \d+, (\d+), (\d+)\])re");
        for (auto p = std::sregex_iterator(source.begin(), source.end(), picture); p != std::sregex_iterator(); ++p)
            Write((*p)[1].str(), FakeGif(std::stoi((*p)[2].str()), std::stoi((*p)[3].str())));
        const std::regex image(R"re(image = "([^"]+\.(png|jpg))")re");  // a mosaic's pictures
        for (auto p = std::sregex_iterator(source.begin(), source.end(), image); p != std::sregex_iterator(); ++p)
            Write((*p)[1].str(), (*p)[2] == "png" ? FakePng(64, 48) : EncodeJpeg(RgbImage(64, 48, {200, 120, 40}), 90));
        const fs::path out = dir / ("out" + std::to_string(built));
        std::ostringstream o, e;
        EXPECT_EQ(BuildCommand(WriteSource(source), out.string(), o, e), 0) << e.str();
        EXPECT_EQ(ErrorLines(e.str()), std::vector<std::string>{});  // not even a warning
        ++built;
    }
    EXPECT_EQ(built, 5);  // the folder of photos, the farm, the mosaic, the fruits, the towns
}


}  // namespace
}  // namespace quizpack
