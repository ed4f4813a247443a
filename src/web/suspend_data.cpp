#include "web/suspend_data.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "answers/answer_rules.h"
#include "grid/grid_layout.h"
#include "model/quiz_state.h"
#include "model/stored_form.h"

namespace quiz {

namespace {

const char kStart[] = "A1";
constexpr size_t kHeader = 2 + 8;
const char kCut[] = "|\\.";
// The case of a right answer, as the field's code letter gives it.
const char kCases[] = "UlCT";

uint8_t LowerByte(uint8_t b) {
    return (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7) ? uint8_t(b + 0x20) : b;
}

// The accepted answer of field a (from 1) as the player would type it in
// capitals: its stored form turned back, byte by byte.
std::string AcceptedAnswer(const QuizState& state, int a) {
    static const std::vector<uint8_t> raw = [] {
        std::vector<uint8_t> table(256);
        for (int b = 0; b < 256; ++b) table[EncodeAnswerByte(uint8_t(b))] = uint8_t(b);
        return table;
    }();
    const FieldAnswer place = FieldAnswerOf(kAnswerFieldBase + a, state.answersPerQuestion);
    const QuestionEntry* entry = QuestionAt(&state, place.question);
    std::string text = entry ? (place.place == 1 ? entry->answer1 : entry->answer2) : "";
    for (char& c : text) c = char(raw[uint8_t(c)]);
    return text;
}

// The accepted answer in the case of `code` (one of kCases).
std::string InCase(const std::string& capitals, char code) {
    std::string text = capitals;
    bool wordStart = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool capital = code == 'U' || (code == 'C' && i == 0) || (code == 'T' && wordStart);
        if (!capital) text[i] = char(LowerByte(uint8_t(text[i])));
        wordStart = text[i] == ' ' || text[i] == '-' || text[i] == '\'';
    }
    return text;
}

std::string FieldCode(const WebGame& game, int a) {
    const WebField& field = game.fields[size_t(a - 1)];
    if (field.hidden || field.text.empty()) return "";
    const std::string capitals = AcceptedAnswer(game.state, a);
    if (!capitals.empty())
        for (const char* code = kCases; *code; ++code)
            if (InCase(capitals, *code) == field.text) return std::string("\\") + *code;
    std::string out;
    for (char c : field.text) {
        if (c == '\\' || c == '|') out += '\\';
        out += c;
    }
    return out;
}

// The fields of a kept text after its start, each as the field will hold
// it; `cut`: it ends with the cut mark. False for anything else.
bool ReadFields(const WebGame& game, const std::string& text, bool sameQuiz, std::vector<std::string>* fields,
                bool* cut) {
    *cut = false;
    for (size_t at = kHeader; at < text.size();) {
        if (text[at] != '|' || *cut) return false;
        std::string field;
        for (++at; at < text.size() && text[at] != '|'; ++at) {
            if (text[at] != '\\') {
                field += text[at];
                continue;
            }
            if (++at == text.size()) return false;
            const char code = text[at];
            if (code == '\\' || code == '|') {
                field += code;
            } else if (code == '.' && field.empty() && at + 1 == text.size()) {
                *cut = true;
            } else if (code && std::strchr(kCases, code) && field.empty() && (at + 1 == text.size() || text[at + 1] == '|')) {
                // Against another quiz the answer it names is not this one's.
                const int a = int(fields->size()) + 1;
                if (sameQuiz && a <= int(game.fields.size())) field = InCase(AcceptedAnswer(game.state, a), code);
            } else {
                return false;
            }
        }
        if (!*cut) fields->push_back(field.substr(0, kAnswerFieldLimit));
    }
    return true;
}

}  // namespace

SuspendData EncodeSuspendData(const WebGame& game, size_t limit) {
    limit = std::max(limit, kHeader + std::strlen(kCut));
    SuspendData out;
    std::vector<std::string> codes;
    size_t last = 0;
    for (int a = 1; a <= int(game.fields.size()); ++a) {
        codes.push_back(FieldCode(game, a));
        if (!codes.back().empty()) last = size_t(a);
    }
    out.text = kStart + game.fingerprint;
    for (size_t i = 0; i < last; ++i) {
        const size_t room = i + 1 == last ? 0 : std::strlen(kCut);
        if (out.text.size() + 1 + codes[i].size() + room > limit) {
            // What does not fit stays in the browser: the fields kept so far, then the mark.
            out.text += kCut;
            out.whole = false;
            break;
        }
        out.text += "|" + codes[i];
        out.fieldsKept = i + 1;
    }
    if (out.whole) {
        out.fieldsKept = game.fields.size();
        return out;
    }
    char said[200];
    std::snprintf(said, sizeof said,
                  "La plateforme ne garde que %zu caract\xE8res de r\xE9ponses : celles des champs %zu \xE0 %zu "
                  "restent dans ce navigateur seulement.",
                  limit, out.fieldsKept + 1, game.fields.size());
    out.message = said;
    return out;
}

bool RestoreSuspendData(WebGame* game, const std::string& text) {
    std::vector<std::string> fields;
    bool cut = false;
    const bool sameQuiz = text.size() >= kHeader && text.compare(kHeader - 8, 8, game->fingerprint) == 0;
    if (text.size() < kHeader || text.compare(0, 2, kStart) != 0 || !ReadFields(*game, text, sameQuiz, &fields, &cut)) {
        game->notice = "Les r\xE9ponses que la plateforme a gard\xE9" "es ne se lisent pas : ce sont celles de ce "
                       "navigateur.";
        return false;
    }
    std::string progress;
    for (size_t i = 0; i < game->fields.size(); ++i)
        progress += (i < fields.size() ? fields[i] : cut ? game->fields[i].text : std::string()) + "\r\n";
    RestoreProgress(game, reinterpret_cast<const uint8_t*>(progress.data()), progress.size());
    NoteQuizChange(game, text.substr(kHeader - 8, 8));
    if (cut)
        game->notice += std::string(game->notice.empty() ? "" : " ") + "La plateforme a gard\xE9 les r\xE9ponses des " +
                        std::to_string(fields.size()) + " premiers champs ; les autres sont celles de ce navigateur.";
    return true;
}

}  // namespace quiz
