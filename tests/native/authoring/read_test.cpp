// The read stage: sources as editors save them.
#include "authoring_fixtures.h"

namespace quizpack {
namespace {

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


}  // namespace
}  // namespace quizpack
