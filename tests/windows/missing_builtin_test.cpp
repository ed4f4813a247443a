// A player whose built-in record is missing: the loader's one message, as
// for any record that does not decode, and the windows open with the
// defaults.
#include <gtest/gtest.h>
#include <windows.h>

#include "model/alert.h"
#include "model/package_win32.h"
#include "model/quiz_state.h"
#include "shell/shell_win32.h"
#include "test_support.h"
#include "win32_test_support.h"

namespace quiz {
namespace {

TEST(MissingBuiltInRecord, TheLoadersMessageAndNothingLoaded) {
    EXPECT_TRUE(CarriesQuiz());  // not the bare stub: it has records 104 and 105
    test::AlertCapture capture;
    PlayerWindows windows;
    ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), &windows));
    ASSERT_EQ(capture.alerts().size(), 1u);
    EXPECT_EQ(capture.alerts()[0].text, "Erreur dans le d\xE9" "chiffrage");
    EXPECT_EQ(capture.alerts()[0].caption, "Zarlo");
    EXPECT_EQ(CurrentQuizState()->questionCount, 0);
    EXPECT_EQ(test::TextOf(windows.main), "nom du zarlo");  // record 104 was never read
    HWND main = windows.main;
    ShutDownPlayer(&windows);
    DestroyWindow(main);
    std::remove(test::ProgressName().c_str());
}

}  // namespace
}  // namespace quiz
