// The verbs over a quiz source: each runs the authors' stages (stages.h),
// then writes what it was asked for and says so.
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "commands.h"
#include "stages.h"
#include "text/text.h"
#include "write/answer_key.h"
#include "write/build_folder.h"
#include "write/new_source.h"
#include "write/picture_name.h"
#include "write/scorm_package.h"
#include "write/web_page.h"
#include "write/quiz_exe.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

std::string FileName(const std::string& path) { return Utf8OfPath(PathOfUtf8(path).filename()); }

// French counts 0 and 1 in the singular.
std::string QuestionsInFrench(size_t count) {
    return std::to_string(count) + (count < 2 ? " question" : " questions");
}

// Reads, judges and makes the resources (when asked for); prints the
// problems. 0: no problem, 1: problems, 2: the source cannot be read.
// Whether a source asks for its SCORM package beside its .exe and page.
bool AsksForScorm(const std::string& sourcePath) {
    QuizDefinition quiz;
    ReadQuizSource(sourcePath, &quiz);
    return quiz.scorm;
}

int Prepare(const std::string& sourcePath, const char* verb, QuizDefinition* quiz, std::ostream& err,
            std::vector<Resource>* resources, DropReport* report = nullptr) {
    std::error_code ec;
    if (!fs::is_regular_file(PathOfUtf8(sourcePath), ec)) {
        err << "quizpack " << verb << " : impossible de lire " << sourcePath << "\n";
        if (report) report->failure = "impossible de lire " + FileName(sourcePath);
        return 2;
    }
    const std::vector<Problem> problems =
        resources ? PrepareQuiz(sourcePath, quiz, resources) : ReadQuizSource(sourcePath, quiz);
    if (report) {
        report->source = sourcePath;
        report->problems = problems;
        report->title = Cp1252ToUtf8(quiz->package.title);
    }
    // Problems first, then the warnings, which do not stop anything.
    size_t errors = 0, warnings = 0;
    for (const Problem& p : problems) {
        err << ProblemLine(sourcePath, p) << "\n";
        ++(p.warning ? warnings : errors);
    }
    if (errors) {
        err << errors << (errors == 1 ? " problème" : " problèmes") << " dans " << sourcePath;
        if (warnings) err << " et " << warnings << (warnings == 1 ? " avertissement" : " avertissements");
        err << "\n";
        return 1;
    }
    if (warnings)
        err << warnings << (warnings == 1 ? " avertissement" : " avertissements") << " dans " << sourcePath
            << " ; le quiz se construit quand même\n";
    return 0;
}

}  // namespace

int CheckCommand(const std::string& sourcePath, std::ostream& out, std::ostream& err) {
    QuizDefinition quiz;
    std::vector<Resource> resources;
    int rc = Prepare(sourcePath, "check", &quiz, err, &resources);
    if (rc == 0) out << sourcePath << " : " << QuestionsInFrench(quiz.questions.size()) << ", aucun problème\n";
    return rc;
}

int BuildCommand(const std::string& sourcePath, const std::string& outDir, std::ostream& out, std::ostream& err) {
    QuizDefinition quiz;
    std::vector<Resource> resources;
    int rc = Prepare(sourcePath, "build", &quiz, err, &resources);
    if (rc != 0) return rc;
    const auto files = BuildFolderFiles(quiz, resources, sourcePath);
    std::string error;
    if (!WriteBuildFolder(files, outDir, &error)) {
        err << "quizpack build : " << error << "\n";
        return 2;
    }
    out << sourcePath << " : " << QuestionsInFrench(quiz.questions.size()) << " ; " << files.size()
        << " fichiers écrits dans " << outDir << "\n";
    return 0;
}

std::string DefaultExePath(const std::string& sourcePath, const QuizDefinition& quiz) {
    return Utf8OfPath(PathOfUtf8(sourcePath).parent_path() / (quiz.executable + ".exe"));
}

int ExeCommand(const std::string& sourcePath, const std::string& outPath, const std::vector<uint8_t>& stub,
               const std::string& stubName, std::ostream& out, std::ostream& err, DropReport* report) {
    QuizDefinition quiz;
    std::vector<Resource> resources;
    int rc = Prepare(sourcePath, "exe", &quiz, err, &resources, report);
    if (rc != 0) return rc;
    std::vector<uint8_t> exe;
    std::string error;
    std::vector<std::string> notes;
    if (!MakeQuizExe(stub, resources, &exe, &error, &notes)) {
        err << "quizpack exe : " << stubName << " : " << error << "\n";
        if (report) report->failure = stubName + " : " + error;
        return 2;
    }
    for (const std::string& note : notes) err << "quizpack exe : " << stubName << " : " << note << "\n";
    const std::string target = outPath.empty() ? DefaultExePath(sourcePath, quiz) : outPath;
    if (!WriteQuizExe(target, exe, quiz, resources, &error)) {
        err << "quizpack exe : " << error << " ; rien n'est écrit\n";
        if (report) report->failure = error + " ; rien n'est écrit";
        return 2;
    }
    if (report) report->exe = target;
    out << target << " écrit : " << QuestionsInFrench(quiz.questions.size()) << ", " << resources.size()
        << " ressources ajoutées au lecteur, " << exe.size() << " octets, relu\n";
    return 0;
}

