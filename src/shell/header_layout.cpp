#include "shell/header_layout.h"

namespace quiz {

int HeaderLayout(int r, int quizKind, HeaderMove moves[8]) {
    // The left block (score, code) and the middle block's left edge stay; the
    // right block follows the right edge.
    const HeaderMove table[] = {
        {29, 110, 3, r - 350, 18, false},     // title
        {24, r - 134, 0, 115, 18, false},     // link
        {25, r - 134, 25, 26, 18, false},     // "Par :"
        {26, r - 107, 25, 105, 18, true},     // author
        {27, r - 204, 25, 55, 18, true},      // "Sauver"
        {28, 110, 19, r - 324, 28, true},     // subtitle
        {122, r - 145, 0, 1, 50, true},       // rule
        {kHideFoundId, r - 204, 0, 85, 18, true},
    };
    const int count = quizKind == 1 ? 8 : 7;
    for (int i = 0; i < count; ++i) moves[i] = table[i];
    return count;
}

HeaderPaint ChooseHeaderPaint(int id) {
    const bool inRange = id >= 20 && id <= 33;
    return {inRange, id == kLinkLabelId};
}

}  // namespace quiz
