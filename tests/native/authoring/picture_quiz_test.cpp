// Picture quizzes without an image editor: pictures scaled and turned
// upright, a puzzle made to fit the grid, marks drawn from the puzzle, the
// mosaic and a folder of pictures made into a quiz.
#include <sstream>

#include "authoring_fixtures.h"
#include "commands.h"
#include "small_pe.h"
#include "make/picture_puzzle.h"
#include "pictures/marks.h"
#include "pictures/scaling.h"
#include "sections/mosaic/mosaic_section.h"
#include "write/new_source.h"

namespace quizpack {
namespace {

// A JPEG of `width` x `height` whose APP1 block says `orientation` (byte
// order `order`, "II" or "MM"; the tag's type given), `tail` bytes after the
// orientation's value (2 end its entry, 6 hold the next directory's offset).
std::vector<uint8_t> JpegWithExif(int width, int height, int orientation, const char* order = "II", int type = 3,
                                  size_t tail = 6) {
    std::vector<uint8_t> jpeg = EncodeJpeg(RgbImage(width, height, {10, 200, 30}), 90);
    const bool ii = order[0] == 'I';
    auto u16 = [&](int v) { return ii ? std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8)} : std::vector<uint8_t>{uint8_t(v >> 8), uint8_t(v)}; };
    std::vector<uint8_t> tiff = {uint8_t(order[0]), uint8_t(order[1])};
    for (const auto& part : {u16(42), ii ? std::vector<uint8_t>{8, 0, 0, 0} : std::vector<uint8_t>{0, 0, 0, 8}, u16(1),
                             u16(0x0112), u16(type), ii ? std::vector<uint8_t>{1, 0, 0, 0} : std::vector<uint8_t>{0, 0, 0, 1},
                             u16(orientation), std::vector<uint8_t>(tail, 0)})
        tiff.insert(tiff.end(), part.begin(), part.end());
    std::vector<uint8_t> app1 = {0xFF, 0xE1, 0, uint8_t(8 + tiff.size()), 'E', 'x', 'i', 'f', 0, 0};
    app1.insert(app1.end(), tiff.begin(), tiff.end());
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

TEST(Pictures, OrientationFromExifTurnsThePictureUpright) {
    struct Case {
        const char* name;
        std::vector<uint8_t> jpeg;
        int orientation;
        int uprightWidth;  // 5 to 8 turn a quarter: width and height swap
    } cases[] = {
        {"little-endian 6", JpegWithExif(40, 20, 6), 6, 20},
        {"big-endian 8", JpegWithExif(40, 20, 8, "MM"), 8, 20},
        {"5, the first to turn a quarter", JpegWithExif(40, 20, 5), 5, 20},
        {"4, the last to keep its sides", JpegWithExif(40, 20, 4), 4, 40},
        {"1", JpegWithExif(40, 20, 1), 1, 40},
        {"a value of 9", JpegWithExif(40, 20, 9), 1, 40},
        {"a value of 0", JpegWithExif(40, 20, 0), 1, 40},
        {"a LONG, not a SHORT", JpegWithExif(40, 20, 6, "II", 4), 1, 40},
        {"the entry ends the block", JpegWithExif(40, 20, 6, "II", 3, 2), 6, 20},
        {"the entry cut a byte short", JpegWithExif(40, 20, 6, "II", 3, 1), 1, 40},
        {"no EXIF block", EncodeJpeg(RgbImage(40, 20, {}), 90), 1, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureInfo info = ReadPictureInfo(c.jpeg);
        EXPECT_EQ(info.orientation, c.orientation);
        EXPECT_EQ(info.UprightWidth(), c.uprightWidth);
        EXPECT_EQ(info.UprightHeight(), 60 - c.uprightWidth);
    }
    // Each turn: where the upright picture's top-left and top-right pixels
    // come from in the stored 3 x 2 one.
    RgbImage stored(3, 2, {});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) stored.At(x, y) = {uint8_t(x), uint8_t(y), 0};
    const int from[9][4] = {{}, {0, 0, 2, 0}, {2, 0, 0, 0}, {2, 1, 0, 1}, {0, 1, 2, 1},
                            {0, 0, 0, 1}, {0, 1, 0, 0}, {2, 1, 2, 0}, {2, 0, 2, 1}};
    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE(o);
        const RgbImage upright = Oriented(stored, o);
        ASSERT_EQ(upright.width, o >= 5 ? 2 : 3);
        EXPECT_EQ(upright.At(0, 0), (Rgb{uint8_t(from[o][0]), uint8_t(from[o][1]), 0}));
        EXPECT_EQ(upright.At(upright.width - 1, 0), (Rgb{uint8_t(from[o][2]), uint8_t(from[o][3]), 0}));
    }
}

