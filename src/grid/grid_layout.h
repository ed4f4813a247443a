// The grid's arithmetic, portable: control ids, the geometry of a question's
// block, the running row layout of the build, the word count of the hint
// label, the label colours and the scroll requests. The Win32 half only
// creates, moves and reads the controls this computes.
#pragma once

#include <cstdint>

#include "model/quiz_state.h"

namespace quiz {

// Control ids. k counts questions from 1, a answer fields over the whole quiz
// from 1; the ranges never meet within 96 questions of two answers.
constexpr int kNumberLabelBase = 2000;
constexpr int kAnswerFieldBase = 4000;
constexpr int kResultLabelBase = 5000;
constexpr int kHintLabelBase = 8000;
constexpr int kPictureBase = 9900;
// From an answer field's id to its result label's.
constexpr int kFieldToResultLabel = kResultLabelBase - kAnswerFieldBase;
constexpr int kAnswerCaptionId = 156;  // both captions of a row carry it

constexpr int kPuzzlePictureId = 400;
constexpr int kOverlayPictureBase = 10400;
constexpr int kWantedPictureSize = 510;  // passed to the loader, which ignores it
// Where "%d lettres" is written on each copy of the puzzle (its text's top
// left corner, in the picture's own pixels): a puzzle keeps that strip clear.
constexpr int kLetterCountLeft = 183;
constexpr int kLetterCountTop = 468;

// Window styles, as Windows numbers them, so that the portable plan can name
// them; the Win32 half checks them against <windows.h>.
constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kWsBorder = 0x00800000;
constexpr uint32_t kWsTabStop = 0x00010000;
constexpr uint32_t kSsCenter = 0x1;
constexpr uint32_t kSsRight = 0x2;
constexpr uint32_t kSsBitmap = 0xE;
constexpr uint32_t kSsNotify = 0x100;
constexpr uint32_t kSsCenterImage = 0x200;
constexpr uint32_t kEsCenter = 0x1;
constexpr uint32_t kEsAutoHScroll = 0x80;
constexpr uint32_t kEsReadOnly = 0x800;
constexpr uint32_t kBsAutoCheckBox = 0x3;

// Answer field a of question k, place j (1 or 2).
inline int AnswerNumber(int k, int j, int answersPerQuestion) {
    return answersPerQuestion * (k - 1) + j;
}
inline int QuestionOfAnswer(int a, int answersPerQuestion) {
    return (a - 1) / answersPerQuestion + 1;
}
inline int PlaceOfAnswer(int a, int answersPerQuestion) {
    return (a - 1) % answersPerQuestion + 1;
}
// Number of answer fields of the quiz (ids 4001 up to 4000 + this).
inline int AnswerFieldCount(const QuizState* state) {
    return state->questionCount * state->answersPerQuestion;
}

struct PixelRect {
    int x;
    int y;
    int width;
    int height;
};

// Left edge of question k's block: three columns 540 pixels apart.
int BlockLeft(int k, int answersPerQuestion);
// A picture of w x h centred in its 510-wide column and its row of height H.
PixelRect PictureRect(int blockLeft, int rowTop, int rowHeight, int width, int height);
PixelRect NumberLabelRect(int blockLeft, int answerTop);
PixelRect HintLabelRect(int blockLeft, int answerTop);
// The field and the result label of answer j (1 or 2) of a question.
PixelRect AnswerFieldRect(int blockLeft, int answerTop, int j, int answersPerQuestion);
PixelRect ResultLabelRect(int blockLeft, int answerTop, int j, int answersPerQuestion);
// The captions in front of a row's first question, j 1 or 2.
PixelRect AnswerCaptionRect(int answerTop, int j);

// The row layout while the grid is built, one question at a time:
//   GridBeginQuestion, then (when it returns true: first of a row) the
//   heights of the row's three prepared pictures to GridSetRowPictures,
//   then the question's controls at rowTop / answerTop, then GridEndQuestion;
//   after the last question GridFinish.
struct GridRowCursor {
    int rowTop;      // Y of the current row
    int rowHeight;   // H of the current row
    int answerTop;   // T = Y + H + 10
    int rowsStarted;
};
void GridStartRows(QuizState* state, GridRowCursor* cursor);
// True when question k opens a row: its three pictures must be prepared.
bool GridBeginQuestion(QuizState* state, GridRowCursor* cursor, int k);
// Heights of the row's pictures; a missing picture counts as 0 high.
void GridSetRowPictures(QuizState* state, GridRowCursor* cursor, const int heights[3]);
void GridEndQuestion(QuizState* state, GridRowCursor* cursor, int k);
void GridFinish(QuizState* state);

// Words of an answer as held in stored form: one more than its spaces,
// apostrophes and hyphens; a '!' hides the byte after it. Separators are
// compared in stored form, since they are encoded like every other byte.
int CountAnswerWords(const char* storedAnswer);
// "en N mot", "s" from two words on. `out` holds at least 32 bytes.
void FormatWordCount(int words, char* out, int size);

// How the grid paints a static control, chosen by its id (and, for result
// labels, by the verdict they show).
enum class LabelBrush { kNone, kBack, kGreen, kRed, kOrange, kAmber };
struct LabelPaint {
    LabelBrush brush;
    bool transparentText;  // plain labels only
    uint32_t textColour;   // 0x00BBGGRR, set only when transparentText
};
// The colour of a result label's brush, 0x00RRGGBB; -1 for none (the
// dialog's own).
constexpr long kGreenLabel = 0x00FF00, kRedLabel = 0xFF0000, kOrangeLabel = 0xFF6400, kAmberLabel = 0xFFCB26;
long LabelBrushColour(LabelBrush brush);
bool IsResultLabelId(const QuizState* state, int id);
LabelPaint ChooseGridLabelPaint(const QuizState* state, int id, const char* resultText);

}  // namespace quiz
