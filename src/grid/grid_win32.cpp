#include "grid/grid_win32.h"
#include "shell/startup_phases_win32.h"

#include "answers/answer_check_win32.h"
#include "answers/answer_field_win32.h"
#include "answers/progress_file.h"
#include "answers/progress_file_win32.h"
#include "answers/score_win32.h"
#include "answers/answer_compare.h"
#include "answers/answer_rules.h"
#include "answers/play_steps.h"
#include "grid/grid_layout.h"
#include "grid/grid_scroll.h"
#include "grid/grid_items_win32.h"
#include "grid/grid_scroll_win32.h"
#include "grid/question_pictures_win32.h"
#include "images/picture_loader_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/controls_win32.h"

namespace quiz {

namespace {

HBRUSH g_greenBrush = nullptr;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// Every control of the grid is made here, and recorded by its id.
HWND GridChild(HWND grid, const char* className, const char* text, DWORD style,
               const PixelRect& rect, int id, HFONT font = nullptr, BOOL redraw = TRUE) {
    PhaseTimer timer(StartupPhase::kControls);
    HWND child = CreateChild(grid, className, text, style, rect, id, font, redraw);
    RememberGridItem(grid, id, child);
    return child;
}

// Every question shows the puzzle at its own size, or nothing (510 x 0)
// when there is none.
SIZE PictureSizeOf(HBITMAP puzzle) {
    BITMAP info = {};
    if (puzzle && GetObjectA(puzzle, sizeof info, &info)) return {info.bmWidth, info.bmHeight};
    return {kWantedPictureSize, 0};
}

void CreateHintLabel(HWND grid, const QuizState* state, const QuestionEntry* entry, int k,
                     const PixelRect& rect) {
    // Made with its text and visibility at once: every later call on a
    // control is one more trip to the window server.
    const StartingHint hint = StartingHintOf(state, entry);
    const DWORD style = WS_CHILD | SS_CENTER | (hint.shown ? WS_VISIBLE : 0);
    GridChild(grid, "Static", hint.text, style, rect, kHintLabelBase + k, GuiFont(), TRUE);
}

void CreateAnswerFields(HWND grid, QuizState* state, int k, int left,
                        int answerTop, ProgressReader* progress) {
    const int perQuestion = state->answersPerQuestion;
    for (int j = 1; j <= perQuestion; ++j) {
        const int a = AnswerNumber(k, j, perQuestion);
        const StartingField start = StartingFieldOf(state, a, progress->data, progress->size, &progress->position);
        HWND field = GridChild(grid, "Edit", start.text,
                                 kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER,
                                 AnswerFieldRect(left, answerTop, j, perQuestion),
                                 kAnswerFieldBase + a, AsFont(state->smallFont), FALSE);
        SendMessageA(field, EM_LIMITTEXT, kAnswerFieldLimit, 0);
        HWND result = GridChild(grid, "Static", kVerdictUnknown,
                                  kChild | WS_BORDER | SS_CENTERIMAGE | SS_CENTER,
                                  ResultLabelRect(left, answerTop, j, perQuestion),
                                  kResultLabelBase + a, perQuestion == 2 ? GuiFont() : nullptr);
        if (start.hidden) {
            ShowWindow(field, SW_HIDE);
            ShowWindow(result, SW_HIDE);
        }
        InstallAnswerFieldProc(field);
        PhaseTimer timer(StartupPhase::kRestoredChecks);
        CheckAnswerField(state, grid, kAnswerFieldBase + a);
        if (perQuestion == 1) SetFocus(result);
    }
}

void BuildQuestion(HWND grid, QuizState* state, HBITMAP puzzle, GridRowCursor* cursor,
                   SIZE pictureSize, ProgressReader* progress, int k) {
    const int col = (k - 1) % 3;
    const int left = BlockLeft(k, state->answersPerQuestion);
    if (GridBeginQuestion(state, cursor, k)) {
        const int heights[3] = {pictureSize.cy, pictureSize.cy, pictureSize.cy};
        GridSetRowPictures(state, cursor, heights);
    }
    HWND picture = GridChild(grid, "Static", "",
                               kChild | WS_BORDER | SS_BITMAP | SS_CENTERIMAGE,
                               PictureRect(left, cursor->rowTop, cursor->rowHeight,
                                           pictureSize.cx, pictureSize.cy),
                               kPictureBase + k);
    const int top = cursor->answerTop;
    if (state->answersPerQuestion == 2 && col == 0) {
        GridChild(grid, "Static", state->answerCaption1, kChild, AnswerCaptionRect(top, 1),
                    kAnswerCaptionId, GuiFont(), TRUE);
        GridChild(grid, "Static", state->answerCaption2, kChild, AnswerCaptionRect(top, 2),
                    kAnswerCaptionId, GuiFont(), TRUE);
    }
    char number[16];
    wsprintfA(number, "%d.", k);
    GridChild(grid, "Static", number, kChild | SS_RIGHT, NumberLabelRect(left, top),
                kNumberLabelBase + k);  // no font: the system's
    const QuestionEntry* entry = QuestionAt(state, k - 1);
    if (state->layoutType > 1) CreateHintLabel(grid, state, entry, k, HintLabelRect(left, top));
    CreateAnswerFields(grid, state, k, left, top, progress);
    // A picture the answer check already composed stays; the others show
    // the puzzle with their letter count now, and a found one never makes it.
    if (picture && !SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)) {
        PhaseTimer timer(StartupPhase::kPictureCopies);
        SetQuestionPicture(picture, SharedLetterCountPicture(state, puzzle, k));
    }
    GridEndQuestion(state, cursor, k);
}

void BuildGrid(HWND grid, QuizState* state) {
    g_greenBrush = CreateSolidBrush(RGB((kGreenLabel >> 16) & 0xFF, (kGreenLabel >> 8) & 0xFF, kGreenLabel & 0xFF));
    GridRowCursor cursor;
    GridStartRows(state, &cursor);
    ProgressReader progress;
    OpenProgressReader(&progress);
    LOGFONTA small = {};
    small.lfHeight = 15;
    small.lfWeight = FW_THIN;
    if (state->smallFont) DeleteObject(static_cast<HGDIOBJ>(state->smallFont));
    state->smallFont = CreateFontIndirectA(&small);
    // Loaded only when a row will show it: a package that failed to load
    // (no questions) raises its own message, not a second one for a picture.
    const bool rows = state->quizKind == 1 && state->questionCount > 0;
    HBITMAP puzzle = rows ? PuzzlePicture() : nullptr;
    const SIZE pictureSize = PictureSizeOf(puzzle);
    HoldScoreUpdates();
    if (rows)
        for (int k = 1; k <= state->questionCount; ++k)
            BuildQuestion(grid, state, puzzle, &cursor, pictureSize, &progress, k);
    ReleaseScoreUpdates(state, grid);
    GridFinish(state);
    CloseProgressReader(&progress);
    UpdateScrollRanges(state, grid);
}

INT_PTR PaintLabel(const QuizState* state, HDC dc, HWND label) {
    const int id = GetDlgCtrlID(label);
    char text[kTextSize] = {};
    if (IsResultLabelId(state, id)) GetWindowTextA(label, text, sizeof text);
    const LabelPaint paint = ChooseGridLabelPaint(state, id, text);
    if (paint.transparentText) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, paint.textColour);
    }
    // A verdict's text is drawn on its colour, not in a white box.
    if (paint.brush != LabelBrush::kNone && !paint.transparentText) SetBkMode(dc, TRANSPARENT);
    GdiHandle brush = nullptr;
    switch (paint.brush) {
        case LabelBrush::kBack: brush = state->backBrush; break;
        case LabelBrush::kGreen: brush = g_greenBrush; break;
        case LabelBrush::kRed: brush = state->redBrush; break;
        case LabelBrush::kOrange: brush = state->orangeBrush; break;
        case LabelBrush::kAmber: brush = state->amberBrush; break;
        case LabelBrush::kNone: break;
    }
    return reinterpret_cast<INT_PTR>(brush);
}

}  // namespace

