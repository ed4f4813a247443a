#include "make/picture_puzzle.h"

#include <algorithm>

#include "pictures/marks.h"
#include "pictures/scaling.h"

namespace quizpack {

namespace {

const char kUnread[] = "l'image faite ne se relit pas à l'identique avec le décodeur du lecteur";

std::string OverlayField(size_t k) { return "question[" + std::to_string(k + 1) + "].overlay"; }

// The remade puzzle, padded, as it ships; its places and overlays scaled.
bool ShipRemadePuzzle(QuizDefinition* quiz, Problems* problems, RgbImage* puzzle) {
    const RgbImage& made = quiz->puzzleImage;
    const Rgb ground = {quiz->package.red, quiz->package.green, quiz->package.blue};
    *puzzle = RgbImage(made.width, std::max(made.height, kMinMadeHeight), ground);
    for (int y = 0; y < made.height; ++y) std::copy_n(&made.At(0, y), made.width, &puzzle->At(0, y));
    const int line = quiz->lines.count("puzzle") ? quiz->lines.at("puzzle") : 1;
    if (!MadePicture(*puzzle, &quiz->puzzle)) {
        problems->Report(line, "puzzle", kUnread);
        return false;
    }
    for (size_t k = 0; k < quiz->questions.size(); ++k) {
        QuestionDefinition& q = quiz->questions[k];
        if (!q.hasOverlay) continue;
        q.place = ScalePlace(q.place, quiz->puzzleSourceWidth, made.width, made.height);
        if (q.drawnMark) continue;
        RgbImage overlay;
        std::string error;
        if (!DecodeOnGround(q.overlay.bytes, ground, &overlay, &error) ||
            !MadePicture(ScaleImage(overlay, q.place[2], q.place[3]), &q.overlay)) {
            problems->Report(q.line, OverlayField(k), kUnread);
            return false;
        }
    }
    return true;
}

}  // namespace

std::array<int, 4> ScalePlace(const std::array<int, 4>& place, int from, int to, int toHeight) {
    auto scaled = [&](int v) { return int((int64_t(v) * to + from / 2) / from); };
    // A start rounded onto the scaled puzzle's far side moves back onto its
    // last pixel, so that a place of one pixel at the edge still has one; its
    // end, inside the source, rounds to the far side at most.
    auto side = [&](int start, int length, int limit, int* first, int* extent) {
        *first = std::min(scaled(start), limit - 1);
        *extent = std::max(1, scaled(start + length) - *first);
    };
    std::array<int, 4> out;
    side(place[0], place[2], to, &out[0], &out[2]);
    side(place[1], place[3], toHeight, &out[1], &out[3]);
    return out;
}

void MakePicturePuzzle(QuizDefinition* quiz, Problems* problems) {
    const bool remade = !quiz->puzzleImage.pixels.empty();
    const bool marks = std::any_of(quiz->questions.begin(), quiz->questions.end(),
                                   [](const QuestionDefinition& q) { return q.drawnMark; });
    if (!remade && !marks) return;
    RgbImage puzzle;
    std::string error;
    if (remade ? !ShipRemadePuzzle(quiz, problems, &puzzle) : !DecodePicture(quiz->puzzle.bytes, &puzzle, &error))
        return;
    for (size_t k = 0; k < quiz->questions.size(); ++k) {
        QuestionDefinition& q = quiz->questions[k];
        if (!q.drawnMark) continue;
        // A place reaches past the puzzle only by rounding: it keeps inside.
        q.place[2] = std::min(q.place[2], puzzle.width - q.place[0]);
        q.place[3] = std::min(q.place[3], puzzle.height - q.place[1]);
        RgbImage mark;
        if (!DrawMark(puzzle, q.place, "", MarkStyle{}, &mark, &error) || !MadePicture(mark, &q.overlay)) {
            problems->Report(q.line, "question[" + std::to_string(k + 1) + "].place", error.empty() ? kUnread : error);
            return;
        }
        q.overlay.path = "(marque)";
    }
}

}  // namespace quizpack