TEST(Pictures, ScaledByAreaAndReadNoLargerThanNeeded) {
    RgbImage row(3, 1, {});
    row.At(0, 0) = {0, 0, 0}, row.At(1, 0) = {90, 90, 90}, row.At(2, 0) = {180, 180, 180};
    const RgbImage two = ScaleImage(row, 2, 1);  // two thirds of the first, one of the second
    EXPECT_EQ(two.At(0, 0), (Rgb{30, 30, 30}));
    EXPECT_EQ(two.At(1, 0), (Rgb{150, 150, 150}));
    EXPECT_EQ(ScaleImage(row, 6, 2).At(3, 1), (Rgb{90, 90, 90}));
    struct Fit {
        int width, height, box, fitWidth, fitHeight;
    } fits[] = {{400, 300, 162, 162, 122}, {300, 400, 162, 122, 162}, {1000, 1, 162, 162, 1}, {162, 162, 162, 162, 162}};
    for (const Fit& f : fits) {
        int w = 0, h = 0;
        FitInto(f.width, f.height, f.box, f.box, &w, &h);
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(f.fitWidth, f.fitHeight)) << f.width << " x " << f.height;
    }
    // A 64 x 48 JPEG needed at 8 x 6 is read at 1/8; at 9 x 6, at 1/4; turned
    // a quarter, the need turns with it.
    struct Need {
        int orientation, needWidth, needHeight, width, height;
    } needs[] = {{1, 8, 6, 8, 6}, {1, 9, 6, 16, 12}, {1, 8, 7, 16, 12}, {6, 6, 8, 6, 8}, {6, 6, 9, 12, 16}, {1, 64, 48, 64, 48}};
    for (const Need& n : needs) {
        SCOPED_TRACE(std::to_string(n.needWidth) + " x " + std::to_string(n.needHeight));
        RgbImage decoded;
        std::string error;
        ASSERT_TRUE(DecodeUpright(JpegWithExif(64, 48, n.orientation), n.needWidth, n.needHeight, {}, &decoded, &error)) << error;
        EXPECT_EQ(std::make_pair(decoded.width, decoded.height), std::make_pair(n.width, n.height));
    }
}

// A picture quiz of one question with a place and no overlay, its puzzle a
// PNG of the size given (a header alone where it is refused unread).
struct PuzzleSize : QuizFiles {
    std::vector<Problem> Read(int width, int height, QuizDefinition* quiz, bool whole = true, std::string place = "") {
        if (place.empty()) place = "0, 0, " + std::to_string(width) + ", 1";
        std::vector<uint8_t> png = FakePng(whole ? width : 1, whole ? height : 1);
        for (int i = 0; i < 4; ++i) png[16 + i] = uint8_t(width >> (24 - 8 * i)), png[20 + i] = uint8_t(height >> (24 - 8 * i));
        Write("images/grande.png", png);
        return ReadQuizSource(WriteSource("executable = \"p\"\ntitle = \"P\"\npuzzle = \"images/grande.png\"\n\n"
                                          "[[question]]\nanswer = \"x\"\nplace = [" + place + "]\n"),
                              quiz);
    }
};

