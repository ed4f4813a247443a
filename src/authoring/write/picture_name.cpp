#include "write/picture_name.h"

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <regex>

#include "judge/text_rules.h"
#include "text/letters.h"
#include "text/text.h"

namespace quizpack {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The name without its ending; all of a name with no dot but the first.
std::string Stem(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// The name as a console can show it: a byte that is not UTF-8 becomes '?'.
std::string Shown(const std::string& name) {
    std::string shown;
    for (size_t i = 0; i < name.size();) {
        uint32_t cp;
        // A letter cut short by the end of the name is no sound sequence either.
        const int length = quiz::Utf8SequenceAt(name, i, &cp);
        if (length == 0) {
            shown += '?';
            ++i;
            continue;
        }
        shown += name.substr(i, size_t(length));
        i += size_t(length);
    }
    return shown;
}

// The name in CP1252, or why it cannot be: not UTF-8, a character CP1252
// lacks, a control character (none can be typed, nor written in a TOML
// string as it is).
bool Cp1252OfName(const std::string& name, std::string* cp1252, std::string* why) {
    const size_t bad = FirstInvalidUtf8(name);
    if (bad != std::string::npos) {
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", static_cast<uint8_t>(name[bad]));
        *why = "ce nom n'est pas écrit en UTF-8 (l'octet " + std::string(byte) + ", le " + std::to_string(bad + 1) +
               "e), quizpack ne sait pas quelle lettre il porte";
        return false;
    }
    std::string error;
    if (!Utf8ToCp1252(name, cp1252, &error)) {
        *why = error + ", où le quiz écrit ses textes";
        return false;
    }
    for (char c : *cp1252)
        if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<uint8_t>(c));
            *why = "le caractère de contrôle " + std::string(code) + " ne se tape pas";
            return false;
        }
    return true;
}

// A number that orders the files, ended by a dash, an underscore or a dot
// ("01-", "2_", "10 - ", "3. "), or padded with a zero ("01 "): what is
// after it. A number that is read with the words ("3 petits cochons") stays,
// and so does one the name is nothing but ("1789").
std::string WithoutOrderNumber(const std::string& stem) {
    size_t digits = 0;
    while (digits < stem.size() && IsDigit(stem[digits])) ++digits;
    size_t rest = digits;
    bool marked = false;
    while (rest < stem.size() && (stem[rest] == ' ' || stem[rest] == '-' || stem[rest] == '_' || stem[rest] == '.'))
        marked |= stem[rest++] != ' ';
    const bool padded = digits >= 2 && stem[0] == '0';
    if (digits == 0 || rest == digits || rest == stem.size() || IsDigit(stem[rest]) || !(marked || padded)) return stem;
    return stem.substr(rest);
}

// Hyphens and underscores as spaces, one space between words, none at the ends.
std::string Words(const std::string& cp1252) {
    std::string words;
    for (char c : cp1252) {
        const char space = c == '-' || c == '_' ? ' ' : c;
        if (space == ' ' && (words.empty() || words.back() == ' ')) continue;
        words += space;
    }
    while (!words.empty() && words.back() == ' ') words.pop_back();
    return words;
}

// Each hyphen with a letter or digit on each side, as in "rouge-gorge" (not
// the dash of " - Copie"), as `mark`, which Words keeps.
std::string MarkedJoins(std::string name, char mark) {
    const auto inWord = [](char c) { return c != ' ' && c != '-' && c != '_' && c != '.'; };
    for (size_t i = 1; i + 1 < name.size(); ++i)
        if (name[i] == '-' && inWord(name[i - 1]) && inWord(name[i + 1])) name[i] = mark;
    return name;
}

// The marks a system adds to a copy's name, in English and French, seen
// after Words: Windows' " - Copie (2)", a Mac's " copie 2", GNOME's
// " (copie 2)", a browser's " (1)", Windows XP's "Copie de ".
std::string WithoutCopyMarks(std::string words) {
    static const std::regex kSuffixes[] = {
        std::regex(R"(^(.+?) ?\((\d+|cop(ie|y)( \d+)?)\)$)", std::regex::icase),
        std::regex(R"(^(.+?) cop(ie|y)( \d+)?$)", std::regex::icase),
    };
    static const std::regex kPrefix(R"(^cop(ie de|y of) (.+)$)", std::regex::icase);
    for (bool cut = true; cut;) {
        cut = false;
        std::smatch m;
        for (const std::regex& suffix : kSuffixes)
            if (std::regex_match(words, m, suffix)) {
                words = m[1].str();
                cut = true;
            }
        if (std::regex_match(words, m, kPrefix)) {
            words = m[2].str();
            cut = true;
        }
    }
    return words;
}

