// The pictures of a word search as the player shows them: the puzzle (square
// cells, ruled lines, one capital per cell, and an empty strip below where
// the player writes "%d lettres" at (quiz::kLetterCountLeft,
// quiz::kLetterCountTop)) and, for each answer, the block of cells that
// covers it with the answer's cells tinted.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "grid/grid_layout.h"
#include "pictures/raster.h"
#include "sections/word_search/word_search.h"

namespace quizpack {

struct PuzzleStyle {
    int cellSize = 0;  // pixels from one ruled line to the next; 0: the largest that fits
    Rgb lines{40, 70, 190};
    Rgb ground{255, 255, 255};
    Rgb ink{20, 20, 40};
    Rgb tint{255, 170, 205};
};

// Where things go in the puzzle picture.
struct PuzzleGeometry {
    static constexpr int kLeft = 9, kTop = 11;  // the first cell's corner
    static constexpr int kLine = 3;             // ruled lines, pixels wide
    static constexpr int kMaxWidth = 510;       // the grid's picture column
    static constexpr int kHeight = 505;
    static constexpr int kMinWidth = 300;       // room for "%d lettres" from quiz::kLetterCountLeft
    static constexpr int kMinCell = 14;
    static constexpr int kMaxCell = 34;
    // The largest grids whose cells of kMinCell fit: 35 columns, 32 rows.
    static constexpr int kMaxColumns = (kMaxWidth - 2 * kLeft + 1) / kMinCell;
    static constexpr int kMaxRows = (quiz::kLetterCountTop - 2 - kTop) / kMinCell;

    int columns = 0, rows = 0, cell = 0;
    int width = 0, height = kHeight;

    // The overlay rectangle of a block of cells: left, top, width, height.
    std::array<int, 4> Block(int column, int row, int across, int down) const;
};

// The geometry for a grid; false with a French `error` when the cells would
// not fit above the strip or within the picture column, or the cell size
// asked for is out of range.
bool MakePuzzleGeometry(int columns, int rows, int cellSize, PuzzleGeometry* geometry,
                        std::string* error);

// Draws with DejaVu Sans Bold, carried inside quizpack, through stb_truetype. False with a French `error`
// when the font cannot be loaded.
bool DrawPuzzle(const WordSearch& search, const PuzzleGeometry& geometry, const PuzzleStyle& style,
                RgbImage* puzzle, std::string* error);

// The overlay of one placed word: the puzzle's block over its place, the
// word's own cells drawn on the tint.
bool DrawOverlay(const WordSearch& search, const WordPlace& place, const PuzzleGeometry& geometry,
                 const PuzzleStyle& style, const RgbImage& puzzle, RgbImage* overlay,
                 std::string* error);

// The answer key of a word search: over the plain puzzle, each answer
// outlined by a rounded band along its cells, in a colour of its own, with
// its question number in a tab at its first letter.
bool DrawAnswerKey(const WordSearch& search, const PuzzleGeometry& geometry,
                   const RgbImage& puzzle, RgbImage* key,
                   std::string* error);

// How the key's list says a direction: "vers la droite", ...
const char* DirectionInFrench(int direction);

}  // namespace quizpack
