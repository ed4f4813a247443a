// The answers a learning platform keeps for the page: each field in its
// shortest form and back, a right answer in three characters, the limit met
// at its very character and one over cut at a field, what a cut leaves to
// the browser, answers of another quiz, and texts not in the form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "make/package_writer.h"
#include "model/stored_form.h"
#include "web/suspend_data.h"
#include "web/web_game.h"

namespace quiz {
namespace {

uint8_t HiddenMarker() {
    for (int b = 1; b < 256; ++b)
        if (StoredByte(uint8_t(b)) == '-') return uint8_t(b);
    return 0;
}

// A picture quiz of these answers (CP1252; a second answer "-" hides its
// field), the fields restored from `progress`.
struct Game {
    StoredRecords stored;
    std::vector<uint8_t> letters, places;
    PackageRecords records;
    WebGame game;
    Game(const std::vector<std::string>& answer1, const std::vector<std::string>& answer2, const std::string& progress = "",
         const std::string& title = "Q") {
        QuizPackage package;
        package.title = title;
        package.layoutType = 3;
        package.answersPerQuestion = answer2.empty() ? 1 : 2;
        std::vector<AnswerPlace> where;
        for (size_t k = 0; k < answer1.size(); ++k) {
            QuestionSource question;
            question.answer1 = answer1[k];
            question.answer2 = answer2.empty() ? "" : answer2[k] == "-" ? std::string(1, char(HiddenMarker())) : answer2[k];
            package.questions.push_back(question);
            package.questionLines.push_back("C");
            where.push_back({10, 20, 30, 40});
        }
        EXPECT_TRUE(WritePackageRecords(package, {false, false, false}, &stored, nullptr));
        letters = LetterCountTable(std::vector<int>(answer1.size(), 5));
        places = AnswerPlaceTable(where);
        records.builtIn = {stored.builtIn.data(), stored.builtIn.size()};
        records.record104 = {stored.record104.data(), stored.record104.size()};
        records.record105 = {stored.record105.data(), stored.record105.size()};
        EXPECT_TRUE(StartWebGame(&game, records, letters.data(), letters.size(), places.data(), places.size(),
                                 reinterpret_cast<const uint8_t*>(progress.data()), progress.size()));
    }
};

std::string Lines(const std::vector<std::string>& fields) {
    std::string progress;
    for (const std::string& f : fields) progress += f + "\r\n";
    return progress;
}

TEST(SuspendData, EachFieldInItsShortestFormAndBackAsTyped) {
    struct Row {
        const char* answer;  // the accepted answer (CP1252)
        const char* typed;
        const char* kept;    // the field in the platform's text
    } rows[] = {
        // answer                      typed                              kept
        {"Paris",                      "Paris",                           "\\C"},
        {"Paris",                      "PARIS",                           "\\U"},
        {"Paris",                      "paris",                           "\\l"},
        {"Saint-\xC9tienne",           "Saint-\xC9tienne",                "\\T"},  // É a capital after the hyphen
        {"Saint-\xC9tienne",           "saint-\xE9tienne",                "\\l"},
        {"Ath\xE8nes",                 "Ath\xE8nes",                      "\\C"},
        {"Ath\xE8nes",                 "ATH\xC8NES",                      "\\U"},
        {"l'Italie",                   "L'Italie",                        "\\T"},
        {"l'Italie",                   "l'Italie",                        "l'Italie"},  // no case of ours gives it
        {"l'Italie",                   "l\x92italie",                     "l\x92italie"},  // the phone's apostrophe, kept
        {"Paris",                      "",                                ""},
        {"Paris",                      "  paris ",                        "  paris "},  // right, but not as the answer reads
        {"Paris",                      "Pa|ris\\",                        "Pa\\|ris\\\\"},
        {"Paris",                      "\\U",                             "\\\\U"},
    };
    std::vector<std::string> answers, typed;
    std::string expected;
    for (const Row& r : rows) {
        answers.push_back(r.answer);
        typed.push_back(r.typed);
        expected += std::string("|") + r.kept;
    }
    answers.push_back("Rome");  // an empty last field is left out
    typed.push_back("");
    Game played(answers, {}, Lines(typed));
    const SuspendData kept = EncodeSuspendData(played.game);
    EXPECT_TRUE(kept.whole);
    EXPECT_EQ(kept.fieldsKept, answers.size());
    EXPECT_EQ(kept.text, "A1" + played.game.fingerprint + expected);
    EXPECT_EQ(kept.message, "");
    // On another computer: the very texts, judged again.
    Game back(answers, {});
    ASSERT_TRUE(RestoreSuspendData(&back.game, kept.text));
    for (size_t f = 0; f < answers.size(); ++f) {
        SCOPED_TRACE(typed[f]);
        EXPECT_EQ(back.game.fields[f].text, typed[f]);
        EXPECT_EQ(back.game.fields[f].verdict, played.game.fields[f].verdict);
    }
    EXPECT_EQ(ScoreText(back.game), ScoreText(played.game));
    EXPECT_EQ(back.game.notice, "");
}

// 96 questions of two answers, each answer 85 characters: what the worst
// and the best games take.
TEST(SuspendData, NinetySixQuestionsOfLongAnswersFoundFitAndWrongAreCutAtAField) {
    std::vector<std::string> first, second, right, wrong;
    for (int k = 1; k <= 96; ++k) {
        first.push_back(("Ville num\xE9ro " + std::to_string(k) + " ") + std::string(85, 'a').substr(0, 85 - 14 - std::to_string(k).size()));
        second.push_back(("Pays " + std::to_string(k) + " ") + std::string(85, 'b').substr(0, 85 - 6 - std::to_string(k).size()));
        ASSERT_EQ(first.back().size(), 85u);
        right.push_back(first.back());
        right.push_back(second.back());
        wrong.push_back(std::string(84, 'x') + char('0' + k % 10));
        wrong.push_back(std::string(84, 'y') + char('0' + k % 10));
    }
    Game found(first, second, Lines(right));
    ASSERT_EQ(ScoreText(found.game), " 96 / 96");
    const SuspendData best = EncodeSuspendData(found.game);
    EXPECT_TRUE(best.whole);
    EXPECT_EQ(best.text.size(), 10u + 192 * 3);
    Game missed(first, second, Lines(wrong));
    const SuspendData worst = EncodeSuspendData(missed.game);
    EXPECT_FALSE(worst.whole);
    // 47 fields of 86 characters and the mark: the 48th would pass 4,096.
    EXPECT_EQ(worst.fieldsKept, 47u);
    EXPECT_EQ(worst.text.size(), 10u + 47 * 86 + 3);
    EXPECT_EQ(worst.text.substr(worst.text.size() - 3), "|\\.");
    EXPECT_EQ(worst.message, "La plateforme ne garde que 4096 caract\xE8res de r\xE9ponses : celles des champs 48 \xE0 192 "
                             "restent dans ce navigateur seulement.");
    // In a new browser, the 47 first; in this one, the rest from its own storage.
    Game fresh(first, second);
    ASSERT_TRUE(RestoreSuspendData(&fresh.game, worst.text));
    EXPECT_EQ(fresh.game.fields[46].text, wrong[46]);
    EXPECT_EQ(fresh.game.fields[47].text, "");
    EXPECT_NE(fresh.game.notice.find("des 47 premiers champs"), std::string::npos) << fresh.game.notice;
    std::vector<std::string> browser = wrong;
    browser[0] = "older";
    browser[100] = right[100];
    Game here(first, second, Lines(browser));
    ASSERT_TRUE(RestoreSuspendData(&here.game, worst.text));
    EXPECT_EQ(here.game.fields[0].text, wrong[0]);  // the platform's, before the browser's
    EXPECT_EQ(here.game.fields[100].text, right[100]);
    EXPECT_EQ(here.game.fields[100].verdict, "BRAVO");
}

TEST(SuspendData, TheLimitIsMetAtItsCharacterAndOneOverIsCut) {
    // 47 one-answer fields of 85 characters and one of 43: 10 + 47 x 86 + 44 = 4,096.
    std::vector<std::string> answers(48, "Rome"), typed(47, std::string(85, 'z'));
    for (size_t over : {0u, 1u}) {
        SCOPED_TRACE(over);
        typed.resize(47);
        typed.push_back(std::string(43 + over, 'w'));
        Game game(answers, {}, Lines(typed));
        const SuspendData kept = EncodeSuspendData(game.game);
        EXPECT_EQ(kept.whole, over == 0);
        EXPECT_EQ(kept.text.size(), over ? 10u + 47 * 86 + 3 : 4096u);
        EXPECT_EQ(kept.fieldsKept, over ? 47u : 48u);
        // Any limit: the whole text at its length, cut one below.
        const SuspendData exact = EncodeSuspendData(game.game, kept.text.size());
        EXPECT_EQ(exact.text, kept.text);
        EXPECT_FALSE(EncodeSuspendData(game.game, kept.text.size() - 1).whole);
    }
    // The smallest limit still holds the start and the mark.
    Game one({"Rome"}, {}, Lines({"Paris"}));
    EXPECT_EQ(EncodeSuspendData(one.game, 0).text, "A1" + one.game.fingerprint + "|\\.");
    EXPECT_EQ(EncodeSuspendData(one.game, 16).text, "A1" + one.game.fingerprint + "|Paris");
}

TEST(SuspendData, AnswersOfAnotherQuizKeepTheirTextsAndWhatIsNotOursChangesNothing) {
    Game before({"Paris", "Rome"}, {"France", "-"}, Lines({"Paris", "Lyon", "ROME", "-"}));
    const std::string kept = EncodeSuspendData(before.game).text;
    EXPECT_EQ(kept, "A1" + before.game.fingerprint + "|\\C|Lyon|\\U");  // the hidden field is the game's own
    // The author changed the quiz: "Paris" named by its case would be the new answer, so it comes back empty.
    Game after({"Berlin", "Rome"}, {"France", "-"}, "", "Q2");
    ASSERT_NE(after.game.fingerprint, before.game.fingerprint);
    ASSERT_TRUE(RestoreSuspendData(&after.game, kept));
    EXPECT_EQ(after.game.fields[0].text, "");
    EXPECT_EQ(after.game.fields[1].text, "Lyon");
    EXPECT_EQ(after.game.fields[3].text, "-");
    EXPECT_NE(after.game.notice.find("chang\xE9"), std::string::npos) << after.game.notice;
    const std::string start = "A1" + before.game.fingerprint;
    for (const std::string& text : {std::string(), std::string("A1"), "A2" + before.game.fingerprint + "|x",
                                    start + "x", start + "|\\Q", start + "|a\\", start + "|\\.|x", start + "|\\Ux",
                                    start + "|x\\U", start + "|\\.\\."}) {
        SCOPED_TRACE(text);
        Game game({"Paris", "Rome"}, {"France", "-"}, Lines({"Lyon"}));
        EXPECT_FALSE(RestoreSuspendData(&game.game, text));
        EXPECT_EQ(game.game.fields[0].text, "Lyon");
        EXPECT_NE(game.game.notice.find("ne se lisent pas"), std::string::npos);
    }
    // Nothing kept yet but the start: every field empty, the browser's too.
    Game game({"Paris", "Rome"}, {"France", "-"}, Lines({"Lyon"}));
    EXPECT_TRUE(RestoreSuspendData(&game.game, start));
    EXPECT_EQ(game.game.fields[0].text, "");
}

}  // namespace
}  // namespace quiz
