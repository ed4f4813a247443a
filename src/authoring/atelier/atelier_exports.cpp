// The authors' library's calls as the atelier's page makes them, in
// WebAssembly. The page hands over what quizpack carries once, then a quiz's
// files; each call answers JSON (UTF-8, ended) and keeps the bytes it made
// until the next call, read with atelier_made.
#include <emscripten/emscripten.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "atelier/library_calls.h"
#include "embedded.h"
#include "pictures/raster_web.h"

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

}  // extern "C"
