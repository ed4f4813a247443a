#include <algorithm>
#include <cerrno>
#include <set>
#include <sstream>
#include <filesystem>
#include <map>
#include <ostream>

#include "commands.h"
#include "text/french.h"
#include "write/quiz_exe.h"
#include "quiz_source.h"
#include "pictures/raster.h"
#include "text/text.h"
#include "sections/word_search/word_search.h"
#include "sections/word_search/word_search_picture.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

// The list of the files a build wrote, kept in its folder.
const char* const kManifest = "quizpack-fichiers.txt";

// French counts 0 and 1 in the singular.
std::string QuestionsInFrench(size_t count) {
    return std::to_string(count) + (count < 2 ? " question" : " questions");
}

// Reads, checks and makes the files (when asked for); prints the problems.
// 0: no problem, 1: problems, 2: the source cannot be read.
int Prepare(const std::string& sourcePath, const char* verb, QuizDefinition* quiz,
            std::map<std::string, std::vector<uint8_t>>* files, std::ostream& err,
            std::vector<Resource>* resources = nullptr) {
    std::error_code ec;
    if (!fs::is_regular_file(PathOfUtf8(sourcePath), ec)) {
        err << "quizpack " << verb << " : impossible de lire " << sourcePath << "\n";
        return 2;
    }
    std::vector<Problem> problems = ReadQuizSource(sourcePath, quiz);
    if (!HasErrors(problems) && (files || resources)) {
        std::vector<Problem> made = files ? MakeBuildFiles(*quiz, sourcePath, files)
                                          : MakeQuizResources(*quiz, resources);
        problems.insert(problems.begin(), made.begin(), made.end());
    }
    // Problems first, then the warnings, which do not stop anything.
    size_t errors = 0, warnings = 0;
    for (const Problem& p : problems) {
        err << sourcePath << ":" << (p.line > 0 ? p.line : 1) << ": " << p.field << ": "
            << p.message << "\n";
        ++(p.warning ? warnings : errors);
    }
    if (errors) {
        err << errors << (errors == 1 ? " problème" : " problèmes") << " dans " << sourcePath;
        if (warnings) err << " et " << warnings << (warnings == 1 ? " avertissement" : " avertissements");
        err << "\n";
        return 1;
    }
    if (warnings)
        err << warnings << (warnings == 1 ? " avertissement" : " avertissements") << " dans "
            << sourcePath << " ; le quiz se construit quand même\n";
    return 0;
}

}  // namespace

int CheckCommand(const std::string& sourcePath, std::ostream& out, std::ostream& err) {
    std::map<std::string, std::vector<uint8_t>> files;
    QuizDefinition quiz;
    int rc = Prepare(sourcePath, "check", &quiz, &files, err);
    if (rc == 0)
        out << sourcePath << " : " << QuestionsInFrench(quiz.questions.size()) << ", aucun problème\n";
    return rc;
}

int BuildCommand(const std::string& sourcePath, const std::string& outDir, std::ostream& out,
                 std::ostream& err) {
    std::map<std::string, std::vector<uint8_t>> files;
    QuizDefinition quiz;
    int rc = Prepare(sourcePath, "build", &quiz, &files, err);
    if (rc != 0) return rc;
    std::error_code ec;
    const fs::path dir = PathOfUtf8(outDir);
    if (fs::exists(dir, ec) && !fs::is_directory(dir, ec)) {
        err << "quizpack build : " << outDir << " est un fichier ; --out attend un dossier\n";
        return 2;
    }
    fs::create_directories(dir, ec);
    if (ec) {
        err << "quizpack build : impossible de créer le dossier " << outDir << " ("
            << SystemErrorInFrench(ec.value()) << ")\n";
        return 2;
    }
    // The folder is quizpack's: what an earlier build wrote and this one does
    // not (the pictures of questions since removed) goes, and a folder that
    // holds anything else is refused rather than mixed into the player.
    std::set<std::string> earlier;
    std::vector<uint8_t> manifest;
    if (ReadFileBytes(Utf8OfPath(dir / kManifest), &manifest)) {
        std::istringstream names(std::string(manifest.begin(), manifest.end()));
        for (std::string name; std::getline(names, name);)
            if (!name.empty()) earlier.insert(name);
    }
    std::vector<std::string> stale, foreign;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = Utf8OfPath(entry.path().filename());
        if (name == kManifest || files.count(name)) continue;
        (earlier.count(name) && entry.is_regular_file() ? stale : foreign).push_back(name);
    }
    if (ec) {
        err << "quizpack build : impossible de lire le dossier " << outDir << " ("
            << SystemErrorInFrench(ec.value()) << ")\n";
        return 2;
    }
    if (!foreign.empty()) {
        std::sort(foreign.begin(), foreign.end());
        err << "quizpack build : le dossier " << outDir
            << " contient des fichiers que quizpack n'y a pas écrits (" << foreign[0]
            << (foreign.size() > 1 ? ", …" : "")
            << ") ; donnez un dossier vide, ou celui d'une construction précédente\n";
        return 2;
    }
    std::string written;
    for (const auto& [name, bytes] : files) {
        written += name + "\n";
        std::string path = Utf8OfPath(dir / name);
        // Unchanged files keep their time, so that the player build does not redo them.
        std::vector<uint8_t> old;
        if (ReadFileBytes(path, &old) && old == bytes) continue;
        errno = 0;
        if (!WriteFileBytes(path, bytes.data(), bytes.size())) {
            err << "quizpack build : impossible d'écrire " << path << " ("
                << SystemErrorInFrench(errno) << ")\n";
            return 2;
        }
    }
    for (const std::string& name : stale) fs::remove(dir / name, ec);
    errno = 0;
    if (!WriteFileBytes(Utf8OfPath(dir / kManifest), reinterpret_cast<const uint8_t*>(written.data()),
                        written.size())) {
        err << "quizpack build : impossible d'écrire " << Utf8OfPath(dir / kManifest) << " ("
            << SystemErrorInFrench(errno) << ")\n";
        return 2;
    }
    out << sourcePath << " : " << QuestionsInFrench(quiz.questions.size()) << " ; " << files.size()
        << " fichiers écrits dans " << outDir << "\n";
    return 0;
}

