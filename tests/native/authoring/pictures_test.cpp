// The pictures quizpack reads and writes: GIF stored as PNG, sizes from
// headers.
#include "authoring_fixtures.h"

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
    EXPECT_EQ(error.rfind("cette image BMP ne se d\xC3\xA9" "code pas (le d\xC3\xA9" "codeur dit : ", 0), 0u) << error;
}

}  // namespace
}  // namespace quizpack
