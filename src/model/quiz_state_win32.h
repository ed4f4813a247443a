// The Win32 half of the quiz state: its shared fonts and brushes.
#pragma once

#include <windows.h>

#include "model/quiz_state.h"

namespace quiz {

// A new state with its starting values and its fonts and brushes, created in
// this order: pictureFont, scoreFont, titleFont, backBrush, redBrush,
// orangeBrush, amberBrush. A GDI object that cannot be made stays null.
// Returns null when the record itself cannot be allocated.
QuizState* CreateQuizState();

// Deletes backBrush, redBrush, orangeBrush, amberBrush, titleFont, smallFont,
// scoreFont and pictureFont in that order, then every question, then the
// record. Null handles are passed over harmlessly.
void DestroyQuizState(QuizState* state);

// Replaces backBrush by a solid brush of the state's background colour and
// deletes the one it had.
void ReplaceBackBrush(QuizState* state);

inline HFONT AsFont(GdiHandle h) { return static_cast<HFONT>(h); }
inline HBRUSH AsBrush(GdiHandle h) { return static_cast<HBRUSH>(h); }
inline HWND AsWindow(WindowHandle h) { return static_cast<HWND>(h); }

}  // namespace quiz
