#include <algorithm>
#include <cstdio>

#include "judge/judge.h"
#include "judge/text_rules.h"
#include "model/stored_form.h"
#include "pictures/scaling.h"
#include "shell/link_address.h"
#include "sections/section.h"
#include "text/text.h"

namespace quizpack {

namespace {

// A row's default, as the guide writes it, in the quiz before the field is
// judged: a field refused leaves it there.
void ApplyFallback(const Field& row, QuizDefinition* quiz) {
    if (!row.fallback || !row.store) return;
    FieldValue value;
    int r = 0, g = 0, b = 0;
    switch (row.type) {
        case FieldType::Integer: value.integer = std::stol(row.fallback); break;
        case FieldType::Boolean: value.boolean = std::string(row.fallback) == "true"; break;
        case FieldType::Colour:
            std::sscanf(row.fallback, "[%d, %d, %d]", &r, &g, &b);
            value.colour = {uint8_t(r), uint8_t(g), uint8_t(b)};
            break;
        default: value.text = std::string(row.fallback).substr(1, std::string(row.fallback).size() - 2); break;
    }
    row.store(quiz, value);
}

// The executable's name: the progress file takes it with the ending txt.
bool JudgeName(Problems& problems, const Field& row, const SourceNode& node, FieldValue* value) {
    value->text = node.kind == SourceNode::Kind::Text ? node.text : "";
    const std::string& name = value->text;
    const bool ok = !name.empty() && name.size() <= size_t(row.max) &&
                    std::all_of(name.begin(), name.end(), [](char c) {
                        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                               c == '-' || c == '_';
                    });
    const std::string ascii = AsciiProgramName(name);
    const bool accented = std::any_of(name.begin(), name.end(), [](char c) { return static_cast<uint8_t>(c) >= 0x80; });
    if (!ok && accented && !ascii.empty() && ascii.size() <= size_t(row.max))
        problems.Report(node.line, row.name,
                        "« " + name + " » : écrivez « " + ascii + " » (lettres sans accent, chiffres, « - » ou « _ » seulement)");
    else if (!ok)
        problems.Report(node.line, row.name,
                        "doit tenir en 1 à 64 lettres, chiffres, « - » ou « _ » (sans extension : .exe est ajouté)");
    return true;  // kept as given: the build stops on the problem anyway
}

// The version the .exe's properties show: one to four numbers up to 65535.
bool JudgeVersion(Problems& problems, const Field& row, const SourceNode& node, FieldValue* value) {
    std::vector<uint16_t> parts;
    if (node.kind != SourceNode::Kind::Text || !ParseVersion(node.text, &parts)) {
        problems.Report(node.line, row.name,
                        "doit être de 1 à 4 nombres de 0 à 65535 séparés par des points (\"1.2\"), entre guillemets");
        return false;
    }
    value->text = node.text;
    return true;
}

// The puzzle's size as the grid shows it: one wider than the grid's column
// is scaled down to it, one that does not stand upright as stored is turned;
// both are decoded here, at the size they will have. True when it can ship.
bool JudgePuzzle(Problems& problems, const SourceNode& node, QuizDefinition* quiz) {
    const PictureInfo& info = quiz->puzzle.info;
    const int width = info.UprightWidth(), height = info.UprightHeight();
    const bool wide = width > kPictureColumn;
    const int shownWidth = wide ? kPictureColumn : width;
    const int shownHeight = wide ? std::max(1, int((int64_t(height) * kPictureColumn + width / 2) / width)) : height;
    const std::string name = node.text, size = std::to_string(width) + " x " + std::to_string(height);
    const std::string shown = std::to_string(shownWidth) + " x " + std::to_string(shownHeight);
    if (shownHeight > kMaxPuzzleHeight) {
        problems.Report(node.line, "puzzle",
                        name + " ferait " + shown + " pixels dans la grille, " + std::to_string(kMaxPuzzleHeight) +
                            " de haut au plus : recadrez-la");
        return false;
    }
    if (wide)
        problems.Warn(node.line, "puzzle",
                      name + " fait " + size + " pixels : quizpack la réduit à " + shown +
                          ", la largeur de la colonne d'une question (les places restent en pixels de l'image)");
    if (shownHeight > kWindowHeight)
        problems.Warn(node.line, "puzzle",
                      name + " fait " + shown + " pixels dans la grille : plus haute que la fenêtre (" +
                          std::to_string(kWindowHeight) + "), elle ne se voit pas d'un coup");
    RgbImage decoded;
    std::string error;
    const bool made = wide || info.orientation != 1;
    // The background is judged before the puzzle (its row comes first): a
    // puzzle quizpack remakes shows it through its transparent pixels.
    const Rgb ground = {quiz->package.red, quiz->package.green, quiz->package.blue};
    if (made ? !DecodeUpright(quiz->puzzle.bytes, shownWidth, shownHeight, ground, &decoded, &error)
             : !DecodePicture(quiz->puzzle.bytes, &decoded, &error)) {
        problems.Report(node.line, "puzzle", name + " ne se décode pas : " + error);
        return false;
    }
    if (made) {
        quiz->puzzleImage = ScaleImage(decoded, shownWidth, shownHeight);
        quiz->puzzleSourceWidth = width;
    }
    return true;
}

// One header field judged by its row's type; true when its value is kept.
bool JudgeField(FieldJudge& judge, const Field& row, const SourceNode& node, FieldValue* value) {
    switch (row.type) {
        case FieldType::Name: return JudgeName(judge.problems(), row, node, value);
        case FieldType::Version: return JudgeVersion(judge.problems(), row, node, value);
        case FieldType::Text:
            value->text = judge.Text(&node, 1, row.name, size_t(row.max), row.required);
            return true;
        case FieldType::Link: {
            bool read = false;
            value->text = judge.Text(&node, 1, row.name, size_t(row.max), row.required, false, &read);
            // The player hands the text to the shell, where a program's name starts that program.
            if (read && !value->text.empty() && quiz::LinkAddress(value->text).empty())
                judge.problems().Report(node.line, row.name,
                                        "« " + Cp1252ToUtf8(value->text) +
                                            " » n'est pas une adresse : écrivez une adresse web (https://…, "
                                            "http://… ou www.…) ou de courriel (mailto:…), ou rien");
            return true;
        }
        case FieldType::Integer: return judge.Integer(&node, row.name, row.min, row.max, &value->integer);
        case FieldType::Boolean:
            if (node.kind == SourceNode::Kind::Boolean) {
                value->boolean = node.boolean;
                return true;
            }
            judge.problems().Report(node.line, row.name, "doit valoir true ou false");
            return false;
        case FieldType::Colour: return judge.Colour(&node, row.name, &value->colour);
        default: return false;
    }
}

}  // namespace

void HeaderFieldsBelow(FieldJudge& judge, const SourceNode& root) {
    auto below = [&](const SourceNode& table, const std::string& prefix, const std::string& heading,
                     const std::string& owner) {
        for (const auto& entry : table.fields) {
            if (!IsHeaderFieldName(entry.first)) continue;
            judge.problems().Report(entry.second.line, prefix + entry.first,
                                    entry.first + " vaut pour tout le quiz : écrivez cette ligne en haut du fichier, avant " +
                                        heading + " ; plus bas, elle appartient à " + owner);
            judge.StandFor(entry.first);
        }
    };
    if (const SourceNode* questions = root.Get("question"); questions && questions->IsArrayOfTables())
        for (size_t k = 0; k < questions->items.size(); ++k)
            below(questions->items[k], "question[" + std::to_string(k + 1) + "].", "le premier [[question]]",
                  "la question au-dessus");
    for (const SectionKind* kind : SectionKinds())
        if (const SourceNode* section = root.Get(kind->key); section && section->kind == SourceNode::Kind::Table)
            below(*section, std::string(kind->key) + ".", "[" + std::string(kind->key) + "]",
                  "[" + std::string(kind->key) + "]");
}

JudgedHeader JudgeHeader(FieldJudge& judge, const SourceNode& root, QuizDefinition* quiz) {
    JudgedHeader header;
    for (const Field& row : kHeaderFields) {
        if (row.type == FieldType::Questions) continue;
        const SourceNode* node = root.Get(row.name);
        if (row.type == FieldType::Picture) {
            if (!quiz->section)
                header.puzzleRead = judge.Picture(node, 1, row.name, &quiz->puzzle, true) &&
                                    JudgePuzzle(judge.problems(), *node, quiz);
            else if (node)
                judge.problems().Report(node->line, row.name, quiz->section->puzzleGiven);
            continue;
        }
        ApplyFallback(row, quiz);
        if (!node) {
            if (row.required) judge.Missing(1, row.name);
            // Written below a question, or misspelt: what the questions are
            // judged against is not what the author meant.
            if (judge.StoodFor(row.name) && row.name == std::string("answersPerQuestion")) header.answersKnown = false;
            if (judge.StoodFor(row.name) && row.name == std::string("layoutType")) header.layoutKnown = false;
            continue;
        }
        FieldValue value;
        const bool kept = JudgeField(judge, row, *node, &value);
        if (kept) row.store(quiz, value);
        if (row.name == std::string("answersPerQuestion")) header.answersKnown = kept;
        if (row.name == std::string("layoutType")) header.layoutKnown = kept;
    }
    return header;
}

void JudgeSource(const SourceRecord& source, QuizDefinition* quiz, Problems* problems) {
    FieldJudge judge(source.folder, problems);
    const SourceNode& root = source.root;
    judge.UnknownKeys(root, kHeaderFields, SectionKeys(), "");
    HeaderFieldsBelow(judge, root);
    for (const auto& [key, node] : root.fields) quiz->lines[key] = node.line;
    const SourceNode* section = nullptr;
    quiz->section = SectionOf(root, &section);
    const JudgedHeader header = JudgeHeader(judge, root, quiz);
    // A section may have a layout of its own: the questions are judged by it.
    if (quiz->section && quiz->section->defaultLayout >= 0 && !root.Get("layoutType"))
        quiz->package.layoutType = quiz->section->defaultLayout;
    JudgeQuestions(judge, root, header, quiz);
    if (!quiz->section) return;
    quiz->sectionLine = section->line;
    quiz->sectionMayMake = !problems->HasErrors();
    quiz->section->judge(judge, root, *section, quiz);
}

uint8_t SingleFieldMarker() {
    for (int b = 1; b < 256; ++b)
        if (quiz::StoredByte(static_cast<uint8_t>(b)) == '-') return static_cast<uint8_t>(b);
    return 0;
}

bool ParseVersion(const std::string& text, std::vector<uint16_t>* parts) {
    parts->clear();
    size_t start = 0;
    while (true) {
        size_t end = text.find('.', start);
        if (end == std::string::npos) end = text.size();
        const std::string part = text.substr(start, end - start);
        if (part.empty() || part.size() > 5 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        const long number = std::stol(part);
        if (number > 65535 || parts->size() == 4) return false;
        parts->push_back(static_cast<uint16_t>(number));
        if (end == text.size()) return true;
        start = end + 1;
    }
}

}  // namespace quizpack
