#include "write/web_page.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

#include "embedded.h"
#include "grid/grid_layout.h"
#include "grid/quiz_tables.h"
#include "make/make_resources.h"
#include "model/package.h"
#include "model/quiz_state.h"
#include "pictures/picture_info.h"
#include "text/french.h"
#include "text/text.h"
#include "web/json_string.h"

// The page's own files, placed inside quizpack by the build.
QUIZPACK_EMBED(PageHtml, QUIZ_PAGE_HTML)
QUIZPACK_EMBED(PageCss, QUIZ_PAGE_CSS)
QUIZPACK_EMBED(PageScript, QUIZ_PAGE_JS)

namespace quizpack {

namespace fs = std::filesystem;

namespace {
const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}  // namespace

std::string Base64(const std::vector<uint8_t>& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        uint32_t n = uint32_t(bytes[i]) << 16;
        if (left > 1) n |= uint32_t(bytes[i + 1]) << 8;
        if (left > 2) n |= bytes[i + 2];
        out += kBase64[(n >> 18) & 63];
        out += kBase64[(n >> 12) & 63];
        out += left > 1 ? kBase64[(n >> 6) & 63] : '=';
        out += left > 2 ? kBase64[n & 63] : '=';
    }
    return out;
}

bool FromBase64(const std::string& text, std::vector<uint8_t>* out) {
    out->clear();
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        const char* at = std::strchr(kBase64, c);
        if (!at || !c) return false;
        bits = bits << 6 | uint32_t(at - kBase64);
        if ((count += 6) >= 8) {
            count -= 8;
            out->push_back(uint8_t(bits >> count));
        }
    }
    return true;
}

