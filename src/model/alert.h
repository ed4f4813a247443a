// The one seam for messages the user must see: a text and a caption, both
// CP1252, and the message box style. The player routes it to
// MessageBoxA(NULL, text, caption, style); tests and quizpack capture it.
// An alert answers with the button pressed, as Windows numbers them.
#pragma once

namespace quiz {

// Message box styles, as Windows numbers them.
constexpr unsigned kAlertPlain = 0x00;        // MB_OK
constexpr unsigned kAlertError = 0x10;        // MB_ICONERROR
constexpr unsigned kAlertInformation = 0x40;  // MB_ICONINFORMATION
constexpr unsigned kAlertYesNo = 0x04;        // MB_YESNO
constexpr unsigned kAlertWarning = 0x30;      // MB_ICONWARNING
constexpr unsigned kAlertNoByDefault = 0x100; // MB_DEFBUTTON2
constexpr unsigned kAlertTaskModal = 0x2000;  // MB_TASKMODAL: the thread's windows wait

constexpr int kAlertOk = 1;   // IDOK
constexpr int kAlertYes = 6;  // IDYES
constexpr int kAlertNo = 7;   // IDNO

using AlertHandler = int (*)(void* context, const char* text, const char* caption,
                             unsigned style);

// Installs the handler (null: alerts are dropped). Returns the previous one
// through the out parameters when they are given.
void SetAlertHandler(AlertHandler handler, void* context,
                     AlertHandler* previousHandler = nullptr,
                     void** previousContext = nullptr);

// The button pressed; 0 when no handler is installed (nobody answered).
int ShowAlert(const char* text, const char* caption, unsigned style = kAlertPlain);

}  // namespace quiz
