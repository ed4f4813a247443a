#include "grid/quiz_tables.h"

#include "model/quiz_state.h"

namespace quiz {

namespace {

int32_t Int32At(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                uint32_t(p[3]) << 24);
}

std::vector<int> ReadLetterCounts(const uint8_t* data, size_t size) {
    std::vector<int> counts;
    if (!data || size % 2 != 0 || size / 2 > size_t(kMaxQuestions)) return counts;
    for (size_t i = 0; i < size; i += 2) {
        const int count = data[i] | data[i + 1] << 8;
        if (count < 1 || count > kMaxLetterCount) return {};
        counts.push_back(count);
    }
    return counts;
}

bool PlaceIsSound(const AnswerPlace& p) {
    if (p.width == 0 && p.height == 0) return true;  // no overlay
    return p.left >= 0 && p.top >= 0 && p.width > 0 && p.height > 0 &&
           p.width <= kMaxPlaceCoordinate && p.height <= kMaxPlaceCoordinate &&
           p.left <= kMaxPlaceCoordinate - p.width && p.top <= kMaxPlaceCoordinate - p.height;
}

std::vector<AnswerPlace> ReadAnswerPlaces(const uint8_t* data, size_t size) {
    std::vector<AnswerPlace> places;
    if (!data || size % 16 != 0 || size / 16 > size_t(kMaxQuestions)) return places;
    for (size_t i = 0; i < size; i += 16) {
        AnswerPlace p{Int32At(data + i), Int32At(data + i + 4), Int32At(data + i + 8),
                      Int32At(data + i + 12)};
        if (!PlaceIsSound(p)) return {};
        places.push_back(p);
    }
    return places;
}

}  // namespace

QuizTables ReadQuizTables(const uint8_t* letters, size_t lettersSize, const uint8_t* places,
                          size_t placesSize) {
    return {ReadLetterCounts(letters, lettersSize), ReadAnswerPlaces(places, placesSize)};
}

int LetterCountOf(const QuizTables& tables, int k) {
    return (k >= 1 && k <= int(tables.letterCounts.size())) ? tables.letterCounts[k - 1]
                                                           : kDefaultLetterCount;
}

bool AnswerPlaceOf(const QuizTables& tables, int k, AnswerPlace* place) {
    if (k < 1 || k > int(tables.answerPlaces.size()) || tables.answerPlaces[k - 1].width <= 0)
        return false;
    *place = tables.answerPlaces[k - 1];
    return true;
}

}  // namespace quiz
