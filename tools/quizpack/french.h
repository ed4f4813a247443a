// quizpack speaks French to authors; the libraries it uses speak English.
// These turn the libraries' messages into the tool's own words.
#pragma once

#include <string>
#include <vector>

namespace quizpack {

// A TOML syntax error as toml++ describes it ("Error while parsing array:
// encountered end-of-file"), in French. A detail the table does not know is
// kept in the parser's words after a French lead, never dropped.
std::string TomlProblemInFrench(const std::string& description);

// Where a command-line error happened and what could have been typed there.
struct CommandLineContext {
    std::string where;                  // "quizpack lzw"
    std::vector<std::string> commands;  // the verbs that place takes, if any
    std::string stray;                  // a word given where a verb was expected
};

// CLI11's parse error text ("QUIZ is required", "The following argument was
// not expected: b", ...) as one French line, ending with where the help is.
std::string CommandLineErrorInFrench(const std::string& what, const CommandLineContext& context);

}  // namespace quizpack
