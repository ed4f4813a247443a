// The judged quiz: what the judge stage makes of a source record, every
// value checked, with the lines the later stages still name in their
// problems. The make stage completes it (a section's pictures, places and
// counts) before the records and resources are made from it.
#pragma once

#include <any>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "make/package_writer.h"
#include "pictures/picture_info.h"
#include "pictures/raster.h"

namespace quizpack {

struct SectionKind;

// Limits of a source beyond the records' own, which the guide gives too.
constexpr double kMinColourDistance = 80;  // closer colours cannot be told apart on screen
// The grid centres each copy of the puzzle in a column this wide, and the
// columns are 540 apart: a wider puzzle is scaled down to it.
constexpr int kPictureColumn = 510;
constexpr int kWindowHeight = 600;      // a taller puzzle is seen in parts
constexpr int kMaxPuzzleHeight = 2000;  // once at most 510 wide
// The player writes "%d lettres" on each copy from (quiz::kLetterCountLeft,
// quiz::kLetterCountTop): a puzzle quizpack makes is at least this tall, so
// that the count shows on it.
constexpr int kMinMadeHeight = 485;

struct QuestionDefinition {
    int line = 1;            // its [[question]]
    int answerLine = 1;      // its first answer's, or its own without one
    bool answersRead = false;  // its answers could be read at all
    int letters = 0;
    bool hasOverlay = false;
    bool drawnMark = false;  // a place without overlay: quizpack draws the mark
    PictureSource overlay;
    std::array<int, 4> place{};  // left, top, width, height
};

struct QuizDefinition {
    std::string executable;  // file name without ".exe"
    std::string version = "1.0";  // shown in the .exe's properties
    bool scrambled = false;
    bool scorm = false;  // a source dropped on quizpack.exe gives its SCORM package too
    quiz::QuizPackage package;  // texts in CP1252
    PictureSource puzzle;
    // The puzzle as quizpack remakes it (turned upright, scaled to the grid's
    // column), with the width of the picture the places are given in; empty
    // when the puzzle ships as it is.
    RgbImage puzzleImage;
    int puzzleSourceWidth = 0;
    std::vector<QuestionDefinition> questions;  // beside package.questions
    std::map<std::string, int> lines;            // line of each top-level field given
    // The kind of section that makes the pictures ([motsmeles]), if any, and
    // what its judge kept for its make.
    const SectionKind* section = nullptr;
    int sectionLine = 1;
    std::any sectionPlan;
    // Nothing but the section itself was found wrong: its make may run (and
    // say why the words, say, cannot be placed).
    bool sectionMayMake = false;
};

// "1", "1.2" ... "1.2.3.4", each number up to 65535; false for anything else.
bool ParseVersion(const std::string& text, std::vector<uint16_t>* parts);

// The raw answer byte whose stored form is "-": a second answer stored as
// this byte hides the second field of its question.
uint8_t SingleFieldMarker();

}  // namespace quizpack
