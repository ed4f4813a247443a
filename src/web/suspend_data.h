// The answers as a learning platform keeps them for the page (SCORM 1.2's
// cmi.suspend_data, 4,096 characters): compact, so that a quiz's answers fit
// where the progress file would not (192 fields of 85 bytes).
//
// The form, version 1, in CP1252 (each byte one character on the platform):
//   "A1" + the quiz's fingerprint (8 hex digits), then for each field from
//   the first to the last that holds something, "|" + the field:
//     ""     empty (a hidden second field too: the game writes "-" itself)
//     "\U"   the field's accepted answer, in capitals, as the quiz stores it
//     "\l"   the same in small letters
//     "\C"   the same, its first letter a capital, the others small
//     "\T"   the same, each word's first letter a capital
//     else   the text as typed, "\" written "\\" and "|" written "\|"
//   and, when the answers do not all fit, a last field "\." after those
//   that do: the fields after them are kept in the browser only.
// A right answer typed the way most people type it thus takes three
// characters; other texts take their length and one.
#pragma once

#include <cstddef>
#include <string>

#include "web/web_game.h"

namespace quiz {

// What SCORM 1.2 lets a platform refuse past.
constexpr size_t kSuspendDataLimit = 4096;

struct SuspendData {
    std::string text;      // CP1252, at most the limit given
    size_t fieldsKept = 0;  // the fields it holds, from the first
    bool whole = true;      // every field's answer is in it
    std::string message;    // CP1252: which answers only the browser keeps ("" when whole)
};

// The game's answers in the form above, within `limit` characters (at
// least 13: the start and the cut mark).
SuspendData EncodeSuspendData(const WebGame& game, size_t limit = kSuspendDataLimit);

// The fields restored from what the platform kept, then judged, in the
// player's order: the fields it names from it, those after a cut as the
// game holds them (the browser's), the others empty. Answers kept against
// another quiz give back their typed texts only, with the notice that the
// quiz changed. False, and the game as it was, for a text not in this form
// (`notice` says so).
bool RestoreSuspendData(WebGame* game, const std::string& text);

}  // namespace quiz
