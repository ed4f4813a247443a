// The one record that holds the quiz and the state of play.
// Portable: GDI and window handles are kept as opaque pointers here; the
// Win32 layer creates, casts and deletes them.
#pragma once

#include <cstdint>

namespace quiz {

using GdiHandle = void*;     // HFONT or HBRUSH on Windows
using WindowHandle = void*;  // HWND on Windows

constexpr int kTextSize = 260;        // every quiz text holds at most 259 bytes
constexpr int kLinkTextSize = 25;     // link text: at most 24 bytes
constexpr int kStatusTextSize = 43;   // status text: at most 42 bytes
constexpr int kAnswerFieldLimit = 85;  // bytes an answer field holds, and so a progress line
constexpr int kMaxQuestions = 96;     // 32 grid rows of three questions
constexpr int kMaxRows = 32;

struct QuestionEntry {
    char answer1[kTextSize];    // stored form
    char answer2[kTextSize];    // stored form; empty with one answer per question
    char spareText[kTextSize];  // kept, read nowhere
    char extraText[kTextSize];  // hint or information from the layout section
    int32_t found;
    QuestionEntry* previous;
    QuestionEntry* next;
};

struct QuizState {
    int32_t gridWidth;
    int32_t gridHeight;
    int32_t quizKind;
    char title[kTextSize];
    char author[kTextSize];
    char subtitle[kTextSize];
    char answerCaption1[kTextSize];
    char answerCaption2[kTextSize];
    int32_t questionCount;
    int32_t answersPerQuestion;
    char questionLines[kMaxQuestions][kTextSize];
    int32_t layoutType;
    GdiHandle smallFont;
    GdiHandle scoreFont;
    GdiHandle titleFont;
    GdiHandle pictureFont;
    int32_t allFound;
    WindowHandle gridDialog;
    int32_t rowHeights[kMaxRows];
    int32_t questionShown[kMaxQuestions + 1];  // indexed 1..96
    // The colour is kept in the order red, blue, green.
    int32_t backRed;
    int32_t backBlue;
    int32_t backGreen;
    GdiHandle backBrush;
    GdiHandle redBrush;
    GdiHandle orangeBrush;
    GdiHandle amberBrush;
    WindowHandle headerDialog;
    char linkText[kLinkTextSize];
    char statusText[kStatusTextSize];
    QuestionEntry* firstQuestion;
    QuestionEntry* lastQuestion;
};

// Sets every value a fresh state starts with. Creates no GDI object: the
// Win32 layer creates the fonts and brushes after this (handles stay null
// here).
void QuizStateInit(QuizState* state);

// Releases every question entry, first to last, and empties the list.
void QuizStateReleaseQuestions(QuizState* state);

// Appends a question whose texts are already in stored form; extraText is
// empty and found 0. Texts longer than 259 bytes are cut. Returns false, and
// appends nothing, when the entry cannot be allocated.
bool AddQuestion(QuizState* state, const char* answer1, const char* answer2,
                 const char* spareText);

// The entry of question k + 1 (0-based k), walking from the first entry.
// A list shorter than k + 1 gives its last entry; an empty list gives null.
QuestionEntry* QuestionAt(const QuizState* state, int k);

// Number of entries in the list.
int QuestionListLength(const QuizState* state);

// The process-wide pointer to the one QuizState.
QuizState* CurrentQuizState();
void SetCurrentQuizState(QuizState* state);

// Bounded copy of a NUL-terminated text into a fixed array of `size` bytes.
void CopyText(char* dest, int size, const char* source);

}  // namespace quiz
