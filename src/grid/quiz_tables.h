// The two tables of the quiz the executable carries, compiled from its
// source by quizpack build: the letter count written under each question's
// picture and the place of each answer's overlay in the puzzle picture.
#pragma once

#include <cstdint>

namespace quiz {

struct AnswerPlace {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

extern const int kQuizTableSize;          // questions the tables describe
extern const int letterCounts[];          // index k - 1 for question k
extern const AnswerPlace answerPlaces[];  // index k - 1; width 0: no overlay

// The letter count of question k; 2 for numbers outside the table.
inline int LetterCountOf(int k) {
    return (k >= 1 && k <= kQuizTableSize) ? letterCounts[k - 1] : 2;
}

// Where question k's overlay goes; false when it has none.
inline bool AnswerPlaceOf(int k, AnswerPlace* place) {
    if (k < 1 || k > kQuizTableSize || answerPlaces[k - 1].width <= 0) return false;
    *place = answerPlaces[k - 1];
    return true;
}

}  // namespace quiz
