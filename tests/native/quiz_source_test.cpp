#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "grid/quiz_tables.h"
#include "model/package.h"
#include "model/stored_form.h"
#include "quiz_source.h"
#include "pictures/raster.h"
#include "test_support.h"
#include "text/text.h"

namespace quizpack {
namespace {

namespace fs = std::filesystem;

// A GIF made by giflib, apart from the decoders under test: a screen, a
// global colour table (a power of two entries), one frame of indices.
struct GifPicture {
    int width = 0, height = 0;
    std::vector<GifColorType> colours;
    std::vector<GifPixelType> indices;  // the frame's, top row first
    int transparent = -1;               // declared in a graphic control extension
    std::array<int, 4> frame = {};      // left, top, width, height; no width: the screen
    bool interlaced = false;
};

std::vector<uint8_t> GifOf(const GifPicture& picture) {
    std::vector<uint8_t> gif;
    int error = 0;
    GifFileType* file = EGifOpen(&gif, [](GifFileType* f, const GifByteType* data, int n) {
        auto* out = static_cast<std::vector<uint8_t>*>(f->UserData);
        out->insert(out->end(), data, data + n);
        return n;
    }, &error);
    const int count = static_cast<int>(picture.colours.size());
    ColorMapObject* map = GifMakeMapObject(count, picture.colours.data());
    EGifSetGifVersion(file, true);
    EGifPutScreenDesc(file, picture.width, picture.height, GifBitSize(count), 0, map);
    if (picture.transparent >= 0) {
        GraphicsControlBlock control = {DISPOSAL_UNSPECIFIED, false, 0, picture.transparent};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    std::array<int, 4> f = picture.frame;
    if (f[2] == 0) f = {0, 0, picture.width, picture.height};
    EGifPutImageDesc(file, f[0], f[1], f[2], f[3], picture.interlaced, nullptr);
    std::vector<int> order;  // the rows in the order they are stored
    if (picture.interlaced) {
        for (int pass : {0, 4, 2, 1})
            for (int y = pass; y < f[3]; y += pass == 0 ? 8 : pass * 2) order.push_back(y);
    } else {
        for (int y = 0; y < f[3]; ++y) order.push_back(y);
    }
    for (int y : order)
        EGifPutLine(file, const_cast<GifPixelType*>(&picture.indices[size_t(y) * f[2]]), f[2]);
    GifFreeMapObject(map);
    EGifCloseFile(file, &error);
    return gif;
}

// A whole GIF of the given size, one colour: pictures are decoded before
// they ship, so a header alone no longer passes.
std::vector<uint8_t> FakeGif(int width, int height) {
    GifPicture p;
    p.width = width;
    p.height = height;
    p.colours = {{200, 30, 60}, {0, 0, 0}};
    p.indices.assign(size_t(width) * height, 0);
    return GifOf(p);
}

// libpng's reading of a PNG, as RGB: an independent decoder, which also
// checks every chunk's CRC.
bool ReadWithLibpng(const std::vector<uint8_t>& png, RgbImage* image) {
    png_image info = {};
    info.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&info, png.data(), png.size())) return false;
    info.format = PNG_FORMAT_RGB;
    *image = RgbImage(static_cast<int>(info.width), static_cast<int>(info.height), {});
    const bool read = png_image_finish_read(&info, nullptr, image->pixels.data(), 0, nullptr);
    png_image_free(&info);
    return read && info.warning_or_error == 0;
}

// Every index of a `width` x `height` frame, from a rule.
std::vector<GifPixelType> Indices(int width, int height, const std::function<int(int, int)>& at) {
    std::vector<GifPixelType> indices;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) indices.push_back(static_cast<GifPixelType>(at(x, y)));
    return indices;
}

std::vector<GifColorType> Palette(int count) {
    std::vector<GifColorType> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                           static_cast<GifByteType>(i * 7)});
    return colours;
}

std::vector<uint8_t> FakePng(int width, int height) {
    return EncodePng(RgbImage(width, height, {20, 200, 90}));
}

