// A picture's file name gives `quizpack new` the answer its author meant,
// or says why it cannot; a folder's pictures come in the order people read.
#include <gtest/gtest.h>

#include "write/picture_name.h"

namespace quizpack {
namespace {

TEST(PictureNames, AFileNameGivesTheAnswerItsAuthorMeantOrSaysWhyNot) {
    struct Case {
        const char* file;
        const char* answer;   // UTF-8; nullptr when the name gives a problem
        const char* problem;  // how the problem starts; the file named first, what to do last
    } cases[] = {
        // file                                   answer                        problem
        {"vache-normande.jpg",                    "Vache normande",              nullptr},
        {"\xC3\xA9" "cureuil_roux.PNG",           "\xC3\x89" "cureuil roux",     nullptr},  // accents kept, the capital too
        {"--a--b.gif",                            "A b",                         nullptr},
        {"Oie.bmp",                               "Oie",                         nullptr},
        {"\xC3\xA0 la ferme.png",                  "\xC3\x80 la ferme",             nullptr},  // à, the first accented small letter
        {"oie",                                   "Oie",                         nullptr},  // no ending: all of it
        // A leading number that orders the files; not one read with the words.
        {"01-vache.jpg",                          "Vache",                       nullptr},
        {"2_chat.png",                            "Chat",                        nullptr},
        {"10 - Loup.jpg",                         "Loup",                        nullptr},
        {"3. ours.png",                           "Ours",                        nullptr},
        {"01 vache.jpg",                          "Vache",                       nullptr},  // padded with a zero
        {"3 petits cochons.png",                  "3 petits cochons",            nullptr},
        {"0 degr\xC3\xA9.png",                    "0 degr\xC3\xA9",              nullptr},  // a lone 0 pads nothing
        {"2024-chat.png",                         "Chat",                        nullptr},
        {"chat-2024.png",                         "Chat 2024",                   nullptr},
        {"3chats.png",                            "3chats",                      nullptr},
        {"1.5 litre.png",                         "1.5 litre",                   nullptr},
        {"01-02-vache.png",                       "01 02 vache",                 nullptr},
        {"01-vache (2).jpg",                      "Vache",                       nullptr},
        // A copy's marks, as Windows, a Mac, GNOME and browsers write them.
        {"vache (2).jpg",                         "Vache",                       nullptr},
        {"vache (deux).jpg",                      "Vache (deux)",                nullptr},
        {"vache(1).jpg",                          "Vache",                       nullptr},
        {"vache - Copie.jpg",                     "Vache",                       nullptr},
        {"vache - Copie (2).jpg",                 "Vache",                       nullptr},
        {"vache - Copy.jpg",                      "Vache",                       nullptr},
        {"vache copie.jpg",                       "Vache",                       nullptr},
        {"Vache copy 2.jpg",                      "Vache",                       nullptr},
        {"vache (copie 2).jpg",                   "Vache",                       nullptr},
        {"Copie de vache.jpg",                    "Vache",                       nullptr},
        {"Copy of vache.jpg",                     "Vache",                       nullptr},
        {"vache 2.jpg",                           "Vache 2",                     nullptr},
        {"photocopie.jpg",                        "Photocopie",                  nullptr},
        {"copie.jpg",                             "Copie",                       nullptr},
        {"copie de.jpg",                          "Copie de",                    nullptr},
        // No letter left to type.
        {"1789.png",                              nullptr, "1789.png : ce nom ne donne aucune lettre \xC3\xA0 taper"},
        {"01-1789.png",                           nullptr, "01-1789.png : ce nom ne donne aucune lettre"},
        {"(2).png",                               nullptr, "(2).png : ce nom ne donne aucune lettre"},
        {"---.png",                               nullptr, "---.png : ce nom ne donne aucune lettre"},
        // Characters the quiz cannot write, and names that are not UTF-8.
        {"\xE7\x8C\xAB.png",                      nullptr, "\xE7\x8C\xAB.png : le caract\xC3\xA8re \xC2\xAB \xE7\x8C\xAB \xC2\xBB (U+732B) n'existe pas dans la page de codes 1252"},
        {"chat-\xF0\x9F\x98\x80.png",             nullptr, "chat-\xF0\x9F\x98\x80.png : le caract\xC3\xA8re \xC2\xAB \xF0\x9F\x98\x80 \xC2\xBB (U+1F600)"},
        {"\xCE\xA9mega.png",                      nullptr, "\xCE\xA9mega.png : le caract\xC3\xA8re \xC2\xAB \xCE\xA9 \xC2\xBB (U+03A9)"},
        {"\xC5\x92uf.png",                        "\xC5\x92uf",                  nullptr},  // Œ is CP1252's
        {"caf\xE9.png",                           nullptr, "caf?.png : ce nom n'est pas \xC3\xA9" "crit en UTF-8 (l'octet 0xE9, le 4e)"},
        {"caf\xC3.png",                           nullptr, "caf?.png : ce nom n'est pas \xC3\xA9" "crit en UTF-8"},  // cut mid-letter
        {"caf\xC3",                               nullptr, "caf? : ce nom n'est pas \xC3\xA9" "crit en UTF-8"},  // cut by the name's end
        {"a\tb.png",                              nullptr, "a\tb.png : le caract\xC3\xA8re de contr\xC3\xB4le U+0009 ne se tape pas"},
        {"a\x1F" "b.png",                         nullptr, "a\x1F" "b.png : le caract\xC3\xA8re de contr\xC3\xB4le U+001F"},
        {"a\x7F.png",                             nullptr, "a\x7F.png : le caract\xC3\xA8re de contr\xC3\xB4le U+007F"},
        {"a~b.png",                               "A~b",                         nullptr},  // 0x7E, the last before DEL
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const NameAnswer got = AnswerOfFileName(c.file);
        if (c.answer) {
            EXPECT_EQ(got.answer, c.answer);
            EXPECT_EQ(got.problem, "");
            continue;
        }
        EXPECT_EQ(got.answer, "");
        EXPECT_EQ(got.problem.rfind(c.problem, 0), 0u) << got.problem;
        EXPECT_NE(got.problem.find("; renommez l'image"), std::string::npos) << got.problem;
    }
    // What a pupil who types the hyphen back reads about: a hyphen between letters only.
    for (const auto& [file, hyphened] : std::vector<std::pair<std::string, std::string>>{
             {"rouge-gorge.png", "Rouge-gorge"}, {"merle-.png", ""}, {"-merle.png", ""}, {"01-merle - Copie.png", ""}})
        EXPECT_EQ(AnswerOfFileName(file).hyphened, hyphened) << file;
}

TEST(PictureNames, AFolderNameGivesATitleTheQuizCanWrite) {
    EXPECT_EQ(TitleOfFolderName("animaux_de-la ferme").answer, "Animaux de la ferme");
    EXPECT_EQ(TitleOfFolderName("01-animaux").answer, "01 animaux");  // a title orders nothing
    const NameAnswer greek = TitleOfFolderName("\xCE\xB6\xCF\x8E\xCE\xB1");
    EXPECT_EQ(greek.answer, "");
    EXPECT_EQ(greek.problem.rfind("le dossier \xCE\xB6\xCF\x8E\xCE\xB1 donne son titre au quiz, et les caract\xC3\xA8res", 0), 0u)
        << greek.problem;
    EXPECT_NE(greek.problem.find("renommez le dossier"), std::string::npos) << greek.problem;
}

TEST(PictureNames, AFolderOrdersItsNamesWithoutCaseOrAccentsNumbersAsNumbers) {
    struct Case {
        const char* a;
        const char* b;
        bool aFirst;
    } cases[] = {
        // a                 b                 a first
        {"2_chat.png",       "10 - Loup.jpg",  true},
        {"10 - Loup.jpg",    "2_chat.png",     false},
        {"img9.png",         "img10.png",      true},
        {"img10.png",        "img9.png",       false},
        {"x009.png",         "x10.png",        true},  // zeros in front count for nothing
        {"x10.png",          "x009.png",       false},
        {"IMG02.png",        "img2.png",       true},  // one number, one key: then the bytes
        {"img2.png",         "IMG02.png",      false},
        {"chat",             "chat2",          true},  // a name that ends first
        {"chat2",            "chat",           false},
        {"\xC3\xA9lan.png",  "Zebre.png",      true},
        {"zebre.png",        "\xC3\x89lan.png", false},
        {"b.png",            "a10.png",        false},
        {"2.png",            "a.png",          true},
        {"x12.png",          "x13.png",        true},  // as many digits: compared digit by digit
        {"x13.png",          "x12.png",        false},
        {"vache.jpg",        "vache (2).jpg",  true},  // the stems first: the picture before its copy
        {"vache (2).jpg",    "vache.jpg",      false},
        {"chat.gif",         "chat.png",       true},  // one stem: the endings
        {"chat.png",         "chat.gif",       false},
        {"same.png",         "same.png",       false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(ComesBeforeInFolder(c.a, c.b), c.aFirst);
    }
}

}  // namespace
}  // namespace quizpack
