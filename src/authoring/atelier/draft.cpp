#include "atelier/draft.h"

#include <algorithm>
#include <cstdio>

#include "judge/fields.h"
#include "judge/judge.h"
#include "sections/section.h"
#include "text/text.h"
#include "web/json_string.h"
#include "write/new_source.h"
#include "write/picture_name.h"

namespace quizpack {

namespace {

const Field* RowOf(const std::vector<Field>& rows, const std::string& name) {
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const Field& f) { return name == f.name; });
    return found == rows.end() ? nullptr : &*found;
}

SourceNode* Find(DraftFields& fields, const std::string& key) {
    for (auto& [name, node] : fields)
        if (name == key) return &node;
    return nullptr;
}
const SourceNode* Find(const DraftFields& fields, const std::string& key) {
    return Find(const_cast<DraftFields&>(fields), key);
}

void Put(DraftFields& fields, const std::string& key, SourceNode node) {
    if (SourceNode* there = Find(fields, key)) {
        *there = std::move(node);
        return;
    }
    fields.emplace_back(key, std::move(node));
}

void Erase(DraftFields& fields, const std::string& key) {
    fields.erase(std::remove_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == key; }),
                 fields.end());
}

SourceNode TextNode(std::string text) {
    SourceNode node;
    node.kind = SourceNode::Kind::Text;
    node.text = std::move(text);
    return node;
}
SourceNode IntegerNode(int64_t value) {
    SourceNode node;
    node.kind = SourceNode::Kind::Integer;
    node.integer = value;
    return node;
}
SourceNode BooleanNode(bool value) {
    SourceNode node;
    node.kind = SourceNode::Kind::Boolean;
    node.boolean = value;
    return node;
}
SourceNode ArrayNode(std::vector<SourceNode> items) {
    SourceNode node;
    node.kind = SourceNode::Kind::Array;
    node.items = std::move(items);
    return node;
}

std::string Trimmed(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

// A whole decimal number, with its sign; false for anything else ("12a", "").
bool WholeNumber(const std::string& text, int64_t* out) {
    const std::string t = Trimmed(text);
    size_t i = t.size() > 1 && (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size() || t.size() - i > 12) return false;
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        value = value * 10 + (t[i] - '0');
    }
    *out = t[0] == '-' ? -value : value;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "#5a5f96", as a colour picker gives it, as [90, 95, 150].
bool ColourOfHex(const std::string& text, SourceNode* out) {
    const std::string t = Trimmed(text);
    if (t.size() != 7 || t[0] != '#') return false;
    std::vector<SourceNode> parts;
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigit(t[1 + 2 * i]), low = HexDigit(t[2 + 2 * i]);
        if (high < 0 || low < 0) return false;
        parts.push_back(IntegerNode(high * 16 + low));
    }
    *out = ArrayNode(std::move(parts));
    return true;
}

// Numbers separated by commas or spaces, "[10, 20, 30, 40]" as well as "10 20 30 40".
bool NumbersOf(const std::string& text, size_t count, SourceNode* out) {
    std::vector<SourceNode> parts;
    std::string current;
    auto flush = [&]() {
        if (current.empty()) return true;
        int64_t value = 0;
        if (!WholeNumber(current, &value)) return false;
        parts.push_back(IntegerNode(value));
        current.clear();
        return true;
    };
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '[' || c == ']' || c == '\t') {
            if (!flush()) return false;
        } else {
            current += c;
        }
    }
    if (!flush() || parts.size() != count) return false;
    *out = ArrayNode(std::move(parts));
    return true;
}

const SectionKind* KindOf(const Draft& draft) {
    for (const SectionKind* kind : SectionKinds())
        if (draft.sectionKey == kind->key) return kind;
    return nullptr;
}

// The layout the quiz will have: its own, else its section's, else 0.
int LayoutOf(const Draft& draft) {
    const SourceNode* layout = Find(draft.header, "layoutType");
    if (layout && layout->kind == SourceNode::Kind::Integer) return int(layout->integer);
    const SectionKind* kind = KindOf(draft);
    return kind && kind->defaultLayout >= 0 ? kind->defaultLayout : 0;
}

// "right, down" as ["right", "down"].
SourceNode ListOf(const std::string& typed) {
    std::vector<SourceNode> items;
    for (size_t begin = 0; begin <= typed.size();) {
        size_t end = typed.find(',', begin);
        if (end == std::string::npos) end = typed.size();
        if (const std::string item = Trimmed(typed.substr(begin, end - begin)); !item.empty()) items.push_back(TextNode(item));
        begin = end + 1;
    }
    return ArrayNode(std::move(items));
}

