// The PNG decoder on hand-made files: chunk scan, header checks, error codes,
// inflater data errors, unfiltering and the rows it writes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "images/png_decoder.h"
#include "png_test_support.h"

namespace quiz {
namespace {

using test::AppendChunk;
using test::DeflateWriter;
using test::Ihdr;
using test::PngSignature;
using test::SimplePng;
using test::StoredZlib;
using test::ZlibWrap;

struct Result {
    bool loaded = false, decoded = false, rendered = false;
    uint32_t loadError = 0, error = 0;
    uint32_t rawImageSize = 0;
    PngBitmapInfo info{};
    std::vector<uint8_t> pixels;
    uint32_t tableEntries = 0;
};

Result DecodePng(const std::vector<uint8_t>& png) {
    Result r;
    PngDecoder decoder;
    PngDecoderInit(&decoder);
    r.loaded = PngDecoderLoadMemory(&decoder, png.data(), png.size());
    r.loadError = decoder.lastError;
    if (r.loaded) {
        r.rawImageSize = PngRawImageSize(&decoder);
        r.decoded = PngDecoderDecode(&decoder);
    }
    std::memset(&r.info, 0xAB, sizeof r.info);  // as stack bytes would hold
    if (r.decoded) r.rendered = PngDecoderRenderDib(&decoder, &r.info, &r.pixels);
    if (r.rendered) r.tableEntries = PngColourTableEntries(&decoder, r.info);
    r.error = decoder.lastError;
    PngDecoderRelease(&decoder);
    return r;
}

std::vector<uint8_t> Grey8(uint32_t width, uint32_t height, const std::vector<uint8_t>& raw) {
    return SimplePng(Ihdr(width, height, 8, 0), StoredZlib(raw));
}

TEST(PngScan, RefusesWhatIsNotAPngWith2000) {
    std::vector<uint8_t> good = Grey8(1, 1, {0, 7});
    std::vector<uint8_t> gifHeader = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> firstNotIhdr = PngSignature();
    AppendChunk(&firstNotIhdr, "tEXt", {'a', 0, 'b'});
    AppendChunk(&firstNotIhdr, "IHDR", Ihdr(1, 1, 8, 0));
    struct Case {
        const char* name;
        std::vector<uint8_t> png;
    } cases[] = {
        {"15 bytes", std::vector<uint8_t>(good.begin(), good.begin() + 15)},
        {"a GIF header", gifHeader},
        {"first chunk not IHDR", firstNotIhdr},
        {"width 0", SimplePng(Ihdr(0, 1, 8, 0), StoredZlib({0}))},
        {"height 0", SimplePng(Ihdr(1, 0, 8, 0), StoredZlib({0}))},
        {"no IDAT", [] {
             std::vector<uint8_t> png = PngSignature();
             AppendChunk(&png, "IHDR", Ihdr(1, 1, 8, 0));
             AppendChunk(&png, "IEND", {});
             return png;
         }()},
        {"palette image without PLTE", SimplePng(Ihdr(1, 1, 8, 3), StoredZlib({0, 0}))},
        {"IHDR cut short by the end of the data", [] {
             std::vector<uint8_t> png = PngSignature();
             png.insert(png.end(), {0, 0, 0, 0, 'I', 'H', 'D', 'R', 0, 0, 0, 0});
             return png;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result r = DecodePng(c.png);
        EXPECT_FALSE(r.loaded);
        EXPECT_EQ(r.loadError, kPngMalformed);
    }
}

TEST(PngScan, RefusesWhatItDoesNotSupportWith2001) {
    std::vector<uint8_t> raw = {0, 0};
    auto withChunk = [&](const char* type, bool afterIend) {
        std::vector<uint8_t> png = PngSignature();
        AppendChunk(&png, "IHDR", Ihdr(1, 1, 8, 0));
        if (!afterIend) AppendChunk(&png, type, {1, 2});
        AppendChunk(&png, "IDAT", StoredZlib({0, 9}));
        AppendChunk(&png, "IEND", {});
        if (afterIend) AppendChunk(&png, type, {1, 2});
        return png;
    };
    std::vector<uint8_t> badCompression = Ihdr(1, 1, 8, 0);
    badCompression[10] = 1;
    std::vector<uint8_t> badFilter = Ihdr(1, 1, 8, 0);
    badFilter[11] = 1;
    struct Case {
        const char* name;
        std::vector<uint8_t> png;
    } cases[] = {
        {"RGB with bit depth 4", SimplePng(Ihdr(1, 1, 4, 2), StoredZlib(raw))},
        {"palette with bit depth 16", SimplePng(Ihdr(1, 1, 16, 3), StoredZlib(raw), {1, 2, 3})},
        {"colour type 5", SimplePng(Ihdr(1, 1, 8, 5), StoredZlib(raw))},
        {"grey with bit depth 3", SimplePng(Ihdr(1, 1, 3, 0), StoredZlib(raw))},
        {"interlace method 2", SimplePng(Ihdr(1, 1, 8, 0, 2), StoredZlib(raw))},
        {"compression method 1", SimplePng(badCompression, StoredZlib(raw))},
        {"filter method 1", SimplePng(badFilter, StoredZlib(raw))},
        {"unknown critical chunk", withChunk("ABCD", false)},
        {"unknown critical chunk after IEND", withChunk("QRST", true)},
        {"too large for the size arithmetic", SimplePng(Ihdr(0x7FFFFFFF, 0x7FFFFFFF, 16, 6), StoredZlib(raw))},
        {"DIB too large, raw size fits", SimplePng(Ihdr(0x40000000, 5, 2, 0), StoredZlib(raw))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result r = DecodePng(c.png);
        EXPECT_FALSE(r.loaded);
        EXPECT_EQ(r.loadError, kPngUnsupported);
    }
    // A DIB's sides are signed 32-bit: one pixel past 2^31 - 1 is refused by
    // the scan itself, which allocates nothing; 2^31 - 1 passes it.
    struct Side {
        uint32_t width, height;
        bool loads;
    } sides[] = {{0x80000001u, 1, false}, {0x80000000u, 1, false}, {0x7FFFFFFFu, 1, true},
                 {1, 0x80000001u, false}};
    for (const Side& side : sides) {
        SCOPED_TRACE(std::to_string(side.width) + " x " + std::to_string(side.height));
        std::vector<uint8_t> png = SimplePng(Ihdr(side.width, side.height, 1, 0), StoredZlib(raw));
        PngDecoder decoder;
        PngDecoderInit(&decoder);
        EXPECT_EQ(PngDecoderLoadMemory(&decoder, png.data(), png.size()), side.loads);
        if (!side.loads) {
            EXPECT_EQ(decoder.lastError, kPngUnsupported);
        }
        EXPECT_EQ(decoder.rawImage, nullptr);
        PngDecoderRelease(&decoder);
    }
    // Ancillary chunks of any name are passed over, before IDAT or after IEND.
    Result ancillary = DecodePng(withChunk("zzZZ", false));
    EXPECT_TRUE(ancillary.rendered);
    EXPECT_TRUE(DecodePng(withChunk("tEXt", true)).rendered);
    // Adam7 is accepted.
    EXPECT_TRUE(DecodePng(SimplePng(Ihdr(1, 1, 8, 0, 1), StoredZlib({0, 5}))).rendered);
}

TEST(PngDecoder, StatesAndTheirErrors) {
    std::vector<uint8_t> png = Grey8(1, 1, {0, 200});
    PngDecoder decoder;
    PngDecoderInit(&decoder);
    EXPECT_FALSE(PngDecoderDecode(&decoder));
    EXPECT_EQ(decoder.lastError, kPngWrongState);
    PngBitmapInfo info;
    std::vector<uint8_t> pixels;
    EXPECT_FALSE(PngDecoderRenderDib(&decoder, &info, &pixels));
    EXPECT_EQ(decoder.lastError, kPngWrongState);

    ASSERT_TRUE(PngDecoderLoadMemory(&decoder, png.data(), png.size()));
    EXPECT_EQ(decoder.state, static_cast<uint32_t>(kPngLoaded));
    EXPECT_EQ(decoder.lastError, kPngOk);
    EXPECT_FALSE(PngDecoderLoadMemory(&decoder, png.data(), png.size()));
    EXPECT_EQ(decoder.lastError, kPngNotEmpty);
    EXPECT_FALSE(PngDecoderRenderDib(&decoder, &info, &pixels));
    EXPECT_EQ(decoder.lastError, kPngWrongState);
    ASSERT_TRUE(PngDecoderDecode(&decoder));
    EXPECT_EQ(decoder.state, static_cast<uint32_t>(kPngDecoded));
    ASSERT_TRUE(PngDecoderRenderDib(&decoder, &info, &pixels));
    ASSERT_TRUE(PngDecoderRenderDib(&decoder, &info, &pixels));  // any number of times
    EXPECT_EQ(pixels, (std::vector<uint8_t>{200, 0, 0, 0}));
    PngDecoderRelease(&decoder);
    EXPECT_EQ(decoder.state, static_cast<uint32_t>(kPngEmpty));
    EXPECT_EQ(decoder.rawImage, nullptr);
    EXPECT_TRUE(PngDecoderLoadMemory(&decoder, png.data(), png.size()));
    PngDecoderRelease(&decoder);

    // A failed decode leaves the record loaded, without a raw image.
    std::vector<uint8_t> broken = SimplePng(Ihdr(1, 1, 8, 0), {0x78, 0x01, 0x07});
    ASSERT_TRUE(PngDecoderLoadMemory(&decoder, broken.data(), broken.size()));
    EXPECT_FALSE(PngDecoderDecode(&decoder));
    EXPECT_EQ(decoder.lastError, kPngMalformed);
    EXPECT_EQ(decoder.state, static_cast<uint32_t>(kPngLoaded));
    EXPECT_EQ(decoder.rawImage, nullptr);
    PngDecoderRelease(&decoder);
}

TEST(PngDecoder, PixelsLandAsTheDibExpects) {
    {
        SCOPED_TRACE("1 x 1 RGBA (255, 0, 0, 128)");
        Result r = DecodePng(SimplePng(Ihdr(1, 1, 8, 6), StoredZlib({0, 255, 0, 0, 128})));
        ASSERT_TRUE(r.rendered);
        EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0, 0, 255, 128}));
        EXPECT_EQ(r.info.header.biBitCount, 32);
        EXPECT_EQ(r.info.header.biHeight, -1);
    }
    {
        SCOPED_TRACE("2-bit grey: a 4-bit DIB with the ramp 0, 85, 170, 255");
        Result r = DecodePng(SimplePng(Ihdr(4, 1, 2, 0), StoredZlib({0, 0x1B})));  // 0 1 2 3
        ASSERT_TRUE(r.rendered);
        EXPECT_EQ(r.info.header.biBitCount, 4);
        EXPECT_EQ(r.info.header.biClrUsed, 4u);
        EXPECT_EQ(r.tableEntries, 4u);
        const uint8_t ramp[4] = {0, 85, 170, 255};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(r.info.colours[i][0], ramp[i]);
            EXPECT_EQ(r.info.colours[i][2], ramp[i]);
            EXPECT_EQ(r.info.colours[i][3], 0);
        }
        EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x01, 0x23, 0, 0}));
    }
    {
        SCOPED_TRACE("2-bit palette of width 5: raw rows of 2 bytes, DIB stride 4");
        std::vector<uint8_t> plte = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
        Result r = DecodePng(SimplePng(Ihdr(5, 2, 2, 3), StoredZlib({0, 0x1B, 0x80, 0, 0xE4, 0x40}), plte));
        ASSERT_TRUE(r.rendered);
        EXPECT_EQ(r.rawImageSize, 6u);
        EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x01, 0x23, 0x20, 0, 0x32, 0x10, 0x10, 0}));
        EXPECT_EQ(r.info.header.biClrUsed, 0u);
        EXPECT_EQ(r.tableEntries, 4u);
        EXPECT_EQ(r.info.colours[1][0], 60);  // blue
        EXPECT_EQ(r.info.colours[1][2], 40);  // red
        for (int i = 4; i < 256; ++i)  // past the palette: black
            ASSERT_EQ(r.info.colours[i][0] | r.info.colours[i][1] | r.info.colours[i][2], 0) << i;
    }
    {
        SCOPED_TRACE("16-bit RGB keeps the high bytes as BGR");
        Result r = DecodePng(SimplePng(Ihdr(1, 1, 16, 2), StoredZlib({0, 0x11, 0x99, 0x22, 0x88, 0x33, 0x77})));
        ASSERT_TRUE(r.rendered);
        EXPECT_EQ(r.pixels, (std::vector<uint8_t>{0x33, 0x22, 0x11, 0}));
    }
    {
        SCOPED_TRACE("a PLTE of 300 entries fills 256");
        std::vector<uint8_t> plte(900, 7);
        Result r = DecodePng(SimplePng(Ihdr(1, 1, 8, 3), StoredZlib({0, 255}), plte));
        ASSERT_TRUE(r.rendered);
        EXPECT_EQ(r.tableEntries, 256u);
    }
}

