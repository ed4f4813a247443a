#include <gtest/gtest.h>

#include "text.h"

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
    std::string out, error;
    ASSERT_TRUE(Utf8ToCp1252("\xC5\x92uvre \xE2\x80\x94 ", &out, &error));
    EXPECT_EQ(out, "\x8Cuvre \x97 ");
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
        {"truncated sequence", "ab\xC3", "invalid UTF-8 at byte 3"},
        {"bad continuation", "\xC3\x28", "invalid UTF-8"},
        {"overlong form", "\xC0\xAF", "invalid UTF-8"},
        {"surrogate", "\xED\xA0\x80", "invalid UTF-8"},
        {"lone continuation", "\x80", "invalid UTF-8"},
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

}  // namespace
}  // namespace quizpack