// The value a field's kind reads from what was typed; the text itself when it
// reads none, for the judge to say what the field must be.
SourceNode NodeOfTyped(FieldType type, const std::string& typed) {
    SourceNode node;
    int64_t number = 0;
    switch (type) {
        case FieldType::Integer:
            return WholeNumber(typed, &number) ? IntegerNode(number) : TextNode(typed);
        case FieldType::Boolean:
            if (Trimmed(typed) == "true" || Trimmed(typed) == "false") return BooleanNode(Trimmed(typed) == "true");
            return TextNode(typed);
        case FieldType::Colour:
            return ColourOfHex(typed, &node) || NumbersOf(typed, 3, &node) ? node : TextNode(typed);
        case FieldType::Rectangle:
            return NumbersOf(typed, 4, &node) ? node : TextNode(typed);
        case FieldType::List:
            return ListOf(typed);
        default:
            return TextNode(typed);
    }
}


std::string Value(const SourceNode& node) {
    switch (node.kind) {
        case SourceNode::Kind::Text: return TomlString(node.text);
        case SourceNode::Kind::Integer: return std::to_string(node.integer);
        case SourceNode::Kind::Boolean: return node.boolean ? "true" : "false";
        case SourceNode::Kind::Array: {
            std::string out = "[";
            for (const SourceNode& item : node.items) out += (out.size() > 1 ? ", " : "") + Value(item);
            return out + "]";
        }
        default: return "\"\"";
    }
}

// Fields in the order of their rows; those of no row after, as they came.
std::string FieldsInOrder(const DraftFields& fields, const std::vector<Field>& rows,
                          const std::vector<std::string>& first = {}) {
    std::vector<std::string> order(first);
    for (const Field& row : rows) order.push_back(row.name);
    std::string out;
    for (const std::string& name : order)
        if (const SourceNode* node = Find(fields, name)) out += name + " = " + Value(*node) + "\n";
    for (const auto& [name, node] : fields)
        if (std::find(order.begin(), order.end(), name) == order.end()) out += name + " = " + Value(node) + "\n";
    return out;
}

std::string JsonValue(const std::string& key, const SourceNode& node) {
    switch (node.kind) {
        case SourceNode::Kind::Text: return quiz::JsonString(node.text, quiz::JsonPlace::kParsed);
        case SourceNode::Kind::Integer: return std::to_string(node.integer);
        case SourceNode::Kind::Boolean: return node.boolean ? "true" : "false";
        case SourceNode::Kind::Array: {
            const bool colour = node.items.size() == 3 &&
                                std::all_of(node.items.begin(), node.items.end(), [](const SourceNode& n) {
                                    return n.kind == SourceNode::Kind::Integer && n.integer >= 0 && n.integer <= 255;
                                });
            if (colour && key != "answers") {
                char hex[8];
                std::snprintf(hex, sizeof hex, "#%02x%02x%02x", unsigned(node.items[0].integer),
                              unsigned(node.items[1].integer), unsigned(node.items[2].integer));
                return std::string("\"") + hex + "\"";
            }
            std::string out = "[";
            for (const SourceNode& item : node.items) out += (out.size() > 1 ? "," : "") + JsonValue("", item);
            return out + "]";
        }
        default: return "null";
    }
}

std::string JsonFields(const DraftFields& fields) {
    std::string out = "{";
    for (const auto& [name, node] : fields)
        out += (out.size() > 1 ? "," : "") + quiz::JsonString(name, quiz::JsonPlace::kParsed) + ":" + JsonValue(name, node);
    return out + "}";
}

}  // namespace

Draft NewDraft(DraftKind kind) {
    Draft draft;
    draft.header = {{"executable", TextNode("quiz")}, {"title", TextNode("Mon quiz")}, {"author", TextNode("Votre nom")}};
    switch (kind) {
        case DraftKind::kMosaic:
            draft.sectionKey = "mosaique";
            break;
        case DraftKind::kWordSearch:
            // A found word shows its clue and its place marked on the grid.
            Put(draft.header, "layoutType", IntegerNode(3));
            draft.sectionKey = "motsmeles";
            draft.section = {{"columns", IntegerNode(13)}, {"rows", IntegerNode(13)}, {"seed", IntegerNode(1)}};
            break;
        case DraftKind::kPicture:
            // A found answer shows its place marked on the picture.
            Put(draft.header, "layoutType", IntegerNode(1));
            Put(draft.header, "puzzle", TextNode(""));
            break;
    }
    return draft;
}

