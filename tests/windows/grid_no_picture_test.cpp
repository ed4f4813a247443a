// A grid whose puzzle picture cannot be loaded: the loader says so once, the
// rows close up to 10 pixels above their answers and no control gets a bitmap.
#include <gtest/gtest.h>
#include <windows.h>

#include "test_support.h"
#include "win32_test_support.h"

namespace quiz {
namespace {

TEST(GridWithoutPicture, RowsStandOnTheirAnswers) {
    test::AlertCapture alerts;
    QuizState* state = test::MakeQuiz(0, 1, {{"POMME", nullptr, ""}, {"FIGUE", nullptr, ""},
                                             {"KIWI", nullptr, ""}, {"NOIX", nullptr, ""}});
    test::GridFixture fixture = test::OpenGrid(1000, 800);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].text, "Error: couldn't load PNG resource");
    EXPECT_EQ(test::ChildRect(GetDlgItem(fixture.grid, 4001)).top, 15);
    EXPECT_EQ(test::ChildRect(GetDlgItem(fixture.grid, 4004)).top, 85);  // 15 + 60 + 10
    EXPECT_EQ(state->gridHeight, 145);
    EXPECT_EQ(state->rowHeights[0], 0);
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(SendMessageA(GetDlgItem(fixture.grid, 9900 + k), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
            << k;
    test::CloseGrid(&fixture);
    test::DropQuiz(state);
}

}  // namespace
}  // namespace quiz
