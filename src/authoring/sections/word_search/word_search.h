// The word search quizpack makes from a list of answers: where each answer
// lies in a grid of letters, and the letters of the other cells. Pure logic
// over bytes; the pictures are drawn elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/letters.h"

namespace quizpack {

// The eight ways a word can be read in the grid.
struct Direction {
    int dx, dy;
    const char* name;  // as the quiz source writes it
};
extern const Direction kDirections[8];

struct WordSearchRequest {
    int columns = 0, rows = 0;
    std::vector<int> directions;    // indexes into kDirections
    uint64_t seed = 0;
    std::vector<std::string> words; // GridLetters of each answer, in question order
};

struct WordPlace {
    int column = 0, row = 0;  // the first letter's cell
    int direction = 0;        // index into kDirections
    int length = 0;
    // The block of cells that covers the word.
    int left() const;
    int top() const;
    int width() const;   // in cells
    int height() const;
};

struct WordSearch {
    std::vector<std::string> cells;  // rows x columns capital letters
    std::vector<WordPlace> places;   // one per word, in question order
};

struct WordProblem {
    int word;             // index into the request's words
    std::string message;  // in French
};

// Every word that cannot go in, whatever the other cells hold: no letter or
// one, longer than any line the allowed directions give, inside another word
// (either way round) or the same as another. Question order, one message a
// word at most.
std::vector<WordProblem> JudgeWords(const WordSearchRequest& request);

// Why the words cannot all go in however well they cross, counting letters
// against cells; empty when they might.
std::string CrowdedGrid(const WordSearchRequest& request);

// Places every word once along an allowed direction (crossings where the
// letters agree) and fills the other cells so that no word can be read a
// second time anywhere in the grid, in any of the eight directions. The same
// request always gives the same grid. On failure, `failedWord` is the index
// of the word that could not go in (-1 when no one word is to blame) and
// `error` says why, in French. The search is bounded: a grid it cannot fill
// within its steps is refused, never searched for minutes.
bool MakeWordSearch(const WordSearchRequest& request, WordSearch* out, int* failedWord,
                    std::string* error);

// How many times `word` can be read in the grid, in any of the eight
// directions; a palindrome read both ways over the same cells counts once.
int CountOccurrences(const std::vector<std::string>& cells, const std::string& word);

}  // namespace quizpack