int NewCommand(const std::string& folder, const std::vector<uint8_t>& stub, const std::string& stubName,
               const WebCore* core, const std::string& coreMissing, std::ostream& out, std::ostream& err,
               DropReport* report) {
    DropReport own;
    DropReport& r = report ? *report : own;
    std::string source, error;
    bool kept = false;
    size_t pictures = 0;
    if (!WriteNewSource(folder, &source, &kept, &pictures, &error)) {
        err << "quizpack new : " << error << "\n";
        r.failure = error;
        return 1;
    }
    r.source = source;
    r.sourceKept = kept;
    r.sourceWritten = !kept;
    if (kept) {
        out << source << " existe déjà : quizpack le garde et le construit\n";
    } else {
        for (const std::string& picture : PicturesOfFolder(folder)) {
            const NameAnswer name = AnswerOfFileName(picture);
            r.answers.push_back({picture, name.answer, name.hyphened});
        }
        out << source << " écrit : " << QuestionsInFrench(pictures) << ", une par image, la réponse tirée de son nom :\n";
        for (const AnswerOfPicture& a : r.answers) out << "  " << a.picture << " : " << a.answer << "\n";
        if (const std::string note = HyphenNote(r.answers); !note.empty()) out << note << "\n";
        out << "Changez-les dans " << source << " si besoin, puis reconstruisez (quizpack exe " << source << ")\n";
    }
    // The .exe the source names, as the page does: a kept source may name another.
    const int rc = ExeCommand(source, "", stub, stubName, out, err, &r);
    if (rc != 0) return rc;
    if (!core) {
        err << "quizpack new : la page web n'est pas faite : " << coreMissing << "\n";
        r.pageMissing = coreMissing;
        return 0;
    }
    return WebCommand(source, "", *core, false, out, err, &r);
}

int DropCommand(const std::string& path, const std::vector<uint8_t>& stub, const std::string& stubName,
                const WebCore* core, const std::string& coreMissing, std::ostream& out, std::ostream& err,
                DropReport* report) {
    std::error_code ec;
    int rc = 0;
    if (fs::is_directory(PathOfUtf8(path), ec)) {
        rc = NewCommand(path, stub, stubName, core, coreMissing, out, err, report);
    } else {
        rc = ExeCommand(path, "", stub, stubName, out, err, report);
        if (rc != 0) return rc;
        if (!core) {
            err << "quizpack : la page web n'est pas faite : " << coreMissing << "\n";
            report->pageMissing = coreMissing;
            return 0;
        }
        rc = WebCommand(path, "", *core, false, out, err, report);
    }
    // The package, for a source that asks for it, once its page is made.
    if (rc != 0 || report->page.empty() || !AsksForScorm(report->source)) return rc;
    return ScormCommand(report->source, "", *core, out, err, report);
}

int ScormCommand(const std::string& sourcePath, const std::string& outPath, const WebCore& core, std::ostream& out,
                 std::ostream& err, DropReport* report) {
    QuizDefinition quiz;
    std::vector<Resource> resources;
    std::ostringstream said;
    const bool afterPage = report && !report->page.empty();
    int rc = Prepare(sourcePath, "scorm", &quiz, afterPage ? said : err, &resources, afterPage ? nullptr : report);
    if (rc != 0) return rc;
    std::string html, error;
    if (!MakeWebPage(quiz, resources, core, false, &html, &error)) {
        err << "quizpack scorm : " << error << "\n";
        if (report) report->packageMissing = error;
        return 2;
    }
    const std::vector<uint8_t> zip = MakeScormPackage(quiz, html);
    const std::string target =
        outPath.empty() ? Utf8OfPath(PathOfUtf8(sourcePath).parent_path() / (quiz.executable + ".zip")) : outPath;
    if (!WriteScormPackage(target, quiz, zip, resources, &error)) {
        err << "quizpack scorm : " << error << " ; rien n'est écrit\n";
        if (report) report->packageMissing = error;
        return 2;
    }
    if (report) report->package = target;
    out << target << " écrit : " << QuestionsInFrench(quiz.questions.size()) << ", un paquetage SCORM 1.2 de "
        << zip.size() << " octets (sa page " << ScormPageName(quiz) << " en fait " << html.size()
        << "), relu ; il s'ajoute à la plateforme comme « Paquetage SCORM »\n";
    return 0;
}

