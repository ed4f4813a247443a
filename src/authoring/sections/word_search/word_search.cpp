#include "sections/word_search/word_search.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <set>
#include <utility>

#include "text/text.h"

namespace quizpack {

const Direction kDirections[8] = {
    {1, 0, "right"},  {-1, 0, "left"},    {0, 1, "down"},      {0, -1, "up"},
    {1, 1, "down-right"}, {-1, -1, "up-left"}, {1, -1, "up-right"}, {-1, 1, "down-left"},
};

namespace {

// splitmix64: the same numbers on every platform and compiler.
struct Random {
    uint64_t state;
    uint64_t Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
    template <typename T> void Shuffle(std::vector<T>* v) {
        for (size_t i = v->size(); i > 1; --i) std::swap((*v)[i - 1], (*v)[Below(i)]);
    }
};

std::string Quoted(const std::string& word) { return "« " + word + " »"; }

// The cells a reading covers, as its two end cells in order: the same for
// a word and for its reading backwards over the same cells.
using Reading = std::pair<int, int>;

class Grid {
public:
    Grid(int columns, int rows) : columns_(columns), rows_(rows), cells_(columns * rows, 0) {}

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < columns_ && y < rows_; }
    char& At(int x, int y) { return cells_[y * columns_ + x]; }
    char At(int x, int y) const { return cells_[y * columns_ + x]; }
    int columns() const { return columns_; }
    int rows() const { return rows_; }

    bool Fits(const std::string& word, int x, int y, const Direction& d, int* shared) const {
        const int n = static_cast<int>(word.size());
        if (!Inside(x, y) || !Inside(x + d.dx * (n - 1), y + d.dy * (n - 1))) return false;
        *shared = 0;
        for (int i = 0; i < n; ++i) {
            char c = At(x + d.dx * i, y + d.dy * i);
            if (c && c != word[i]) return false;
            *shared += c != 0;
        }
        return *shared < n;  // a word lying wholly on others would be read inside them
    }

    // Whether `word` reads from (x, y) along d; empty cells read as nothing.
    bool Reads(const std::string& word, int x, int y, const Direction& d) const {
        const int n = static_cast<int>(word.size());
        if (!Inside(x, y) || !Inside(x + d.dx * (n - 1), y + d.dy * (n - 1))) return false;
        for (int k = 0; k < n; ++k)
            if (At(x + d.dx * k, y + d.dy * k) != word[k]) return false;
        return true;
    }

    static Reading ReadingOf(int columns, int x, int y, const Direction& d, int n) {
        int a = y * columns + x, b = (y + d.dy * (n - 1)) * columns + x + d.dx * (n - 1);
        return {std::min(a, b), std::max(a, b)};
    }

    // Calls `visit` with every complete reading of `word` that passes
    // through cell (cx, cy), until it returns false.
    template <typename Visit>
    bool ForReadingsThrough(const std::string& word, int cx, int cy, Visit visit) const {
        const int n = static_cast<int>(word.size());
        const char letter = At(cx, cy);
        for (const Direction& d : kDirections)
            for (int i = 0; i < n; ++i) {
                if (word[i] != letter) continue;
                int x = cx - d.dx * i, y = cy - d.dy * i;
                if (!Inside(x, y) || !Inside(x + d.dx * (n - 1), y + d.dy * (n - 1))) continue;
                bool same = true;
                for (int k = 0; k < n && same; ++k) same = At(x + d.dx * k, y + d.dy * k) == word[k];
                if (same && !visit(ReadingOf(columns_, x, y, d, n))) return false;
            }
        return true;
    }

    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int y = 0; y < rows_; ++y) rows.emplace_back(&cells_[y * columns_], columns_);
        return rows;
    }

private:
    int columns_, rows_;
    std::vector<char> cells_;
};

