#include "stages.h"

#include "judge/judge.h"
#include "make/make_resources.h"
#include "read/source_record.h"

namespace quizpack {

std::vector<Problem> ReadQuizSource(const std::string& path, QuizDefinition* quiz) {
    Problems problems;
    SourceRecord source;
    if (!ReadSource(path, &source, &problems)) return problems.Sorted();
    JudgeSource(source, quiz, &problems);
    MakePictures(quiz, &problems);
    return problems.Sorted();
}

std::vector<Problem> PrepareQuiz(const std::string& path, QuizDefinition* quiz, std::vector<Resource>* resources) {
    std::vector<Problem> problems = ReadQuizSource(path, quiz);
    if (HasErrors(problems)) return problems;
    std::vector<Problem> made = MakeQuizResources(*quiz, resources);
    problems.insert(problems.begin(), made.begin(), made.end());
    return problems;
}

}  // namespace quizpack
