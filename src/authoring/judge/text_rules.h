// What the judge asks of texts beyond the record's limits: answers a player
// can type, apostrophes and letters as a keyboard types them, paths and
// program names Windows takes as they are.
#pragma once

#include <cstdint>
#include <string>

#include "pictures/raster.h"
#include "problem.h"

namespace quizpack {

// The letters of a CP1252 text, as the letter count under a picture counts them.
int CountLetters(const std::string& cp1252);

// The text in the stored form the player compares answers in.
std::string StoredFormOf(std::string cp1252);

// An accepted answer must be one a player can type into an answer field: not
// empty, at most quiz::kAnswerFieldLimit bytes, no control character, and no space at either end
// (typed answers are trimmed).
void CheckTypable(Problems& problems, int line, const std::string& field, const std::string& answer);

// A word processor's ’ and ‘ become the ' a keyboard types, with a warning.
std::string KeyboardApostrophes(Problems& problems, int line, const std::string& field, std::string answer);

// Œ, Š, Ž and Ÿ: the player folds neither their case nor their spelling; the
// warning says what a player typing the usual other forms will see.
void WarnUnfoldedLetters(Problems& problems, int line, const std::string& field, const std::string& answer);

// TOML reads "images\tache.png" as "images", a tab, "ache.png": a Windows
// path written with backslashes. Says so, with the path to write instead;
// "" when the path holds no such character.
std::string EscapesInPath(const std::string& path);

// A picture's path must stay in the source's folder: a source received from
// someone else must not put the author's other files into a quiz made to be
// shared. True for a relative path of names without "..", in either slash.
bool PathStaysInFolder(const std::string& path);

// The executable's name without what Windows names of other languages may
// spell differently: accents folded ("ferme-été" gives "ferme-ete"), spaces
// as hyphens, anything else left out.
std::string AsciiProgramName(const std::string& utf8);

// How far apart two colours are: the plain distance in RGB, 0 to 441.
double ColourDistance(Rgb a, Rgb b);
std::string ColourText(Rgb c);

}  // namespace quizpack