struct QuizFiles : ::testing::Test {
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("quizsrc-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir / "images");
        Write("images/grille.gif", FakeGif(459, 505));
        Write("images/un.gif", FakeGif(65, 67));
        Write("images/deux.png", FakePng(31, 242));
        Write("images/texte.gif", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(WriteFileBytes((dir / name).string(), bytes.data(), bytes.size()));
    }
    std::string WriteSource(const std::string& text) {
        Write("quiz.toml", {text.begin(), text.end()});
        return (dir / "quiz.toml").string();
    }
};

std::string BaseSource(int layout = 3, int answers = 1, bool scrambled = true) {
    std::ostringstream s;
    s << "executable = \"essai\"\n"
      << "title = \"Les capitales d'Europe\"\n"
      << "author = \"Zo\xC3\xA9 Lef\xC3\xA8vre\"\n"
      << "subtitle = \"Trouvez-les, par ordre alphab\xC3\xA9tique\"\n"
      << "linkText = \"https://q.example/\"\n"
      << "statusText = \"Capitales : \xC5\x93uvre \xE2\x82\xAC\"\n"
      << "answerCaption1 = \"Ville\"\n"
      << "answerCaption2 = \"Pays\"\n"
      << "answersPerQuestion = " << answers << "\n"
      << "layoutType = " << layout << "\n"
      << "background = [10, 20, 30]\n"
      << "scrambled = " << (scrambled ? "true" : "false") << "\n"
      << "puzzle = \"images/grille.gif\"\n";
    const char* cities[][2] = {{"Paris", "France"}, {"Rome", "Italie"}, {"Ath\xC3\xA8nes", "Gr\xC3\xA8" "ce"}};
    int strings = quiz::LayoutStringsPerQuestion(layout);
    for (int k = 0; k < 3; ++k) {
        s << "\n[[question]]\n";
        if (answers == 1)
            s << "answer = \"" << cities[k][0] << "\"\n";
        else
            s << "answers = [\"" << cities[k][0] << "\", \"" << cities[k][1] << "\"]\n";
        s << "spare = \"r\xC3\xA9serve " << k << "\"\n";
        if (strings >= 1) s << "text = \"Indice " << k + 1 << "\"\n";
        if (strings == 2) s << "text2 = \"cach\xC3\xA9 " << k + 1 << "\"\n";
        s << "code = \"CODE " << std::string(k + 1, '*') << "\"\n";
        if (k == 0) s << "overlay = \"images/un.gif\"\nplace = [145, 11, 65, 67]\n";
        if (k == 1) s << "letters = 12\noverlay = \"images/deux.png\"\nplace = [417, 11, 31, 242]\n";
    }
    return s.str();
}

std::string Cp(const std::string& utf8) {
    std::string out, error;
    EXPECT_TRUE(Utf8ToCp1252(utf8, &out, &error)) << error;
    return out;
}

std::string Stored(const std::string& utf8) {
    std::string text = Cp(utf8);
    quiz::TransformAnswerText(text.data());
    return text;
}

struct Loaded {
    quiz::QuizState state;
    std::vector<quiz::test::Alert> alerts;
    Loaded() { quiz::QuizStateInit(&state); }
    ~Loaded() { quiz::QuizStateReleaseQuestions(&state); }
};

void LoadBuilt(const std::map<std::string, std::vector<uint8_t>>& files, Loaded* loaded) {
    quiz::test::AlertCapture capture;
    quiz::PackageRecords records;
    const auto& builtIn = files.at("builtin.bin");
    const auto& r104 = files.at("record104.bin");
    const auto& r105 = files.at("record105.bin");
    records.builtIn = {builtIn.data(), builtIn.size()};
    records.record104 = {r104.data(), r104.size()};
    records.record105 = {r105.data(), r105.size()};
    quiz::LoadQuizPackage(&loaded->state, records);
    loaded->alerts = capture.alerts();
}

// The two tables of a build, read by the player's own reader.
quiz::QuizTables TablesOf(const std::map<std::string, std::vector<uint8_t>>& files) {
    const auto& letters = files.at("letter_counts.bin");
    const auto& places = files.at("answer_places.bin");
    return quiz::ReadQuizTables(letters.data(), letters.size(), places.data(), places.size());
}

TEST_F(QuizFiles, EveryLayoutAndAnswerCountRoundTripsThroughTheLoader) {
    for (int layout = 0; layout <= 9; ++layout) {
        for (int answers = 1; answers <= 2; ++answers) {
            for (bool scrambled : {false, true}) {
                SCOPED_TRACE("layout " + std::to_string(layout) + ", answers " +
                             std::to_string(answers) + (scrambled ? ", scrambled" : ""));
                std::string path = WriteSource(BaseSource(layout, answers, scrambled));
                QuizDefinition quiz;
                std::vector<Problem> problems = ReadQuizSource(path, &quiz);
                for (const Problem& p : problems) ADD_FAILURE() << p.line << " " << p.field << ": " << p.message;
                std::map<std::string, std::vector<uint8_t>> files;
                ASSERT_TRUE(MakeBuildFiles(quiz, path, &files).empty());
                Loaded loaded;
                LoadBuilt(files, &loaded);
                const quiz::QuizState& s = loaded.state;
                EXPECT_TRUE(loaded.alerts.empty());
                EXPECT_STREQ(s.title, "Les capitales d'Europe");
                EXPECT_EQ(std::string(s.author), Cp("Zo\xC3\xA9 Lef\xC3\xA8vre"));
                EXPECT_EQ(std::string(s.statusText), Cp("Capitales : \xC5\x93uvre \xE2\x82\xAC"));
                EXPECT_STREQ(s.linkText, "https://q.example/");
                EXPECT_STREQ(s.answerCaption2, "Pays");
                EXPECT_EQ(s.quizKind, 1);
                EXPECT_EQ(s.questionCount, 3);
                EXPECT_EQ(s.answersPerQuestion, answers);
                EXPECT_EQ(s.layoutType, layout);
                EXPECT_EQ(s.backRed, 10);
                EXPECT_EQ(s.backGreen, 20);
                EXPECT_EQ(s.backBlue, 30);
                const quiz::QuestionEntry* third = quiz::QuestionAt(&s, 2);
                EXPECT_EQ(std::string(third->answer1), Stored("Ath\xC3\xA8nes"));
                EXPECT_EQ(std::string(third->answer2), answers == 2 ? Stored("Gr\xC3\xA8" "ce") : "");
                EXPECT_EQ(std::string(third->spareText), Cp("r\xC3\xA9serve 2"));
                EXPECT_STREQ(third->extraText,
                             quiz::LayoutStringsPerQuestion(layout) ? "Indice 3" : "");
                EXPECT_STREQ(s.questionLines[2], "CODE ***");
            }
        }
    }
}

TEST_F(QuizFiles, GeneratedFilesMatchTheSource) {
    // The first overlay shows one transparent pixel: it stays a GIF.
    GifPicture seeThrough{65, 67, Palette(4), Indices(65, 67, [](int x, int y) { return x == 3 && y == 60 ? 2 : 1; }), 2};
    const std::vector<uint8_t> overlayGif = GifOf(seeThrough);
    Write("images/un.gif", overlayGif);
    std::string path = WriteSource(BaseSource());
    QuizDefinition quiz;
    ASSERT_TRUE(ReadQuizSource(path, &quiz).empty());
    std::map<std::string, std::vector<uint8_t>> files;
    ASSERT_TRUE(MakeBuildFiles(quiz, path, &files).empty());
    auto text = [&](const char* name) {
        const auto& bytes = files.at(name);
        return std::string(bytes.begin(), bytes.end());
    };
    // The tables as the player reads them. Letter counts: the letters of the
    // answer unless the source says otherwise.
    const quiz::QuizTables tables = TablesOf(files);
    EXPECT_EQ(tables.letterCounts, (std::vector<int>{5, 12, 7}));
    ASSERT_EQ(tables.answerPlaces.size(), 3u);
    const std::array<int, 4> places[3] = {{145, 11, 65, 67}, {417, 11, 31, 242}, {0, 0, 0, 0}};
    for (int k = 0; k < 3; ++k) {
        const quiz::AnswerPlace& p = tables.answerPlaces[k];
        EXPECT_EQ((std::array<int, 4>{p.left, p.top, p.width, p.height}), places[k]) << k + 1;
    }

    std::string rc = text("quiz_pictures.rc");
    // The opaque GIF puzzle as the PNG of its pixels, for the player's own
    // decoder; a PNG as it is; a GIF with a transparent pixel as it is, for
    // the platform's.
    EXPECT_NE(rc.find("400 RCDATA \"img_400.png\""), std::string::npos) << rc;
    EXPECT_NE(rc.find("10401 IMG \"img_10401.gif\""), std::string::npos);
    EXPECT_NE(rc.find("10402 RCDATA \"img_10402.png\""), std::string::npos);
    EXPECT_EQ(rc.find("10403"), std::string::npos);
    EXPECT_NE(rc.find("104 PATCH \"record104.bin\""), std::string::npos);
    EXPECT_EQ(files.at("img_10402.png"), FakePng(31, 242));
    EXPECT_EQ(files.at("img_10401.gif"), overlayGif);
    RgbImage puzzle, fromGif;
    std::string error;
    ASSERT_TRUE(DecodePicture(files.at("img_400.png"), &puzzle, &error)) << error;
    ASSERT_TRUE(DecodePicture(FakeGif(459, 505), &fromGif, &error)) << error;
    EXPECT_TRUE(puzzle.pixels == fromGif.pixels);
    EXPECT_EQ(puzzle.width, 459);
    EXPECT_EQ(text("quiz.cmake").find("set(QUIZ_EXECUTABLE_NAME \"essai\")") != std::string::npos,
              true);

    EXPECT_NE(rc.find("103 PATCH \"builtin.bin\""), std::string::npos);
    EXPECT_NE(rc.find("1 TABLE \"letter_counts.bin\""), std::string::npos);
    EXPECT_NE(rc.find("2 TABLE \"answer_places.bin\""), std::string::npos);
    EXPECT_EQ(files.at("builtin.bin").size(), quiz::kBuiltInRecordSize);

    std::map<std::string, std::vector<uint8_t>> again;
    ASSERT_TRUE(MakeBuildFiles(quiz, path, &again).empty());
    EXPECT_EQ(files, again);  // deterministic
}

TEST_F(QuizFiles, OneAnswerInATwoAnswerQuizLeavesOneVisibleField) {
    std::string source = BaseSource(0, 2, false);
    source.replace(source.find("answers = [\"Rome\", \"Italie\"]"), 28, "answers = [\"Rome\"]");
    std::string path = WriteSource(source);
    QuizDefinition quiz;
    ASSERT_TRUE(ReadQuizSource(path, &quiz).empty());
    std::map<std::string, std::vector<uint8_t>> files;
    ASSERT_TRUE(MakeBuildFiles(quiz, path, &files).empty());
    Loaded loaded;
    LoadBuilt(files, &loaded);
    EXPECT_STREQ(quiz::QuestionAt(&loaded.state, 1)->answer2, "-");  // as held: the grid hides it
    EXPECT_EQ(std::string(quiz::QuestionAt(&loaded.state, 0)->answer2), Stored("France"));
}

// Each case breaks the base source in one place; the problem must name the
// line of the marker text (or the given line) and the field.
TEST_F(QuizFiles, ChecksNameTheLineAndFieldAndWriteNothing) {
    struct Case {
        const char* name;
        std::function<void(std::string&)> change;
        std::string lineOf;  // text on the line the problem names
        std::string field;
    } cases[] = {
        {"title too long", [](std::string& s) { s.replace(s.find("Les capitales d'Europe"), 22, std::string(260, 'T')); }, "title =", "title"},
        {"linkText over 24 bytes", [](std::string& s) { s.replace(s.find("https://q.example/"), 18, "https://quiz.example/very/long"); }, "linkText", "linkText"},
        {"statusText over 42 bytes", [](std::string& s) { s.replace(s.find("Capitales"), 9, std::string(40, 'c')); }, "statusText", "statusText"},
        {"bar in a text", [](std::string& s) { s.replace(s.find("Ville"), 5, "Vi|le"); }, "answerCaption1", "answerCaption1"},
        {"line break in a code line", [](std::string& s) { s.replace(s.find("CODE **\""), 8, "CODE\\n**\""); }, "CODE\\n**", "question[2].code"},
        {"character outside CP1252", [](std::string& s) { s.replace(s.find("Indice 2"), 8, "\xCE\xB1lpha"); }, "\xCE\xB1lpha", "question[2].text"},
        {"empty answer", [](std::string& s) { s.replace(s.find("\"Rome\""), 6, "\"\""); }, "answer = \"\"", "question[2].answer"},
        {"answer with a trailing space", [](std::string& s) { s.replace(s.find("\"Rome\""), 6, "\"Rome \""); }, "Rome ", "question[2].answer"},
        {"answers per question 3", [](std::string& s) { s.replace(s.find("answersPerQuestion = 1"), 22, "answersPerQuestion = 3"); }, "answersPerQuestion", "answersPerQuestion"},
        {"layout type 10", [](std::string& s) { s.replace(s.find("layoutType = 3"), 14, "layoutType = 10"); }, "layoutType", "layoutType"},
        {"layout text missing", [](std::string& s) { s.erase(s.find("text = \"Indice 2\"\n"), 18); }, "[[question]]\nanswer = \"Rome\"", "question[2].text"},
        {"colour component 256", [](std::string& s) { s.replace(s.find("[10, 20, 30]"), 12, "[10, 256, 30]"); }, "background", "background[2]"},
        {"missing picture", [](std::string& s) { s.replace(s.find("images/un.gif"), 13, "images/non.gif"); }, "images/non.gif", "question[1].overlay"},
        {"picture that is not a picture", [](std::string& s) { s.replace(s.find("images/grille.gif"), 17, "images/texte.gif"); }, "puzzle", "puzzle"},
        {"overlay size differs from its place", [](std::string& s) { s.replace(s.find("[145, 11, 65, 67]"), 17, "[145, 11, 65, 70]"); }, "images/un.gif", "question[1].overlay"},
        {"place outside the puzzle", [](std::string& s) { s.replace(s.find("[417, 11, 31, 242]"), 18, "[430, 11, 31, 242]"); }, "[430, 11", "question[2].place"},
        {"overlay without a place", [](std::string& s) { s.erase(s.find("place = [145, 11, 65, 67]\n"), 27); }, "[[question]]\nanswer = \"Paris\"", "question[1].place"},
        {"97 questions", [](std::string& s) { for (int i = 0; i < 94; ++i) s += "\n[[question]]\nanswer = \"Oslo\"\ntext = \"N\"\n"; }, "", "question"},
        {"unknown field", [](std::string& s) { s.replace(s.find("spare = \"r\xC3\xA9serve 1\""), 0, "spar = \"x\"\n"); }, "spar = \"x\"", "question[2].spar"},
        {"built-in record over 70 bytes", [](std::string& s) {
             s.replace(s.find("https://q.example/"), 18, "q8#Zk!2mV@x7$Lp9&Rt4*Wy1");
             s.replace(s.find("Capitales : \xC5\x93uvre \xE2\x82\xAC"), 22, "Jh3^Nb6(Dc0)Gf5_Ks8+Mz2=Qv7~Xe4<Ua1>Io9;Ey");
         }, "linkText", "linkText, statusText"},
        {"TOML syntax", [](std::string& s) { s.replace(s.find("title ="), 7, "title"); }, "title", "toml"},
        {"missing executable", [](std::string& s) { s.erase(0, s.find('\n') + 1); }, "", "executable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string source = BaseSource();
        c.change(source);
        std::string path = WriteSource(source);
        int line = 1;
        if (c.name == std::string("97 questions")) {
            // the 97th [[question]]
            size_t pos = 0;
            for (int i = 0; i < 97; ++i) pos = source.find("[[question]]", pos) + 1;
            line = 1 + static_cast<int>(std::count(source.begin(), source.begin() + pos, '\n'));
        } else if (!c.lineOf.empty()) {
            size_t pos = source.find(c.lineOf);
            ASSERT_NE(pos, std::string::npos);
            line = 1 + static_cast<int>(std::count(source.begin(), source.begin() + pos, '\n'));
        }
        fs::path out = dir / "out";
        fs::remove_all(out);
        std::ostringstream stdoutText, stderrText;
        EXPECT_EQ(BuildCommand(path, out.string(), stdoutText, stderrText), 1);
        std::string expected = path + ":" + std::to_string(line) + ": " + c.field + ": ";
        EXPECT_NE(stderrText.str().find(expected), std::string::npos)
            << "expected " << expected << "\ngot " << stderrText.str();
        EXPECT_FALSE(fs::exists(out));
        std::ostringstream checkOut, checkErr;
        EXPECT_EQ(CheckCommand(path, checkOut, checkErr), 1);
    }
}

TEST_F(QuizFiles, EveryProblemIsReportedNotJustTheFirst) {
    std::string source = BaseSource();
    source.replace(source.find("https://q.example/"), 18, std::string(30, 'l'));
    source.replace(source.find("[10, 20, 30]"), 12, "[10, 20, 300]");
    source.replace(source.find("\"Rome\""), 6, "\"\"");
    std::string path = WriteSource(source);
    std::ostringstream out, err;
    EXPECT_EQ(CheckCommand(path, out, err), 1);
    EXPECT_NE(err.str().find(": linkText: "), std::string::npos);
    EXPECT_NE(err.str().find(": background[3]: "), std::string::npos);
    EXPECT_NE(err.str().find(": question[2].answer: "), std::string::npos);
    EXPECT_NE(err.str().find("3 probl\xC3\xA8mes dans"), std::string::npos) << err.str();
}

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

// A word-search quiz: the words and the section, no picture of its own.
std::string WordSearchSource(const std::string& section = "columns = 9\nrows = 8\nseed = 5\n") {
    return "executable = \"mots\"\ntitle = \"Mots\"\nlayoutType = 3\n\n[motsmeles]\n" + section +
           "\n[[question]]\nanswer = \"Cr\xC3\xA8me\"\ntext = \"a\"\n"
           "\n[[question]]\nanswer = \"NEW YORK\"\ntext = \"b\"\n"
           "\n[[question]]\nanswer = \"l'\xC5\x93uf\"\ntext = \"c\"\n";
}

// The PNG colour type quizpack gives a picture it draws: a palette for 256
// colours at most (the smaller file), else RGB.
int ColourType(const RgbImage& image) {
    std::set<std::array<uint8_t, 3>> colours;
    for (const Rgb& c : image.pixels) colours.insert({c.r, c.g, c.b});
    return colours.size() <= 256 ? 3 : 2;
}

TEST_F(QuizFiles, WordSearchMakesPicturesPlacesAndCounts) {
    QuizDefinition quiz;
    std::vector<Problem> problems = ReadQuizSource(WriteSource(WordSearchSource()), &quiz);
    // "l'œuf" only warns: a player typing "l'oeuf" is told "Presque".
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(problems[0].warning);
    EXPECT_NE(problems[0].message.find("« l'oeuf » lit « Presque »"), std::string::npos) << problems[0].message;
    ASSERT_FALSE(HasErrors(problems));
    RgbImage puzzle;
    std::string error;
    ASSERT_TRUE(DecodePicture(quiz.puzzle.bytes, &puzzle, &error)) << error;
    EXPECT_EQ(quiz.puzzle.bytes[25], ColourType(puzzle));
    EXPECT_EQ(puzzle.height, 505);
    EXPECT_LE(puzzle.width, 510);
    const PuzzleGeometry& g = quiz.geometry;
    // The strip the player writes the count into is empty, as wide as the text needs.
    for (int y = g.kTop + g.cell * g.rows; y < puzzle.height; ++y)
        for (int x = 0; x < puzzle.width; ++x) ASSERT_EQ(puzzle.At(x, y), (Rgb{255, 255, 255}));
    const PuzzleStyle style;
    const char* letters[] = {"CREME", "NEWYORK", "LOEUF"};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k + 1);
        const QuestionDefinition& q = quiz.questions[k];
        const WordPlace& place = quiz.wordSearch.places[k];
        EXPECT_EQ(q.letters, static_cast<int>(std::string(letters[k]).size()));
        ASSERT_TRUE(q.hasOverlay);
        RgbImage overlay;
        ASSERT_TRUE(DecodePicture(q.overlay.bytes, &overlay, &error)) << error;
        EXPECT_EQ(q.overlay.bytes[25], ColourType(overlay));
        EXPECT_EQ(overlay.width, q.place[2]);
        EXPECT_EQ(overlay.height, q.place[3]);
        // Inside the answer's cells the ground is the tint; everywhere else
        // the overlay is the puzzle's own block, pixel for pixel.
        std::vector<bool> answerCell(g.columns * g.rows);
        for (int i = 0; i < place.length; ++i)
            answerCell[(place.row + kDirections[place.direction].dy * i) * g.columns + place.column +
                       kDirections[place.direction].dx * i] = true;
        int tinted = 0;
        for (int y = 0; y < overlay.height; ++y)
            for (int x = 0; x < overlay.width; ++x) {
                const int px = q.place[0] + x, py = q.place[1] + y;
                const int cx = (px - g.kLeft) / g.cell, cy = (py - g.kTop) / g.cell;
                const bool inCell = (px - g.kLeft) % g.cell < g.cell - g.kLine &&
                                    (py - g.kTop) % g.cell < g.cell - g.kLine;
                if (inCell && answerCell[cy * g.columns + cx]) {
                    tinted += overlay.At(x, y) == style.tint;
                    ASSERT_NE(overlay.At(x, y), style.ground);
                } else {
                    ASSERT_EQ(overlay.At(x, y), puzzle.At(px, py)) << x << ", " << y;
                }
            }
        EXPECT_GT(tinted, place.length * (g.cell - g.kLine) * (g.cell - g.kLine) / 2);
        std::string word;
        for (int i = 0; i < place.length; ++i)
            word += quiz.wordSearch.cells[place.row + kDirections[place.direction].dy * i]
                                         [place.column + kDirections[place.direction].dx * i];
        EXPECT_EQ(word, letters[k]);
    }
    // The typed answer is still judged against the answer as written.
    std::map<std::string, std::vector<uint8_t>> files;
    ASSERT_TRUE(MakeBuildFiles(quiz, "mots.toml", &files).empty());
    Loaded loaded;
    LoadBuilt(files, &loaded);
    EXPECT_EQ(std::string(quiz::QuestionAt(&loaded.state, 0)->answer1), Stored("Cr\xC3\xA8me"));
    const std::string rc(files.at("quiz_pictures.rc").begin(), files.at("quiz_pictures.rc").end());
    EXPECT_NE(rc.find("400 RCDATA \"img_400.png\""), std::string::npos) << rc;
    EXPECT_NE(rc.find("10403 RCDATA \"img_10403.png\""), std::string::npos);
    const std::vector<int> counts = TablesOf(files).letterCounts;
    ASSERT_GE(counts.size(), 3u);
    EXPECT_EQ(std::vector<int>(counts.begin(), counts.begin() + 3), (std::vector<int>{5, 7, 5}));

