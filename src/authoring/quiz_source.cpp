#include "quiz_source.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <filesystem>
#include <set>
#include <sstream>
#include <toml++/toml.h>

#include "exe/pe_resources.h"
#include "judge/player_verdict.h"
#include "model/lzw.h"
#include "model/stored_form.h"
#include "judge/code_field.h"
#include "text/french.h"
#include "pictures/raster.h"
#include "text/text.h"
#include "sections/word_search/word_search.h"
#include "sections/word_search/word_search_picture.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxText = quiz::kTextSize - 1;
constexpr int kPuzzleId = 400;
constexpr int kOverlayBase = 10400;

int LineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

// TOML reads "images\tache.png" as "images", a tab, "ache.png": a Windows
// path written with backslashes. Says so, with the path to write instead;
// "" when the path holds no such character.
std::string EscapesInPath(const std::string& path) {
    static const char kEscapes[][2] = {{'\b', 'b'}, {'\t', 't'}, {'\n', 'n'}, {'\f', 'f'}, {'\r', 'r'}};
    std::vector<std::string> seen;
    std::string mended;
    for (char c : path) {
        const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [c](const char* e) { return e[0] == c; });
        if (escape == std::end(kEscapes)) {
            mended += c;
            continue;
        }
        const std::string named = std::string("« \\") + (*escape)[1] + " »";
        if (std::find(seen.begin(), seen.end(), named) == seen.end()) seen.push_back(named);
        mended += std::string("/") + (*escape)[1];
    }
    if (seen.empty()) return "";
    return FirstThreeAndCount(seen) + " dans un chemin : écrivez " + mended;
}

// The executable's name without what Windows names of other languages may
// spell differently: accents folded ("ferme-été" gives "ferme-ete"), spaces
// as hyphens, anything else left out.
std::string AsciiProgramName(const std::string& utf8) {
    std::string cp1252, ascii;
    Utf8ToCp1252(utf8, &cp1252, nullptr);
    for (char c : cp1252) {
        const uint8_t b = static_cast<uint8_t>(c);
        if ((b >= '0' && b <= '9') || b == '-' || b == '_' || b == ' ') {
            ascii += b == ' ' ? '-' : c;
        } else if (const char* folded = FoldedLetters(b)) {
            const bool lower = (b >= 'a' && b <= 'z') || b >= 0xDF || b == 0x9A || b == 0x9C || b == 0x9E;
            for (const char* f = folded; *f; ++f) ascii += lower ? static_cast<char>(*f + 32) : *f;
        }
    }
    return ascii;
}

class SourceReader {
public:
    SourceReader(std::string folder, std::vector<Problem>* problems)
        : folder_(std::move(folder)), problems_(problems) {}

    void Report(int line, std::string field, std::string message) {
        problems_->push_back({line, std::move(field), std::move(message)});
    }
    void Warn(int line, std::string field, std::string message) {
        problems_->push_back({line, std::move(field), "attention : " + std::move(message), true});
    }

