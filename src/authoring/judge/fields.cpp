#include "judge/fields.h"

#include <algorithm>
#include <filesystem>

#include "judge/quiz_definition.h"
#include "judge/text_rules.h"
#include "model/quiz_state.h"
#include "pictures/raster.h"
#include "text/text.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

constexpr long kMaxText = quiz::kTextSize - 1;

template <std::string quiz::QuizPackage::*text>
void StoreText(QuizDefinition* quiz, const FieldValue& v) { quiz->package.*text = v.text; }
template <int quiz::QuizPackage::*number>
void StoreInteger(QuizDefinition* quiz, const FieldValue& v) { quiz->package.*number = static_cast<int>(v.integer); }

}  // namespace

// Each help is the guide's line for the field, shortened to one.
const std::vector<Field> kHeaderFields = {
    {.name = "executable", .label = "Nom du jeu (sans .exe)", .type = FieldType::Name, .min = 1, .max = 64, .required = true,
     .help = "le nom du jeu, sans .exe : « ferme » donne ferme.exe, ferme.html, et les réponses gardées dans ferme.txt",
     .store = [](QuizDefinition* q, const FieldValue& v) { q->executable = v.text; }},
    {.name = "version", .label = "Version", .type = FieldType::Version, .min = 0, .max = 65535, .fallback = "\"1.0\"",
     .help = "la version du quiz, montrée dans les propriétés du .exe (avec le titre et l'auteur)",
     .store = [](QuizDefinition* q, const FieldValue& v) { q->version = v.text; }},
    {.name = "title", .label = "Titre", .type = FieldType::Text, .max = kMaxText, .required = true,
     .help = "le titre du quiz, dans la barre de titre et l'en-tête",
     .store = StoreText<&quiz::QuizPackage::title>},
    {.name = "author", .label = "Auteur", .type = FieldType::Text, .max = kMaxText,
     .help = "le nom de l'auteur, affiché après « Par : » ; sans lui, le jeu montre « Par : » seul et la page rien",
     .store = StoreText<&quiz::QuizPackage::author>},
    {.name = "subtitle", .label = "Sous-titre", .type = FieldType::Text, .max = kMaxText,
     .help = "la seconde ligne de l'en-tête : dites-y le thème et l'ordre des questions",
     .store = StoreText<&quiz::QuizPackage::subtitle>},
    {.name = "answerCaption1", .label = "Légende du premier champ", .type = FieldType::Text, .max = kMaxText,
     .help = "la légende devant le premier champ de réponse, dans un quiz à deux réponses par question",
     .store = StoreText<&quiz::QuizPackage::answerCaption1>},
    {.name = "answerCaption2", .label = "Légende du second champ", .type = FieldType::Text, .max = kMaxText,
     .help = "la légende devant le second champ de réponse, dans un quiz à deux réponses par question",
     .store = StoreText<&quiz::QuizPackage::answerCaption2>},
    {.name = "linkText", .label = "Lien", .type = FieldType::Link, .max = quiz::kLinkTextSize - 1,
     .help = "un lien dans l'en-tête, ouvert d'un clic : une adresse qui commence par https://, http://, www. ou "
             "mailto:, sans espace ; 17 caractères environ se voient",
     .store = StoreText<&quiz::QuizPackage::linkText>},
    {.name = "statusText", .label = "Texte en bas de la fenêtre", .type = FieldType::Text, .max = quiz::kStatusTextSize - 1,
     .help = "un texte en bas à droite de la fenêtre",
     .store = StoreText<&quiz::QuizPackage::statusText>},
    {.name = "quizKind", .label = "Genre de quiz", .type = FieldType::Integer, .min = -1, .max = 254, .fallback = "1",
     .help = "laissez 1 : un quiz en images, trois questions par rangée, avec la case « Cacher » ; toute autre "
             "valeur ne montre ni question ni champ",
     .store = StoreInteger<&quiz::QuizPackage::quizKind>},
    {.name = "answersPerQuestion", .label = "Réponses par question", .type = FieldType::Integer, .min = 1, .max = 2, .fallback = "1",
     .help = "le nombre de champs de réponse sous chaque question",
     .store = StoreInteger<&quiz::QuizPackage::answersPerQuestion>},
    {.name = "layoutType", .label = "Ce qu'une question montre", .type = FieldType::Integer, .min = 0, .max = 9, .fallback = "0",
     .help = "ce qu'une question montre de plus, avant ou après avoir été trouvée",
     .store = StoreInteger<&quiz::QuizPackage::layoutType>},
    {.name = "scrambled", .label = "Brouiller les réponses dans le jeu", .type = FieldType::Boolean, .min = 0, .max = 1, .fallback = "false",
     .help = "true brouille le quiz dans le .exe et la page, pour qu'on n'y lise pas les réponses avec un éditeur",
     .store = [](QuizDefinition* q, const FieldValue& v) { q->scrambled = v.boolean; }},
    {.name = "scorm", .label = "Paquetage SCORM aussi", .type = FieldType::Boolean, .min = 0, .max = 1, .fallback = "false",
     .help = "true fait aussi, quand la source est glissée sur quizpack.exe, le paquetage SCORM "
             "NOM.zip pour la plateforme de la classe (Moodle…)",
     .store = [](QuizDefinition* q, const FieldValue& v) { q->scorm = v.boolean; }},
    {.name = "background", .label = "Couleur du fond", .type = FieldType::Colour, .min = 0, .max = 255, .fallback = "[90, 95, 150]",
     .help = "la couleur du fond, en [rouge, vert, bleu] : [90, 95, 150] est un bleu-gris",
     .store =
         [](QuizDefinition* q, const FieldValue& v) {
             q->package.red = v.colour.r;
             q->package.green = v.colour.g;
             q->package.blue = v.colour.b;
         }},
    {.name = "puzzle", .label = "Grande image", .type = FieldType::Picture, .min = 1, .max = kMaxLargeSide, .required = true,
     .help = "la grande image de la grille, quand vous la dessinez vous-même ; avec [mosaique] ou [motsmeles], "
             "quizpack la fait et puzzle ne s'écrit pas"},
    {.name = "question", .label = "Questions", .type = FieldType::Questions, .min = 1, .max = quiz::kMaxQuestions, .required = true,
     .help = "chaque bloc [[question]] ajoute une question, dans l'ordre du fichier"},
};