namespace {

const Resource* Find(const std::vector<Resource>& resources, const ResourceKey& type, int id) {
    for (const Resource& r : resources)
        if (r.type == type && r.name == ResourceId(uint16_t(id))) return &r;
    return nullptr;
}

const Resource* Picture(const std::vector<Resource>& resources, int id) {
    const Resource* png = Find(resources, ResourceId(kRtRcdata), id);
    return png ? png : Find(resources, ResourceName("IMG"), id);
}

std::string DataUri(const std::vector<uint8_t>& bytes) {
    const char* kinds[] = {"", "gif", "jpeg", "bmp", "png"};
    return std::string("data:image/") + kinds[int(ReadPictureInfo(bytes).format)] + ";base64," + Base64(bytes);
}

// A JSON string of UTF-8 text, safe inside a <script> element.
std::string Json(const std::string& utf8) { return quiz::JsonString(utf8, quiz::JsonPlace::kInScript); }

std::string Html(const std::string& utf8) {
    std::string out;
    for (char c : utf8) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

// The page's template with each {{MARK}} replaced, in one pass: what goes in
// (an author's title, say) is never searched for marks itself.
std::string Filled(const std::string& page, const std::map<std::string, std::string>& values) {
    std::string out;
    size_t at = 0;
    for (size_t open = page.find("{{"); open != std::string::npos; open = page.find("{{", at)) {
        const size_t close = page.find("}}", open);
        if (close == std::string::npos) break;
        const auto value = values.find(page.substr(open + 2, close - open - 2));
        out.append(page, at, open - at);
        out += value == values.end() ? page.substr(open, close + 2 - open) : value->second;
        at = close + 2;
    }
    return out.append(page, at, std::string::npos);
}

// The quiz's data for the page: records, tables, names; and apart, the
// overlays, which only a reveal needs (the page reads them after its first
// field is ready). The puzzle goes into the page's style, once for every
// question.
bool PageData(const QuizDefinition& quiz, const std::vector<Resource>& resources, std::string* json,
              std::string* marks, std::string* error) {
    const Resource* records[3] = {Find(resources, ResourceName("PATCH"), quiz::kBuiltInRecordResourceId),
                                  Find(resources, ResourceName("PATCH"), 104), Find(resources, ResourceName("PATCH"), 105)};
    const Resource* tables[2] = {Find(resources, ResourceName(quiz::kTableResourceType), quiz::kLetterCountTableId),
                                 Find(resources, ResourceName(quiz::kTableResourceType), quiz::kAnswerPlaceTableId)};
    const Resource* puzzle = Picture(resources, kPuzzleId);
    if (!records[0] || !records[1] || !records[2] || !tables[0] || !tables[1] || !puzzle) {
        *error = "les ressources du quiz sont incomplètes";
        return false;
    }
    const PictureInfo info = ReadPictureInfo(puzzle->data);
    *json = "{\"exe\":" + Json(quiz.executable) + ",\"key\":" + Json(WebStorageKey(quiz.executable)) +
            ",\"records\":[" + Json(Base64(records[0]->data)) + "," + Json(Base64(records[1]->data)) + "," +
            Json(Base64(records[2]->data)) + "],\"tables\":[" + Json(Base64(tables[0]->data)) + "," +
            Json(Base64(tables[1]->data)) + "],\"puzzle\":{\"width\":" + std::to_string(info.width) +
            ",\"height\":" + std::to_string(info.height) + "}}";
    *marks = "[";
    for (size_t k = 1; k <= quiz.questions.size(); ++k) {
        const Resource* overlay = Picture(resources, kOverlayBase + int(k));
        *marks += std::string(k > 1 ? "," : "") + (overlay ? Json(DataUri(overlay->data)) : "null");
    }
    *marks += "]";
    return true;
}

// A fragment of the template: the text between {{begin NAME}} and
// {{end NAME}}, cut out of `from` and left there as the mark {{NAME}}, which
// the writer fills with the fragment filled once per thing it shows (none,
// one or many). A line's end inside it and the indentation after it are left
// out: the template lays a block out on lines, the page gets it whole.
bool CutFragment(std::string* from, const std::string& name, std::string* fragment, std::string* error) {
    const std::string begin = "{{begin " + name + "}}", end = "{{end " + name + "}}";
    const size_t open = from->find(begin);
    const size_t close = open == std::string::npos ? open : from->find(end, open);
    if (close == std::string::npos) {
        *error = "le modèle page.html n'a pas de bloc " + begin + " … " + end;
        return false;
    }
    fragment->clear();
    for (size_t at = open + begin.size(); at < close; ++at) {
        const bool lineEnd = (*from)[at] == '\n' || (*from)[at] == '\r';
        if (lineEnd)
            while (at + 1 < close && std::strchr("\r\n \t", (*from)[at + 1])) ++at;
        else
            *fragment += (*from)[at];
    }
    from->replace(open, close + end.size() - open, "{{" + name + "}}");
    return true;
}

// A question's block and the fragments inside it, cut from the template:
// what is left of the template carries the mark {{QUESTION}}.
struct QuestionTemplate {
    std::string page, question, mark, markPicture, field, captioned, uncaptioned;
};

bool CutQuestion(const std::string& html, QuestionTemplate* t, std::string* error) {
    t->page = html;
    return CutFragment(&t->page, "QUESTION", &t->question, error) && CutFragment(&t->question, "MARK", &t->mark, error) &&
           CutFragment(&t->mark, "MARK_PICTURE", &t->markPicture, error) &&
           CutFragment(&t->question, "FIELD", &t->field, error) &&
           CutFragment(&t->field, "CAPTIONED", &t->captioned, error) &&
           CutFragment(&t->field, "UNCAPTIONED", &t->uncaptioned, error);
}

// The questions' blocks, filled here once: the page's script fills them from
// the core (counts, verdicts, hints, marks) and never builds them, so that
// the fields are there as soon as the HTML is read. `marked`: each mark
// carries its picture (the floor, which has no script to give it one).
std::string PageGrid(const QuizDefinition& quiz, const std::vector<Resource>& resources, const QuestionTemplate& t,
                     bool marked) {
    std::string grid;
    const size_t perQuestion = size_t(quiz.package.answersPerQuestion);
    const std::string limit = std::to_string(quiz::kAnswerFieldLimit);
    // The player builds rows for a picture quiz only: another kind shows none.
    const size_t questions = quiz.package.quizKind == 1 ? quiz.questions.size() : 0;
    for (size_t k = 1; k <= questions; ++k) {
        const std::string n = std::to_string(k);
        std::string mark, fields;
        if (const Resource* overlay = Picture(resources, kOverlayBase + int(k)))
            mark = Filled(t.mark, {{"N", n}, {"MARK_PICTURE", marked ? Filled(t.markPicture, {{"PICTURE", DataUri(overlay->data)}})
                                                                     : std::string()}});
        for (size_t j = 1; j <= perQuestion; ++j) {
            // Two answers: each field's caption ("Ville", "Pays") before it, as the grid writes them.
            const std::string caption = perQuestion == 2 ? Html(Cp1252ToUtf8(j == 1 ? quiz.package.answerCaption1
                                                                                     : quiz.package.answerCaption2))
                                                         : std::string();
            const std::map<std::string, std::string> named = {{"N", n}, {"CAPTION", caption}};
            fields += Filled(t.field, {{"A", std::to_string(perQuestion * (k - 1) + j)},
                                       {"NUMBER", j == 1 ? n + "." : std::string()},
                                       {"ANSWER_LIMIT", limit},
                                       {"CAPTIONED", caption.empty() ? std::string() : Filled(t.captioned, named)},
                                       {"UNCAPTIONED", caption.empty() ? Filled(t.uncaptioned, named) : std::string()}});
        }
        grid += Filled(t.question, {{"N", n}, {"MARK", mark}, {"FIELD", fields}});
    }
    return grid;
}

// The page without any of its scripts.
std::string WithoutScripts(std::string page) {
    for (size_t at = page.find("<script"); at != std::string::npos; at = page.find("<script", at)) {
        const size_t end = page.find("</script>", at);
        page.erase(at, (end == std::string::npos ? page.size() : end + 9) - at);
    }
    return page;
}

// The pictures' bytes in a part of the page: each data address's base64,
// up to its closing quote.
bool PicturesIn(const std::string& html, size_t from, size_t to, std::vector<std::vector<uint8_t>>* pictures) {
    for (size_t at = html.find(";base64,", from); at < to; at = html.find(";base64,", at + 1)) {
        const size_t close = html.find('"', at);
        pictures->emplace_back();
        if (close == std::string::npos || !FromBase64(html.substr(at + 8, close - at - 8), &pictures->back())) return false;
    }
    return true;
}

// What a page read back holds is the resources' very bytes: the records, the
// tables, the puzzle, then each question's overlay in order, and nothing more.
bool CarriesTheQuiz(const std::vector<std::vector<uint8_t>>& records, const std::vector<std::vector<uint8_t>>& tables,
                    const std::vector<std::vector<uint8_t>>& pictures, const std::vector<Resource>& resources) {
    const ResourceKey patch = ResourceName("PATCH"), table = ResourceName(quiz::kTableResourceType);
    const Resource* wanted[] = {Find(resources, patch, quiz::kBuiltInRecordResourceId), Find(resources, patch, 104),
                                Find(resources, patch, 105), Find(resources, table, quiz::kLetterCountTableId),
                                Find(resources, table, quiz::kAnswerPlaceTableId)};
    const std::vector<uint8_t>* got[] = {&records[0], &records[1], &records[2], &tables[0], &tables[1]};
    for (size_t i = 0; i < 5; ++i)
        if (!wanted[i] || wanted[i]->data != *got[i]) return false;
    std::vector<const Resource*> shown = {Picture(resources, kPuzzleId)};
    for (int k = 1; k <= quiz::kMaxQuestions; ++k)
        if (const Resource* overlay = Picture(resources, kOverlayBase + k)) shown.push_back(overlay);
    if (pictures.size() != shown.size()) return false;
    for (size_t i = 0; i < shown.size(); ++i)
        if (!shown[i] || shown[i]->data != pictures[i]) return false;
    return true;
}

}  // namespace

std::string WebStorageKey(const std::string& executable) { return "quizpack:" + executable; }

PageFiles BuiltInPageFiles() { return {std::string(PageHtml()), std::string(PageCss()), std::string(PageScript())}; }

bool ReadPageFiles(const std::string& folder, PageFiles* page, std::string* error) {
    const std::pair<const char*, std::string*> files[] = {
        {"page.html", &page->html}, {"page.css", &page->style}, {"page.js", &page->script}};
    for (const auto& [name, to] : files) {
        const std::string path = Utf8OfPath(PathOfUtf8(folder) / name);
        std::vector<uint8_t> bytes;
        errno = 0;
        if (!ReadFileBytes(path, &bytes)) {
            *error = "impossible de lire " + path + " (" + SystemErrorInFrench(errno) + ")";
            return false;
        }
        to->assign(bytes.begin(), bytes.end());
    }
    return true;
}

bool MakeWebPage(const QuizDefinition& quiz, const std::vector<Resource>& resources, const WebCore& core,
                 bool floor, std::string* html, std::string* error) {
    return MakeWebPage(quiz, resources, core, BuiltInPageFiles(), floor, html, error);
}

bool MakeWebPage(const QuizDefinition& quiz, const std::vector<Resource>& resources, const WebCore& core,
                 const PageFiles& page, bool floor, std::string* html, std::string* error) {
    std::string data, marks;
    if (!PageData(quiz, resources, &data, &marks, error)) return false;
    if (core.script.find("</script") != std::string::npos) {
        *error = "le cœur du jeu contient « </script » et ne peut pas aller dans la page";
        return false;
    }
    QuestionTemplate blocks;
    if (!CutQuestion(page.html, &blocks, error)) return false;
    const Resource* puzzle = Picture(resources, kPuzzleId);
    const PictureInfo info = ReadPictureInfo(puzzle->data);
    std::map<std::string, std::string> values = {
        {"TITLE", Html(Cp1252ToUtf8(quiz.package.title))},
        {"STYLE", page.style},
        {"PUZZLE", ".puzzle{background-image:url(\"" + DataUri(puzzle->data) + "\")}"},
        {"SIZE", "--w:" + std::to_string(info.width) + ";--h:" + std::to_string(info.height)},
        {"QUESTION", PageGrid(quiz, resources, blocks, floor)}};
    if (floor) {
        *html = WithoutScripts(Filled(blocks.page, values));
        return true;
    }
    values["CORE_WASM"] = Base64(core.wasm);
    values["CORE"] = core.script;
    values["DATA"] = data;
    values["MARKS"] = marks;
    values["SCRIPT"] = page.script;
    *html = Filled(blocks.page, values);
    return true;
}

bool ReadWebPage(const std::string& html, std::vector<std::vector<uint8_t>>* records,
                 std::vector<std::vector<uint8_t>>* tables, std::vector<std::vector<uint8_t>>* pictures) {
    records->clear(), tables->clear(), pictures->clear();
    // The quiz's data, apart from the core's own.
    const size_t data = html.find("id=\"quiz-data\"");
    if (data == std::string::npos) return false;
    // Every base64 text of the data, in order: three records, two tables.
    auto list = [&](const std::string& key, std::vector<std::vector<uint8_t>>* out) {
        size_t at = html.find("\"" + key + "\":[", data);
        if (at == std::string::npos) return false;
        at += key.size() + 4;
        const size_t end = html.find(']', at);
        while (at < end) {
            const size_t open = html.find('"', at), close = html.find('"', open + 1);
            if (open >= end || close == std::string::npos) break;
            out->emplace_back();
            if (!FromBase64(html.substr(open + 1, close - open - 1), &out->back())) return false;
            at = close + 1;
        }
        return true;
    };
    if (!list("records", records) || !list("tables", tables)) return false;
    // The puzzle in the page's style, then the overlays.
    const size_t style = html.find("id=\"puzzle-picture\""), marks = html.find("id=\"quiz-marks\"");
    if (style == std::string::npos || !PicturesIn(html, style, html.find("</style>", style), pictures) ||
        pictures->size() != 1 || marks == std::string::npos)
        return false;
    return PicturesIn(html, marks, html.find("</script>", marks), pictures) && records->size() == 3 && tables->size() == 2;
}

bool PageCarriesTheQuiz(const std::string& html, const std::vector<Resource>& resources) {
    std::vector<std::vector<uint8_t>> records, tables, pictures;
    return ReadWebPage(html, &records, &tables, &pictures) && CarriesTheQuiz(records, tables, pictures, resources);
}

bool WriteWebPage(const std::string& path, const std::string& html, const std::vector<Resource>& resources,
                  std::string* error) {
    const fs::path target = PathOfUtf8(path), partial = fs::path(target) += ".quizpack-partiel";
    std::error_code ec;
    errno = 0;
    if (!WriteFileBytes(Utf8OfPath(partial), reinterpret_cast<const uint8_t*>(html.data()), html.size())) {
        *error = "impossible d'écrire " + Utf8OfPath(partial) + " (" + SystemErrorInFrench(errno) + ")";
        fs::remove(partial, ec);
        return false;
    }
    std::vector<uint8_t> back;
    if (!ReadFileBytes(Utf8OfPath(partial), &back) || !PageCarriesTheQuiz(std::string(back.begin(), back.end()), resources)) {
        *error = "relu, " + Utf8OfPath(partial) + " ne porte pas les octets du quiz";
        fs::remove(partial, ec);
        return false;
    }
    fs::rename(partial, target, ec);
    if (!ec) return true;
    *error = "impossible de remplacer " + path + " (" + SystemErrorInFrench(ec.value()) + ")";
    fs::remove(partial, ec);
    return false;
}

}  // namespace quizpack
