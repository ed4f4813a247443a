#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "model/lzw.h"
#include "make/lzw_encode.h"
#include "test_support.h"

namespace quiz {
namespace {

using test::Bytes;
using test::PackCodes;
using test::RandomBytes;
using test::TraceCodes;
using test::TracedCode;

struct Decoded {
    int result;
    std::vector<uint8_t> bytes;
    bool hadBuffer;
};

Decoded Decode(const std::vector<uint8_t>& stream) {
    uint8_t* out = reinterpret_cast<uint8_t*>(1);  // must be overwritten
    size_t length = 12345;
    int result = LzwDecode(stream.data(), stream.size(), &out, &length);
    Decoded d{result, {}, out != nullptr};
    if (out) {
        d.bytes.assign(out, out + length);
    } else {
        EXPECT_EQ(length, 0u);
    }
    std::free(out);
    return d;
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> stream;
    EXPECT_TRUE(LzwEncode(data.data(), data.size(), &stream));
    return stream;
}

TEST(LzwDecode, HandMadeStreams) {
    struct Case {
        const char* name;
        std::vector<std::pair<uint32_t, int>> codes;
        std::string expected;
    } cases[] = {
        {"literal then end", {{'Q', 9}, {256, 9}}, "Q"},
        {"code equal to the next free code", {{0x61, 9}, {259, 9}, {256, 9}}, "aaa"},
        {"entries in increasing order", {{'a', 9}, {'b', 9}, {259, 9}, {256, 9}}, "abab"},
        {"widen: codes read one bit wider", {{'a', 9}, {257, 9}, {'b', 10}, {259, 10}, {256, 10}},
         "abab"},
        {"widen twice", {{'x', 9}, {257, 9}, {257, 10}, {'y', 11}, {256, 11}}, "xy"},
        // After the reset the next entry made is 259 again: 'c' makes
        // 259 = "bc" (the pending string stays "b"), so 259 reads "bc".
        {"reset: width 9 and entries from 259",
         {{'a', 9}, {'b', 9}, {257, 9}, {258, 10}, {'c', 9}, {259, 9}, {256, 9}}, "abcbc"},
        {"bits after the end code are ignored", {{'z', 9}, {256, 9}, {511, 9}, {3, 9}}, "z"},
        {"first code: only its low 8 bits count", {{0x141, 9}, {256, 9}}, "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d = Decode(PackCodes(c.codes));
        EXPECT_EQ(d.result, kLzwOk);
        EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.end()), c.expected);
    }
}

TEST(LzwDecode, FailuresReportTheBytesSoFar) {
    struct Case {
        const char* name;
        std::vector<uint8_t> stream;
        int result;
        std::string bytesSoFar;
    } cases[] = {
        {"empty input", {}, kLzwNoInput, ""},
        {"input ends inside the first code", {0x30}, kLzwNoInput, ""},
        {"code above the next free code",
         PackCodes({{'a', 9}, {'b', 9}, {'c', 9}, {262, 9}, {256, 9}}), kLzwBadStream, "ab"},
        {"input runs out before the end code", PackCodes({{'a', 9}, {'b', 9}, {'c', 9}}),
         kLzwBadStream, "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d = Decode(c.stream);
        EXPECT_EQ(d.result, c.result);
        EXPECT_TRUE(d.hadBuffer);
        EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.end()), c.bytesSoFar);
    }
}

TEST(LzwDecode, WidthBeyond32BitsFails) {
    std::vector<std::pair<uint32_t, int>> codes = {{'a', 9}, {'b', 9}};
    for (int width = 9; width <= 32; ++width) codes.push_back({257, width});
    Decoded d = Decode(PackCodes(codes));
    EXPECT_EQ(d.result, kLzwBadStream);
    EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.end()), "a");
}

TEST(LzwDecode, InputLongerThanTheInputBufferIsRefused) {
    std::vector<uint8_t> stream = Encode(Bytes("short"));
    stream.resize(kLzwMaxInput + 1, 0);  // a valid stream, padded past the limit
    EXPECT_EQ(Decode(stream).result, kLzwBadStream);
    stream.resize(kLzwMaxInput);
    Decoded d = Decode(stream);
    EXPECT_EQ(d.result, kLzwOk);
    EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.end()), "short");
}

TEST(LzwDecode, OutputPastThirtyThousandBytesFailsWithinTheBuffer) {
    std::vector<uint8_t> exact = RandomBytes(kLzwMaxOutput, 7, 4);
    Decoded fits = Decode(Encode(exact));
    EXPECT_EQ(fits.result, kLzwOk);
    EXPECT_EQ(fits.bytes, exact);

    std::vector<uint8_t> over = RandomBytes(kLzwMaxOutput + 1, 7, 4);
    Decoded d = Decode(Encode(over));
    EXPECT_EQ(d.result, kLzwBadStream);
    EXPECT_LE(d.bytes.size(), kLzwMaxOutput);
    EXPECT_TRUE(std::equal(d.bytes.begin(), d.bytes.end(), over.begin()));
}