    QuizDefinition again, other;
    ReadQuizSource(WriteSource(WordSearchSource()), &again);
    EXPECT_EQ(again.puzzle.bytes, quiz.puzzle.bytes);
    ReadQuizSource(WriteSource(WordSearchSource("columns = 9\nrows = 8\nseed = 6\n")), &other);
    EXPECT_NE(other.puzzle.bytes, quiz.puzzle.bytes);
}

TEST_F(QuizFiles, WordSearchRefusalsNameTheLineAndFieldAndWriteNothing) {
    struct Case {
        const char* name;
        std::string section;
        std::function<void(std::string&)> change;
        std::string lineOf;
        std::string field;
        std::string says;
    } cases[] = {
        {"a word longer than the grid", "columns = 6\nrows = 6\n", nullptr, "NEW YORK", "question[2].answer", "7 lettres ; la grille en aligne au plus 6"},
        {"down only, a word too long", "columns = 9\nrows = 6\ndirections = [\"down\"]\n", nullptr, "NEW YORK", "question[2].answer", "au plus 6"},
        {"a digit in an answer", "columns = 9\nrows = 8\n", [](std::string& s) { s.replace(s.find("NEW YORK"), 8, "NEW YORK 2"); }, "NEW YORK 2", "question[2].answer", "« 2 » ne peut pas aller dans la grille"},
        {"a picture of its own", "columns = 9\nrows = 8\n", [](std::string& s) { s.insert(0, "puzzle = \"images/grille.gif\"\n"); }, "puzzle =", "puzzle", "dessine la grille"},
        {"an overlay of its own", "columns = 9\nrows = 8\n", [](std::string& s) { s.replace(s.find("text = \"b\""), 0, "overlay = \"images/un.gif\"\n"); }, "overlay =", "question[2].overlay", "retirez ce champ"},
        {"an unknown direction", "columns = 9\nrows = 8\ndirections = [\"right\", \"sideways\"]\n", nullptr, "directions", "motsmeles.directions", "« sideways » n'est pas une direction"},
        {"no columns", "rows = 8\n", nullptr, "[motsmeles]", "motsmeles.columns", "manquant"},
        {"36 columns", "columns = 36\nrows = 8\n", nullptr, "columns", "motsmeles.columns", "36 sort de l'intervalle 2 à 35"},
        {"33 rows", "columns = 35\nrows = 33\n", nullptr, "rows", "motsmeles.rows", "33 sort de l'intervalle 2 à 32"},
        {"cells too large for the grid", "columns = 20\nrows = 8\ncellSize = 30\n", nullptr, "[motsmeles]", "motsmeles", "24 pixels au plus"},
        {"an unknown key", "columns = 9\nrows = 8\ncolour = 3\n", nullptr, "colour", "motsmeles.colour", "champ inconnu"},
        {"a colour of two parts", "columns = 9\nrows = 8\ntint = [1, 2]\n", nullptr, "tint", "motsmeles.tint", "[rouge, vert, bleu]"},
        {"too many words", "columns = 4\nrows = 4\n", [](std::string& s) { s.replace(s.find("NEW YORK"), 8, "ABCD"); s.replace(s.find("l'\xC5\x93uf"), 6, "EFGH"); s.replace(s.find("Cr\xC3\xA8me"), 6, "IJKL"); s += "\n[[question]]\nanswer = \"MNOP\"\ntext = \"d\"\n\n[[question]]\nanswer = \"QRST\"\ntext = \"e\"\n"; }, "", "", "ne trouve pas de place dans la grille de 4 x 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string source = WordSearchSource(c.section);
        if (c.change) c.change(source);
        std::string path = WriteSource(source);
        fs::path out = dir / "out";
        fs::remove_all(out);
        std::ostringstream o, e;
        EXPECT_EQ(BuildCommand(path, out.string(), o, e), 1);
        EXPECT_FALSE(fs::exists(out));
        std::string expected = c.says;
        if (!c.lineOf.empty()) {
            size_t pos = source.find(c.lineOf);
            ASSERT_NE(pos, std::string::npos);
            int line = 1 + static_cast<int>(std::count(source.begin(), source.begin() + pos, '\n'));
            expected = path + ":" + std::to_string(line) + ": " + c.field + ": ";
            EXPECT_NE(e.str().find(c.says), std::string::npos) << e.str();
        }
        EXPECT_NE(e.str().find(expected), std::string::npos) << "expected " << expected << "\ngot " << e.str();
    }
}

TEST(GifAsPng, OpaqueGifsBecomeThePngOfTheirPixelsAndTheOthersStayGifs) {
    struct Case {
        const char* name;
        GifPicture gif;
        bool png;  // stored as a PNG, or left to the platform as a GIF
    } cases[] = {
        {"two colours", {31, 7, Palette(2), Indices(31, 7, [](int x, int y) { return (x + y) % 2; })}, true},
        // The shipped pictures' case: index 252 declared transparent, never used.
        {"a transparent index no pixel uses",
         {20, 20, Palette(256), Indices(20, 20, [](int x, int y) { return x * 20 + y < 252 ? x * 20 + y : 0; }), 252},
         true},
        {"one pixel of the transparent index",
         {20, 20, Palette(256), Indices(20, 20, [](int x, int y) { return x == 19 && y == 19 ? 252 : 1; }), 252},
         false},
        {"a frame smaller than the screen: the rest is transparent",
         {8, 8, Palette(4), Indices(7, 8, [](int x, int) { return x % 4; }), -1, {0, 0, 7, 8}}, false},
        {"a frame that covers the screen from an offset of 0",
         {8, 8, Palette(4), Indices(8, 8, [](int x, int) { return x % 4; }), -1, {0, 0, 8, 8}}, true},
        {"all 256 colours of the table",
         {16, 16, Palette(256), Indices(16, 16, [](int x, int y) { return y * 16 + x; })}, true},
        {"interlaced",
         {5, 19, Palette(8), Indices(5, 19, [](int x, int y) { return (x * 3 + y) % 8; }), -1, {}, true}, true},
        {"as wide as the player shows", {4096, 1, Palette(2), Indices(4096, 1, [](int x, int) { return x % 2; })}, true},
        {"a pixel wider", {4097, 1, Palette(2), Indices(4097, 1, [](int x, int) { return x % 2; })}, false},
        {"as tall as the player shows", {1, 4096, Palette(2), Indices(1, 4096, [](int, int y) { return y % 2; })}, true},
        {"a pixel taller", {1, 4097, Palette(2), Indices(1, 4097, [](int, int y) { return y % 2; })}, false},
        {"a frame as wide as the screen, a row short",
         {8, 8, Palette(4), Indices(8, 7, [](int x, int) { return x % 4; }), -1, {0, 0, 8, 7}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> gif = GifOf(c.gif);
        const std::vector<uint8_t> png = GifAsPng(gif);
        EXPECT_EQ(!png.empty(), c.png);
        if (png.empty()) continue;
        RgbImage expected;
        std::string error;
        ASSERT_TRUE(DecodePicture(gif, &expected, &error)) << error;
        EXPECT_EQ(ReadPictureInfo(png).format, PictureFormat::Png);
        RgbImage ours, libpng;
        ASSERT_TRUE(DecodePicture(png, &ours, &error)) << error;  // the player's decoder
        ASSERT_TRUE(ReadWithLibpng(png, &libpng));
        EXPECT_EQ(ours.width, c.gif.width);
        EXPECT_EQ(ours.height, c.gif.height);
        EXPECT_TRUE(ours.pixels == expected.pixels);
        EXPECT_TRUE(libpng.pixels == expected.pixels);
        EXPECT_EQ(png[25], 3);  // colour type: a palette
    }
    EXPECT_TRUE(GifAsPng(FakePng(3, 3)).empty());  // only GIF pictures
    std::vector<uint8_t> cut = GifOf(cases[0].gif);
    cut.resize(20);
    EXPECT_TRUE(GifAsPng(cut).empty());
}

TEST(GifAsPng, AnIndexedPngHoldsAt256Colours) {
    for (int colours : {1, 255, 256, 257}) {
        SCOPED_TRACE(colours);
        // `colours` different colours in the first row; the second row meets
        // them all again.
        RgbImage image(colours, 2, {});
        for (int x = 0; x < colours; ++x)
            image.At(x, 0) = image.At(colours - 1 - x, 1) = {static_cast<uint8_t>(x), static_cast<uint8_t>(x >> 8), 90};
        const std::vector<uint8_t> png = EncodeIndexedPng(image);
        ASSERT_EQ(!png.empty(), colours <= 256);
        if (png.empty()) continue;
        RgbImage back;
        ASSERT_TRUE(ReadWithLibpng(png, &back));
        EXPECT_TRUE(back.pixels == image.pixels);
    }
    EXPECT_TRUE(EncodeIndexedPng(RgbImage()).empty());
}

TEST(PictureInfo, ReadsTheSizeOfEachFormat) {
    EXPECT_EQ(ReadPictureInfo(FakeGif(459, 505)).width, 459);
    EXPECT_EQ(ReadPictureInfo(FakeGif(459, 505)).height, 505);
    EXPECT_EQ(ReadPictureInfo(FakePng(31, 242)).format, PictureFormat::Png);
    EXPECT_EQ(ReadPictureInfo(FakePng(31, 242)).height, 242);
    // A JPEG with an APP0 segment before its frame header.
    std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F',
                                 0xFF, 0xC0, 0, 11, 8, 0x01, 0xF9, 0x01, 0xCB, 3};
    PictureInfo j = ReadPictureInfo(jpeg);
    EXPECT_EQ(j.format, PictureFormat::Jpeg);
    EXPECT_EQ(j.width, 459);
    EXPECT_EQ(j.height, 505);
    // A bottom-up and a top-down BMP.
    std::vector<uint8_t> bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[14] = 40;
    bmp[18] = 65;
    bmp[22] = 67;
    EXPECT_EQ(ReadPictureInfo(bmp).height, 67);
    bmp[22] = 0xBD;  // -67
    bmp[23] = bmp[24] = bmp[25] = 0xFF;
    EXPECT_EQ(ReadPictureInfo(bmp).height, 67);
    EXPECT_EQ(ReadPictureInfo({'G', 'I', 'F'}).format, PictureFormat::Unknown);
    EXPECT_EQ(ReadPictureInfo({}).format, PictureFormat::Unknown);
}

TEST(SingleFieldMarker, IsTheByteWhoseStoredFormIsADash) {
    EXPECT_EQ(quiz::StoredByte(SingleFieldMarker()), '-');
}

}  // namespace
}  // namespace quizpack

