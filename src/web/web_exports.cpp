// The page's entry points into the core, compiled to WebAssembly: one per
// thing a player does; each answers with everything the page shows, as JSON
// in UTF-8. The page's script only draws that and passes on what is typed.
#include <cstdint>
#include <string>

#include "model/alert.h"
#include "model/cp1252.h"
#include "web/json_string.h"
#include "web/suspend_data.h"
#include "web/web_game.h"

namespace {

quiz::WebGame* g_game = nullptr;
std::string g_answer;  // what the last call gives back, alive until the next

int CollectAlert(void* context, const char* text, const char* caption, unsigned) {
    auto* said = static_cast<std::string*>(context);
    *said += std::string(*said->c_str() ? "\n" : "") + caption + " : " + text;
    return quiz::kAlertOk;
}

const char* View() {
    g_answer = g_game ? quiz::GameViewJson(*g_game) : "{}";
    return g_answer.c_str();
}

}  // namespace

extern "C" {

// The quiz's records and tables, the progress kept so far (empty: none) and
// the fingerprint of the quiz it was kept against (empty: unknown).
const char* quiz_start(const uint8_t* builtIn, int builtInSize, const uint8_t* record104, int size104,
                       const uint8_t* record105, int size105, const uint8_t* letters, int lettersSize,
                       const uint8_t* places, int placesSize, const uint8_t* progress, int progressSize,
                       const char* keptFingerprint) {
    delete g_game;
    g_game = new quiz::WebGame;
    quiz::PackageRecords records;
    records.builtIn = {builtIn, size_t(builtInSize)};
    records.record104 = {record104, size_t(size104)};
    records.record105 = {record105, size_t(size105)};
    quiz::SetAlertHandler(&CollectAlert, &g_game->alert);
    quiz::StartWebGame(g_game, records, letters, size_t(lettersSize), places, size_t(placesSize), progress,
                       size_t(progressSize));
    quiz::SetAlertHandler(nullptr, nullptr);
    quiz::NoteQuizChange(g_game, keptFingerprint ? keptFingerprint : "");
    return View();
}

// A file the player picked for "Reprendre": read and judged; with `apply`,
// its answers replace the fields' when it is fit (the view comes back),
// without, only what reading it gave.
const char* quiz_resume(const uint8_t* bytes, int size, int apply) {
    if (!g_game) return View();
    const quiz::ChosenFile file = quiz::ReadChosenFile(*g_game, bytes, size_t(size > 0 ? size : 0));
    if (!apply) {
        g_answer = quiz::ChosenFileJson(file);
        return g_answer.c_str();
    }
    if (file.ok)
        quiz::RestoreProgress(g_game, reinterpret_cast<const uint8_t*>(file.progress.data()), file.progress.size());
    return View();
}

// The fields again from progress bytes this page gave (one step back).
const char* quiz_restore(const uint8_t* progress, int size) {
    if (g_game) quiz::RestoreProgress(g_game, progress, size_t(size > 0 ? size : 0));
    return View();
}

// Answer field `field` (from 1) holds `utf8` now, and is judged.
const char* quiz_type(int field, const char* utf8) {
    if (g_game) quiz::TypeAndCheck(g_game, field, quiz::Utf8ToCp1252Text(utf8));
    return View();
}

// The text of `field` tried in every open field.
const char* quiz_fill(int field) {
    if (g_game) quiz::FillOpenFields(g_game, field);
    return View();
}

const char* quiz_hide(int hide) {
    if (g_game) quiz::SetHideFound(g_game, hide != 0);
    return View();
}

// The progress file's bytes (CP1252), `*size` of them.
const uint8_t* quiz_progress(int* size) {
    g_answer = g_game ? quiz::ProgressBytes(*g_game) : "";
    *size = int(g_answer.size());
    return reinterpret_cast<const uint8_t*>(g_answer.data());
}

// The answers for the learning platform, within `limit` characters:
// {"data": the text to keep, "whole": 0|1, "kept": the fields it holds,
//  "message": what the browser alone keeps, or ""}.
const char* quiz_suspend(int limit) {
    if (!g_game) return View();
    const quiz::SuspendData kept = quiz::EncodeSuspendData(*g_game, size_t(limit > 0 ? limit : 0));
    g_answer = "{\"data\":" + quiz::JsonString(quiz::Cp1252ToUtf8Text(kept.text), quiz::JsonPlace::kParsed) +
               ",\"whole\":" + (kept.whole ? "1" : "0") + ",\"kept\":" + std::to_string(kept.fieldsKept) +
               ",\"message\":" + quiz::JsonString(quiz::Cp1252ToUtf8Text(kept.message), quiz::JsonPlace::kParsed) + "}";
    return g_answer.c_str();
}

// The answers the platform kept (`utf8`, as it gives them back on a
// return), restored and judged; the view comes back, its notice saying
// what did not come from the platform.
const char* quiz_platform(const char* utf8) {
    if (g_game) quiz::RestoreSuspendData(g_game, quiz::Utf8ToCp1252Text(utf8));
    return View();
}

}  // extern "C"
