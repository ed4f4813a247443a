#include "pictures/font.h"

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

#include "pictures/embedded_font.h"
#include "text/text.h"

namespace quizpack {

namespace {

uint8_t Mix(uint8_t from, uint8_t to, int a) { return static_cast<uint8_t>((from * (255 - a) + to * a + 127) / 255); }

}  // namespace

std::u16string Font::CodePoints(const std::string& cp1252) { return Utf8ToUtf16(Cp1252ToUtf8(cp1252)); }

Font::Font() : font_(new stbtt_fontinfo{}) {}

Font::~Font() {
    if (glyph_) stbtt_FreeBitmap(glyph_, nullptr);
    delete font_;
}

bool Font::Open(int pixels, std::string* error) {
    const uint8_t* data = EmbeddedFont();
    const int offset = stbtt_GetFontOffsetForIndex(data, 0);
    if (EmbeddedFontSize() < 12 || offset < 0 || !stbtt_InitFont(font_, data, offset)) {
        *error = "la police DejaVu Sans Bold que quizpack transporte ne se lit pas";
        return false;
    }
    // The size in pixels of the em square, as type designers give it.
    scale_ = stbtt_ScaleForMappingEmToPixels(font_, static_cast<float>(pixels));
    return true;
}

void Font::Draw(RgbImage* image, char letter, int left, int top, int size, Rgb ground, Rgb ink) {
    if (glyph_) stbtt_FreeBitmap(glyph_, nullptr);
    int width = 0, height = 0;
    glyph_ = stbtt_GetCodepointBitmap(font_, scale_, scale_, static_cast<unsigned char>(letter), &width, &height,
                                      nullptr, nullptr);
    if (!glyph_) return;
    const int x0 = left + (size - width) / 2;
    const int y0 = top + (size - height) / 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int px = x0 + x, py = y0 + y;
            if (px < left || py < top || px >= left + size || py >= top + size) continue;
            const int a = glyph_[y * width + x];
            image->At(px, py) = {Mix(ground.r, ink.r, a), Mix(ground.g, ink.g, a), Mix(ground.b, ink.b, a)};
        }
}

int Font::Width(const std::u16string& text) const {
    int width = 0;
    for (char16_t c : text) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(font_, c, &advance, &bearing);
        width += static_cast<int>(advance * scale_ + 0.5f);
    }
    return width;
}

int Font::Ascent() const {
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(font_, &ascent, &descent, &gap);
    return static_cast<int>(ascent * scale_ + 0.5f);
}

void Font::Write(RgbImage* image, const std::u16string& text, int left, int baseline, Rgb ink) {
    int x = left;
    for (char16_t c : text) {
        int advance = 0, bearing = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointHMetrics(font_, c, &advance, &bearing);
        stbtt_GetCodepointBitmapBox(font_, c, scale_, scale_, &x0, &y0, &x1, &y1);
        const int width = x1 - x0, height = y1 - y0;
        if (width > 0 && height > 0) {
            std::vector<unsigned char> glyph(size_t(width) * height);
            stbtt_MakeCodepointBitmap(font_, glyph.data(), width, height, width, scale_, scale_, c);
            for (int y = 0; y < height; ++y)
                for (int gx = 0; gx < width; ++gx) {
                    const int px = x + x0 + gx, py = baseline + y0 + y;
                    if (px < 0 || py < 0 || px >= image->width || py >= image->height) continue;
                    const int a = glyph[size_t(y) * width + gx];
                    Rgb& p = image->At(px, py);
                    p = {Mix(p.r, ink.r, a), Mix(p.g, ink.g, a), Mix(p.b, ink.b, a)};
                }
        }
        x += static_cast<int>(advance * scale_ + 0.5f);
    }
}

}  // namespace quizpack
