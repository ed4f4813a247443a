#include "quiz_source.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <toml++/toml.h>

#include "model/lzw.h"
#include "model/stored_form.h"
#include "french.h"
#include "raster.h"
#include "text.h"
#include "word_search.h"
#include "word_search_picture.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxText = quiz::kTextSize - 1;
constexpr size_t kMaxTypedAnswer = 85;  // what an answer field accepts
constexpr int kPuzzleId = 400;
constexpr int kOverlayBase = 10400;

int LineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

class SourceReader {
public:
    SourceReader(std::string folder, std::vector<Problem>* problems)
        : folder_(std::move(folder)), problems_(problems) {}

    void Report(int line, std::string field, std::string message) {
        problems_->push_back({line, std::move(field), std::move(message)});
    }

    // A text of the record: UTF-8 in the source, CP1252 in the record, no '|',
    // no NUL, at most `limit` bytes. Lines are allowed only where `lines` is.
    std::string Text(const toml::node* node, int fallbackLine, const std::string& field,
                     size_t limit, bool required = false, bool lines = false) {
        if (!node) {
            if (required) Report(fallbackLine, field, "manquant");
            return {};
        }
        const auto* value = node->as_string();
        if (!value) {
            Report(LineOf(*node), field, "doit être un texte entre guillemets");
            return {};
        }
        std::string converted, error;
        if (!Utf8ToCp1252(value->get(), &converted, &error)) {
            Report(LineOf(*node), field, error);
            return {};
        }
        if (converted.find('|') != std::string::npos)
            Report(LineOf(*node), field,
                   "« | » sépare les textes de l'enregistrement ; il ne peut pas figurer dans un texte");
        if (converted.find('\0') != std::string::npos)
            Report(LineOf(*node), field, "un caractère NUL ne peut pas figurer dans un texte");
        if (!lines && converted.find_first_of("\r\n") != std::string::npos)
            Report(LineOf(*node), field, "un saut de ligne ne peut pas figurer dans ce texte");
        if (converted.size() > limit)
            Report(LineOf(*node), field,
                   std::to_string(converted.size()) + " octets dans la page de codes 1252, " +
                       std::to_string(limit) + " au plus");
        return converted;
    }

    bool Integer(const toml::node* node, const std::string& field, long min, long max,
                 long* out) {
        if (!node) return false;
        const auto* value = node->as_integer();
        if (!value) {
            Report(LineOf(*node), field, "doit être un nombre entier");
            return false;
        }
        if (value->get() < min || value->get() > max) {
            Report(LineOf(*node), field,
                   std::to_string(value->get()) + " sort de l'intervalle " + std::to_string(min) +
                       " à " + std::to_string(max));
            return false;
        }
        *out = static_cast<long>(value->get());
        return true;
    }

    bool Picture(const toml::node* node, int fallbackLine, const std::string& field,
                 PictureSource* picture) {
        if (!node) {
            Report(fallbackLine, field, "manquant");
            return false;
        }
        const auto* value = node->as_string();
        if (!value || value->get().empty()) {
            Report(LineOf(*node), field, "doit être le nom du fichier d'une image, entre guillemets");
            return false;
        }
        fs::path path = fs::path(folder_) / fs::u8path(value->get());
        picture->path = path.string();
        std::error_code ec;
        if (!fs::is_regular_file(path, ec) || !ReadFileBytes(picture->path, &picture->bytes)) {
            Report(LineOf(*node), field, "impossible de lire l'image " + value->get());
            return false;
        }
        picture->info = ReadPictureInfo(picture->bytes);
        if (picture->info.format == PictureFormat::Unknown) {
            Report(LineOf(*node), field,
                   value->get() + " n'est pas une image GIF, JPEG, BMP ou PNG");
            return false;
        }
        if (picture->info.width <= 0 || picture->info.height <= 0) {
            Report(LineOf(*node), field, "impossible de lire la taille de " + value->get());
            return false;
        }
        return true;
    }

