#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "answers/answer_compare.h"
#include "model/stored_form.h"

namespace quiz {
namespace {

std::string Accepted(std::string plain) {
    TransformAnswerText(plain.data());
    return plain;
}

std::string Typed(const std::string& plain) {
    char buffer[260] = {};
    std::strncpy(buffer, plain.c_str(), 259);
    NormalizeTypedAnswer(buffer);
    return buffer;
}

std::string Verdict(const std::string& accepted, const std::string& typed) {
    return ChooseVerdict(Accepted(accepted), Typed(typed));
}

TEST(NormalizeTypedAnswer, TrimsOnlyPlainSpacesThenEncodes) {
    EXPECT_EQ(Typed("  paris  "), Accepted("PARIS"));
    EXPECT_EQ(Typed("   "), "");
    EXPECT_EQ(Typed(" "), "");
    EXPECT_EQ(Typed(""), "");
    EXPECT_EQ(Typed("a"), Accepted("A"));
    EXPECT_EQ(Typed(" a b "), Accepted("A B"));
    EXPECT_EQ(Typed("\tx\t"), Accepted("\tX\t"));
    EXPECT_EQ(Typed("\xA0x"), Accepted("\xA0X"));
}

TEST(ChooseVerdict, TheTenTextsAreExact) {
    EXPECT_STREQ(kVerdictIdee, "y a de l'id\xE9" "e");
    EXPECT_EQ(std::strlen(kVerdictIdee), 13u);
    EXPECT_STREQ(kVerdictBravo, "BRAVO");
    EXPECT_STREQ(kVerdictFaux, "FAUX");
    EXPECT_STREQ(kVerdictUnknown, "?");
    EXPECT_STREQ(kVerdictAnagramme, "Anagramme");
    EXPECT_STREQ(kVerdictQuasiment, "Quasiment");
    EXPECT_STREQ(kVerdictPresque, "Presque");
    EXPECT_STREQ(kVerdictTropCourt, "Trop court");
    EXPECT_STREQ(kVerdictTropLong, "Trop long");
    EXPECT_STREQ(kVerdictPasLoin, "Pas loin");
}

TEST(ChooseVerdict, Verdicts) {
    const std::string idee = kVerdictIdee;
    struct Case {
        const char* accepted;
        std::string typed;
        std::string verdict;
    } cases[] = {
        {"PARIS", "  paris  ", "BRAVO"},
        {"PARIS", "Paris", "BRAVO"},
        {"PARIS", "PARIS", "BRAVO"},
        {"PARIS", "Par\xEDs", "Quasiment"},
        {"PARIS", "", "?"},
        {"PARIS", "     ", "?"},
        {"PARIS", "PARSI", "Anagramme"},
        {"AMOR", "ROMA", "Anagramme"},
        {"AMOR", "AMRO", "Anagramme"},  // distance 2, but the anagram test comes first
        {"PARIS", "PA RIS", "Quasiment"},
        {"PARIS", "PAIRES", "Presque"},
        {"\xC9T\xC9", "\xE9t\xE9", "BRAVO"},  // à-þ fold to À-Þ
        {"ETE", "\xC9T\xC9", "FAUX"},        // accents count
        {"ETE", "ETA", "FAUX"},              // three bytes or fewer: no hints
        {"ETE", "", "?"},
        {"ETE", "ete", "BRAVO"},
        {"AB", "BA", "FAUX"},
        {"CONSTANTINOPLE", "CONSTANTINO", "Pas loin"},
        {"CONSTANTINOPLE", "CONSTANTINOPL", "Quasiment"},
        {"CONSTANTINOPLE", "CONSTANTINOP", "Presque"},
        {"CONSTANTINOPLE", "ONSTANTINOPL", "Presque"},
        {"ABCDEFGHIJ", "ABCDEFGHI", "Quasiment"},
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQ", "Trop court"},  // 85 % of 20
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOP", "Pas loin"},    // 80 %, not above
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO", "FAUX"},         // 75 %, not above
        {"ABCDEFGHI", "ABCDEF", "FAUX"},                             // E <= 9
        {"VERSAILLES", "VERSAILLESABC", "Trop long"},
        {"VERSAILLES", "VERSAILLES" + std::string(10, 'X'), "Trop long"},
        {"VERSAILLES", "VERSAILLES" + std::string(11, 'X'), "Pas loin"},
        {"VERSAILLES", "VERSAILLES" + std::string(15, 'X'), "Pas loin"},
        {"VERSAILLES", "VERSAILLES" + std::string(20, 'X'), "Pas loin"},
        {"VERSAILLES", "VERSAILLES" + std::string(21, 'X'), "FAUX"},
        {"VERSAILLES", "VERSAILLES" + std::string(25, 'X'), "FAUX"},
        {"VERSAILLES", "XXXVERSAILLES", "Trop long"},
        // The containment scan never steps back into a failed run.
        {"AAABCDEFGHIJKLXY", "AABCDEFGHIJKL", idee},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRSTUVWXYZ" "1"
                                       "2",
         "Presque"},
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQ123", idee},  // m 20 > 5 x 3
        {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKL123", "FAUX"},          // m 15 = 5 x 3
        {"MARSEILLE", "LYON", "FAUX"},
        // A phone's apostrophes are the keyboard's; the quotes beside them are not.
        {"L'ITALIE", "l\x92italie", "BRAVO"},
        {"L'ITALIE", "l\x91italie", "BRAVO"},
        {"L'ITALIE", "l\x93italie", "Quasiment"},
        {"L'ITALIE", "l\x90italie", "Quasiment"},
        {"L\x92ITALIE", "l'italie", "BRAVO"},  // an accepted ’ from another maker folds too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.accepted) + " <- '" + c.typed + "'");
        EXPECT_EQ(Verdict(c.accepted, c.typed), c.verdict);
    }
}

TEST(AnswerEditDistance, Levenshtein) {
    EXPECT_EQ(AnswerEditDistance("", ""), 0);
    EXPECT_EQ(AnswerEditDistance("", "ABC"), 3);
    EXPECT_EQ(AnswerEditDistance("ABC", ""), 3);
    EXPECT_EQ(AnswerEditDistance("KITTEN", "SITTING"), 3);
    EXPECT_EQ(AnswerEditDistance("FLAW", "LAWN"), 2);
    EXPECT_EQ(AnswerEditDistance("AB", "BA"), 2);
    std::string a(259, 'A'), b(259, 'B');
    EXPECT_EQ(AnswerEditDistance(a, b), 259);
    EXPECT_EQ(AnswerEditDistance(std::string(400, 'A'), std::string(300, 'A')), 100);
}

TEST(IsAnswerAnagram, SameBytesInAnyOrder) {
    EXPECT_TRUE(IsAnswerAnagram("ROMA", "AMOR"));
    EXPECT_TRUE(IsAnswerAnagram("ROMA", "ROMA"));
    EXPECT_TRUE(IsAnswerAnagram("\x8C\x14", "\x14\x8C"));
    EXPECT_FALSE(IsAnswerAnagram("ROMA", "ROMAN"));
    EXPECT_FALSE(IsAnswerAnagram("AAB", "ABB"));
    EXPECT_TRUE(IsAnswerAnagram("", ""));
}

TEST(AnswerContainment, ScanRule) {
    EXPECT_EQ(AnswerContainment("AAAB", "AAB"), 0);  // a scan that stepped back would find it
    EXPECT_EQ(AnswerContainment("AAAB", "AB"), -2);
    EXPECT_EQ(AnswerContainment("PARIS", "XPARISX"), 2);
    EXPECT_EQ(AnswerContainment("PARIS", "PARIS"), 2);  // equal length counts as +
    EXPECT_EQ(AnswerContainment("PARIS", "ARI"), -2);
    EXPECT_EQ(AnswerContainment("PARIS", "RIA"), 0);
    EXPECT_EQ(AnswerContainment("PARIS", "PAPARIS"), 2);
    EXPECT_EQ(AnswerContainment("PARIS", "PARIPARIS"), 2);  // restarts on the P that differed
    EXPECT_EQ(AnswerContainment("ABAC", "ABABAC"), 0);  // the restart skips the second A
    EXPECT_EQ(AnswerContainment("ABAC", "AABAX"), 0);
    EXPECT_EQ(AnswerContainment("", ""), 0);
    EXPECT_EQ(AnswerContainment("ABC", ""), 0);
    std::string accepted = "PARIS", typed = "PA";
    AnswerContainment(accepted, typed);
    EXPECT_EQ(accepted, "PARIS");
    EXPECT_EQ(typed, "PA");
}

}  // namespace
}  // namespace quiz
