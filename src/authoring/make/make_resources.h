// The make stage: everything the player carries, made from the judged quiz
// (its section's pictures made first): the pictures, the three package
// records ("PATCH" 103, 104, 105), the two tables ("TABLE" 1, 2) and the
// version block.
#pragma once

#include <vector>

#include "exe/pe_resources.h"
#include "judge/quiz_definition.h"
#include "problem.h"

namespace quizpack {

// The ids the player looks its pictures up by.
constexpr int kPuzzleId = 400;
constexpr int kOverlayBase = 10400;
constexpr uint16_t kRtRcdata = 10;
constexpr uint16_t kRtVersion = 16;

// The pictures quizpack makes, once the rest of the source reads well: a
// section's pictures, places and letter counts, or else the puzzle remade
// and the marks of the places without overlay.
void MakePictures(QuizDefinition* quiz, Problems* problems);

// Every resource the quiz adds to the player. Fails with problems (records
// that do not fit, a scrambled record that would decode as stored) and then
// gives none.
std::vector<Problem> MakeQuizResources(const QuizDefinition& quiz, std::vector<Resource>* resources);

}  // namespace quizpack
