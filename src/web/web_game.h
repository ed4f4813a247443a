// The player's game without windows, for the web page: the quiz loaded by
// the player's own loader, the answer fields, their verdict labels, the
// reveals of the layout, the score and code, hide-found and the progress
// file, all decided by the portable core; the page only draws what this
// holds and passes on what the player types. The view (GameViewJson) says
// what each thing is, never a colour: its shape, with the ids and marks the
// page and its writer rely on, is written down at the top of
// src/web/page/page.js.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "grid/quiz_tables.h"
#include "model/package.h"
#include "model/quiz_state.h"

namespace quiz {

struct WebQuestion {
    bool found = false;
    bool marked = false;       // its picture shows its mark
    bool hasHint = false;      // the layout gives it a hint label
    bool hintShown = false;
    std::string hintText;      // CP1252
};

struct WebField {
    std::string text;              // CP1252, as the field holds it
    std::string verdict = "?";     // the result label, the only record of a verdict
    bool hidden = false;           // the second field of a one-answer question
};

struct WebGame {
    QuizState state{};
    QuizTables tables;
    std::vector<WebQuestion> questions;
    std::vector<WebField> fields;  // index a - 1 for answer field a
    bool hideFound = false;
    std::string alert;             // what the loader said, if anything
    std::string fingerprint;       // of the records the answers are judged against
    std::string notice;            // CP1252: the quiz changed since the answers were kept
    WebGame();
    ~WebGame();
    WebGame(const WebGame&) = delete;
    WebGame& operator=(const WebGame&) = delete;
};

// Loads the records and tables as the player does and builds the fields,
// each restored from `progress` (the progress file's bytes; empty: none) and
// judged in the player's order. False when the package does not load.
bool StartWebGame(WebGame* game, const PackageRecords& records, const uint8_t* letters, size_t lettersSize,
                  const uint8_t* places, size_t placesSize, const uint8_t* progress, size_t progressSize);

// The fields again, restored from `progress` as at the start and judged
// anew, with nothing of the answers before them; "Cacher" stays as it is.
void RestoreProgress(WebGame* game, const uint8_t* progress, size_t progressSize);

// Eight hex digits of the three records: a page that keeps answers keeps
// this beside them, and tells the player when the quiz changed under them.
std::string QuizFingerprint(const PackageRecords& records);

// The answers restored at the start were kept against `keptFingerprint`
// (empty: unknown); when the quiz changed since, `notice` says so.
void NoteQuizChange(WebGame* game, const std::string& keptFingerprint);

// A progress file the player picked, read and judged before anything
// changes: refused (`ok` false, `message` says why) when it is empty, not
// text, too large, or of another quiz: a line count other than the fields'
// and not one answer right here. `progress`: the fields' lines as the
// player's own file holds them.
struct ChosenFile {
    bool ok = false;
    bool replaces = false;  // the fields hold answers it would replace
    std::string message;    // CP1252
    std::string progress;
};
ChosenFile ReadChosenFile(const WebGame& game, const uint8_t* data, size_t size);

// Answer field a (from 1) now holds `text` (CP1252, cut to kAnswerFieldLimit bytes); then
// it is judged, as leaving the field or Enter judges it in the player.
void TypeAndCheck(WebGame* game, int a, const std::string& text);

// The player's F1: the text of field a into every field not reading
// "BRAVO", each judged.
void FillOpenFields(WebGame* game, int a);

// "Cacher": found questions give up their pictures and hints.
void SetHideFound(WebGame* game, bool hide);

// The score label's text and the code field's.
std::string ScoreText(const WebGame& game);
std::string CodeText(const WebGame& game);
// Whether question k (from 1) is hidden by "Cacher".
bool QuestionHidden(const WebGame& game, int k);

// The progress file the player writes for these fields, byte for byte.
std::string ProgressBytes(const WebGame& game);

// Everything the page shows, as JSON (texts in UTF-8): the view, as page.js
// describes it.
std::string GameViewJson(const WebGame& game);
// What reading a picked file gave: {"ok", "replaces", "message"}.
std::string ChosenFileJson(const ChosenFile& file);

}  // namespace quiz
