// The library's calls for a page, over files handed over as bytes, against
// the verbs over the same files on a disk: the same lines, the same bytes.
#include <nlohmann/json.hpp>

#include "atelier/library_calls.h"
#include "authoring_fixtures.h"
#include "model/quiz_state.h"
#include "sections/mosaic/mosaic_layout.h"
#include "sections/section.h"
#include "small_pe.h"
#include "write/new_source.h"

namespace quizpack {
namespace {

const WebCore kCore = {"var QuizCore;", {0x00, 0x61, 0x73, 0x6D, 0x01}};

// Every file of the quiz's folder, under its path from there.
FilesInMemory FilesOf(const fs::path& dir) {
    FilesInMemory files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) ReadFileBytes(entry.path().string(), &files[entry.path().lexically_relative(dir).string()]);
    return files;
}

std::vector<uint8_t> BytesAt(const fs::path& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadFileBytes(path.string(), &bytes)) << path;
    return bytes;
}

TEST_F(QuizFiles, TheCallsSayAndMakeWhatTheVerbsDo) {
    struct Case {
        const char* name;
        std::string source;
    } cases[] = {
        {"a sound quiz", BaseSource()},
        {"a warning", BaseSource() + "\n[[question]]\nanswer = \"Oslo\"\ncode = \"CODE ****\"\ntext = \"c\"\n"},
        {"problems", "executable = \"essai\"\ntitel = \"Essai\"\npuzzle = \"images/absente.gif\"\n\n[[question]]\nanswer = \"Paris\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteSource(c.source);
        std::ostringstream out, err;
        const int rc = CheckCommand(path, out, err);
        // The command line names the file by its path, the page by the name it was handed.
        std::string said = err.str();
        for (size_t at; (at = said.find(path)) != std::string::npos;) said.replace(at, path.size(), "quiz.toml");
        std::string lines;
        const FilesInMemory files = FilesOf(dir);
        const Made checked = CheckQuiz(files, "quiz.toml");
        for (size_t at = 0; (at = checked.json.find("\"text\":\"", at)) != std::string::npos;) {
            at += 8;
            lines += checked.json.substr(at, checked.json.find("\"}", at) - at) + "\n";
        }
        EXPECT_EQ(said.substr(0, lines.size()), lines);
        EXPECT_EQ(checked.json.find("\"ok\":1") != std::string::npos, rc == 0) << checked.json;

        const CarriedFiles carried{PlayerLikeStub(), kCore, BuiltInPageFiles()};
        const Made exe = MakeQuiz(files, "quiz.toml", Making::kExe, carried);
        const Made page = MakeQuiz(files, "quiz.toml", Making::kPage, carried);
        const Made key = MakeQuiz(files, "quiz.toml", Making::kKey, carried);
        if (rc != 0) {
            EXPECT_NE(lines.find("titel: champ inconnu"), std::string::npos) << lines;
            EXPECT_TRUE(exe.bytes.empty() && page.bytes.empty() && key.bytes.empty());
            EXPECT_NE(exe.json.find(lines.substr(0, lines.find('\n'))), std::string::npos) << exe.json;
            continue;
        }
        std::ostringstream o, e;
        ASSERT_EQ(ExeCommand(path, (dir / "cli.exe").string(), PlayerLikeStub(), "stub.exe", o, e), 0) << e.str();
        ASSERT_EQ(WebCommand(path, (dir / "cli.html").string(), kCore, false, o, e), 0) << e.str();
        ASSERT_EQ(PreviewCommand(path, (dir / "cli.png").string(), o, e), 0) << e.str();
        EXPECT_EQ(exe.bytes, BytesAt(dir / "cli.exe"));
        EXPECT_EQ(page.bytes, BytesAt(dir / "cli.html"));
        EXPECT_EQ(key.bytes, BytesAt(dir / "cli.png"));
        EXPECT_NE(exe.json.find("\"name\":\"essai.exe\""), std::string::npos) << exe.json;
        EXPECT_NE(key.json.find("\"name\":\"essai-corrige.png\""), std::string::npos) << key.json;
    }
}

TEST(LibraryCalls, NamesOfPicturesMakeTheSourceNewWouldWrite) {
    // Not pictures, hidden, and out of order: the folder's order, pictures only.
    const Made made = NewQuiz("Les fruits", {"poire.png", ".cache.png", "notes.txt", "Pomme.gif"});
    const std::string source(made.bytes.begin(), made.bytes.end());
    EXPECT_EQ(source, NewQuizSource("Les fruits", {"poire.png", "Pomme.gif"}));
    EXPECT_NE(made.json.find("\"ok\":1,\"name\":\"quiz.toml\",\"questions\":2"), std::string::npos) << made.json;
    EXPECT_NE(made.json.find("\"message\":\"quiz.toml : 2 questions, une par image\""), std::string::npos) << made.json;
    const Made one = NewQuiz("Les fruits", {"poire.png", "notes.txt"});
    EXPECT_TRUE(one.bytes.empty());
    EXPECT_NE(one.json.find("contient 1 image(s)"), std::string::npos) << one.json;
    // Outside the files handed over, nothing is read, not even from a disk.
    const FilesInMemory none;
    const Made missing = CheckQuiz(none, QUIZ_SAMPLE_PATH);
    EXPECT_NE(missing.json.find(QUIZ_SAMPLE_PATH ":1: toml: impossible de lire le fichier"), std::string::npos) << missing.json;
    // A problem of no line is said on the first one, never ":0:".
    EXPECT_EQ(ProblemLine("quiz.toml", {0, "toml", "fin inattendue"}), "quiz.toml:1: toml: fin inattendue");
    const std::string word = "executable = \"un\"\ntitle = \"Un\"\n[motsmeles]\ncolumns = 6\nrows = 6\n\n"
                               "[[question]]\nanswer = \"Chat\"\n";
    const Made single = CheckQuiz({{"quiz.toml", std::vector<uint8_t>(word.begin(), word.end())}}, "quiz.toml");
    EXPECT_NE(single.json.find("\"message\":\"quiz.toml : 1 question, aucun probl\xC3\xA8me\""), std::string::npos) << single.json;
}

// The table a form is drawn from is the judge's own: every field a key the
// guide explains, with the limits the judge applies.
TEST(LibraryCalls, TheFieldsTableIsTheJudgesOwn) {
    const nlohmann::json table = nlohmann::json::parse(FieldsTable());
    const std::string guide = Guide();
    std::map<std::string, nlohmann::json> rows;
    for (const char* part : {"header", "question"})
        for (const nlohmann::json& row : table.at(part)) {
            const std::string name = row.at("name"), help = row.at("help");
            EXPECT_TRUE(guide.find("`" + name + "`") != std::string::npos || guide.find("`[[" + name + "]]`") != std::string::npos) << name;
            EXPECT_TRUE(!help.empty() && help.find('\n') == std::string::npos) << name;
            rows[std::string(part) + "." + name] = row;
        }
    EXPECT_EQ(rows.size(), kHeaderFields.size() + kQuestionFields.size());
    const nlohmann::json& answer = rows["question.answer"];
    EXPECT_EQ(answer.at("kind"), "answers");
    EXPECT_EQ(answer.at("max"), quiz::kAnswerFieldLimit);
    EXPECT_EQ(answer.at("required"), 1);
    EXPECT_TRUE(answer.at("default").is_null());
    EXPECT_EQ(rows["header.question"].at("max"), quiz::kMaxQuestions);
    EXPECT_EQ(rows["header.linkText"].at("max"), quiz::kLinkTextSize - 1);
    EXPECT_EQ(rows["header.linkText"].at("kind"), "link");
    EXPECT_EQ(rows["header.quizKind"].at("min"), HeaderField("quizKind").min);  // a number below 0
    EXPECT_EQ(rows["header.background"].at("kind"), "colour");
    EXPECT_EQ(rows["header.background"].at("default"), HeaderField("background").fallback);
    EXPECT_EQ(rows["question.place"].at("kind"), "rectangle");
    std::vector<std::string> keys;
    nlohmann::json mosaic;
    for (const nlohmann::json& kind : table.at("sections")) {
        keys.push_back(kind.at("key"));
        if (keys.back() == "mosaique") mosaic = kind;
    }
    EXPECT_EQ(keys, SectionKeys());
    ASSERT_FALSE(mosaic.is_null());
    EXPECT_EQ(mosaic.at("fewestQuestions"), MosaicLayout::kMinPictures);
    EXPECT_EQ(mosaic.at("mostQuestions"), MosaicLayout::kMaxPictures);
}

}  // namespace
}  // namespace quizpack