const std::vector<Field> kQuestionFields = {
    {.name = "answer", .label = "Réponse", .type = FieldType::Answers, .min = 1, .max = quiz::kAnswerFieldLimit, .required = true,
     .help = "la réponse attendue"},
    {.name = "answers", .label = "Réponses", .type = FieldType::Answers, .min = 1, .max = 2,
     .help = "[\"Rome\", \"Italie\"] : les deux réponses d'un quiz à deux réponses par question"},
    {.name = "spare", .label = "Note gardée, jamais montrée", .type = FieldType::Text, .max = kMaxText, .help = "un texte gardé avec la question, jamais montré"},
    {.name = "text", .label = "Texte (indice ou explication)", .type = FieldType::Text, .max = kMaxText,
     .help = "le texte de la question, selon layoutType : une explication montrée une fois la question trouvée, "
             "ou un indice montré dès le début"},
    {.name = "text2", .label = "Second texte", .type = FieldType::Text, .max = kMaxText,
     .help = "un second texte, gardé mais jamais montré (avec layoutType 3, 6 ou 9 seulement)"},
    {.name = "code", .label = "Ligne de code", .type = FieldType::Text, .max = kMaxText,
     .help = "la ligne de code affichée dans l'en-tête quand autant de questions sont trouvées ; environ 8 "
             "caractères se voient"},
    {.name = "letters", .label = "Nombre écrit sous l'image", .type = FieldType::Integer, .min = 1, .max = 999,
     .help = "le nombre écrit sous l'image (« 4 lettres »), 1 au moins ; par défaut, les lettres de la réponse"},
    {.name = "overlay", .label = "Surimpression", .type = FieldType::Picture, .min = 1, .max = kMaxPictureSide,
     .help = "pour une grille dessinée à la main : une petite image de la taille exacte de sa place, que le jeu "
             "recopie sur la grille à cet endroit"},
    {.name = "place", .label = "Place (gauche, haut, largeur, hauteur)", .type = FieldType::Rectangle, .min = 0, .max = 65535,
     .help = "pour une grille dessinée à la main : [gauche, haut, largeur, hauteur], le rectangle de la réponse, "
             "en pixels de l'image de la grille"},
};

