// quizpack.exe's edge with Windows: UTF-8 inside, wide calls outside.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "write/atelier_page.h"
#include "write/web_page.h"

namespace quizpack {

// The command line, each argument in UTF-8.
std::vector<std::string> Utf8Arguments();

// The console shows the UTF-8 quizpack prints.
void PrepareConsole();

// True when nobody typed the command: the console is quizpack's own (made
// for it, as when a file is dropped on it in Explorer) and shows its output.
bool StartedWithoutAPrompt();

// Gives up the console Windows made for quizpack, so that no empty window
// stays behind its message box.
void LeaveOwnConsole();

// A message box of quizpack, the text in UTF-8.
void ShowMessage(const std::string& text, bool failed);

// The player stub quizpack.exe carries, the web page's core, and the
// authors' library in WebAssembly for the atelier.
std::vector<uint8_t> EmbeddedStub();
WebCore EmbeddedWebCore();
AtelierLibrary EmbeddedAtelierLibrary();

}  // namespace quizpack
