// The grid's controls by id. Code reaches them by the id arithmetic only;
// the built grid keeps a record of them, because under Wine each GetDlgItem
// asks the server for the grid's children, and the score reads every result
// label after every check (96 x 96 reads while the rows are restored).
#pragma once

#include <windows.h>

namespace quiz {

// The grid that GridDialogProc builds records every control it makes
// (StartGridItems, RememberGridItem); any other window is asked with
// GetDlgItem.
void StartGridItems(HWND grid);
void RememberGridItem(HWND grid, int id, HWND item);

// GetDlgItem(grid, id), answered from the record for the built grid.
HWND GridItem(HWND grid, int id);
// The control's text (empty for a missing control), and its new text.
void GridItemText(HWND grid, int id, char* text, int size);
void SetGridItemText(HWND grid, int id, const char* text);

// Forgets every control of the grid (it is being destroyed).
void ForgetGridItems(HWND grid);

}  // namespace quiz
