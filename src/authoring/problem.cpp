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

}  // namespace quizpack

namespace quizpack {
std::string ProblemsForABox(const std::string& sourcePath, const std::vector<Problem>& problems) {
    std::string text;
    for (const Problem& p : problems) text += sourcePath + ", ligne " + std::to_string(p.line) + " : " + p.field + " : " + p.message + "\n";
    return text;
}
}  // namespace quizpack
