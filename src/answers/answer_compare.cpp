#include "answers/answer_compare.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/stored_form.h"

namespace quiz {

const char kVerdictBravo[] = "BRAVO";
const char kVerdictFaux[] = "FAUX";
const char kVerdictUnknown[] = "?";
const char kVerdictAnagramme[] = "Anagramme";
const char kVerdictQuasiment[] = "Quasiment";
const char kVerdictPresque[] = "Presque";
const char kVerdictTropCourt[] = "Trop court";
const char kVerdictTropLong[] = "Trop long";
const char kVerdictPasLoin[] = "Pas loin";
const char kVerdictIdee[] = "y a de l'id\xE9" "e";

void NormalizeTypedAnswer(char* text) {
    size_t length = std::strlen(text);
    // Trailing spaces; the first byte is never examined here.
    for (size_t i = length; i > 1 && text[i - 1] == ' '; --i) text[i - 1] = '\0';
    size_t lead = 0;
    while (text[lead] == ' ') ++lead;
    if (lead) std::memmove(text, text + lead, std::strlen(text + lead) + 1);
    TransformAnswerText(text);
}

int AnswerEditDistance(std::string_view a, std::string_view b) {
    if (a.empty()) return static_cast<int>(b.size());
    if (b.empty()) return static_cast<int>(a.size());
    // Two rows of the full table; answers hold at most 259 bytes, longer
    // texts take a heap row.
    constexpr size_t kRow = 260;
    int rowsOnStack[2][kRow];
    std::vector<int> rowsOnHeap;
    int* previous = rowsOnStack[0];
    int* current = rowsOnStack[1];
    if (b.size() + 1 > kRow) {
        rowsOnHeap.resize(2 * (b.size() + 1));
        previous = rowsOnHeap.data();
        current = previous + b.size() + 1;
    }
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (size_t j = 1; j <= b.size(); ++j) {
            int replace = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            int best = std::min(previous[j] + 1, current[j - 1] + 1);
            current[j] = std::min(best, replace);
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

bool IsAnswerAnagram(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    int counts[256] = {};
    for (unsigned char c : a) ++counts[c];
    for (unsigned char c : b)
        if (--counts[c] < 0) return false;
    return true;
}

int AnswerContainment(std::string_view accepted, std::string_view typed) {
    bool typedShorter = typed.size() < accepted.size();
    std::string_view s = typedShorter ? typed : accepted;
    std::string_view l = typedShorter ? accepted : typed;
    int sign = typedShorter ? -1 : 1;
    if (s.empty()) return 0;
    size_t i = 0, j = 0;
    for (;;) {
        if (j >= l.size()) return 0;
        j = l.find(s[0], j);
        if (j == std::string_view::npos) return 0;
        while (i < s.size() && j < l.size() && s[i] == l[j]) {
            ++i;
            ++j;
        }
        if (i == s.size()) return 2 * sign;
        i = 0;  // j stays on the byte that differed
    }
}

const char* ChooseVerdict(std::string_view accepted, std::string_view typed) {
    const long e = static_cast<long>(accepted.size());
    const long t = static_cast<long>(typed.size());
    if (e <= 3) {
        if (typed.empty()) return kVerdictUnknown;
        return accepted == typed ? kVerdictBravo : kVerdictFaux;
    }
    if (typed.empty()) return kVerdictUnknown;
    if (accepted == typed) return kVerdictBravo;  // distance 0, without the table
    const long d = AnswerEditDistance(accepted, typed);
    if (d == 0) return kVerdictBravo;
    if (IsAnswerAnagram(accepted, typed)) return kVerdictAnagramme;
    if (d == 1) return kVerdictQuasiment;
    if (d == 2) return kVerdictPresque;
    switch (AnswerContainment(accepted, typed)) {
        case -2:
            if (e <= 9) return kVerdictFaux;
            if (5 * t > 4 * e) return kVerdictTropCourt;
            if (4 * t > 3 * e) return kVerdictPasLoin;
            return kVerdictFaux;
        case 2: {
            long extra = t - e;
            if (extra <= 10) return kVerdictTropLong;
            if (extra <= 20) return kVerdictPasLoin;
            return kVerdictFaux;
        }
        default: {
            long m = std::max(e, t);
            return m > 5 * d ? kVerdictIdee : kVerdictFaux;
        }
    }
}

}  // namespace quiz
