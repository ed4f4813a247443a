#include "model/alert_win32.h"

#include <windows.h>

#include "model/alert.h"

namespace quiz {

namespace {

int MessageBoxAlert(void*, const char* text, const char* caption, unsigned style) {
    return MessageBoxA(nullptr, text, caption, style);
}

}  // namespace

void RouteAlertsToMessageBox() { SetAlertHandler(&MessageBoxAlert, nullptr); }

}  // namespace quiz