    // A text of the record: UTF-8 in the source, CP1252 in the record, no '|',
    // no NUL, at most `limit` bytes. Lines are allowed only where `lines` is.
    // `read` tells whether a text was there and could be read: checks that
    // follow from a text are made only then.
    std::string Text(const toml::node* node, int fallbackLine, const std::string& field,
                     size_t limit, bool required = false, bool lines = false, bool* read = nullptr) {
        if (read) *read = false;
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
        if (read) *read = true;
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
        if (std::string escapes = EscapesInPath(value->get()); !escapes.empty()) {
            Report(LineOf(*node), field, escapes);
            return false;
        }
        fs::path path = PathOfUtf8(folder_) / PathOfUtf8(value->get());
        picture->path = Utf8OfPath(path);
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
        const PictureInfo& info = picture->info;
        const PictureFormat named = FormatOfName(value->get());
        if (named != PictureFormat::Unknown && named != info.format) {
            Report(LineOf(*node), field,
                   value->get() + " est une image " + PictureFormatName(info.format) +
                       " sous un nom d'image " + PictureFormatName(named) +
                       " : donnez-lui l'extension de son format, ou enregistrez-la en " +
                       PictureFormatName(named));
            return false;
        }
        if (info.width <= 0 || info.height <= 0) {
            Report(LineOf(*node), field, "impossible de lire la taille de " + value->get());
            return false;
        }
        if (info.width > kMaxPictureSide || info.height > kMaxPictureSide) {
            Report(LineOf(*node), field,
                   value->get() + " fait " + std::to_string(info.width) + " x " +
                       std::to_string(info.height) + " pixels ; le lecteur en montre " +
                       std::to_string(kMaxPictureSide) + " x " + std::to_string(kMaxPictureSide) +
                       " au plus");
            return false;
        }
        // Decoded as the player will, so that a picture that would not show
        // never ships.
        RgbImage decoded;
        std::string error;
        if (!DecodePicture(picture->bytes, &decoded, &error)) {
            Report(LineOf(*node), field, value->get() + " ne se décode pas : " + error);
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

// CP1252 letters of both cases: ASCII, the accented block and the four
// pairs CP1252 keeps in 0x80..0x9F.
char OtherCase(char c, bool upper) {
    const uint8_t b = static_cast<uint8_t>(c);
    static const uint8_t kPairs[][2] = {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};
    for (const auto& pair : kPairs)
        if (b == pair[0] || b == pair[1]) return static_cast<char>(upper ? pair[0] : pair[1]);
    if (upper && ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)))
        return static_cast<char>(b - 0x20);
    if (!upper && ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)))
        return static_cast<char>(b + 0x20);
    return c;
}

// Œ, Š, Ž and Ÿ: the player folds neither their case nor their spelling, so
// an author hears what a player typing the usual other forms will see.
void WarnUnfoldedLetters(SourceReader& reader, int line, const std::string& field,
                         const std::string& answer) {
    struct Letter {
        uint8_t upper, lower;
        const char* spelledUpper;
        const char* spelledLower;
    };
    static const Letter kLetters[] = {{0x8C, 0x9C, "OE", "oe"},
                                      {0x8A, 0x9A, "S", "s"},
                                      {0x8E, 0x9E, "Z", "z"},
                                      {0x9F, 0xFF, "Y", "y"}};
    for (const Letter& letter : kLetters) {
        const size_t at = answer.find_first_of(std::string{char(letter.upper), char(letter.lower)});
        if (at == std::string::npos) continue;
        std::string spelled;
        for (char c : answer) {
            if (static_cast<uint8_t>(c) == letter.upper) spelled += letter.spelledUpper;
            else if (static_cast<uint8_t>(c) == letter.lower) spelled += letter.spelledLower;
            else spelled += c;
        }
        // The whole answer in the other case from the letter's own.
        const bool toUpper = static_cast<uint8_t>(answer[at]) == letter.lower;
        std::string recased = answer;
        for (char& c : recased) c = OtherCase(c, toUpper);
        std::string said;
        for (const std::string& typed : {spelled, recased}) {
            const std::string verdict = PlayerVerdict(answer, typed);
            if (verdict == "BRAVO") continue;
            said += std::string(said.empty() ? "" : ", et ") + "qui tape « " + Cp1252ToUtf8(typed) +
                    " » lit « " + Cp1252ToUtf8(verdict) + " »";
        }
        if (!said.empty())
            reader.Warn(line, field,
                        "« " + Cp1252ToUtf8(std::string(1, answer[at])) +
                            " » ne se tape pas comme une autre lettre : un joueur " + said +
                            " ; seule cette orthographe, dans cette casse, est juste");
    }
}

// A word processor's ’ and ‘ become the ' a keyboard types.
std::string KeyboardApostrophes(SourceReader& reader, int line, const std::string& field,
                                std::string answer) {
    bool changed = false;
    for (char& c : answer)
        if (static_cast<uint8_t>(c) == 0x91 || static_cast<uint8_t>(c) == 0x92) {
            c = '\'';
            changed = true;
        }
    if (changed)
        reader.Warn(line, field,
                    "« ’ » et « ‘ » sont enregistrés comme « ' », l'apostrophe que tape un "
                    "clavier : la réponse devient « " + Cp1252ToUtf8(answer) + " »");
    return answer;
}

