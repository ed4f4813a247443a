// Verdicts for one typed answer against one accepted answer. Both sides are
// compared in stored form, so case of a-z and of à-þ does not count, and
// everything else (accents, spaces, punctuation) does.
#pragma once

#include <string_view>

namespace quiz {

extern const char kVerdictBravo[];       // "BRAVO"
extern const char kVerdictFaux[];        // "FAUX"
extern const char kVerdictUnknown[];     // "?"
extern const char kVerdictAnagramme[];   // "Anagramme"
extern const char kVerdictQuasiment[];   // "Quasiment"
extern const char kVerdictPresque[];     // "Presque"
extern const char kVerdictTropCourt[];   // "Trop court"
extern const char kVerdictTropLong[];    // "Trop long"
extern const char kVerdictPasLoin[];     // "Pas loin"
extern const char kVerdictIdee[];        // "y a de l'idée", é as 0xE9

// Trims leading and trailing spaces (0x20 only), then brings the text to
// stored form, in place. `text` is a NUL-terminated buffer.
void NormalizeTypedAnswer(char* text);

// Levenshtein distance over the stored bytes.
int AnswerEditDistance(std::string_view a, std::string_view b);

// The same bytes in any order (or the same order).
bool IsAnswerAnagram(std::string_view a, std::string_view b);

// +2: the accepted answer lies inside a typed text at least as long;
// -2: a shorter typed text lies inside the accepted answer; 0 otherwise.
// The scan never steps back into a failed run.
int AnswerContainment(std::string_view accepted, std::string_view typed);

// The verdict of a normalized typed text against a stored accepted answer.
const char* ChooseVerdict(std::string_view accepted, std::string_view typed);

}  // namespace quiz
