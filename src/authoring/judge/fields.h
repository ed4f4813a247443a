// The fields of a quiz source, one row each: name, type, limits, default,
// whether it must be given, and a line of help. The judge reads and checks
// every field from these rows, the atelier's form is drawn from them, and the
// guide gives the same limits (a test holds them together): a field added
// later is one row.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/picture_info.h"
#include "pictures/raster.h"
#include "problem.h"
#include "read/source_record.h"

namespace quizpack {

struct QuizDefinition;

enum class FieldType {
    Name,       // the executable's name
    Version,    // "1.2.3.4"
    Text,       // CP1252, at most `max` bytes
    Link,       // a Text that is a web or mail address, or empty
    Integer,    // from `min` to `max`
    Boolean,
    Colour,     // [red, green, blue], each from `min` to `max`
    Picture,    // a file beside the source, at most `max` pixels a side
    Rectangle,  // [left, top, width, height]: left and top from `min`, sides from 1, all to `max`
    Answers,    // one answer, or a list of one or two
    List,       // a list of words
    Questions,  // [[question]] blocks, at most `max`
};

struct Field;
// Keeps a judged header value in the quiz.
struct FieldValue {
    std::string text;
    long integer = 0;
    bool boolean = false;
    Rgb colour;
};
using StoreField = void (*)(QuizDefinition* quiz, const FieldValue& value);

struct Field {
    const char* name;
    const char* label = "";          // the form's, in French (UTF-8)
    FieldType type;
    long min = 0, max = 0;
    const char* fallback = nullptr;  // the default, as the guide writes it; nullptr: none
    bool required = false;
    const char* help = "";           // one line, in the guide's words (UTF-8)
    StoreField store = nullptr;      // header fields: where a judged value goes
};

// In the order they are judged (and said, within a line). A section's table
// is no row: the kinds of section give their own keys (sections/section.h).
extern const std::vector<Field> kHeaderFields;
extern const std::vector<Field> kQuestionFields;
const Field& HeaderField(std::string_view name);
// A field of the header proper: not the questions.
bool IsHeaderFieldName(std::string_view name);
const Field& QuestionField(std::string_view name);

// What each value of a field that picks a behaviour does, said in words for
// a form (layoutType, answersPerQuestion); empty for any other field.
struct FieldChoice {
    long value;
    const char* says;  // UTF-8
};
const std::vector<FieldChoice>& ChoicesOf(std::string_view name);

// The names of rows, for the keys a table may have.
std::vector<std::string> NamesOf(const std::vector<Field>& rows);

// Judges values against their rows, and says every problem.
class FieldJudge {
public:
    FieldJudge(std::string folder, Problems* problems) : folder_(std::move(folder)), problems_(problems) {}
    Problems& problems() { return *problems_; }

    // A text of the record: UTF-8 in the source, CP1252 in the record, no
    // '|', no NUL, at most `limit` bytes; lines only where `lines` is.
    // `read`: a text was there and could be read, so that the checks which
    // follow from a text are made only then.
    std::string Text(const SourceNode* node, int fallbackLine, const std::string& field, size_t limit,
                     bool required = false, bool lines = false, bool* read = nullptr);
    bool Integer(const SourceNode* node, const std::string& field, long min, long max, long* out);
    // Absent: true, `out` untouched.
    bool Colour(const SourceNode* node, const std::string& field, Rgb* out);
    // A picture beside the source. One quizpack ships as it is (`scaled`
    // false) is decoded here, as the player will; one it scales may be any
    // phone's photo, and its caller decodes it at the size it needs.
    bool Picture(const SourceNode* node, int fallbackLine, const std::string& field, PictureSource* picture,
                 bool scaled = false);
    // Every key of `table` that `known` (and `alsoKnown`) lacks, with the
    // known key it is probably a misspelling of. A header field's name in a
    // table under the header is said by HeaderFieldsBelow, not here.
    void UnknownKeys(const SourceNode& table, const std::vector<Field>& known,
                     const std::vector<std::string>& alsoKnown, const std::string& prefix);
    // A field the source lacks, said unless a key of the source already stands
    // for it (misspelt, or written below the header): one mistake, one problem.
    void Missing(int line, const std::string& field, const std::string& message = "manquant");
    bool StoodFor(const std::string& field) const { return standIns_.count(field) > 0; }
    void StandFor(const std::string& field) { standIns_.insert(field); }

private:
    bool PictureBytes(const SourceNode& node, const std::string& field, PictureSource* picture);
    std::string folder_;
    Problems* problems_;
    std::set<std::string> standIns_;  // fields, with their prefix, a key already stands for
};

// The known name `key` is probably a misspelling of: at most two letters
// added, left out, changed or swapped with their neighbour, whatever their
// case; the nearest, the first of `names` on a tie. "" when none is that near.
std::string NearestName(const std::string& key, const std::vector<std::string>& names);

// "la question 2", "les questions 2, 4 et 5", "les questions 1 à 4 et 9":
// numbers from 1, in order.
std::string QuestionsNamed(const std::vector<size_t>& numbers);

}  // namespace quizpack