namespace {

const Field& Row(const std::vector<Field>& rows, std::string_view name) {
    return *std::find_if(rows.begin(), rows.end(), [&](const Field& f) { return name == f.name; });
}

}  // namespace

const Field& HeaderField(std::string_view name) { return Row(kHeaderFields, name); }

std::vector<std::string> NamesOf(const std::vector<Field>& rows) {
    std::vector<std::string> names;
    for (const Field& row : rows) names.emplace_back(row.name);
    return names;
}

const std::vector<FieldChoice>& ChoicesOf(std::string_view name) {
    // Layouts 6 and 9 keep texts the player never shows: they read old quizzes.
    static const std::vector<FieldChoice> layouts = {
        {0, "une question trouvée ne montre rien de plus"},
        {1, "une question trouvée montre son image marquée"},
        {2, "une question trouvée montre son texte sous son image"},
        {3, "une question trouvée montre son texte sous son image, et son image marquée"},
        {4, "quand toutes sont trouvées, chaque question montre son texte et son image marquée"},
        {5, "chaque question montre dès le début le nombre de mots de sa réponse, et aucun texte"},
        {6, "une question trouvée montre son image marquée ; son texte est gardé, jamais montré"},
        {7, "chaque question montre le nombre de mots de sa réponse, puis son texte quand elle est trouvée"},
        {8, "chaque question montre son texte dès le début, et les images marquées quand toutes sont trouvées"},
        {9, "une question trouvée ne montre rien de plus ; ses deux textes sont gardés, jamais montrés"},
    };
    static const std::vector<FieldChoice> answers = {
        {1, "un champ de réponse sous chaque question"},
        {2, "deux champs de réponse sous chaque question (answers = [\"…\", \"…\"])"},
    };
    static const std::vector<FieldChoice> none;
    return name == "layoutType" ? layouts : name == "answersPerQuestion" ? answers : none;
}
const Field& QuestionField(std::string_view name) { return Row(kQuestionFields, name); }

bool IsHeaderFieldName(std::string_view name) {
    return std::any_of(kHeaderFields.begin(), kHeaderFields.end(), [&](const Field& f) {
        return name == f.name && f.type != FieldType::Questions;
    });
}

std::string FieldJudge::Text(const SourceNode* node, int fallbackLine, const std::string& field,
                             size_t limit, bool required, bool lines, bool* read) {
    if (read) *read = false;
    if (!node) {
        if (required) Missing(fallbackLine, field);
        return {};
    }
    if (node->kind != SourceNode::Kind::Text) {
        problems_->Report(node->line, field, "doit être un texte entre guillemets");
        return {};
    }
    std::string converted, error;
    if (!Utf8ToCp1252(node->text, &converted, &error)) {
        problems_->Report(node->line, field, error);
        return {};
    }
    if (read) *read = true;
    if (converted.find('|') != std::string::npos)
        problems_->Report(node->line, field,
                          "« | » sépare les textes de l'enregistrement ; il ne peut pas figurer dans un texte");
    if (converted.find('\0') != std::string::npos)
        problems_->Report(node->line, field, "un caractère NUL ne peut pas figurer dans un texte");
    if (!lines && converted.find_first_of("\r\n") != std::string::npos)
        problems_->Report(node->line, field, "un saut de ligne ne peut pas figurer dans ce texte");
    if (converted.size() > limit)
        problems_->Report(node->line, field,
                          std::to_string(converted.size()) + " octets dans la page de codes 1252, " +
                              std::to_string(limit) + " au plus");
    return converted;
}

