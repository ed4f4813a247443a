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

enum class SaveOutcome {
    kSaved,
    kNothingToSave,  // no answer fields: the file is left as it is
    kFailed,         // the old file is left as it is; *error says why
};

// Writes the answers of the grid's fields to the progress file, beside the
// old one, which is replaced only once every line is written.
SaveOutcome SaveProgress(QuizState* state, unsigned long* error = nullptr);

// The progress file's full path, for the player to find it; the name as the
// player opens it when the system cannot give the path whole in `size`.
void ProgressFilePath(char* path, int size);

// Saves, and says so in French when it fails. "Sauver" and F2 go on after
// the message (true); on closing (`closing`), the player is asked whether to
// close all the same, and the answer is the result.
bool SaveProgressOrSay(QuizState* state, bool closing);

// The progress file opened for reading and mapped, its lines taken in turn
// by StartingFieldOf; empty (no data) when there is none or it cannot be
// opened, sized, mapped or viewed.
struct ProgressReader {
    HANDLE file;
    HANDLE mapping;
    const uint8_t* data;
    size_t size;
    size_t position;
};
void OpenProgressReader(ProgressReader* reader);
void CloseProgressReader(ProgressReader* reader);

}  // namespace quiz