// A picture quizpack drew counts as made once the player's own decoder reads
// back exactly its pixels. A palette PNG where 256 colours do, RGB otherwise:
// the smaller file, and less for the player to inflate.
bool MadePicture(const RgbImage& image, PictureSource* picture) {
    picture->bytes = EncodeIndexedPng(image);
    if (picture->bytes.empty()) picture->bytes = EncodePng(image);
    RgbImage back;
    std::string error;
    if (picture->bytes.empty() || !DecodePicture(picture->bytes, &back, &error) ||
        back.width != image.width || back.height != image.height || back.pixels != image.pixels)
        return false;
    picture->info = ReadPictureInfo(picture->bytes);
    return true;
}

// How far apart two colours are: the plain distance in RGB, 0 to 441.
double ColourDistance(Rgb a, Rgb b) {
    const double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

std::string ColourText(Rgb c) {
    return "[" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + "]";
}

// [motsmeles]: the grid, its pictures, the letter counts and the places.
// The section and every word are judged whatever else the source holds; the
// words are placed only when nothing at all is wrong (`place`).
void MakeWordSearchPictures(SourceReader& reader, const toml::node& node,
                            const std::vector<int>& answerLines,
                            const std::vector<bool>& answerRead, bool place, QuizDefinition* quiz) {
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
    for (auto [key, out, most] :
         {std::tuple<const char*, int*, int>{"columns", &request.columns, PuzzleGeometry::kMaxColumns},
          std::tuple<const char*, int*, int>{"rows", &request.rows, PuzzleGeometry::kMaxRows}}) {
        if (!table->get(key)) {
            reader.Report(line, std::string("motsmeles.") + key, "manquant");
            ok = false;
        } else if (reader.Integer(table->get(key), std::string("motsmeles.") + key, 2, most, &value)) {
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
            } else if (std::find(request.directions.begin(), request.directions.end(), found) !=
                       request.directions.end()) {
                reader.Report(LineOf(*list->get(i)), "motsmeles.directions",
                              "« " + name->get() + " » est donnée deux fois ; vouliez-vous une autre direction ?");
                ok = false;
            } else {
                request.directions.push_back(found);
            }
        }
    } else {
        request.directions = {0, 1, 2, 3, 4, 5, 6, 7};
    }
    PuzzleStyle style;
    bool cellOk = true;
    if (const toml::node* cell = table->get("cellSize")) {
        if (reader.Integer(cell, "motsmeles.cellSize", PuzzleGeometry::kMinCell,
                           PuzzleGeometry::kMaxCell, &value))
            style.cellSize = static_cast<int>(value);
        else
            cellOk = false;
    }
    bool coloursOk = Colour(reader, table->get("lines"), "motsmeles.lines", &style.lines);
    coloursOk = Colour(reader, table->get("ground"), "motsmeles.ground", &style.ground) & coloursOk;
    coloursOk = Colour(reader, table->get("ink"), "motsmeles.ink", &style.ink) & coloursOk;
    coloursOk = Colour(reader, table->get("tint"), "motsmeles.tint", &style.tint) & coloursOk;
    if (coloursOk) {
        // Letters must show on the ground and on the tint of a found word, and
        // the ruled lines on the ground.
        struct Pair {
            const char* field;
            Rgb a, b;
            const char* what;
        } pairs[] = {{"ink", style.ink, style.ground, "du fond des cases (ground)"},
                     {"ink", style.ink, style.tint, "de la teinte des mots trouvés (tint)"},
                     {"lines", style.lines, style.ground, "du fond des cases (ground)"}};
        for (const Pair& pair : pairs) {
            const double distance = ColourDistance(pair.a, pair.b);
            if (distance >= kMinColourDistance) continue;
            const toml::node* given = table->get(pair.field);
            reader.Report(given ? LineOf(*given) : line, std::string("motsmeles.") + pair.field,
                          ColourText(pair.a) + " se distingue mal " + pair.what + " " +
                              ColourText(pair.b) + " : écart de " +
                              std::to_string(static_cast<int>(distance)) + ", il en faut " +
                              std::to_string(static_cast<int>(kMinColourDistance)) + " au moins");
        }
    }
    const auto& questions = quiz->package.questions;
    bool lettersOk = true;
    for (size_t k = 0; k < questions.size(); ++k) {
        std::string letters, error;
        if (answerRead[k] && !GridLetters(questions[k].answer1, &letters, &error)) {
            reader.Report(answerLines[k], "question[" + std::to_string(k + 1) + "].answer", error);
            lettersOk = false;
        }
        request.words.push_back(letters);
    }
    // The grid's size and directions are all the words are judged against.
    if (!ok) return;
    PuzzleGeometry geometry;
    std::string error;
    if (cellOk && !MakePuzzleGeometry(request.columns, request.rows, style.cellSize, &geometry, &error)) {
        reader.Report(line, "motsmeles", error);
        cellOk = false;
    }
    if (!lettersOk || questions.empty() ||
        std::find(answerRead.begin(), answerRead.end(), false) != answerRead.end())
        return;
    // Every word that cannot go in, before any search.
    const std::vector<WordProblem> words = JudgeWords(request);
    for (const WordProblem& p : words)
        reader.Report(answerLines[p.word], "question[" + std::to_string(p.word + 1) + "].answer",
                      p.message);
    if (!words.empty()) return;
    if (std::string crowded = CrowdedGrid(request); !crowded.empty()) {
        reader.Report(line, "motsmeles", crowded);
        return;
    }
    if (!place || !cellOk || !coloursOk) return;
    WordSearch search;
    int failed = 0;
    if (!MakeWordSearch(request, &search, &failed, &error)) {
        if (failed < 0)
            reader.Report(line, "motsmeles", error);
        else
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

bool HasErrors(const std::vector<Problem>& problems) {
    return std::any_of(problems.begin(), problems.end(), [](const Problem& p) { return !p.warning; });
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

std::vector<Problem> ReadQuizSource(const std::string& path, QuizDefinition* quiz) {
    std::vector<Problem> problems;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes)) {
        problems.push_back({1, "toml", "impossible de lire le fichier"});
        return problems;
    }
    std::string text(bytes.begin(), bytes.end());
    int badLine = 1;
    if (std::string encoding = SourceEncodingProblem(text, &badLine); !encoding.empty()) {
        problems.push_back({badLine, "toml", encoding});
        return problems;
    }
    // Old Mac editors end lines with a lone CR; they are line ends too.
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) text[i] = '\n';
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& e) {
        problems.push_back({static_cast<int>(e.source().begin.line), "toml",
                            TomlProblemInFrench(std::string(e.description()))});
        return problems;
    }
    SourceReader reader(Utf8OfPath(PathOfUtf8(path).parent_path()), &problems);
    quiz::QuizPackage& package = quiz->package;

    reader.UnknownKeys(root,
                       {"executable", "title", "author", "subtitle", "answerCaption1",
                        "answerCaption2", "linkText", "statusText", "quizKind",
                        "answersPerQuestion", "layoutType", "background", "scrambled", "puzzle",
                        "question", "motsmeles", "version"},
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
        const std::string ascii = AsciiProgramName(name);
        const bool accented = std::any_of(name.begin(), name.end(), [](char c) { return static_cast<uint8_t>(c) >= 0x80; });
        if (!ok && accented && !ascii.empty() && ascii.size() <= 64)
            reader.Report(LineOf(*node), "executable",
                          "« " + name + " » : écrivez « " + ascii + " » (lettres sans accent, "
                          "chiffres, « - » ou « _ » seulement)");
        else if (!ok)
            reader.Report(LineOf(*node), "executable",
                          "doit tenir en 1 à 64 lettres, chiffres, « - » ou « _ » (sans "
                          "extension : .exe est ajouté)");
        quiz->executable = name;
    } else {
        reader.Report(1, "executable", "manquant");
    }

    // The version the .exe's properties show: one to four numbers up to 65535.
    if (const toml::node* node = root.get("version")) {
        const auto* value = node->as_string();
        std::vector<uint16_t> parts;
        if (!value || !ParseVersion(value->get(), &parts))
            reader.Report(LineOf(*node), "version",
                          "doit être de 1 à 4 nombres de 0 à 65535 séparés par des points "
                          "(\"1.2\"), entre guillemets");
        else
            quiz->version = value->get();
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
    // A field refused here gives its one message: what follows from it is
    // not judged against a value the author never gave.
    const bool answersKnown = !root.get("answersPerQuestion") ||
                              reader.Integer(root.get("answersPerQuestion"), "answersPerQuestion", 1, 2, &value);
    if (root.get("answersPerQuestion") && answersKnown)
        package.answersPerQuestion = static_cast<int>(value);
    package.layoutType = 0;
    const bool layoutKnown =
        !root.get("layoutType") || reader.Integer(root.get("layoutType"), "layoutType", 0, 9, &value);
    if (root.get("layoutType") && layoutKnown) package.layoutType = static_cast<int>(value);
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
    std::vector<bool> answersRead;  // whether its answers could be read at all

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
        if (answers.size() == 2 && package.answersPerQuestion == 1 && answersKnown)
            reader.Report(LineOf(*answers[1].first), prefix + "answers",
                          "deux réponses, mais answersPerQuestion vaut 1");
        answerLines.push_back(answers.empty() ? line : LineOf(*answers[0].first));

        bool answerRead = !answers.empty();
        for (size_t a = 0; a < answers.size() && a < 2; ++a) {
            const int answerLine = LineOf(*answers[a].first);
            const std::string field = prefix + answers[a].second;
            bool read = false;
            std::string text =
                reader.Text(answers[a].first, line, field, kMaxText, false, false, &read);
            answerRead = answerRead && read;
            if (!read) continue;  // already said why; nothing follows from it
            text = KeyboardApostrophes(reader, answerLine, field, text);
            CheckTypable(reader, answerLine, field, text);
            WarnUnfoldedLetters(reader, answerLine, field, text);
            if (a == 1 && StoredFormOf(text) == "-")
                reader.Report(LineOf(*answers[a].first), prefix + answers[a].second,
                              "cette réponse cacherait le second champ ; pour un seul champ "
                              "visible, donnez une seule réponse");
            (a == 0 ? q.answer1 : q.answer2) = text;
        }
        answersRead.push_back(answerRead);
        if (package.answersPerQuestion == 2 && answers.size() == 1)
            q.answer2 = std::string(1, static_cast<char>(SingleFieldMarker()));

        q.spareText = reader.Text(table.get("spare"), line, prefix + "spare", kMaxText);
        const toml::node* text = table.get("text");
        const toml::node* text2 = table.get("text2");
        if (!layoutKnown) {
            q.extraText = reader.Text(text, line, prefix + "text", kMaxText);
            q.extraText2 = reader.Text(text2, line, prefix + "text2", kMaxText);
        } else if (sectionStrings == 0) {
            for (const toml::node* node : {text, text2})
                if (node)
                    reader.Report(LineOf(*node), prefix + (node == text ? "text" : "text2"),
                                  "la mise en page " + std::to_string(package.layoutType) +
                                      " n'affiche aucun texte ; celui-ci serait perdu");
        } else {
            // Layout 1 keeps a text a question never shows: it may be left out.
            q.extraText = reader.Text(text, line, prefix + "text", kMaxText, package.layoutType != 1);
            if (sectionStrings == 2)
                q.extraText2 = reader.Text(text2, line, prefix + "text2", kMaxText);
            else if (text2)
                reader.Report(LineOf(*text2), prefix + "text2",
                              "la mise en page " + std::to_string(package.layoutType) +
                                  " prend un seul texte par question");
        }
        package.questionLines.push_back(
            reader.Text(table.get("code"), line, prefix + "code", kMaxText));
        if (const std::string& code = package.questionLines.back();
            VisibleCodeText(code).size() < code.size())
            reader.Warn(LineOf(*table.get("code")), prefix + "code",
                        "le champ du code, large de 53 pixels, n'en montre que « " +
                            Cp1252ToUtf8(VisibleCodeText(code)) + " » ; environ 8 caractères y tiennent");

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
    if (count == 0 && (!questionsNode || questions))
        reader.Report(questionsNode ? LineOf(*questionsNode) : 1, "question",
                      "aucune question : ajoutez au moins un bloc [[question]]");
    // The words are placed only once the rest of the source reads well; they
    // are judged in any case.
    if (wordSearch)
        MakeWordSearchPictures(reader, *wordSearch, answerLines, answersRead, !HasErrors(problems),
                               quiz);
    std::stable_sort(problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
        return a.warning != b.warning ? b.warning : a.line < b.line;
    });
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

