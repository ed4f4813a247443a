// A player whose record 104 is corrupt: one message, and the windows open all
// the same with what the state holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "model/alert.h"
#include "test_support.h"
#include "model/quiz_state.h"
#include "shell/shell_win32.h"
#include "win32_test_support.h"

namespace quiz {
namespace {

using test::FileBytes;
using test::ProgressName;

TEST(CorruptPackage, OneMessageAndTheWindowsStillOpen) {
    // The answers of earlier games, beside a player that cannot read its quiz.
    const std::string earlier = "abricot\r\namande\r\nananas\r\n";
    if (FILE* file = std::fopen(ProgressName().c_str(), "wb")) {
        std::fputs(earlier.c_str(), file);
        std::fclose(file);
    }
    test::AlertCapture capture;
    const std::vector<test::Alert>& alerts = capture.alerts();
    PlayerWindows windows;
    ASSERT_TRUE(StartPlayer(GetModuleHandleA(nullptr), &windows));
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].text, "Erreur dans le d\xE9" "chiffrage");
    EXPECT_EQ(alerts[0].caption, "Zarlo");
    EXPECT_TRUE(IsWindow(windows.main));
    EXPECT_TRUE(IsWindowVisible(windows.main));
    EXPECT_TRUE(IsWindow(windows.header));
    EXPECT_TRUE(IsWindow(windows.grid));
    char caption[300] = {};
    GetWindowTextA(windows.main, caption, sizeof caption);
    EXPECT_STREQ(caption, "nom du zarlo");  // record 104 never reached the state
    char status[300] = {};
    GetWindowTextA(GetDlgItem(windows.main, kStatusLabelId), status, sizeof status);
    EXPECT_STREQ(status, "Mots m\xEAl\xE9s : les fruits");  // the built-in record did
    QuizState* state = CurrentQuizState();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->questionCount, 0);
    LOGBRUSH brush = {};
    GetObjectA(static_cast<HGDIOBJ>(state->backBrush), sizeof brush, &brush);
    EXPECT_EQ(brush.lbColor, RGB(90, 95, 150));

    // No field to save from: "Sauver" and closing leave them as they were.
    SendMessageA(windows.header, WM_COMMAND, 27, 0);
    EXPECT_EQ(FileBytes(ProgressName()), earlier);
    SendMessageA(windows.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(windows.grid), 0);
    EXPECT_EQ(FileBytes(ProgressName()), earlier);
    EXPECT_EQ(alerts.size(), 1u);  // nothing failed: no second message
    std::remove(ProgressName().c_str());
    HWND main = windows.main;
    ShutDownPlayer(&windows);
    DestroyWindow(main);
}

}  // namespace
}  // namespace quiz
