// The progress file's format, portable: one line of raw field text plus
// CR LF per answer field, in field order, nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/quiz_state.h"

namespace quiz {

// The next line from `position`: at most kAnswerFieldLimit bytes up to the next CR (the rest
// of a longer line is skipped), then everything up to the next LF and one
// byte more. A line ended by LF alone runs on to the next CR, LF included.
// Writes the line NUL-terminated into `text` (kAnswerFieldLimit + 1 bytes at least) and moves
// `position` past it; at the end of the data the text is empty.
void ReadProgressLine(const uint8_t* data, size_t size, size_t* position, char* text);

// A progress file a player picks (the page's "Reprendre"): written by the
// player, or by an editor on a phone or a Mac on the way. Lines end in CR LF,
// LF or CR alone; a UTF-8 byte-order mark is dropped, and UTF-8 text becomes
// CP1252 ('?' for a character it has no byte for); each line is cut to
// kAnswerFieldLimit bytes, as the player's reader cuts it.
constexpr size_t kChosenProgressLimit = size_t(1) << 20;  // a player's file is some kilobytes
enum class ChosenProgressKind {
    kText,
    kEmpty,     // nothing but line ends, or no byte at all
    kBinary,    // a control byte no text holds: a picture, a document
    kTooLarge,  // more than kChosenProgressLimit bytes
};
struct ChosenProgress {
    ChosenProgressKind kind = ChosenProgressKind::kEmpty;
    std::vector<std::string> lines;  // CP1252, one per line of the file
};
ChosenProgress ReadChosenProgress(const uint8_t* data, size_t size);

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
