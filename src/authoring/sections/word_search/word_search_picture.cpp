#include "sections/word_search/word_search_picture.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include "pictures/font.h"

namespace quizpack {

namespace {

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
    const int tallest = (quiz::kLetterCountTop - 2 - G::kTop) / rows;
    const int fits = std::min(widest, tallest);
    if (cellSize == 0) cellSize = std::min(fits, G::kMaxCell);
    if (cellSize < G::kMinCell || cellSize > G::kMaxCell) {
        *error = cellSize < G::kMinCell && fits < G::kMinCell
                     ? "une grille de " + std::to_string(columns) + " x " + std::to_string(rows) +
                           " ne tient pas dans l'image (" + std::to_string(G::kMaxWidth) +
                           " pixels de large, la bande du texte à y = " +
                           std::to_string(quiz::kLetterCountTop) + ") avec des cases de " +
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

namespace {

// Bands of neighbouring words must differ: twelve colours that stand apart
// on white and on one another, taken in turn.
const Rgb kBandColours[] = {{220, 30, 40},  {20, 120, 220}, {0, 150, 60},   {230, 120, 0},
                            {150, 40, 180}, {0, 160, 170},  {200, 0, 120},  {110, 90, 20},
                            {90, 90, 230},  {70, 170, 0},   {240, 70, 160}, {0, 90, 110}};

// The centre of a cell's inner square.
std::pair<double, double> CellCentre(const PuzzleGeometry& g, int column, int row) {
    const double inner = g.cell - PuzzleGeometry::kLine;
    return {PuzzleGeometry::kLeft + g.cell * column + (inner - 1) / 2.0,
            PuzzleGeometry::kTop + g.cell * row + (inner - 1) / 2.0};
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double x = ax + t * dx - px, y = ay + t * dy - py;
    return std::sqrt(x * x + y * y);
}

}  // namespace

const char* DirectionInFrench(int direction) {
    static const char* const kNames[8] = {
        "vers la droite", "vers la gauche", "vers le bas", "vers le haut",
        "en descendant vers la droite", "en montant vers la gauche",
        "en montant vers la droite", "en descendant vers la gauche"};
    return direction >= 0 && direction < 8 ? kNames[direction] : "?";
}

bool DrawAnswerKey(const WordSearch& search, const PuzzleGeometry& g, const RgbImage& puzzle,
                   RgbImage* key, std::string* error) {
    *key = puzzle;
    const double radius = (g.cell - PuzzleGeometry::kLine) * 0.5 + 1;
    const double thickness = std::max(2.0, g.cell / 10.0);
    for (size_t k = 0; k < search.places.size(); ++k) {
        const WordPlace& place = search.places[k];
        const Direction& d = kDirections[place.direction];
        const auto [ax, ay] = CellCentre(g, place.column, place.row);
        const auto [bx, by] = CellCentre(g, place.column + d.dx * (place.length - 1),
                                         place.row + d.dy * (place.length - 1));
        const Rgb colour = kBandColours[k % std::size(kBandColours)];
        const int left = static_cast<int>(std::min(ax, bx) - radius - 1);
        const int right = static_cast<int>(std::max(ax, bx) + radius + 1);
        const int top = static_cast<int>(std::min(ay, by) - radius - 1);
        const int bottom = static_cast<int>(std::max(ay, by) + radius + 1);
        for (int y = std::max(top, 0); y <= std::min(bottom, key->height - 1); ++y)
            for (int x = std::max(left, 0); x <= std::min(right, key->width - 1); ++x) {
                const double distance = DistanceToSegment(x, y, ax, ay, bx, by);
                if (distance <= radius && distance > radius - thickness) key->At(x, y) = colour;
            }
    }
    // The numbers go on top of every band, so that none is crossed out.
    Font font;
    const int pixels = std::max(8, g.cell * 2 / 5);
    if (!font.Open(pixels, error)) return false;
    for (size_t k = 0; k < search.places.size(); ++k) {
        const WordPlace& place = search.places[k];
        const Rgb colour = kBandColours[k % std::size(kBandColours)];
        const std::string number = std::to_string(k + 1);
        const int box = pixels * 6 / 10;  // one digit's room
        const int width = box * static_cast<int>(number.size()) + 2;
        const int height = pixels + 1;
        const int left = PuzzleGeometry::kLeft + g.cell * place.column - 2;
        const int top = PuzzleGeometry::kTop + g.cell * place.row - 2;
        key->Fill(left, top, width, height, colour);
        for (size_t i = 0; i < number.size(); ++i)
            font.Draw(key, number[i], left + 1 + box * static_cast<int>(i) - (pixels - box) / 2, top,
                      pixels, colour, {255, 255, 255});
    }
    return true;
}

}  // namespace quizpack
