#include <toml++/toml.h>

#include "read/source_record.h"
#include "text/french.h"
#include "text/text.h"

namespace quizpack {

namespace {

int LineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

SourceNode NodeOf(const toml::node& node) {
    SourceNode out;
    out.line = LineOf(node);
    if (const auto* text = node.as_string()) {
        out.kind = SourceNode::Kind::Text;
        out.text = text->get();
    } else if (const auto* integer = node.as_integer()) {
        out.kind = SourceNode::Kind::Integer;
        out.integer = integer->get();
    } else if (const auto* flag = node.as_boolean()) {
        out.kind = SourceNode::Kind::Boolean;
        out.boolean = flag->get();
    } else if (const auto* array = node.as_array()) {
        out.kind = SourceNode::Kind::Array;
        for (const toml::node& item : *array) out.items.push_back(NodeOf(item));
    } else if (const auto* table = node.as_table()) {
        out.kind = SourceNode::Kind::Table;
        for (const auto& [key, value] : *table) out.fields.emplace_back(std::string(key.str()), NodeOf(value));
    }
    return out;
}

}  // namespace

SourceNode::SourceNode() = default;
SourceNode::SourceNode(const SourceNode&) = default;
SourceNode::SourceNode(SourceNode&&) noexcept = default;
SourceNode& SourceNode::operator=(const SourceNode&) = default;
SourceNode& SourceNode::operator=(SourceNode&&) noexcept = default;
SourceNode::~SourceNode() = default;

const SourceNode* SourceNode::Get(std::string_view key) const {
    for (const auto& [name, value] : fields)
        if (name == key) return &value;
    return nullptr;
}

bool SourceNode::IsArrayOfTables() const {
    if (kind != Kind::Array || items.empty()) return false;
    for (const SourceNode& item : items)
        if (item.kind != Kind::Table) return false;
    return true;
}

bool ReadSource(const std::string& path, SourceRecord* record, Problems* problems) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes)) {
        problems->Report(1, "toml", "impossible de lire le fichier");
        return false;
    }
    std::string text(bytes.begin(), bytes.end());
    int badLine = 1;
    if (std::string encoding = SourceEncodingProblem(text, &badLine); !encoding.empty()) {
        problems->Report(badLine, "toml", encoding);
        return false;
    }
    // Old Mac editors end lines with a lone CR; they are line ends too.
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) text[i] = '\n';
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& e) {
        problems->Report(static_cast<int>(e.source().begin.line), "toml",
                         TomlProblemInFrench(std::string(e.description())));
        return false;
    }
    record->path = path;
    record->folder = Utf8OfPath(PathOfUtf8(path).parent_path());
    record->root = NodeOf(root);
    return true;
}

}  // namespace quizpack