Draft DraftOfSource(const SourceNode& root) {
    Draft draft;
    for (const auto& [name, node] : root.fields) {
        if (name == "question" && node.IsArrayOfTables()) {
            for (const SourceNode& table : node.items) draft.questions.push_back(table.fields);
        } else if (node.kind == SourceNode::Kind::Table && draft.sectionKey.empty()) {
            draft.sectionKey = name;
            draft.section = node.fields;
        } else {
            draft.header.emplace_back(name, node);
        }
    }
    // The parser gives a table's keys in its own order; the guide's is kept.
    std::vector<std::pair<std::string, SourceNode>> ordered;
    for (const Field& row : kHeaderFields)
        if (const SourceNode* node = Find(draft.header, row.name)) ordered.emplace_back(row.name, *node);
    for (const auto& field : draft.header)
        if (!RowOf(kHeaderFields, field.first)) ordered.push_back(field);
    draft.header = std::move(ordered);
    return draft;
}

std::string SourceOfDraft(const Draft& draft) {
    std::string out =
        "# Quiz fait dans l'atelier des quiz (atelier.html). Il se change dans l'atelier, ou ici :\n"
        "# enregistrez, puis faites glisser ce fichier sur quizpack.exe (ou : quizpack exe quiz.toml).\n\n";
    out += FieldsInOrder(draft.header, kHeaderFields);
    const SectionKind* kind = KindOf(draft);
    if (!draft.sectionKey.empty())
        out += "\n[" + draft.sectionKey + "]\n" + FieldsInOrder(draft.section, kind ? kind->ownFields : std::vector<Field>{});
    for (const DraftFields& question : draft.questions)
        out += "\n[[question]]\n" + FieldsInOrder(question, kQuestionFields, kind ? kind->ownQuestionFields : std::vector<std::string>{});
    return out;
}

bool SetDraftField(Draft* draft, int where, const std::string& key, const std::string& typed, int index) {
    if (where > int(draft->questions.size())) return false;
    DraftFields& fields = where == kInHeader    ? draft->header
                          : where == kInSection ? draft->section
                                                : draft->questions[size_t(where - 1)];
    if (where > 0 && key == "answers") {
        // One answer of two: the question's single answer becomes the first.
        SourceNode answers = ArrayNode({TextNode(""), TextNode("")});
        if (const SourceNode* there = Find(fields, "answers"); there && there->kind == SourceNode::Kind::Array)
            for (size_t i = 0; i < 2 && i < there->items.size(); ++i) answers.items[i] = there->items[i];
        if (const SourceNode* single = Find(fields, "answer")) answers.items[0] = *single;
        Erase(fields, "answer");
        answers.items[size_t(index == 1)] = TextNode(typed);
        if (answers.items[0].text.empty() && answers.items[1].text.empty()) Erase(fields, "answers");
        else Put(fields, "answers", answers);
        return true;
    }
    if (typed.empty() && !(where > 0 && key == "text" && LayoutShowsTexts(LayoutOf(*draft)))) {
        Erase(fields, key);
        return true;
    }
    const SectionKind* kind = KindOf(*draft);
    static const std::vector<Field> kNoRows;
    const Field* row = RowOf(where == kInHeader    ? kHeaderFields
                             : where == kInSection ? (kind ? kind->ownFields : kNoRows)
                                                   : kQuestionFields,
                             key);
    Put(fields, key, row ? NodeOfTyped(row->type, typed) : TextNode(typed));
    return true;
}

bool AddDraftQuestion(Draft* draft, size_t at) {
    if (at < 1) return false;
    const size_t index = std::min(at - 1, draft->questions.size());
    draft->questions.insert(draft->questions.begin() + long(index), DraftFields{{"answer", TextNode("")}});
    return true;
}

bool RemoveDraftQuestion(Draft* draft, size_t k) {
    if (k < 1 || k > draft->questions.size()) return false;
    draft->questions.erase(draft->questions.begin() + long(k - 1));
    return true;
}

bool MoveDraftQuestion(Draft* draft, size_t from, size_t to) {
    const size_t count = draft->questions.size();
    if (from < 1 || from > count || to < 1 || to > count) return false;
    DraftFields moved = std::move(draft->questions[from - 1]);
    draft->questions.erase(draft->questions.begin() + long(from - 1));
    draft->questions.insert(draft->questions.begin() + long(to - 1), std::move(moved));
    return true;
}

