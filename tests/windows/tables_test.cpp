// A player whose tables are malformed reads them as empty and plays: every
// question counts 2 letters and a find marks no cell.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "answers/answer_check_win32.h"
#include "grid/quiz_tables.h"
#include "model/alert.h"
#include "model/quiz_state.h"
#include "shell/shell_win32.h"
#include "test_support.h"
#include "win32_test_support.h"

namespace quiz {
namespace {

TEST(MalformedTables, CountsOfTwoNoOverlayAndTheGamePlays) {
    std::remove(test::ProgressName().c_str());
    test::AlertCapture capture;
    PlayerWindows windows;
    ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), &windows));
    EXPECT_TRUE(capture.alerts().empty());
    EXPECT_TRUE(CarriedTables().letterCounts.empty());
    EXPECT_TRUE(CarriedTables().answerPlaces.empty());
    QuizState* state = CurrentQuizState();
    ASSERT_EQ(state->questionCount, 21);
    AnswerPlace place{};
    EXPECT_EQ(LetterCountOf(1), 2);
    EXPECT_FALSE(AnswerPlaceOf(1, &place));

    auto picture = [&] {
        auto bitmap = reinterpret_cast<HBITMAP>(
            SendMessageA(GetDlgItem(windows.grid, 9901), STM_GETIMAGE, IMAGE_BITMAP, 0));
        return bitmap ? test::PixelsOf(bitmap) : std::vector<uint32_t>();
    };
    const std::vector<uint32_t> before = picture();
    ASSERT_FALSE(before.empty());
    SetWindowTextA(GetDlgItem(windows.grid, 4001), "abricot");
    CheckAnswerField(state, windows.grid, 4001);
    EXPECT_EQ(test::TextOf(GetDlgItem(windows.grid, 5001)), "BRAVO");
    EXPECT_EQ(test::TextOf(GetDlgItem(windows.header, 32)), " 1 / 21");
    EXPECT_EQ(picture(), before);  // found, but with no place its picture stays
    EXPECT_TRUE(capture.alerts().empty());

    SetWindowTextA(GetDlgItem(windows.grid, 4001), "");
    std::remove(test::ProgressName().c_str());
    HWND main = windows.main;
    ShutDownPlayer(&windows);
    DestroyWindow(main);
    std::remove(test::ProgressName().c_str());
}

}  // namespace
}  // namespace quiz
