// The message box after a drop on quizpack.exe, for a teacher: what is
// ready and where, what each file is for, how to change the quiz. Counts,
// bytes and read-backs are the command line's.
#include <algorithm>
#include <filesystem>
#include <string>

#include "commands.h"
#include "judge/player_verdict.h"
#include "text/text.h"

namespace quizpack {

namespace {

std::string NameOf(const std::string& path) { return Utf8OfPath(PathOfUtf8(path).filename()); }

// The folder's own name, not its whole path: "." and a trailing slash named.
std::string FolderOf(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::weakly_canonical(PathOfUtf8(path), ec);
    return Utf8OfPath((ec ? PathOfUtf8(path) : full).parent_path().filename());
}

// A box shows a screenful: a long list gives its first lines and the count
// of the rest.
constexpr size_t kListedLines = 12;

std::string FirstLines(const std::string& lines, const std::string& rest) {
    size_t at = 0, count = 0;
    while (count < kListedLines && (at = lines.find('\n', at)) != std::string::npos) ++at, ++count;
    if (at == std::string::npos || at >= lines.size()) return lines;
    const size_t left = std::count(lines.begin() + at, lines.end(), '\n');
    return lines.substr(0, at) + "… et " + std::to_string(left) + " " + rest + "\n";
}

std::string Answers(const DropReport& r) {
    if (r.answers.empty()) return "";
    std::string list;
    for (const AnswerOfPicture& a : r.answers) list += a.picture + " : " + a.answer + "\n";
    std::string text = "Les réponses, tirées des noms des images :\n" + FirstLines(list, "autres, dans quiz.toml");
    if (const std::string note = HyphenNote(r.answers); !note.empty()) text += "\n" + note + "\n";
    return text + "\n";
}

}  // namespace

std::string HyphenNote(const std::vector<AnswerOfPicture>& answers) {
    const auto first =
        std::find_if(answers.begin(), answers.end(), [](const AnswerOfPicture& a) { return !a.hyphened.empty(); });
    if (first == answers.end()) return "";
    std::string expected, typed;
    Utf8ToCp1252(first->answer, &expected, nullptr);
    Utf8ToCp1252(first->hyphened, &typed, nullptr);
    std::string names;
    for (const AnswerOfPicture& a : answers)
        if (!a.hyphened.empty()) names += (names.empty() ? "" : ", ") + a.picture;
    return "Le tiret d'un nom est devenu une espace (" + names + ") : qui tape « " + first->hyphened + " » lit « " +
           Cp1252ToUtf8(PlayerVerdict(expected, typed)) +
           " ». Si la réponse s'écrit avec un tiret, remettez-le dans quiz.toml.";
}

std::string DropBoxText(const DropReport& r) {
    const std::string source = NameOf(r.source);
    if (r.exe.empty()) {
        if (!r.failure.empty() && !HasErrors(r.problems)) return "Le quiz n'est pas fait : " + r.failure;
        return "Le quiz n'est pas fait :\n\n" + FirstLines(ProblemsForABox(r.source, r.problems), "autres (corrigez d'abord ceux-ci)") + "\nCorrigez " + source +
               " (avec le Bloc-notes), enregistrez, puis faites-le glisser de nouveau sur quizpack.exe.";
    }
    std::string text = "Le quiz « " + r.title + " » est prêt, dans le dossier « " + FolderOf(r.exe) + " » :\n";
    text += "- " + NameOf(r.exe) + " : le jeu pour Windows (un double clic le lance) ;\n";
    if (!r.page.empty())
        text += "- " + NameOf(r.page) + " : le même jeu dans un navigateur, sur un ordinateur, une tablette ou un "
                "téléphone" + (r.package.empty() ? ".\n" : " ;\n");
    else
        text += "La page web n'est pas faite : " + r.pageMissing + "\n";
    if (!r.package.empty())
        text += "- " + NameOf(r.package) + " : le paquetage SCORM, à ajouter à la plateforme de la classe (Moodle : "
                "« Ajouter une activité », « Paquetage SCORM »).\n";
    else if (!r.packageMissing.empty())
        text += "Le paquetage SCORM n'est pas fait : " + r.packageMissing + "\n";
    text += "\n";
    if (r.sourceKept) text += source + " était déjà dans le dossier : quizpack l'a gardé, avec ses réponses.\n\n";
    text += Answers(r);
    if (!r.problems.empty()) text += "À voir (le quiz est fait quand même) :\n" + FirstLines(ProblemsForABox(r.source, r.problems), "autres (corrigez d'abord ceux-ci)") + "\n";
    text += "Pour changer " + std::string(r.sourceWritten ? "une réponse, le titre ou votre nom" : "le quiz") +
            " : ouvrez " + source + " avec le Bloc-notes, changez le texte entre guillemets, enregistrez, puis "
            "faites glisser " + source + " sur quizpack.exe.";
    return text;
}

}  // namespace quizpack
