// The progress file: the answers typed so far, in the current directory,
// named after the program.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "model/quiz_state.h"

namespace quiz {

// The running program's file name without its directory.
void ExecutableFileName(char* buffer, int size);

// Writes the answers of the grid's fields to the progress file.
void SaveProgress(QuizState* state);

// The progress file opened for reading and mapped; empty (no data) when
// there is none or it cannot be opened, sized, mapped or viewed.
struct ProgressReader {
    HANDLE file;
    HANDLE mapping;
    const uint8_t* data;
    size_t size;
    size_t position;
};
void OpenProgressReader(ProgressReader* reader);
// The next line into `text` (86 bytes at least): empty without a file.
void NextProgressLine(ProgressReader* reader, char* text);
void CloseProgressReader(ProgressReader* reader);

}  // namespace quiz
