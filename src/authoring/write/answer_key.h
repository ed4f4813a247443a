// The write stage for `quizpack preview`: the answer key, as a PNG.
#pragma once

#include <string>
#include <vector>

#include "judge/quiz_definition.h"
#include "pictures/raster.h"

namespace quizpack {

// The answer key: the section's own (a word search outlines each word and
// lists where it lies, in `lines`), else the puzzle with every overlay pasted
// at its place and each marked answer listed with its place. False with a
// French `error` naming the field.
bool ComposeAnswerKey(const QuizDefinition& quiz, RgbImage* key, std::vector<std::string>* lines,
                      std::string* error);

enum class KeyWritten { kWritten, kNotComposed, kNotWritten };

// Composes the key and writes it to `path` as a PNG.
KeyWritten WriteAnswerKey(const QuizDefinition& quiz, const std::string& path, std::vector<std::string>* lines,
                          std::string* error);

}  // namespace quizpack
