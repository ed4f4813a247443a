// The quiz source: one TOML file beside its pictures. Reading it checks every
// limit of the records and the pictures and reports each problem with its
// line; a quiz without problems turns into the files the player build embeds.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "make/package_writer.h"
#include "exe/pe_resources.h"
#include "pictures/picture_info.h"
#include "pictures/raster.h"
#include "sections/word_search/word_search.h"
#include "sections/word_search/word_search_picture.h"

namespace quizpack {

// Limits of a source beyond the records' own, which the guide gives too.
constexpr size_t kMaxTypedAnswer = 85;    // what an answer field accepts
constexpr double kMinColourDistance = 80;  // closer colours cannot be told apart on screen

struct Problem {
    int line = 0;
    std::string field;
    std::string message;
    bool warning = false;  // said, but the quiz still builds
};

// Whether any of the problems stops a build (warnings do not).
bool HasErrors(const std::vector<Problem>& problems);

struct PictureSource {
    std::string path;  // as resolved against the source's folder
    PictureInfo info;
    std::vector<uint8_t> bytes;
};

struct QuestionDefinition {
    int letters = 0;
    bool hasOverlay = false;
    PictureSource overlay;
    std::array<int, 4> place{};  // left, top, width, height
};

struct QuizDefinition {
    std::string executable;  // file name without ".exe"
    std::string version = "1.0";  // shown in the .exe's properties
    bool scrambled = false;
    quiz::QuizPackage package;  // texts in CP1252
    PictureSource puzzle;
    std::vector<QuestionDefinition> questions;  // beside package.questions
    std::map<std::string, int> lines;            // line of each top-level field given
    // A word search quizpack made ([motsmeles]): empty cells otherwise.
    WordSearch wordSearch;
    PuzzleGeometry geometry;
};

// "1", "1.2" ... "1.2.3.4", each number up to 65535; false for anything else.
bool ParseVersion(const std::string& text, std::vector<uint16_t>* parts);

// Reads and checks the source. Problems come in line order, warnings after
// them; the definition is complete only when there is no problem but
// warnings.
std::vector<Problem> ReadQuizSource(const std::string& path, QuizDefinition* quiz);

// Every resource the quiz adds to the player: its pictures, the three package
// records ("PATCH" 103, 104, 105), the two tables ("TABLE" 1, 2) and the
// version block. Fails with problems (records that do not fit, a scrambled
// record that would decode as stored) and then gives none.
std::vector<Problem> MakeQuizResources(const QuizDefinition& quiz, std::vector<Resource>* resources);

// The files `quizpack build` writes, by name: builtin.bin, record104.bin,
// record105.bin, letter_counts.bin, answer_places.bin, quiz_pictures.rc (the
// resource script of all of them), quiz.cmake and a copy of each picture
// under the name its resource line gives.
// Fails with problems (records that do not fit, a scrambled record that
// would decode as stored) and then gives no file.
std::vector<Problem> MakeBuildFiles(const QuizDefinition& quiz, const std::string& sourcePath,
                                    std::map<std::string, std::vector<uint8_t>>* files);

// The answer key: the puzzle picture with every overlay pasted at its place.
// PNG and GIF pictures only; false with a French `error` naming the field.
bool ComposeAnswerKey(const QuizDefinition& quiz, RgbImage* key, std::string* error);

// The raw answer byte whose stored form is "-": a second answer stored as
// this byte hides the second field of its question.
uint8_t SingleFieldMarker();

}  // namespace quizpack
