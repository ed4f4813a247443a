#include "grid/grid_scroll_win32.h"

#include "grid/grid_scroll.h"

namespace quiz {

namespace {

void SetRange(HWND grid, int bar, const AxisRange& range) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    // The same range again would only repaint the bar: every answer check
    // ends here, so an unchanged bar is left alone.
    if (GetScrollInfo(grid, bar, &info) && info.nMin == 0 && info.nMax == range.nMax &&
        static_cast<int>(info.nPage) == range.nPage)
        return;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = range.nMax;
    info.nPage = static_cast<UINT>(range.nPage);
    SetScrollInfo(grid, bar, &info, TRUE);
}

}  // namespace

void UpdateScrollRanges(QuizState* state, HWND grid) {
    RECT client;
    GetClientRect(grid, &client);
    const AxisRange horizontal = ComputeAxisRange(state->gridWidth, client.right - client.left);
    const AxisRange vertical = ComputeAxisRange(state->gridHeight, client.bottom - client.top);
    if (horizontal.resetPosition && GetScrollPos(grid, SB_HORZ)) SetScrollPos(grid, SB_HORZ, 0, FALSE);
    if (vertical.resetPosition && GetScrollPos(grid, SB_VERT)) SetScrollPos(grid, SB_VERT, 0, FALSE);
    SetRange(grid, SB_HORZ, horizontal);
    SetRange(grid, SB_VERT, vertical);
}

void ScrollGridAfterResize(QuizState* state, HWND grid) {
    const int vOld = GetScrollPos(grid, SB_VERT);
    const int hOld = GetScrollPos(grid, SB_HORZ);
    UpdateScrollRanges(state, grid);
    const int vNew = GetScrollPos(grid, SB_VERT);
    const int hNew = GetScrollPos(grid, SB_HORZ);
    if (hOld == hNew && vOld == vNew) return;  // a scroll by 0 still moves every child
    ScrollWindow(grid, hOld - hNew, vOld - vNew, nullptr, nullptr);
    // Scrolling while the client grows moves bits that were never painted
    // (seen under Wine): the children are drawn afresh once the position moved.
    RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ScrollGrid(HWND grid, int bar, int request) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;  // 28 bytes
    info.fMask = SIF_ALL;
    GetScrollInfo(grid, bar, &info);
    const ScrollBarState state = {info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos,
                                  info.nTrackPos};
    const int target = bar == SB_VERT ? VerticalScrollTarget(request, state)
                                      : HorizontalScrollTarget(request, state);
    SetScrollPos(grid, bar, target, TRUE);  // the system clamps to nMax - nPage + 1
    const int reached = GetScrollPos(grid, bar);
    // Nothing moved: a scroll by 0 would still move every child by nothing,
    // one by one, as the SB_TOP right after the build would.
    if (reached == info.nPos) return;
    if (bar == SB_VERT)
        ScrollWindow(grid, 0, info.nPos - reached, nullptr, nullptr);
    else
        ScrollWindow(grid, info.nPos - reached, 0, nullptr, nullptr);
}

}  // namespace quiz
