#include "grid/grid_layout.h"

#include <cstdio>
#include <cstring>

#include "answers/answer_compare.h"
#include "model/stored_form.h"

namespace quiz {

namespace {

constexpr int kColumnStep = 540;
constexpr int kColumnWidth = 510;
constexpr int kFirstRowTop = 5;
constexpr int kBuiltGridWidth = 1640;

int RowAdvance(int layoutType) { return layoutType <= 1 ? 60 : 140; }

}  // namespace

int BlockLeft(int k, int answersPerQuestion) {
    const int col = (k - 1) % 3;
    return kColumnStep * col + (answersPerQuestion == 2 ? 106 : 46);
}

PixelRect PictureRect(int blockLeft, int rowTop, int rowHeight, int width, int height) {
    return {blockLeft + (kColumnWidth - width) / 2, rowTop + (rowHeight - height) / 2, width,
            height};
}

PixelRect NumberLabelRect(int blockLeft, int answerTop) {
    return {blockLeft - 28, answerTop + 2, 27, 17};
}

PixelRect HintLabelRect(int blockLeft, int answerTop) {
    return {blockLeft, answerTop + 46, kColumnWidth, 65};
}

PixelRect AnswerFieldRect(int blockLeft, int answerTop, int j, int answersPerQuestion) {
    if (answersPerQuestion != 2) return {blockLeft, answerTop, kColumnWidth, 20};
    return {blockLeft, answerTop + 19 * (j - 1), 451, 20};
}

PixelRect ResultLabelRect(int blockLeft, int answerTop, int j, int answersPerQuestion) {
    // With one answer the label overlaps the field's bottom pixel row.
    if (answersPerQuestion != 2) return {blockLeft, answerTop + 19, kColumnWidth, 20};
    return {blockLeft + 450, answerTop + 19 * (j - 1), 60, 20};
}

PixelRect AnswerCaptionRect(int answerTop, int j) {
    return j == 1 ? PixelRect{4, answerTop + 2, 95, 20} : PixelRect{3, answerTop + 22, 95, 20};
}

void GridStartRows(QuizState* state, GridRowCursor* cursor) {
    state->gridWidth = 0;
    state->gridHeight = 0;
    *cursor = {kFirstRowTop, 0, 0, 0};
}

bool GridBeginQuestion(QuizState* state, GridRowCursor* cursor, int k) {
    // A provisional height: for the second and third question of a row it
    // lands in the next row's entry, which keeps it if no further row starts.
    if (cursor->rowsStarted < kMaxRows) state->rowHeights[cursor->rowsStarted] = kColumnWidth;
    return (k - 1) % 3 == 0;
}

void GridSetRowPictures(QuizState* state, GridRowCursor* cursor, const int heights[3]) {
    int tallest = heights[0];
    if (heights[1] > tallest) tallest = heights[1];
    if (heights[2] > tallest) tallest = heights[2];
    cursor->rowHeight = tallest;
    if (cursor->rowsStarted < kMaxRows) state->rowHeights[cursor->rowsStarted] = tallest;
    ++cursor->rowsStarted;
    cursor->answerTop = cursor->rowTop + tallest + 10;
}

void GridEndQuestion(QuizState* state, GridRowCursor* cursor, int k) {
    const int col = (k - 1) % 3;
    const int next = cursor->answerTop + RowAdvance(state->layoutType);
    if (col == 2) cursor->rowTop = next;
    if (col == 0) {
        state->gridWidth = kBuiltGridWidth;
        state->gridHeight = next;
    }
}

void GridFinish(QuizState* state) {
    state->gridWidth += state->answersPerQuestion == 1 ? 20 : 80;
}

int CountAnswerWords(const char* storedAnswer) {
    const auto space = static_cast<char>(StoredByte(' '));
    const auto apostrophe = static_cast<char>(StoredByte('\''));
    const auto hyphen = static_cast<char>(StoredByte('-'));
    const auto bang = static_cast<char>(StoredByte('!'));
    int separators = 0;
    for (const char* p = storedAnswer; *p; ++p) {
        if (*p == bang) {
            if (!*++p) break;  // the zero right after a '!' still ends the walk
            continue;
        }
        if (*p == space || *p == apostrophe || *p == hyphen) ++separators;
    }
    return separators + 1;
}

void FormatWordCount(int words, char* out, int size) {
    std::snprintf(out, static_cast<size_t>(size), "en %d mot%s", words, words >= 2 ? "s" : "");
}

long LabelBrushColour(LabelBrush brush) {
    switch (brush) {
        case LabelBrush::kGreen: return kGreenLabel;
        case LabelBrush::kRed: return kRedLabel;
        case LabelBrush::kOrange: return kOrangeLabel;
        case LabelBrush::kAmber: return kAmberLabel;
        default: return -1;
    }
}

bool IsResultLabelId(const QuizState* state, int id) {
    return id >= kResultLabelBase + 1 && id <= kResultLabelBase + AnswerFieldCount(state);
}

LabelPaint ChooseGridLabelPaint(const QuizState* state, int id, const char* resultText) {
    const int n = AnswerFieldCount(state);
    // The number-label range reaches 2240 + N: wider than the labels, kept so.
    const bool plain = (id >= kNumberLabelBase && id <= kNumberLabelBase + 240 + n) ||
                       id == kAnswerCaptionId ||
                       (id >= kHintLabelBase + 1 && id <= kHintLabelBase + n);
    if (plain) {
        // Dark text on a light background: blue plays no part in the choice.
        const bool light = state->backRed > 69 || state->backGreen > 69;
        return {LabelBrush::kBack, true, light ? 0x000000u : 0xFFFFFFu};
    }
    if (!IsResultLabelId(state, id)) return {LabelBrush::kNone, false, 0};
    const char* text = resultText ? resultText : "";
    LabelBrush brush = LabelBrush::kAmber;  // every hint
    if (std::strcmp(text, kVerdictAnagramme) == 0) brush = LabelBrush::kOrange;
    else if (std::strcmp(text, kVerdictBravo) == 0) brush = LabelBrush::kGreen;
    else if (std::strcmp(text, kVerdictFaux) == 0) brush = LabelBrush::kRed;
    else if (std::strcmp(text, kVerdictUnknown) == 0) brush = LabelBrush::kNone;
    return {brush, false, 0};
}

}  // namespace quiz
