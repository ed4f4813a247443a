#include "write/answer_key.h"

#include <cerrno>

#include "sections/section.h"
#include "text/french.h"
#include "text/text.h"

namespace quizpack {

namespace {

bool PasteOverlays(const QuizDefinition& quiz, RgbImage* key, std::string* error) {
    RgbImage puzzle;
    if (!DecodePicture(quiz.puzzle.bytes, &puzzle, error)) {
        *error = "puzzle : " + *error;
        return false;
    }
    *key = puzzle;
    for (size_t k = 0; k < quiz.questions.size(); ++k) {
        const QuestionDefinition& q = quiz.questions[k];
        if (!q.hasOverlay) continue;
        RgbImage overlay;
        if (!DecodePicture(q.overlay.bytes, &overlay, error)) {
            *error = "question[" + std::to_string(k + 1) + "].overlay : " + *error;
            return false;
        }
        // Only what an overlay changes is copied: its block also holds the
        // plain cells around the answer, which would wipe out earlier marks.
        for (int y = 0; y < overlay.height; ++y)
            for (int x = 0; x < overlay.width; ++x) {
                const int px = q.place[0] + x, py = q.place[1] + y;
                if (px < puzzle.width && py < puzzle.height && overlay.At(x, y) != puzzle.At(px, py))
                    key->At(px, py) = overlay.At(x, y);
            }
    }
    return true;
}

}  // namespace

bool ComposeAnswerKey(const QuizDefinition& quiz, RgbImage* key, std::vector<std::string>* lines,
                      std::string* error) {
    if (quiz.section && quiz.section->answerKey) return quiz.section->answerKey(quiz, key, lines, error);
    if (!PasteOverlays(quiz, key, error)) return false;
    // Each marked answer and where its mark lies, in the picture's pixels.
    for (size_t k = 0; k < quiz.questions.size(); ++k) {
        const QuestionDefinition& q = quiz.questions[k];
        if (!q.hasOverlay) continue;
        lines->push_back("  " + std::to_string(k + 1) + ". " + Cp1252ToUtf8(quiz.package.questions[k].answer1) +
                         " : à (" + std::to_string(q.place[0]) + ", " + std::to_string(q.place[1]) + "), " +
                         std::to_string(q.place[2]) + " x " + std::to_string(q.place[3]) + " pixels");
    }
    return true;
}

KeyWritten WriteAnswerKey(const QuizDefinition& quiz, const std::string& path, std::vector<std::string>* lines,
                          std::string* error) {
    RgbImage key;
    if (!ComposeAnswerKey(quiz, &key, lines, error)) return KeyWritten::kNotComposed;
    const std::vector<uint8_t> png = EncodePng(key);
    errno = 0;
    if (!png.empty() && WriteFileBytes(path, png.data(), png.size())) return KeyWritten::kWritten;
    *error = "impossible d'écrire " + path + " (" + SystemErrorInFrench(errno) + ")";
    return KeyWritten::kNotWritten;
}

}  // namespace quizpack
