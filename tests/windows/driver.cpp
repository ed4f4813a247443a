// Drives the player from outside, as a user would, through window messages.
//
//   driver e2e PLAYER.exe   start the player, check its window against the
//                           quiz it carries, close it (WM_CLOSE), check the exit
//   driver wait [SECONDS]   wait until a player window is shown
//   driver close [SECONDS]  close the player window and wait until it is gone
//   driver bottom           scroll the grid to its bottom
//   driver resize W H       give the player window that outer size
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "model/package_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/shell_win32.h"

namespace {

int g_failures = 0;
int g_checks = 0;

void Check(bool ok, const char* what, const std::string& expected, const std::string& got) {
    ++g_checks;
    if (ok) return;
    ++g_failures;
    std::printf("FAIL %s\n  expected: %s\n  got:      %s\n", what, expected.c_str(), got.c_str());
}

void CheckEqual(const char* what, long expected, long got) {
    Check(expected == got, what, std::to_string(expected), std::to_string(got));
}

HWND WaitForPlayerWindow(DWORD milliseconds) {
    for (DWORD waited = 0; waited <= milliseconds; waited += 100) {
        HWND window = FindWindowA(quiz::kMainClassName, nullptr);
        if (window && IsWindowVisible(window)) return window;
        Sleep(100);
    }
    return nullptr;
}

// Wine takes Windows paths; a Unix path is reached through drive Z:.
std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        for (char& c : path)
            if (c == '/') c = '\\';
    }
    return path;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The grid: the dialog with both scroll bars; the header: the other one.
int FindDialogs(HWND window, HWND* grid, HWND* header) {
    int dialogs = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        if (std::strcmp(className, "#32770") != 0) continue;
        ++dialogs;
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        ((style & (WS_VSCROLL | WS_HSCROLL)) == (WS_VSCROLL | WS_HSCROLL) ? *grid : *header) = child;
    }
    return dialogs;
}

