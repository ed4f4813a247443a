#include "grid/question_pictures_win32.h"
#include "shell/startup_phases_win32.h"

#include "grid/grid_items_win32.h"
#include "grid/grid_layout.h"
#include "grid/quiz_tables.h"
#include "images/picture_loader_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/controls_win32.h"

namespace quiz {

namespace {
HBITMAP g_puzzle = nullptr;
bool g_puzzleLoaded = false;
// The shared unmarked pictures, by letter count (1 to 259).
HBITMAP g_byCount[kMaxLetterCount + 1] = {};

bool IsShared(HBITMAP bitmap) {
    if (!bitmap) return false;
    for (HBITMAP shared : g_byCount)
        if (shared == bitmap) return true;
    return false;
}
}  // namespace

HBITMAP PuzzlePicture() {
    if (!g_puzzleLoaded) {
        PhaseTimer timer(StartupPhase::kPuzzleDecode);
        g_puzzle = LoadResourcePicture(GetModuleHandleA(nullptr), kPuzzlePictureId, "IMG",
                                       kWantedPictureSize, kWantedPictureSize);
        g_puzzleLoaded = true;
    }
    return g_puzzle;
}

void ReleasePuzzlePicture() {
    for (HBITMAP& shared : g_byCount) {
        if (shared) DeleteObject(shared);
        shared = nullptr;
    }
    if (g_puzzle) DeleteObject(g_puzzle);
    g_puzzle = nullptr;
    g_puzzleLoaded = false;
}

namespace {

// Writes question k's "%d lettres" through `dc`, which holds the picture.
void WriteLetterCountIn(HDC dc, int k, HFONT font) {
    char text[32];
    const int length = wsprintfA(text, "%d lettres", LetterCountOf(k));
    HGDIOBJ oldFont = SelectObject(dc, font);
    TextOutA(dc, kLetterCountLeft, kLetterCountTop, text, length);  // the context's defaults: black on opaque white
    SelectObject(dc, oldFont);
}

// Writes question k's "%d lettres" into `target` itself.
void WriteLetterCount(HBITMAP target, int k, HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, target);
    WriteLetterCountIn(dc, k, font);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
}

// Copies `overlay`, from its own (0, 0), through `from` into `destination`
// at question k's place; nothing for a question without a place.
void PasteOverlayIn(HDC destination, HDC from, HBITMAP overlay, int k) {
    AnswerPlace place;
    if (!AnswerPlaceOf(k, &place)) return;
    HGDIOBJ old = SelectObject(from, overlay);
    BitBlt(destination, place.left, place.top, place.width, place.height, from, 0, 0, SRCCOPY);
    SelectObject(from, old);
}

// Copies `overlay` into `base` at question k's place.
void PasteOverlay(HBITMAP base, HBITMAP overlay, int k) {
    HDC destination = CreateCompatibleDC(nullptr);
    HDC from = CreateCompatibleDC(nullptr);
    HGDIOBJ oldDestination = SelectObject(destination, base);
    PasteOverlayIn(destination, from, overlay, k);
    SelectObject(destination, oldDestination);
    DeleteDC(destination);
    DeleteDC(from);
}

// Question k's marked picture: the puzzle in the screen's format (the
// bitmap CopyImage would make of it), `overlay` at k's place, k's letter
// count; drawn through one pair of memory contexts. Null without a puzzle.
HBITMAP MarkedPicture(HBITMAP overlay, int k, HFONT font) {
    HBITMAP puzzle = PuzzlePicture();
    BITMAP info = {};
    if (!puzzle || !GetObjectA(puzzle, sizeof info, &info)) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    ReleaseDC(nullptr, screen);
    if (!picture) return nullptr;
    HDC destination = CreateCompatibleDC(nullptr);
    HDC from = CreateCompatibleDC(nullptr);
    HGDIOBJ oldDestination = SelectObject(destination, picture);
    HGDIOBJ oldSource = SelectObject(from, puzzle);
    BitBlt(destination, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
    PasteOverlayIn(destination, from, overlay, k);
    WriteLetterCountIn(destination, k, font);
    SelectObject(destination, oldDestination);
    SelectObject(from, oldSource);
    DeleteDC(destination);
    DeleteDC(from);
    return picture;
}

}  // namespace

HBITMAP DrawLetterCount(QuizState*, HBITMAP picture, int k, HFONT font) {
    if (!picture) return nullptr;
    auto copy = static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE));
    if (!copy) return nullptr;
    WriteLetterCount(copy, k, font);
    return copy;
}

HBITMAP SharedLetterCountPicture(QuizState* state, HBITMAP puzzle, int k) {
    HBITMAP& shared = g_byCount[LetterCountOf(k)];  // 1 to 259, as the tables are read
    if (!shared) shared = DrawLetterCount(state, puzzle, k, AsFont(state->pictureFont));
    return shared;
}

void SetQuestionPicture(HWND control, HBITMAP bitmap) {
    if (!control) {
        if (!IsShared(bitmap) && bitmap) DeleteObject(bitmap);
        return;
    }
    auto previous = reinterpret_cast<HBITMAP>(
        SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous && previous != bitmap && !IsShared(previous)) DeleteObject(previous);
}

HBITMAP ComposeAnswerPicture(QuizState* state, HBITMAP overlay, HBITMAP base, int index) {
    PasteOverlay(base, overlay, index + 1);
    return DrawLetterCount(state, base, index + 1, AsFont(state->pictureFont));
}

void ShowFoundPicture(QuizState* state, HWND grid, int k) {
    PhaseTimer timer(StartupPhase::kFoundPictures);
    AnswerPlace place;
    if (!AnswerPlaceOf(k, &place)) return;
    HMODULE module = GetModuleHandleA(nullptr);
    HBITMAP overlay = LoadResourcePicture(module, kOverlayPictureBase + k, "IMG",
                                          kWantedPictureSize, kWantedPictureSize);
    if (!overlay) return;
    // Every composition starts from the puzzle, decoded once: a find costs
    // one copy, marked and counted in place (the same pixels as
    // ComposeAnswerPicture, without its second copy).
    HBITMAP picture = MarkedPicture(overlay, k, AsFont(state->pictureFont));
    DeleteObject(overlay);
    SetQuestionPicture(GridItem(grid, kPictureBase + k), picture);
}

}  // namespace quiz
