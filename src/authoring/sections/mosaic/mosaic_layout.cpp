#include "sections/mosaic/mosaic_layout.h"

#include <algorithm>

namespace quizpack {

namespace {

// The side of the tiles of `count` pictures in `columns`.
int TileSide(int count, int columns) {
    using L = MosaicLayout;
    const int rows = (count + columns - 1) / columns;
    return std::min((L::kMaxWidth - L::kGap * (columns + 1)) / columns,
                    (L::kTilesBottom - L::kGap * (rows + 1)) / rows);
}

}  // namespace

std::array<int, 4> MosaicLayout::Tile(int k) const {
    return {left + (tile + kGap) * (k % columns), kGap + (tile + kGap) * (k / columns), tile, tile};
}

bool LayOutMosaic(int count, int columns, MosaicLayout* layout, std::string* error) {
    using L = MosaicLayout;
    if (columns == 0) {
        columns = 1;
        for (int c = 2; c <= count; ++c)
            if (TileSide(count, c) > TileSide(count, columns)) columns = c;
    }
    const int tile = TileSide(count, columns);
    if (tile < L::kMinTile) {
        *error = "en " + std::to_string(columns) + (columns == 1 ? " colonne" : " colonnes") + ", les " +
                 std::to_string(count) + " images auraient des cases de " + std::to_string(std::max(tile, 0)) +
                 " pixels ; il en faut " + std::to_string(L::kMinTile) + " au moins";
        return false;
    }
    layout->columns = columns;
    layout->rows = (count + columns - 1) / columns;
    layout->tile = tile;
    const int tiles = columns * tile + (columns - 1) * L::kGap;
    layout->width = std::max(L::kMinWidth, tiles + 2 * L::kGap);
    layout->left = (layout->width - tiles) / 2;
    layout->height = L::kHeight;
    return true;
}

}  // namespace quizpack
