// The floor of the start-up benchmark: a program that does only what the
// player's first screen needs, and nothing of a quiz. The same 930 x 600
// window and two child dialogs from the player's templates, the header's 13
// controls, and per question (FLOOR_QUESTIONS of them) a picture static
// holding its own 459 x 505 bitmap, a number label, a hidden hint label, an
// edit field and a result label, at the player's places. No package, no
// decoding, no answer check. Built with FLOOR_QUESTIONS=0 it is the bare
// window the benchmark also measures: the window and its two empty dialogs.
#include <windows.h>

#include "grid/grid_layout.h"

namespace {

INT_PTR CALLBACK EmptyDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

LRESULT CALLBACK FloorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND Child(HWND parent, const char* type, const char* text, DWORD style, int x, int y, int w, int h,
           int id) {
    HWND control = CreateWindowExA(0, type, text, WS_CHILD | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

HWND Child(HWND parent, const char* type, const char* text, DWORD style, const quiz::PixelRect& r,
           int id) {
    return Child(parent, type, text, style, r.x, r.y, r.width, r.height, id);
}

void Header(HWND dialog) {
    const DWORD shown = WS_VISIBLE;
    Child(dialog, "Static", "https://q.example", shown | SS_NOTIFY, 736, 5, 115, 18, 24);
    Child(dialog, "Static", "Par :", shown, 736, 25, 27, 18, 25);
    Child(dialog, "Static", "L'auteur", shown, 763, 25, 85, 18, 26);
    Child(dialog, "button", "Cacher", shown | BS_AUTOCHECKBOX, 666, 5, 65, 18, 33);
    Child(dialog, "button", "Sauver", shown, 666, 25, 55, 18, 27);
    Child(dialog, "Static", "Le sous-titre", shown, 110, 19, 490, 27, 28);
    Child(dialog, "Static", "Le titre", shown, 110, 3, 190, 18, 29);
    Child(dialog, "Static", " Code :", shown, 7, 29, 36, 15, 31);
    Child(dialog, "Static", " 0 / 0", shown | SS_CENTER, 10, 1, 80, 20, 32);
    Child(dialog, "edit", "", shown | ES_READONLY, 44, 29, 53, 16, 30);
    Child(dialog, "Static", "", shown | WS_BORDER, 0, 26, 100, 1, 120);
    Child(dialog, "Static", "", shown | WS_BORDER, 100, 0, 1, 50, 121);
    Child(dialog, "Static", "", shown | WS_BORDER, 730, 0, 1, 50, 122);
}

void Grid(HWND grid, int questions) {
    HDC screen = GetDC(nullptr);
    const int rowHeight = 505 + 40;
    for (int k = 1; k <= questions; ++k) {
        const int left = quiz::BlockLeft(k, 1);
        const int rowTop = 10 + (k - 1) / 3 * (rowHeight + 20);
        const int answerTop = rowTop + rowHeight - 30;
        // Its own bitmap, as every question's picture is its own copy.
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 459, 505);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, 459, 505, WHITENESS);
        SelectObject(dc, old);
        DeleteDC(dc);
        HWND picture = Child(grid, "Static", "", WS_VISIBLE | WS_BORDER | SS_BITMAP | SS_CENTERIMAGE,
                             quiz::PictureRect(left, rowTop, rowHeight, 459, 505), quiz::kPictureBase + k);
        SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        char number[16];
        wsprintfA(number, "%d.", k);
        Child(grid, "Static", number, WS_VISIBLE | SS_RIGHT, quiz::NumberLabelRect(left, answerTop),
              quiz::kNumberLabelBase + k);
        Child(grid, "Static", "", SS_CENTER, quiz::HintLabelRect(left, answerTop),
              quiz::kHintLabelBase + k);
        Child(grid, "Edit", "", WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER,
              quiz::AnswerFieldRect(left, answerTop, 1, 1), quiz::kAnswerFieldBase + k);
        Child(grid, "Static", "?", WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER,
              quiz::ResultLabelRect(left, answerTop, 1, 1), quiz::kResultLabelBase + k);
    }
    ReleaseDC(nullptr, screen);
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE, 0, 10 + (questions + 2) / 3 * (rowHeight + 20), 493, 0, 0};
    SetScrollInfo(grid, SB_VERT, &info, TRUE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    windowClass.lpszClassName = "FloorWindow";
    if (!RegisterClassExA(&windowClass)) return 1;
    HWND main = CreateWindowExA(0, "FloorWindow", "Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 930, 600, nullptr, nullptr, instance, nullptr);
    HWND header = CreateDialogParamA(instance, MAKEINTRESOURCEA(1002), main, EmptyDialog, 0);
    HWND grid = CreateDialogParamA(instance, MAKEINTRESOURCEA(1001), main, EmptyDialog, 0);
    SetWindowPos(header, nullptr, 5, 2, 903, 49, SWP_NOZORDER);
    SetWindowPos(grid, nullptr, 5, 50, 903, 493, SWP_NOZORDER);
    if (FLOOR_QUESTIONS > 0) {
        Header(header);
        Grid(grid, FLOOR_QUESTIONS);
    }
    ShowWindow(header, SW_SHOWNORMAL);
    ShowWindow(main, SW_SHOWNORMAL);
    ShowWindow(grid, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (IsDialogMessageA(grid, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(main);
    return 0;
}
