// How long quizpack takes to make a word search: placing and filling a
// 20 x 20 grid of 40 words, and drawing its puzzle and overlays as PNG.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "french_words.h"
#include "pictures/raster.h"
#include "sections/word_search/word_search.h"
#include "sections/word_search/word_search_picture.h"

namespace {

// Forty words of 4 to 9 letters, none inside another, either way round.
std::vector<std::string> FortyWords() {
    const char* words[] = {
        "ABRICOT", "AMANDE", "ANANAS", "BANANE", "CASSIS", "CERISE", "CITRON", "COING",
        "DATTE", "FIGUE", "FRAISE", "FRAMBOISE", "GROSEILLE", "KIWI", "MANGUE", "MELON",
        "MIRABELLE", "MYRTILLE", "NECTARINE", "ORANGE", "POIRE", "POMME", "PRUNE", "RAISIN",
        "GOYAVE", "PAPAYE", "LITCHI", "KAKI", "NOISETTE", "CHATAIGNE", "PECHE", "NEFLE",
        "AIRELLE", "ARBOUSE", "CEDRAT", "CLEMENTINE", "COROSSOL", "GRENADE", "JUJUBE", "YUZU"};
    return {std::begin(words), std::end(words)};
}

const std::vector<int> kAll = {0, 1, 2, 3, 4, 5, 6, 7};

void PlaceAndFill20x20(benchmark::State& state) {
    uint64_t seed = 1;
    for (auto _ : state) {
        quizpack::WordSearchRequest request{20, 20, kAll, seed++, FortyWords()};
        quizpack::WordSearch search;
        int failed;
        std::string error;
        if (!quizpack::MakeWordSearch(request, &search, &failed, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(search.cells.data());
    }
}
BENCHMARK(PlaceAndFill20x20)->Unit(benchmark::kMillisecond);

// The grids an author may give: 60 words that fit (the search must find
// them), and 96 long words that cannot (the search must give up, quickly).
void Search20x20(benchmark::State& state, const char* const* words, size_t count, bool fits) {
    uint64_t seed = 1;
    size_t made = 0, runs = 0;
    for (auto _ : state) {
        quizpack::WordSearchRequest request{20, 20, kAll, seed++, {words, words + count}};
        quizpack::WordSearch search;
        int failed;
        std::string error;
        made += quizpack::MakeWordSearch(request, &search, &failed, &error);
        ++runs;
    }
    state.counters["made"] = static_cast<double>(made) / static_cast<double>(runs);
    if ((made == runs) != fits) state.SkipWithError(fits ? "a grid that fits was refused" : "a hopeless grid was made");
}
void SixtyWordsFit20x20(benchmark::State& state) {
    Search20x20(state, kSixtyWords, std::size(kSixtyWords), true);
}
BENCHMARK(SixtyWordsFit20x20)->Unit(benchmark::kMillisecond);
void NinetySixLongWordsRefused20x20(benchmark::State& state) {
    Search20x20(state, kNinetySixLongWords, std::size(kNinetySixLongWords), false);
}
BENCHMARK(NinetySixLongWordsRefused20x20)->Unit(benchmark::kMillisecond)->Iterations(3);

void DrawPuzzleAndOverlays20x20(benchmark::State& state) {
    quizpack::WordSearch search;
    int failed;
    std::string error;
    quizpack::MakeWordSearch({20, 20, kAll, 1, FortyWords()}, &search, &failed, &error);
    quizpack::PuzzleGeometry geometry;
    quizpack::MakePuzzleGeometry(20, 20, 0, &geometry, &error);
    const quizpack::PuzzleStyle style;
    for (auto _ : state) {
        quizpack::RgbImage puzzle, overlay;
        quizpack::DrawPuzzle(search, geometry, style, &puzzle, &error);
        size_t bytes = quizpack::EncodePng(puzzle).size();
        for (const quizpack::WordPlace& place : search.places) {
            quizpack::DrawOverlay(search, place, geometry, style, puzzle, &overlay, &error);
            bytes += quizpack::EncodePng(overlay).size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(DrawPuzzleAndOverlays20x20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
