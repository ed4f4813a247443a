// The write stage for `quizpack build`: the quiz's resources as files in a
// folder of quizpack's own, for a player built with a resource compiler.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "exe/pe_resources.h"
#include "judge/quiz_definition.h"

namespace quizpack {

// The files, by name: builtin.bin, record104.bin, record105.bin,
// letter_counts.bin, answer_places.bin, quiz_pictures.rc (the resource script
// of all of them), quiz.cmake and each picture under the name its resource
// line gives.
std::map<std::string, std::vector<uint8_t>> BuildFolderFiles(const QuizDefinition& quiz,
                                                             const std::vector<Resource>& resources,
                                                             const std::string& sourcePath);

// Writes them into `folder`, which holds only what quizpack wrote there:
// files an earlier build wrote and this one does not go, and a folder that
// holds anything else is refused rather than mixed into the player. A file
// already as it should be is left alone. False with a French `error`.
bool WriteBuildFolder(const std::map<std::string, std::vector<uint8_t>>& files, const std::string& folder,
                      std::string* error);

}  // namespace quizpack
