// `quizpack atelier`: the atelier's page, one HTML file that makes quizzes
// in a browser with the authors' library in WebAssembly inside it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quizpack {

// The library as emscripten builds it.
struct AtelierLibrary {
    std::string script;
    std::vector<uint8_t> wasm;
};

// Each file the page hands over to the library as it starts, by the name the
// library knows it by (StubFile, CoreFile, CoreWasmFile, PageHtml, PageCss,
// PageScript, FontFile).
using CarriedList = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// The page, from the template quizpack carries. False with a French `error`
// when a script would end the page's own early.
bool MakeAtelierPage(const AtelierLibrary& library, const CarriedList& carried, std::string* html, std::string* error);

// What the page carries, found again in its bytes (library-wasm and carried
// decoded): the read-back of a written page.
bool ReadAtelierPage(const std::string& html, std::vector<uint8_t>* wasm, CarriedList* carried);

}  // namespace quizpack
