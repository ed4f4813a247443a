// The judge stage: every check of a source record, each problem said with
// its line and field, never stopping at the first. What it judges sound
// fills the quiz definition.
#pragma once

#include "judge/fields.h"
#include "judge/quiz_definition.h"
#include "problem.h"
#include "read/source_record.h"

namespace quizpack {

// Whether a layout shows the questions' texts, so that each needs one.
bool LayoutShowsTexts(int layout);

void JudgeSource(const SourceRecord& source, QuizDefinition* quiz, Problems* problems);

// What the questions' judge needs to know of the header: whether the fields
// the questions follow were given soundly (a field refused gives its one
// message, and nothing is judged against a value the author never gave).
struct JudgedHeader {
    bool answersKnown = true;
    bool layoutKnown = true;
    bool puzzleRead = false;
};

// A header field written below a [[question]] or a section's heading: TOML
// puts every key after a table's heading into that table. Said before the
// header is judged, so that the field is not also said to be missing.
void HeaderFieldsBelow(FieldJudge& judge, const SourceNode& root);
JudgedHeader JudgeHeader(FieldJudge& judge, const SourceNode& root, QuizDefinition* quiz);
void JudgeQuestions(FieldJudge& judge, const SourceNode& root, const JudgedHeader& header, QuizDefinition* quiz);

}  // namespace quizpack
