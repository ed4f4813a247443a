#include "grid/grid_items_win32.h"

#include <vector>

namespace quiz {

namespace {

constexpr int kHighestId = 10000;  // the picture ids end at 9996

// The grid being built or shown, and its controls by id: complete, since
// the grid records each control it makes.
HWND g_grid = nullptr;
std::vector<HWND> g_items;

}  // namespace

void StartGridItems(HWND grid) {
    g_grid = grid;
    g_items.assign(kHighestId, nullptr);
}

void RememberGridItem(HWND grid, int id, HWND item) {
    if (grid == g_grid && id >= 0 && id < kHighestId) g_items[static_cast<size_t>(id)] = item;
}

HWND GridItem(HWND grid, int id) {
    // No recorded grid (none built, or it is gone): nothing to answer from.
    if (!g_grid || grid != g_grid || id < 0 || id >= kHighestId) return GetDlgItem(grid, id);
    return g_items[static_cast<size_t>(id)];
}

void GridItemText(HWND grid, int id, char* text, int size) {
    if (size <= 0) return;
    text[0] = '\0';
    if (HWND item = GridItem(grid, id)) GetWindowTextA(item, text, size);
}

void SetGridItemText(HWND grid, int id, const char* text) {
    if (HWND item = GridItem(grid, id)) SetWindowTextA(item, text);
}

void ForgetGridItems(HWND grid) {
    if (grid != g_grid) return;
    g_grid = nullptr;
    g_items.clear();
}

}  // namespace quiz
