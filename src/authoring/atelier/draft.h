// A quiz as the atelier's form edits it: the header's fields, its section,
// its questions, each value as the read stage gives it. The form changes it
// one field or one question at a time, from the text the author typed; it is
// written back as the source an author would write, which the library then
// judges and makes like any other. Every rule of the source is here or in the
// judge: the page only draws the draft and says what was typed.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "read/source_record.h"

namespace quizpack {

using DraftFields = std::vector<std::pair<std::string, SourceNode>>;

struct Draft {
    DraftFields header;
    std::string sectionKey;  // "mosaique", "motsmeles", or "" for a puzzle of the author's own
    DraftFields section;
    std::vector<DraftFields> questions;
};

// The three kinds the atelier starts: a mosaic of dropped pictures, a word
// search, a big picture of the author's with the place of each answer.
enum class DraftKind { kMosaic, kWordSearch, kPicture };
Draft NewDraft(DraftKind kind);

// The draft of a source's top-level table, as the read stage gives it.
Draft DraftOfSource(const SourceNode& root);

// The source the draft is: a comment that says how it was made, the header's
// fields in the guide's order, the section, one [[question]] block each.
std::string SourceOfDraft(const Draft& draft);

// Where a field lives: the header (question 0), the section (-1), or question
// K from 1.
constexpr int kInHeader = 0, kInSection = -1;

// Sets a field from the text the form holds, read by the field's kind: a
// number for an integer (the text kept as typed when it is none, for the judge
// to say so), "#rrggbb" for a colour, "x, y, w, h" for a place, true or false.
// An empty text takes the field out, but for a question's `text` where the
// layout shows texts: there it stays "", the text a question without one has.
// `index` picks one of a question's two answers (0 or 1) for `answers`.
// False when there is no such question.
bool SetDraftField(Draft* draft, int where, const std::string& key, const std::string& typed, int index = 0);

// A question added before question `at` (from 1; past the last: at the end),
// removed, or moved from `from` to `to`. False when the numbers name none.
bool AddDraftQuestion(Draft* draft, size_t at);
bool RemoveDraftQuestion(Draft* draft, size_t k);
bool MoveDraftQuestion(Draft* draft, size_t from, size_t to);

// A question for each picture (in a folder's order), its answer from the
// picture's name as quizpack new takes it; what names give no answer, said as
// quizpack new says it ("" when all do). Nothing is added then.
std::string AddDraftPictures(Draft* draft, const std::vector<std::string>& pictures);

// The word search's questions from lines of "MOT : indice" (or "MOT" alone),
// in their order, replacing those there; blank lines are passed over.
void SetDraftWords(Draft* draft, const std::string& lines);

// Another grid: the word search's seed moved on.
void ReseedDraft(Draft* draft);

// The pictures the draft names (its puzzle, each question's image and
// overlay), once each, in their order.
std::vector<std::string> DraftPictures(const Draft& draft);

// The draft for the form, in JSON (UTF-8): {"kind": "mosaique" | "motsmeles" |
// "image", "layout": the layout the quiz has, its own or its section's, "header": {KEY: VALUE}, "section": {...}, "questions": [{...}]},
// each VALUE a text as the form shows it ("#5a5f96" for a colour), a number,
// true or false, [left, top, width, height] for a place, [A, B] for answers.
std::string DraftJson(const Draft& draft);

// The drafts before and after the last changes, for undo and redo. The
// keystrokes in one field make one change: undo takes the whole word back.
class DraftHistory {
public:
    // Called before each change, with the draft as it is and what the change
    // touches ("" for a change that is always a step of its own).
    void Before(const Draft& draft, const std::string& touches);
    // The draft before the last change (or after the last undone), in *draft.
    bool Undo(Draft* draft);
    bool Redo(Draft* draft);
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    void Clear();

    static constexpr size_t kSteps = 200;  // the oldest are forgotten

private:
    std::vector<Draft> undo_, redo_;
    std::string touching_;
};

}  // namespace quizpack
