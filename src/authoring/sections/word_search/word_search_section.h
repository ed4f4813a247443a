// [motsmeles]: a word search quizpack makes from the answers. The section
// judges its grid, its colours and the words; once nothing at all is wrong it
// places the words, draws the puzzle and one overlay per word, and gives each
// question its place and letter count.
#pragma once

#include "sections/section.h"
#include "sections/word_search/word_search.h"
#include "sections/word_search/word_search_picture.h"

namespace quizpack {

// What the section's judge keeps for its make, and the search once made.
struct WordSearchPlan {
    WordSearchRequest request;
    PuzzleStyle style;
    PuzzleGeometry geometry;
    bool makeable = false;  // the grid, its colours and every word judged sound
    WordSearch search;      // the words' places and the grid's letters, once made
};

extern const SectionKind kWordSearchSection;

// The plan of a quiz made with [motsmeles]; null for any other quiz.
const WordSearchPlan* WordSearchPlanOf(const QuizDefinition& quiz);

}  // namespace quizpack
