// The one seam for messages the user must see: a text and a caption, both
// CP1252, and the message box style. The player routes it to
// MessageBoxA(NULL, text, caption, style); tests and quizpack capture it.
#pragma once

namespace quiz {

// Message box styles, as Windows numbers them.
constexpr unsigned kAlertPlain = 0x00;        // MB_OK
constexpr unsigned kAlertError = 0x10;        // MB_ICONERROR
constexpr unsigned kAlertInformation = 0x40;  // MB_ICONINFORMATION

using AlertHandler = void (*)(void* context, const char* text, const char* caption,
                              unsigned style);

// Installs the handler (null: alerts are dropped). Returns the previous one
// through the out parameters when they are given.
void SetAlertHandler(AlertHandler handler, void* context,
                     AlertHandler* previousHandler = nullptr,
                     void** previousContext = nullptr);

void ShowAlert(const char* text, const char* caption, unsigned style = kAlertPlain);

}  // namespace quiz