namespace quizpack {
namespace {

// A picture chosen alone stands for the one the source names in a folder,
// unless two of that name leave it unknown; the atelier's page carries its
// files whole and refuses a script that would end its own.
TEST(LibraryCalls, FilesChosenAloneAndTheAteliersPage) {
    const std::string source = "executable = \"m\"\ntitle = \"M\"\n\n[mosaique]\n\n[[question]]\nimage = \"images/a.png\"\n"
                               "answer = \"Un\"\n\n[[question]]\nimage = \"images/b.png\"\nanswer = \"Deux\"\n";
    FilesInMemory files{{"quiz.toml", {source.begin(), source.end()}}, {"a.png", FakePng(40, 30)}, {"b.png", FakePng(30, 40)}};
    EXPECT_NE(CheckQuiz(files, "quiz.toml").json.find("\"ok\":1"), std::string::npos);
    files["autre/a.png"] = FakePng(40, 30);
    EXPECT_NE(CheckQuiz(files, "quiz.toml").json.find("impossible de lire l'image images/a.png"), std::string::npos);

    const AtelierLibrary library{"var AtelierLibrary;", {0, 0x61, 0x73, 0x6D, 1, 0, 0, 0}};
    const CarriedList carried{{"StubFile", {1, 2, 3, 4, 5}}, {"PageCss", {}}, {"FontFile", {0xFF}}};
    std::string html, error;
    ASSERT_TRUE(MakeAtelierPage(library, carried, &html, &error)) << error;
    std::vector<uint8_t> wasm;
    CarriedList back;
    ASSERT_TRUE(ReadAtelierPage(html, &wasm, &back));
    EXPECT_EQ(wasm, library.wasm);
    EXPECT_EQ(back, carried);
    std::ostringstream out, err;
    EXPECT_EQ(AtelierCommand("", {"a('</script>')", library.wasm}, carried, out, err), 2);
    EXPECT_NE(err.str().find("</script"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace quizpack
