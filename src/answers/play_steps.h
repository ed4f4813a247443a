// The steps of play, written once for both front ends: the verdict of one
// answer field and what it reveals, the score and code text, and the hint
// label a question starts with, over a board each front end fills in.
// The player's board reads and writes its controls, the page's its arrays;
// either way a field's result label is the only record of its verdict.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/quiz_state.h"

namespace quiz {

// What a step reads and changes of a grid. Answer fields and their result
// labels count from 1 (a), questions from 0 (q). A record of functions, so
// the core knows no window and the page no rule.
struct PlayBoard {
    void* context;
    // Field a's text as typed, ended, into `text` (kTextSize bytes).
    void (*fieldText)(void* context, int a, char* text);
    // What field a's result label reads, ended, into `text` (kTextSize bytes).
    void (*verdictText)(void* context, int a, char* text);
    void (*setVerdict)(void* context, int a, const char* verdict);
    // Question q was just found; its entry already says so.
    void (*markFound)(void* context, int q);
    void (*hideHint)(void* context, int q);
    // Shows q's hint label, unless "Cacher" keeps q out of sight.
    void (*revealHint)(void* context, int q);
    void (*showPicture)(void* context, int q);
    // Question q's hint label now reads `text` instead of its word count.
    void (*showExtraText)(void* context, int q, const char* text);
    // Puts `text` in field a and has it judged (the fill below).
    void (*typeAndJudge)(void* context, int a, const char* text);
};

// The verdict answer field a would get for `typed` (as typed, not yet in
// stored form).
const char* VerdictFor(const QuizState* state, int a, const char* typed);

// Judges answer field a and shows its verdict with what it reveals: a wrong
// one hides the hint again, a question right in every field is found and
// shows what its layout reveals, and layouts 4 and 8 reveal everything at
// the last "BRAVO". False when the label already read that verdict: then
// nothing changed and nothing more (no score) is to be done.
bool CheckField(QuizState* state, const PlayBoard& board, int a);

// "Essayer partout": field a's text typed into every field not yet right,
// each judged in field order. The player judges a field as the focus leaves
// it, so its typeAndJudge moves the focus (score_win32.cpp).
void FillOpenFields(const QuizState* state, const PlayBoard& board, int a);

// What answer field a holds when the grid is built: the next kept line, or
// "-" in the hidden second field of a one-field question (its line is read
// all the same, so the lines after it stay in place).
struct StartingField {
    char text[kAnswerFieldLimit + 1];
    bool hidden;
};
StartingField StartingFieldOf(const QuizState* state, int a, const uint8_t* kept, size_t size, size_t* position);

// The score label's text and the code field's, counted from the result
// labels: a question is found when each of its labels reads "BRAVO".
struct ScoreTexts {
    char score[32];
    const char* code;
};
ScoreTexts ScoreOf(const QuizState* state, const PlayBoard& board);

// The hint label a question starts with: none in layouts 0 and 1, a word
// count shown at once (5 and 7), the text shown at once (8), else the text
// hidden until the question is found.
struct StartingHint {
    bool has;
    bool shown;
    char text[kTextSize];
};
StartingHint StartingHintOf(const QuizState* state, const QuestionEntry* entry);

}  // namespace quiz