class Maker {
public:
    Maker(const WordSearchRequest& request, uint64_t seed)
        : request_(request), grid_(request.columns, request.rows), random_{seed} {
        order_.resize(request.words.size());
        std::iota(order_.begin(), order_.end(), 0);
        // Long words first: they are the hardest to fit.
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            return request.words[a].size() > request.words[b].size();
        });
        places_.resize(request.words.size());
        readings_.resize(request.words.size());
    }

    bool Place(int depth) {
        deepest_ = std::max(deepest_, depth);
        if (depth == static_cast<int>(order_.size())) return true;
        const int w = order_[depth];
        const std::string& word = request_.words[w];
        struct Candidate {
            int x, y, direction, shared;
        };
        std::vector<Candidate> candidates;
        for (int d : request_.directions)
            for (int y = 0; y < grid_.rows(); ++y)
                for (int x = 0; x < grid_.columns(); ++x) {
                    int shared;
                    if (grid_.Fits(word, x, y, kDirections[d], &shared))
                        candidates.push_back({x, y, d, shared});
                }
        random_.Shuffle(&candidates);
        // Crossings first: a grid that shares letters leaves room for the
        // words still to come; ties stay in their shuffled order.
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate& a, const Candidate& b) { return a.shared > b.shared; });
        for (const Candidate& c : candidates) {
            if (++steps_ > kStepBudget) return false;
            const Direction& d = kDirections[c.direction];
            std::vector<int> written;
            for (int i = 0; i < static_cast<int>(word.size()); ++i) {
                char& cell = grid_.At(c.x + d.dx * i, c.y + d.dy * i);
                if (!cell) {
                    cell = word[i];
                    written.push_back(i);
                }
            }
            places_[w] = {c.x, c.y, c.direction, static_cast<int>(word.size())};
            readings_[w] = Grid::ReadingOf(grid_.columns(), c.x, c.y, d, static_cast<int>(word.size()));
            placed_.push_back(w);
            Index(w);
            // The new word must not be read elsewhere already, nor may its
            // new letters complete a second reading of any placed word.
            bool ok = ReadOnce(w);
            for (int i : written)
                ok = ok && OnlyOwnReadings(c.x + d.dx * i, c.y + d.dy * i);
            if (ok && Place(depth + 1)) return true;
            placed_.pop_back();
            Unindex(w);
            for (int i : written) grid_.At(c.x + d.dx * i, c.y + d.dy * i) = 0;
            if (steps_ > kStepBudget) return false;
        }
        return false;
    }

    // Fills the empty cells, each with a letter that completes no reading
    // of a placed word other than its own place.
    bool Fill() {
        std::vector<int> empty;
        for (int y = 0; y < grid_.rows(); ++y)
            for (int x = 0; x < grid_.columns(); ++x)
                if (!grid_.At(x, y)) empty.push_back(y * grid_.columns() + x);
        random_.Shuffle(&empty);
        for (int index : empty) {
            const int x = index % grid_.columns(), y = index / grid_.columns();
            std::vector<char> letters(26);
            std::iota(letters.begin(), letters.end(), 'A');
            random_.Shuffle(&letters);
            bool filled = false;
            for (char letter : letters) {
                grid_.At(x, y) = letter;
                if ((filled = OnlyOwnReadings(x, y))) break;
            }
            if (!filled) return false;
        }
        return true;
    }

    int deepestWord() const {
        return order_[std::min<size_t>(deepest_, order_.size() - 1)];
    }
    const std::vector<WordPlace>& places() const { return places_; }
    const Grid& grid() const { return grid_; }

    // Sixteen attempts of this many candidates: a hopeless grid of 96 long
    // words in 20 x 20 is refused in about half a second.
    static constexpr long kStepBudget = 2500;

