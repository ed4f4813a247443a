#include <gtest/gtest.h>

#include <functional>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/lzw.h"
#include "make/lzw_encode.h"
#include "model/package.h"
#include "make/package_writer.h"
#include "model/stored_form.h"
#include "test_support.h"

namespace quiz {
namespace {

using test::AlertCapture;
using test::Bytes;

const char kDecodeError[] = "Erreur dans le d\xE9" "chiffrage";

std::string Stored(std::string plain) {
    TransformAnswerText(plain.data());
    return plain;
}

QuizPackage SampleQuiz(int layoutType, int answersPerQuestion, int questions = 5) {
    QuizPackage quiz;
    quiz.linkText = "https://quiz.example/fr";
    quiz.statusText = "Mots m\xEAl\xE9s : la cuisine";
    quiz.quizKind = 1;
    quiz.title = "Les saveurs de France";
    quiz.author = "Am\xE9lie Durand";
    quiz.subtitle = "Trouvez les plats, dans l'ordre alphab\xE9tique";
    quiz.answerCaption1 = "Plat";
    quiz.answerCaption2 = "R\xE9gion";
    quiz.answersPerQuestion = answersPerQuestion;
    quiz.layoutType = layoutType;
    quiz.red = 12;
    quiz.green = 200;
    quiz.blue = 77;
    const char* dishes[] = {"cassoulet", "bouillabaisse", "cr\xEApe", "quiche", "ratatouille",
                            "tartiflette", "choucroute"};
    for (int k = 0; k < questions; ++k) {
        QuestionSource q;
        q.answer1 = dishes[k % 7];
        if (answersPerQuestion == 2) q.answer2 = "r\xE9gion " + std::to_string(k);
        q.spareText = "spare " + std::to_string(k);
        q.extraText = "Indice n\xB0" + std::to_string(k + 1);
        q.extraText2 = "second " + std::to_string(k);
        quiz.questions.push_back(q);
        quiz.questionLines.push_back("code " + std::string(k + 1, '*'));
    }
    return quiz;
}

struct LoadedState {
    QuizState state;
    int recordsParsed = 0;
    std::vector<test::Alert> alerts;
    LoadedState() { QuizStateInit(&state); }
    ~LoadedState() { QuizStateReleaseQuestions(&state); }
};

void Load(LoadedState* loaded, const std::vector<uint8_t>& builtIn,
          const std::vector<uint8_t>& record104, const std::vector<uint8_t>& record105) {
    AlertCapture capture;
    PackageRecords records;
    records.builtIn = {builtIn.data(), builtIn.size()};
    records.record104 = {record104.data(), record104.size()};
    records.record105 = {record105.data(), record105.size()};
    loaded->recordsParsed = LoadQuizPackage(&loaded->state, records);
    loaded->alerts = capture.alerts();
}

void LoadStored(LoadedState* loaded, const StoredRecords& stored) {
    Load(loaded, {stored.builtIn.begin(), stored.builtIn.end()}, stored.record104,
         stored.record105);
}

std::vector<uint8_t> Lzw(const std::vector<uint8_t>& plain) {
    std::vector<uint8_t> stream;
    EXPECT_TRUE(LzwEncode(plain.data(), plain.size(), &stream));
    return stream;
}

std::vector<uint8_t> BuiltIn70(const std::vector<uint8_t>& plain) {
    std::vector<uint8_t> stream = Lzw(plain);
    EXPECT_LE(stream.size(), kBuiltInRecordSize);
    stream.resize(kBuiltInRecordSize, 0);
    return stream;
}

void ExpectLoadedAsWritten(const QuizPackage& quiz, const LoadedState& loaded) {
    const QuizState& s = loaded.state;
    EXPECT_TRUE(loaded.alerts.empty());
    EXPECT_EQ(loaded.recordsParsed, 3);
    EXPECT_STREQ(s.linkText, quiz.linkText.c_str());
    EXPECT_STREQ(s.statusText, quiz.statusText.c_str());
    EXPECT_EQ(s.quizKind, quiz.quizKind);
    EXPECT_STREQ(s.title, quiz.title.c_str());
    EXPECT_STREQ(s.author, quiz.author.c_str());
    EXPECT_STREQ(s.subtitle, quiz.subtitle.c_str());
    EXPECT_STREQ(s.answerCaption1, quiz.answerCaption1.c_str());
    EXPECT_STREQ(s.answerCaption2, quiz.answerCaption2.c_str());
    EXPECT_EQ(s.questionCount, static_cast<int>(quiz.questions.size()));
    EXPECT_EQ(s.answersPerQuestion, quiz.answersPerQuestion);
    EXPECT_EQ(s.layoutType, quiz.layoutType);
    EXPECT_EQ(s.backRed, quiz.red);
    EXPECT_EQ(s.backGreen, quiz.green);
    EXPECT_EQ(s.backBlue, quiz.blue);
    ASSERT_EQ(QuestionListLength(&s), static_cast<int>(quiz.questions.size()));
    bool hasExtra = LayoutStringsPerQuestion(quiz.layoutType) > 0;
    for (size_t k = 0; k < quiz.questions.size(); ++k) {
        SCOPED_TRACE("question " + std::to_string(k + 1));
        const QuestionEntry* e = QuestionAt(&s, static_cast<int>(k));
        const QuestionSource& q = quiz.questions[k];
        EXPECT_EQ(std::string(e->answer1), Stored(q.answer1));
        EXPECT_EQ(std::string(e->answer2), quiz.answersPerQuestion == 2 ? Stored(q.answer2) : "");
        EXPECT_STREQ(e->spareText, q.spareText.c_str());
        EXPECT_STREQ(e->extraText, hasExtra ? q.extraText.c_str() : "");
        EXPECT_EQ(e->found, 0);
        EXPECT_STREQ(s.questionLines[k], quiz.questionLines[k].c_str());
    }
}

TEST(TransformAnswerText, UpperCasesThenEncodesEachByte) {
    char abc[] = "abc";
    TransformAnswerText(abc);
    EXPECT_EQ(std::string(abc), "\x14\x24\x34");
    EXPECT_EQ(StoredByte(0xE9), 0x8C);
    EXPECT_EQ(StoredByte(0xC9), 0x8C);
    EXPECT_EQ(StoredByte('A'), StoredByte('a'));
    EXPECT_EQ(StoredByte('A'), 0x14);
    EXPECT_EQ(StoredByte(0x80), 0xF8);
    EXPECT_EQ(StoredByte(0xF7), StoredByte(0xD7));
    EXPECT_EQ(StoredByte(0xFF), StoredByte(0xDF));
    EXPECT_NE(StoredByte('1'), StoredByte('!'));
    EXPECT_EQ(StoredByte(0x92), StoredByte('\''));
    // Over the bytes that upper-casing and the apostrophes' fold leave, the
    // encoding is one to one and never gives 0, so stored texts keep their length.
    bool seen[256] = {};
    for (int b = 1; b < 256; ++b) {
        if ((b >= 'a' && b <= 'z') || b >= 0xE0 || b == 0x91 || b == 0x92) continue;
        uint8_t stored = StoredByte(static_cast<uint8_t>(b));
        EXPECT_NE(stored, 0) << b;
        EXPECT_FALSE(seen[stored]) << b;
        seen[stored] = true;
    }
}

TEST(LoadQuizPackage, RoundTripsEveryLayoutAnswerCountAndScrambling) {
    const int layouts[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 255};
    for (int layout : layouts) {
        for (int answers = 1; answers <= 2; ++answers) {
            for (int scrambled = 0; scrambled < 2; ++scrambled) {
                SCOPED_TRACE("layout " + std::to_string(layout) + ", answers " +
                             std::to_string(answers) + ", scrambled " + std::to_string(scrambled));
                QuizPackage quiz = SampleQuiz(layout, answers);
                ScrambleChoice choice{scrambled == 1, scrambled == 1, scrambled == 1};
                StoredRecords stored;
                std::string error;
                ASSERT_TRUE(WritePackageRecords(quiz, choice, &stored, &error)) << error;
                LoadedState loaded;
                LoadStored(&loaded, stored);
                ExpectLoadedAsWritten(quiz, loaded);
            }
        }
    }
}

TEST(LoadQuizPackage, RoundTripsTheLargestQuiz) {
    QuizPackage quiz = SampleQuiz(3, 2, kMaxQuestions);
    quiz.title = std::string(259, 'T');
    quiz.questions[95].answer1 = std::string(259, '\xE9');
    quiz.questionLines[95] = std::string(259, 'L');
    for (int scrambled = 0; scrambled < 2; ++scrambled) {
        StoredRecords stored;
        std::string error;
        ASSERT_TRUE(WritePackageRecords(quiz, {false, scrambled == 1, scrambled == 1}, &stored,
                                        &error))
            << error;
        LoadedState loaded;
        LoadStored(&loaded, stored);
        ExpectLoadedAsWritten(quiz, loaded);
    }
}

// Long texts over a small alphabet: records that go through several
// dictionary resets.
TEST(VerifyStoredRecords, RefusesWhatThePlayerWouldReadDifferently) {
    QuizPackage quiz = SampleQuiz(3, 2, kMaxQuestions);
    const std::vector<uint8_t> noise = test::RandomBytes(96 * 250 * 3, 9, 10);
    auto text = [&](size_t k, size_t which) {
        std::string t;
        for (size_t i = 0; i < 250; ++i) t += "abcdefgh \xE9"[noise[(k * 3 + which) * 250 + i]];
        return t;
    };
    for (size_t k = 0; k < quiz.questions.size(); ++k) {
        quiz.questions[k].extraText = text(k, 0);
        quiz.questions[k].extraText2 = text(k, 1).substr(0, 20);
    }
    StoredRecords stored;
    std::string error;
    ASSERT_TRUE(WritePackageRecords(quiz, {true, true, true}, &stored, &error)) << error;
    ASSERT_GT(stored.record104.size(), 12000u);  // far past the first reset

    struct Case {
        const char* name;
        std::function<void(QuizPackage*, StoredRecords*)> change;
        const char* field;
    } cases[] = {
        {"record 104 cut by one byte", [](QuizPackage*, StoredRecords* s) { s->record104.pop_back(); },
         "enregistrements"},
        {"record 105 cut by one byte", [](QuizPackage*, StoredRecords* s) { s->record105.pop_back(); },
         "enregistrements"},
        {"another title", [](QuizPackage* q, StoredRecords*) { q->title += "!"; }, "title"},
        {"another answer", [](QuizPackage* q, StoredRecords*) { q->questions[49].answer1 = "x"; },
         "question[50].answer"},
        {"another text", [](QuizPackage* q, StoredRecords*) { q->questions[95].extraText[249] = 'z'; },
         "question[96].text"},
        {"another code line", [](QuizPackage* q, StoredRecords*) { q->questionLines[2] = "?"; },
         "question[3].code"},
        {"another colour", [](QuizPackage* q, StoredRecords*) { q->blue = 1; }, "background"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuizPackage changed = quiz;
        StoredRecords bytes = stored;
        c.change(&changed, &bytes);
        std::string message;
        EXPECT_FALSE(VerifyStoredRecords(changed, bytes, &message));
        EXPECT_NE(message.find(c.field), std::string::npos) << message;
    }
}

TEST(LoadQuizPackage, ScrambledBuiltInRecordMovesRecord104KeyStartToByte6) {
    QuizPackage quiz = SampleQuiz(1, 1);
    std::vector<uint8_t> plain;
    ASSERT_TRUE(PlainBuiltInRecord(quiz, &plain, nullptr));
    std::vector<uint8_t> builtIn = BuiltIn70(plain);
    const size_t streamSize = Lzw(plain).size();
    ASSERT_TRUE(PlainRecord104(quiz, &plain, nullptr));
    std::vector<uint8_t> record104 = Lzw(plain);
    ASSERT_TRUE(PlainRecord105(quiz, &plain, nullptr));
    std::vector<uint8_t> record105 = Lzw(plain);

    int keyPosition = 0;
    ScrambleRecord(builtIn.data(), builtIn.size(), &keyPosition);
    EXPECT_EQ(keyPosition, 69 % 21);
    EXPECT_EQ(keyPosition, 6);

    std::vector<uint8_t> fromSix = record104;
    ScrambleRecord(fromSix.data(), fromSix.size(), &keyPosition);
    LoadedState right;
    Load(&right, builtIn, fromSix, record105);
    ExpectLoadedAsWritten(quiz, right);

    std::vector<uint8_t> fromZero = record104;
    int zero = 0;
    ScrambleRecord(fromZero.data(), fromZero.size(), &zero);
    LoadedState wrong;
    Load(&wrong, builtIn, fromZero, record105);
    ASSERT_EQ(wrong.alerts.size(), 1u);
    EXPECT_EQ(wrong.state.questionCount, 0);
    EXPECT_EQ(wrong.recordsParsed, 1);

    // The built-in record counts 70 bytes whatever its resource's size: the
    // key goes on at byte 6 for a longer resource and for one cut to its
    // stream.
    for (size_t size : {builtIn.size() + 1, builtIn.size() + 30, streamSize}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> resized = builtIn;
        resized.resize(size, 0xA5);
        LoadedState sized;
        Load(&sized, resized, fromSix, record105);
        ExpectLoadedAsWritten(quiz, sized);
    }

    // A plain built-in record leaves the key at 0 for record 104.
    LoadedState plainFirst;
    Load(&plainFirst, BuiltIn70(Bytes(std::string("\0\0", 2) + quiz.linkText + "|" +
                                      quiz.statusText + "|")),
         fromZero, record105);
    ExpectLoadedAsWritten(quiz, plainFirst);
}

TEST(LoadQuizPackage, TheKeyIsTheFrenchTextAndByteZeroStaysPlain) {
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(kPackageKey), kPackageKeyLength),
              "Grille vide \xE0 remplir");
    std::vector<uint8_t> data(30, 0);
    int keyPosition = 0;
    ScrambleRecord(data.data(), data.size(), &keyPosition);
    EXPECT_EQ(data[0], 0);
    for (size_t i = 1; i < data.size(); ++i) EXPECT_EQ(data[i], kPackageKey[(i - 1) % 21]) << i;
    EXPECT_EQ(keyPosition, 29 % 21);
}

TEST(LoadQuizPackage, LeavesTheRecordBytesUnchanged) {
    StoredRecords stored;
    ASSERT_TRUE(WritePackageRecords(SampleQuiz(2, 1), {true, true, true}, &stored, nullptr));
    StoredRecords copy = stored;
    LoadedState loaded;
    LoadStored(&loaded, stored);
    EXPECT_EQ(loaded.recordsParsed, 3);
    EXPECT_EQ(stored.builtIn, copy.builtIn);
    EXPECT_EQ(stored.record104, copy.record104);
    EXPECT_EQ(stored.record105, copy.record105);
}

TEST(LoadQuizPackage, AFailedRecordStopsTheLoadAndKeepsWhatCameBefore) {
    QuizPackage quiz = SampleQuiz(1, 2);
    StoredRecords stored;
    ASSERT_TRUE(WritePackageRecords(quiz, {}, &stored, nullptr));
    std::vector<uint8_t> builtIn(stored.builtIn.begin(), stored.builtIn.end());
    std::vector<uint8_t> garbage = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

    {
        SCOPED_TRACE("built-in record fails: every default stays but the count");
        LoadedState loaded;
        Load(&loaded, garbage, stored.record104, stored.record105);
        ASSERT_EQ(loaded.alerts.size(), 1u);
        EXPECT_EQ(loaded.alerts[0].text, kDecodeError);
        EXPECT_EQ(loaded.alerts[0].caption, "Zarlo");
        EXPECT_EQ(loaded.recordsParsed, 0);
        EXPECT_EQ(loaded.state.questionCount, 0);
        EXPECT_STREQ(loaded.state.title, "nom du zarlo");
        EXPECT_STREQ(loaded.state.linkText, "");
        EXPECT_EQ(loaded.state.backRed, 90);
        EXPECT_EQ(loaded.state.firstQuestion, nullptr);
    }
    {
        SCOPED_TRACE("record 104 fails: the built-in texts stay");
        LoadedState loaded;
        Load(&loaded, builtIn, garbage, stored.record105);
        ASSERT_EQ(loaded.alerts.size(), 1u);
        EXPECT_EQ(loaded.recordsParsed, 1);
        EXPECT_EQ(loaded.state.questionCount, 0);
        EXPECT_STREQ(loaded.state.linkText, quiz.linkText.c_str());
        EXPECT_STREQ(loaded.state.title, "nom du zarlo");
        EXPECT_EQ(loaded.state.backBlue, 150);
    }
    {
        SCOPED_TRACE("record 105 missing: record 104 stays, the count is 0");
        LoadedState loaded;
        Load(&loaded, builtIn, stored.record104, {});
        ASSERT_EQ(loaded.alerts.size(), 1u);
        EXPECT_EQ(loaded.alerts[0].text, kDecodeError);
        EXPECT_EQ(loaded.recordsParsed, 2);
        EXPECT_EQ(loaded.state.questionCount, 0);
        EXPECT_STREQ(loaded.state.title, quiz.title.c_str());
        EXPECT_EQ(QuestionListLength(&loaded.state), 5);
        EXPECT_EQ(loaded.state.layoutType, 1);
        EXPECT_EQ(loaded.state.backGreen, 200);
        EXPECT_STREQ(loaded.state.questionLines[0], "");
    }
}

TEST(LoadQuizPackage, RecordParsingRules) {
    QuizPackage quiz = SampleQuiz(6, 1, 2);
    std::vector<uint8_t> builtIn = BuiltIn70(Bytes(std::string("\0\0a|b|", 6)));
    {
        SCOPED_TRACE("layout 6: two strings a question, only the first kept");
        std::vector<uint8_t> plain;
        ASSERT_TRUE(PlainRecord104(quiz, &plain, nullptr));
        LoadedState loaded;
        Load(&loaded, builtIn, Lzw(plain), Lzw(Bytes("x\r\ny\r\n")));
        EXPECT_TRUE(loaded.alerts.empty());
        EXPECT_STREQ(QuestionAt(&loaded.state, 0)->extraText, "Indice n\xB0" "1");
        EXPECT_STREQ(QuestionAt(&loaded.state, 1)->extraText, "Indice n\xB0" "2");
        EXPECT_EQ(loaded.state.backRed, 12);
    }
    {
        SCOPED_TRACE("layout 5: the colour follows the layout byte");
        std::string r104 = std::string("\0\x02\x01\x01", 4) + "T|A|S|C1|C2|one|sp|" + "\x05" +
                           "\x0A\x0B\x0C";
        LoadedState loaded;
        Load(&loaded, builtIn, Lzw(Bytes(r104)), Lzw(Bytes("line")));
        EXPECT_TRUE(loaded.alerts.empty());
        EXPECT_EQ(loaded.state.layoutType, 5);
        EXPECT_EQ(loaded.state.backRed, 10);
        EXPECT_EQ(loaded.state.backGreen, 11);
        EXPECT_EQ(loaded.state.backBlue, 12);
        EXPECT_STREQ(QuestionAt(&loaded.state, 0)->extraText, "");
        EXPECT_STREQ(loaded.state.questionLines[0], "line");  // no CR LF: runs to the end
    }
    {
        SCOPED_TRACE("record 105 with fewer lines than questions");
        QuizPackage three = SampleQuiz(0, 1, 3);
        std::vector<uint8_t> plain;
        ASSERT_TRUE(PlainRecord104(three, &plain, nullptr));
        LoadedState loaded;
        Load(&loaded, builtIn, Lzw(plain), Lzw(Bytes("first\r\n")));
        EXPECT_TRUE(loaded.alerts.empty());
        EXPECT_STREQ(loaded.state.questionLines[0], "first");
        EXPECT_STREQ(loaded.state.questionLines[1], "");
        EXPECT_STREQ(loaded.state.questionLines[2], "");
    }
    {
        SCOPED_TRACE("quiz kind is byte 1 minus one; extra bytes after the colour are not read");
        std::string r104 = std::string("\x09\x05\x00\x02", 4) + "T|A|S|C1|C2|" +
                           std::string("\x00\x01\x02\x03", 4) + "trailing";
        LoadedState loaded;
        Load(&loaded, builtIn, Lzw(Bytes(r104)), Lzw(Bytes("\r\n")));
        EXPECT_TRUE(loaded.alerts.empty());
        EXPECT_EQ(loaded.state.quizKind, 4);
        EXPECT_EQ(loaded.state.questionCount, 0);
        EXPECT_EQ(loaded.state.answersPerQuestion, 2);
        EXPECT_EQ(loaded.state.backBlue, 3);
    }
}

TEST(LoadQuizPackage, MalformedRecordsAreRefusedWholeWithTheMessage) {
    const std::string header = std::string("\0\x02\x01\x01", 4) + "T|A|S|C1|C2|";
    const std::string good104 = header + "ans|sp|" + "\x01" + "hint|" + "\x01\x02\x03";
    const std::string good70 = std::string("\0\0", 2) + "link|status|";
    struct Case {
        const char* name;
        std::string builtIn, record104, record105;
        int recordsParsed;
    } cases[] = {
        {"built-in: linkText without its bar", std::string("\0\0", 2) + "link", good104, "l",
         0},
        {"built-in: shorter than two bytes", std::string("\0", 1), good104, "l", 0},
        {"built-in: linkText of 25 bytes", std::string("\0\0", 2) + std::string(25, 'k') + "|s|",
         good104, "l", 0},
        {"built-in: statusText of 43 bytes",
         std::string("\0\0", 2) + "k|" + std::string(43, 's') + "|", good104, "l", 0},
        {"104: shorter than its four bytes", good70, std::string("\0\x02\x01", 3), "l", 1},
        {"104: 97 questions", good70, std::string("\0\x02\x61\x01", 4) + "T|A|S|C1|C2|", "l", 1},
        {"104: three answers a question", good70,
         std::string("\0\x02\x01\x03", 4) + "T|A|S|C1|C2|a|b|c|s|\x01h|\x01\x02\x03", "l", 1},
        {"104: no answers a question", good70, std::string("\0\x02\x00\x00", 4) + "T|A|S|C1|C2|",
         "l", 1},
        {"104: a title of 260 bytes", good70,
         std::string("\0\x02\x00\x01", 4) + std::string(260, 't') + "|A|S|C1|C2|" +
             std::string("\x00\x01\x02\x03", 4),
         "l", 1},
        {"104: header string runs to the end", good70, header.substr(0, header.size() - 1), "l",
         1},
        {"104: answer runs to the end", good70, header + "ans", "l", 1},
        {"104: layout byte missing", good70, header + "ans|sp|", "l", 1},
        {"104: layout string missing", good70, header + "ans|sp|\x01", "l", 1},
        {"104: a colour byte missing", good70, header + "ans|sp|\x01hint|\x01\x02", "l", 1},
        {"105: a line of 260 bytes", good70, good104, std::string(260, 'c') + "\r\n", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> builtIn = BuiltIn70(Bytes(c.builtIn));
        LoadedState loaded;
        Load(&loaded, builtIn, Lzw(Bytes(c.record104)), Lzw(Bytes(c.record105)));
        ASSERT_EQ(loaded.alerts.size(), 1u);
        EXPECT_EQ(loaded.alerts[0].text, kDecodeError);
        EXPECT_EQ(loaded.alerts[0].caption, "Zarlo");
        EXPECT_EQ(loaded.recordsParsed, c.recordsParsed);
        EXPECT_EQ(loaded.state.questionCount, 0);
        if (c.recordsParsed < 2) {
            // Nothing of a refused record 104 reaches the state.
            EXPECT_STREQ(loaded.state.title, "nom du zarlo");
            EXPECT_EQ(loaded.state.firstQuestion, nullptr);
            EXPECT_EQ(loaded.state.layoutType, 0);
        }
        if (c.recordsParsed == 0) {
            EXPECT_STREQ(loaded.state.linkText, "");
        }
    }
    // The limits themselves are fine.
    LoadedState edge;
    Load(&edge,
         BuiltIn70(Bytes(std::string("\0\0", 2) + std::string(24, 'k') + "|" +
                         std::string(42, 'k') + "|")),
         Lzw(Bytes(good104)), Lzw(Bytes(std::string(259, 'c'))));
    EXPECT_TRUE(edge.alerts.empty());
    EXPECT_EQ(std::strlen(edge.state.linkText), 24u);
    EXPECT_EQ(std::strlen(edge.state.statusText), 42u);
    EXPECT_EQ(std::strlen(edge.state.questionLines[0]), 259u);
}

TEST(WritePackageRecords, RefusesWhatTheRecordsCannotHold) {
    struct Case {
        const char* name;
        void (*change)(QuizPackage*);
        const char* mentions;
    } cases[] = {
        {"bar in a text", [](QuizPackage* q) { q->title = "a|b"; }, "title"},
        {"bar in an answer", [](QuizPackage* q) { q->questions[1].answer1 = "x|"; },
         "question 2 answer1"},
        {"linkText of 25 bytes", [](QuizPackage* q) { q->linkText = std::string(25, 'l'); },
         "linkText"},
        {"statusText of 43 bytes", [](QuizPackage* q) { q->statusText = std::string(43, 's'); },
         "statusText"},
        {"text of 260 bytes", [](QuizPackage* q) { q->author = std::string(260, 'a'); },
         "author"},
        {"97 questions", [](QuizPackage* q) { q->questions.resize(97); }, "questions"},
        {"three answers", [](QuizPackage* q) { q->answersPerQuestion = 3; },
         "answersPerQuestion"},
        {"line break in a code line", [](QuizPackage* q) { q->questionLines[0] = "a\rb"; },
         "questionLines 1"},
        {"more lines than questions", [](QuizPackage* q) { q->questionLines.resize(9); },
         "questionLines"},
        {"built-in stream over 70 bytes",
         [](QuizPackage* q) {
             q->linkText = "q8#Zk!2mV@x7$Lp9&Rt4*Wy1";
             q->statusText = "Jh3^Nb6(Dc0)Gf5_Ks8+Mz2=Qv7~Xe4<Ua1>Io9;Ey";
         },
         "enregistrement intégré"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuizPackage quiz = SampleQuiz(1, 1);
        c.change(&quiz);
        StoredRecords stored;
        std::string error;
        EXPECT_FALSE(WritePackageRecords(quiz, {}, &stored, &error));
        EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
    }
}

TEST(WritePackageRecords, SameQuizSameBytes) {
    StoredRecords a, b;
    ASSERT_TRUE(WritePackageRecords(SampleQuiz(9, 2), {true, true, false}, &a, nullptr));
    ASSERT_TRUE(WritePackageRecords(SampleQuiz(9, 2), {true, true, false}, &b, nullptr));
    EXPECT_EQ(a.builtIn, b.builtIn);
    EXPECT_EQ(a.record104, b.record104);
    EXPECT_EQ(a.record105, b.record105);
}

}  // namespace
}  // namespace quiz