std::string AddDraftPictures(Draft* draft, const std::vector<std::string>& names) {
    const std::vector<std::string> pictures = PicturesAmong(names);
    std::string problems;
    std::vector<DraftFields> added;
    for (const std::string& picture : pictures) {
        const NameAnswer answer = AnswerOfFileName(picture);
        if (!answer.problem.empty()) problems += (problems.empty() ? "" : "\n") + answer.problem;
        added.push_back({{"image", TextNode(picture)}, {"answer", TextNode(answer.answer)}});
    }
    if (!problems.empty()) return problems;
    draft->questions.insert(draft->questions.end(), added.begin(), added.end());
    return {};
}

void SetDraftWords(Draft* draft, const std::string& lines) {
    std::vector<DraftFields> questions;
    for (size_t begin = 0; begin < lines.size();) {
        size_t end = lines.find('\n', begin);
        if (end == std::string::npos) end = lines.size();
        const std::string line = lines.substr(begin, end - begin);
        begin = end + 1;
        const size_t colon = line.find(':');
        const std::string word = Trimmed(line.substr(0, colon));
        if (word.empty()) continue;
        DraftFields question{{"answer", TextNode(word)}};
        if (colon != std::string::npos) question.emplace_back("text", TextNode(Trimmed(line.substr(colon + 1))));
        questions.push_back(std::move(question));
    }
    draft->questions = std::move(questions);
}

void ReseedDraft(Draft* draft) {
    const SourceNode* seed = Find(draft->section, "seed");
    const int64_t now = seed && seed->kind == SourceNode::Kind::Integer ? seed->integer : 0;
    // Seeds go to 2147483647; past it the count starts again.
    Put(draft->section, "seed", IntegerNode(now >= 2147483647 || now < 0 ? 1 : now + 1));
}

std::vector<std::string> DraftPictures(const Draft& draft) {
    std::vector<std::string> pictures;
    const SectionKind* kind = KindOf(draft);
    auto add = [&](const DraftFields& fields, const std::vector<Field>& rows, bool question) {
        for (const auto& [name, node] : fields) {
            const Field* row = RowOf(rows, name);
            const bool own = question && kind &&
                             std::find(kind->ownQuestionFields.begin(), kind->ownQuestionFields.end(), name) !=
                                 kind->ownQuestionFields.end();
            if ((own || (row && row->type == FieldType::Picture)) && node.kind == SourceNode::Kind::Text &&
                !node.text.empty() && std::find(pictures.begin(), pictures.end(), node.text) == pictures.end())
                pictures.push_back(node.text);
        }
    };
    add(draft.header, kHeaderFields, false);
    for (const DraftFields& question : draft.questions) add(question, kQuestionFields, true);
    return pictures;
}

std::string DraftJson(const Draft& draft) {
    const std::string kind = draft.sectionKey.empty() ? "image" : draft.sectionKey;
    std::string questions = "[";
    for (const DraftFields& question : draft.questions) questions += (questions.size() > 1 ? "," : "") + JsonFields(question);
    return "{\"kind\":" + quiz::JsonString(kind, quiz::JsonPlace::kParsed) + ",\"layout\":" +
           std::to_string(LayoutOf(draft)) + ",\"header\":" + JsonFields(draft.header) +
           ",\"section\":" + JsonFields(draft.section) + ",\"questions\":" + questions + "]}";
}

void DraftHistory::Before(const Draft& draft, const std::string& touches) {
    redo_.clear();
    if (!touches.empty() && touches == touching_ && !undo_.empty()) return;
    touching_ = touches;
    undo_.push_back(draft);
    if (undo_.size() > kSteps) undo_.erase(undo_.begin());
}

bool DraftHistory::Undo(Draft* draft) {
    if (undo_.empty()) return false;
    redo_.push_back(std::move(*draft));
    *draft = std::move(undo_.back());
    undo_.pop_back();
    touching_.clear();
    return true;
}

bool DraftHistory::Redo(Draft* draft) {
    if (redo_.empty()) return false;
    undo_.push_back(std::move(*draft));
    *draft = std::move(redo_.back());
    redo_.pop_back();
    touching_.clear();
    return true;
}

void DraftHistory::Clear() {
    undo_.clear();
    redo_.clear();
    touching_.clear();
}

}  // namespace quizpack
