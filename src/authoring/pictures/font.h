// Letters drawn by stb_truetype from the font quizpack carries (DejaVu Sans
// Bold): the word search's cells, the numbers and answers of the marks.
#pragma once

#include <string>

#include "pictures/raster.h"

struct stbtt_fontinfo;

namespace quizpack {

class Font {
public:
    Font();
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // False with a French `error` when the font cannot be read.
    bool Open(int pixels, std::string* error);
    // `letter` centred in the square box, blended from `ground` to `ink`.
    void Draw(RgbImage* image, char letter, int left, int top, int size, Rgb ground, Rgb ink);
    // A CP1252 text's width in pixels, and the height above the baseline.
    int Width(const std::string& cp1252) const { return Width(CodePoints(cp1252)); }
    int Width(const std::u16string& text) const;
    int Ascent() const;
    // Writes a CP1252 text (or one of any characters the font has) from x =
    // `left` with its baseline at y = `baseline`, blended over what is there;
    // nothing outside the image.
    void Write(RgbImage* image, const std::string& cp1252, int left, int baseline, Rgb ink) {
        Write(image, CodePoints(cp1252), left, baseline, ink);
    }
    void Write(RgbImage* image, const std::u16string& text, int left, int baseline, Rgb ink);

    static std::u16string CodePoints(const std::string& cp1252);

private:
    stbtt_fontinfo* font_;
    float scale_ = 1;
    unsigned char* glyph_ = nullptr;
};

}  // namespace quizpack
