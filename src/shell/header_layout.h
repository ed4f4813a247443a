// The header bar's arithmetic, portable: where its controls go when the bar
// is resized, and how its labels are painted.
#pragma once

namespace quiz {

constexpr int kLinkLabelId = 24;
constexpr int kSaveButtonId = 27;
constexpr int kCodeFieldId = 30;
constexpr int kScoreLabelId = 32;
constexpr int kHideFoundId = 33;

struct HeaderMove {
    int id;
    int x, y, width, height;
    bool invalidate;  // repainted whole, without erasing, after the move
};

// The moves of a resize to a client right edge r, in order; the check box is
// moved only when the quiz has one (quizKind 1). Returns the count (7 or 8).
int HeaderLayout(int right, int quizKind, HeaderMove moves[8]);

// How the header paints a static (or read-only) control by its id: ids 20 to
// 33 draw transparently on the header's brush, the link in blue; the rules
// and everything else keep the system's colours.
struct HeaderPaint {
    bool onHeaderBrush;
    bool linkColour;  // RGB(50, 50, 255)
};
HeaderPaint ChooseHeaderPaint(int id);

}  // namespace quiz
