#include "judge/code_field.h"

namespace quizpack {

namespace {

// Advances of 0x20..0xFF in the field's font, as the player's header
// measures them (the Windows tests read them back from a real field). The
// field draws DEL, the soft hyphen and the five bytes CP1252 leaves
// undefined with no width at all.
const uint8_t kWidths[224] = {
    3, 3, 4, 6, 6, 10, 7, 2, 4, 4, 4, 6, 3, 4, 3, 3,  6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 3, 3, 6, 6, 6, 6,
    11, 7, 7, 8, 8, 7, 7, 9, 8, 3, 6, 7, 6, 9, 8, 9,  7, 9, 8, 7, 7, 8, 7, 10, 7, 7, 7, 3, 3, 3, 5, 6,
    4, 6, 6, 6, 6, 6, 3, 6, 6, 2, 2, 6, 2, 9, 6, 6,  6, 6, 4, 6, 3, 6, 6, 8, 6, 6, 6, 4, 3, 4, 6, 0,
    6, 0, 2, 6, 4, 11, 6, 6, 4, 11, 7, 4, 11, 0, 7, 0,  0, 2, 2, 4, 4, 4, 6, 11, 4, 11, 6, 4, 10, 0, 6, 7,
    3, 4, 6, 6, 6, 6, 3, 6, 4, 8, 4, 6, 6, 0, 8, 6,  4, 6, 4, 4, 4, 6, 6, 3, 4, 4, 4, 6, 9, 9, 9, 7,
    7, 7, 7, 7, 7, 7, 11, 8, 7, 7, 7, 7, 3, 3, 3, 3,  8, 8, 9, 9, 9, 9, 9, 6, 9, 8, 8, 8, 8, 7, 7, 7,
    6, 6, 6, 6, 6, 6, 10, 6, 6, 6, 6, 6, 3, 3, 3, 3,  6, 6, 6, 6, 6, 6, 6, 6, 7, 6, 6, 6, 6, 6, 6, 6,
};

}  // namespace

int CodeFieldCharWidth(uint8_t byte) { return byte < 0x20 ? 0 : kWidths[byte - 0x20]; }

std::string VisibleCodeText(const std::string& cp1252) {
    int right = 0;
    size_t shown = 0;
    while (shown < cp1252.size()) {
        right += CodeFieldCharWidth(static_cast<uint8_t>(cp1252[shown]));
        if (right > kCodeFieldTextWidth) break;
        ++shown;
    }
    return cp1252.substr(0, shown);
}

}  // namespace quizpack