HBRUSH GreenBrush() { return g_greenBrush; }

INT_PTR CALLBACK GridDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    QuizState* state = CurrentQuizState();
    if (!state) return FALSE;
    switch (message) {
        case WM_INITDIALOG:
            // Set here as well as by the shell: the checks of restored answers
            // run inside this message and reach the grid through the state.
            state->gridDialog = hwnd;
            StartGridItems(hwnd);
            BuildGrid(hwnd, state);
            return TRUE;
        case WM_SIZE:
            ScrollGridAfterResize(state, hwnd);
            return 0;
        case WM_VSCROLL:
            ScrollGrid(hwnd, SB_VERT, LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            ScrollGrid(hwnd, SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            if (const int code = WheelScrollCode(wParam))
                PostMessageA(hwnd, WM_VSCROLL, static_cast<WPARAM>(code), 0);
            return 0;
        case WM_CTLCOLORSTATIC:
            return PaintLabel(state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(state->backBrush);
        case WM_PAINT:
        case WM_ERASEBKGND:
        case WM_NCPAINT:
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_DESTROY:
            // A picture control never deletes its bitmap: the grid that gave
            // them takes them back.
            for (int k = 1; k <= state->questionCount; ++k)
                SetQuestionPicture(GetDlgItem(hwnd, kPictureBase + k), nullptr);
            ReleasePuzzlePicture();
            ForgetGridItems(hwnd);
            // Deleted here only: a WM_CLOSE leaves the grid alive, and its
            // "BRAVO" labels still paint with this brush.
            DeleteObject(g_greenBrush);
            g_greenBrush = nullptr;
            return 0;
        default:
            return 0;
    }
}

}  // namespace quiz
