#include "text/letters.h"

#include <algorithm>
#include <vector>

#include "text/text.h"

namespace quizpack {

namespace {

std::string Quoted(const std::string& word) { return "« " + word + " »"; }

}  // namespace

const char* FoldedLetters(uint8_t b) {
    static const char* const kUpper[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                         "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                         "S", "T", "U", "V", "W", "X", "Y", "Z"};
    if (b >= 'A' && b <= 'Z') return kUpper[b - 'A'];
    if (b >= 'a' && b <= 'z') return kUpper[b - 'a'];
    if (b == ' ' || b == '-' || b == '\'' || b == 0x92 || b == 0xA0) return "";
    if (b >= 0xE0 && b != 0xF7 && b != 0xFF) b = static_cast<uint8_t>(b - 0x20);
    switch (b) {
        case 0x8A: case 0x9A: return "S";
        case 0x8C: case 0x9C: return "OE";
        case 0x8E: case 0x9E: return "Z";
        case 0x9F: case 0xDD: case 0xFF: return "Y";
        case 0xC6: return "AE";
        case 0xC7: return "C";
        case 0xD0: return "D";
        case 0xD1: return "N";
        case 0xD8: return "O";
        case 0xDE: return "TH";
        case 0xDF: return "SS";
        default: break;
    }
    if (b >= 0xC0 && b <= 0xC5) return "A";
    if (b >= 0xC8 && b <= 0xCB) return "E";
    if (b >= 0xCC && b <= 0xCF) return "I";
    if ((b >= 0xD2 && b <= 0xD6)) return "O";
    if (b >= 0xD9 && b <= 0xDC) return "U";
    return nullptr;
}

bool GridLetters(const std::string& answer, std::string* letters, std::string* error) {
    letters->clear();
    std::vector<std::string> refused;  // each character once, in order
    for (char c : answer) {
        if (const char* folded = FoldedLetters(static_cast<uint8_t>(c))) {
            *letters += folded;
            continue;
        }
        const std::string named = Quoted(Cp1252ToUtf8(std::string(1, c)));
        if (std::find(refused.begin(), refused.end(), named) == refused.end()) refused.push_back(named);
    }
    if (refused.empty()) return true;
    const std::string list = FirstThreeAndCount(refused);
    *error = (refused.size() == 1 ? "le caractère " + list + " ne peut pas aller"
                                  : "les caractères " + list + " ne peuvent pas aller") +
             " dans la grille (seules les lettres y vont ; espaces, traits d'union et apostrophes "
             "sont omis)";
    return false;
}

}  // namespace quizpack