TEST(PngDecoder, IdatChunksAreReadInPlaceAndInOrder) {
    std::vector<uint8_t> zlib = StoredZlib({0, 1, 2, 3, 0, 4, 5, 6});
    std::vector<uint8_t> png = PngSignature();
    AppendChunk(&png, "IHDR", Ihdr(3, 2, 8, 0));
    AppendChunk(&png, "IDAT", {zlib.begin(), zlib.begin() + 5});
    AppendChunk(&png, "IDAT", {});
    AppendChunk(&png, "IDAT", {zlib.begin() + 5, zlib.end()});
    AppendChunk(&png, "IEND", {});
    Result split = DecodePng(png);
    ASSERT_TRUE(split.rendered);
    EXPECT_EQ(split.pixels, (std::vector<uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));

    // A CRC that is wrong does not matter.
    std::vector<uint8_t> badCrc = png;
    badCrc[8 + 8 + 13] ^= 0xFF;  // IHDR's CRC
    EXPECT_TRUE(DecodePng(badCrc).rendered);

    // A tEXt between two IDAT chunks ends the data: the second is not read.
    std::vector<uint8_t> gap = PngSignature();
    AppendChunk(&gap, "IHDR", Ihdr(3, 2, 8, 0));
    AppendChunk(&gap, "IDAT", {zlib.begin(), zlib.begin() + 9});
    AppendChunk(&gap, "tEXt", {'k', 0, 'v'});
    AppendChunk(&gap, "IDAT", {zlib.begin() + 9, zlib.end()});
    AppendChunk(&gap, "IEND", {});
    Result r = DecodePng(gap);
    EXPECT_TRUE(r.loaded);
    EXPECT_FALSE(r.decoded);
    EXPECT_EQ(r.error, kPngMalformed);

    // A last IDAT whose length runs past the data is never stepped into.
    std::vector<uint8_t> cut = PngSignature();
    AppendChunk(&cut, "IHDR", Ihdr(3, 2, 8, 0));
    AppendChunk(&cut, "IDAT", {zlib.begin(), zlib.begin() + 9});
    AppendChunk(&cut, "IDAT", {zlib.begin() + 9, zlib.end()});
    cut.resize(cut.size() - 6);
    Result c = DecodePng(cut);
    EXPECT_TRUE(c.loaded);
    EXPECT_FALSE(c.decoded);
}

