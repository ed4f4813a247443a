// Helpers of the Win32 suites: settle the display, read controls back, build
// a quiz state in code and a grid dialog around it.
#pragma once

#include <windows.h>

#include <functional>
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

// The progress file of this test program, in the current directory, and
// the bytes of a file (empty when there is none).
std::string ProgressName();
std::string FileBytes(const std::string& name);

// The visible message box of `process` titled `caption` (null when none),
// and its text.
HWND FindMessageBox(DWORD process, const char* caption);
std::string MessageBoxText(HWND box);

// A message box of this process answered from a thread of its own, as a
// player would: it waits (10 s at most) for the box titled `caption`, reads
// its text and buttons, and presses `button`.
struct MessageBoxSeen {
    std::string text;  // empty when no box came
    bool yesNo = false;  // it asks: "Oui" and "Non" instead of "OK"
};
class MessageBoxAnswer {
public:
    // `whileShown` runs on the answering thread once the box is up, before
    // the button is pressed.
    MessageBoxAnswer(const char* caption, int button, std::function<void()> whileShown = nullptr);
    ~MessageBoxAnswer();
    MessageBoxAnswer(const MessageBoxAnswer&) = delete;
    MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;
    // Waits for the thread; what it saw.
    MessageBoxSeen Finish();

private:
    static DWORD WINAPI Run(void* self);
    std::string caption_;
    int button_;
    std::function<void()> whileShown_;
    HANDLE thread_ = nullptr;
    MessageBoxSeen seen_;
};

// Routes the alerts to real message boxes while it lives.
class RealMessageBoxes {
public:
    RealMessageBoxes();
    ~RealMessageBoxes();
    RealMessageBoxes(const RealMessageBoxes&) = delete;
    RealMessageBoxes& operator=(const RealMessageBoxes&) = delete;

private:
    int (*previous_)(void*, const char*, const char*, unsigned) = nullptr;
    void* previousContext_ = nullptr;
};

}  // namespace quiz::test
