#include "model/quiz_state_win32.h"

#include "grid/grid_layout.h"

#include <new>

namespace quiz {

namespace {

HFONT MakeFont(int height, int weight, BYTE italic, const char* face) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic;
    font.lfUnderline = 0;
    font.lfStrikeOut = 0;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

}  // namespace

QuizState* CreateQuizState() {
    auto* state = new (std::nothrow) QuizState;
    if (!state) return nullptr;
    QuizStateInit(state);
    state->pictureFont = MakeFont(27, FW_BOLD, 1, "Arial");
    state->scoreFont = MakeFont(25, FW_NORMAL, 0, "Arial");
    state->titleFont = MakeFont(-15, FW_BOLD, 1, "");
    state->backBrush = CreateSolidBrush(RGB(state->backRed, state->backGreen, state->backBlue));
    // The result labels' colours, which the web page shares.
    auto rgb = [](long c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); };
    state->redBrush = CreateSolidBrush(rgb(kRedLabel));
    state->orangeBrush = CreateSolidBrush(rgb(kOrangeLabel));
    state->amberBrush = CreateSolidBrush(rgb(kAmberLabel));
    return state;
}

void DestroyQuizState(QuizState* state) {
    if (!state) return;
    GdiHandle objects[] = {state->backBrush, state->redBrush,  state->orangeBrush,
                           state->amberBrush, state->titleFont, state->smallFont,
                           state->scoreFont, state->pictureFont};
    for (GdiHandle object : objects)
        if (object) DeleteObject(static_cast<HGDIOBJ>(object));
    QuizStateReleaseQuestions(state);
    delete state;
}

void ReplaceBackBrush(QuizState* state) {
    HBRUSH brush = CreateSolidBrush(RGB(state->backRed, state->backGreen, state->backBlue));
    if (state->backBrush) DeleteObject(static_cast<HGDIOBJ>(state->backBrush));
    state->backBrush = brush;
}

}  // namespace quiz
