// The picture loader on real resources: GIF pictures under "IMG" through the
// platform's OLE loader, PNG pictures stored as RT_RCDATA through our decoder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "grid/quiz_tables.h"
#include "images/picture_loader_win32.h"
#include "images/png_decoder_win32.h"
#include "model/alert.h"
#include "authoring/ground_fixture.h"
#include "pictures/raster.h"
#include "test_support.h"
#include "win32_test_support.h"

namespace quiz {
namespace {

struct Rgb {
    uint8_t red, green, blue;
    bool operator==(const Rgb& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

const Rgb kColours[6] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {128, 64, 32}};

SIZE SizeOf(HBITMAP bitmap) { return test::BitmapSize(bitmap); }

// Every pixel, top row first, read back at 32 bits.
std::vector<Rgb> PixelsOf(HBITMAP bitmap) {
    std::vector<Rgb> pixels;
    for (uint32_t p : test::PixelsOf(bitmap))
        pixels.push_back({static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                          static_cast<uint8_t>(p)});
    return pixels;
}

HBITMAP Load(int id) { return LoadResourcePicture(GetModuleHandleA(nullptr), id, "IMG", 510, 510); }

// First in this file, while no GIF has loaded in this process: PNG pictures
// never load the platform's picture libraries, the first GIF does.
TEST(PictureLoader, OnlyTheFirstPlatformPictureLoadsThePlatformsLibraries) {
    ASSERT_EQ(GetModuleHandleA("oleaut32.dll"), nullptr);
    HBITMAP png = Load(601);
    EXPECT_NE(png, nullptr);
    EXPECT_EQ(GetModuleHandleA("oleaut32.dll"), nullptr);
    EXPECT_EQ(GetModuleHandleA("ole32.dll"), nullptr);
    HBITMAP gif = Load(600);
    EXPECT_NE(gif, nullptr);
    EXPECT_NE(GetModuleHandleA("oleaut32.dll"), nullptr);
    DeleteObject(png);
    DeleteObject(gif);
}

TEST(PictureLoader, GifAndPngPicturesBecomeBitmapsOfTheirOwnPixels) {
    const std::vector<Rgb> sixColours(kColours, kColours + 6);
    struct Case {
        const char* name;
        int id;
        std::vector<Rgb> pixels;
    } cases[] = {
        {"GIF under IMG", 600, sixColours},
        {"RGB PNG as RT_RCDATA", 601, sixColours},
        {"4-bit palette PNG", 602, sixColours},
        {"RGBA PNG", 604, sixColours},
        {"Adam7 PNG", 605, sixColours},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::AlertCapture capture;
        HBITMAP bitmap = Load(c.id);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_TRUE(capture.alerts().empty());
        SIZE size = SizeOf(bitmap);
        EXPECT_EQ(size.cx, 3);
        EXPECT_EQ(size.cy, 2);
        EXPECT_TRUE(PixelsOf(bitmap) == c.pixels);
        DeleteObject(bitmap);
    }
    HBITMAP grey = Load(603);
    ASSERT_NE(grey, nullptr);
    EXPECT_TRUE(PixelsOf(grey) == (std::vector<Rgb>{{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}}));
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(grey, sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBmih.biBitCount, 4);  // a 2-bit grey image is a 4-bit DIB
    DeleteObject(grey);
}

TEST(PictureLoader, TheSampleQuizPicturesLoadAtTheirOwnSize) {
    test::AlertCapture capture;
    HBITMAP puzzle = Load(400);
    ASSERT_NE(puzzle, nullptr);
    SIZE size = SizeOf(puzzle);
    EXPECT_EQ(size.cx, 459);
    EXPECT_EQ(size.cy, 505);
    std::vector<Rgb> pixels = PixelsOf(puzzle);
    EXPECT_TRUE(pixels[0] == (Rgb{255, 255, 255}));  // the margin
    DeleteObject(puzzle);
    const int placed = static_cast<int>(CarriedTables().answerPlaces.size());
    EXPECT_GT(placed, 0);  // the tables travel as resources, read at the first question
    for (int k = 1; k <= placed; ++k) {
        SCOPED_TRACE("overlay " + std::to_string(k));
        AnswerPlace place{};
        ASSERT_TRUE(AnswerPlaceOf(k, &place));
        HBITMAP overlay = Load(10400 + k);
        ASSERT_NE(overlay, nullptr);
        SIZE s = SizeOf(overlay);
        EXPECT_EQ(s.cx, place.width);
        EXPECT_EQ(s.cy, place.height);
        DeleteObject(overlay);
    }
    EXPECT_TRUE(capture.alerts().empty());
}

TEST(PictureLoader, TwoLoadsGiveTwoIndependentBitmaps) {
    for (int id : {600, 601}) {
        SCOPED_TRACE(id);
        HBITMAP first = Load(id);
        HBITMAP second = Load(id);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_NE(first, second);
        DeleteObject(first);
        EXPECT_EQ(GetObjectType(first), 0u);
        EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
        EXPECT_TRUE(PixelsOf(second) == std::vector<Rgb>(kColours, kColours + 6));
        DeleteObject(second);
    }
}

TEST(PictureLoader, APngUnderImgTakesThePlatformRoad) {
    test::AlertCapture capture;
    HBITMAP bitmap = Load(620);
    // Whatever the platform makes of it (Wine reads PNG, older systems do
    // not), our decoder never sees it: no PNG message, and not the DIB
    // section our decoder makes, but the plain copy of the platform road.
    for (const auto& alert : capture.alerts()) EXPECT_EQ(alert.text.find("PNG"), std::string::npos);
    if (bitmap) {
        DIBSECTION section = {};
        EXPECT_NE(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
        DeleteObject(bitmap);
    }
    HBITMAP ours = Load(602);  // the same PNG as RT_RCDATA: a DIB section
    DIBSECTION section = {};
    EXPECT_EQ(GetObjectA(ours, sizeof section, &section), static_cast<int>(sizeof section));
    DeleteObject(ours);
}

// The fixture quizzes' GIF pictures, under "IMG" from 630: the puzzle, then
// the 21 overlays. quizpack stores each as the PNG of its pixels: the
// player's own decoder must show what the platform shows of the GIF, also
// once both are copied to the screen's format as the grid copies them.
TEST(PictureLoader, AnOpaqueGifStoredAsPngShowsThePlatformsPixels) {
    HMODULE module = GetModuleHandleA(nullptr);
    for (int id = 630; id <= 651; ++id) {
        SCOPED_TRACE(id);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "IMG");
        ASSERT_NE(found, nullptr);
        const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
        const std::vector<uint8_t> gif(bytes, bytes + SizeofResource(module, found));
        const std::vector<uint8_t> png = quizpack::GifAsPng(gif);
        ASSERT_FALSE(png.empty());
        PngDecoder decoder;
        PngDecoderInit(&decoder);
        ASSERT_TRUE(PngDecoderLoadMemory(&decoder, png.data(), png.size()));
        ASSERT_TRUE(PngDecoderDecode(&decoder));
        HBITMAP ours = PngDecoderCreateBitmap(&decoder, nullptr);
        PngDecoderRelease(&decoder);
        HBITMAP platform = Load(id);
        ASSERT_NE(ours, nullptr);
        ASSERT_NE(platform, nullptr);
        EXPECT_EQ(SizeOf(ours).cx, SizeOf(platform).cx);
        EXPECT_EQ(SizeOf(ours).cy, SizeOf(platform).cy);
        const std::vector<uint32_t> shown = test::PixelsOf(platform);
        EXPECT_FALSE(shown.empty());
        EXPECT_TRUE(test::PixelsOf(ours) == shown);
        HBITMAP ourCopy = static_cast<HBITMAP>(CopyImage(ours, IMAGE_BITMAP, 0, 0, 0));
        HBITMAP platformCopy = static_cast<HBITMAP>(CopyImage(platform, IMAGE_BITMAP, 0, 0, 0));
        EXPECT_TRUE(test::PixelsOf(ourCopy) == test::PixelsOf(platformCopy));
        for (HBITMAP bitmap : {ours, platform, ourCopy, platformCopy}) DeleteObject(bitmap);
    }
}

// quizpack.exe blends a transparent picture it draws anew over the quiz's
// background to the very pixels quizpack makes natively.
TEST(PictureLoader, TransparentPicturesOnTheGroundAsNatively) {
    struct Case {
        int id;
        std::vector<quizpack::Rgb> expected;
    } cases[] = {
        {604, std::vector<quizpack::Rgb>(quizpack::kRgbaOnGround, quizpack::kRgbaOnGround + 6)},
        {606, std::vector<quizpack::Rgb>(quizpack::kTransparentGifOnGround, quizpack::kTransparentGifOnGround + 2)},
    };
    HMODULE module = GetModuleHandleA(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(c.id), MAKEINTRESOURCEA(10));  // RT_RCDATA
        ASSERT_NE(found, nullptr);
        const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
        const std::vector<uint8_t> picture(bytes, bytes + SizeofResource(module, found));
        quizpack::RgbImage image;
        std::string error;
        ASSERT_TRUE(quizpack::DecodeOnGround(picture, quizpack::kTestGround, &image, &error)) << error;
        EXPECT_TRUE(image.pixels == c.expected);
    }
}

TEST(PictureLoader, FailuresShowTheirMessageOnceAndGiveNull) {
    struct Case {
        const char* name;
        int id;
        const char* message;
    } cases[] = {
        {"an id neither under IMG nor RT_RCDATA", 700, "Error: couldn't load PNG resource"},
        {"RT_RCDATA that is not a PNG", 610, "Error: couldn't load PNG resource"},
        {"a PNG whose data do not inflate", 611, "Error: couldn't decode PNG resource"},
        {"a PNG with filter type 5", 612, "Error: couldn't create bitmap"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::AlertCapture capture;
        EXPECT_EQ(Load(c.id), nullptr);
        ASSERT_EQ(capture.alerts().size(), 1u);
        EXPECT_EQ(capture.alerts()[0].text, c.message);
        EXPECT_EQ(capture.alerts()[0].caption, "Information");
        EXPECT_EQ(capture.alerts()[0].style, static_cast<unsigned>(MB_ICONERROR));
    }
    // Bytes the platform cannot read give null without a message.
    test::AlertCapture capture;
    const char junk[] = "not a picture";
    EXPECT_EQ(LoadOlePicture(junk, sizeof junk), nullptr);
    EXPECT_TRUE(capture.alerts().empty());
}

}  // namespace
}  // namespace quiz