    void UnknownKeys(const toml::table& table, const std::set<std::string>& known,
                     const std::string& prefix) {
        for (const auto& [key, node] : table) {
            if (!known.count(std::string(key.str())))
                Report(LineOf(node), prefix + std::string(key.str()),
                       "champ inconnu (une faute de frappe ?)");
        }
    }

private:
    std::string folder_;
    std::vector<Problem>* problems_;
};

bool IsCp1252Letter(uint8_t b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == 0x8A || b == 0x8C ||
           b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F ||
           (b >= 0xC0 && b != 0xD7 && b != 0xF7);
}

int CountLetters(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return IsCp1252Letter(static_cast<uint8_t>(c));
    }));
}

std::string StoredFormOf(std::string text) {
    quiz::TransformAnswerText(text.data());
    return text;
}

// An accepted answer must be one a player can type into an answer field:
// not empty, at most 85 bytes, no control character, and no space at either
// end (typed answers are trimmed).
void CheckTypable(SourceReader& reader, int line, const std::string& field,
                  const std::string& answer) {
    if (answer.empty()) {
        reader.Report(line, field, "vide : aucun joueur ne pourrait la taper");
        return;
    }
    if (answer.size() > kMaxTypedAnswer)
        reader.Report(line, field,
                      std::to_string(answer.size()) + " octets ; un champ de réponse en prend " +
                          std::to_string(kMaxTypedAnswer) + " au plus");
    if (std::any_of(answer.begin(), answer.end(),
                    [](char c) { return static_cast<uint8_t>(c) < 0x20; }))
        reader.Report(line, field,
                      "un caractère de contrôle (tabulation, saut de ligne) ne se tape pas");
    if (answer.front() == ' ' || answer.back() == ' ')
        reader.Report(line, field,
                      "commence ou finit par une espace ; une réponse tapée les perd, elle ne "
                      "correspondrait donc jamais");
}

bool Colour(SourceReader& reader, const toml::node* node, const std::string& field, Rgb* out) {
    if (!node) return true;
    const toml::array* rgb = node->as_array();
    if (!rgb || rgb->size() != 3) {
        reader.Report(LineOf(*node), field, "doit être [rouge, vert, bleu]");
        return false;
    }
    uint8_t* parts[3] = {&out->r, &out->g, &out->b};
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        long v;
        if (reader.Integer(rgb->get(i), field + "[" + std::to_string(i + 1) + "]", 0, 255, &v))
            *parts[i] = static_cast<uint8_t>(v);
        else
            ok = false;
    }
    return ok;
}

// A picture quizpack drew counts as made once the player's own decoder reads
// back exactly its pixels.
bool MadePicture(const RgbImage& image, PictureSource* picture) {
    picture->bytes = EncodePng(image);
    RgbImage back;
    std::string error;
    if (picture->bytes.empty() || !DecodePicture(picture->bytes, &back, &error) ||
        back.width != image.width || back.height != image.height || back.pixels != image.pixels)
        return false;
    picture->info = ReadPictureInfo(picture->bytes);
    return true;
}

