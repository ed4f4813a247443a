// The writer side of the quiz package, for quiz authors and tests: the
// quiz as texts, and the three stored records made from it. The player
// itself only loads (model/package.h); it does not link this.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "grid/quiz_tables.h"
#include "model/package.h"

namespace quiz {


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

// The two tables in the form the player reads ("TABLE" 1 and 2): a 16-bit
// letter count per question, and four 32-bit values per answer place.
std::vector<uint8_t> LetterCountTable(const std::vector<int>& counts);
std::vector<uint8_t> AnswerPlaceTable(const std::vector<AnswerPlace>& places);

}  // namespace quiz
