// The pictures quizpack reads and writes: GIF stored as PNG, sizes from
// headers.
#include "authoring_fixtures.h"
#include "authoring/ground_fixture.h"
#include "pictures/scaling.h"

#include <cstring>
#include <optional>

namespace quizpack {
namespace {

TEST(GifAsPng, OpaqueGifsBecomeThePngOfTheirPixelsAndTheOthersStayGifs) {
    struct Case {
        const char* name;
        GifPicture gif;
        bool png;  // stored as a PNG, or left to the platform as a GIF
    } cases[] = {
        {"two colours", {31, 7, Palette(2), Indices(31, 7, [](int x, int y) { return (x + y) % 2; })}, true},
        // The shipped pictures' case: index 252 declared transparent, never used.
        {"a transparent index no pixel uses",
         {20, 20, Palette(256), Indices(20, 20, [](int x, int y) { return x * 20 + y < 252 ? x * 20 + y : 0; }), 252},
         true},
        {"one pixel of the transparent index",
         {20, 20, Palette(256), Indices(20, 20, [](int x, int y) { return x == 19 && y == 19 ? 252 : 1; }), 252},
         false},
        {"a frame smaller than the screen: the rest is transparent",
         {8, 8, Palette(4), Indices(7, 8, [](int x, int) { return x % 4; }), -1, {0, 0, 7, 8}}, false},
        {"a frame that covers the screen from an offset of 0",
         {8, 8, Palette(4), Indices(8, 8, [](int x, int) { return x % 4; }), -1, {0, 0, 8, 8}}, true},
        {"all 256 colours of the table",
         {16, 16, Palette(256), Indices(16, 16, [](int x, int y) { return y * 16 + x; })}, true},
        {"interlaced",
         {5, 19, Palette(8), Indices(5, 19, [](int x, int y) { return (x * 3 + y) % 8; }), -1, {}, true}, true},
        {"as wide as the player shows", {4096, 1, Palette(2), Indices(4096, 1, [](int x, int) { return x % 2; })}, true},
        {"a pixel wider", {4097, 1, Palette(2), Indices(4097, 1, [](int x, int) { return x % 2; })}, false},
        {"as tall as the player shows", {1, 4096, Palette(2), Indices(1, 4096, [](int, int y) { return y % 2; })}, true},
        {"a pixel taller", {1, 4097, Palette(2), Indices(1, 4097, [](int, int y) { return y % 2; })}, false},
        {"a frame as wide as the screen, a row short",
         {8, 8, Palette(4), Indices(8, 7, [](int x, int) { return x % 4; }), -1, {0, 0, 8, 7}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> gif = GifOf(c.gif);
        const std::vector<uint8_t> png = GifAsPng(gif);
        EXPECT_EQ(!png.empty(), c.png);
        if (png.empty()) continue;
        RgbImage expected;
        std::string error;
        ASSERT_TRUE(DecodePicture(gif, &expected, &error)) << error;
        EXPECT_EQ(ReadPictureInfo(png).format, PictureFormat::Png);
        RgbImage ours, libpng;
        ASSERT_TRUE(DecodePicture(png, &ours, &error)) << error;  // the player's decoder
        ASSERT_TRUE(ReadWithLibpng(png, &libpng));
        EXPECT_EQ(ours.width, c.gif.width);
        EXPECT_EQ(ours.height, c.gif.height);
        EXPECT_TRUE(ours.pixels == expected.pixels);
        EXPECT_TRUE(libpng.pixels == expected.pixels);
        EXPECT_EQ(png[25], 3);  // colour type: a palette
    }
    EXPECT_TRUE(GifAsPng(FakePng(3, 3)).empty());  // only GIF pictures
    std::vector<uint8_t> cut = GifOf(cases[0].gif);
    cut.resize(20);
    EXPECT_TRUE(GifAsPng(cut).empty());
}

TEST(GifAsPng, AnIndexedPngHoldsAt256Colours) {
    for (int colours : {1, 255, 256, 257}) {
        SCOPED_TRACE(colours);
        // `colours` different colours in the first row; the second row meets
        // them all again.
        RgbImage image(colours, 2, {});
        for (int x = 0; x < colours; ++x)
            image.At(x, 0) = image.At(colours - 1 - x, 1) = {static_cast<uint8_t>(x), static_cast<uint8_t>(x >> 8), 90};
        const std::vector<uint8_t> png = EncodeIndexedPng(image);
        ASSERT_EQ(!png.empty(), colours <= 256);
        if (png.empty()) continue;
        RgbImage back;
        ASSERT_TRUE(ReadWithLibpng(png, &back));
        EXPECT_TRUE(back.pixels == image.pixels);
    }
    EXPECT_TRUE(EncodeIndexedPng(RgbImage()).empty());
}

TEST(PictureInfo, ReadsTheSizeOfEachFormat) {
    EXPECT_EQ(ReadPictureInfo(FakeGif(459, 505)).width, 459);
    EXPECT_EQ(ReadPictureInfo(FakeGif(459, 505)).height, 505);
    EXPECT_EQ(ReadPictureInfo(FakePng(31, 242)).format, PictureFormat::Png);
    EXPECT_EQ(ReadPictureInfo(FakePng(31, 242)).height, 242);
    // A JPEG with an APP0 segment before its frame header.
    std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F',
                                 0xFF, 0xC0, 0, 11, 8, 0x01, 0xF9, 0x01, 0xCB, 3};
    PictureInfo j = ReadPictureInfo(jpeg);
    EXPECT_EQ(j.format, PictureFormat::Jpeg);
    EXPECT_EQ(j.width, 459);
    EXPECT_EQ(j.height, 505);
    // A bottom-up and a top-down BMP.
    std::vector<uint8_t> bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[14] = 40;
    bmp[18] = 65;
    bmp[22] = 67;
    EXPECT_EQ(ReadPictureInfo(bmp).height, 67);
    bmp[22] = 0xBD;  // -67
    bmp[23] = bmp[24] = bmp[25] = 0xFF;
    EXPECT_EQ(ReadPictureInfo(bmp).height, 67);
    EXPECT_EQ(ReadPictureInfo({'G', 'I', 'F'}).format, PictureFormat::Unknown);
    EXPECT_EQ(ReadPictureInfo({}).format, PictureFormat::Unknown);
}


// Hand-made pictures are decoded before they ship: GIF through giflib, every
// PNG kind through the player's decoder, BMP and JPEG through stb_image, into
// the same pixels (the JPEG within its loss).
TEST(DecodePicture, EveryFormatGivesItsOwnPixels) {
    const std::string folder = std::string(QUIZ_PROJECT_DIR) + "/tests/windows/pictures/";
    const std::vector<Rgb> six = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {128, 64, 32}};
    struct Case {
        const char* file;
        std::vector<Rgb> pixels;
    } cases[] = {
        {"small.gif", six}, {"small.bmp", six}, {"rgb.png", six}, {"palette4.png", six}, {"rgba.png", six}, {"adam7.png", six},
        {"grey2.png", {{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadFileBytes(folder + c.file, &bytes));
        RgbImage image;
        std::string error;
        ASSERT_TRUE(DecodePicture(bytes, &image, &error)) << error;
        EXPECT_EQ(image.pixels, c.pixels);
    }
    {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadFileBytes(folder + "small.jpg", &bytes));
        RgbImage image;
        std::string error;
        ASSERT_TRUE(DecodePicture(bytes, &image, &error)) << error;
        ASSERT_EQ(image.pixels.size(), six.size());
        for (size_t i = 0; i < six.size(); ++i)
            for (auto [a, b] : {std::pair{image.pixels[i].r, six[i].r}, {image.pixels[i].g, six[i].g}, {image.pixels[i].b, six[i].b}})
                EXPECT_NEAR(a, b, 4) << "pixel " << i;
        // Cut short, the same JPEG would show half grey: it does not decode.
        bytes.resize(bytes.size() - 40);
        EXPECT_FALSE(DecodePicture(bytes, &image, &error));
        EXPECT_EQ(error, "cette image JPEG ne se d\xC3\xA9" "code pas (le d\xC3\xA9" "codeur dit : Premature end of JPEG file)");
    }
    std::vector<uint8_t> garbage;
    ASSERT_TRUE(ReadFileBytes(folder + "garbage.bin", &garbage));
    RgbImage image;
    std::string error;
    EXPECT_FALSE(DecodePicture(garbage, &image, &error));
    EXPECT_EQ(error, "l'image annonce 29728 x 26984 pixels, 4096 x 4096 au plus");  // "GIF89a this is..."
    std::vector<uint8_t> badPng;
    ASSERT_TRUE(ReadFileBytes(folder + "badzlib.png", &badPng));
    EXPECT_FALSE(DecodePicture(badPng, &image, &error));
    EXPECT_EQ(error, "le d\xC3\xA9" "codeur PNG du lecteur ne lit pas cette image (fichier tronqu\xC3\xA9 ou ab\xC3\xAEm\xC3\xA9 ?)");
    // Headers that claim 4096 x 4097, 4097 x 10 and 65535 x 65535 pixels:
    // refused before anything is allocated; 4096 x 4096 is tried (and is
    // garbage).
    for (auto [w, h, refused] : {std::tuple{4096, 4097, true}, {4097, 10, true}, {65535, 65535, true}, {4096, 4096, false}}) {
        std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', uint8_t(w), uint8_t(w >> 8),
                                    uint8_t(h), uint8_t(h >> 8), 0, 0, 0, 0x3B};
        EXPECT_FALSE(DecodePicture(gif, &image, &error));
        EXPECT_EQ(error, refused ? "l'image annonce " + std::to_string(w) + " x " + std::to_string(h) +
                                       " pixels, 4096 x 4096 au plus"
                                 : "cette image GIF ne se d\xC3\xA9" "code pas (fichier tronqu\xC3\xA9 ou ab\xC3\xAEm\xC3\xA9 ?)");
    }
    const std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xC0, 0, 11, 8, 0, 5, 0, 5, 3};
    EXPECT_FALSE(DecodePicture(jpeg, &image, &error));
    EXPECT_EQ(error, "cette image JPEG ne se d\xC3\xA9" "code pas (le d\xC3\xA9" "codeur dit : Bogus marker length)");
    std::vector<uint8_t> empty;  // a BMP header of 0 x 48 pixels, which stb_image takes
    ASSERT_TRUE(ReadFileBytes(folder + "zero_width.bmp", &empty));
    EXPECT_FALSE(DecodePicture(empty, &image, &error));
    EXPECT_EQ(error, "l'image fait 0 x 48 pixels");
    const std::vector<uint8_t> bmp = {'B', 'M', 60, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
    EXPECT_FALSE(DecodePicture(bmp, &image, &error));  // the header cut short
    EXPECT_EQ(error, "cette image BMP ne se d\xC3\xA9" "code pas (fichier tronqu\xC3\xA9 : il lui manque des lignes de pixels)");
    // Cut in its header, before the pixels' place: stb_image's own refusal.
    EXPECT_FALSE(DecodePicture(std::vector<uint8_t>(bmp.begin(), bmp.begin() + 26), &image, &error));
    EXPECT_EQ(error.rfind("cette image BMP ne se d\xC3\xA9" "code pas (le d\xC3\xA9" "codeur dit : ", 0), 0u) << error;
}

// An uncompressed bottom-up BMP of `bits` 24 or 32, its pixels given as
// blue, green, red (and a fourth byte), rows padded to 4 bytes.
std::vector<uint8_t> BmpOf(int width, int height, int bits, const std::vector<std::vector<uint8_t>>& pixels) {
    const int stride = (width * bits + 31) / 32 * 4;
    std::vector<uint8_t> bmp(54 + size_t(stride) * height, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = uint8_t(v >> (8 * i));
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put32(2, uint32_t(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    bmp[26] = 1, bmp[28] = uint8_t(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < bits / 8; ++i)
                bmp[54 + size_t(height - 1 - y) * stride + size_t(x) * (bits / 8) + i] = pixels[size_t(y) * width + x][i];
    return bmp;
}

// Transparent pixels of the pictures quizpack draws anew show the quiz's
// background: blended in integers, rounded to nearest.
TEST(DecodeOnGround, TransparentPixelsShowTheBackground) {
    const Rgb ground = {90, 95, 150}, colour = {200, 100, 50};
    const std::vector<uint8_t> palette = {200, 100, 50, 0, 10, 20, 30, 255};  // RGBA: transparent, opaque
    GifPicture gif = {2, 1, {{200, 100, 50}, {10, 20, 30}}, {0, 1}, 0};  // index 0 declared transparent
    std::vector<uint8_t> hundred, hundredColours = {200, 100, 50, 0};  // index 0 transparent, 1 to 99 opaque
    for (int i = 0; i < 100; ++i) hundred.push_back(uint8_t(i));
    for (int i = 1; i < 100; ++i) hundredColours.insert(hundredColours.end(), {uint8_t(i), uint8_t(2 * i), 7, 255});
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::optional<Rgb> shown;  // the first pixel as the player shows it (a GIF's: unsaid)
        Rgb onGround;
    } cases[] = {
        // name, the picture, its first pixel as shown, and on the ground
        {"RGBA, alpha 0", LibpngOf(1, 1, PNG_FORMAT_RGBA, {200, 100, 50, 0}), colour, ground},
        {"RGBA, alpha 1", LibpngOf(1, 1, PNG_FORMAT_RGBA, {200, 100, 50, 1}), colour, {90, 95, 150}},
        {"RGBA, alpha 128", LibpngOf(1, 1, PNG_FORMAT_RGBA, {200, 100, 50, 128}), colour, {145, 98, 100}},
        {"RGBA, alpha 254", LibpngOf(1, 1, PNG_FORMAT_RGBA, {200, 100, 50, 254}), colour, {200, 100, 50}},
        {"RGBA, alpha 255", LibpngOf(1, 1, PNG_FORMAT_RGBA, {200, 100, 50, 255}), colour, colour},
        {"grey and alpha 0", LibpngOf(1, 1, PNG_FORMAT_GA, {200, 0}), Rgb{200, 200, 200}, ground},
        {"grey and alpha 51", LibpngOf(1, 1, PNG_FORMAT_GA, {200, 51}), Rgb{200, 200, 200}, {112, 116, 160}},
        {"a palette with tRNS", LibpngOf(2, 1, PNG_FORMAT_RGBA_COLORMAP, {0, 1}, palette), colour, ground},
        {"a palette with tRNS, its opaque index", LibpngOf(2, 1, PNG_FORMAT_RGBA_COLORMAP, {1, 0}, palette), Rgb{10, 20, 30}, {10, 20, 30}},
        // A PLTE chunk of 300 bytes before the tRNS: lengths read whole.
        {"100 colours with tRNS", LibpngOf(100, 1, PNG_FORMAT_RGBA_COLORMAP, hundred, hundredColours), colour, ground},
        {"RGB, no alpha", EncodePng(RgbImage(1, 1, colour)), colour, colour},
        {"GIF, its transparent index", GifOf(gif), std::nullopt, ground},
        // A BMP's fourth byte is no alpha to the platform's loader.
        {"BMP of 32 bits", BmpOf(2, 1, 32, {{50, 100, 200, 0}, {30, 20, 10, 255}}), colour, colour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        RgbImage shown, onGround;
        std::string error;
        ASSERT_TRUE(DecodePicture(c.bytes, &shown, &error)) << error;
        ASSERT_TRUE(DecodeOnGround(c.bytes, ground, &onGround, &error)) << error;
        if (c.shown) {
            EXPECT_EQ(shown.At(0, 0), *c.shown);
        }
        EXPECT_EQ(onGround.At(0, 0), c.onGround);
        EXPECT_EQ(std::make_pair(onGround.width, onGround.height), std::make_pair(shown.width, shown.height));
    }
    // The GIF's other pixel keeps its colour; scaled pictures read on the
    // ground too (the mosaic's tiles, a puzzle made to fit).
    RgbImage image;
    std::string error;
    // The pictures the Windows suite reads in quizpack.exe, to the same pixels.
    const std::string folder = std::string(QUIZ_PROJECT_DIR) + "/tests/windows/pictures/";
    for (auto [file, expected] : {std::pair{"rgba.png", std::vector<Rgb>(kRgbaOnGround, kRgbaOnGround + 6)},
                                  {"transparent.gif", std::vector<Rgb>(kTransparentGifOnGround, kTransparentGifOnGround + 2)}}) {
        SCOPED_TRACE(file);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadFileBytes(folder + file, &bytes));
        ASSERT_TRUE(DecodeOnGround(bytes, kTestGround, &image, &error)) << error;
        EXPECT_EQ(image.pixels, expected);
    }
    ASSERT_TRUE(DecodeOnGround(GifOf(gif), ground, &image, &error)) << error;
    EXPECT_EQ(image.At(1, 0), (Rgb{10, 20, 30}));
    ASSERT_TRUE(DecodeUpright(LibpngOf(1, 1, PNG_FORMAT_RGBA, {200, 100, 50, 0}), 1, 1, ground, &image, &error)) << error;
    EXPECT_EQ(image.At(0, 0), ground);
}

// A picture cut short would show black where its end is missing: refused,
// whatever its format (a JPEG's case is above).
TEST(DecodePicture, APictureCutShortIsRefused) {
    const std::vector<uint8_t> bmp = BmpOf(11, 3, 24, std::vector<std::vector<uint8_t>>(33, {10, 20, 30}));  // rows of 33 + 3 bytes
    // The same pixels behind the 12-byte header of OS/2: 2 x 1, 24 bits.
    const std::vector<uint8_t> core = {'B', 'M', 34, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 24, 0,
                                       10, 20, 30, 10, 20, 30, 0, 0};
    GifPicture picture = {31, 7, Palette(4), Indices(31, 7, [](int x, int y) { return (x + y) % 4; })};  // a table of 12 bytes
    const std::vector<uint8_t> gif = GifOf(picture);  // ..., its frame's last data byte, the empty block, the trailer
    ASSERT_EQ(gif.back(), 0x3B);
    ASSERT_EQ(gif[gif.size() - 2], 0);
    // No global colour table: the frame's own of 4 colours, then its 3-bit codes (clear,
    // 0, 1, end), the empty block, the trailer.
    const std::vector<uint8_t> local = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0x81,
                                        200, 100, 50, 10, 20, 30, 0, 0, 0, 0, 0, 0, 2, 2, 0x44, 0x0A, 0, 0x3B};
    const std::vector<uint8_t> png = FakePng(40, 30);  // ..., IDAT, IEND (12 bytes)
    // Noise that libpng writes in IDAT chunks of 8192 bytes: the file cut
    // after the first one ends its compressed data early.
    std::vector<uint8_t> noise(64 * 64 * 4);
    uint32_t state = 2463534242u;
    for (uint8_t& sample : noise) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        sample = uint8_t(state >> 24);
    }
    const std::vector<uint8_t> chunked = LibpngOf(64, 64, PNG_FORMAT_RGBA, noise);
    size_t firstIdatEnd = 8;
    while (firstIdatEnd + 8 <= chunked.size() && std::memcmp(&chunked[firstIdatEnd + 4], "IDAT", 4) != 0)
        firstIdatEnd += 12 + (size_t(chunked[firstIdatEnd]) << 24 | size_t(chunked[firstIdatEnd + 1]) << 16 |
                              size_t(chunked[firstIdatEnd + 2]) << 8 | chunked[firstIdatEnd + 3]);
    firstIdatEnd += 12 + (size_t(chunked[firstIdatEnd + 2]) << 8 | chunked[firstIdatEnd + 3]);
    ASSERT_EQ(std::memcmp(&chunked[firstIdatEnd + 4], "IDAT", 4), 0);  // a second one follows
    auto cut = [](std::vector<uint8_t> bytes, size_t n) {
        bytes.resize(bytes.size() - n);
        return bytes;
    };
    const std::string bmpCut = "cette image BMP ne se d\xC3\xA9" "code pas (fichier tronqu\xC3\xA9 : il lui manque des lignes de pixels)";
    const std::string gifCut = "cette image GIF ne se d\xC3\xA9" "code pas (fichier tronqu\xC3\xA9 : sa premi\xC3\xA8re image s'arr\xC3\xAAte avant sa fin)";
    const std::string pngCut = "le d\xC3\xA9" "codeur PNG du lecteur ne lit pas cette image (fichier tronqu\xC3\xA9 ou ab\xC3\xAEm\xC3\xA9 ?)";
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string error;  // empty: it decodes
    } cases[] = {
        {"BMP whole", bmp, ""},
        {"BMP without its last row's padding", cut(bmp, 3), ""},
        {"BMP a byte short of its last pixel", cut(bmp, 4), bmpCut},
        {"BMP a row short", cut(bmp, 36), bmpCut},
        {"BMP of OS/2, whole", core, ""},
        {"BMP of OS/2, a byte short of its last pixel", cut(core, 3), bmpCut},
        {"GIF cut in its screen's description", std::vector<uint8_t>(gif.begin(), gif.begin() + 12), gifCut},
        {"GIF whole", gif, ""},
        {"GIF without its trailer", cut(gif, 1), ""},
        {"GIF without its frame's empty block", cut(gif, 2), gifCut},
        {"GIF a frame cut one byte short", cut(gif, 3), gifCut},
        {"GIF cut in its colour table", std::vector<uint8_t>(gif.begin(), gif.begin() + 15), gifCut},
        {"GIF ending with its colour table", std::vector<uint8_t>(gif.begin(), gif.begin() + 25), gifCut},
        {"GIF of a local colour table, whole", local, ""},
        {"GIF of a local colour table, its frame one byte short", cut(local, 3), gifCut},
        {"PNG whole", png, ""},
        // Every pixel is there, as in a GIF without its trailer.
        {"PNG without its IEND", cut(png, 12), ""},
        {"PNG cut in its image data", cut(png, 13), pngCut},
        {"PNG of noise, whole", chunked, ""},
        {"PNG cut after its first IDAT chunk", std::vector<uint8_t>(chunked.begin(), chunked.begin() + firstIdatEnd), pngCut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool onGround : {false, true}) {
            RgbImage image;
            std::string error;
            const bool decoded = onGround ? DecodeOnGround(c.bytes, {90, 95, 150}, &image, &error)
                                          : DecodePicture(c.bytes, &image, &error);
            EXPECT_EQ(decoded, c.error.empty()) << error;
            EXPECT_EQ(error, c.error);
        }
    }
    // A compressed BMP, or one of 0 bits a pixel, is the decoder's to refuse,
    // in its own words: no row of it is cut short.
    for (auto [at, value] : {std::pair{30, 1}, std::pair{28, 0}}) {
        std::vector<uint8_t> odd = bmp;
        odd[size_t(at)] = uint8_t(value);
        RgbImage refused;
        std::string said;
        EXPECT_FALSE(DecodePicture(odd, &refused, &said)) << at;
        EXPECT_NE(said, bmpCut) << at;
    }
    EXPECT_TRUE(GifAsPng(cut(gif, 3)).empty());  // never stored as the PNG of half its pixels
    EXPECT_FALSE(GifAsPng(cut(gif, 1)).empty());
}

}  // namespace
}  // namespace quizpack