// [motsmeles]: the grid, its pictures, the letter counts and the places.
void MakeWordSearchPictures(SourceReader& reader, const toml::node& node,
                            const std::vector<int>& answerLines, bool place, QuizDefinition* quiz) {
    const int line = LineOf(node);
    const toml::table* table = node.as_table();
    if (!table) {
        reader.Report(line, "motsmeles", "doit être une table [motsmeles]");
        return;
    }
    reader.UnknownKeys(*table, {"columns", "rows", "directions", "seed", "cellSize", "lines",
                                "ground", "ink", "tint"},
                       "motsmeles.");
    WordSearchRequest request;
    long value;
    bool ok = true;
    for (auto [key, out] : {std::pair<const char*, int*>{"columns", &request.columns},
                            std::pair<const char*, int*>{"rows", &request.rows}}) {
        if (!table->get(key)) {
            reader.Report(line, std::string("motsmeles.") + key, "manquant");
            ok = false;
        } else if (reader.Integer(table->get(key), std::string("motsmeles.") + key, 2, 40, &value)) {
            *out = static_cast<int>(value);
        } else {
            ok = false;
        }
    }
    if (const toml::node* seed = table->get("seed")) {
        if (reader.Integer(seed, "motsmeles.seed", 0, 2147483647, &value))
            request.seed = static_cast<uint64_t>(value);
        else
            ok = false;
    }
    if (const toml::node* directions = table->get("directions")) {
        const toml::array* list = directions->as_array();
        std::string names;
        for (const Direction& d : kDirections) names += std::string(names.empty() ? "" : ", ") + d.name;
        if (!list || list->empty()) {
            reader.Report(LineOf(*directions), "motsmeles.directions",
                          "doit être une liste de directions parmi " + names);
            ok = false;
        }
        for (size_t i = 0; list && i < list->size(); ++i) {
            const auto* name = list->get(i)->as_string();
            int found = -1;
            for (int d = 0; d < 8 && name; ++d)
                if (name->get() == kDirections[d].name) found = d;
            if (found < 0) {
                reader.Report(LineOf(*list->get(i)), "motsmeles.directions",
                              (name ? "« " + name->get() + " » n'est pas une direction" : std::string("une direction s'écrit entre guillemets")) +
                                  " ; les directions : " + names);
                ok = false;
            } else if (std::find(request.directions.begin(), request.directions.end(), found) ==
                       request.directions.end()) {
                request.directions.push_back(found);
            }
        }
    } else {
        request.directions = {0, 1, 2, 3, 4, 5, 6, 7};
    }
    PuzzleStyle style;
    if (const toml::node* cell = table->get("cellSize")) {
        if (reader.Integer(cell, "motsmeles.cellSize", PuzzleGeometry::kMinCell,
                           PuzzleGeometry::kMaxCell, &value))
            style.cellSize = static_cast<int>(value);
        else
            ok = false;
    }
    ok = Colour(reader, table->get("lines"), "motsmeles.lines", &style.lines) & ok;
    ok = Colour(reader, table->get("ground"), "motsmeles.ground", &style.ground) & ok;
    ok = Colour(reader, table->get("ink"), "motsmeles.ink", &style.ink) & ok;
    ok = Colour(reader, table->get("tint"), "motsmeles.tint", &style.tint) & ok;

    const auto& questions = quiz->package.questions;
    for (size_t k = 0; k < questions.size(); ++k) {
        std::string letters, error;
        if (!GridLetters(questions[k].answer1, &letters, &error)) {
            reader.Report(answerLines[k], "question[" + std::to_string(k + 1) + "].answer", error);
            ok = false;
        }
        request.words.push_back(letters);
    }
    PuzzleGeometry geometry;
    std::string error;
    if (!ok || !place) return;
    if (!MakePuzzleGeometry(request.columns, request.rows, style.cellSize, &geometry, &error)) {
        reader.Report(line, "motsmeles", error);
        return;
    }
    if (questions.empty()) {
        reader.Report(line, "motsmeles", "aucune question : aucun mot à placer");
        return;
    }
    WordSearch search;
    int failed = 0;
    if (!MakeWordSearch(request, &search, &failed, &error)) {
        reader.Report(answerLines[failed], "question[" + std::to_string(failed + 1) + "].answer", error);
        return;
    }
    RgbImage puzzle;
    if (!DrawPuzzle(search, geometry, style, &puzzle, &error)) {
        reader.Report(line, "motsmeles", error);
        return;
    }
    const std::string unread = "l'image dessinée ne se relit pas à l'identique avec le décodeur du lecteur";
    quiz->puzzle.path = "(motsmeles)";
    if (!MadePicture(puzzle, &quiz->puzzle)) {
        reader.Report(line, "motsmeles", unread);
        return;
    }
    for (size_t k = 0; k < questions.size(); ++k) {
        const WordPlace& place = search.places[k];
        QuestionDefinition& def = quiz->questions[k];
        RgbImage overlay;
        if (!DrawOverlay(search, place, geometry, style, puzzle, &overlay, &error)) {
            reader.Report(line, "motsmeles", error);
            return;
        }
        def.overlay.path = "(motsmeles)";
        if (!MadePicture(overlay, &def.overlay)) {
            reader.Report(answerLines[k], "question[" + std::to_string(k + 1) + "].answer", unread);
            return;
        }
        def.hasOverlay = true;
        def.place = geometry.Block(place.left(), place.top(), place.width(), place.height());
        def.letters = place.length;
    }
    quiz->wordSearch = search;
    quiz->geometry = geometry;
}

}  // namespace

