#include "model/quiz_state_win32.h"

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
    state->redBrush = CreateSolidBrush(RGB(255, 0, 0));
    state->orangeBrush = CreateSolidBrush(RGB(255, 100, 0));
    state->amberBrush = CreateSolidBrush(RGB(255, 203, 38));
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
