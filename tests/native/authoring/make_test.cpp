// The make stage: the records, tables and files a source makes, read back
// by the player's own loader and readers.
#include "authoring_fixtures.h"

namespace quizpack {
namespace {

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


TEST(SingleFieldMarker, IsTheByteWhoseStoredFormIsADash) {
    EXPECT_EQ(quiz::StoredByte(SingleFieldMarker()), '-');
}


}  // namespace
}  // namespace quizpack