uint8_t SingleFieldMarker() {
    for (int b = 1; b < 256; ++b)
        if (quiz::StoredByte(static_cast<uint8_t>(b)) == '-') return static_cast<uint8_t>(b);
    return 0;
}

std::vector<Problem> ReadQuizSource(const std::string& path, QuizDefinition* quiz) {
    std::vector<Problem> problems;
    toml::table root;
    try {
        root = toml::parse_file(path);
    } catch (const toml::parse_error& e) {
        problems.push_back({static_cast<int>(e.source().begin.line), "toml",
                            TomlProblemInFrench(std::string(e.description()))});
        return problems;
    }
    SourceReader reader(fs::path(path).parent_path().string(), &problems);
    quiz::QuizPackage& package = quiz->package;

    reader.UnknownKeys(root,
                       {"executable", "title", "author", "subtitle", "answerCaption1",
                        "answerCaption2", "linkText", "statusText", "quizKind",
                        "answersPerQuestion", "layoutType", "background", "scrambled", "puzzle",
                        "question", "motsmeles"},
                       "");
    for (const auto& [key, node] : root) quiz->lines[std::string(key.str())] = LineOf(node);

    // The executable's name: the progress file takes it with the ending txt.
    if (const toml::node* node = root.get("executable")) {
        const auto* value = node->as_string();
        std::string name = value ? value->get() : "";
        bool ok = !name.empty() && name.size() <= 64 &&
                  std::all_of(name.begin(), name.end(), [](char c) {
                      return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '-' || c == '_';
                  });
        if (!ok)
            reader.Report(LineOf(*node), "executable",
                          "doit tenir en 1 à 64 lettres, chiffres, « - » ou « _ » (sans "
                          "extension : .exe est ajouté)");
        quiz->executable = name;
    } else {
        reader.Report(1, "executable", "manquant");
    }

    package.title = reader.Text(root.get("title"), 1, "title", kMaxText, true);
    package.author = reader.Text(root.get("author"), 1, "author", kMaxText);
    package.subtitle = reader.Text(root.get("subtitle"), 1, "subtitle", kMaxText);
    package.answerCaption1 = reader.Text(root.get("answerCaption1"), 1, "answerCaption1", kMaxText);
    package.answerCaption2 = reader.Text(root.get("answerCaption2"), 1, "answerCaption2", kMaxText);
    package.linkText =
        reader.Text(root.get("linkText"), 1, "linkText", quiz::kLinkTextSize - 1);
    package.statusText =
        reader.Text(root.get("statusText"), 1, "statusText", quiz::kStatusTextSize - 1);

    long value;
    package.quizKind = 1;
    if (reader.Integer(root.get("quizKind"), "quizKind", -1, 254, &value))
        package.quizKind = static_cast<int>(value);
    package.answersPerQuestion = 1;
    if (reader.Integer(root.get("answersPerQuestion"), "answersPerQuestion", 1, 2, &value))
        package.answersPerQuestion = static_cast<int>(value);
    package.layoutType = 0;
    if (reader.Integer(root.get("layoutType"), "layoutType", 0, 9, &value))
        package.layoutType = static_cast<int>(value);
    if (const toml::node* node = root.get("scrambled")) {
        if (const auto* flag = node->as_boolean())
            quiz->scrambled = flag->get();
        else
            reader.Report(LineOf(*node), "scrambled", "doit valoir true ou false");
    }
    Rgb background{package.red, package.green, package.blue};
    if (Colour(reader, root.get("background"), "background", &background)) {
        package.red = background.r;
        package.green = background.g;
        package.blue = background.b;
    }
    const toml::node* wordSearch = root.get("motsmeles");
    bool havePuzzle = false;
    if (!wordSearch)
        havePuzzle = reader.Picture(root.get("puzzle"), 1, "puzzle", &quiz->puzzle);
    else if (const toml::node* puzzle = root.get("puzzle"))
        reader.Report(LineOf(*puzzle), "puzzle",
                      "avec [motsmeles], quizpack dessine la grille lui-même ; retirez ce champ");
    std::vector<int> answerLines;  // the line of each question's first answer

    const toml::node* questionsNode = root.get("question");
    const toml::array* questions = questionsNode ? questionsNode->as_array() : nullptr;
    if (questionsNode && (!questions || !questions->is_array_of_tables())) {
        reader.Report(LineOf(*questionsNode), "question",
                      "écrivez chaque question sous la forme [[question]]");
        questions = nullptr;
    }
    size_t count = questions ? questions->size() : 0;
    if (count > static_cast<size_t>(quiz::kMaxQuestions))
        reader.Report(LineOf(*questions->get(quiz::kMaxQuestions)), "question",
                      std::to_string(count) + " questions, " +
                          std::to_string(quiz::kMaxQuestions) + " au plus");

    const int sectionStrings = quiz::LayoutStringsPerQuestion(package.layoutType);
    for (size_t k = 0; k < count; ++k) {
        const toml::table& table = *questions->get(k)->as_table();
        const int line = LineOf(table);
        const std::string prefix = "question[" + std::to_string(k + 1) + "].";
        reader.UnknownKeys(table,
                           {"answer", "answers", "spare", "text", "text2", "code", "letters",
                            "overlay", "place"},
                           prefix);
        quiz::QuestionSource q;
        QuestionDefinition def;

        // Answers: `answer = "..."` or `answers = ["...", "..."]`. In a quiz with
        // two answers a question, a single answer leaves one visible field.
        std::vector<std::pair<const toml::node*, std::string>> answers;
        const toml::node* one = table.get("answer");
        const toml::node* many = table.get("answers");
        if (one && many) {
            reader.Report(LineOf(*many), prefix + "answers",
                          "donnez answer ou answers, pas les deux");
        } else if (one) {
            answers.push_back({one, "answer"});
        } else if (many) {
            const toml::array* list = many->as_array();
            if (!list || list->empty() || list->size() > 2) {
                reader.Report(LineOf(*many), prefix + "answers",
                              "doit contenir une ou deux réponses");
            } else {
                for (size_t a = 0; a < list->size(); ++a)
                    answers.push_back({list->get(a), "answers[" + std::to_string(a + 1) + "]"});
            }
        } else {
            reader.Report(line, prefix + "answer", "manquant");
        }
        if (answers.size() == 2 && package.answersPerQuestion == 1)
            reader.Report(LineOf(*answers[1].first), prefix + "answers",
                          "deux réponses, mais answersPerQuestion vaut 1");
        answerLines.push_back(answers.empty() ? line : LineOf(*answers[0].first));
        for (size_t a = 0; a < answers.size() && a < 2; ++a) {
            std::string text =
                reader.Text(answers[a].first, line, prefix + answers[a].second, kMaxText);
            CheckTypable(reader, LineOf(*answers[a].first), prefix + answers[a].second, text);
            if (a == 1 && StoredFormOf(text) == "-")
                reader.Report(LineOf(*answers[a].first), prefix + answers[a].second,
                              "cette réponse cacherait le second champ ; pour un seul champ "
                              "visible, donnez une seule réponse");
            (a == 0 ? q.answer1 : q.answer2) = text;
        }
        if (package.answersPerQuestion == 2 && answers.size() == 1)
            q.answer2 = std::string(1, static_cast<char>(SingleFieldMarker()));

        q.spareText = reader.Text(table.get("spare"), line, prefix + "spare", kMaxText);
        const toml::node* text = table.get("text");
        const toml::node* text2 = table.get("text2");
        if (sectionStrings == 0) {
            for (const toml::node* node : {text, text2})
                if (node)
                    reader.Report(LineOf(*node), prefix + (node == text ? "text" : "text2"),
                                  "la mise en page " + std::to_string(package.layoutType) +
                                      " n'affiche aucun texte ; celui-ci serait perdu");
        } else {
            q.extraText = reader.Text(text, line, prefix + "text", kMaxText, true);
            if (sectionStrings == 2)
                q.extraText2 = reader.Text(text2, line, prefix + "text2", kMaxText);
            else if (text2)
                reader.Report(LineOf(*text2), prefix + "text2",
                              "la mise en page " + std::to_string(package.layoutType) +
                                  " prend un seul texte par question");
        }
        package.questionLines.push_back(
            reader.Text(table.get("code"), line, prefix + "code", kMaxText));

        def.letters = CountLetters(q.answer1);
        if (reader.Integer(table.get("letters"), prefix + "letters", 0, 999, &value))
            def.letters = static_cast<int>(value);

        if (wordSearch) {
            for (const char* key : {"letters", "overlay", "place"})
                if (const toml::node* node = table.get(key))
                    reader.Report(LineOf(*node), prefix + key,
                                  "avec [motsmeles], quizpack le calcule lui-même ; retirez ce champ");
            package.questions.push_back(q);
            quiz->questions.push_back(def);
            continue;
        }
        const toml::node* overlay = table.get("overlay");
        const toml::node* place = table.get("place");
        if (overlay) {
            def.hasOverlay = reader.Picture(overlay, line, prefix + "overlay", &def.overlay);
            bool placeOk = false;
            if (!place) {
                reader.Report(line, prefix + "place",
                              "manquant : l'endroit où va la surimpression");
            } else if (const toml::array* rect = place->as_array(); rect && rect->size() == 4) {
                placeOk = true;
                const char* names[] = {"left", "top", "width", "height"};
                for (int i = 0; i < 4; ++i) {
                    long v;
                    if (reader.Integer(rect->get(i), prefix + "place." + names[i], i < 2 ? 0 : 1,
                                       65535, &v))
                        def.place[i] = static_cast<int>(v);
                    else
                        placeOk = false;
                }
            } else {
                reader.Report(LineOf(*place), prefix + "place",
                              "doit être [gauche, haut, largeur, hauteur]");
            }
            if (def.hasOverlay && placeOk) {
                const PictureInfo& info = def.overlay.info;
                if (info.width != def.place[2] || info.height != def.place[3])
                    reader.Report(LineOf(*overlay), prefix + "overlay",
                                  "l'image fait " + std::to_string(info.width) + " x " +
                                      std::to_string(info.height) + ", sa place " +
                                      std::to_string(def.place[2]) + " x " +
                                      std::to_string(def.place[3]));
                if (havePuzzle && (def.place[0] + def.place[2] > quiz->puzzle.info.width ||
                                   def.place[1] + def.place[3] > quiz->puzzle.info.height))
                    reader.Report(LineOf(*place), prefix + "place",
                                  "sort de l'image de la grille (" +
                                      std::to_string(quiz->puzzle.info.width) + " x " +
                                      std::to_string(quiz->puzzle.info.height) + ")");
            }
            def.hasOverlay = def.hasOverlay && placeOk;
        } else if (place) {
            reader.Report(LineOf(*place), prefix + "place", "une place sans surimpression");
        }
        package.questions.push_back(q);
        quiz->questions.push_back(def);
    }
    // The words are placed only once the rest of the source reads well: an
    // answer already refused would only be refused a second time.
    if (wordSearch) MakeWordSearchPictures(reader, *wordSearch, answerLines, problems.empty(), quiz);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    return problems;
}

