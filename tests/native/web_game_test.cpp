// The game the web page plays: the player's rules over the portable core,
// fields instead of windows. Each case plays a small quiz made in code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "answers/progress_file.h"
#include "make/package_writer.h"
#include "model/cp1252.h"
#include "model/stored_form.h"
#include "web/web_game.h"

namespace quiz {
namespace {

// The raw byte whose stored form is "-": a second answer of it hides its field.
uint8_t HiddenMarker() {
    for (int b = 1; b < 256; ++b)
        if (StoredByte(uint8_t(b)) == '-') return uint8_t(b);
    return 0;
}

struct Quiz {
    std::vector<std::string> answer1, answer2;  // answer2 "-": one visible field
    int layout = 3, perQuestion = 1, kind = 1;
    std::string link, subtitle;
    uint8_t red = 90, green = 95, blue = 150;  // the author's background
};

struct Game {
    StoredRecords stored;
    std::vector<uint8_t> letters, places;
    WebGame game;
    PackageRecords records;
    Game(const Quiz& q, const std::string& progress = "") {
        QuizPackage package;
        package.title = "T\xE9st \"q\"";
        package.subtitle = q.subtitle;
        package.quizKind = q.kind;
        package.layoutType = q.layout;
        package.answersPerQuestion = q.perQuestion;
        package.linkText = q.link;
        package.red = q.red, package.green = q.green, package.blue = q.blue;
        std::vector<AnswerPlace> where;
        for (size_t k = 0; k < q.answer1.size(); ++k) {
            QuestionSource question;
            question.answer1 = q.answer1[k];
            question.answer2 = k < q.answer2.size() ? q.answer2[k] : "";
            if (question.answer2 == "-") question.answer2 = std::string(1, char(HiddenMarker()));
            question.extraText = "Indice " + std::to_string(k + 1);
            package.questions.push_back(question);
            package.questionLines.push_back("CODE" + std::to_string(k + 1));
            where.push_back({10, 20, 30, 40});
        }
        EXPECT_TRUE(WritePackageRecords(package, {false, false, false}, &stored, nullptr));
        // Exactly their size: a read past a record's end is a fault the sanitizer sees.
        stored.record104.shrink_to_fit();
        stored.record105.shrink_to_fit();
        letters = LetterCountTable(std::vector<int>(q.answer1.size(), 5));
        places = AnswerPlaceTable(where);
        records.builtIn = {stored.builtIn.data(), stored.builtIn.size()};
        records.record104 = {stored.record104.data(), stored.record104.size()};
        records.record105 = {stored.record105.data(), stored.record105.size()};
        EXPECT_TRUE(StartWebGame(&game, records, letters.data(), letters.size(), places.data(), places.size(),
                                 reinterpret_cast<const uint8_t*>(progress.data()), progress.size()));
    }
};

TEST(WebGame, AFindRevealsWhatItsLayoutShows) {
    struct Row {
        int layout;
        bool hasHint, hintAtStart;
        const char* startText;    // the hint label's text before the find
        bool marked, hintShown;   // after question 1 is found
        const char* foundText;
    } rows[] = {
        {0, false, false, "", false, false, ""},  // layout 0 keeps no text at all
        {1, false, false, "Indice 1", true, false, "Indice 1"},
        {2, true, false, "Indice 1", false, true, "Indice 1"},   {3, true, false, "Indice 1", true, true, "Indice 1"},
        {4, true, false, "Indice 1", false, false, "Indice 1"},  {5, true, true, "en 1 mot", false, true, "en 1 mot"},
        {6, true, false, "Indice 1", true, false, "Indice 1"},   {7, true, true, "en 2 mots", false, true, "Indice 1"},
        {8, true, true, "Indice 1", false, true, "Indice 1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.layout);
        Quiz q;
        q.layout = r.layout;
        q.answer1 = {r.layout == 7 ? "PORTE CLE" : "ROME", "OSLO"};
        Game g(q);
        const WebQuestion& first = g.game.questions[0];
        EXPECT_EQ(first.hasHint, r.hasHint);
        EXPECT_EQ(first.hintShown, r.hintAtStart);
        EXPECT_EQ(first.hintText, r.startText);
        TypeAndCheck(&g.game, 1, r.layout == 7 ? "porte cle" : "rome");
        EXPECT_EQ(g.game.fields[0].verdict, "BRAVO");
        EXPECT_TRUE(first.found);
        EXPECT_EQ(first.marked, r.marked);
        EXPECT_EQ(first.hintShown, r.hintShown);
        EXPECT_EQ(first.hintText, r.foundText);
        EXPECT_EQ(ScoreText(g.game), " 1 / 2");
        EXPECT_EQ(CodeText(g.game), "CODE1");
        // The last find: layouts 4 and 8 reveal everything at once.
        TypeAndCheck(&g.game, 2, "oslo");
        EXPECT_EQ(g.game.questions[1].marked, r.layout == 4 || r.layout == 8 || r.marked);
    }
}

TEST(WebGame, AWrongAnswerHidesTheHintAgainAndNothingElseGoesBack) {
    Quiz q;
    q.layout = 2;
    q.answer1 = {"ROME", "OSLO"};
    Game g(q);
    TypeAndCheck(&g.game, 1, "rome");
    TypeAndCheck(&g.game, 1, "zzz");
    EXPECT_EQ(g.game.fields[0].verdict, "FAUX");
    EXPECT_FALSE(g.game.questions[0].hintShown);
    EXPECT_TRUE(g.game.questions[0].found);  // never set back
    EXPECT_EQ(ScoreText(g.game), " 0 / 2");
    EXPECT_EQ(CodeText(g.game), "      ");   // six spaces for none
    TypeAndCheck(&g.game, 1, std::string(90, 'R'));
    EXPECT_EQ(g.game.fields[0].text.size(), 85u);  // a field takes no more
    FillOpenFields(&g.game, 1);  // the first field spreads too
    EXPECT_EQ(g.game.fields[1].verdict, "FAUX");
}

TEST(WebGame, TwoAnswersAHiddenSecondAndTheFileThePlayerWrites) {
    Quiz q;
    q.perQuestion = 2;
    q.answer1 = {"ROME", "MONACO"};
    q.answer2 = {"ITALIE", "-"};
    // Restored: a long line cut to 85 bytes, a line ended by LF alone runs on.
    Game g(q, "rome\r\n" + std::string(100, 'x') + "\r\nmon\naco\r\nzz\r\n");
    EXPECT_EQ(g.game.fields[0].verdict, "BRAVO");
    EXPECT_EQ(g.game.fields[1].text, std::string(85, 'x'));
    EXPECT_EQ(g.game.fields[2].text, "mon\naco");
    EXPECT_TRUE(g.game.fields[3].hidden);
    EXPECT_EQ(g.game.fields[3].text, "-");
    EXPECT_EQ(g.game.fields[3].verdict, "BRAVO");
    EXPECT_FALSE(g.game.questions[0].found);
    TypeAndCheck(&g.game, 3, "monaco");
    EXPECT_TRUE(g.game.questions[1].found);  // its one field is enough
    EXPECT_EQ(ProgressBytes(g.game), "rome\r\n" + std::string(85, 'x') + "\r\nmonaco\r\n-\r\n");
    // F1: the text of field 2 into every field not reading BRAVO.
    TypeAndCheck(&g.game, 2, "italie");
    EXPECT_TRUE(g.game.questions[0].found);
    TypeAndCheck(&g.game, 1, "zzz");
    FillOpenFields(&g.game, 2);
    EXPECT_EQ(g.game.fields[0].text, "italie");
    EXPECT_EQ(g.game.fields[2].text, "monaco");  // BRAVO: kept
    SetHideFound(&g.game, true);
    EXPECT_TRUE(QuestionHidden(g.game, 2));
    EXPECT_TRUE(QuestionHidden(g.game, 1));  // found once, hidden though a field reads FAUX
    SetHideFound(&g.game, false);
    EXPECT_FALSE(QuestionHidden(g.game, 2));
}

TEST(WebGame, TheViewIsJsonOfUtf8) {
    Quiz q;
    q.answer1 = {"ROME", "OSLO"};
    Game g(q);
    TypeAndCheck(&g.game, 1, "rome");
    TypeAndCheck(&g.game, 2, "zz\x01");
    const std::string json = GameViewJson(g.game);
    EXPECT_EQ(json.rfind("{\"title\":\"T\xC3\xA9st \\\"q\\\"\",\"subtitle\":", 0), 0u) << json;  // no comma before the first key
    EXPECT_NE(json.find("\"text\":\"zz\\u0001\",\"verdict\":\"FAUX\",\"kind\":\"wrong\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"verdict\":\"BRAVO\",\"kind\":\"right\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"marked\":1,\"hidden\":0,\"letters\":5,\"place\":[10,20,30,40]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"score\":\" 1 / 2\""), std::string::npos) << json;
}

// The view names what a label is; the page's style gives it its colour.
TEST(WebGame, TheViewSaysEachVerdictsKindAndTheLabelsInk) {
    struct Row {
        const char* typed;  // against ABRICOT
        const char* verdict;
        const char* kind;
    } rows[] = {
        {"", "?", "unjudged"},          {"abricot", "BRAVO", "right"},  {"zzz", "FAUX", "wrong"},
        {"tocirba", "Anagramme", "anagram"},  // a brush of its own, apart from the hints'
        {"abricoz", "Quasiment", "hint"}, {"abric", "Presque", "hint"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        Quiz q;
        q.answer1 = {"ABRICOT"};
        Game g(q);
        if (*r.typed) TypeAndCheck(&g.game, 1, r.typed);
        const std::string json = GameViewJson(g.game);
        EXPECT_NE(json.find(std::string("\"verdict\":\"") + r.verdict + "\",\"kind\":\"" + r.kind + "\""),
                  std::string::npos) << json;
    }
    struct Background {
        uint8_t red, green, blue;
        const char* ink;
    } backgrounds[] = {
        {90, 95, 150, "dark"}, {70, 0, 0, "dark"}, {0, 70, 0, "dark"}, {69, 69, 255, "light"}, {0, 0, 0, "light"},
    };
    for (const Background& b : backgrounds) {
        SCOPED_TRACE(std::to_string(b.red) + "," + std::to_string(b.green) + "," + std::to_string(b.blue));
        Quiz q;
        q.answer1 = {"ROME"};
        q.red = b.red, q.green = b.green, q.blue = b.blue;
        const std::string json = GameViewJson(Game(q).game);
        EXPECT_NE(json.find(std::string("\"ink\":\"") + b.ink + "\""), std::string::npos) << json;
        EXPECT_NE(json.find("\"background\":" + std::to_string(b.red << 16 | b.green << 8 | b.blue) + ","),
                  std::string::npos) << json;
    }
}

TEST(WebGame, TheViewGivesALinkOnlyForAnAddressAndAHintOnlyOnceShown) {
    struct Row {
        int layout;
        const char* link;
        const char* href;
        bool hintAtStart;  // the view carries question 1's hint text before its find
        bool hintFound;    // and after it
    } rows[] = {
        {1, "www.q.fr", "https://www.q.fr", false, false},  // no hint label at all
        {2, "javascript:alert(1)", "", false, true},
        {4, "", "", false, false},                            // everything at the end only
        {6, "calc", "", false, false},                        // a label, never shown
        {8, "mailto:a@b", "mailto:a@b", true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.layout);
        Quiz q;
        q.layout = r.layout;
        q.link = r.link;
        q.answer1 = {"ROME", "OSLO"};
        Game g(q);
        const std::string start = GameViewJson(g.game);
        EXPECT_NE(start.find(std::string("\"href\":\"") + r.href + "\""), std::string::npos) << start;
        EXPECT_EQ(start.find("Indice 1") != std::string::npos, r.hintAtStart) << start;
        EXPECT_EQ(start.find("Indice 2") != std::string::npos, r.hintAtStart) << start;
        TypeAndCheck(&g.game, 1, "rome");
        const std::string found = GameViewJson(g.game);
        EXPECT_EQ(found.find("Indice 1") != std::string::npos, r.hintFound) << found;
        EXPECT_EQ(found.find("Indice 2") != std::string::npos, r.hintAtStart) << found;  // still open
        TypeAndCheck(&g.game, 2, "oslo");  // the last find: layout 4 shows every hint
        EXPECT_EQ(GameViewJson(g.game).find("Indice 2") != std::string::npos, r.hintAtStart || r.layout == 4 || r.hintFound);
    }
    Quiz q;  // a wrong answer hides the hint again, and its text goes with it
    q.layout = 2;
    q.answer1 = {"ROME"};
    Game g(q);
    TypeAndCheck(&g.game, 1, "rome");
    TypeAndCheck(&g.game, 1, "zzz");
    EXPECT_EQ(GameViewJson(g.game).find("Indice 1"), std::string::npos);
}

TEST(Cp1252, TypedTextIsWhatAnAnsiFieldHolds) {
    struct Row {
        const char* utf8;
        const char* cp1252;
    } rows[] = {{"id\xC3\xA9" "e", "id\xE9" "e"}, {"\xE2\x82\xAC", "\x80"}, {"\xCE\xA9", "?"},
                {"a\xC3", "a?"}, {"\xE2\x82", "??"}, {"\xC2\x81", "?"}, {"\xC5\x93", "\x9C"}, {"\xF0\x9F\x98\x80!", "?!"}};
    for (const Row& r : rows) EXPECT_EQ(Utf8ToCp1252Text(r.utf8), r.cp1252) << r.utf8;
    EXPECT_EQ(Cp1252ToUtf8Text("\x80\x9C\xE9"), "\xE2\x82\xAC\xC5\x93\xC3\xA9");
}

// Files a player may pick for "Reprendre", each read and judged against a
// quiz of three questions (ROME, OSLO, CAFÉ) before anything changes.
TEST(WebGame, APickedFileIsReadAndJudgedBeforeItReplacesAnything) {
    const std::string limit(kChosenProgressLimit, 'a');
    std::string wide;  // 90 letters é in UTF-8: 90 bytes of CP1252, cut to 85
    for (int i = 0; i < 90; ++i) wide += "\xC3\xA9";
    struct Row {
        const char* what;
        std::string bytes;
        const char* said;                // a part of the message
        std::vector<std::string> texts;  // the fields after it, when it is taken
    } rows[] = {
        {"CR LF", "rome\r\n\r\nzz\r\n", "1 juste", {"rome", "", "zz"}},
        {"LF alone (a Mac, a phone)", "rome\n\nzz\n", "1 juste", {"rome", "", "zz"}},
        {"CR alone (an old Mac)", "rome\roslo\rzz\r", "2 justes", {"rome", "oslo", "zz"}},
        {"no line end at the end", "rome\r\n\r\nzz", "1 juste", {"rome", "", "zz"}},
        {"a UTF-8 mark", "\xEF\xBB\xBFrome\r\n\r\nzz\r\n", "1 juste", {"rome", "", "zz"}},
        {"UTF-8 text becomes CP1252", "zz\r\n\r\ncaf\xC3\xA9\r\n", "1 juste", {"zz", "", "caf\xE9"}},
        {"a character CP1252 lacks", "\xCE\xA9\r\noslo\r\n\r\n", "1 juste", {"?", "oslo", ""}},
        {"UTF-8 of every length", "\xC2\xB0\xE2\x82\xAC\xE0\xA4\x85\xF0\x9F\x98\x80\r\noslo\r\n\r\n", "1 juste",
         {"\xB0\x80??", "oslo", ""}},
        {"CP1252 shaped as a UTF-8 pair", "\xC1\x80\r\noslo\r\n\r\n", "1 juste", {"\xC1\x80", "oslo", ""}},
        {"CP1252 shaped as a UTF-8 quad", "\xF5\x80\x80\x80\r\noslo\r\n\r\n", "1 juste",
         {"\xF5\x80\x80\x80", "oslo", ""}},
        {"a UTF-8 letter cut at the end", "zz\r\noslo\r\ncaf\xC3", "1 juste", {"zz", "oslo", "caf\xC3"}},
        {"CP1252 text stays as it is", "\r\n\r\ncaf\xE9\r\n", "1 juste", {"", "", "caf\xE9"}},
        {"a tab and a space are text", "ro\tme\r\noslo\r\nun mot\r\n", "1 juste", {"ro\tme", "oslo", "un mot"}},
        {"a line over 85 bytes", std::string(100, 'x') + "\r\noslo\r\n\r\n", "1 juste",
         {std::string(85, 'x'), "oslo", ""}},
        {"UTF-8 over 85 letters, cut once converted", wide + "\r\noslo\r\n\r\n", "1 juste", {std::string(85, '\xE9'), "oslo", ""}},
        {"one line per field, none right", "a\r\nb\r\nc\r\n", "0 juste", {"a", "b", "c"}},
        {"an empty line beyond the fields", "a\r\nb\r\nc\r\n\r\n", "0 juste", {"a", "b", "c"}},
        {"more lines than fields, one right", "rome\r\na\r\nb\r\nplus\r\n", "1 juste", {"rome", "a", "b"}},
        {"fewer lines, one right (an earlier edition)", "zz\r\noslo\r\n", "1 juste", {"zz", "oslo", ""}},
        {"another quiz: more lines, none right", "a\r\nb\r\nc\r\nd\r\n", "4 lignes pour les 3 champs", {}},
        {"another quiz: fewer lines, none right", "pomme\r\npoire\r\n", "2 lignes pour les 3 champs", {}},
        {"empty", "", "aucune r\xE9ponse", {}},
        {"a UTF-8 mark alone", "\xEF\xBB\xBF", "aucune r\xE9ponse", {}},
        {"line ends alone", "\r\n\r\n\r\n", "aucune r\xE9ponse", {}},
        {"a picture", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "pas du texte", {}},
        {"a NUL in a line", std::string("rome\0\r\n", 7), "pas du texte", {}},
        {"as large as a file may be", limit, "1 ligne pour les 3 champs", {}},
        {"larger", limit + "a", "trop grand", {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Quiz q;
        q.answer1 = {"ROME", "OSLO", "CAF\xC9"};
        Game g(q, "avant\r\n\r\n\r\n");
        SetHideFound(&g.game, true);
        // Held exactly: a read past the file's last byte is a fault the sanitizer sees.
        const std::vector<uint8_t> held(r.bytes.begin(), r.bytes.end());
        const ChosenFile file = ReadChosenFile(g.game, held.data(), held.size());
        EXPECT_EQ(file.ok, !r.texts.empty());
        EXPECT_NE(file.message.find(r.said), std::string::npos) << file.message;
        if (!file.ok) {
            EXPECT_NE(file.message.find("rien n'a chang\xE9"), std::string::npos) << file.message;
            continue;
        }
        EXPECT_TRUE(file.replaces);  // "avant" is there
        RestoreProgress(&g.game, reinterpret_cast<const uint8_t*>(file.progress.data()), file.progress.size());
        std::vector<std::string> texts;
        for (const WebField& field : g.game.fields) texts.push_back(field.text);
        EXPECT_EQ(texts, r.texts);
        EXPECT_EQ(ProgressBytes(g.game), file.progress);
        EXPECT_TRUE(g.game.hideFound);  // "Cacher" does what its box shows
        const bool third = r.texts[2] == "caf\xE9";
        EXPECT_EQ(g.game.fields[2].verdict == "BRAVO", third);
        EXPECT_EQ(g.game.fields[2].verdict == "?", r.texts[2].empty());
        EXPECT_EQ(QuestionHidden(g.game, 3), third);
    }
    // Nothing typed yet (a hidden second field's "-" is not typed): nothing
    // to replace, no question asked. That "-" is right whatever a file holds:
    // it makes no file this quiz's.
    Quiz q;
    q.perQuestion = 2;
    q.answer1 = {"ROME", "MONACO"};
    q.answer2 = {"ITALIE", "-"};
    Game fresh(q);
    auto read = [&](const std::string& bytes) {
        return ReadChosenFile(fresh.game, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    EXPECT_TRUE(read("rome\r\n").ok);
    EXPECT_FALSE(read("rome\r\n").replaces);
    EXPECT_FALSE(read("a\r\nb\r\nc\r\n-\r\ne\r\n").ok);
}

TEST(WebGame, RestoringStartsTheFieldsAgainAndKeepsCacher) {
    Quiz q;
    q.layout = 3;
    q.answer1 = {"ROME", "OSLO"};
    Game g(q);
    TypeAndCheck(&g.game, 1, "rome");
    SetHideFound(&g.game, true);
    EXPECT_TRUE(QuestionHidden(g.game, 1));
    const std::string back = "\r\noslo\r\n";
    RestoreProgress(&g.game, reinterpret_cast<const uint8_t*>(back.data()), back.size());
    EXPECT_FALSE(g.game.questions[0].found);  // found in the answers it replaced, not in these
    EXPECT_FALSE(g.game.questions[0].marked);
    EXPECT_FALSE(QuestionHidden(g.game, 1));
    EXPECT_TRUE(QuestionHidden(g.game, 2));
    EXPECT_EQ(ScoreText(g.game), " 1 / 2");
    EXPECT_EQ(CodeText(g.game), "CODE1");
    // Layout 4 reveals everything at the last find: again when restored whole.
    Quiz all;
    all.layout = 4;
    all.answer1 = {"ROME", "OSLO"};
    const std::string both = "rome\r\noslo\r\n";
    Game done(all, both);
    EXPECT_TRUE(done.game.questions[0].marked);
    RestoreProgress(&done.game, reinterpret_cast<const uint8_t*>(both.data()), both.size());
    EXPECT_TRUE(done.game.questions[0].marked);
}

// The page keeps answers under the quiz's name and, beside them, the
// fingerprint of the quiz that judged them: an author's fix keeps them all,
// and the player is told.
TEST(WebGame, AnswersKeptAcrossTheAuthorsFixAreJudgedAgainAndTheChangeIsSaid) {
    Quiz before;
    before.answer1 = {"ROME", "OSLO"};
    before.subtitle = "Capitales";
    const std::string kept = "rome\r\noslo\r\n";
    Game first(before, kept);
    const std::string print = first.game.fingerprint;
    EXPECT_EQ(print.size(), 8u);
    NoteQuizChange(&first.game, print);
    EXPECT_EQ(first.game.notice, "");  // the same quiz: nothing to say
    EXPECT_EQ(Game(before, kept).game.fingerprint, print);
    struct Row {
        const char* what;
        Quiz quiz;
        const char* score;
        std::vector<std::string> verdicts;
    } rows[] = {
        {"a corrected subtitle", {{"ROME", "OSLO"}, {}, 3, 1, 1, "", "Capitales d'Europe"}, " 2 / 2", {"BRAVO", "BRAVO"}},
        {"a changed answer", {{"ROME", "BERNE"}, {}, 3, 1, 1, "", "Capitales"}, " 1 / 2", {"BRAVO", "FAUX"}},
        {"an added question", {{"ROME", "OSLO", "BERNE"}, {}, 3, 1, 1, "", "Capitales"}, " 2 / 3", {"BRAVO", "BRAVO", "?"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Game fixed(r.quiz, kept);
        EXPECT_NE(fixed.game.fingerprint, print);
        std::vector<std::string> verdicts;
        for (const WebField& field : fixed.game.fields) verdicts.push_back(field.verdict);
        EXPECT_EQ(verdicts, r.verdicts);
        EXPECT_EQ(ScoreText(fixed.game), r.score);
        NoteQuizChange(&fixed.game, print);
        EXPECT_NE(fixed.game.notice.find("a chang\xE9"), std::string::npos);
        EXPECT_NE(GameViewJson(fixed.game).find("\"notice\":\"Ce quiz a chang\xC3\xA9"), std::string::npos);
        NoteQuizChange(&fixed.game, "");  // kept before fingerprints: nothing to compare
        EXPECT_EQ(fixed.game.notice, "");
    }
    Game nothingKept(rows[0].quiz);
    NoteQuizChange(&nothingKept.game, print);
    EXPECT_EQ(nothingKept.game.notice, "");  // no answer came back: nothing changed under the player
}

TEST(WebGame, AQuizOfAnotherKindHasNoFieldsAsInThePlayer) {
    Quiz q;
    q.kind = 2;
    q.answer1 = {"ROME", "OSLO"};
    Game g(q, "rome\r\noslo\r\n");
    EXPECT_TRUE(g.game.fields.empty());
    EXPECT_TRUE(g.game.questions.empty());
    EXPECT_EQ(ScoreText(g.game), " 0 / 2");
    EXPECT_EQ(CodeText(g.game), "");  // no score update ever ran
    const std::string bytes = "rome\r\n";
    const ChosenFile file = ReadChosenFile(g.game, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_FALSE(file.ok);
    EXPECT_NE(file.message.find("rien \xE0 reprendre"), std::string::npos);
    EXPECT_NE(GameViewJson(g.game).find("\"questions\":[],\"fields\":[]"), std::string::npos);
}

}  // namespace
}  // namespace quiz
