#include <filesystem>
#include <map>
#include <ostream>

#include "commands.h"
#include "quiz_source.h"
#include "text.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

// French counts 0 and 1 in the singular.
std::string QuestionsInFrench(size_t count) {
    return std::to_string(count) + (count < 2 ? " question" : " questions");
}

// Reads, checks and makes the files; prints the problems. 0: no problem,
// 1: problems, 2: the source cannot be read.
int Prepare(const std::string& sourcePath, const char* verb,
            std::map<std::string, std::vector<uint8_t>>* files, size_t* questionCount,
            std::ostream& err) {
    std::error_code ec;
    if (!fs::is_regular_file(sourcePath, ec)) {
        err << "quizpack " << verb << " : impossible de lire " << sourcePath << "\n";
        return 2;
    }
    QuizDefinition quiz;
    std::vector<Problem> problems = ReadQuizSource(sourcePath, &quiz);
    if (problems.empty()) problems = MakeBuildFiles(quiz, sourcePath, files);
    for (const Problem& p : problems)
        err << sourcePath << ":" << (p.line > 0 ? p.line : 1) << ": " << p.field << ": "
            << p.message << "\n";
    if (!problems.empty()) {
        err << problems.size() << (problems.size() == 1 ? " problème" : " problèmes")
            << " dans " << sourcePath << "\n";
        return 1;
    }
    *questionCount = quiz.questions.size();
    return 0;
}

}  // namespace

int CheckCommand(const std::string& sourcePath, std::ostream& out, std::ostream& err) {
    std::map<std::string, std::vector<uint8_t>> files;
    size_t questions = 0;
    int rc = Prepare(sourcePath, "check", &files, &questions, err);
    if (rc == 0) out << sourcePath << " : " << QuestionsInFrench(questions) << ", aucun problème\n";
    return rc;
}

int BuildCommand(const std::string& sourcePath, const std::string& outDir, std::ostream& out,
                 std::ostream& err) {
    std::map<std::string, std::vector<uint8_t>> files;
    size_t questions = 0;
    int rc = Prepare(sourcePath, "build", &files, &questions, err);
    if (rc != 0) return rc;
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec) {
        err << "quizpack build : impossible de créer " << outDir << " (" << ec.message() << ")\n";
        return 2;
    }
    for (const auto& [name, bytes] : files) {
        std::string path = (fs::path(outDir) / name).string();
        // Unchanged files keep their time, so that the player build does not redo them.
        std::vector<uint8_t> old;
        if (ReadFileBytes(path, &old) && old == bytes) continue;
        if (!WriteFileBytes(path, bytes.data(), bytes.size())) {
            err << "quizpack build : impossible d'écrire " << path << "\n";
            return 2;
        }
    }
    out << sourcePath << " : " << QuestionsInFrench(questions) << " ; " << files.size()
        << " fichiers écrits dans " << outDir << "\n";

    return 0;
}

}  // namespace quizpack
