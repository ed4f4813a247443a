// The reference for the start-up benchmark: a Win32 program that only
// registers a class and shows a 930 x 600 window holding two empty child
// dialogs from the player's own templates, then runs its message loop.
#include <windows.h>

namespace {

INT_PTR CALLBACK EmptyDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

LRESULT CALLBACK BareWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    windowClass.lpszClassName = "BareWindow";
    if (!RegisterClassExA(&windowClass)) return 1;
    HWND main = CreateWindowExA(0, "BareWindow", "Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 930, 600, nullptr, nullptr, instance, nullptr);
    HWND header = CreateDialogParamA(instance, MAKEINTRESOURCEA(1002), main, EmptyDialog, 0);
    HWND grid = CreateDialogParamA(instance, MAKEINTRESOURCEA(1001), main, EmptyDialog, 0);
    SetWindowPos(header, nullptr, 5, 2, 903, 49, SWP_NOZORDER);
    SetWindowPos(grid, nullptr, 5, 50, 903, 493, SWP_NOZORDER);
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