// What a player sees before typing: the header's texts and one block of
// controls per question, every picture in place, and a grid that scrolls.
void CheckQuizOnScreen(const quiz::QuizState& quiz, HWND grid, HWND header) {
    char score[32];
    std::snprintf(score, sizeof score, " 0 / %d", quiz.questionCount);
    Check(TextOf(GetDlgItem(header, 32)) == score, "score label", score, TextOf(GetDlgItem(header, 32)));
    Check(TextOf(GetDlgItem(header, 29)) == quiz.title, "title label", quiz.title,
          TextOf(GetDlgItem(header, 29)));
    Check(TextOf(GetDlgItem(header, 24)) == quiz.linkText, "link label", quiz.linkText,
          TextOf(GetDlgItem(header, 24)));
    Check(TextOf(GetDlgItem(header, 26)) == quiz.author, "author label", quiz.author,
          TextOf(GetDlgItem(header, 26)));
    CheckEqual("\"Cacher\" for a picture quiz", quiz.quizKind == 1, GetDlgItem(header, 33) != nullptr);
    const int fields = quiz.questionCount * quiz.answersPerQuestion;
    int present = 0, pictures = 0, unknown = 0;
    for (int a = 1; a <= fields; ++a) {
        present += GetDlgItem(grid, 4000 + a) != nullptr;
        unknown += TextOf(GetDlgItem(grid, 5000 + a)) == "?";
    }
    for (int k = 1; k <= quiz.questionCount; ++k)
        pictures += SendMessageA(GetDlgItem(grid, 9900 + k), STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
    CheckEqual("answer fields", fields, present);
    CheckEqual("result labels reading \"?\"", fields, unknown);
    CheckEqual("pictures shown", quiz.questionCount, pictures);
    CheckEqual("no field past the last", 0, GetDlgItem(grid, 4001 + fields) != nullptr);
    // Scroll positions can't be read from another process under Wine; the
    // first picture's place tells how far the content moved.
    auto firstPictureTop = [&] {
        RECT r = {};
        GetWindowRect(GetDlgItem(grid, 9901), &r);
        MapWindowPoints(nullptr, grid, reinterpret_cast<POINT*>(&r), 2);
        return static_cast<long>(r.top);
    };
    const long top = firstPictureTop();
    SendMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
    Check(firstPictureTop() < top - 1000, "SB_BOTTOM moves the content up", "by more than 1000",
          std::to_string(top - firstPictureTop()));
    SendMessageA(grid, WM_VSCROLL, SB_TOP, 0);
    CheckEqual("SB_TOP brings it back", top, firstPictureTop());
}

int EndToEnd(const std::string& playerPath) {
    std::string player = WindowsPath(playerPath);

    // What the player should show: the quiz it carries, read from its own
    // resources with the player's loader.
    HMODULE resources = LoadLibraryExA(player.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!resources) {
        std::printf("FAIL cannot open %s\n", player.c_str());
        return 1;
    }
    quiz::QuizState* expected = quiz::CreateQuizState();
    quiz::LoadQuizPackage(expected, resources);
    FreeLibrary(resources);

    if (FindWindowA(quiz::kMainClassName, nullptr)) {
        std::printf("FAIL a player window is open already\n");
        return 1;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + player + "\"";
    if (!CreateProcessA(player.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::printf("FAIL cannot start %s (error %lu)\n", player.c_str(), GetLastError());
        return 1;
    }
    HWND window = WaitForPlayerWindow(30000);
    Check(window != nullptr, "the player's window appears", "a window of class Zarlo", "none");
    if (window) {
        Check(TextOf(window) == expected->title, "caption is the quiz title", expected->title,
              TextOf(window));
        RECT rect, desktop;
        GetWindowRect(window, &rect);
        GetWindowRect(GetDesktopWindow(), &desktop);
        CheckEqual("outer width", quiz::kMainWidth, rect.right - rect.left);
        CheckEqual("outer height", quiz::kMainHeight, rect.bottom - rect.top);
        CheckEqual("centred across",
                   desktop.left + ((desktop.right - desktop.left) - quiz::kMainWidth) / 2,
                   rect.left);
        CheckEqual("centred down",
                   desktop.top + ((desktop.bottom - desktop.top) - quiz::kMainHeight) / 2,
                   rect.top);
        HWND label = GetDlgItem(window, quiz::kStatusLabelId);
        Check(TextOf(label) == expected->statusText, "status label shows the status text",
              expected->statusText, TextOf(label));
        RECT client, labelRect;
        GetClientRect(window, &client);
        GetWindowRect(label, &labelRect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&labelRect), 2);
        CheckEqual("status label x", client.right - 145, labelRect.left);
        CheckEqual("status label y", client.bottom - 16, labelRect.top);

        HWND grid = nullptr, header = nullptr;
        const int dialogs = FindDialogs(window, &grid, &header);
        CheckEqual("dialogs in the main window", 2, dialogs);
        Check(grid && header, "a grid with both scroll bars and a header", "both", "not both");
        if (grid && header) CheckQuizOnScreen(*expected, grid, header);

        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    DWORD waited = WaitForSingleObject(process.hProcess, 20000);
    Check(waited == WAIT_OBJECT_0, "the player ends after WM_CLOSE", "ended", "still running");
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
    DWORD exitCode = 12345;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CheckEqual("exit code", 0, static_cast<long>(exitCode));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    quiz::DestroyQuizState(expected);

    std::printf("%d passed, %d failed\n", g_checks - g_failures, g_failures);
    return g_failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string verb = argc > 1 ? argv[1] : "";
    DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 30;
    if (verb == "e2e" && argc == 3) return EndToEnd(argv[2]);
    if (verb == "wait") return WaitForPlayerWindow(seconds * 1000) ? 0 : 1;
    if (verb == "close") {
        HWND window = FindWindowA(quiz::kMainClassName, nullptr);
        if (!window) return 1;
        PostMessageA(window, WM_CLOSE, 0, 0);
        for (DWORD waited = 0; waited < seconds * 1000; waited += 100) {
            if (!FindWindowA(quiz::kMainClassName, nullptr)) return 0;
            Sleep(100);
        }
        return 1;
    }
    if (verb == "bottom" || (verb == "resize" && argc == 4)) {  // for screenshots
        HWND window = FindWindowA(quiz::kMainClassName, nullptr);
        HWND grid = nullptr, header = nullptr;
        if (!window || !FindDialogs(window, &grid, &header) || !grid) return 1;
        if (verb == "bottom")
            SendMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
        else
            SetWindowPos(window, nullptr, 0, 0, std::atoi(argv[2]), std::atoi(argv[3]),
                         SWP_NOZORDER | SWP_NOMOVE);
        return 0;
    }
    std::fprintf(stderr,
                 "usage: driver e2e PLAYER.exe | wait [SECONDS] | close [SECONDS] | bottom | "
                 "resize WIDTH HEIGHT\n");
    return 2;
}
