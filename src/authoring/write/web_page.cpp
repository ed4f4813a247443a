#include "write/web_page.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "embedded.h"
#include "grid/quiz_tables.h"
#include "make/make_resources.h"
#include "model/package.h"
#include "pictures/picture_info.h"
#include "text/french.h"
#include "text/text.h"

// The page's own files, placed inside quizpack by the build.
QUIZPACK_EMBED(PageHtml, QUIZ_PAGE_HTML)
QUIZPACK_EMBED(PageCss, QUIZ_PAGE_CSS)
QUIZPACK_EMBED(PageScript, QUIZ_PAGE_JS)

namespace quizpack {

namespace fs = std::filesystem;

namespace {

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

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
std::string Json(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (c == '<') out += "\\u003c";
        else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else out += c;
    }
    return out + "\"";
}

std::string Html(const std::string& utf8) {
    std::string out;
    for (char c : utf8) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

std::string Replaced(std::string text, const std::string& mark, const std::string& by) {
    const size_t at = text.find(mark);
    return at == std::string::npos ? text : text.replace(at, mark.size(), by);
}

// The quiz's data for the page: records, tables, pictures, names.
bool PageData(const QuizDefinition& quiz, const std::vector<Resource>& resources, std::string* json, std::string* error) {
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
    *json = "{\"exe\":" + Json(quiz.executable) + ",\"key\":" + Json(WebStorageKey(quiz.executable, records[1]->data)) +
            ",\"records\":[" + Json(Base64(records[0]->data)) + "," + Json(Base64(records[1]->data)) + "," +
            Json(Base64(records[2]->data)) + "],\"tables\":[" + Json(Base64(tables[0]->data)) + "," +
            Json(Base64(tables[1]->data)) + "],\"puzzle\":{\"uri\":" + Json(DataUri(puzzle->data)) +
            ",\"width\":" + std::to_string(info.width) + ",\"height\":" + std::to_string(info.height) + "},\"overlays\":[";
    for (size_t k = 1; k <= quiz.questions.size(); ++k) {
        const Resource* overlay = Picture(resources, kOverlayBase + int(k));
        *json += std::string(k > 1 ? "," : "") + (overlay ? Json(DataUri(overlay->data)) : "null");
    }
    *json += "]}";
    return true;
}

// The floor of the page's speed: the same pictures and fields, ready as the
// HTML is parsed, no script.
std::string FloorGrid(const QuizDefinition& quiz, const std::string& puzzleUri) {
    std::string grid;
    const size_t perQuestion = size_t(quiz.package.answersPerQuestion);
    for (size_t k = 1; k <= quiz.questions.size(); ++k) {
        grid += "<section class=\"question\" id=\"question-" + std::to_string(k) + "\"><div class=\"picture\"><img src=\"" +
                puzzleUri + "\" alt=\"\"></div><div class=\"answers\">";
        for (size_t j = 1; j <= perQuestion; ++j) {
            const std::string a = std::to_string(perQuestion * (k - 1) + j);
            grid += "<label for=\"answer-" + a + "\">" + std::to_string(k) + ".</label><input id=\"answer-" + a +
                    "\"><output id=\"verdict-" + a + "\">?</output>";
        }
        grid += "</div></section>";
    }
    return grid;
}

}  // namespace

std::string WebStorageKey(const std::string& executable, const std::vector<uint8_t>& record104) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (uint8_t b : record104) hash = (hash ^ b) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    return "quizpack:" + executable + ":" + hex;
}

bool MakeWebPage(const QuizDefinition& quiz, const std::vector<Resource>& resources, const std::string& core,
                 bool floor, std::string* html, std::string* error) {
    std::string data;
    if (!PageData(quiz, resources, &data, error)) return false;
    if (core.find("</script") != std::string::npos) {
        *error = "le cœur du jeu contient « </script » et ne peut pas aller dans la page";
        return false;
    }
    std::string page = Replaced(std::string(PageHtml()), "{{TITLE}}", Html(Cp1252ToUtf8(quiz.package.title)));
    page = Replaced(page, "{{STYLE}}", std::string(PageCss()));
    if (floor) {
        const Resource* puzzle = Picture(resources, kPuzzleId);
        page = Replaced(page, "<main id=\"grid\" aria-label=\"Les questions\"></main>",
                        "<main id=\"grid\">" + FloorGrid(quiz, DataUri(puzzle->data)) + "</main>");
        page = page.substr(0, page.find("<script type=\"application/json\"")) + "</body>\n</html>\n";
    } else {
        page = Replaced(page, "{{DATA}}", data);
        page = Replaced(page, "{{CORE}}", core);
        page = Replaced(page, "{{SCRIPT}}", std::string(PageScript()));
    }
    *html = std::move(page);
    return true;
}

bool ReadWebPage(const std::string& html, std::vector<std::vector<uint8_t>>* records,
                 std::vector<std::vector<uint8_t>>* tables, std::vector<std::vector<uint8_t>>* pictures) {
    records->clear(), tables->clear(), pictures->clear();
    // Every base64 text of the data, in order: three records, two tables.
    auto list = [&](const std::string& key, std::vector<std::vector<uint8_t>>* out) {
        size_t at = html.find("\"" + key + "\":[");
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
    for (size_t at = html.find(";base64,"); at != std::string::npos; at = html.find(";base64,", at + 1)) {
        const size_t close = html.find('"', at);
        pictures->emplace_back();
        if (close == std::string::npos || !FromBase64(html.substr(at + 8, close - at - 8), &pictures->back())) return false;
    }
    return records->size() == 3 && tables->size() == 2;
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
    std::vector<std::vector<uint8_t>> records, tables, pictures;
    const bool read = ReadFileBytes(Utf8OfPath(partial), &back) &&
                      ReadWebPage(std::string(back.begin(), back.end()), &records, &tables, &pictures);
    const Resource* puzzle = Picture(resources, kPuzzleId);
    const bool same = read && records[1] == Find(resources, ResourceName("PATCH"), 104)->data &&
                      records[2] == Find(resources, ResourceName("PATCH"), 105)->data &&
                      records[0] == Find(resources, ResourceName("PATCH"), quiz::kBuiltInRecordResourceId)->data &&
                      !pictures.empty() && puzzle && pictures[0] == puzzle->data;
    if (!same) {
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
