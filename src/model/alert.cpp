#include "model/alert.h"

namespace quiz {

namespace {
AlertHandler g_handler = nullptr;
void* g_context = nullptr;
}  // namespace

void SetAlertHandler(AlertHandler handler, void* context, AlertHandler* previousHandler,
                     void** previousContext) {
    if (previousHandler) *previousHandler = g_handler;
    if (previousContext) *previousContext = g_context;
    g_handler = handler;
    g_context = context;
}

int ShowAlert(const char* text, const char* caption, unsigned style) {
    return g_handler ? g_handler(g_context, text, caption, style) : 0;
}

}  // namespace quiz
