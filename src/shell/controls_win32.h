// One way to make a child control, so that the ~100 controls of the header
// and the grid read as a table.
#pragma once

#include <windows.h>

#include "grid/grid_layout.h"

namespace quiz {

// A child of `parent` (extended style 0, the program's instance) with the
// given class, text, style, rectangle and control id. A font, when given, is
// sent with WM_SETFONT and `redraw`.
HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style,
                 const PixelRect& rect, int id, HFONT font = nullptr, BOOL redraw = TRUE);

// The stock DEFAULT_GUI_FONT.
HFONT GuiFont();

}  // namespace quiz
