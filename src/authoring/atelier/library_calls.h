// The authors' library as a page calls it: a quiz's files handed over as
// bytes under the paths its source names them by, each answer in JSON
// (texts in UTF-8) with, where something is made, its bytes beside. The
// same stages as quizpack's verbs, so the same problems and the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exe/pe_resources.h"
#include "judge/quiz_definition.h"
#include "problem.h"
#include "text/text.h"
#include "write/web_page.h"

namespace quizpack {

// What the library is given once, as quizpack carries it: the player stub,
// the page's core and its files.
struct CarriedFiles {
    std::vector<uint8_t> stub;
    WebCore core;
    PageFiles page;
};

// The JSON of a call, and the bytes it made (empty when it made none).
//   {"ok": 0|1, "name": the file's name ("" when nothing is made),
//    "questions": the quiz's count, "message": what the author reads,
//    "problems": [{"line", "field", "question" and "key": the form's field
//                  (PlaceOfField), "warning": 0|1, "text": the line
//                  quizpack check prints}]}
struct Made {
    std::string json;
    std::vector<uint8_t> bytes;
};

// A source read, judged and made into resources, from files in memory: a
// check and the makes after it share one.
struct PreparedQuiz {
    std::string source;
    QuizDefinition quiz;
    std::vector<Resource> resources;
    std::vector<Problem> problems;
};
PreparedQuiz PrepareInMemory(const FilesInMemory& files, const std::string& source);

// Every problem and warning of `source` (a key of `files`).
Made CheckQuiz(const FilesInMemory& files, const std::string& source);
Made CheckPrepared(const PreparedQuiz& prepared);

// The quiz's .exe (NAME.exe), its page (NAME.html), its key
// (NAME-corrige.png) or its SCORM package (NAME.zip), each read back before
// it is handed out; or the problems that stop it.
enum class Making { kExe, kPage, kKey, kScorm };
Made MakeQuiz(const FilesInMemory& files, const std::string& source, Making what, const CarriedFiles& carried);
Made MakePrepared(const PreparedQuiz& prepared, Making what, const CarriedFiles& carried);

// The quiz.toml quizpack new writes for pictures of a folder so named, or the
// reason there is none in "message".
Made NewQuiz(const std::string& folderName, const std::vector<std::string>& pictures);

// The judge's own table of fields, for a form drawn from it:
//   {"header": [{"name", "kind": its type in a word ("text", "integer",
//                "colour"...), "min", "max", "default": as the guide
//                writes it, or null, "required": 0|1, "help": one line}],
//    "question": [the same, for a [[question]] block],
//    "sections": [{"key", "fewestQuestions", "mostQuestions", "fields": its
//                  table's rows, "made": the question fields it makes,
//                  "own": those it reads itself}]}
// Each row also has "label" (French) and "choices": [{"value", "says"}].
std::string FieldsTable();

// The form's field a problem names: "question[3].place.left" is question 3's
// `place`, "motsmeles.seed" the section's (-1) `seed`, "title" the header's (0).
struct FieldPlace {
    int where = 0;
    std::string key;
};
FieldPlace PlaceOfField(const std::string& field);

}  // namespace quizpack