namespace quizpack {
namespace {

int LineOfText(const std::string& source, const std::string& text) {
    const size_t pos = source.find(text);
    return pos == std::string::npos ? 0 : 1 + static_cast<int>(std::count(source.begin(), source.begin() + pos, '\n'));
}

std::vector<std::string> ErrorLines(const std::string& err) {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);)
        if (line.find(".toml:") != std::string::npos) lines.push_back(line);
    return lines;
}

// A picture the player could not show is refused before anything is written.
TEST_F(QuizFiles, EveryPictureIsDecodedBeforeItShips) {
    std::vector<uint8_t> png = FakePng(459, 505);
    Write("images/cut.png", {png.begin(), png.begin() + png.size() / 2});
    std::vector<uint8_t> huge = FakePng(1, 1);
    for (int i : {16, 20}) huge[i] = 0x7F, huge[i + 1] = huge[i + 2] = huge[i + 3] = 0xFF;  // 2^31 - 1 square
    Write("images/huge.png", huge);
    Write("images/gif.png", FakeGif(459, 505));
    Write("images/bad.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xC0, 0, 11, 8, 0, 5, 0, 5, 3});
    Write("images/wide.png", FakePng(5000, 10));
    Write("images/widest.png", FakePng(4096, 600));
    struct Case {
        const char* file;
        const char* says;  // empty: accepted
    } cases[] = {
        {"images/cut.png", "images/cut.png ne se d\xC3\xA9" "code pas : le d\xC3\xA9" "codeur PNG du lecteur ne lit pas cette image (fichier tronqu\xC3\xA9 ou ab\xC3\xAEm\xC3\xA9 ?)"},
        {"images/huge.png", "images/huge.png fait 2147483647 x 2147483647 pixels ; le lecteur en montre 4096 x 4096 au plus"},
        {"images/gif.png", "images/gif.png est une image GIF sous un nom d'image PNG : donnez-lui l'extension de son format, ou enregistrez-la en PNG"},
        {"images/bad.jpg", "images/bad.jpg ne se d\xC3\xA9" "code pas : cette image JPEG ne se d\xC3\xA9" "code pas (le d\xC3\xA9" "codeur dit : Bogus marker length)"},
        {"images/wide.png", "images/wide.png fait 5000 x 10 pixels ; le lecteur en montre 4096 x 4096 au plus"},
        {"images/widest.png", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string source = BaseSource();
        source.replace(source.find("images/grille.gif"), 17, c.file);
        const std::string path = WriteSource(source);
        fs::path out = dir / "out";
        fs::remove_all(out);
        std::ostringstream o, e;
        const int rc = BuildCommand(path, out.string(), o, e);
        if (!*c.says) {
            EXPECT_EQ(rc, 0) << e.str();
            continue;
        }
        EXPECT_EQ(rc, 1);
        EXPECT_FALSE(fs::exists(out));
        EXPECT_EQ(ErrorLines(e.str()), std::vector<std::string>{path + ":" + std::to_string(LineOfText(source, "puzzle =")) + ": puzzle: " + c.says});
    }
}

// Each row: a change to a source, and every line check must print for it,
// no more: one message per fault, none that only follows from another.
std::string Changed(const std::string& from, const std::string& to) {
    std::string source = BaseSource();
    source.replace(source.find(from), from.size(), to);
    return source;
}

TEST_F(QuizFiles, EveryProblemOnceAndNothingThatOnlyFollows) {
    std::string tooLong;
    for (const char* word : {"ABRICOT", "AMANDES", "ANANASS", "BANANES", "CASSISS", "CERISES"})
        tooLong += std::string("\n[[question]]\nanswer = \"") + word + "\"\ntext = \"t\"\n";
    const std::string grid = "executable = \"mots\"\ntitle = \"Mots\"\nlayoutType = 3\n\n[motsmeles]\n";
    struct Case {
        const char* name;
        std::string source;
        std::vector<std::string> says;  // "line: field: start of message"
        bool warnsOnly = false;
    } cases[] = {
        {"six words too long and a bad colour", grid + "columns = 5\nrows = 5\ntint = [1, 2]\n" + tooLong,
         {"8: motsmeles.tint: doit \xC3\xAAtre [rouge, vert, bleu]",
          "11: question[1].answer: \xC2\xAB ABRICOT \xC2\xBB a 7 lettres ; la grille en aligne au plus 5",
          "15: question[2].answer: \xC2\xAB AMANDES \xC2\xBB a 7 lettres", "19: question[3].answer: \xC2\xAB ANANASS \xC2\xBB a 7 lettres",
          "23: question[4].answer: \xC2\xAB BANANES \xC2\xBB a 7 lettres", "27: question[5].answer: \xC2\xAB CASSISS \xC2\xBB a 7 lettres",
          "31: question[6].answer: \xC2\xAB CERISES \xC2\xBB a 7 lettres"}},
        {"a word inside another, backwards", grid + "columns = 9\nrows = 9\n\n[[question]]\nanswer = \"SAPIN\"\ntext = \"a\"\n\n[[question]]\nanswer = \"nip\"\ntext = \"b\"\n",
         {"14: question[2].answer: \xC2\xAB NIP \xC2\xBB se lit \xC3\xA0 l'envers dans \xC2\xAB SAPIN \xC2\xBB (question 1)"}},
        {"a direction given twice", grid + "columns = 9\nrows = 9\ndirections = [\"right\", \"down\", \"right\"]\n\n[[question]]\nanswer = \"SAPIN\"\ntext = \"a\"\n",
         {"8: motsmeles.directions: \xC2\xAB right \xC2\xBB est donn\xC3\xA9" "e deux fois"}},
        {"ink the colour of the ground", grid + "columns = 9\nrows = 9\nink = [250, 250, 250]\nlines = [255, 255, 255]\n\n[[question]]\nanswer = \"SAPIN\"\ntext = \"a\"\n",
         {"8: motsmeles.ink: [250, 250, 250] se distingue mal du fond des cases (ground) [255, 255, 255] : \xC3\xA9" "cart de 8, il en faut 80 au moins",
          "9: motsmeles.lines: [255, 255, 255] se distingue mal du fond"}},
        {"ink just far enough", grid + "columns = 9\nrows = 9\nink = [208, 208, 208]\ntint = [255, 120, 120]\n\n[[question]]\nanswer = \"SAPIN\"\ntext = \"a\"\n", {}},
        {"ink just too near", grid + "columns = 9\nrows = 9\nink = [209, 209, 209]\ntint = [255, 120, 120]\n\n[[question]]\nanswer = \"SAPIN\"\ntext = \"a\"\n",
         {"8: motsmeles.ink: [209, 209, 209] se distingue mal du fond des cases (ground) [255, 255, 255] : \xC3\xA9" "cart de 79"}},
        {"the layout as a string", "", {}},
        {"a hyphen outside CP1252", "", {}},
        {"five characters outside CP1252", "", {}},
        {"no question", "executable = \"vide\"\ntitle = \"Vide\"\npuzzle = \"images/grille.gif\"\n",
         {"1: question: aucune question : ajoutez au moins un bloc [[question]]"}},
        {"the largest grid", grid + "columns = 35\nrows = 32\n\n[[question]]\nanswer = \"SAPIN\"\ntext = \"a\"\n", {}},
        // A Windows path in a TOML string: its backslashes made escapes.
        {"a tab in a picture's path", Changed("images/grille.gif", "images\\tache.gif"),
         {"13: puzzle: \xC2\xAB \\t \xC2\xBB dans un chemin : \xC3\xA9" "crivez images/tache.gif"}},
        {"four kinds in a path", Changed("images/un.gif", "images\\new\\bis\\f\\r\\new.gif"),
         {"21: question[1].overlay: \xC2\xAB \\n \xC2\xBB, \xC2\xAB \\b \xC2\xBB, \xC2\xAB \\f \xC2\xBB et 1 autre dans un chemin : "
          "\xC3\xA9" "crivez images/new/bis/f/r/new.gif"}},
        {"an accented executable", Changed("\"essai\"", "\"ferme-\xC3\xA9t\xC3\xA9\""),
         {"1: executable: \xC2\xAB ferme-\xC3\xA9t\xC3\xA9 \xC2\xBB : \xC3\xA9" "crivez \xC2\xAB ferme-ete \xC2\xBB"}},
        {"an executable in capitals, with \xC5\x92 and a space", Changed("\"essai\"", "\"\xC5\x92uvre \xC3\x89T\xC3\x89\""),
         {"1: executable: \xC2\xAB \xC5\x92uvre \xC3\x89T\xC3\x89 \xC2\xBB : \xC3\xA9" "crivez \xC2\xAB OEuvre-ETE \xC2\xBB"}},
        // The 31 x 242 overlay in the corner of the 459 x 505 puzzle, then a
        // pixel past each side.
        {"an answer of 85 bytes, the most a field takes", Changed("\"Rome\"", "\"" + std::string(85, 'R') + "\""), {}},
        {"an answer of 86 bytes", Changed("\"Rome\"", "\"" + std::string(86, 'R') + "\""),
         {"25: question[2].answer: 86 octets ; un champ de r\xC3\xA9ponse en prend 85 au plus"}},
        {"a place in the puzzle's corner", Changed("[417, 11, 31, 242]", "[428, 263, 31, 242]"), {}},
        {"a place a pixel past the right", Changed("[417, 11, 31, 242]", "[429, 263, 31, 242]"),
         {"32: question[2].place: sort de l'image de la grille (459 x 505)"}},
        {"a place a pixel below", Changed("[417, 11, 31, 242]", "[428, 264, 31, 242]"),
         {"32: question[2].place: sort de l'image de la grille (459 x 505)"}},
        {"an executable with a dot", Changed("\"essai\"", "\"essai.exe\""), {"1: executable: doit tenir en 1 \xC3\xA0 64"}},
        // "CODE ***" fills the field's 47 pixels exactly: every row above
        // would see its warning. One more star does not fit.
        {"a code one star too wide", Changed("\"CODE ***\"", "\"CODE ****\""),
         {"39: question[3].code: attention : le champ du code, large de 53 pixels, n'en montre que \xC2\xAB CODE *** \xC2\xBB"},
         true},
    };
    cases[6].source = BaseSource();
    cases[6].source.replace(cases[6].source.find("layoutType = 3"), 14, "layoutType = \"3\"");
    cases[6].says = {"10: layoutType: doit \xC3\xAAtre un nombre entier"};
    cases[7].source = BaseSource();
    cases[7].source.replace(cases[7].source.find("\"Rome\""), 6, "\"Saint\xE2\x80\x91Malo\"");  // U+2011
    cases[7].says = {"25: question[2].answer: le caract\xC3\xA8re \xC2\xAB \xE2\x80\x91 \xC2\xBB (U+2011) n'existe pas"};
    cases[8].source = BaseSource();
    cases[8].source.replace(cases[8].source.find("Indice 2"), 8, "\xCE\xB1\xCE\xB2\xCE\xB1\xCE\xB3\xCE\xB4\xCE\xB5");
    cases[8].says = {"27: question[2].text: les caract\xC3\xA8res \xC2\xAB \xCE\xB1 \xC2\xBB (U+03B1), \xC2\xAB \xCE\xB2 \xC2\xBB (U+03B2), \xC2\xAB \xCE\xB3 \xC2\xBB (U+03B3) et 2 autres n'existent pas"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteSource(c.source);
        std::ostringstream o, e;
        EXPECT_EQ(CheckCommand(path, o, e), c.says.empty() || c.warnsOnly ? 0 : 1) << e.str();
        const std::vector<std::string> lines = ErrorLines(e.str());
        ASSERT_EQ(lines.size(), c.says.size()) << e.str();
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].rfind(path + ":" + c.says[i], 0), 0u) << lines[i];
    }
}

