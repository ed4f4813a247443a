// The grid's scroll arithmetic, portable. Positions are pixel offsets of the
// content (one pixel per position); ranges follow the content extent and the
// client size.
#pragma once

#include <cstdint>

namespace quiz {

// Private WM_VSCROLL codes of the grid: one wheel notch down or up.
constexpr int kWheelDownCode = 500;
constexpr int kWheelUpCode = 501;
constexpr int kVerticalLineStep = 560;
constexpr int kWheelStep = 50;

// The range of one bar: nMin 0, nMax extent - 2, nPage visible - 1, where
// visible is the client size or the extent when the content is not larger;
// then the position is put back to 0.
struct AxisRange {
    int nMax;
    int nPage;
    bool resetPosition;
};
AxisRange ComputeAxisRange(int extent, int clientSize);

// What a bar holds when a request comes in.
struct ScrollBarState {
    int nMin;
    int nMax;
    int nPage;
    int nPos;
    int nTrackPos;
};
// The position a request asks for, clamped to nMin ... nMax (the system then
// clamps to the largest reachable position, nMax - nPage + 1).
int VerticalScrollTarget(int request, const ScrollBarState& bar);
int HorizontalScrollTarget(int request, const ScrollBarState& bar);

// The private code a wheel message's wParam asks for: 501 for one notch away
// from the user (+120), 500 for one toward (-120, read unsigned as 65416),
// 0 for anything else (high-resolution wheels are ignored).
int WheelScrollCode(uint64_t wParam);

}  // namespace quiz
