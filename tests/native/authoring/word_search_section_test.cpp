// [motsmeles]: the word search a source asks for, judged and made.
#include "authoring_fixtures.h"
#include "sections/word_search/word_search_section.h"

namespace quizpack {
namespace {

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
    const WordSearchPlan* plan = WordSearchPlanOf(quiz);
    ASSERT_NE(plan, nullptr);
    const PuzzleGeometry& g = plan->geometry;
    // The strip the player writes the count into is empty, as wide as the text needs.
    for (int y = g.kTop + g.cell * g.rows; y < puzzle.height; ++y)
        for (int x = 0; x < puzzle.width; ++x) ASSERT_EQ(puzzle.At(x, y), (Rgb{255, 255, 255}));
    const PuzzleStyle style;
    const char* letters[] = {"CREME", "NEWYORK", "LOEUF"};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k + 1);
        const QuestionDefinition& q = quiz.questions[k];
        const WordPlace& place = plan->search.places[k];
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
            word += plan->search.cells[place.row + kDirections[place.direction].dy * i]
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
        {"a seed past 31 bits", "columns = 9\nrows = 8\nseed = 2147483648\n", nullptr, "seed", "motsmeles.seed", "2147483648 sort de l'intervalle 0 à 2147483647"},
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


}  // namespace
}  // namespace quizpack
