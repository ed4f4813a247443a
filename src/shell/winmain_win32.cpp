// The player's entry point.
#include <windows.h>

#include "model/alert_win32.h"
#include "shell/shell_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    quiz::RouteAlertsToMessageBox();
    quiz::PlayerWindows windows;
    if (!quiz::StartPlayer(instance, &windows)) return 0;
    int code = quiz::RunMessageLoop(windows.grid);
    quiz::ShutDownPlayer(&windows);
    return code;
}