TEST(LzwDecode, EntryPastCode4095WithoutResetFails) {
    // 'a' then literals only: each code after the first makes an entry;
    // 259..4095 is 3837 entries, and the next literal would need entry 4096.
    std::vector<std::pair<uint32_t, int>> codes = {{'a', 9}};
    const int entries = kLzwMaxEntries - kLzwFirstEntry;
    for (int i = 0; i < entries; ++i) codes.push_back({'a', 9});
    std::vector<std::pair<uint32_t, int>> full = codes;
    full.push_back({256, 9});
    Decoded ok = Decode(PackCodes(full));
    EXPECT_EQ(ok.result, kLzwOk);
    EXPECT_EQ(ok.bytes.size(), static_cast<size_t>(entries + 1));

    codes.push_back({'a', 9});
    codes.push_back({256, 9});
    Decoded d = Decode(PackCodes(codes));
    EXPECT_EQ(d.result, kLzwBadStream);
    EXPECT_EQ(d.bytes.size(), static_cast<size_t>(entries));
}

TEST(LzwDecode, StartsFreshAfterAFailedCall) {
    EXPECT_EQ(Decode(PackCodes({{'a', 9}, {300, 9}})).result, kLzwBadStream);
    LzwRelease();  // a second release is harmless
    Decoded d = Decode(PackCodes({{'a', 9}, {259, 9}, {256, 9}}));
    EXPECT_EQ(d.result, kLzwOk);
    EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.end()), "aaa");
}

TEST(LzwEncode, WritesTheExactStreamOfOneByte) {
    // 0x61 at 9 bits, 256 at 9 bits, padded with zero bits.
    EXPECT_EQ(Encode(Bytes("a")), (std::vector<uint8_t>{0x30, 0xC0, 0x00}));
    std::vector<uint8_t> stream;
    EXPECT_FALSE(LzwEncode(nullptr, 0, &stream));
}

TEST(LzwEncode, RoundTripsThroughTheDecoder) {
    std::string french =
        "Le ch\xE2teau de Versailles, \xE0 l'ouest de Paris, fut la r\xE9sidence des rois. "
        "\xC9t\xE9 comme hiver, les jardins attirent des visiteurs du monde entier. ";
    std::string longFrench;
    while (longFrench.size() < 29000) longFrench += french;
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
    } cases[] = {
        {"one byte", Bytes("x")},
        {"two equal bytes", Bytes("xx")},
        {"every byte value", [] {
             std::vector<uint8_t> all(256);
             for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
             return all;
         }()},
        {"French text", Bytes(french)},
        {"long French text", Bytes(longFrench)},
        {"long run of one byte", std::vector<uint8_t>(30000, 'a')},
        {"random bytes, several resets", RandomBytes(16000, 1)},
        {"random small alphabet", RandomBytes(30000, 2, 3)},
        {"random short", RandomBytes(17, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d = Decode(Encode(c.data));
        EXPECT_EQ(d.result, kLzwOk);
        EXPECT_EQ(d.bytes, c.data);
    }
}

// Past a dictionary reset the first entry joins a string of the old
// dictionary to a byte; the stream must still decode to its input.
TEST(LzwEncode, RandomTextsRoundTripAcrossResets) {
    const std::string letters = "abcdefgh \xE9";
    for (int alphabet : {2, 10, 16, 40, 256}) {
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            for (size_t length : {11000u, 15000u, 22000u, 30000u}) {
                // 30,000 random bytes of every value don't fit a record's
                // 32,768 stored bytes: that alphabet stops at 22,000.
                if (alphabet == 256 && length > 22000) continue;
                SCOPED_TRACE("alphabet " + std::to_string(alphabet) + ", seed " +
                             std::to_string(seed) + ", " + std::to_string(length) + " bytes");
                std::vector<uint8_t> data = RandomBytes(length, seed, alphabet);
                if (alphabet == 10)
                    for (uint8_t& b : data) b = static_cast<uint8_t>(letters[b % 10]);
                Decoded d = Decode(Encode(data));
                ASSERT_EQ(d.result, kLzwOk);
                ASSERT_EQ(d.bytes, data);
            }
        }
    }
}

TEST(LzwEncode, WidensJustInTimeAndResetsWhenFull) {
    std::vector<TracedCode> codes = TraceCodes(Encode(RandomBytes(30000, 11)));
    ASSERT_GT(codes.size(), 2u);
    EXPECT_EQ(codes.back().code, static_cast<uint32_t>(kLzwEndCode));
    int resets = 0;
    for (size_t i = 1; i < codes.size(); ++i) {
        const TracedCode& c = codes[i];
        SCOPED_TRACE("code index " + std::to_string(i));
        EXPECT_LE(c.code, c.nextFree);
        if (c.code == kLzwWidenCode) {
            // Only right before a code that does not fit.
            ASSERT_LT(i + 1, codes.size());
            EXPECT_GE(codes[i + 1].code, 1u << c.width);
        } else if (c.code == kLzwResetCode) {
            ++resets;
            EXPECT_EQ(c.nextFree, static_cast<uint32_t>(kLzwMaxEntries));
        } else if (c.code != kLzwEndCode) {
            EXPECT_LT(c.nextFree, static_cast<uint32_t>(kLzwMaxEntries));
            if (c.width > 9) {
                EXPECT_GE(c.nextFree, 1u << (c.width - 1));
            }
        }
    }
    EXPECT_GE(resets, 2);
}

TEST(LzwEncode, SameInputSameBytes) {
    std::vector<uint8_t> data = RandomBytes(5000, 5, 20);
    EXPECT_EQ(Encode(data), Encode(data));
}

}  // namespace
}  // namespace quiz
