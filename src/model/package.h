// The quiz package: three LZW records, optionally scrambled with a text key,
// parsed into the QuizState; and the writer that makes them from a quiz held
// in memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/quiz_state.h"

namespace quiz {

constexpr size_t kBuiltInRecordSize = 70;
constexpr int kPackageKeyLength = 21;
// "Grille vide à remplir" in CP1252, without its NUL.
extern const uint8_t kPackageKey[kPackageKeyLength];

constexpr uint8_t kStringSeparator = '|';

struct RecordBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;  // 0 stands for a missing record
};

struct PackageRecords {
    RecordBytes builtIn;    // the 70-byte built-in record
    RecordBytes record104;  // "PATCH" 104
    RecordBytes record105;  // "PATCH" 105
};

// Exclusive-or of bytes 1..length-1 with the key, continuing the key cycle at
// *keyPosition and leaving it where the record ends. Its own inverse.
void ScrambleRecord(uint8_t* data, size_t length, int* keyPosition);

// How many strings each question takes in the layout section of record 104:
// one for layouts 1, 2, 4, 7, 8; two for 3, 6, 9; none otherwise.
int LayoutStringsPerQuestion(int layoutType);

// Fills the state from the three records in order. A record that decodes
// neither as stored nor unscrambled, or that is malformed, raises the alert
// "Erreur dans le déchiffrage" / "Zarlo", sets questionCount to 0 and stops
// the load; what earlier records set stays. Returns the number of records
// parsed (0..3): from 2 on, the background colour was replaced and the
// caller makes the new background brush. The record bytes are not changed.
int LoadQuizPackage(QuizState* state, const PackageRecords& records);

// ---- Writer side ----

struct QuestionSource {
    std::string answer1;     // plain CP1252; the loader brings it to stored form
    std::string answer2;     // only with two answers per question
    std::string spareText;
    std::string extraText;   // layout section, first string
    std::string extraText2;  // layout section, second string (layouts 3, 6, 9)
};

struct QuizPackage {  // every text in CP1252
    std::string linkText;
    std::string statusText;
    int quizKind = 1;
    std::string title;
    std::string author;
    std::string subtitle;
    std::string answerCaption1;
    std::string answerCaption2;
    int answersPerQuestion = 1;
    int layoutType = 0;
    uint8_t red = 90;
    uint8_t green = 95;
    uint8_t blue = 150;
    std::vector<QuestionSource> questions;
    std::vector<std::string> questionLines;  // at most one per question
};

struct ScrambleChoice {
    bool builtIn = false;
    bool record104 = false;
    bool record105 = false;
};

struct StoredRecords {
    std::array<uint8_t, kBuiltInRecordSize> builtIn{};
    std::vector<uint8_t> record104;
    std::vector<uint8_t> record105;
};

// The decoded bytes of each record.
bool PlainBuiltInRecord(const QuizPackage& quiz, std::vector<uint8_t>* out, std::string* error);
bool PlainRecord104(const QuizPackage& quiz, std::vector<uint8_t>* out, std::string* error);
bool PlainRecord105(const QuizPackage& quiz, std::vector<uint8_t>* out, std::string* error);

// Compresses (and scrambles, as chosen) the three records. Fails with a
// message when the quiz does not fit the records: a text with '|' or NUL or
// longer than its field, a line break in a code line, more than 96 questions
// or more code lines than questions, a built-in stream over 70 bytes, a record
// over the decoder's limits, or a scrambled record that would also decode as
// stored (the loader would take it unscrambled).
bool WritePackageRecords(const QuizPackage& quiz, ScrambleChoice scramble,
                         StoredRecords* out, std::string* error);

// Loads the stored records exactly as the player does and compares every
// field with the quiz: texts, kind, counts, layout, background, every answer
// in stored form, every extra text and code line. False, with a message that
// names the first field that differs (in French, UTF-8 for the authors' terminal), when any does.
// WritePackageRecords ends with it.
bool VerifyStoredRecords(const QuizPackage& quiz, const StoredRecords& stored, std::string* error);

}  // namespace quiz