std::string DefaultExePath(const std::string& sourcePath, const QuizDefinition& quiz) {
    return Utf8OfPath(PathOfUtf8(sourcePath).parent_path() / (quiz.executable + ".exe"));
}

int ExeCommand(const std::string& sourcePath, const std::string& outPath,
               const std::vector<uint8_t>& stub, const std::string& stubName, std::ostream& out,
               std::ostream& err) {
    QuizDefinition quiz;
    std::vector<Resource> resources;
    int rc = Prepare(sourcePath, "exe", &quiz, nullptr, err, &resources);
    if (rc != 0) return rc;
    std::vector<uint8_t> exe;
    std::string error;
    std::vector<std::string> notes;
    if (!MakeQuizExe(stub, resources, &exe, &error, &notes)) {
        err << "quizpack exe : " << stubName << " : " << error << "\n";
        return 2;
    }
    for (const std::string& note : notes) err << "quizpack exe : " << stubName << " : " << note << "\n";
    const std::string target = outPath.empty() ? DefaultExePath(sourcePath, quiz) : outPath;
    if (!WriteQuizExe(target, exe, quiz, resources, &error)) {
        err << "quizpack exe : " << error << " ; rien n'est écrit\n";
        return 2;
    }
    out << target << " écrit : " << QuestionsInFrench(quiz.questions.size()) << ", "
        << resources.size() << " ressources ajoutées au lecteur, " << exe.size()
        << " octets, relu\n";
    return 0;
}

int PreviewCommand(const std::string& sourcePath, const std::string& outPath, std::ostream& out,
                   std::ostream& err) {
    if (FormatOfName(outPath) != PictureFormat::Png) {
        err << "quizpack preview : le corrigé s'écrit en PNG ; donnez un nom en .png (pas " << outPath
            << ")\n";
        return 2;
    }
    QuizDefinition quiz;
    int rc = Prepare(sourcePath, "preview", &quiz, nullptr, err);
    if (rc != 0) return rc;
    RgbImage key;
    std::string error;
    const bool wordSearch = !quiz.wordSearch.cells.empty();
    bool composed = false;
    if (wordSearch) {
        // The words outlined over the plain puzzle: tints would cover it all.
        RgbImage puzzle;
        composed = DecodePicture(quiz.puzzle.bytes, &puzzle, &error) &&
                   DrawAnswerKey(quiz.wordSearch, quiz.geometry, puzzle, &key, &error);
    } else {
        composed = ComposeAnswerKey(quiz, &key, &error);
    }
    if (!composed) {
        err << "quizpack preview : " << error << "\n";
        return 1;
    }
    std::vector<uint8_t> png = EncodePng(key);
    errno = 0;
    if (png.empty() || !WriteFileBytes(outPath, png.data(), png.size())) {
        err << "quizpack preview : impossible d'écrire " << outPath << " ("
            << SystemErrorInFrench(errno) << ")\n";
        return 2;
    }
    size_t marked = std::count_if(quiz.questions.begin(), quiz.questions.end(),
                                  [](const QuestionDefinition& q) { return q.hasOverlay; });
    out << outPath << " : la grille, " << marked << (marked < 2 ? " réponse marquée" : " réponses marquées")
        << "\n";
    if (wordSearch) {
        // Columns and rows counted from 1, as an author counts them on the key.
        for (size_t k = 0; k < quiz.wordSearch.places.size(); ++k) {
            const WordPlace& place = quiz.wordSearch.places[k];
            std::string letters, ignored;
            GridLetters(quiz.package.questions[k].answer1, &letters, &ignored);
            out << "  " << (k + 1) << ". " << letters << " : colonne " << place.column + 1
                << ", rangée " << place.row + 1 << ", " << DirectionInFrench(place.direction) << "\n";
        }
    }
    return 0;
}

}  // namespace quizpack
