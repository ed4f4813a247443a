// A quiz source through the stages of the authors' library, in order:
//   read   read/      the TOML as a record of values, each with its line
//   judge  judge/     every check of every field, each problem with its line
//   make   sections/  a section's pictures, places and letter counts
//          make/      the records, the tables and every resource
//   write  write/     the build folder, the .exe (its PE in exe/), the key:
//                     each command writes what it was asked for
#pragma once

#include <string>
#include <vector>

#include "exe/pe_resources.h"
#include "judge/quiz_definition.h"
#include "problem.h"

namespace quizpack {

struct SourceRecord;

// Read, judge, and the section's make. The problems come in line order,
// warnings after them; the definition is complete only when there is no
// problem but warnings.
std::vector<Problem> ReadQuizSource(const std::string& path, QuizDefinition* quiz);

// All the above, then every resource the quiz adds to the player. The make
// stage's problems (records that do not fit) come first.
std::vector<Problem> PrepareQuiz(const std::string& path, QuizDefinition* quiz, std::vector<Resource>* resources);

// PrepareQuiz's stages after the read, over a source already read: its
// pictures are looked for in `source.folder`. The source fuzzer looks at what
// was read before any picture is.
std::vector<Problem> PrepareReadQuiz(const SourceRecord& source, QuizDefinition* quiz,
                                     std::vector<Resource>* resources);

}  // namespace quizpack