TEST(PngInflate, ZlibHeaderAndChecksum) {
    std::vector<uint8_t> raw = {0, 42};
    auto with = [&](uint8_t cmf, uint8_t flg) {
        std::vector<uint8_t> zlib = StoredZlib(raw);
        zlib[0] = cmf;
        zlib[1] = flg;
        return DecodePng(SimplePng(Ihdr(1, 1, 8, 0), zlib));
    };
    EXPECT_TRUE(with(0x78, 0x9C).rendered);
    EXPECT_TRUE(with(0x78, 0x00).rendered);  // the check value is not tested
    EXPECT_TRUE(with(0x08, 0x1D).rendered);
    Result window8 = with(0x88, 0x01);
    EXPECT_FALSE(window8.decoded);
    EXPECT_EQ(window8.error, kPngMalformed);
    EXPECT_FALSE(with(0x78, 0x20).decoded);  // preset dictionary
    EXPECT_FALSE(with(0x79, 0x01).decoded);  // method 9
    EXPECT_TRUE(DecodePng(SimplePng(Ihdr(1, 1, 8, 0), StoredZlib(raw, false))).rendered);
}

// A fixed-Huffman block as the test writes it, wrapped as one grey row.
std::vector<uint8_t> FixedBlockPng(uint32_t width, const std::function<void(DeflateWriter&)>& body) {
    DeflateWriter w;
    w.Bits(1, 1);  // final
    w.Bits(1, 2);  // fixed
    body(w);
    return SimplePng(Ihdr(width, 1, 8, 0), ZlibWrap(w.Finish()));
}