constexpr uint16_t kRtRcdata = 10;
constexpr uint16_t kRtVersion = 16;

// PNG pictures go to the player's own decoder, as RT_RCDATA under the same
// id, and so do opaque GIF pictures, stored as the PNG of the same pixels: the
// platform's GIF loader costs a start-up about ten times as much per picture.
// A JPEG, a BMP and a GIF with transparent pixels go to the platform's loader,
// as "IMG".
Resource PictureResource(int id, const PictureSource& picture) {
    Resource r;
    r.name = ResourceId(static_cast<uint16_t>(id));
    std::vector<uint8_t> png;
    if (picture.info.format == PictureFormat::Gif) png = GifAsPng(picture.bytes);
    if (picture.info.format == PictureFormat::Png || !png.empty()) {
        r.type = ResourceId(kRtRcdata);
        r.data = png.empty() ? picture.bytes : std::move(png);
    } else {
        r.type = ResourceName("IMG");
        r.data = picture.bytes;
    }
    return r;
}

Resource DataResource(const char* type, int id, std::vector<uint8_t> data) {
    Resource r;
    r.type = ResourceName(type);
    r.name = ResourceId(static_cast<uint16_t>(id));
    r.data = std::move(data);
    return r;
}

std::u16string Utf16Of(const std::string& cp1252) { return Utf8ToUtf16(Cp1252ToUtf8(cp1252)); }

}  // namespace

