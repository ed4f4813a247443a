// The game the web page plays: the player's rules over the portable core,
// fields instead of windows. Each case plays a small quiz made in code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    int layout = 3, perQuestion = 1;
    std::string link;
};

struct Game {
    StoredRecords stored;
    std::vector<uint8_t> letters, places;
    WebGame game;
    Game(const Quiz& q, const std::string& progress = "") {
        QuizPackage package;
        package.title = "T\xE9st \"q\"";
        package.layoutType = q.layout;
        package.answersPerQuestion = q.perQuestion;
        package.linkText = q.link;
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
        letters = LetterCountTable(std::vector<int>(q.answer1.size(), 5));
        places = AnswerPlaceTable(where);
        PackageRecords records;
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
    EXPECT_NE(json.find("\"text\":\"zz\\u0001\",\"verdict\":\"FAUX\",\"colour\":16711680"), std::string::npos) << json;
    EXPECT_NE(json.find("\"verdict\":\"BRAVO\",\"colour\":65280"), std::string::npos) << json;
    EXPECT_NE(json.find("\"marked\":1,\"hidden\":0,\"letters\":5,\"place\":[10,20,30,40]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"score\":\" 1 / 2\""), std::string::npos) << json;
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

}  // namespace
}  // namespace quiz