int WebCommand(const std::string& sourcePath, const std::string& outPath, const WebCore& core, bool floor,
               std::ostream& out, std::ostream& err, DropReport* report, const std::string& pageDir) {
    PageFiles page = BuiltInPageFiles();
    std::string error;
    if (!pageDir.empty() && !ReadPageFiles(pageDir, &page, &error)) {
        err << "quizpack web : " << error << " ; rien n'est écrit\n";
        if (report) report->pageMissing = error;
        return 2;
    }
    QuizDefinition quiz;
    std::vector<Resource> resources;
    // After the .exe of a drop, the source's warnings are said already.
    std::ostringstream said;
    const bool afterExe = report && !report->exe.empty();
    int rc = Prepare(sourcePath, "web", &quiz, afterExe ? said : err, &resources, afterExe ? nullptr : report);
    if (rc != 0) return rc;
    std::string html;
    if (!MakeWebPage(quiz, resources, core, page, floor, &html, &error)) {
        err << "quizpack web : " << error << "\n";
        if (report) report->pageMissing = error;
        return 2;
    }
    const std::string target =
        outPath.empty() ? Utf8OfPath(PathOfUtf8(sourcePath).parent_path() / (quiz.executable + ".html")) : outPath;
    // The floor carries no quiz to read back: it is only measured against.
    const bool written = floor ? WriteFileBytes(target, reinterpret_cast<const uint8_t*>(html.data()), html.size()) ||
                                     (error = "impossible d'écrire " + target, false)
                               : WriteWebPage(target, html, resources, &error);
    if (!written) {
        err << "quizpack web : " << error << " ; rien n'est écrit\n";
        if (report) report->pageMissing = error;
        return 2;
    }
    if (report) report->page = target;
    out << target << " écrit : " << QuestionsInFrench(quiz.questions.size()) << ", une page de " << html.size()
        << " octets qui se joue dans un navigateur, relue\n";
    return 0;
}

int PreviewCommand(const std::string& sourcePath, const std::string& outPath, std::ostream& out, std::ostream& err) {
    if (FormatOfName(outPath) != PictureFormat::Png) {
        err << "quizpack preview : le corrigé s'écrit en PNG ; donnez un nom en .png (pas " << outPath << ")\n";
        return 2;
    }
    QuizDefinition quiz;
    int rc = Prepare(sourcePath, "preview", &quiz, err, nullptr);
    if (rc != 0) return rc;
    std::vector<std::string> lines;
    std::string error;
    const KeyWritten written = WriteAnswerKey(quiz, outPath, &lines, &error);
    if (written != KeyWritten::kWritten) {
        err << "quizpack preview : " << error << "\n";
        return written == KeyWritten::kNotComposed ? 1 : 2;
    }
    size_t marked = std::count_if(quiz.questions.begin(), quiz.questions.end(),
                                  [](const QuestionDefinition& q) { return q.hasOverlay; });
    out << outPath << " : la grille, " << marked << (marked < 2 ? " réponse marquée" : " réponses marquées") << "\n";
    for (const std::string& line : lines) out << line << "\n";
    return 0;
}

int AtelierCommand(const std::string& outPath, const AtelierLibrary& library, const CarriedList& carried,
                   std::ostream& out, std::ostream& err) {
    std::string html, error;
    if (!MakeAtelierPage(library, carried, &html, &error)) {
        err << "quizpack atelier : " << error << "\n";
        return 2;
    }
    const std::string target = outPath.empty() ? "atelier.html" : outPath;
    std::vector<uint8_t> back, wasm;
    CarriedList found;
    if (!WriteFileBytes(target, reinterpret_cast<const uint8_t*>(html.data()), html.size()) ||
        !ReadFileBytes(target, &back)) {
        err << "quizpack atelier : impossible d'écrire " << target << "\n";
        return 2;
    }
    if (!ReadAtelierPage(std::string(back.begin(), back.end()), &wasm, &found) || wasm != library.wasm || found != carried) {
        err << "quizpack atelier : relu, " << target << " ne porte pas la bibliothèque et ses fichiers\n";
        return 2;
    }
    out << target << " écrit : l'atelier, " << html.size() << " octets, qui fait les quiz dans un navigateur, relu\n";
    return 0;
}

}  // namespace quizpack
