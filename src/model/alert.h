// The one seam for messages the user must see: a text and a caption, both
// CP1252. The player routes it to MessageBoxA(NULL, text, caption, MB_OK);
// tests and quizpack capture it.
#pragma once

namespace quiz {

using AlertHandler = void (*)(void* context, const char* text, const char* caption);

// Installs the handler (null: alerts are dropped). Returns the previous one
// through the out parameters when they are given.
void SetAlertHandler(AlertHandler handler, void* context,
                     AlertHandler* previousHandler = nullptr,
                     void** previousContext = nullptr);

void ShowAlert(const char* text, const char* caption);

}  // namespace quiz