std::vector<Problem> MakeQuizResources(const QuizDefinition& quiz, std::vector<Resource>* resources) {
    resources->clear();
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
    resources->push_back(PictureResource(kPuzzleId, quiz.puzzle));
    std::vector<int> counts;
    std::vector<quiz::AnswerPlace> places;
    for (size_t k = 0; k < quiz.questions.size(); ++k) {
        const QuestionDefinition& q = quiz.questions[k];
        if (q.hasOverlay)
            resources->push_back(PictureResource(kOverlayBase + static_cast<int>(k) + 1, q.overlay));
        counts.push_back(q.letters);
        const std::array<int, 4> p = q.hasOverlay ? q.place : std::array<int, 4>{0, 0, 0, 0};
        places.push_back({p[0], p[1], p[2], p[3]});
    }
    resources->push_back(DataResource("PATCH", quiz::kBuiltInRecordResourceId,
                                      {records.builtIn.begin(), records.builtIn.end()}));
    resources->push_back(DataResource("PATCH", 104, records.record104));
    resources->push_back(DataResource("PATCH", 105, records.record105));
    resources->push_back(DataResource(quiz::kTableResourceType, quiz::kLetterCountTableId,
                                      quiz::LetterCountTable(counts)));
    resources->push_back(DataResource(quiz::kTableResourceType, quiz::kAnswerPlaceTableId,
                                      quiz::AnswerPlaceTable(places)));

    VersionStrings strings;
    strings.product = Utf16Of(quiz.package.title);
    strings.company = Utf16Of(quiz.package.author);
    strings.version = Utf8ToUtf16(quiz.version);
    strings.fileName = Utf8ToUtf16(quiz.executable + ".exe");
    strings.comments = Utf8ToUtf16("Fait avec quizpack " QUIZPACK_VERSION);
    std::vector<uint16_t> numbers;
    ParseVersion(quiz.version, &numbers);
    Resource version;
    version.type = ResourceId(kRtVersion);
    version.name = ResourceId(1);
    version.data = VersionResource(strings, numbers);
    resources->push_back(std::move(version));
    return {};
}

