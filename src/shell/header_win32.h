// The header bar: a modeless child dialog from template 1002 with the score,
// the code field, the title and subtitle, "Cacher", "Sauver", the link and
// the author.
#pragma once

#include <windows.h>

namespace quiz {

INT_PTR CALLBACK HeaderDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the link label its underlined font, three quarters of its height.
void SetupLinkLabel(HWND label);

// Opening the link goes through one seam: the player hands the text to the
// shell's "open" verb; tests install their own opener (null: the shell's).
using LinkOpener = void (*)(const char* link);
void SetLinkOpener(LinkOpener opener);

}  // namespace quiz