// Typographic apostrophes become the keyboard's, and letters the player does
// not fold are pointed out; both only warn, after the problems.
TEST_F(QuizFiles, AnswersAPlayerCanType) {
    std::string source = BaseSource();
    source.replace(source.find("\"Rome\""), 6, "\"Presqu\xE2\x80\x99\xC3\xAEle\"");
    source.replace(source.find("\"Paris\""), 7, "\"C\xC5\x93ur\"");
    source.replace(source.find("\"Ath\xC3\xA8nes\""), 10, "\"\xE2\x80\x98\xC5\x92UVRE\xE2\x80\x99\"");  // ‘ŒUVRE’
    const std::string path = WriteSource(source);
    QuizDefinition quiz;
    std::vector<Problem> problems = ReadQuizSource(path, &quiz);
    EXPECT_FALSE(HasErrors(problems));
    EXPECT_EQ(quiz.package.questions[1].answer1, "Presqu'\xEEle");
    EXPECT_EQ(quiz.package.questions[2].answer1, "'\x8CUVRE'");
    ASSERT_EQ(problems.size(), 4u);
    // A capital Œ: the player who types the small one is told too.
    EXPECT_EQ(problems[3].message,
              "attention : \xC2\xAB \xC5\x92 \xC2\xBB ne se tape pas comme une autre lettre : un joueur qui tape "
              "\xC2\xAB 'OEUVRE' \xC2\xBB lit \xC2\xAB Presque \xC2\xBB, et qui tape \xC2\xAB '\xC5\x93uvre' \xC2\xBB lit "
              "\xC2\xAB Quasiment \xC2\xBB ; seule cette orthographe, dans cette casse, est juste");
    EXPECT_EQ(problems[0].message,
              "attention : \xC2\xAB \xC5\x93 \xC2\xBB ne se tape pas comme une autre lettre : un joueur qui tape "
              "\xC2\xAB Coeur \xC2\xBB lit \xC2\xAB " + Cp1252ToUtf8(PlayerVerdict(Cp("C\xC5\x93ur"), "Coeur")) +
                  " \xC2\xBB, et qui tape \xC2\xAB C\xC5\x92UR \xC2\xBB lit \xC2\xAB Quasiment \xC2\xBB ; seule cette "
                  "orthographe, dans cette casse, est juste");
    EXPECT_EQ(problems[1].message.rfind("attention : \xC2\xAB \xE2\x80\x99 \xC2\xBB et", 0), 0u) << problems[1].message;
    // A problem elsewhere comes first; the warnings still follow it.
    source.replace(source.find("[10, 20, 30]"), 12, "[10, 20, 300]");
    std::ostringstream o, e;
    EXPECT_EQ(CheckCommand(WriteSource(source), o, e), 1);
    const std::vector<std::string> lines = ErrorLines(e.str());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[0].find(": background[3]: "), std::string::npos);
    EXPECT_NE(lines[1].find(": attention : "), std::string::npos);
    EXPECT_NE(e.str().find("1 probl\xC3\xA8me dans " + path + " et 4 avertissements"), std::string::npos) << e.str();
}

