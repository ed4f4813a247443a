// The program's top-level window and its life: start-up, message loop and
// shut-down, split so that tests can drive each step.
#pragma once

#include <windows.h>

#include "grid/grid_scroll.h"
#include "model/quiz_state.h"

namespace quiz {

constexpr int kMainWidth = 930;
constexpr int kMainHeight = 600;
constexpr int kStatusLabelId = 8000;
constexpr int kGridTemplateId = 1001;
constexpr int kHeaderTemplateId = 1002;
extern const char kMainClassName[];  // "Zarlo"

struct PlayerWindows {
    HWND main = nullptr;
    HWND header = nullptr;
    HWND grid = nullptr;
};

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A "Static" child with DEFAULT_GUI_FONT.
HWND CreateStaticLabel(HWND parent, const char* text, int x, int y, int width, int height,
                       int id);

// Posts WM_VSCROLL 501 to the grid for a wheel delta of +120, 500 for -120.
void ForwardMouseWheel(HWND grid, WPARAM wParam);

// Registers the class, creates and loads the quiz state, creates and centres
// the main window, creates the header and the grid, shows them and scrolls
// the grid to its top. False, after the message box, when the class cannot
// be registered.
bool StartPlayer(HINSTANCE instance, PlayerWindows* windows);

// Runs until WM_QUIT; returns its wParam.
int RunMessageLoop(HWND grid);

// Ends the grid, destroys the header, deletes the status-label brush and
// tears the quiz state down.
void ShutDownPlayer(PlayerWindows* windows);

HBRUSH StatusLabelBrush();

// What the player last gave Windows as the reason it holds a session's end
// up (CP1252); empty when it does not.
const char* SessionBlockReason();

}  // namespace quiz
