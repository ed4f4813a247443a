// Speed of the decoder on the largest record and of one verdict on answers
// of the longest length a field accepts.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "answers/answer_compare.h"
#include "model/lzw.h"
#include "make/lzw_encode.h"
#include "model/stored_form.h"

namespace {

std::vector<uint8_t> FrenchRecord(size_t size) {
    const std::string sentence =
        "Le ch\xE2teau de Versailles, \xE0 l'ouest de Paris, fut la r\xE9sidence des rois|"
        "BOUILLABAISSE|CASSOULET|spare|Un plat de Marseille, \xE0 base de poissons|";
    std::vector<uint8_t> out;
    unsigned seed = 1;
    while (out.size() < size) {
        // Vary the text a little so that the dictionary keeps growing.
        seed = seed * 1103515245u + 12345u;
        out.insert(out.end(), sentence.begin(), sentence.end());
        out.push_back(static_cast<uint8_t>('A' + (seed >> 16) % 26));
    }
    out.resize(size);
    return out;
}

std::vector<uint8_t> LetterSoup(size_t size) {
    std::vector<uint8_t> out(size);
    unsigned seed = 7;
    for (auto& b : out) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>('A' + (seed >> 16) % 16);
    }
    return out;
}

// Arg 0: French record text; arg 1: letters at random, a stream near the
// largest the player reads.
void BM_LzwDecode30000(benchmark::State& state) {
    std::vector<uint8_t> plain = state.range(0) == 0 ? FrenchRecord(quiz::kLzwMaxOutput)
                                                     : LetterSoup(quiz::kLzwMaxOutput);
    std::vector<uint8_t> stream;
    quiz::LzwEncode(plain.data(), plain.size(), &stream);
    for (auto _ : state) {
        uint8_t* out = nullptr;
        size_t length = 0;
        int result = quiz::LzwDecode(stream.data(), stream.size(), &out, &length);
        if (result != 0 || length != plain.size()) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out);
        std::free(out);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plain.size()));
    state.counters["streamBytes"] = static_cast<double>(stream.size());
}
BENCHMARK(BM_LzwDecode30000)->Arg(0)->Arg(1);

std::string Stored(std::string text) {
    quiz::TransformAnswerText(text.data());
    return text;
}

void BM_ChooseVerdict85(benchmark::State& state) {
    const std::string accepted = Stored(
        "LA BOUILLABAISSE DE MARSEILLE ET LE CASSOULET DE CASTELNAUDARY SONT DES PLATS DU SUD F");
    std::string typed;
    switch (state.range(0)) {
        case 0: typed = accepted; break;                                 // BRAVO
        case 1: typed = accepted; typed[40] = Stored("Z")[0]; break;     // Quasiment
        case 2: typed = accepted; std::swap(typed[3], typed[60]); break;  // Anagramme
        case 3: typed = accepted.substr(0, 70); break;                   // Trop court
        default: typed = Stored(std::string(85, 'Q')); break;            // FAUX
    }
    for (auto _ : state) benchmark::DoNotOptimize(quiz::ChooseVerdict(accepted, typed));
    state.SetLabel(quiz::ChooseVerdict(accepted, typed));
}
BENCHMARK(BM_ChooseVerdict85)->DenseRange(0, 4);

}  // namespace

BENCHMARK_MAIN();