std::string Capitalised(std::string words) {
    if (!words.empty()) {
        const uint8_t b = static_cast<uint8_t>(words[0]);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) words[0] = static_cast<char>(b - 0x20);
    }
    return words;
}

// A name as people sort it: letters folded to capitals without accents.
std::string SortKey(const std::string& utf8) {
    std::string cp1252, key;
    if (!Utf8ToCp1252(utf8, &cp1252, nullptr)) return utf8;
    for (char c : cp1252) {
        const char* folded = FoldedLetters(static_cast<uint8_t>(c));
        key += folded && *folded ? folded : std::string(1, c);
    }
    return key;
}

// Keys compared byte by byte, a run of digits as a number.
bool KeyBefore(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i + 1 < a.size() && a[i] == '0' && IsDigit(a[i + 1])) ++i;
            while (j + 1 < b.size() && b[j] == '0' && IsDigit(b[j + 1])) ++j;
            size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei])) ++ei;
            while (ej < b.size() && IsDigit(b[ej])) ++ej;
            if (ei - i != ej - j) return ei - i < ej - j;
            const int order = a.compare(i, ei - i, b, j, ej - j);
            if (order != 0) return order < 0;
            i = ei, j = ej;
            continue;
        }
        if (a[i] != b[j]) return static_cast<uint8_t>(a[i]) < static_cast<uint8_t>(b[j]);
        ++i, ++j;
    }
    return i == a.size() && j < b.size();
}

}  // namespace

NameAnswer AnswerOfFileName(const std::string& fileName) {
    const std::string stem = Stem(fileName);
    std::string cp1252, why;
    if (!Cp1252OfName(stem, &cp1252, &why))
        return {"", Shown(fileName) + " : " + why + " ; renommez l'image en lettres latines (les accents du français vont)", ""};
    const std::string words = WithoutOrderNumber(cp1252);
    const std::string answer = Capitalised(WithoutCopyMarks(Words(words)));
    if (CountLetters(answer) == 0)
        return {"", Shown(fileName) +
                        " : ce nom ne donne aucune lettre à taper (ni un numéro qui range les images, ni une marque "
                        "de copie ne sont gardés), et une réponse en demande au moins une ; renommez l'image du mot "
                        "à trouver, par exemple 01-vache.jpg pour « Vache »", ""};
    // A control character never reaches here: it marks the hyphens kept.
    const char kJoin = '\x01';
    const std::string marked = MarkedJoins(words, kJoin);
    if (marked == words) return {Cp1252ToUtf8(answer), "", ""};
    std::string hyphened = Capitalised(WithoutCopyMarks(Words(marked)));
    std::replace(hyphened.begin(), hyphened.end(), kJoin, '-');
    return {Cp1252ToUtf8(answer), "", Cp1252ToUtf8(hyphened)};
}

NameAnswer TitleOfFolderName(const std::string& folderName) {
    std::string cp1252, why;
    if (!Cp1252OfName(folderName, &cp1252, &why))
        return {"", "le dossier " + Shown(folderName) + " donne son titre au quiz, et " + why +
                        " ; renommez le dossier en lettres latines (les accents du français vont)", ""};
    return {Cp1252ToUtf8(Capitalised(Words(cp1252))), "", ""};
}

bool ComesBeforeInFolder(const std::string& a, const std::string& b) {
    // Stems first, as Explorer lists them: "vache.jpg" before "vache (2).jpg".
    const std::string sa = SortKey(Stem(a)), sb = SortKey(Stem(b));
    if (KeyBefore(sa, sb)) return true;
    if (KeyBefore(sb, sa)) return false;
    const std::string ka = SortKey(a), kb = SortKey(b);
    if (KeyBefore(ka, kb)) return true;
    return !KeyBefore(kb, ka) && a < b;
}

bool IsHiddenName(const std::string& fileName) { return !fileName.empty() && fileName[0] == '.'; }

}  // namespace quizpack
