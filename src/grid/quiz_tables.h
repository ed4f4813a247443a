// The two tables of the quiz the executable carries: the letter count written
// under each question's picture and the place of each answer's overlay in the
// puzzle picture. They travel as resources beside the package records, made
// by quizpack from the quiz source:
//   "TABLE" 1  letter counts: one 16-bit little-endian count per question
//   "TABLE" 2  answer places: per question four 32-bit little-endian values,
//              left, top, width, height; width and height 0: no overlay
// A table that is missing or malformed is read as empty: every question then
// takes the defaults of a question outside the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quiz {

constexpr const char* kTableResourceType = "TABLE";
constexpr int kLetterCountTableId = 1;
constexpr int kAnswerPlaceTableId = 2;
constexpr int kDefaultLetterCount = 2;
constexpr int kMaxLetterCount = 259;     // an answer holds at most 259 bytes
constexpr int kMaxPlaceCoordinate = 4096;  // no picture is larger

struct AnswerPlace {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

struct QuizTables {
    std::vector<int> letterCounts;          // index k - 1 for question k
    std::vector<AnswerPlace> answerPlaces;  // index k - 1; width 0: no overlay
};

// The tables from their stored bytes (null or size 0: missing). Each table is
// taken whole or not at all: a size that is not a whole number of entries,
// more than 96 entries, a count outside 1..259, or a place off the picture
// or with one side 0 and not the other empties that table.
QuizTables ReadQuizTables(const uint8_t* letters, size_t lettersSize, const uint8_t* places,
                          size_t placesSize);

// The letter count of question k; 2 for numbers outside the table.
int LetterCountOf(const QuizTables& tables, int k);
// Where question k's overlay goes; false when it has none.
bool AnswerPlaceOf(const QuizTables& tables, int k, AnswerPlace* place);

// The tables the running program carries: read from its own resources the
// first time they are asked for (quiz_tables_win32.cpp).
const QuizTables& CarriedTables();

inline int LetterCountOf(int k) { return LetterCountOf(CarriedTables(), k); }
inline bool AnswerPlaceOf(int k, AnswerPlace* place) {
    return AnswerPlaceOf(CarriedTables(), k, place);
}

}  // namespace quiz
