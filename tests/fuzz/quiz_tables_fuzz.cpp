// The tables a player reads from its resources, over arbitrary bytes: the
// first byte says where the letter table ends and the place table begins.
#include <cstdlib>
#include <vector>

#include "make/package_writer.h"
#include "grid/quiz_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t split = 1 + (size_t(data[0]) * 8 > size - 1 ? size - 1 : size_t(data[0]) * 8);
    const quiz::QuizTables t = quiz::ReadQuizTables(data + 1, split - 1, data + split, size - split);
    // What is read is within the limits the grid draws with, and reads back
    // the same once written again.
    if (t.letterCounts.size() > 96 || t.answerPlaces.size() > 96) std::abort();
    for (int k = 0; k <= 97; ++k) {
        const int count = quiz::LetterCountOf(t, k);
        if (count < 1 || count > quiz::kMaxLetterCount) std::abort();
        quiz::AnswerPlace p{};
        if (quiz::AnswerPlaceOf(t, k, &p) &&
            (p.left < 0 || p.top < 0 || p.left + p.width > 4096 || p.top + p.height > 4096))
            std::abort();
    }
    const std::vector<uint8_t> letters = quiz::LetterCountTable(t.letterCounts);
    const std::vector<uint8_t> places = quiz::AnswerPlaceTable(t.answerPlaces);
    const quiz::QuizTables again =
        quiz::ReadQuizTables(letters.data(), letters.size(), places.data(), places.size());
    if (again.letterCounts != t.letterCounts || again.answerPlaces.size() != t.answerPlaces.size())
        std::abort();
    return 0;
}
