// A kind of section: a table of the source ([motsmeles]) from which quizpack
// makes the quiz's pictures itself, the puzzle, an overlay and a place per
// question, and the letter counts. Every kind is one record of functions in
// a folder of its own, named once in sections/kinds.inc; the judge and make
// stages call them and know nothing else of the kind.
#pragma once

#include <string>
#include <vector>

#include "judge/fields.h"
#include "judge/quiz_definition.h"
#include "pictures/raster.h"
#include "problem.h"
#include "read/source_record.h"

namespace quizpack {

struct SectionKind {
    const char* key;  // the source's table: "motsmeles"
    // What a field the section makes itself is told: `puzzle`, then the
    // question fields in `madeQuestionFields`.
    const char* puzzleGiven;
    const char* questionFieldGiven;
    std::vector<std::string> madeQuestionFields;
    // The question fields the section reads itself ("image").
    std::vector<std::string> ownQuestionFields;
    // The fields of the section's own table, for its judge's unknown keys and
    // for a form.
    std::vector<Field> ownFields;
    // The layout type of a source that gives none; -1: the header's own.
    int defaultLayout;
    // How many questions the kind makes pictures for; its judge says why
    // another number cannot be made.
    int fewestQuestions;
    int mostQuestions;
    // Judges the section's own fields, what it asks of the questions (in the
    // source's top-level table `root`), every problem said; keeps what it
    // will make from in quiz->sectionPlan.
    void (*judge)(FieldJudge& judge, const SourceNode& root, const SourceNode& section, QuizDefinition* quiz);
    // Makes the puzzle, the overlays, their places and the letter counts;
    // called only when nothing at all is wrong.
    void (*make)(Problems& problems, QuizDefinition* quiz);
    // The answer key and the lines that list the answers; null: the overlays
    // pasted on the puzzle.
    bool (*answerKey)(const QuizDefinition& quiz, RgbImage* key, std::vector<std::string>* lines,
                      std::string* error);
};

// The kinds quizpack knows, in the order of sections/kinds.inc; their keys,
// the top-level tables a source may have beside the header's fields; and the
// one a source's top-level table uses (null when none, `node` then
// untouched).
const std::vector<const SectionKind*>& SectionKinds();
const std::vector<std::string>& SectionKeys();
const SectionKind* SectionOf(const SourceNode& root, const SourceNode** node);

}  // namespace quizpack