bool FieldJudge::Integer(const SourceNode* node, const std::string& field, long min, long max, long* out) {
    if (!node) return false;
    if (node->kind != SourceNode::Kind::Integer) {
        problems_->Report(node->line, field, "doit être un nombre entier");
        return false;
    }
    if (node->integer < min || node->integer > max) {
        problems_->Report(node->line, field,
                          std::to_string(node->integer) + " sort de l'intervalle " + std::to_string(min) +
                              " à " + std::to_string(max));
        return false;
    }
    *out = static_cast<long>(node->integer);
    return true;
}

bool FieldJudge::Colour(const SourceNode* node, const std::string& field, Rgb* out) {
    if (!node) return true;
    if (node->kind != SourceNode::Kind::Array || node->items.size() != 3) {
        problems_->Report(node->line, field, "doit être [rouge, vert, bleu]");
        return false;
    }
    uint8_t* parts[3] = {&out->r, &out->g, &out->b};
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        long v;
        if (Integer(&node->items[i], field + "[" + std::to_string(i + 1) + "]", 0, 255, &v))
            *parts[i] = static_cast<uint8_t>(v);
        else
            ok = false;
    }
    return ok;
}

// The file's bytes and what kind of picture they are.
bool FieldJudge::PictureBytes(const SourceNode& node, const std::string& field, PictureSource* picture) {
    if (node.kind != SourceNode::Kind::Text || node.text.empty()) {
        problems_->Report(node.line, field, "doit être le nom du fichier d'une image, entre guillemets");
        return false;
    }
    if (std::string escapes = EscapesInPath(node.text); !escapes.empty()) {
        problems_->Report(node.line, field, escapes);
        return false;
    }
    const std::string outside = "« " + node.text +
                                " » sort du dossier du quiz : copiez l'image à côté du quiz (ou dans un de ses "
                                "sous-dossiers) et écrivez son chemin depuis ce dossier, comme images/chat.png";
    if (!PathStaysInFolder(node.text)) {
        problems_->Report(node.line, field, outside);
        return false;
    }
    const fs::path path = PathOfUtf8(folder_) / PathOfUtf8(node.text);
    picture->path = Utf8OfPath(path);
    std::error_code ec;
    const bool inMemory = FilesAreInMemory();
    if ((!inMemory && !fs::is_regular_file(path, ec)) || !ReadFileBytes(picture->path, &picture->bytes)) {
        problems_->Report(node.line, field, "impossible de lire l'image " + node.text);
        return false;
    }
    // A link inside the folder may still lead out of it; bytes handed over hold none.
    std::error_code folderError;
    const fs::path folder =
        inMemory ? fs::path() : fs::canonical(folder_.empty() ? fs::path(".") : PathOfUtf8(folder_), folderError);
    const fs::path inside = inMemory ? path : fs::canonical(path, ec).lexically_relative(folder);
    if (ec || folderError || inside.empty() || *inside.begin() == "..") {
        problems_->Report(node.line, field, outside);
        return false;
    }
    picture->info = ReadPictureInfo(picture->bytes);
    if (picture->info.format == PictureFormat::Unknown) {
        problems_->Report(node.line, field, node.text + " n'est pas une image GIF, JPEG, BMP ou PNG");
        return false;
    }
    const PictureFormat named = FormatOfName(node.text);
    if (named != PictureFormat::Unknown && named != picture->info.format) {
        problems_->Report(node.line, field,
                          node.text + " est une image " + PictureFormatName(picture->info.format) +
                              " sous un nom d'image " + PictureFormatName(named) +
                              " : donnez-lui l'extension de son format, ou enregistrez-la en " +
                              PictureFormatName(named));
        return false;
    }
    return true;
}

