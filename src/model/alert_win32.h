// The alert seam's Win32 half: alerts become message boxes.
#pragma once

namespace quiz {

// Shows the core's alerts with MessageBoxA, without an owner window; the
// button pressed is the alert's answer.
void RouteAlertsToMessageBox();

}  // namespace quiz
