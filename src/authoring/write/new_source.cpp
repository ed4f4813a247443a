#include "write/new_source.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

#include "judge/text_rules.h"
#include "sections/mosaic/mosaic_section.h"
#include "text/french.h"
#include "text/text.h"
#include "write/picture_name.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

// What `author` says until the teacher writes their name.
const char kAuthorPlaceholder[] = "Votre nom";

// What keeps the folder's names from giving the quiz its author meant: the
// title's, each picture's problem, and two pictures that give one answer
// (most often a picture and its copy).
std::vector<std::string> NameProblems(const std::string& folderName, const std::vector<std::string>& pictures) {
    std::vector<std::string> problems;
    const NameAnswer title = TitleOfFolderName(folderName);
    if (!title.problem.empty()) problems.push_back(title.problem);
    std::vector<std::pair<std::string, std::string>> seen;  // an answer's stored form, its picture
    for (const std::string& picture : pictures) {
        const NameAnswer name = AnswerOfFileName(picture);
        if (!name.problem.empty()) {
            problems.push_back(name.problem);
            continue;
        }
        std::string cp1252;
        Utf8ToCp1252(name.answer, &cp1252, nullptr);
        const std::string stored = StoredFormOf(cp1252);
        const auto same = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == stored; });
        if (same == seen.end())
            seen.push_back({stored, picture});
        else
            problems.push_back(same->second + " et " + picture + " donnent la même réponse, « " + name.answer +
                               " » ; gardez une seule de ces images, ou renommez l'une des deux");
    }
    return problems;
}

}  // namespace

#if !defined(_WIN32)
// Linux hides a file by its name alone.
bool HiddenBySystem(const std::filesystem::path&) { return false; }
#endif

std::vector<std::string> PicturesAmong(std::vector<std::string> names) {
    names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& name) {
                    return FormatOfName(name) == PictureFormat::Unknown || IsHiddenName(name);
                }),
                names.end());
    std::sort(names.begin(), names.end(), ComesBeforeInFolder);
    return names;
}

std::vector<std::string> PicturesOfFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(PathOfUtf8(folder), ec))
        if (entry.is_regular_file(ec) && !HiddenBySystem(entry.path())) names.push_back(Utf8OfPath(entry.path().filename()));
    return PicturesAmong(std::move(names));
}

std::string NewSourceRefusal(const std::string& folder, const std::string& name, const std::vector<std::string>& pictures) {
    const int fewest = kMosaicSection.fewestQuestions, most = kMosaicSection.mostQuestions;
    if (pictures.size() < size_t(fewest) || pictures.size() > size_t(most))
        return folder + " contient " + std::to_string(pictures.size()) + " image(s) GIF, JPEG, BMP ou PNG ; une mosaïque en assemble " +
               std::to_string(fewest) + " à " + std::to_string(most);
    const std::vector<std::string> problems = NameProblems(name, pictures);
    if (problems.empty()) return "";
    // A quiz.toml once written is kept: a name fixed afterwards would not reach it.
    std::string refusal = folder + " : rien n'est écrit, ces noms ne donnent pas les réponses voulues ; renommez, puis recommencez :";
    for (const std::string& problem : problems) refusal += "\n  " + problem;
    return refusal;
}

std::string ExecutableOfFolder(const std::string& folderName) {
    std::string name = AsciiProgramName(folderName);
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c != '-' && c != '_' && !std::isalnum(static_cast<unsigned char>(c)); }),
               name.end());
    if (name.size() > 64) name.resize(64);
    return name.empty() ? "quiz" : name;
}

std::string NewQuizSource(const std::string& folderName, const std::vector<std::string>& pictures) {
    std::string source =
        "# Quiz fait par quizpack new à partir des images de ce dossier : une question par image.\n"
        "# Chaque réponse vient du nom de son image. Pour en changer une, changez le texte entre\n"
        "# guillemets après answer = (le joueur doit pouvoir le taper) ; de même pour le titre, et\n"
        "# mettez votre nom après author = (le jeu le montre en haut, après « Par : »).\n"
        "# Un tiret du nom d'une image y est devenu une espace : remettez-le si la réponse en a un.\n"
        "# Pour qu'une question trouvée montre un texte sous son image (une explication, une\n"
        "# anecdote), ajoutez layoutType = 3 sous title, puis text = \"...\" sous sa réponse, et\n"
        "# text = \"\" sous la réponse des questions qui n'en ont pas.\n"
        "# Puis enregistrez et faites glisser ce fichier sur quizpack.exe (ou : quizpack exe quiz.toml).\n\n"
        "executable = " + TomlString(ExecutableOfFolder(folderName)) + "\n"
        "title = " + TomlString(TitleOfFolderName(folderName).answer) + "\n"
        "author = " + TomlString(kAuthorPlaceholder) + "\n\n"
        "[mosaique]\n# columns = 3  # facultatif : le nombre de colonnes de la mosaïque\n";
    for (const std::string& picture : pictures)
        source += "\n[[question]]\nimage = " + TomlString(picture) + "\nanswer = " + TomlString(AnswerOfFileName(picture).answer) + "\n";
    return source;
}

bool WriteNewSource(const std::string& folder, std::string* sourcePath, bool* kept, size_t* pictures,
                    std::string* error) {
    const fs::path dir = PathOfUtf8(folder);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        *error = folder + " n'est pas un dossier";
        return false;
    }
    *sourcePath = Utf8OfPath(dir / "quiz.toml");
    *kept = fs::exists(dir / "quiz.toml", ec);
    if (*kept) return true;
    const std::vector<std::string> found = PicturesOfFolder(folder);
    *pictures = found.size();
    const std::string name = Utf8OfPath(fs::weakly_canonical(dir, ec).filename());
    *error = NewSourceRefusal(folder, name, found);
    if (!error->empty()) return false;
    const std::string source = NewQuizSource(name, found);
    errno = 0;
    if (WriteFileBytes(*sourcePath, reinterpret_cast<const uint8_t*>(source.data()), source.size())) return true;
    *error = "impossible d'écrire " + *sourcePath + " (" + SystemErrorInFrench(errno) + ")";
    return false;
}

}  // namespace quizpack
