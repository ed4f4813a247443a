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

// Why a source file cannot be read as UTF-8, with what to do about it: the
// message names UTF-16 or Windows-1252 when the bytes look like them, and
// `line` the first line that is not UTF-8. Empty when the bytes are UTF-8.
std::string SourceEncodingProblem(const std::string& bytes, int* line);

// A system error (errno or a std::error_code) in French words.
std::string SystemErrorInFrench(int error);

}  // namespace quizpack
