// The write stage for `quizpack web`: the quiz as one HTML page that opens
// from a disk or a server and reaches no network. It carries the quiz's very
// records and tables (scrambled as in the .exe), its pictures, the player's
// core compiled to WebAssembly and a script that only draws and listens.
#pragma once

#include <string>
#include <vector>

#include "exe/pe_resources.h"
#include "judge/quiz_definition.h"

namespace quizpack {

// The player's core as the browser runs it: emscripten's script
// (quiz_core.js) and the WebAssembly it compiles (quiz_core.wasm).
struct WebCore {
    std::string script;
    std::vector<uint8_t> wasm;
};

// The page's own files: its template (page.html), style and script. The
// ids and marks they rely on are written down at the top of page.js.
struct PageFiles {
    std::string html, style, script;
};
// Bytes in base64, as a page carries them.
std::string Base64(const std::vector<uint8_t>& bytes);
bool FromBase64(const std::string& text, std::vector<uint8_t>* out);

// The ones quizpack carries.
PageFiles BuiltInPageFiles();
// page.html, page.css and page.js read from `folder`, so that a page being
// restyled is seen without rebuilding quizpack. False with a French `error`
// naming the file that does not read.
bool ReadPageFiles(const std::string& folder, PageFiles* page, std::string* error);

// The page for the resources the .exe would carry. `floor`: the same page
// without its scripts, the marked pictures in their hidden <img>, so the same
// pictures and fields, ready as the HTML is parsed (the page's speed is
// measured against it). False with a French `error`.
bool MakeWebPage(const QuizDefinition& quiz, const std::vector<Resource>& resources, const WebCore& core,
                 bool floor, std::string* html, std::string* error);
// The same from the page's files `page` (a template without the question's
// blocks is refused, with the block it lacks).
bool MakeWebPage(const QuizDefinition& quiz, const std::vector<Resource>& resources, const WebCore& core,
                 const PageFiles& page, bool floor, std::string* html, std::string* error);

// What a page carries, read back from its bytes: the records, the tables and
// the pictures, decoded. False when they cannot be found whole.
bool ReadWebPage(const std::string& html, std::vector<std::vector<uint8_t>>* records,
                 std::vector<std::vector<uint8_t>>* tables, std::vector<std::vector<uint8_t>>* pictures);

// Whether the page, read back, carries the resources' very bytes.
bool PageCarriesTheQuiz(const std::string& html, const std::vector<Resource>& resources);

// Writes the page beside `path`, reads it back (the records, tables and
// pictures must be the resources' very bytes), then moves it into place.
bool WriteWebPage(const std::string& path, const std::string& html, const std::vector<Resource>& resources,
                  std::string* error);

// The storage key of a quiz's page: its executable's name, which its .exe's
// progress file is named after. Pages opened from a disk share one storage,
// and two quizzes of different names keep apart; a page the author made again
// finds the answers of the one before.
std::string WebStorageKey(const std::string& executable);

}  // namespace quizpack
