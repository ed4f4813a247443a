// The judge stage: every problem of a source with its line and field, and
// the guide's limits from the same rows of fields.
#include "authoring_fixtures.h"
#include "judge/fields.h"
#include "shell/link_address.h"
#include "sections/mosaic/mosaic_layout.h"

namespace quizpack {
namespace {

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
        {"answer without a letter", [](std::string& s) { s.replace(s.find("\"Rome\""), 6, "\"1789\""); }, "1789", "question[2].answer"},
        {"letters 0", [](std::string& s) { s.replace(s.find("letters = 12"), 12, "letters = 0"); }, "letters = 0", "question[2].letters"},
        {"answer with a trailing space", [](std::string& s) { s.replace(s.find("\"Rome\""), 6, "\"Rome \""); }, "Rome ", "question[2].answer"},
        {"answers per question 3", [](std::string& s) { s.replace(s.find("answersPerQuestion = 1"), 22, "answersPerQuestion = 3"); }, "answersPerQuestion", "answersPerQuestion"},
        {"layout type 10", [](std::string& s) { s.replace(s.find("layoutType = 3"), 14, "layoutType = 10"); }, "layoutType", "layoutType"},
        {"layout text missing", [](std::string& s) { s.erase(s.find("text = \"Indice 2\"\n"), 18); }, "layoutType =", "layoutType"},
        {"colour component 256", [](std::string& s) { s.replace(s.find("[10, 20, 30]"), 12, "[10, 256, 30]"); }, "background", "background[2]"},
        {"missing picture", [](std::string& s) { s.replace(s.find("images/un.gif"), 13, "images/non.gif"); }, "images/non.gif", "question[1].overlay"},
        {"picture that is not a picture", [](std::string& s) { s.replace(s.find("images/grille.gif"), 17, "images/texte.gif"); }, "puzzle", "puzzle"},
        {"overlay size differs from its place", [](std::string& s) { s.replace(s.find("[145, 11, 65, 67]"), 17, "[145, 11, 65, 70]"); }, "images/un.gif", "question[1].overlay"},
        {"place outside the puzzle", [](std::string& s) { s.replace(s.find("[417, 11, 31, 242]"), 18, "[430, 11, 31, 242]"); }, "[430, 11", "question[2].place"},
        {"overlay without a place", [](std::string& s) { s.erase(s.find("place = [145, 11, 65, 67]\n"), 27); }, "[[question]]\nanswer = \"Paris\"", "question[1].place"},
        {"97 questions", [](std::string& s) { for (int i = 0; i < 94; ++i) s += "\n[[question]]\nanswer = \"Oslo\"\ntext = \"N\"\n"; }, "", "question"},
        {"unknown field", [](std::string& s) { s.replace(s.find("spare = \"r\xC3\xA9serve 1\""), 0, "spar = \"x\"\n"); }, "spar = \"x\"", "question[2].spar"},
        {"built-in record over 70 bytes", [](std::string& s) {
             s.replace(s.find("https://q.example/"), 18, "www.q8#Zk!2mV@x7$Lp9&Rt4");
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

// The other side of "no letter": one letter is enough, and so is a count of 1.
TEST_F(QuizFiles, OneLetterIsEnough) {
    std::string source = Changed("letters = 12", "letters = 1");
    source.replace(source.find("\"Rome\""), 6, "\"14 R\"");
    std::ostringstream out, err;
    EXPECT_EQ(CheckCommand(WriteSource(source), out, err), 0) << err.str();
}

// The link goes to the shell and into a page's href: web and mail addresses
// only, whatever their case; www. opens as https://www.
TEST_F(QuizFiles, ALinkIsAWebOrMailAddress) {
    struct Case {
        const char* link;
        const char* opens;  // "": refused (or, for an empty link, no link)
    } cases[] = {
        {"https://a.fr", "https://a.fr"}, {"HTTP://A.FR", "HTTP://A.FR"}, {"http://x", "http://x"},
        {"mailto:moi@a.fr", "mailto:moi@a.fr"}, {"MailTo:m", "MailTo:m"},
        {"www.a.fr", "https://www.a.fr"}, {"WWW.A.FR", "https://WWW.A.FR"},
        {"http://", ""}, {"www.", ""}, {"mailto:", ""}, {"https:/a.fr", ""}, {"wwww.a.fr", ""},
        {"javascript:alert(1)", ""}, {"calc", ""}, {"C:/Windows/calc.exe", ""}, {"file:///c:/x", ""},
        {"ftp://a.fr", ""}, {"http://a b.fr", ""}, {"http://a\"b", ""}, {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        EXPECT_EQ(quiz::LinkAddress(c.link), c.opens);
        std::string source = BaseSource();
        std::string quoted;  // as TOML writes it between quotes
        for (const char* ch = c.link; *ch; ++ch) quoted += *ch == '"' ? std::string("\\\"") : std::string(1, *ch);
        source.replace(source.find("https://q.example/"), 18, quoted);
        std::ostringstream out, err;
        const bool accepted = *c.opens || !*c.link;
        EXPECT_EQ(CheckCommand(WriteSource(source), out, err), accepted ? 0 : 1) << err.str();
        if (!accepted) {
            EXPECT_NE(err.str().find("linkText: \xC2\xAB " + std::string(c.link) + " \xC2\xBB n'est pas une adresse"),
                      std::string::npos) << err.str();
        }
    }
}

TEST_F(QuizFiles, EveryProblemIsReportedNotJustTheFirst) {
    std::string source = BaseSource();
    source.replace(source.find("https://q.example/"), 18, "https://" + std::string(22, 'l'));
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


// A picture the player could not show is refused before anything is written.
TEST_F(QuizFiles, EveryPictureIsDecodedBeforeItShips) {
    std::vector<uint8_t> png = FakePng(459, 505);
    Write("images/cut.png", {png.begin(), png.begin() + png.size() / 2});
    std::vector<uint8_t> huge = FakePng(1, 1);
    for (int i : {16, 20}) huge[i] = 0x7F, huge[i + 1] = huge[i + 2] = huge[i + 3] = 0xFF;  // 2^31 - 1 square
    Write("images/huge.png", huge);
    Write("images/gif.png", FakeGif(459, 505));
    Write("images/bad.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xC0, 0, 11, 8, 0, 5, 0, 5, 3});
    // A picture beside the quiz's folder, and links that lead to it or stay in.
    const fs::path secret = dir.string() + "-secret.gif";
    fs::copy_file(dir / "images/grille.gif", secret, fs::copy_options::overwrite_existing);
    fs::create_symlink(secret, dir / "images/lien.gif");
    fs::create_symlink("grille.gif", dir / "images/ici.gif");
    const std::string up = "../" + secret.filename().string();
    auto outside = [](const std::string& path) {
        return "\xC2\xAB " + path + " \xC2\xBB sort du dossier du quiz : copiez l'image \xC3\xA0 c\xC3\xB4t\xC3\xA9 du quiz (ou dans un de "
               "ses sous-dossiers) et \xC3\xA9" "crivez son chemin depuis ce dossier, comme images/chat.png";
    };
    struct Case {
        std::string file;
        std::string says;  // empty: accepted
    } cases[] = {
        {up, outside(up)},
        {secret.string(), outside(secret.string())},
        {"images/../images/grille.gif", outside("images/../images/grille.gif")},
        {"C:/images/grille.gif", outside("C:/images/grille.gif")},
        {"C:", outside("C:")},
        {"images/lien.gif", outside("images/lien.gif")},
        {"images/ici.gif", ""},
        {"images/..grille.gif", "impossible de lire l'image images/..grille.gif"},  // a name, not a step up
        {"images/cut.png", "images/cut.png ne se d\xC3\xA9" "code pas : le d\xC3\xA9" "codeur PNG du lecteur ne lit pas cette image (fichier tronqu\xC3\xA9 ou ab\xC3\xAEm\xC3\xA9 ?)"},
        {"images/huge.png", "images/huge.png fait 2147483647 x 2147483647 pixels ; quizpack en lit 10000 de c\xC3\xB4t\xC3\xA9 et 50 millions de pixels au plus"},
        {"images/gif.png", "images/gif.png est une image GIF sous un nom d'image PNG : donnez-lui l'extension de son format, ou enregistrez-la en PNG"},
        {"images/bad.jpg", "images/bad.jpg ne se d\xC3\xA9" "code pas : cette image JPEG ne se d\xC3\xA9" "code pas (le d\xC3\xA9" "codeur dit : Bogus marker length)"},
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
        if (c.says.empty()) {
            EXPECT_EQ(rc, 0) << e.str();
            continue;
        }
        EXPECT_EQ(rc, 1);
        EXPECT_FALSE(fs::exists(out));
        EXPECT_EQ(ErrorLines(e.str()), std::vector<std::string>{path + ":" + std::to_string(LineOfText(source, "puzzle =")) + ": puzzle: " + c.says});
    }
    fs::remove(secret);
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
        {"an accented name with a z", Changed("\"essai\"", "\"z\xC3\xA8" "bre\""),
         {"1: executable: \xC2\xAB z\xC3\xA8" "bre \xC2\xBB : \xC3\xA9" "crivez \xC2\xAB zebre \xC2\xBB"}},
        {"an accented name of 64 letters", Changed("\"essai\"", "\"\xC3\xA9" + std::string(63, 'a') + "\""),
         {"1: executable: \xC2\xAB \xC3\xA9" + std::string(63, 'a') + " \xC2\xBB : \xC3\xA9" "crivez \xC2\xAB e" + std::string(63, 'a')}},
        {"an accented name of 65 letters", Changed("\"essai\"", "\"\xC3\xA9" + std::string(64, 'a') + "\""),
         {"1: executable: doit tenir en 1 \xC3\xA0 64"}},
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

// What a teacher who has never seen a TOML file writes wrong, and the whole
// of what they are told: on the command line as "ligne: champ: message", or
// (a row with a box path) as the message box says it.
TEST_F(QuizFiles, MistakesAreSaidOnceWithWhyAndWhatToDo) {
    const std::string top = "executable = \"essai\"\ntitle = \"Essai\"\npuzzle = \"images/grille.gif\"\n";
    auto question = [](const std::string& answer, const std::string& more = "") {
        return "\n[[question]]\nanswer = \"" + answer + "\"\n" + more;
    };
    const std::string five = question("Paris", "text = \"a\"\n") + question("Rome") + question("Oslo", "text = \"c\"\n") +
                             question("Berne") + question("Kiev");
    const std::string four = question("Paris") + question("Rome") + question("Oslo") + question("Berne");
    struct Case {
        const char* name;
        std::string source;
        std::string says;             // every line, or the box's whole text
        const char* box = nullptr;    // the path the box is given; null: the command line
    } cases[] = {
        {"a layout that shows texts, three without", top + "layoutType = 3\n" + five,
         "4: layoutType: layoutType = 3 montre le texte d'une question sous son image, et son image marqu\xC3\xA9" "e, quand "
         "elle est trouv\xC3\xA9" "e : il faut un texte (text = \"...\") \xC3\xA0 chaque question, et les questions 2, 4 et 5 "
         "n'en ont pas ; sans textes, choisissez layoutType = 1, qui montre l'image marqu\xC3\xA9" "e seule"},
        {"a layout that shows texts, one without", top + "layoutType = 2\n" + question("Paris", "text = \"a\"\n") + question("Rome"),
         "4: layoutType: layoutType = 2 montre le texte d'une question sous son image quand elle est trouv\xC3\xA9" "e : il faut "
         "un texte (text = \"...\") \xC3\xA0 chaque question, et la question 2 n'en a pas ; sans textes, choisissez "
         "layoutType = 0, qui ne montre aucun texte"},
        {"the word count layout, four in a row without", top + "layoutType = 7\n" + four,
         "4: layoutType: layoutType = 7 montre sous chaque image le nombre de mots de la r\xC3\xA9ponse, puis le texte de la "
         "question quand elle est trouv\xC3\xA9" "e : il faut un texte (text = \"...\") \xC3\xA0 chaque question, et les "
         "questions 1 \xC3\xA0 4 n'en ont pas ; sans textes, choisissez layoutType = 5, qui montre le nombre de mots seul"},
        // Layout 6 keeps a text it never shows: none is asked for.
        {"a layout that hides its texts", top + "layoutType = 6\n" + four, ""},
        {"texts the layout never shows", top + "layoutType = 0\n" + question("Paris", "text = \"a\"\n") + question("Rome", "text2 = \"b\"\n"),
         "4: layoutType: layoutType = 0 ne montre aucun texte : les textes des questions 1 et 2 seraient perdus ; retirez-les, "
         "ou choisissez layoutType = 2, qui montre le texte d'une question sous son image quand elle est trouv\xC3\xA9" "e"},
        {"three texts in a row are a run", top + "layoutType = 0\n" + question("Paris", "text = \"a\"\n") +
             question("Rome", "text = \"b\"\n") + question("Oslo", "text = \"c\"\n") + question("Berne"),
         "4: layoutType: layoutType = 0 ne montre aucun texte : les textes des questions 1 \xC3\xA0 3 seraient perdus ; "
         "retirez-les, ou choisissez layoutType = 2, qui montre le texte d'une question sous son image quand elle est trouv\xC3\xA9" "e"},
        {"a text and no layout", top + question("Paris") + question("Rome", "text = \"b\"\n"),
         "10: layoutType: sans layoutType, la mise en page 0 ne montre aucun texte : le texte de la question 2 serait perdu ; "
         "retirez-le, ou choisissez layoutType = 2, qui montre le texte d'une question sous son image quand elle est trouv\xC3\xA9" "e"},
        {"a text in the word count layout", top + "layoutType = 5\n" + question("Paris", "text = \"a\"\n"),
         "4: layoutType: layoutType = 5 montre sous chaque image le nombre de mots de la r\xC3\xA9ponse, et aucun texte : le "
         "texte de la question 1 serait perdu ; retirez-le, ou choisissez layoutType = 7, qui montre le nombre de mots, puis "
         "le texte quand la question est trouv\xC3\xA9" "e"},
        {"a second text in a layout of one", top + "layoutType = 2\n" + question("Paris", "text = \"a\"\ntext2 = \"b\"\n"),
         "4: layoutType: layoutType = 2 garde un seul texte par question, text : le text2 de la question 1 serait perdu ; "
         "mettez-le dans text, ou retirez-le"},
        {"two answers with one field a question", top + question("Paris") + "\n[[question]]\nanswers = [\"Rome\", \"Italie\"]\n",
         "9: answersPerQuestion: sans answersPerQuestion, chaque question a un seul champ de r\xC3\xA9ponse, mais la question 2 "
         "donne deux r\xC3\xA9ponses ; gardez-en une, ou choisissez answersPerQuestion = 2 pour deux champs par question (une "
         "question qui ne donne qu'une r\xC3\xA9ponse a alors un seul champ)"},
        // The layout lands in question 1: its texts are not judged against the default.
        {"the layout below the first question", top + question("Paris", "layoutType = 3\ntext = \"a\"\n") + question("Rome", "text = \"b\"\n"),
         "7: question[1].layoutType: layoutType vaut pour tout le quiz : \xC3\xA9" "crivez cette ligne en haut du fichier, avant "
         "le premier [[question]] ; plus bas, elle appartient \xC3\xA0 la question au-dessus"},
        {"the title below a question", "executable = \"essai\"\npuzzle = \"images/grille.gif\"\n" + question("Paris", "title = \"Essai\"\n"),
         "6: question[1].title: title vaut pour tout le quiz : \xC3\xA9" "crivez cette ligne en haut du fichier, avant le "
         "premier [[question]] ; plus bas, elle appartient \xC3\xA0 la question au-dessus"},
        {"a misspelt answer", top + "\n[[question]]\nanwser = \"Paris\"\n",
         "6: question[1].anwser: champ inconnu : vouliez-vous \xC3\xA9" "crire \xC2\xAB answer \xC2\xBB ?"},
        {"a key in capitals", top + "\n[[question]]\nANSWER = \"Paris\"\n",
         "6: question[1].ANSWER: champ inconnu : vouliez-vous \xC3\xA9" "crire \xC2\xAB answer \xC2\xBB ?"},
        {"a misspelt title, two letters off", "executable = \"essai\"\ntitel = \"Essai\"\nauteur = \"Zo\xC3\xA9\"\npuzzle = \"images/grille.gif\"\n" + question("Paris"),
         "2: titel: champ inconnu : vouliez-vous \xC3\xA9" "crire \xC2\xAB title \xC2\xBB ?\n"
         "3: auteur: champ inconnu : vouliez-vous \xC3\xA9" "crire \xC2\xAB author \xC2\xBB ?"},
        {"three letters off is no misspelling", top + "auteurs = \"Zo\xC3\xA9\"\n" + question("Paris"),
         "4: auteurs: champ inconnu ; les champs possibles ici : executable, version, title, author, subtitle, answerCaption1, "
         "answerCaption2, linkText, statusText, quizKind, answersPerQuestion, layoutType, scrambled, scorm, background, puzzle, "
         "question, motsmeles et mosaique"},
        {"a question field misspelt beyond a guess", top + "\n[[question]]\nreponse = \"Paris\"\n",
         "5: question[1].answer: manquant\n"
         "6: question[1].reponse: champ inconnu ; les champs possibles ici : answer, answers, spare, text, text2, code, "
         "letters, overlay et place"},
        {"a mosaic with two questions without pictures", "executable = \"m\"\ntitle = \"M\"\n\n[mosaique]\n" + question("a") +
             "\n[[question]]\nimage = \"images/un.gif\"\nanswer = \"b\"\n" + question("c"),
         "4: mosaique: [mosaique] assemble la grille des images des questions : il faut une image (image = \"...\", \xC3\xA0 "
         "c\xC3\xB4t\xC3\xA9 du fichier du quiz) \xC3\xA0 chaque question, et les questions 1 et 3 n'en ont pas"},
        {"the box: the file's name, the count, a line a problem", top + "layoutType = 2\ncolour = 3\n" + question("Paris") +
             question("Rome", "code = \"CODE ****\"\ntext = \"b\"\n"),
         "quiz.toml : 2 probl\xC3\xA8mes et 1 avertissement\n\n"
         "ligne 4 : layoutType : layoutType = 2 montre le texte d'une question sous son image quand elle est trouv\xC3\xA9" "e : "
         "il faut un texte (text = \"...\") \xC3\xA0 chaque question, et la question 1 n'en a pas ; sans textes, choisissez "
         "layoutType = 0, qui ne montre aucun texte\n"
         "ligne 5 : colour : champ inconnu ; les champs possibles ici : executable, version, title, author, subtitle, "
         "answerCaption1, answerCaption2, linkText, statusText, quizKind, answersPerQuestion, layoutType, scrambled, scorm, "
         "background, puzzle, question, motsmeles et mosaique\n"
         "ligne 12 : question[2].code : attention : le champ du code, large de 53 pixels, n'en montre que \xC2\xAB CODE *** \xC2\xBB "
         "; environ 8 caract\xC3\xA8res y tiennent",
         "C:\\Users\\zoe\\Quiz\\quiz.toml"},
        {"the box of a sound source", top + question("Paris"), "quiz.toml : aucun probl\xC3\xA8me\n", "/home/zoe/quiz.toml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteSource(c.source);
        std::string said;
        if (c.box) {
            QuizDefinition quiz;
            said = ProblemsForABox(c.box, ReadQuizSource(path, &quiz));
        } else {
            std::ostringstream o, e;
            EXPECT_EQ(CheckCommand(path, o, e), c.says.empty() ? 0 : 1) << e.str();
            for (const std::string& line : ErrorLines(e.str()))
                said += (said.empty() ? "" : "\n") + line.substr(line.rfind(path + ":", 0) == 0 ? path.size() + 1 : 0);
        }
        EXPECT_EQ(said, c.says);
    }
    // A problem whose line is not known (0) is said on the first one, never "ligne 0".
    EXPECT_EQ(ProblemsForABox("q.toml", {{0, "toml", "fin inattendue"}}), "q.toml : 1 probl\xC3\xA8me\n\nligne 1 : toml : fin inattendue");
}

// Typographic apostrophes become the keyboard's, and letters the player does
// not fold are pointed out; both only warn, after the problems.
TEST_F(QuizFiles, AnswersAPlayerCanType) {
    std::string source = BaseSource();
    source.replace(source.find("\"Rome\""), 6, "\"Presqu\xE2\x80\x99\xC3\xAEle\"");
    source.replace(source.find("\"Paris\""), 7, "\"C\xC5\x93ur \xC3\xA0 \xC3\xBE\"");  // Cœur à þ: à and þ end the range
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
              "\xC2\xAB Coeur \xC3\xA0 \xC3\xBE \xC2\xBB lit \xC2\xAB " +
                  Cp1252ToUtf8(PlayerVerdict(Cp("C\xC5\x93ur \xC3\xA0 \xC3\xBE"), "Coeur \xE0 \xFE")) +
                  " \xC2\xBB, et qui tape \xC2\xAB C\xC5\x92UR \xC3\x80 \xC3\x9E \xC2\xBB lit \xC2\xAB Quasiment \xC2\xBB ; seule cette "
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


// The limits the guide gives are the ones the tool applies.
// The guide's table of header fields says what the judge's rows say: whether
// a field must be given, its default, and its limits.
TEST(Guide, ItsTableOfFieldsIsTheJudgesRows) {
    std::istringstream guide(Guide());
    std::map<std::string, std::vector<std::string>> cells;  // by each name in a row's first cell
    for (std::string line; std::getline(guide, line);) {
        if (line.rfind("| `", 0) != 0) continue;
        std::vector<std::string> row;
        for (size_t at = 1, bar; (bar = line.find('|', at)) != std::string::npos; at = bar + 1)
            row.push_back(bar - at < 2 ? "" : line.substr(at + 1, bar - at - 2));
        for (size_t tick = row[0].find('`'); tick != std::string::npos; tick = row[0].find('`', row[0].find('`', tick + 1) + 1))
            cells.emplace(row[0].substr(tick + 1, row[0].find('`', tick + 1) - tick - 1), row);
    }
    auto number = [](long n) { return n < 0 ? "\xE2\x88\x92" + std::to_string(-n) : std::to_string(n); };  // "−1"
    for (const Field& field : kHeaderFields) {
        if (field.type == FieldType::Questions) continue;
        SCOPED_TRACE(field.name);
        ASSERT_TRUE(cells.count(field.name));
        const std::vector<std::string>& row = cells[field.name];
        ASSERT_EQ(row.size(), 4u);
        EXPECT_EQ(row[1], field.required ? "oui" : field.fallback ? "non (" + std::string(field.fallback) + ")" : "non");
        const std::string& limits = row[3];
        switch (field.type) {
            case FieldType::Text:
            case FieldType::Link: EXPECT_EQ(limits, std::to_string(field.max) + " caractères"); break;  // one byte each in CP1252
            case FieldType::Picture: EXPECT_NE(limits.find(number(field.max) + " x " + number(field.max) + " pixels au plus"), std::string::npos) << limits; break;
            case FieldType::Boolean: EXPECT_EQ(limits, ""); break;
            default:
                EXPECT_TRUE(limits.find(number(field.min) + " à " + number(field.max)) != std::string::npos ||
                            limits == number(field.min) + " ou " + number(field.max))
                    << limits;
        }
    }
}

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
    EXPECT_EQ(number(R"(1 question au moins, (\d+) au plus)"), HeaderField("question").max);
    EXPECT_EQ(number(R"((\d+) caractères au plus, sans espace)"), QuestionField("answer").max);
    EXPECT_EQ(number(R"(Un overlay, qui part tel quel, fait (\d+) x \1 pixels au plus)"), QuestionField("overlay").max);
    EXPECT_EQ(number(R"(jusqu'à (\d+) pixels de côté)"), kMaxLargeSide);
    EXPECT_EQ(number(R"(pixels de côté et (\d+)\s+millions de pixels)") * 1000000, kMaxLargePixels);
    EXPECT_EQ(number(R"(est réduite à (\d+) de large)"), kPictureColumn);
    EXPECT_EQ(number(R"(fait au moins (\d+) pixels de haut)"), kMinMadeHeight);
    EXPECT_EQ(number(R"(plus haute que (\d+), elle est refusée)"), kMaxPuzzleHeight);
    EXPECT_EQ(number(R"(la fenêtre en fait\s+(\d+))"), kWindowHeight);
    EXPECT_EQ(number(R"(De (\d+) à (\d+) images)"), MosaicLayout::kMinPictures);
    EXPECT_EQ(number(R"(De (\d+) à (\d+) images)", 2), MosaicLayout::kMaxPictures);
    EXPECT_EQ(number(R"(Une case fait (\d+) pixels au moins)"), MosaicLayout::kMinTile);
    EXPECT_EQ(number(R"(un écart de (\d+) au moins)"), long(kMinColourDistance));
    EXPECT_EQ(number(R"(la graine \((\d+) par défaut\))"), long(WordSearchRequest{}.seed));
}


}  // namespace
}  // namespace quizpack
