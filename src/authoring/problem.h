// What every stage of the authors' library says about a source: problems,
// which stop a build, and warnings, which do not; each with its line and
// field, as `quizpack check` prints them.
#pragma once

#include <string>
#include <vector>

namespace quizpack {

struct Problem {
    int line = 0;
    std::string field;
    std::string message;
    bool warning = false;  // said, but the quiz still builds
};

// Whether any of the problems stops a build (warnings do not).
bool HasErrors(const std::vector<Problem>& problems);

// A problem as `quizpack check` prints it: "quiz.toml:12: field: message".
std::string ProblemLine(const std::string& sourcePath, const Problem& problem);

// The problems of a source as a message box shows them to its author: the
// file by its name alone, the count, then "ligne 19 : champ : message" a
// problem (the command line keeps "fichier:ligne:" for editors).
std::string ProblemsForABox(const std::string& sourcePath, const std::vector<Problem>& problems);

// Problems as a stage says them, in the order it finds them.
class Problems {
public:
    void Report(int line, std::string field, std::string message) {
        list_.push_back({line, std::move(field), std::move(message)});
    }
    void Warn(int line, std::string field, std::string message) {
        list_.push_back({line, std::move(field), "attention : " + std::move(message), true});
    }
    bool HasErrors() const { return quizpack::HasErrors(list_); }
    // In line order, the warnings after the problems; found order within a line.
    std::vector<Problem> Sorted() const;

private:
    std::vector<Problem> list_;
};

}  // namespace quizpack
