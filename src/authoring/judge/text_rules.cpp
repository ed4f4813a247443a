#include "judge/text_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "judge/player_verdict.h"
#include "judge/quiz_definition.h"
#include "model/quiz_state.h"
#include "model/stored_form.h"
#include "text/letters.h"
#include "text/text.h"

namespace quizpack {

namespace {

bool IsCp1252Letter(uint8_t b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == 0x8A || b == 0x8C ||
           b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F ||
           (b >= 0xC0 && b != 0xD7 && b != 0xF7);
}

}  // namespace

int CountLetters(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return IsCp1252Letter(static_cast<uint8_t>(c));
    }));
}

std::string StoredFormOf(std::string text) {
    quiz::TransformAnswerText(text.data());
    return text;
}

void CheckTypable(Problems& problems, int line, const std::string& field, const std::string& answer) {
    if (answer.empty()) {
        problems.Report(line, field, "vide : aucun joueur ne pourrait la taper");
        return;
    }
    if (answer.size() > size_t(quiz::kAnswerFieldLimit))
        problems.Report(line, field,
                      std::to_string(answer.size()) + " octets ; un champ de réponse en prend " +
                          std::to_string(quiz::kAnswerFieldLimit) + " au plus");
    if (std::any_of(answer.begin(), answer.end(),
                    [](char c) { return static_cast<uint8_t>(c) < 0x20; }))
        problems.Report(line, field,
                      "un caractère de contrôle (tabulation, saut de ligne) ne se tape pas");
    if (answer.front() == ' ' || answer.back() == ' ')
        problems.Report(line, field,
                      "commence ou finit par une espace ; une réponse tapée les perd, elle ne "
                      "correspondrait donc jamais");
}

namespace {

// CP1252 letters of both cases: ASCII, the accented block and the four
// pairs CP1252 keeps in 0x80..0x9F.
char OtherCase(char c, bool upper) {
    const uint8_t b = static_cast<uint8_t>(c);
    static const uint8_t kPairs[][2] = {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};
    for (const auto& pair : kPairs)
        if (b == pair[0] || b == pair[1]) return static_cast<char>(upper ? pair[0] : pair[1]);
    if (upper && ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)))
        return static_cast<char>(b - 0x20);
    if (!upper && ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)))
        return static_cast<char>(b + 0x20);
    return c;
}

}  // namespace

void WarnUnfoldedLetters(Problems& problems, int line, const std::string& field, const std::string& answer) {
    struct Letter {
        uint8_t upper, lower;
        const char* spelledUpper;
        const char* spelledLower;
    };
    static const Letter kLetters[] = {{0x8C, 0x9C, "OE", "oe"},
                                      {0x8A, 0x9A, "S", "s"},
                                      {0x8E, 0x9E, "Z", "z"},
                                      {0x9F, 0xFF, "Y", "y"}};
    for (const Letter& letter : kLetters) {
        const size_t at = answer.find_first_of(std::string{char(letter.upper), char(letter.lower)});
        if (at == std::string::npos) continue;
        std::string spelled;
        for (char c : answer) {
            if (static_cast<uint8_t>(c) == letter.upper) spelled += letter.spelledUpper;
            else if (static_cast<uint8_t>(c) == letter.lower) spelled += letter.spelledLower;
            else spelled += c;
        }
        // The whole answer in the other case from the letter's own.
        const bool toUpper = static_cast<uint8_t>(answer[at]) == letter.lower;
        std::string recased = answer;
        for (char& c : recased) c = OtherCase(c, toUpper);
        std::string said;
        for (const std::string& typed : {spelled, recased}) {
            const std::string verdict = PlayerVerdict(answer, typed);
            if (verdict == "BRAVO") continue;
            said += std::string(said.empty() ? "" : ", et ") + "qui tape « " + Cp1252ToUtf8(typed) +
                    " » lit « " + Cp1252ToUtf8(verdict) + " »";
        }
        if (!said.empty())
            problems.Warn(line, field,
                        "« " + Cp1252ToUtf8(std::string(1, answer[at])) +
                            " » ne se tape pas comme une autre lettre : un joueur " + said +
                            " ; seule cette orthographe, dans cette casse, est juste");
    }
}

std::string KeyboardApostrophes(Problems& problems, int line, const std::string& field, std::string answer) {
    bool changed = false;
    for (char& c : answer)
        if (static_cast<uint8_t>(c) == 0x91 || static_cast<uint8_t>(c) == 0x92) {
            c = '\'';
            changed = true;
        }
    if (changed)
        problems.Warn(line, field,
                    "« ’ » et « ‘ » sont enregistrés comme « ' », l'apostrophe que tape un "
                    "clavier : la réponse devient « " + Cp1252ToUtf8(answer) + " »");
    return answer;
}

std::string EscapesInPath(const std::string& path) {
    static const char kEscapes[][2] = {{'\b', 'b'}, {'\t', 't'}, {'\n', 'n'}, {'\f', 'f'}, {'\r', 'r'}};
    std::vector<std::string> seen;
    std::string mended;
    for (char c : path) {
        const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [c](const char* e) { return e[0] == c; });
        if (escape == std::end(kEscapes)) {
            mended += c;
            continue;
        }
        const std::string named = std::string("« \\") + (*escape)[1] + " »";
        if (std::find(seen.begin(), seen.end(), named) == seen.end()) seen.push_back(named);
        mended += std::string("/") + (*escape)[1];
    }
    if (seen.empty()) return "";
    return FirstThreeAndCount(seen) + " dans un chemin : écrivez " + mended;
}

bool PathStaysInFolder(const std::string& path) {
    if (path.empty() || path[0] == '/' || path[0] == '\\') return false;
    // C:x is relative to the current folder of drive C: on Windows, not to the source's.
    if (path.size() >= 2 && path[1] == ':') return false;
    for (size_t start = 0, end; start <= path.size(); start = end + 1) {
        end = std::min(path.find_first_of("/\\", start), path.size());
        if (path.compare(start, end - start, "..") == 0) return false;
    }
    return true;
}

std::string AsciiProgramName(const std::string& utf8) {
    std::string cp1252, ascii;
    Utf8ToCp1252(utf8, &cp1252, nullptr);
    for (char c : cp1252) {
        const uint8_t b = static_cast<uint8_t>(c);
        if ((b >= '0' && b <= '9') || b == '-' || b == '_' || b == ' ') {
            ascii += b == ' ' ? '-' : c;
        } else if (const char* folded = FoldedLetters(b)) {
            const bool lower = (b >= 'a' && b <= 'z') || b >= 0xDF || b == 0x9A || b == 0x9C || b == 0x9E;
            for (const char* f = folded; *f; ++f) ascii += lower ? static_cast<char>(*f + 32) : *f;
        }
    }
    return ascii;
}

double ColourDistance(Rgb a, Rgb b) {
    const double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

std::string ColourText(Rgb c) {
    char text[16];
    std::snprintf(text, sizeof text, "[%d, %d, %d]", c.r, c.g, c.b);
    return text;
}

}  // namespace quizpack
