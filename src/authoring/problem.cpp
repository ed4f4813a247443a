#include "problem.h"

#include <algorithm>

namespace quizpack {

bool HasErrors(const std::vector<Problem>& problems) {
    return std::any_of(problems.begin(), problems.end(), [](const Problem& p) { return !p.warning; });
}

std::vector<Problem> Problems::Sorted() const {
    std::vector<Problem> sorted = list_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Problem& a, const Problem& b) {
        return a.warning != b.warning ? b.warning : a.line < b.line;
    });
    return sorted;
}

std::string ProblemLine(const std::string& sourcePath, const Problem& p) {
    return sourcePath + ":" + std::to_string(p.line > 0 ? p.line : 1) + ": " + p.field + ": " + p.message;
}

std::string ProblemsForABox(const std::string& sourcePath, const std::vector<Problem>& problems) {
    // Either slash: a path dropped on Windows, or given on the command line.
    const size_t slash = sourcePath.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
    const size_t warnings = size_t(std::count_if(problems.begin(), problems.end(), [](const Problem& p) { return p.warning; }));
    const size_t errors = problems.size() - warnings;
    auto count = [](size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
    std::string text = name + " : ";
    if (errors) text += count(errors, "problème");
    if (errors && warnings) text += " et ";
    if (warnings) text += count(warnings, "avertissement");
    if (!errors && !warnings) text += "aucun problème";
    text += "\n";
    for (const Problem& p : problems)
        text += "\nligne " + std::to_string(p.line > 0 ? p.line : 1) + " : " + p.field + " : " + p.message;
    return text;
}

}  // namespace quizpack