// Sources as editors save them: only UTF-8 reads, and the others say how.
TEST_F(QuizFiles, ASourceThatIsNotUtf8SaysHowToSaveIt) {
    std::string cp1252 = BaseSource();
    cp1252.replace(cp1252.find("Zo\xC3\xA9"), 4, "Zo\xE9");
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("title = \"x\"\n")) utf16 += std::string{c, '\0'};
    std::string lone = BaseSource();
    std::replace(lone.begin(), lone.end(), '\n', '\r');
    struct Case {
        const char* name;
        std::string bytes;
        std::string says;
    } cases[] = {
        {"Windows-1252", cp1252, ":3: toml: le fichier n'est pas en UTF-8 : l'octet 0xE9 ressemble \xC3\xA0 du Windows-1252"},
        {"UTF-16", utf16, ":1: toml: le fichier est en UTF-16"},
        {"lone CR line ends", lone, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteSource(c.bytes);
        std::ostringstream o, e;
        EXPECT_EQ(CheckCommand(path, o, e), c.says.empty() ? 0 : 1) << e.str();
        if (!c.says.empty()) {
            EXPECT_EQ(e.str().rfind(path + c.says, 0), 0u) << e.str();
            EXPECT_NE(e.str().find("Encodage : UTF-8"), std::string::npos);
        }
    }
    // Lone CRs read as the same quiz as LFs.
    QuizDefinition a, b;
    ASSERT_FALSE(HasErrors(ReadQuizSource(WriteSource(lone), &a)));
    ASSERT_FALSE(HasErrors(ReadQuizSource(WriteSource(BaseSource()), &b)));
    EXPECT_EQ(a.package.questions[2].answer1, b.package.questions[2].answer1);
    EXPECT_EQ(a.lines, b.lines);
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

}  // namespace
}  // namespace quizpack