namespace {

std::vector<uint8_t> TextFile(const std::string& text) { return {text.begin(), text.end()}; }

const char* PictureEnding(PictureFormat format) {
    switch (format) {
        case PictureFormat::Gif: return ".gif";
        case PictureFormat::Jpeg: return ".jpg";
        case PictureFormat::Bmp: return ".bmp";
        default: return ".png";
    }
}

// PNG pictures go to the player's own decoder, as RT_RCDATA under the same
// id; every other format to the platform's loader, as "IMG".
std::string PictureLine(int id, const PictureSource& picture,
                        std::map<std::string, std::vector<uint8_t>>* files) {
    std::string name = "img_" + std::to_string(id) + PictureEnding(picture.info.format);
    (*files)[name] = picture.bytes;
    const char* type = picture.info.format == PictureFormat::Png ? "RCDATA" : "IMG";
    return std::to_string(id) + " " + type + " \"" + name + "\"\n";
}

}  // namespace

std::vector<Problem> MakeBuildFiles(const QuizDefinition& quiz, const std::string& sourcePath,
                                    std::map<std::string, std::vector<uint8_t>>* files) {
    files->clear();
    quiz::StoredRecords records;
    std::string error;
    quiz::ScrambleChoice scramble{quiz.scrambled, quiz.scrambled, quiz.scrambled};
    if (!quiz::WritePackageRecords(quiz.package, scramble, &records, &error)) {
        auto lineOf = [&](const char* key) {
            auto found = quiz.lines.find(key);
            return found == quiz.lines.end() ? 1 : found->second;
        };
        if (error.find("brouillé,") != std::string::npos)
            return {{lineOf("scrambled"), "scrambled", error}};
        if (error.rfind("enregistrement intégré", 0) == 0)

            return {{lineOf(quiz.lines.count("linkText") ? "linkText" : "statusText"),
                     "linkText, statusText", error}};
        return {{lineOf("question"), "question", error}};
    }
    const std::string source = fs::path(sourcePath).filename().string();
    const std::string banner = "// Made by quizpack build from " + source + "; do not edit.\n";

    std::ostringstream builtIn;
    builtIn << banner << "#include \"model/builtin_record.h\"\n\nnamespace quiz {\n\n"
            << "const uint8_t kBuiltInRecord[kBuiltInRecordSize] = {";
    for (size_t i = 0; i < records.builtIn.size(); ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02x", records.builtIn[i]);
        builtIn << (i % 12 ? " " : "\n    ") << hex << ",";
    }
    builtIn << "\n};\n\n}  // namespace quiz\n";
    (*files)["builtin_record.cpp"] = TextFile(builtIn.str());
    (*files)["builtin.bin"] = {records.builtIn.begin(), records.builtIn.end()};  // for inspect
    (*files)["record104.bin"] = records.record104;
    (*files)["record105.bin"] = records.record105;

    const size_t count = quiz.questions.size();
    std::ostringstream tables;
    tables << banner << "#include \"grid/quiz_tables.h\"\n\nnamespace quiz {\n\n"
           << "const int kQuizTableSize = " << count << ";\n\n"
           << "const int letterCounts[] = {";
    for (size_t k = 0; k < count; ++k) tables << (k % 12 ? " " : "\n    ") << quiz.questions[k].letters << ",";
    if (!count) tables << "0";  // an array is never empty
    tables << "\n};\n\n// left, top, width, height; width 0: no overlay\n"
           << "const AnswerPlace answerPlaces[] = {\n";
    for (size_t k = 0; k < count; ++k) {
        const QuestionDefinition& q = quiz.questions[k];
        std::array<int, 4> p = q.hasOverlay ? q.place : std::array<int, 4>{0, 0, 0, 0};
        tables << "    {" << p[0] << ", " << p[1] << ", " << p[2] << ", " << p[3] << "},  // "
               << (k + 1) << "\n";
    }
    if (!count) tables << "    {0, 0, 0, 0},\n";
    tables << "};\n\n}  // namespace quiz\n";
    (*files)["quiz_tables.cpp"] = TextFile(tables.str());

    std::string rc = "// Made by quizpack build from " + source + "; do not edit.\n"
                     "LANGUAGE 9, 1\n\n" +
                     PictureLine(kPuzzleId, quiz.puzzle, files);
    for (size_t k = 0; k < count; ++k)
        if (quiz.questions[k].hasOverlay)
            rc += PictureLine(kOverlayBase + static_cast<int>(k) + 1, quiz.questions[k].overlay,
                              files);
    rc += "\n104 PATCH \"record104.bin\"\n105 PATCH \"record105.bin\"\n";
    (*files)["quiz_pictures.rc"] = TextFile(rc);

    (*files)["quiz.cmake"] = TextFile("# Made by quizpack build from " + source +
                                      "; do not edit.\nset(QUIZ_EXECUTABLE_NAME \"" +
                                      quiz.executable + "\")\n");
    return {};
}

}  // namespace quizpack