TEST(PngInflate, BlocksOfEveryKindDecodeAlike) {
    // A stored block, then a fixed one with a length 258 copy at distance 1,
    // then a final fixed one. (Dynamic blocks come from zlib in the oracle tests.)
    DeflateWriter w;
    w.Bits(0, 1);
    w.Bits(0, 2);
    std::vector<uint8_t> stored = w.Finish();
    stored.insert(stored.end(), {2, 0, 0xFD, 0xFF, 0, 'x'});
    DeflateWriter fixed;
    fixed.Bits(0, 1);
    fixed.Bits(1, 2);
    fixed.FixedSymbol(285);  // length 258
    fixed.Code(0, 5);        // distance 1
    fixed.FixedSymbol(256);
    fixed.Bits(1, 1);
    fixed.Bits(1, 2);
    fixed.FixedSymbol('y');
    fixed.FixedSymbol(256);
    std::vector<uint8_t> tail = fixed.Finish();
    stored.insert(stored.end(), tail.begin(), tail.end());
    Result r = DecodePng(SimplePng(Ihdr(260, 1, 8, 0), ZlibWrap(stored)));
    ASSERT_TRUE(r.rendered);
    EXPECT_EQ(r.pixels[0], 'x');
    for (int i = 1; i < 259; ++i) ASSERT_EQ(r.pixels[i], 'x') << i;
    EXPECT_EQ(r.pixels[259], 'y');
}

