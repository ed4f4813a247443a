// What quizpack.exe carries inside it: the player stub and the core of the
// web page (the files are named by the build: QUIZ_STUB_PATH, QUIZ_CORE_PATH).
#include "embedded.h"
#include "windows_edge.h"

QUIZPACK_EMBED(StubFile, QUIZ_STUB_PATH)
QUIZPACK_EMBED(CoreFile, QUIZ_CORE_PATH)

namespace quizpack {

std::vector<uint8_t> EmbeddedStub() { return {StubFile().begin(), StubFile().end()}; }
std::string EmbeddedWebCore() { return std::string(CoreFile()); }

}  // namespace quizpack
