// Where a mosaic's tiles go: square tiles in rows, above the strip where
// the player writes "%d lettres" (from y = quiz::kLetterCountTop), in a
// picture no wider than the grid's 510-pixel column.
#pragma once

#include <array>
#include <string>

namespace quizpack {

struct MosaicLayout {
    static constexpr int kMaxWidth = 510;   // the grid's picture column
    static constexpr int kTilesBottom = 460;  // the count's strip starts here
    static constexpr int kHeight = 505;     // as the word search's puzzle
    static constexpr int kMinWidth = 300;   // room for "%d lettres" from quiz::kLetterCountLeft
    static constexpr int kGap = 6;
    static constexpr int kMinTile = 48;     // smaller, a picture cannot be told
    static constexpr int kMinPictures = 2, kMaxPictures = 24;

    int columns = 0, rows = 0, tile = 0;
    int width = 0, height = kHeight;
    int left = kGap;  // the first tile's left edge

    // Tile k's rectangle (left, top, width, height), counted from 0.
    std::array<int, 4> Tile(int k) const;
};

// The layout for `count` pictures in `columns` (0: the number of columns that
// gives the largest tiles). False with a French `error` when the tiles
// would be smaller than kMinTile.
bool LayOutMosaic(int count, int columns, MosaicLayout* layout, std::string* error);

}  // namespace quizpack
