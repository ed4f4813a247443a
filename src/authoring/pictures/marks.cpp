#include "pictures/marks.h"

#include <algorithm>

#include "pictures/font.h"

namespace quizpack {

namespace {

uint8_t Blend(uint8_t picture, uint8_t tint, int share) {
    return static_cast<uint8_t>((picture * (100 - share) + tint * share + 50) / 100);
}

// The answer across a band of the frame's colour at the foot, in the
// largest size that fits its width (from 2/3 of the band down to 8 pixels),
// cut with "…" when even that is too wide.
bool WriteAnswer(RgbImage* mark, const std::string& answer, int frame, const MarkStyle& style, std::string* error) {
    const int band = std::clamp(mark->height / 5, 12, 40);
    if (mark->height < band + 2 * frame || mark->width < 4 * frame) return true;  // no room: the frame says it
    const int top = mark->height - frame - band;
    mark->Fill(0, top, mark->width, band + frame, style.frame);
    const int room = mark->width - 2 * frame - 4;
    std::string text = answer;
    Font font;
    int pixels = band * 2 / 3;
    if (!font.Open(pixels, error)) return false;
    while (pixels > 8 && font.Width(text) > room) {
        --pixels;
        if (!font.Open(pixels, error)) return false;
    }
    while (text.size() > 1 && font.Width(text) > room) text = text.substr(0, text.size() - 2) + "\x85";
    const int baseline = top + (band + font.Ascent()) / 2 - 1;
    font.Write(mark, text, (mark->width - font.Width(text)) / 2, baseline, style.ink);
    return true;
}

}  // namespace

int MarkFrameWidth(int width, int height) { return std::clamp(std::min(width, height) / 10, 2, 5); }

bool DrawMark(const RgbImage& puzzle, const std::array<int, 4>& place, const std::string& answer,
              const MarkStyle& style, RgbImage* mark, std::string* error) {
    *mark = puzzle.Crop(place[0], place[1], place[2], place[3]);
    for (Rgb& p : mark->pixels)
        p = {Blend(p.r, style.tint.r, style.tintShare), Blend(p.g, style.tint.g, style.tintShare),
             Blend(p.b, style.tint.b, style.tintShare)};
    const int frame = MarkFrameWidth(place[2], place[3]);
    mark->Fill(0, 0, mark->width, frame, style.frame);
    mark->Fill(0, mark->height - frame, mark->width, frame, style.frame);
    mark->Fill(0, 0, frame, mark->height, style.frame);
    mark->Fill(mark->width - frame, 0, frame, mark->height, style.frame);
    return answer.empty() || WriteAnswer(mark, answer, frame, style, error);
}

}  // namespace quizpack
