// What quizpack.exe carries inside it: the player stub, the core of the web
// page and the authors' library for the atelier (the files are named by the
// build: QUIZ_STUB_PATH, QUIZ_CORE_PATH, QUIZ_CORE_WASM_PATH,
// QUIZ_ATELIER_LIB_PATH, QUIZ_ATELIER_LIB_WASM_PATH).
#include "embedded.h"
#include "windows_edge.h"

QUIZPACK_EMBED(StubFile, QUIZ_STUB_PATH)
QUIZPACK_EMBED(CoreFile, QUIZ_CORE_PATH)
QUIZPACK_EMBED(CoreWasmFile, QUIZ_CORE_WASM_PATH)
QUIZPACK_EMBED(AtelierLibFile, QUIZ_ATELIER_LIB_PATH)
QUIZPACK_EMBED(AtelierLibWasmFile, QUIZ_ATELIER_LIB_WASM_PATH)

namespace quizpack {

std::vector<uint8_t> EmbeddedStub() { return {StubFile().begin(), StubFile().end()}; }
AtelierLibrary EmbeddedAtelierLibrary() {
    return {std::string(AtelierLibFile()), {AtelierLibWasmFile().begin(), AtelierLibWasmFile().end()}};
}
WebCore EmbeddedWebCore() { return {std::string(CoreFile()), {CoreWasmFile().begin(), CoreWasmFile().end()}}; }

}  // namespace quizpack