TEST_F(PuzzleSize, APuzzleIsMadeToFitTheGridsColumn) {
    struct Case {
        int width, height;
        bool whole;
        std::vector<std::string> says;  // the start of each problem
        int shippedWidth, shippedHeight;  // 0: refused
    } cases[] = {
        {510, 505, true, {}, 510, 505},
        {511, 505, true, {"attention : images/grande.png fait 511 x 505 pixels : quizpack la réduit à 510 x 504"}, 510, 504},
        {1020, 200, true, {"attention : images/grande.png fait 1020 x 200 pixels : quizpack la réduit à 510 x 100"}, 510, 485},
        {510, 600, true, {}, 510, 600},
        {510, 601, true, {"attention : images/grande.png fait 510 x 601 pixels dans la grille : plus haute"}, 510, 601},
        {300, 2000, true, {"attention : images/grande.png fait 300 x 2000 pixels dans la grille"}, 300, 2000},
        {300, 2001, true, {"images/grande.png ferait 300 x 2001 pixels dans la grille, 2000 de haut au plus"}, 0, 0},
        {10000, 8, true, {"attention : images/grande.png fait 10000 x 8 pixels : quizpack la réduit à 510 x 1"}, 510, 485},
        {10001, 8, false, {"images/grande.png fait 10001 x 8 pixels ; quizpack en lit 10000 de côté et 50 millions"}, 0, 0},
        {10000, 5001, false, {"images/grande.png fait 10000 x 5001 pixels ; quizpack en lit"}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        QuizDefinition quiz;
        const std::vector<Problem> problems = Read(c.width, c.height, &quiz, c.whole);
        ASSERT_EQ(problems.size(), c.says.size());
        for (size_t i = 0; i < problems.size(); ++i) EXPECT_EQ(problems[i].message.rfind(c.says[i], 0), 0u) << problems[i].message;
        if (!c.shippedWidth) continue;
        EXPECT_EQ(std::make_pair(quiz.puzzle.info.width, quiz.puzzle.info.height), std::make_pair(c.shippedWidth, c.shippedHeight));
        // The place is scaled with the puzzle, its mark drawn and shipped.
        ASSERT_TRUE(quiz.questions[0].hasOverlay);
        EXPECT_EQ(quiz.questions[0].place[2], std::min(c.width, 510));
        EXPECT_EQ(quiz.questions[0].overlay.info.width, quiz.questions[0].place[2]);
    }
}

// A place of one pixel at the puzzle's right or bottom edge keeps a pixel
// of the scaled puzzle, and its mark is drawn there.
TEST_F(PuzzleSize, APlaceAtTheEdgeKeepsAPixelOfTheScaledPuzzle) {
    struct Case {
        int width, height;
        const char* place;
        std::array<int, 4> shipped;
    } cases[] = {
        {1020, 200, "1019, 0, 1, 1", {509, 0, 1, 1}},
        {1020, 200, "0, 199, 1, 1", {0, 99, 1, 1}},
        {1020, 200, "1019, 199, 1, 1", {509, 99, 1, 1}},
        {511, 505, "510, 504, 1, 1", {509, 503, 1, 1}},
        {510, 505, "509, 504, 1, 1", {509, 504, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ", place " + c.place);
        QuizDefinition quiz;
        const std::vector<Problem> problems = Read(c.width, c.height, &quiz, true, c.place);
        ASSERT_FALSE(HasErrors(problems)) << problems[0].message;
        EXPECT_EQ(quiz.questions[0].place, c.shipped);
        ASSERT_TRUE(quiz.questions[0].hasOverlay);
        EXPECT_EQ(std::make_pair(quiz.questions[0].overlay.info.width, quiz.questions[0].overlay.info.height), std::make_pair(1, 1));
    }
}

TEST(Marks, PlacesScaleAndFramesFollowTheirSide) {
    struct Case {
        std::array<int, 4> place;
        int from, to, toHeight;
        std::array<int, 4> scaled;
    } places[] = {
        // place                from  to   high  scaled
        {{100, 50, 200, 100},   1020, 510, 100, {50, 25, 100, 50}},
        {{1, 1, 1, 1},          1020, 510, 100, {1, 1, 1, 1}},  // rounded, never 0 wide
        {{1, 0, 3, 4},          4,    2,   2,   {1, 0, 1, 2}},  // halves round up
        // A pixel at the right or bottom edge rounds onto the far side: it
        // keeps the last pixel inside.
        {{1019, 0, 1, 1},       1020, 510, 100, {509, 0, 1, 1}},
        {{0, 199, 1, 1},        1020, 510, 100, {0, 99, 1, 1}},
        {{1019, 199, 1, 1},     1020, 510, 100, {509, 99, 1, 1}},
        {{1018, 198, 1, 1},     1020, 510, 100, {509, 99, 1, 1}},
        {{1016, 196, 1, 1},     1020, 510, 100, {508, 98, 1, 1}},
        {{0, 0, 1020, 200},     1020, 510, 100, {0, 0, 510, 100}},
        {{510, 504, 1, 1},      511,  510, 504, {509, 503, 1, 1}},
        {{509, 504, 1, 1},      510,  510, 505, {509, 504, 1, 1}},  // not scaled
    };
    for (const Case& c : places) EXPECT_EQ(ScalePlace(c.place, c.from, c.to, c.toHeight), c.scaled) << c.place[0] << ", " << c.place[1];
    for (auto [side, frame] : {std::pair{19, 2}, {29, 2}, {30, 3}, {50, 5}, {51, 5}, {400, 5}})
        EXPECT_EQ(MarkFrameWidth(side, 400), frame) << side;
    // The mark: the frame at its edges, the tint inside, the answer's band.
    RgbImage puzzle(100, 100, {0, 0, 255}), mark;
    std::string error;
    ASSERT_TRUE(DrawMark(puzzle, {10, 10, 80, 80}, "Soleil", MarkStyle{}, &mark, &error)) << error;
    EXPECT_EQ(mark.At(0, 0), (Rgb{220, 30, 40}));
    EXPECT_EQ(mark.At(79, 40), (Rgb{220, 30, 40}));
    EXPECT_EQ(mark.At(40, 20), (Rgb{89, 60, 238}));  // 35 % of the tint over the blue
    EXPECT_EQ(mark.At(2, 70), (Rgb{220, 30, 40}));   // the band at the foot
    // The answer's white letters lie inside the band (rows 59 to 74: a frame
    // of 5, a band of 16).
    int first = 80, last = -1;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            if (mark.At(x, y) == Rgb{255, 255, 255}) first = std::min(first, y), last = std::max(last, y);
    EXPECT_GE(first, 59);
    EXPECT_LE(last, 74);
    EXPECT_GT(last, first);
    EXPECT_NEAR(first + last, 59 + 74, 3) << first << " to " << last;  // centred in the band
    // The band needs the frame's height twice and 12 rows, the frame's width
    // four times: a mark a row or a column short shows its tint there.
    struct Small {
        int width, height;
        bool band;
    } smalls[] = {{80, 16, true}, {80, 15, false}, {8, 40, true}, {7, 40, false}};
    for (const Small& c : smalls) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        ASSERT_TRUE(DrawMark(puzzle, {0, 0, c.width, c.height}, "Soleil", MarkStyle{}, &mark, &error)) << error;
        EXPECT_EQ(mark.At(c.width / 2, c.height - 3) == (Rgb{220, 30, 40}), c.band);
    }
}

// A mosaic of `count` pictures of the fixture's folder.
std::string MosaicSource(int count, const std::string& section = "") {
    std::string source = "executable = \"m\"\ntitle = \"M\"\n\n[mosaique]\n" + section;
    for (int k = 0; k < count; ++k) source += "\n[[question]]\nimage = \"images/deux.png\"\nanswer = \"Mot" + std::to_string(k) + "\"\n";
    return source;
}

TEST_F(QuizFiles, AMosaicHoldsTwoTo24PicturesInTilesItMakes) {
    struct Case {
        const char* name;
        std::string source;
        std::string says;  // the first problem: "line: field: start"; empty: it builds
    } cases[] = {
        {"one picture", MosaicSource(1), "4: mosaique: 1 image : une mosaïque en assemble 2 à 24, une seule"},
        {"two", MosaicSource(2), ""},
        {"24", MosaicSource(24), ""},
        {"25", MosaicSource(25), "4: mosaique: 25 images : une mosaïque en assemble 2 à 24, pour que chaque case"},
        {"8 in one column", MosaicSource(8, "columns = 1\n"), ""},
        {"9 in one column", MosaicSource(9, "columns = 1\n"), "5: mosaique.columns: en 1 colonne, les 9 images auraient des cases de 44 pixels ; il en faut 48"},
        {"more columns than pictures", MosaicSource(3, "columns = 4\n"), "5: mosaique.columns: 4 sort de l'intervalle 1 à 3"},
        {"a question without its picture", "executable = \"m\"\ntitle = \"M\"\n\n[mosaique]\n\n[[question]]\nanswer = \"a\"\n\n[[question]]\nimage = \"images/un.gif\"\nanswer = \"b\"\n",
         "4: mosaique: [mosaique] assemble la grille des images des questions : il faut une image (image = \"...\", \xC3\xA0 "
         "c\xC3\xB4t\xC3\xA9 du fichier du quiz) \xC3\xA0 chaque question, et la question 1 n'en a pas"},
        {"a picture of its own and a place", MosaicSource(2) + "overlay = \"images/un.gif\"\n", "13: question[2].overlay: avec [mosaique], quizpack le fait lui-même"},
        {"an image without a mosaic", "executable = \"m\"\ntitle = \"M\"\npuzzle = \"images/grille.gif\"\n\n[[question]]\nimage = \"images/un.gif\"\nanswer = \"a\"\n",
         "6: question[1].image: champ inconnu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteSource(c.source);
        QuizDefinition quiz;
        const std::vector<Problem> problems = ReadQuizSource(path, &quiz);
        if (c.says.empty()) {
            ASSERT_FALSE(HasErrors(problems)) << problems[0].message;
            // Each question's tile is its place; a found one shows its marked tile.
            const MosaicPlan* plan = MosaicPlanOf(quiz);
            ASSERT_NE(plan, nullptr);
            EXPECT_EQ(quiz.package.layoutType, 1);
            EXPECT_LE(quiz.puzzle.info.width, 510);
            EXPECT_EQ(quiz.questions.back().place, plan->layout.Tile(int(quiz.questions.size()) - 1));
            EXPECT_LE(quiz.questions.back().place[1] + quiz.questions.back().place[3], 460);
            EXPECT_EQ(quiz.questions[0].letters, 3);  // "Mot0": the digit is no letter
            continue;
        }
        ASSERT_TRUE(HasErrors(problems));
        EXPECT_EQ((std::to_string(problems[0].line) + ": " + problems[0].field + ": " + problems[0].message).rfind(c.says, 0), 0u)
            << problems[0].line << ": " << problems[0].field << ": " << problems[0].message;
    }
    MosaicLayout layout;
    std::string error;
    ASSERT_TRUE(LayOutMosaic(24, 0, &layout, &error));
    EXPECT_EQ(std::make_pair(layout.columns, layout.tile), std::make_pair(5, 84));  // the largest tiles
    ASSERT_TRUE(LayOutMosaic(2, 0, &layout, &error));
    EXPECT_EQ(std::make_pair(layout.columns, layout.width), std::make_pair(2, 510));
}

// A clip-art picture, opaque red on its left half and transparent black on
// its right, sits on the quiz's background where quizpack draws it anew.
TEST_F(QuizFiles, TransparentPicturesSitOnTheBackground) {
    auto clipArt = [](int width, int height) {
        std::vector<uint8_t> samples;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                samples.insert(samples.end(), x < width / 2 ? std::initializer_list<uint8_t>{255, 0, 0, 255}
                                                            : std::initializer_list<uint8_t>{0, 0, 0, 0});
        return LibpngOf(width, height, PNG_FORMAT_RGBA, samples);
    };
    Write("images/pomme.png", clipArt(40, 40));
    Write("images/large.png", clipArt(1020, 200));
    const std::string head = "executable = \"t\"\ntitle = \"T\"\nbackground = [10, 200, 30]\n";
    const Rgb background = {10, 200, 30}, red = {255, 0, 0};
    {
        SCOPED_TRACE("a mosaic");
        QuizDefinition quiz;
        const std::vector<Problem> problems = ReadQuizSource(
            WriteSource(head + "\n[mosaique]\n\n[[question]]\nimage = \"images/pomme.png\"\nanswer = \"Pomme\"\n"
                               "\n[[question]]\nimage = \"images/pomme.png\"\nanswer = \"Poire\"\n"),
            &quiz);
        ASSERT_FALSE(HasErrors(problems)) << problems[0].message;
        RgbImage puzzle;
        std::string error;
        ASSERT_TRUE(DecodePicture(quiz.puzzle.bytes, &puzzle, &error)) << error;
        const std::array<int, 4> tile = MosaicPlanOf(quiz)->layout.Tile(1);
        const int middle = tile[1] + tile[3] / 2;
        EXPECT_EQ(puzzle.At(tile[0] + tile[2] / 4, middle), red);
        EXPECT_EQ(puzzle.At(tile[0] + tile[2] * 3 / 4, middle), background);
    }
    {
        SCOPED_TRACE("a puzzle scaled to the grid's column");
        QuizDefinition quiz;
        const std::vector<Problem> problems = ReadQuizSource(
            WriteSource(head + "puzzle = \"images/large.png\"\n\n[[question]]\nanswer = \"x\"\nplace = [0, 0, 10, 10]\n"), &quiz);
        ASSERT_FALSE(HasErrors(problems)) << problems[0].message;
        ASSERT_EQ(quiz.puzzleImage.width, 510);
        EXPECT_EQ(quiz.puzzleImage.At(100, 50), red);
        EXPECT_EQ(quiz.puzzleImage.At(400, 50), background);
    }
}

TEST_F(QuizFiles, AFolderOfPicturesIsAQuiz) {
    for (auto [folder, name] : {std::pair{"Animaux de la ferme", "Animaux-de-la-ferme"}, {"\xC3\xA9t\xC3\xA9", "ete"}, {"!?", "quiz"}})
        EXPECT_EQ(ExecutableOfFolder(folder), name);
    const fs::path images = dir / "images";
    fs::remove(images / "texte.gif");
    Write("images/Zebre.png", FakePng(8, 8));
    Write("images/\xC3\xA9lan.png", FakePng(8, 8));
    Write("images/notes.txt", {'x'});
    Write("images/10 - Loup.png", FakePng(8, 8));
    Write("images/2_chat.png", FakePng(8, 8));
    // Hidden files are no pictures: a Mac's "._" beside each copied picture
    // (not a picture at all), any name beginning with a dot.
    Write("images/._2_chat.png", {0, 5, 22, 7});
    Write("images/.vignette.png", FakePng(8, 8));
    EXPECT_EQ(PicturesOfFolder(images.string()),
              (std::vector<std::string>{"2_chat.png", "10 - Loup.png", "deux.png", "\xC3\xA9lan.png", "grille.gif", "un.gif", "Zebre.png"}));
    std::string source, error;
    bool kept = true;
    size_t pictures = 0;
    ASSERT_TRUE(WriteNewSource(images.string(), &source, &kept, &pictures, &error)) << error;
    EXPECT_FALSE(kept);
    QuizDefinition quiz;
    const std::vector<Problem> problems = ReadQuizSource(source, &quiz);
    EXPECT_FALSE(HasErrors(problems));
    EXPECT_EQ(quiz.package.title, "Images");
    EXPECT_EQ(quiz.package.questions[1].answer1, "Loup");
    EXPECT_EQ(quiz.package.questions[3].answer1, "\xC9lan");
    ASSERT_TRUE(WriteNewSource(images.string(), &source, &kept, &pictures, &error));
    EXPECT_TRUE(kept);  // never written over
    fs::remove_all(dir / "one");
    fs::create_directories(dir / "one");
    Write("one/seule.png", FakePng(8, 8));
    EXPECT_FALSE(WriteNewSource((dir / "one").string(), &source, &kept, &pictures, &error));
    EXPECT_NE(error.find("contient 1 image(s)"), std::string::npos) << error;
}

TEST_F(QuizFiles, AFolderWhoseNamesGiveNoQuizWritesNothingAndSaysWhy) {
    struct Case {
        const char* name;
        std::vector<std::string> pictures;
        std::vector<std::string> says;  // each a line of the message, after the first
    } cases[] = {
        {"a picture and its copy", {"vache.png", "Vache (2).png", "chat.png"},
         {"vache.png et Vache (2).png donnent la m\xC3\xAAme r\xC3\xA9ponse, \xC2\xAB Vache \xC2\xBB ; gardez une seule de ces images"}},
        {"a picture and two copies", {"vache.png", "vache - Copie.png", "vache copie 2.png"},
         {"vache.png et vache - Copie.png donnent", "vache.png et vache copie 2.png donnent"}},
        {"one answer but for the case", {"chat.png", "CHAT.png"}, {"CHAT.png et chat.png donnent"}},
        {"a character and a number alone", {"\xE7\x8C\xAB.png", "1789.png", "vache.png"},
         {"1789.png : ce nom ne donne aucune lettre", "\xE7\x8C\xAB.png : le caract\xC3\xA8re \xC2\xAB \xE7\x8C\xAB \xC2\xBB (U+732B)"}},
        {"not UTF-8", {"caf\xE9.png", "vache.png"}, {"caf?.png : ce nom n'est pas \xC3\xA9" "crit en UTF-8"}},
        {"two numbers, two answers", {"vache 2.png", "vache.png"}, {}},
        {"two order numbers", {"01-vache.png", "02-chat.png"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = dir / "dossier";
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const std::string& picture : c.pictures) Write("dossier/" + picture, FakePng(8, 8));
        std::string source, error;
        bool kept = false;
        size_t pictures = 0;
        const bool written = WriteNewSource(folder.string(), &source, &kept, &pictures, &error);
        EXPECT_EQ(written, c.says.empty()) << error;
        EXPECT_EQ(fs::exists(folder / "quiz.toml"), c.says.empty());
        if (c.says.empty()) continue;
        EXPECT_EQ(error.rfind(folder.string() + " : rien n'est \xC3\xA9" "crit", 0), 0u) << error;
        std::vector<std::string> lines;
        for (size_t at = error.find("\n  "); at != std::string::npos; at = error.find("\n  ", at + 1))
            lines.push_back(error.substr(at + 3, error.find('\n', at + 1) - at - 3));
        ASSERT_EQ(lines.size(), c.says.size()) << error;
        for (size_t k = 0; k < lines.size(); ++k) EXPECT_EQ(lines[k].rfind(c.says[k], 0), 0u) << lines[k];
    }
}

TEST_F(QuizFiles, AKeptSourceMakesTheExeItsExecutableNames) {
    fs::create_directories(dir / "Ferme");
    Write("Ferme/vache.png", FakePng(8, 8));
    Write("Ferme/chat.png", FakePng(8, 8));
    const std::string folder = Utf8OfPath(dir / "Ferme");
    for (const char* executable : {"Ferme", "animaux"}) {
        SCOPED_TRACE(executable);
        if (std::string(executable) != "Ferme") {
            // The author renames the program in the quiz.toml quizpack wrote.
            std::vector<uint8_t> toml;
            ASSERT_TRUE(ReadFileBytes(folder + "/quiz.toml", &toml));
            std::string text(toml.begin(), toml.end());
            const std::string written = "executable = \"Ferme\"";
            const size_t at = text.find(written);
            ASSERT_NE(at, std::string::npos) << text;
            text.replace(at, written.size(), std::string("executable = \"") + executable + "\"");
            Write("Ferme/quiz.toml", {text.begin(), text.end()});
            fs::remove(dir / "Ferme" / "Ferme.exe");
        }
        std::ostringstream out, err;
        ASSERT_EQ(NewCommand(folder, PlayerLikeStub(), "stub.exe", nullptr, "", out, err), 0) << out.str() << err.str();
        EXPECT_TRUE(fs::is_regular_file(dir / "Ferme" / (std::string(executable) + ".exe"))) << out.str();
        EXPECT_EQ(fs::exists(dir / "Ferme" / "Ferme.exe"), std::string(executable) == "Ferme");
    }
}

// What a teacher reads after a drop: the files and what each is for, the
// folder by its name, the answers one a line, how to change them.
TEST_F(QuizFiles, TheBoxAfterADropSaysWhatIsReadyAndHowToChangeIt) {
    const WebCore core = {"var QuizCore;", {0x00, 0x61, 0x73, 0x6D, 0x01}};
    const std::string oiseaux = "Les oiseaux du jardin";
    fs::create_directories(dir / oiseaux);
    for (const char* picture : {"merle.png", "02-rouge-gorge.png", "m\xC3\xA9sange.png"})
        Write(oiseaux + "/" + picture, FakePng(8, 8));
    const std::string ready =
        "Le quiz \xC2\xAB Les oiseaux du jardin \xC2\xBB est pr\xC3\xAAt, dans le dossier \xC2\xAB Les oiseaux du jardin \xC2\xBB :\n"
        "- Les-oiseaux-du-jardin.exe : le jeu pour Windows (un double clic le lance) ;\n";
    const std::string page =
        "- Les-oiseaux-du-jardin.html : le m\xC3\xAAme jeu dans un navigateur, sur un ordinateur, une tablette ou un "
        "t\xC3\xA9l\xC3\xA9phone.\n\n";
    const std::string change =
        " : ouvrez quiz.toml avec le Bloc-notes, changez le texte entre guillemets, enregistrez, puis faites glisser "
        "quiz.toml sur quizpack.exe.";
    struct Case {
        const char* name;
        std::string dropped;
        bool withCore;
        int rc;
        std::string box;
    } cases[] = {
        {"a folder of pictures", oiseaux, true, 0,
         ready + page +
             "Les r\xC3\xA9ponses, tir\xC3\xA9" "es des noms des images :\n"
             "02-rouge-gorge.png : Rouge gorge\nmerle.png : Merle\nm\xC3\xA9sange.png : M\xC3\xA9sange\n\n"
             "Le tiret d'un nom est devenu une espace (02-rouge-gorge.png) : qui tape \xC2\xAB Rouge-gorge \xC2\xBB lit "
             "\xC2\xAB Quasiment \xC2\xBB. Si la r\xC3\xA9ponse s'\xC3\xA9" "crit avec un tiret, remettez-le dans quiz.toml.\n\n"
             "Pour changer une r\xC3\xA9ponse, le titre ou votre nom" + change},
        {"the folder again", oiseaux, true, 0,
         ready + page +
             "quiz.toml \xC3\xA9tait d\xC3\xA9j\xC3\xA0 dans le dossier : quizpack l'a gard\xC3\xA9, avec ses r\xC3\xA9ponses.\n\n"
             "Pour changer le quiz" + change},
        {"without the page's core", oiseaux, false, 0,
         ready + "La page web n'est pas faite : ce quizpack n'a pas le c\xC5\x93ur du jeu\n\n"
             "quiz.toml \xC3\xA9tait d\xC3\xA9j\xC3\xA0 dans le dossier : quizpack l'a gard\xC3\xA9, avec ses r\xC3\xA9ponses.\n\n"
             "Pour changer le quiz" + change},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out, err;
        DropReport report;
        EXPECT_EQ(DropCommand(Utf8OfPath(dir / c.dropped), PlayerLikeStub(), "stub.exe", c.withCore ? &core : nullptr,
                              "ce quizpack n'a pas le c\xC5\x93ur du jeu", out, err, &report),
                  c.rc)
            << err.str();
        EXPECT_EQ(DropBoxText(report), c.box);
    }
    // The command line keeps its counts and bytes.
    std::ostringstream out, err;
    DropReport report;
    fs::remove(dir / oiseaux / "quiz.toml");
    ASSERT_EQ(NewCommand(Utf8OfPath(dir / oiseaux), PlayerLikeStub(), "stub.exe", &core, "", out, err, &report), 0);
    EXPECT_NE(out.str().find("  02-rouge-gorge.png : Rouge gorge\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("ressources ajout\xC3\xA9" "es au lecteur"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Les-oiseaux-du-jardin.html \xC3\xA9" "crit"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace quizpack
