// The answer fields' own window procedure, installed on every edit control
// of the grid.
#pragma once

#include <windows.h>

namespace quiz {

LRESULT CALLBACK AnswerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam);

// Installs AnswerFieldProc on a field and keeps the edit control's own
// procedure, the same for every field, to pass messages on to.
void InstallAnswerFieldProc(HWND field);

// Gives the focus back to a window (an answer field) where it was, without
// bringing it into view: the grid stays where the player left it.
void GiveFocusBack(HWND window);

}  // namespace quiz
