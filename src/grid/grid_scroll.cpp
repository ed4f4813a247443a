#include "grid/grid_scroll.h"

namespace quiz {

namespace {

// The request codes of the scroll bars, as Windows numbers them.
enum : int {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbTrack = 5,
    kTop = 6,
    kBottom = 7,
};

int Clamp(int p, const ScrollBarState& bar) {
    if (p > bar.nMax) p = bar.nMax;
    if (p < bar.nMin) p = bar.nMin;
    return p;
}

}  // namespace

AxisRange ComputeAxisRange(int extent, int clientSize) {
    const bool fits = extent <= clientSize;
    const int visible = fits ? extent : clientSize;
    return {extent - 2, visible - 1, fits};
}

int VerticalScrollTarget(int request, const ScrollBarState& bar) {
    int p = bar.nPos;
    switch (request) {
        case kLineUp: p -= kVerticalLineStep; break;
        case kLineDown: p += kVerticalLineStep; break;
        case kPageUp: p -= bar.nPage; break;
        case kPageDown: p += bar.nPage; break;
        case kThumbTrack: p = bar.nTrackPos; break;
        case kTop: p = 0; break;
        case kBottom: p = bar.nMax; break;
        case kWheelDownCode: p += kWheelStep; break;
        case kWheelUpCode: p -= kWheelStep; break;
        default: break;  // SB_THUMBPOSITION, SB_ENDSCROLL and the rest
    }
    return Clamp(p, bar);
}

int HorizontalScrollTarget(int request, const ScrollBarState& bar) {
    int p = bar.nPos;
    switch (request) {
        case kLineUp: p -= 1; break;
        case kLineDown: p += 1; break;
        case kPageUp: p -= bar.nPage; break;
        case kPageDown: p += bar.nPage; break;
        case kThumbTrack: p = bar.nTrackPos; break;
        default: break;  // SB_LEFT and SB_RIGHT move nothing here
    }
    return Clamp(p, bar);
}

int WheelScrollCode(uint64_t wParam) {
    const auto delta = static_cast<uint16_t>(wParam >> 16);
    if (delta == 120) return kWheelUpCode;
    if (delta == 65416) return kWheelDownCode;
    return 0;
}

}  // namespace quiz
