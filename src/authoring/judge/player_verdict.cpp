#include "judge/player_verdict.h"

#include <algorithm>
#include <cstring>

#include "answers/answer_compare.h"
#include "model/package.h"
#include "model/stored_form.h"

namespace quizpack {

namespace {

constexpr size_t kMaxText = quiz::kTextSize - 1;

}  // namespace

std::string PlayerVerdict(const std::string& expected, const std::string& typed) {
    char accepted[quiz::kTextSize] = {};
    char answer[quiz::kTextSize] = {};
    // Both fit the player's buffers, whose last byte stays NUL.
    std::memcpy(accepted, expected.data(), std::min(expected.size(), kMaxText));
    std::memcpy(answer, typed.data(), std::min(typed.size(), kMaxText));
    quiz::TransformAnswerText(accepted);
    quiz::NormalizeTypedAnswer(answer);
    return quiz::ChooseVerdict(accepted, answer);
}

}  // namespace quizpack
