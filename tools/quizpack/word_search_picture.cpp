#include "word_search_picture.h"

#include <algorithm>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace quizpack {

namespace {

const char* const kFontPaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
};

class Font {
public:
    ~Font() {
        if (face_) FT_Done_Face(face_);
        if (library_) FT_Done_FreeType(library_);
    }

    bool Open(int pixels, std::string* error) {
        if (FT_Init_FreeType(&library_)) {
            *error = "FreeType ne démarre pas";
            return false;
        }
        for (const char* path : kFontPaths)
            if (!FT_New_Face(library_, path, 0, &face_)) break;
        if (!face_) {
            *error = "la police DejaVu Sans Bold est introuvable (paquet fonts-dejavu-core)";
            return false;
        }
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels));
        return true;
    }

    // Draws `letter` centred in the box, blended from `ground` to `ink`.
    void Draw(RgbImage* image, char letter, int left, int top, int size, Rgb ground, Rgb ink) {
        if (FT_Load_Char(face_, static_cast<unsigned char>(letter), FT_LOAD_RENDER)) return;
        const FT_Bitmap& bitmap = face_->glyph->bitmap;
        const int x0 = left + (size - static_cast<int>(bitmap.width)) / 2;
        const int y0 = top + (size - static_cast<int>(bitmap.rows)) / 2;
        for (int y = 0; y < static_cast<int>(bitmap.rows); ++y)
            for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
                const int px = x0 + x, py = y0 + y;
                if (px < left || py < top || px >= left + size || py >= top + size) continue;
                const int a = bitmap.buffer[y * bitmap.pitch + x];
                auto mix = [a](uint8_t from, uint8_t to) {
                    return static_cast<uint8_t>((from * (255 - a) + to * a + 127) / 255);
                };
                image->At(px, py) = {mix(ground.r, ink.r), mix(ground.g, ink.g), mix(ground.b, ink.b)};
            }
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

void DrawCell(RgbImage* image, Font* font, const PuzzleGeometry& g, int column, int row,
              char letter, Rgb ground, Rgb ink) {
    const int inner = g.cell - PuzzleGeometry::kLine;
    const int left = PuzzleGeometry::kLeft + g.cell * column;
    const int top = PuzzleGeometry::kTop + g.cell * row;
    image->Fill(left, top, inner, inner, ground);
    font->Draw(image, letter, left, top, inner, ground, ink);
}

int FontPixels(int cell) { return std::max(8, (cell * 3 + 2) / 5); }

}  // namespace

std::array<int, 4> PuzzleGeometry::Block(int column, int row, int across, int down) const {
    return {kLeft + cell * column, kTop + cell * row, cell * across - kLine, cell * down - kLine};
}

bool MakePuzzleGeometry(int columns, int rows, int cellSize, PuzzleGeometry* g, std::string* error) {
    using G = PuzzleGeometry;
    // The grid keeps 2 pixels clear above the count, and the margins of its
    // first cell on the right.
    const int widest = (G::kMaxWidth - 2 * G::kLeft + 1) / columns;
    const int tallest = (G::kTextTop - 2 - G::kTop) / rows;
    const int fits = std::min(widest, tallest);
    if (cellSize == 0) cellSize = std::min(fits, G::kMaxCell);
    if (cellSize < G::kMinCell || cellSize > G::kMaxCell) {
        *error = cellSize < G::kMinCell && fits < G::kMinCell
                     ? "une grille de " + std::to_string(columns) + " x " + std::to_string(rows) +
                           " ne tient pas dans l'image (" + std::to_string(G::kMaxWidth) +
                           " pixels de large, la bande du texte à y = " +
                           std::to_string(G::kTextTop) + ") avec des cases de " +
                           std::to_string(G::kMinCell) + " pixels au moins"
                     : "la taille des cases va de " + std::to_string(G::kMinCell) + " à " +
                           std::to_string(G::kMaxCell) + " pixels";
        return false;
    }
    if (cellSize > fits) {
        *error = "avec des cases de " + std::to_string(cellSize) + " pixels, la grille de " +
                 std::to_string(columns) + " x " + std::to_string(rows) +
                 " ne tient pas dans l'image ; " + std::to_string(fits) + " pixels au plus";
        return false;
    }
    g->columns = columns;
    g->rows = rows;
    g->cell = cellSize;
    // A white margin around the ruled grid: 13 columns of 34 pixels make the
    // 459 pixels of the shipped puzzle.
    g->width = std::max(G::kMinWidth, 2 * G::kLeft - 1 + cellSize * columns);
    g->height = G::kHeight;
    return true;
}

bool DrawPuzzle(const WordSearch& search, const PuzzleGeometry& g, const PuzzleStyle& style,
                RgbImage* puzzle, std::string* error) {
    Font font;
    if (!font.Open(FontPixels(g.cell), error)) return false;
    using G = PuzzleGeometry;
    *puzzle = RgbImage(g.width, g.height, style.ground);
    for (int i = 0; i <= g.columns; ++i)
        puzzle->Fill(G::kLeft - G::kLine + g.cell * i, G::kTop - G::kLine, G::kLine,
                     g.cell * g.rows + G::kLine, style.lines);
    for (int j = 0; j <= g.rows; ++j)
        puzzle->Fill(G::kLeft - G::kLine, G::kTop - G::kLine + g.cell * j,
                     g.cell * g.columns + G::kLine, G::kLine, style.lines);
    for (int row = 0; row < g.rows; ++row)
        for (int column = 0; column < g.columns; ++column)
            DrawCell(puzzle, &font, g, column, row, search.cells[row][column], style.ground, style.ink);
    return true;
}

bool DrawOverlay(const WordSearch& search, const WordPlace& place, const PuzzleGeometry& g,
                 const PuzzleStyle& style, const RgbImage& puzzle, RgbImage* overlay,
                 std::string* error) {
    Font font;
    if (!font.Open(FontPixels(g.cell), error)) return false;
    RgbImage marked = puzzle;
    const Direction& d = kDirections[place.direction];
    for (int i = 0; i < place.length; ++i) {
        const int column = place.column + d.dx * i, row = place.row + d.dy * i;
        DrawCell(&marked, &font, g, column, row, search.cells[row][column], style.tint, style.ink);
    }
    const auto block = g.Block(place.left(), place.top(), place.width(), place.height());
    *overlay = marked.Crop(block[0], block[1], block[2], block[3]);
    return true;
}

}  // namespace quizpack