bool FieldJudge::Picture(const SourceNode* node, int fallbackLine, const std::string& field,
                         PictureSource* picture, bool scaled) {
    if (!node) {
        Missing(fallbackLine, field);
        return false;
    }
    if (!PictureBytes(*node, field, picture)) return false;
    const PictureInfo& info = picture->info;
    const std::string& name = node->text;
    if (info.width <= 0 || info.height <= 0) {
        problems_->Report(node->line, field, "impossible de lire la taille de " + name);
        return false;
    }
    if (scaled && (info.width > kMaxLargeSide || info.height > kMaxLargeSide ||
                   int64_t(info.width) * info.height > kMaxLargePixels)) {
        problems_->Report(node->line, field,
                          name + " fait " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                              " pixels ; quizpack en lit " + std::to_string(kMaxLargeSide) + " de côté et " +
                              std::to_string(kMaxLargePixels / 1000000) + " millions de pixels au plus");
        return false;
    }
    if (scaled) return true;
    if (info.width > kMaxPictureSide || info.height > kMaxPictureSide) {
        problems_->Report(node->line, field,
                          name + " fait " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                              " pixels ; le lecteur en montre " + std::to_string(kMaxPictureSide) + " x " +
                              std::to_string(kMaxPictureSide) + " au plus");
        return false;
    }
    // Decoded as the player will, so that a picture that would not show
    // never ships.
    RgbImage decoded;
    std::string error;
    if (!DecodePicture(picture->bytes, &decoded, &error)) {
        problems_->Report(node->line, field, name + " ne se décode pas : " + error);
        return false;
    }
    return true;
}

void FieldJudge::Missing(int line, const std::string& field, const std::string& message) {
    if (!StoodFor(field)) problems_->Report(line, field, message);
}

void FieldJudge::UnknownKeys(const SourceNode& table, const std::vector<Field>& known,
                             const std::vector<std::string>& alsoKnown, const std::string& prefix) {
    std::vector<std::string> names;
    for (const Field& f : known) names.push_back(f.name);
    names.insert(names.end(), alsoKnown.begin(), alsoKnown.end());
    std::string list;
    for (size_t i = 0; i < names.size(); ++i) list += (i == 0 ? "" : i + 1 == names.size() ? " et " : ", ") + names[i];
    // Named references, not a structured binding: clang 14 (the fuzz build) cannot capture one.
    for (const auto& entry : table.fields) {
        const std::string& key = entry.first;
        const SourceNode& node = entry.second;
        if (std::find(names.begin(), names.end(), key) != names.end()) continue;
        if (!prefix.empty() && IsHeaderFieldName(key)) continue;
        // A name the table already gives is not the one this key misspells.
        std::vector<std::string> absent;
        for (const std::string& name : names)
            if (!table.Get(name)) absent.push_back(name);
        if (const std::string nearest = NearestName(key, absent); !nearest.empty()) {
            problems_->Report(node.line, prefix + key, "champ inconnu : vouliez-vous écrire « " + nearest + " » ?");
            StandFor(prefix + nearest);
        } else {
            problems_->Report(node.line, prefix + key, "champ inconnu ; les champs possibles ici : " + list);
        }
    }
}

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Letters added, left out, changed, or swapped with their neighbour, to go
// from `a` to `b`, each letter changed at most once.
size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            const bool same = Lower(a[i - 1]) == Lower(b[j - 1]);
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) && Lower(a[i - 2]) == Lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

std::string NearestName(const std::string& key, const std::vector<std::string>& names) {
    constexpr size_t kMostEdits = 2;
    std::string nearest;
    size_t best = kMostEdits + 1;
    for (const std::string& name : names)
        if (const size_t d = Distance(key, name); d < best) {
            best = d;
            nearest = name;
        }
    return nearest;
}

std::string QuestionsNamed(const std::vector<size_t>& numbers) {
    if (numbers.size() == 1) return "la question " + std::to_string(numbers[0]);
    // Runs of three or more read as "1 à 4".
    std::vector<std::string> parts;
    for (size_t i = 0; i < numbers.size();) {
        size_t end = i;
        while (end + 1 < numbers.size() && numbers[end + 1] == numbers[end] + 1) ++end;
        if (end >= i + 2) {
            parts.push_back(std::to_string(numbers[i]) + " à " + std::to_string(numbers[end]));
        } else {
            for (size_t k = i; k <= end; ++k) parts.push_back(std::to_string(numbers[k]));
        }
        i = end + 1;
    }
    std::string text = "les questions ";
    for (size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? "" : i + 1 == parts.size() ? " et " : ", ") + parts[i];
    return text;
}

}  // namespace quizpack
