// The authors' library's calls as the atelier's page makes them, in
// WebAssembly. The page hands over what quizpack carries once, then a quiz's
// files; each call answers JSON (UTF-8, ended) and keeps the bytes it made
// until the next call, read with atelier_made.
#include <emscripten/emscripten.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "atelier/draft.h"
#include "atelier/library_calls.h"
#include "embedded.h"
#include "pictures/picture_info.h"
#include "pictures/raster_web.h"
#include "read/source_record.h"
#include "web/json_string.h"
#include "write/zip.h"

namespace quizpack {

namespace {

std::map<std::string, std::string, std::less<>> g_handedOver;  // by NAME, as QUIZPACK_EMBED names them
FilesInMemory g_files;
Made g_made;
// The source last prepared from the files as they are, kept for the makes
// after a check; dropped whenever a file comes or goes.
std::unique_ptr<PreparedQuiz> g_prepared;

const PreparedQuiz& Prepared(const std::string& source) {
    if (!g_prepared || g_prepared->source != source) {
        g_prepared = std::make_unique<PreparedQuiz>(PrepareInMemory(g_files, source));
        // A JPEG still to decode leaves it unfinished: prepared again next call.
        if (JpegsToDecode()) {
            static PreparedQuiz unfinished;
            unfinished = std::move(*g_prepared);
            g_prepared.reset();
            return unfinished;
        }
    }
    return *g_prepared;
}

// A call that met JPEG pictures still to decode answers {"decode":1}: the
// page decodes them and calls again.
const char* Answer(Made made) {
    g_made = JpegsToDecode() ? Made{"{\"decode\":1}", {}} : std::move(made);
    ForgetJpegsToDecode();
    return g_made.json.c_str();
}

std::string HandedOverText(const char* name) { return std::string(HandedOver(name)); }

// The quiz the form edits, where its source is kept among the files, and
// the changes made to it.
Draft g_draft;
std::string g_sourcePath = "quiz.toml";
DraftHistory g_history;

const char* DraftAnswer(const std::string& said) {
    return Answer({"{\"ok\":1,\"source\":" + quiz::JsonString(g_sourcePath, quiz::JsonPlace::kParsed) +
                       ",\"said\":" + quiz::JsonString(said, quiz::JsonPlace::kParsed) +
                       ",\"canUndo\":" + (g_history.CanUndo() ? "1" : "0") +
                       ",\"canRedo\":" + (g_history.CanRedo() ? "1" : "0") + ",\"draft\":" + DraftJson(g_draft) + "}",
                   {}});
}

// The draft written where the source is, for the checks and makes after.
void WriteDraft() {
    const std::string source = SourceOfDraft(g_draft);
    g_files[g_sourcePath].assign(source.begin(), source.end());
    g_prepared.reset();
}

}  // namespace

std::string_view HandedOver(std::string_view name) {
    const auto found = g_handedOver.find(name);
    return found == g_handedOver.end() ? std::string_view() : std::string_view(found->second);
}

}  // namespace quizpack

using quizpack::g_files;
using quizpack::g_prepared;

