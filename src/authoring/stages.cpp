#include "stages.h"

#include "judge/judge.h"
#include "make/make_resources.h"
#include "read/source_record.h"

namespace quizpack {

namespace {

std::vector<Problem> JudgeAndMakePictures(const SourceRecord& source, QuizDefinition* quiz) {
    Problems problems;
    JudgeSource(source, quiz, &problems);
    MakePictures(quiz, &problems);
    return problems.Sorted();
}

std::vector<Problem> MakeResources(std::vector<Problem> problems, const QuizDefinition& quiz,
                                   std::vector<Resource>* resources) {
    if (HasErrors(problems)) return problems;
    std::vector<Problem> made = MakeQuizResources(quiz, resources);
    problems.insert(problems.begin(), made.begin(), made.end());
    return problems;
}

}  // namespace

std::vector<Problem> ReadQuizSource(const std::string& path, QuizDefinition* quiz) {
    Problems problems;
    SourceRecord source;
    if (!ReadSource(path, &source, &problems)) return problems.Sorted();
    return JudgeAndMakePictures(source, quiz);
}

std::vector<Problem> PrepareQuiz(const std::string& path, QuizDefinition* quiz, std::vector<Resource>* resources) {
    std::vector<Problem> problems = ReadQuizSource(path, quiz);
    return MakeResources(std::move(problems), *quiz, resources);
}

std::vector<Problem> PrepareReadQuiz(const SourceRecord& source, QuizDefinition* quiz,
                                     std::vector<Resource>* resources) {
    return MakeResources(JudgeAndMakePictures(source, quiz), *quiz, resources);
}

}  // namespace quizpack