namespace {

// The file a resource goes to in a build folder, and its line in the
// resource script (the version block stays the player's own there).
bool BuildFileOf(const Resource& r, std::string* name, std::string* line) {
    const std::string id = std::to_string(r.name.id);
    if (r.type == ResourceName("PATCH")) {
        *name = r.name.id == quiz::kBuiltInRecordResourceId ? "builtin.bin" : "record" + id + ".bin";
        *line = id + " PATCH \"" + *name + "\"\n";
    } else if (r.type == ResourceName(quiz::kTableResourceType)) {
        *name = r.name.id == quiz::kLetterCountTableId ? "letter_counts.bin" : "answer_places.bin";
        *line = id + " TABLE \"" + *name + "\"\n";
    } else if (r.type == ResourceId(kRtRcdata) || r.type == ResourceName("IMG")) {
        const bool png = r.type == ResourceId(kRtRcdata);
        PictureFormat format = png ? PictureFormat::Png : ReadPictureInfo(r.data).format;
        *name = "img_" + id + PictureEnding(format);
        *line = id + (png ? " RCDATA \"" : " IMG \"") + *name + "\"\n";
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::vector<Problem> MakeBuildFiles(const QuizDefinition& quiz, const std::string& sourcePath,
                                    std::map<std::string, std::vector<uint8_t>>* files) {
    files->clear();
    std::vector<Resource> resources;
    std::vector<Problem> problems = MakeQuizResources(quiz, &resources);
    if (!problems.empty()) return problems;
    const std::string source = Utf8OfPath(PathOfUtf8(sourcePath).filename());
    std::string rc = "// Made by quizpack build from " + source + "; do not edit.\n"
                     "LANGUAGE 9, 1\n\n";
    for (const Resource& r : resources) {
        std::string name, line;
        if (!BuildFileOf(r, &name, &line)) continue;
        (*files)[name] = r.data;
        rc += line;
    }
    (*files)["quiz_pictures.rc"] = TextFile(rc);
    (*files)["quiz.cmake"] = TextFile("# Made by quizpack build from " + source +
                                      "; do not edit.\nset(QUIZ_EXECUTABLE_NAME \"" +
                                      quiz.executable + "\")\n");
    return {};
}

bool ComposeAnswerKey(const QuizDefinition& quiz, RgbImage* key, std::string* error) {
    RgbImage puzzle;
    if (!DecodePicture(quiz.puzzle.bytes, &puzzle, error)) {
        *error = "puzzle : " + *error;
        return false;
    }
    *key = puzzle;
    for (size_t k = 0; k < quiz.questions.size(); ++k) {
        const QuestionDefinition& q = quiz.questions[k];
        if (!q.hasOverlay) continue;
        RgbImage overlay;
        if (!DecodePicture(q.overlay.bytes, &overlay, error)) {
            *error = "question[" + std::to_string(k + 1) + "].overlay : " + *error;
            return false;
        }
        // Only what an overlay changes is copied: its block also holds the
        // plain cells around the answer, which would wipe out earlier marks.
        for (int y = 0; y < overlay.height; ++y)
            for (int x = 0; x < overlay.width; ++x) {
                const int px = q.place[0] + x, py = q.place[1] + y;
                if (px < puzzle.width && py < puzzle.height && overlay.At(x, y) != puzzle.At(px, py))
                    key->At(px, py) = overlay.At(x, y);
            }
    }
    return true;
}

}  // namespace quizpack