TEST(PngInflate, DataErrorsAreRefusedWithinTheBuffers) {
    struct Case {
        const char* name;
        std::vector<uint8_t> png;
    } cases[] = {
        {"output beyond the raw image", FixedBlockPng(1, [](DeflateWriter& w) {
             for (int i = 0; i < 3; ++i) w.FixedSymbol(0);
             w.FixedSymbol(256);
         })},
        {"output short of the raw image", FixedBlockPng(3, [](DeflateWriter& w) {
             w.FixedSymbol(0);
             w.FixedSymbol(256);
         })},
        {"distance before the start", FixedBlockPng(9, [](DeflateWriter& w) {
             w.FixedSymbol(0);
             w.FixedSymbol(257);  // length 3
             w.Code(1, 5);        // distance 2, one byte written so far
             w.FixedSymbol(256);
         })},
        {"symbol 286", FixedBlockPng(9, [](DeflateWriter& w) {
             w.FixedSymbol(0);
             w.FixedSymbol(286);
         })},
        {"symbol 287", FixedBlockPng(9, [](DeflateWriter& w) {
             w.FixedSymbol(0);
             w.FixedSymbol(287);
         })},
        {"distance code 30", FixedBlockPng(9, [](DeflateWriter& w) {
             w.FixedSymbol(0);
             w.FixedSymbol(257);
             w.Code(30, 5);
         })},
        {"distance code 31", FixedBlockPng(9, [](DeflateWriter& w) {
             w.FixedSymbol(0);
             w.FixedSymbol(257);
             w.Code(31, 5);
         })},
        {"data end before the final block", SimplePng(Ihdr(3, 1, 8, 0), {0x78, 0x01, 0x02})},
        {"block type 3", SimplePng(Ihdr(1, 1, 8, 0), {0x78, 0x01, 0x07, 0, 0, 0, 0})},
        {"stored length check", SimplePng(Ihdr(1, 1, 8, 0), {0x78, 0x01, 0x01, 2, 0, 0xFD, 0xFE, 0, 1})},
        {"dynamic: repeat with no previous length", [] {
             DeflateWriter w;
             w.Bits(1, 1);
             w.Bits(2, 2);
             w.Bits(0, 5);   // HLIT 257
             w.Bits(0, 5);   // HDIST 1
             w.Bits(0, 4);   // HCLEN 4: lengths of 16, 17, 18, 0
             w.Bits(1, 3);   // 16: 1 bit
             w.Bits(0, 3);
             w.Bits(0, 3);
             w.Bits(1, 3);   // 0: 1 bit
             w.Code(1, 1);   // symbol 16 first (codes: 0 -> symbol 0, 1 -> symbol 16)
             w.Bits(0, 2);
             return SimplePng(Ihdr(1, 1, 8, 0), ZlibWrap(w.Finish()));
         }()},
        {"dynamic: lengths past HLIT + HDIST", [] {
             DeflateWriter w;
             w.Bits(1, 1);
             w.Bits(2, 2);
             w.Bits(0, 5);   // HLIT 257
             w.Bits(0, 5);   // HDIST 1: 258 lengths in all
             w.Bits(0, 4);
             w.Bits(0, 3);   // 16: none
             w.Bits(0, 3);   // 17: none
             w.Bits(1, 3);   // 18: 1 bit
             w.Bits(1, 3);   // 0: 1 bit
             w.Code(1, 1);   // symbol 18 (code 1): 11 + 127 zeros
             w.Bits(127, 7);
             w.Code(1, 1);
             w.Bits(127, 7);  // 276 > 258
             return SimplePng(Ihdr(1, 1, 8, 0), ZlibWrap(w.Finish()));
         }()},
        {"dynamic: bits that match no code", [] {
             DeflateWriter w;
             w.Bits(1, 1);
             w.Bits(2, 2);
             w.Bits(0, 5);
             w.Bits(0, 5);
             w.Bits(0, 4);
             w.Bits(0, 3);
             w.Bits(0, 3);
             w.Bits(0, 3);
             w.Bits(2, 3);   // only symbol 0 has a code, of 2 bits: "00"
             w.Code(3, 2);   // "11" matches nothing
             return SimplePng(Ihdr(1, 1, 8, 0), ZlibWrap(w.Finish()));
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result r = DecodePng(c.png);
        EXPECT_TRUE(r.loaded);
        EXPECT_FALSE(r.decoded);
        EXPECT_EQ(r.error, kPngMalformed);
    }
}

TEST(PngRows, UnfilteringAndPaethTies) {
    // 8-bit grey, 2 x 2: first row plain, second row Paeth.
    auto paeth = [](uint8_t a, uint8_t c, uint8_t b, uint8_t x) {
        // row 0: c b; row 1: a, then the Paeth byte x.
        Result r = DecodePng(Grey8(2, 2, {0, c, b, 4, static_cast<uint8_t>(a - c), x}));
        EXPECT_TRUE(r.rendered);
        return r.pixels.size() > 5 ? r.pixels[5] : -1;
    };
    EXPECT_EQ(paeth(1, 2, 4, 0), 4);   // pb = pc < pa: the byte above
    EXPECT_EQ(paeth(4, 2, 1, 0), 4);   // pa = pc < pb: the left byte
    EXPECT_EQ(paeth(9, 9, 9, 1), 10);  // a = b = c: the left byte
    EXPECT_EQ(paeth(7, 7, 7, 0), 7);
    // Sub, Up and Average, with sums modulo 256 and the average without overflow.
    Result r = DecodePng(Grey8(3, 3, {1, 200, 100, 100,      // Sub: 200 44 144
                                2, 56, 1, 2,           // Up: 0 45 146
                                3, 250, 0, 0}));       // Average: 250 147 146
    ASSERT_TRUE(r.rendered);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{200, 44, 144, 0, 0, 45, 146, 0, 250, 147, 146, 0}));
    // A filter type above 4 refuses the rows.
    Result bad = DecodePng(Grey8(1, 2, {0, 1, 5, 2}));
    EXPECT_TRUE(bad.decoded);
    EXPECT_FALSE(bad.rendered);
}

TEST(PngRows, Adam7PassesHoldTheirPixels) {
    // 1 x 1: pass 1 only. 3 x 3: every pass but 2 and 3.
    EXPECT_EQ(DecodePng(SimplePng(Ihdr(1, 1, 8, 0, 1), StoredZlib({0, 77}))).rawImageSize, 2u);
    std::vector<uint8_t> raw;
    // pass 1: (0,0); pass 4: (2,0); pass 5: (0,2),(2,2); pass 6: (1,0),(1,2); pass 7: row 1.
    const std::vector<std::vector<uint8_t>> passes = {{11}, {13}, {31, 33}, {12}, {32}, {21, 22, 23}};
    for (const auto& row : passes) {
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    Result r = DecodePng(SimplePng(Ihdr(3, 3, 8, 0, 1), StoredZlib(raw)));
    EXPECT_EQ(r.rawImageSize, raw.size());
    ASSERT_TRUE(r.rendered);
    EXPECT_EQ(r.pixels, (std::vector<uint8_t>{11, 12, 13, 0, 21, 22, 23, 0, 31, 32, 33, 0}));
}

}  // namespace
}  // namespace quiz