namespace quizpack {
namespace {

std::string Guide() {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadFileBytes(QUIZ_GUIDE_PATH, &bytes));
    return {bytes.begin(), bytes.end()};
}

// The limits the guide gives are the ones the tool applies.
TEST(Guide, GivesTheLimitsTheToolApplies) {
    const std::string guide = Guide();
    auto number = [&](const std::string& pattern, int group = 1) {
        std::smatch m;
        EXPECT_TRUE(std::regex_search(guide, m, std::regex(pattern))) << pattern;
        return m.size() > size_t(group) ? std::stol(m[group].str()) : -1L;
    };
    EXPECT_EQ(number(R"(colonnes de la grille \(2 à (\d+)\))"), PuzzleGeometry::kMaxColumns);
    EXPECT_EQ(number(R"(rangées \(2 à (\d+)\))"), PuzzleGeometry::kMaxRows);
    EXPECT_EQ(number(R"(cellSize = 34 +# facultatif : de (\d+) à (\d+) pixels)"), PuzzleGeometry::kMinCell);
    EXPECT_EQ(number(R"(cellSize = 34 +# facultatif : de (\d+) à (\d+) pixels)", 2), PuzzleGeometry::kMaxCell);
    EXPECT_EQ(number(R"((\d+) colonnes et (\d+) rangées au plus)"), PuzzleGeometry::kMaxColumns);
    EXPECT_EQ(number(R"((\d+) colonnes et (\d+) rangées au plus)", 2), PuzzleGeometry::kMaxRows);
    EXPECT_EQ(number(R"(1 question au moins, (\d+) au plus)"), quiz::kMaxQuestions);
    EXPECT_EQ(number(R"(de (\d+) x \1 pixels au plus)"), kMaxPictureSide);
    EXPECT_EQ(number(R"(\| `title` \| oui \|[^|]*\| (\d+) octets \|)"), long(quiz::kTextSize - 1));
    EXPECT_EQ(number(R"(\| `linkText` \|[^|]*\|[^|]*\| (\d+) octets \|)"), long(quiz::kLinkTextSize - 1));
    EXPECT_EQ(number(R"(\| `statusText` \|[^|]*\|[^|]*\| (\d+) octets \|)"), long(quiz::kStatusTextSize - 1));
    EXPECT_EQ(number(R"((\d+) octets au plus, sans espace)"), long(kMaxTypedAnswer));
    EXPECT_EQ(number(R"(un écart de (\d+) au moins)"), long(kMinColourDistance));
    EXPECT_EQ(number(R"(la graine \((\d+) par défaut\))"), long(WordSearchRequest{}.seed));
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
        const fs::path out = dir / ("out" + std::to_string(built));
        std::ostringstream o, e;
        EXPECT_EQ(BuildCommand(WriteSource(source), out.string(), o, e), 0) << e.str();
        EXPECT_EQ(ErrorLines(e.str()), std::vector<std::string>{});  // not even a warning
        ++built;
    }
    EXPECT_EQ(built, 2);
}

}  // namespace
}  // namespace quizpack
