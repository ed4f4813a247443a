// The kinds of section as the judge and quizpack new meet them: only through
// their records, so that every kind listed in sections/kinds.inc is judged
// alike, whatever its folder holds.
#include <algorithm>
#include <cstring>

#include "authoring_fixtures.h"
#include "judge/fields.h"
#include "sections/mosaic/mosaic_section.h"
#include "sections/section.h"
#include "text/letters.h"
#include "write/new_source.h"

namespace quizpack {
namespace {

bool IsQuestionField(const std::string& name) {
    return std::any_of(kQuestionFields.begin(), kQuestionFields.end(), [&](const Field& f) { return name == f.name; });
}

TEST(SectionKinds, EachRecordIsWholeAndItsKeyItsOwn) {
    ASSERT_FALSE(SectionKinds().empty());
    std::vector<std::string> keys;
    const Field& layout = HeaderField("layoutType");
    for (const SectionKind* kind : SectionKinds()) {
        ASSERT_NE(kind->key, nullptr);
        SCOPED_TRACE(kind->key);
        const std::string key = kind->key;
        EXPECT_FALSE(key.empty());
        // A key that is a header field's would be judged twice, or never as a section.
        EXPECT_FALSE(IsHeaderFieldName(key));
        EXPECT_NE(key, "question");
        EXPECT_EQ(std::count(keys.begin(), keys.end(), key), 0);
        keys.push_back(key);
        ASSERT_NE(kind->puzzleGiven, nullptr);
        ASSERT_NE(kind->questionFieldGiven, nullptr);
        EXPECT_GT(std::strlen(kind->puzzleGiven), 0u);
        EXPECT_GT(std::strlen(kind->questionFieldGiven), 0u);
        EXPECT_NE(kind->judge, nullptr);
        EXPECT_NE(kind->make, nullptr);
        for (const std::string& field : kind->madeQuestionFields) EXPECT_TRUE(IsQuestionField(field)) << field;
        for (const std::string& field : kind->ownQuestionFields) EXPECT_FALSE(IsQuestionField(field)) << field;
        EXPECT_TRUE(kind->defaultLayout == -1 || (kind->defaultLayout >= layout.min && kind->defaultLayout <= layout.max));
        EXPECT_GE(kind->fewestQuestions, 1);
        EXPECT_LE(kind->fewestQuestions, kind->mostQuestions);
        EXPECT_LE(kind->mostQuestions, HeaderField("question").max);
    }
    EXPECT_EQ(SectionKeys(), keys);
}

// Every kind named by its key where the judge names tables: found, offered
// for a misspelling, listed among the possible fields, owner of the header
// fields written below it, refusing the fields it makes itself.
TEST_F(QuizFiles, TheJudgeKnowsEveryKindByItsKey) {
    std::string listed = "question";
    for (size_t i = 0; i < SectionKeys().size(); ++i)
        listed += (i + 1 == SectionKeys().size() ? " et " : ", ") + SectionKeys()[i];
    const std::string top = "executable = \"essai\"\ntitle = \"Essai\"\n";
    auto said = [&](const std::string& source, int line, const std::string& field) {
        QuizDefinition quiz;
        for (const Problem& p : ReadQuizSource(WriteSource(source), &quiz))
            if (p.line == line && p.field == field) return p.message;
        return std::string("(nothing at line " + std::to_string(line) + ")");
    };
    for (const SectionKind* kind : SectionKinds()) {
        const std::string key = kind->key;
        SCOPED_TRACE(key);
        const std::string question = "\n[[question]]\nanswer = \"Paris\"\n";
        QuizDefinition quiz;
        ReadQuizSource(WriteSource(top + "\n[" + key + "]\n" + question), &quiz);
        EXPECT_EQ(quiz.section, kind);
        const std::string misspelt = key.substr(0, key.size() - 1);
        EXPECT_EQ(said(top + "\n[" + misspelt + "]\n" + question, 4, misspelt),
                  "champ inconnu : vouliez-vous \xC3\xA9" "crire \xC2\xAB " + key + " \xC2\xBB ?");
        const std::string far = said(top + "\n[" + key + "]\n" + question + "\n[zzzzzzzzzz]\n", 9, "zzzzzzzzzz");
        EXPECT_EQ(far.substr(far.size() - std::min(far.size(), listed.size())), listed) << far;
        EXPECT_NE(said(top + "\n[" + key + "]\ntitle = \"Essai\"\n" + question, 5, key + ".title")
                      .find("plus bas, elle appartient \xC3\xA0 [" + key + "]"),
                  std::string::npos);
        EXPECT_EQ(said(top + "puzzle = \"images/grille.gif\"\n\n[" + key + "]\n" + question, 3, "puzzle"),
                  kind->puzzleGiven);
        const std::map<std::string, std::string> values = {
            {"letters", "5"}, {"overlay", "\"images/un.gif\""}, {"place", "[0, 0, 65, 67]"}};
        for (const std::string& field : kind->madeQuestionFields) {
            ASSERT_TRUE(values.count(field)) << field;
            EXPECT_EQ(said(top + "\n[" + key + "]\n" + question + field + " = " + values.at(field) + "\n", 8,
                           "question[1]." + field),
                      kind->questionFieldGiven);
        }
    }
}

// quizpack new writes a mosaic of as many pictures as the mosaic's record
// takes, and its judge takes every source quizpack new writes.
TEST_F(QuizFiles, QuizpackNewTakesTheMosaicsOwnLimits) {
    const SectionKind& mosaic = kMosaicSection;
    for (int count : {mosaic.fewestQuestions - 1, mosaic.fewestQuestions, mosaic.mostQuestions, mosaic.mostQuestions + 1}) {
        SCOPED_TRACE(count);
        const fs::path folder = dir / ("dossier" + std::to_string(count));
        fs::create_directories(folder);
        for (int k = 0; k < count; ++k)
            Write(folder.filename().string() + "/mot" + char('a' + k / 26) + char('a' + k % 26) + ".png", FakePng(8, 8));
        std::string source, error;
        bool kept = false;
        size_t pictures = 0;
        const bool within = count >= mosaic.fewestQuestions && count <= mosaic.mostQuestions;
        ASSERT_EQ(WriteNewSource(folder.string(), &source, &kept, &pictures, &error), within) << error;
        EXPECT_EQ(pictures, size_t(count));
        if (!within) {
            EXPECT_NE(error.find("en assemble " + std::to_string(mosaic.fewestQuestions) + " \xC3\xA0 " +
                                 std::to_string(mosaic.mostQuestions)),
                      std::string::npos)
                << error;
            continue;
        }
        QuizDefinition quiz;
        const std::vector<Problem> problems = ReadQuizSource(source, &quiz);
        EXPECT_FALSE(HasErrors(problems)) << (problems.empty() ? "" : problems[0].message);
        EXPECT_EQ(quiz.section, &mosaic);
    }
}

// Every CP1252 byte folds to capitals A-Z, to nothing, or is no letter; a
// small letter with an accent folds as its capital does.
TEST(FoldedLetters, EveryByteFoldsToCapitalsOrIsRefused) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const char* folded = FoldedLetters(uint8_t(b));
        for (const char* c = folded; c && *c; ++c) EXPECT_TRUE(*c >= 'A' && *c <= 'Z') << folded;
        if (b >= 'a' && b <= 'z') {
            EXPECT_STREQ(folded, std::string(1, char(b - 32)).c_str());
        }
        if (b >= '0' && b <= '9') {
            EXPECT_EQ(folded, nullptr);
        }
        if (b >= 0xE0 && b <= 0xFE && b != 0xF7) {
            const char* capital = FoldedLetters(uint8_t(b - 0x20));
            ASSERT_NE(folded, nullptr);
            ASSERT_NE(capital, nullptr);
            EXPECT_STREQ(folded, capital);
        }
    }
    EXPECT_STREQ(FoldedLetters(' '), "");
    EXPECT_STREQ(FoldedLetters(0x92), "");  // a word processor's apostrophe
    EXPECT_STREQ(FoldedLetters(0x9C), "OE");
    EXPECT_STREQ(FoldedLetters(0xDF), "SS");
    EXPECT_STREQ(FoldedLetters(0xFF), "Y");
    EXPECT_EQ(FoldedLetters(0xD7), nullptr);  // the multiplication sign
    EXPECT_EQ(FoldedLetters(0xF7), nullptr);  // the division sign
}

}  // namespace
}  // namespace quizpack
