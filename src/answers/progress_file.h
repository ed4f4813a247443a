// The progress file's format, portable: one line of raw field text plus
// CR LF per answer field, in field order, nothing else.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quiz {

constexpr int kProgressLineLimit = 85;  // an answer field holds no more

// The next line from `position`: at most 85 bytes up to the next CR (the rest
// of a longer line is skipped), then everything up to the next LF and one
// byte more. A line ended by LF alone runs on to the next CR, LF included.
// Writes the line NUL-terminated into `text` (86 bytes at least) and moves
// `position` past it; at the end of the data the text is empty.
void ReadProgressLine(const uint8_t* data, size_t size, size_t* position, char* text);

// The progress file of a program file name: its last three characters
// replaced by "txt" (jeu.exe gives jeu.txt, JEU.EXE gives JEU.txt). A name of
// fewer than three characters gets "txt" as it stands. `out` holds 260 bytes.
void ProgressFileName(const char* programName, char* out, int size);

// "Les réponses n'ont pas pu être enregistrées dans « PATH »": the first
// words of a failed save, and the reason Windows shows for a session whose
// end the player holds up. Cut to `size` bytes.
void FormatUnsavedAnswers(const char* path, char* out, size_t size);

// What the player reads when the answers could not be written: the file, the
// system's reason (its trailing line end and spaces dropped), and, when the
// window is closing, whether to close all the same. Cut to `size` bytes.
void FormatSaveFailure(const char* path, const char* reason, bool closing, char* out,
                       size_t size);

}  // namespace quiz
