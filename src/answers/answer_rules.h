// The rules of play, portable: what a found question reveals in each layout,
// the hidden second answer, the score and its code text, and when an answer
// field that takes the focus must scroll into view.
#pragma once

#include <cstdint>
#include <vector>

#include "model/quiz_state.h"

namespace quiz {

// What finding a question reveals, by layout type.
enum class Reveal {
    kNothing,          // 0, 4, 5, 8 and any other value
    kPicture,          // 1, 6
    kHint,             // 2
    kHintThenPicture,  // 3
    kExtraText,        // 7: the hint label's word count gives way to the text
};
Reveal RevealOf(int layoutType);

// A wrong verdict hides the question's hint label again, except in the
// layouts whose hint labels stay (5, 7, 8).
bool WrongAnswerHidesHint(int layoutType);

// Layouts that reveal everything at once when every field reads "BRAVO".
bool RevealsAllAtTheEnd(int layoutType);

// The second answer of a question with one visible field: held as "-", it
// counts as right whatever its hidden field holds.
bool IsHiddenSecondAnswer(const QuestionEntry* entry, int place);

// Whether a field's text, in stored form, is the accepted answer of its place
// (the hidden second answer always is). Bytes are compared as bytes: a
// locale's collation may weigh the control bytes of the stored form as
// nothing and call two different answers equal.
bool FieldIsRight(const QuestionEntry* entry, int place, const char* typedStored);

// The field of answer id `fieldId`: its question (0-based) and the accepted
// answer it is judged against (place 1 or 2).
struct FieldAnswer {
    int question;  // q, 0-based
    int place;     // 1: answer1, 2: answer2
};
FieldAnswer FieldAnswerOf(int fieldId, int answersPerQuestion);

// Questions whose every result label reads "BRAVO"; `bravo[i]` tells it of
// label 5001 + i (a label missing from the list counts as not right).
int CountFoundQuestions(int questionCount, int answersPerQuestion, const std::vector<bool>& bravo);
// " %d / %d" into `out` (32 bytes).
void FormatScore(int found, int questionCount, char* out, int size);
// The code text for f found questions: entry f of questionLines, six spaces
// for none, and nothing past the 96th.
const char* CodeTextFor(const QuizState* state, int found);

// Scrolling a field that takes the focus into view. P is the field's place
// in the grid's content (its left edge + 18, its top), H and V the scroll
// positions, width and height the grid's outer size.
struct FieldView {
    bool visible;
    int vertical;    // the positions asked for when it is not visible
    int horizontal;
};
FieldView FieldViewOf(const QuizState* state, int fieldId, int px, int py, int h, int v,
                      int gridWidth, int gridHeight);

}  // namespace quiz
