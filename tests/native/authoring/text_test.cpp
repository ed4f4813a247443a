#include <gtest/gtest.h>

#include <toml++/toml.h>

#include "text/french.h"
#include "text/text.h"

namespace quizpack {
namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    for (int b = 1; b < 256; ++b) {
        std::string one(1, static_cast<char>(b)), back, error;
        std::string utf8 = Cp1252ToUtf8(one);
        ASSERT_TRUE(Utf8ToCp1252(utf8, &back, &error)) << b << ": " << error;
        EXPECT_EQ(back, one) << b;
    }
}

TEST(Cp1252, KnownCharacters) {
    EXPECT_EQ(Cp1252ToUtf8("id\xE9" "e"), "id\xC3\xA9" "e");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");      // euro sign
    EXPECT_EQ(Cp1252ToUtf8("\x9C"), "\xC5\x93");          // oe ligature
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(Cp1252ToUtf8("\x91\x92"), "\xE2\x80\x98\xE2\x80\x99");  // the quotes a word processor makes
    std::string out, error;
    ASSERT_TRUE(Utf8ToCp1252("\xC5\x92uvre \xE2\x80\x94 \xE2\x80\x98\xE2\x80\x99", &out, &error));
    EXPECT_EQ(out, "\x8Cuvre \x97 \x91\x92");
}

// A sequence cut by the end of the view, though the bytes after it would
// complete it.
TEST(Utf8, ASequenceCutAtTheEndOfTheViewIsInvalid) {
    const std::string whole = "a\xC3\xA9";
    EXPECT_EQ(FirstInvalidUtf8(whole), std::string::npos);
    EXPECT_EQ(FirstInvalidUtf8(std::string_view(whole).substr(0, 2)), 1u);
    std::string out, error;
    EXPECT_FALSE(Utf8ToCp1252(std::string_view(whole).substr(0, 2), &out, &error));
    EXPECT_EQ(error, "UTF-8 invalide \xC3\xA0 l'octet 2");
    EXPECT_EQ(Utf8TrailBytes(0xDF), 1);  // the last two-byte lead, and the first three-byte one
    EXPECT_EQ(Utf8TrailBytes(0xE0), 2);
}

TEST(Cp1252, RefusesWhatItCannotHold) {
    struct Case {
        const char* name;
        std::string utf8;
        const char* mentions;
    } cases[] = {
        {"Greek letter", "\xCE\xB1", "U+03B1"},
        {"emoji", "\xF0\x9F\x98\x80", "U+1F600"},
        {"C1 control CP1252 uses", "\xC2\x80", "U+0080"},
        {"truncated sequence", "ab\xC3", "UTF-8 invalide \xC3\xA0 l'octet 3"},
        {"bad continuation", "\xC3\x28", "UTF-8 invalide"},
        {"overlong form", "\xC0\xAF", "UTF-8 invalide"},
        {"surrogate", "\xED\xA0\x80", "UTF-8 invalide"},
        {"lone continuation", "\x80", "UTF-8 invalide"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out, error;
        EXPECT_FALSE(Utf8ToCp1252(c.utf8, &out, &error));
        EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
    }
}

TEST(Hex, BothWays) {
    std::string bytes;
    EXPECT_TRUE(FromHex("00ffA0", &bytes));
    EXPECT_EQ(bytes, std::string("\x00\xFF\xA0", 3));
    EXPECT_EQ(ToHex(bytes), "00ffa0");
    EXPECT_TRUE(FromHex("", &bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(FromHex("abc", &bytes));
    EXPECT_FALSE(FromHex("zz", &bytes));
    EXPECT_FALSE(FromHex("0 ", &bytes));
}

// The parser's English reaches authors in French; the sources are real, so a
// parser whose wording changes shows here as a fallback, not as silence.
TEST(French, TomlSyntaxErrors) {
    struct Case {
        const char* source;
        const char* french;
    } cases[] = {
        {"title = \"abc\n", "syntaxe incorrecte dans un texte : caractère de contrôle dans un texte"},
        {"title = abc\n", "une valeur : valeur illisible (un texte s'écrit entre guillemets)"},
        {"title \"abc\"\n", "une ligne clé = valeur : attendu « = », trouvé « \" »"},
        {"title = \"a\"\ntitle = \"b\"\n", "« title » est déjà défini plus haut"},
        {"[[question]\n", "un en-tête de table : attendu « ] », trouvé un saut de ligne"},
        {"[[question]]\n[question]\n", "« question » est déjà défini plus haut"},
        {"background = [1, 2\n", "une liste : fin du fichier atteinte"},
        {"x = [1,,2]\n", "attendu une valeur ou « ] », trouvé une virgule"},
        {"x = \"\\q\"\n", "séquence d'échappement inconnue « \\q »"},
        {"x = 012\n", "un nombre entier : un nombre ne commence pas par un zéro"},
        {"x = \"a\" y = 2\n", "attendu un commentaire ou la fin de la ligne, trouvé « y »"},
        {"= 3\n", "le fichier : attendu une clé, une table ou un commentaire, trouvé « = »"},
        {"x = 99999999999999999999\n", "« 99999999999999999999 » est trop grand"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        std::string description;
        try {
            (void)toml::parse(c.source);
        } catch (const toml::parse_error& e) {
            description = e.description();
        }
        ASSERT_FALSE(description.empty());
        std::string french = TomlProblemInFrench(description);
        EXPECT_NE(french.find(c.french), std::string::npos) << french;
        EXPECT_EQ(french.find("expected"), std::string::npos) << french;
    }
    EXPECT_EQ(TomlProblemInFrench("Error while parsing string: something new"),
              "syntaxe incorrecte dans un texte : l'analyseur dit (en anglais) : something new");
    EXPECT_EQ(TomlProblemInFrench("odd"), "syntaxe incorrecte : l'analyseur dit (en anglais) : odd");
}

TEST(French, CommandLineErrors) {
    const CommandLineContext top{"quizpack", {"check", "build"}, ""};
    struct Case {
        const char* what;
        CommandLineContext context;
        const char* french;
    } cases[] = {
        {"A subcommand is required", top, "quizpack : il manque la commande (check, build)"},
        {"A subcommand", {"quizpack lzw", {"encode", "decode"}, "frob"},
         "quizpack lzw : « frob » n'est pas une commande (encode, decode)"},
        {"QUIZ is required", {"quizpack check", {}, ""}, "quizpack check : il manque l'argument QUIZ"},
        {"--out is required", {"quizpack build", {}, ""}, "quizpack build : il manque l'option --out"},
        {"--out: 1 required TEXT missing", {"quizpack build", {}, ""},
         "quizpack build : --out attend une valeur"},
        {"The following argument was not expected: b", top, "quizpack : argument de trop : b"},
        {"The following arguments were not expected: b c", top,
         "quizpack : arguments de trop : b c"},
        {"The following argument was not expected: --bogus", top,
         "quizpack : option inconnue : --bogus"},
        {"Something else", top, "quizpack : ligne de commande refusée (Something else)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommandLineErrorInFrench(c.what, c.context),
                  std::string(c.french) + "\nL'aide : " + c.context.where + " --help");
}

}  // namespace
}  // namespace quizpack
