#include "shell/controls_win32.h"

namespace quiz {

static_assert(kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE && kWsBorder == WS_BORDER &&
              kWsTabStop == WS_TABSTOP);
static_assert(kSsCenter == SS_CENTER && kSsRight == SS_RIGHT && kSsBitmap == SS_BITMAP &&
              kSsNotify == SS_NOTIFY && kSsCenterImage == SS_CENTERIMAGE);
static_assert(kEsCenter == ES_CENTER && kEsAutoHScroll == ES_AUTOHSCROLL &&
              kEsReadOnly == ES_READONLY && kBsAutoCheckBox == BS_AUTOCHECKBOX);

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style,
                 const PixelRect& rect, int id, HFONT font, BOOL redraw) {
    HWND child = CreateWindowExA(0, className, text, style, rect.x, rect.y, rect.width,
                                 rect.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (child && font) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    return child;
}

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace quiz