private:

    // Every reading of the word starts on a cell holding its first letter.
    bool ReadOnce(int w) const {
        const std::string& word = request_.words[w];
        const int n = static_cast<int>(word.size());
        for (int y = 0; y < grid_.rows(); ++y)
            for (int x = 0; x < grid_.columns(); ++x) {
                if (grid_.At(x, y) != word[0]) continue;
                for (const Direction& d : kDirections)
                    if (grid_.Reads(word, x, y, d) &&
                        Grid::ReadingOf(grid_.columns(), x, y, d, n) != readings_[w])
                        return false;
            }
        return true;
    }

    // Only the placed words holding the cell's letter can be read through
    // it, and only with that letter at one of their positions.
    bool OnlyOwnReadings(int x, int y) const {
        const char letter = grid_.At(x, y);
        for (const auto& [w, i] : byLetter_[letter - 'A']) {
            const std::string& word = request_.words[w];
            const int n = static_cast<int>(word.size());
            for (const Direction& d : kDirections) {
                const int sx = x - d.dx * i, sy = y - d.dy * i;
                if (grid_.Reads(word, sx, sy, d) &&
                    Grid::ReadingOf(grid_.columns(), sx, sy, d, n) != readings_[w])
                    return false;
            }
        }
        return true;
    }

    void Index(int w) {
        const std::string& word = request_.words[w];
        for (int i = 0; i < static_cast<int>(word.size()); ++i)
            byLetter_[word[i] - 'A'].push_back({w, i});
    }
    // Words leave in the reverse order they came, so their entries are last.
    void Unindex(int w) {
        const std::string& word = request_.words[w];
        for (int i = static_cast<int>(word.size()) - 1; i >= 0; --i) byLetter_[word[i] - 'A'].pop_back();
    }

    const WordSearchRequest& request_;
    Grid grid_;
    Random random_;
    std::vector<int> order_;
    std::vector<int> placed_;
    std::vector<WordPlace> places_;
    std::vector<Reading> readings_;
    std::array<std::vector<std::pair<int, int>>, 26> byLetter_;  // (word, position) of placed words
    int deepest_ = 0;
    long steps_ = 0;
};

constexpr int kAttempts = 16;


}  // namespace


int WordPlace::left() const { return std::min(column, column + kDirections[direction].dx * (length - 1)); }
int WordPlace::top() const { return std::min(row, row + kDirections[direction].dy * (length - 1)); }
int WordPlace::width() const { return kDirections[direction].dx ? length : 1; }
int WordPlace::height() const { return kDirections[direction].dy ? length : 1; }

int CountOccurrences(const std::vector<std::string>& cells, const std::string& word) {
    if (cells.empty() || word.empty()) return 0;
    Grid grid(static_cast<int>(cells[0].size()), static_cast<int>(cells.size()));
    for (int y = 0; y < grid.rows(); ++y)
        for (int x = 0; x < grid.columns(); ++x) grid.At(x, y) = cells[y][x];
    std::set<Reading> readings;
    for (int y = 0; y < grid.rows(); ++y)
        for (int x = 0; x < grid.columns(); ++x)
            if (grid.At(x, y) == word[0])
                grid.ForReadingsThrough(word, x, y, [&](const Reading& r) {
                    readings.insert(r);
                    return true;
                });
    return static_cast<int>(readings.size());
}


bool MakeWordSearch(const WordSearchRequest& request, WordSearch* out, int* failedWord,
                    std::string* error) {
    const std::vector<WordProblem> problems = JudgeWords(request);
    if (!problems.empty()) {
        *failedWord = problems[0].word;
        *error = problems[0].message;
        return false;
    }
    if (std::string crowded = CrowdedGrid(request); !crowded.empty()) {
        *failedWord = -1;
        *error = crowded;
        return false;
    }
    // A few fresh starts from the same seed before giving up: a search that
    // went wrong early rarely recovers, a new order of candidates often does.
    Random seeds{request.seed};
    int deepest = -1;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Maker maker(request, seeds.Next());
        if (maker.Place(0)) {
            if (maker.Fill()) {
                out->cells = maker.grid().Rows();
                out->places = maker.places();
                return true;
            }
            continue;
        }
        deepest = maker.deepestWord();
    }
    if (deepest < 0) {
        *failedWord = -1;
        *error = "les lettres des autres cases ne peuvent pas être choisies sans qu'une réponse "
                 "se lise deux fois ; changez la graine (seed) ou la taille de la grille";
        return false;
    }
    *failedWord = deepest;
    *error = Quoted(request.words[deepest]) + " ne trouve pas de place dans la grille de " +
             std::to_string(request.columns) + " x " + std::to_string(request.rows) +
             " avec les autres mots (" + std::to_string(kAttempts * Maker::kStepBudget) +
             " placements essayés) : agrandissez la grille, permettez plus de directions ou "
             "retirez des mots";
    return false;
}

}  // namespace quizpack
