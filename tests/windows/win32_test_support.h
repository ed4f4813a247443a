// Helpers of the Win32 suites: settle the display, read controls back, build
// a quiz state in code and a grid dialog around it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "model/quiz_state.h"

namespace quiz::test {

// Pumps messages, as the player's loop does (the grid's dialog navigation
// first), until the display has settled.
void FlushEvents(HWND grid = nullptr, DWORD milliseconds = 100);

// A control's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
std::string TextOf(HWND window);
LONG StyleOf(HWND window);
SIZE BitmapSize(HBITMAP bitmap);
// Every pixel as 0x00RRGGBB, top row first; empty when it cannot be read.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap);

struct FixtureQuestion {
    const char* answer1;
    const char* answer2;  // as written; "-" is held as it stands
    const char* extraText;
};

// A quiz state with its fonts and brushes and the given questions, made the
// process's current state.
QuizState* MakeQuiz(int layoutType, int answersPerQuestion,
                    const std::vector<FixtureQuestion>& questions);
void DropQuiz(QuizState* state);

// The grid dialog of the current state in a visible top-level frame (the
// same for the whole run), sized so that its client area is width x height.
struct GridFixture {
    HWND frame = nullptr;
    HWND grid = nullptr;
};
GridFixture OpenGrid(int clientWidth, int clientHeight);
// The visible top-level window the fixtures' dialogs live in.
HWND Frame();
void CloseGrid(GridFixture* fixture);
void SetClientSize(HWND window, int width, int height);

}  // namespace quiz::test