extern "C" {

// What quizpack carries: StubFile, CoreFile, CoreWasmFile, PageHtml, PageCss,
// PageScript, FontFile.
EMSCRIPTEN_KEEPALIVE void atelier_hand_over(const char* name, const uint8_t* data, int size) {
    quizpack::g_handedOver[name].assign(reinterpret_cast<const char*>(data), size_t(size > 0 ? size : 0));
}

EMSCRIPTEN_KEEPALIVE void atelier_forget_files() {
    g_files.clear();
    g_prepared.reset();
}

// Room for one of the quiz's files, under the path its source names it by,
// for the page to fill: a photo is copied once, not twice. Null when the
// memory is full (the file is then not there).
EMSCRIPTEN_KEEPALIVE uint8_t* atelier_file(const char* path, int size) {
    g_prepared.reset();
    try {
        std::vector<uint8_t>& bytes = g_files[path];
        bytes.resize(size_t(size > 0 ? size : 0));
        return bytes.empty() ? reinterpret_cast<uint8_t*>(1) : bytes.data();
    } catch (const std::bad_alloc&) {
        g_files.erase(path);
        return nullptr;
    }
}

EMSCRIPTEN_KEEPALIVE const char* atelier_check(const char* source) {
    return quizpack::Answer(quizpack::CheckPrepared(quizpack::Prepared(source)));
}

// what: 0 the .exe, 1 the page, 2 the key, 3 the SCORM package.
EMSCRIPTEN_KEEPALIVE const char* atelier_make(const char* source, int what) {
    using quizpack::HandedOverText;
    const std::string_view stub = quizpack::HandedOver("StubFile"), wasm = quizpack::HandedOver("CoreWasmFile");
    const quizpack::CarriedFiles carried{{stub.begin(), stub.end()},
                                         {HandedOverText("CoreFile"), {wasm.begin(), wasm.end()}},
                                         quizpack::BuiltInPageFiles()};
    const quizpack::Making making = what == 0   ? quizpack::Making::kExe
                                    : what == 1 ? quizpack::Making::kPage
                                    : what == 2 ? quizpack::Making::kKey
                                                : quizpack::Making::kScorm;
    return quizpack::Answer(quizpack::MakePrepared(quizpack::Prepared(source), making, carried));
}

// Picture names, one a line, of a folder so named.
EMSCRIPTEN_KEEPALIVE const char* atelier_new(const char* folder, const char* names) {
    std::vector<std::string> list;
    for (std::string_view rest = names; !rest.empty();) {
        const size_t end = rest.find('\n');
        list.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return quizpack::Answer(quizpack::NewQuiz(folder, list));
}

// The judge's table of fields, for a form drawn from it.
EMSCRIPTEN_KEEPALIVE const char* atelier_fields() { return quizpack::Answer({quizpack::FieldsTable(), {}}); }

// The bytes the last call made, and their count in *size.
EMSCRIPTEN_KEEPALIVE const uint8_t* atelier_made(int* size) {
    *size = int(quizpack::g_made.bytes.size());
    return quizpack::g_made.bytes.data();
}

// A new quiz of a kind (0 a mosaic, 1 a word search, 2 a picture of one's
// own), its source written as quiz.toml beside the files there are.
EMSCRIPTEN_KEEPALIVE const char* atelier_draft_new(int kind) {
    using quizpack::DraftKind;
    quizpack::g_draft = quizpack::NewDraft(kind == 1 ? DraftKind::kWordSearch : kind == 2 ? DraftKind::kPicture : DraftKind::kMosaic);
    quizpack::g_sourcePath = "quiz.toml";
    quizpack::g_history.Clear();
    quizpack::WriteDraft();
    return quizpack::DraftAnswer("");
}

// The draft of a source among the files, which stays as it is until a
// change; {"ok": 0} when it is no TOML (the check says why).
EMSCRIPTEN_KEEPALIVE const char* atelier_draft_open(const char* source) {
    quizpack::SourceRecord record;
    quizpack::Problems problems;
    {
        const quizpack::ReadingFromMemory reading(&g_files);
        if (!quizpack::ReadSource(source, &record, &problems)) return quizpack::Answer({"{\"ok\":0}", {}});
    }
    quizpack::g_draft = quizpack::DraftOfSource(record.root);
    quizpack::g_sourcePath = source;
    quizpack::g_history.Clear();
    return quizpack::DraftAnswer("");
}

// A change of the draft: 0 a field set to `text` (`where`: 0 the header, -1
// the section, K question K; `index` the answer of two), 1 a question added
// before question `where`, 2 question `where` removed, 3 moved to `index`,
// 4 the words and clues of `text` (one "MOT : indice" a line), 5 another
// grid, 6 a question for each picture named in `text` (one a line), 7 undo,
// 8 redo.
EMSCRIPTEN_KEEPALIVE const char* atelier_draft_edit(int op, int where, const char* key, const char* text, int index) {
    using namespace quizpack;
    std::string said;
    if (op == 7 || op == 8) {
        if (!(op == 7 ? g_history.Undo(&g_draft) : g_history.Redo(&g_draft))) return DraftAnswer("");
        WriteDraft();
        return DraftAnswer("");
    }
    Draft before = g_draft;
    bool changed = true;
    switch (op) {
        case 0: changed = SetDraftField(&g_draft, where, key, text, index); break;
        case 1: changed = AddDraftQuestion(&g_draft, size_t(where > 0 ? where : 1)); break;
        case 2: changed = where > 0 && RemoveDraftQuestion(&g_draft, size_t(where)); break;
        case 3: changed = where > 0 && index > 0 && MoveDraftQuestion(&g_draft, size_t(where), size_t(index)); break;
        case 4: SetDraftWords(&g_draft, text); break;
        case 5: ReseedDraft(&g_draft); break;
        case 6: {
            std::vector<std::string> names;
            for (std::string_view rest = text; !rest.empty();) {
                const size_t end = rest.find('\n');
                names.emplace_back(rest.substr(0, end));
                rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            }
            said = AddDraftPictures(&g_draft, names);
            changed = said.empty();
            break;
        }
        default: changed = false;
    }
    if (changed) {
        // The keystrokes in one field are one change.
        g_history.Before(before, op == 0 ? std::to_string(where) + ":" + key + ":" + std::to_string(index) : "");
        WriteDraft();
    }
    return DraftAnswer(said);
}

// A picture's size standing upright, in its own pixels (the places' unit).
EMSCRIPTEN_KEEPALIVE const char* atelier_picture_size(const char* path) {
    const auto found = g_files.find(path);
    if (found == g_files.end()) return quizpack::Answer({"{\"ok\":0}", {}});
    const quizpack::PictureInfo info = quizpack::ReadPictureInfo(found->second);
    return quizpack::Answer({"{\"ok\":" + std::string(info.width > 0 ? "1" : "0") + ",\"width\":" +
                                 std::to_string(info.UprightWidth()) + ",\"height\":" +
                                 std::to_string(info.UprightHeight()) + "}",
                             {}});
}

// A file of the quiz taken out (a picture removed from the form).
EMSCRIPTEN_KEEPALIVE void atelier_forget_file(const char* path) {
    g_files.erase(path);
    g_prepared.reset();
}

// The quiz's source as quiz.toml and the pictures it names, beside it, as a
// ZIP read back before it is handed out (NAME-source.zip).
EMSCRIPTEN_KEEPALIVE const char* atelier_zip() {
    using namespace quizpack;
    const std::string folder = g_sourcePath.find('/') == std::string::npos
                                   ? "" : g_sourcePath.substr(0, g_sourcePath.rfind('/') + 1);
    std::vector<ZipEntry> entries{{"quiz.toml", g_files[g_sourcePath]}};
    std::string missing;
    for (const std::string& picture : DraftPictures(g_draft)) {
        const auto found = g_files.find(folder + picture);
        if (found == g_files.end()) missing += (missing.empty() ? "" : ", ") + picture;
        else entries.push_back({picture, found->second});
    }
    std::vector<uint8_t> zip = ZipFiles(entries);
    std::vector<ZipEntry> back;
    std::string error;
    const bool read = ReadZip(zip, &back, &error) && back.size() == entries.size();
    std::string name = "quiz";
    for (const auto& [key, node] : g_draft.header)
        if (key == "executable" && node.kind == SourceNode::Kind::Text && !node.text.empty()) name = node.text;
    name += "-source.zip";
    const std::string said = !read      ? "relu, le ZIP ne se lit pas : " + error
                             : missing.empty() ? name + " : quiz.toml et " + std::to_string(entries.size() - 1) + " image(s), relu"
                                               : name + " : il y manque " + missing + ", que le quiz nomme sans que l'atelier les ait";
    return Answer({"{\"ok\":" + std::string(read ? "1" : "0") + ",\"name\":" + quiz::JsonString(name, quiz::JsonPlace::kParsed) +
                       ",\"message\":" + quiz::JsonString(said, quiz::JsonPlace::kParsed) + "}",
                   read ? std::move(zip) : std::vector<uint8_t>()});
}

// The files of a ZIP among the files (which it then replaces, the ZIP
// itself too): {"ok", "message", "files": [their paths]}.
EMSCRIPTEN_KEEPALIVE const char* atelier_open_zip(const char* path) {
    using namespace quizpack;
    std::vector<ZipEntry> entries;
    std::string error;
    const auto found = g_files.find(path);
    if (found == g_files.end() || !ReadZip(found->second, &entries, &error))
        return Answer({"{\"ok\":0,\"message\":" +
                           quiz::JsonString(std::string(path) + " : " + (error.empty() ? "absent" : error), quiz::JsonPlace::kParsed) + "}",
                       {}});
    g_files.clear();
    g_prepared.reset();
    std::string list = "[";
    for (ZipEntry& entry : entries) {
        list += (list.size() > 1 ? "," : "") + quiz::JsonString(entry.path, quiz::JsonPlace::kParsed);
        g_files[entry.path] = std::move(entry.bytes);
    }
    return Answer({"{\"ok\":1,\"message\":\"\",\"files\":" + list + "]}", {}});
}

// A file among the files, as the bytes made (for the page to keep or show).
EMSCRIPTEN_KEEPALIVE const char* atelier_read_file(const char* path) {
    const auto found = g_files.find(path);
    if (found == g_files.end()) return quizpack::Answer({"{\"ok\":0}", {}});
    return quizpack::Answer({"{\"ok\":1}", found->second});
}

}  // extern "C"
