#include "write/atelier_page.h"

#include <string_view>

#include "embedded.h"
#include "write/web_page.h"

// The atelier's template and script (named by the build: QUIZ_ATELIER_HTML,
// QUIZ_ATELIER_JS).
QUIZPACK_EMBED(AtelierHtml, QUIZ_ATELIER_HTML)
QUIZPACK_EMBED(AtelierScript, QUIZ_ATELIER_JS)

namespace quizpack {

namespace {

// The template's marks, each filled once; what fills them is never searched
// for marks.
bool Fill(std::string_view page, const std::vector<std::pair<std::string_view, std::string>>& marks, std::string* html) {
    html->clear();
    size_t at = 0;
    for (const auto& [mark, text] : marks) {
        const size_t found = page.find(mark, at);
        if (found == std::string_view::npos) return false;
        html->append(page.substr(at, found - at)).append(text);
        at = found + mark.size();
    }
    html->append(page.substr(at));
    return true;
}

}  // namespace

bool MakeAtelierPage(const AtelierLibrary& library, const CarriedList& carried, std::string* html, std::string* error) {
    for (const std::string_view script : {std::string_view(library.script), AtelierScript()})
        if (script.find("</script") != std::string_view::npos) {
            *error = "un script de l'atelier contient « </script » et ne peut pas aller dans la page";
            return false;
        }
    std::string list = "{";
    for (const auto& [name, bytes] : carried) list += (list.size() > 1 ? ",\"" : "\"") + name + "\":\"" + Base64(bytes) + "\"";
    list += "}";
    if (!Fill(AtelierHtml(), {{"{{LIBRARY_WASM}}", Base64(library.wasm)}, {"{{CARRIED}}", list},
                              {"{{LIBRARY}}", library.script}, {"{{SCRIPT}}", std::string(AtelierScript())}},
              html)) {
        *error = "le modèle de l'atelier n'a pas toutes ses marques";
        return false;
    }
    return true;
}

bool ReadAtelierPage(const std::string& html, std::vector<uint8_t>* wasm, CarriedList* carried) {
    const std::string wasmMark = "id=\"library-wasm\">", carriedMark = "id=\"carried\">{";
    const size_t w = html.find(wasmMark), c = html.find(carriedMark);
    if (w == std::string::npos || c == std::string::npos) return false;
    const size_t wasmAt = w + wasmMark.size();
    if (!FromBase64(html.substr(wasmAt, html.find('<', wasmAt) - wasmAt), wasm) || wasm->empty()) return false;
    carried->clear();
    const size_t end = html.find('}', c);
    // "NAME":"BASE64" pairs, comma between.
    for (size_t at = c + carriedMark.size(); at < end;) {
        const size_t nameEnd = html.find('"', at + 1), valueAt = nameEnd + 3, valueEnd = html.find('"', valueAt);
        if (html[at] != '"' || nameEnd == std::string::npos || valueEnd == std::string::npos || valueEnd > end) return false;
        std::vector<uint8_t> bytes;
        if (!FromBase64(html.substr(valueAt, valueEnd - valueAt), &bytes)) return false;
        carried->emplace_back(html.substr(at + 1, nameEnd - at - 1), std::move(bytes));
        at = valueEnd + 1 + (html[valueEnd + 1] == ',');
    }
    return true;
}

}  // namespace quizpack
