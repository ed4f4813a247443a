// Drives the player from outside, as a user would, through window messages.
//
//   driver e2e PLAYER.exe [marks]  start the player, check its window against
//                           the quiz it carries, close it (WM_CLOSE), check the
//                           exit; with marks (a quiz whose marks quizpack drew),
//                           find the first and last question, see their marks,
//                           save, restart and see them restored
//   driver e2e PLAYER.exe finds  the same without looking at the marks (a
//                           word search's, which are no frames)
//   driver wait [SECONDS]   wait until a player window is shown
//   driver close [SECONDS]  close the player window and wait until it is gone
//   driver startup N EXE DIR [EXE DIR ...]  start each EXE from its DIR,
//                           once a round for N rounds; print each one's
//                           median time until its loop first waits for
//                           input (ms), a line each
//   driver text ID          print the text of grid control ID
//   driver bottom           scroll the grid to its bottom
//   driver cacher           click "Cacher"
//   driver resize W H       give the player window that outer size
//   driver save             click "Sauver"; print the message box it shows
//                           (line ends as "|") and press OK; exit 1 without one
//   driver close-answer yes|no  close the window; print the message box that
//                           asks, and answer it
//   driver answer ID TEXT   type TEXT into answer field ID and press Enter;
//                           print its verdict
//   driver end-session      send the player WM_QUERYENDSESSION; print its
//                           answer (1: the session may end)
//   driver snapshot         print what the player shows: every control of the
//                           header and the grid (class, text, visibility,
//                           place) and a hash of every picture's pixels on
//                           screen, line by line from top to bottom (a
//                           screen of 1280 x 1400 at least)
//   driver memory EXE DIR CYCLES [ANSWER]  start EXE from DIR; print its
//                           working set (MB) once shown, then after CYCLES
//                           times a wrong answer and ANSWER for question 1
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <algorithm>
#include <vector>

#include "answers/progress_file.h"
#include "model/stored_form.h"
#include "grid/quiz_tables_win32.h"
#include "model/package_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/shell_win32.h"
#include "win32_test_support.h"

namespace {

int g_failures = 0;
int g_checks = 0;
// The tables of the player under test, read from its file as it reads them.
quiz::QuizTables g_tables;

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

// WM_GETTEXT itself: GetWindowTextA does not ask a control of another
// process for its text (an edit's would read empty).
std::string TextOf(HWND window) {
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
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
    // Past two rows of pictures the grid is taller than the window.
    if (quiz.questionCount > 6)
        Check(firstPictureTop() < top - 1000, "SB_BOTTOM moves the content up", "by more than 1000",
              std::to_string(top - firstPictureTop()));
    SendMessageA(grid, WM_VSCROLL, SB_TOP, 0);
    CheckEqual("SB_TOP brings it back", top, firstPictureTop());
}

struct Running {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr, grid = nullptr, header = nullptr;
};

// Starts the player in `directory`, as a user starting it from there would.
bool Start(const std::string& player, const std::string& directory, Running* run) {
    if (FindWindowA(quiz::kMainClassName, nullptr)) {
        std::printf("FAIL a player window is open already\n");
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + player + "\"";
    if (!CreateProcessA(player.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &run->process)) {
        std::printf("FAIL cannot start %s (error %lu)\n", player.c_str(), GetLastError());
        return false;
    }
    run->window = WaitForPlayerWindow(30000);
    Check(run->window != nullptr, "the player's window appears", "a window of class Zarlo", "none");
    if (!run->window) return false;
    const int dialogs = FindDialogs(run->window, &run->grid, &run->header);
    CheckEqual("dialogs in the main window", 2, dialogs);
    Check(run->grid && run->header, "a grid with both scroll bars and a header", "both", "not both");
    return run->grid && run->header;
}

void CloseAndWait(Running* run) {
    if (run->window) PostMessageA(run->window, WM_CLOSE, 0, 0);
    DWORD waited = WaitForSingleObject(run->process.hProcess, 20000);
    Check(waited == WAIT_OBJECT_0, "the player ends after WM_CLOSE", "ended", "still running");
    if (waited != WAIT_OBJECT_0) TerminateProcess(run->process.hProcess, 99);
    DWORD exitCode = 12345;
    GetExitCodeProcess(run->process.hProcess, &exitCode);
    CheckEqual("exit code", 0, static_cast<long>(exitCode));
    CloseHandle(run->process.hThread);
    CloseHandle(run->process.hProcess);
    *run = {};
}

void CheckMainWindow(const quiz::QuizState& expected, HWND window) {
    Check(TextOf(window) == expected.title, "caption is the quiz title", expected.title,
          TextOf(window));
    RECT rect, desktop;
    GetWindowRect(window, &rect);
    GetWindowRect(GetDesktopWindow(), &desktop);
    CheckEqual("outer width", quiz::kMainWidth, rect.right - rect.left);
    CheckEqual("outer height", quiz::kMainHeight, rect.bottom - rect.top);
    CheckEqual("centred across",
               desktop.left + ((desktop.right - desktop.left) - quiz::kMainWidth) / 2, rect.left);
    CheckEqual("centred down",
               desktop.top + ((desktop.bottom - desktop.top) - quiz::kMainHeight) / 2, rect.top);
    HWND label = GetDlgItem(window, quiz::kStatusLabelId);
    Check(TextOf(label) == expected.statusText, "status label shows the status text",
          expected.statusText, TextOf(label));
    RECT client, labelRect;
    GetClientRect(window, &client);
    GetWindowRect(label, &labelRect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&labelRect), 2);
    CheckEqual("status label x", client.right - 145, labelRect.left);
    CheckEqual("status label y", client.bottom - 16, labelRect.top);
}

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return "(no file)";
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

long TopOf(HWND grid, int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(grid, id), &r);
    MapWindowPoints(nullptr, grid, reinterpret_cast<POINT*>(&r), 2);
    return r.top;
}

// Types into a field as the message loop would hand it over, and confirms
// with a key released in the field.
void Answer(HWND grid, int field, const char* text, WPARAM key = VK_RETURN) {
    SendMessageA(GetDlgItem(grid, field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(GetDlgItem(grid, field), WM_KEYUP, key, 0xC0000001);
}

void CheckLabel(HWND grid, int label, const char* verdict) {
    const std::string what = "label " + std::to_string(label);
    Check(TextOf(GetDlgItem(grid, label)) == verdict, what.c_str(), verdict,
          TextOf(GetDlgItem(grid, label)));
}

void CheckScore(const quiz::QuizState& quiz, HWND header, int found) {
    char score[32];
    std::snprintf(score, sizeof score, " %d / %d", found, quiz.questionCount);
    Check(TextOf(GetDlgItem(header, 32)) == score, "score", score, TextOf(GetDlgItem(header, 32)));
    const std::string code = found ? quiz.questionLines[found - 1] : "      ";
    Check(TextOf(GetDlgItem(header, 30)) == code, "code field", code, TextOf(GetDlgItem(header, 30)));
}

// The expected file: every field's text and CR LF, read from the player.
std::string FieldsAsFile(const quiz::QuizState& quiz, HWND grid) {
    std::string bytes;
    for (int i = 1; i <= quiz.questionCount * quiz.answersPerQuestion; ++i)
        bytes += TextOf(GetDlgItem(grid, 4000 + i)) + "\r\n";
    return bytes;
}

// What the screen shows of a picture control, as RGB rows, over the part of
// it that the grid shows (the control may reach below the grid's client).
struct ScreenShot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

ScreenShot Shoot(HWND grid, HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Sleep(200);  // the player paints on its own thread
    RECT picture, client;
    GetWindowRect(control, &picture);
    GetClientRect(grid, &client);
    MapWindowPoints(grid, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT shown;
    IntersectRect(&shown, &picture, &client);
    ScreenShot shot;
    shot.width = shown.right - picture.left;
    shot.height = shown.bottom - picture.top;
    if (shot.width <= 0 || shot.height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, picture.left, picture.top, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    shot.pixels.assign(p, p + size_t(shot.width) * shot.height);
    for (uint32_t& px : shot.pixels) px &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// A found question's picture on screen: its answer's cells tinted inside the
// place the tables give, everything else as before.
void CheckMarkedOnScreen(const ScreenShot& before, const ScreenShot& after, int k) {
    const uint32_t kTint = 0xFFAACD;  // the word search's default tint, 255 170 205
    quiz::AnswerPlace place{};
    Check(quiz::AnswerPlaceOf(g_tables, k, &place), "the question has a place", "a place", "none");
    Check(before.width > 0 && before.width == after.width && before.height == after.height,
          "the picture is on screen", std::to_string(before.width) + " x " + std::to_string(before.height),
          std::to_string(after.width) + " x " + std::to_string(after.height));
    if (before.width <= 0 || before.width != after.width || before.height != after.height) return;
    long tintBefore = 0, tintAfter = 0, changedOutside = 0;
    for (int y = 0; y < after.height; ++y)
        for (int x = 0; x < after.width; ++x) {
            const bool inside = x >= place.left && x < place.left + place.width && y >= place.top &&
                                y < place.top + place.height;
            if (inside) {
                tintBefore += before.At(x, y) == kTint;
                tintAfter += after.At(x, y) == kTint;
            } else {
                changedOutside += before.At(x, y) != after.At(x, y);
            }
        }
    CheckEqual("no tint before the answer", 0, tintBefore);
    Check(tintAfter >= quiz::LetterCountOf(g_tables, k) * 200, "its cells tinted at its place",
          "at least " + std::to_string(quiz::LetterCountOf(g_tables, k) * 200) + " pixels", std::to_string(tintAfter));
    CheckEqual("nothing changed outside its place", 0, changedOutside);
}

// The sample quiz (layout 3: a found question shows its hint and its marked
// picture), played through the player's own windows.
std::string Play(const quiz::QuizState& quiz, const Running& run, const std::string& progress) {
    HWND grid = run.grid, header = run.header;
    auto picture = [&](int k) {
        return SendMessageA(GetDlgItem(grid, 9900 + k), STM_GETIMAGE, IMAGE_BITMAP, 0);
    };
    const LRESULT unmarked = picture(1);
    const ScreenShot before = Shoot(grid, GetDlgItem(grid, 9901));
    Answer(grid, 4001, "abricot");
    CheckMarkedOnScreen(before, Shoot(grid, GetDlgItem(grid, 9901)), 1);
    CheckLabel(grid, 5001, "BRAVO");
    CheckScore(quiz, header, 1);
    Check(IsWindowVisible(GetDlgItem(grid, 8001)), "a found question shows its hint", "visible", "hidden");
    Check(picture(1) != unmarked, "a found question shows its marked picture", "a new bitmap", "the same");
    Answer(grid, 4002, "zzz");
    CheckLabel(grid, 5002, "FAUX");
    Answer(grid, 4003, "ANANA");
    CheckLabel(grid, 5003, "Quasiment");
    Answer(grid, 4002, "AMADNE");
    CheckLabel(grid, 5002, "Anagramme");
    CheckScore(quiz, header, 1);
    Check(!IsWindowVisible(GetDlgItem(grid, 8002)), "an open question keeps its hint hidden", "hidden", "visible");
    // F1 spreads the text of field 4 over every open field: question 5's answer.
    Answer(grid, 4004, "cassis", VK_F1);
    CheckLabel(grid, 5005, "BRAVO");
    CheckLabel(grid, 5001, "BRAVO");
    Check(TextOf(GetDlgItem(grid, 4001)) == "abricot", "a right field keeps its text", "abricot",
          TextOf(GetDlgItem(grid, 4001)));
    Check(TextOf(GetDlgItem(grid, 4021)) == "cassis", "open fields take the text", "cassis",
          TextOf(GetDlgItem(grid, 4021)));
    CheckLabel(grid, 5004, "FAUX");
    CheckScore(quiz, header, 2);
    // F2, then "Sauver": the same file, every field's text with CR LF.
    SendMessageA(GetDlgItem(grid, 4004), WM_KEYUP, VK_F2, 0xC0000001);
    const std::string expected = FieldsAsFile(quiz, grid);
    Check(ReadFileBytes(progress) == expected, "F2 writes every field", expected, ReadFileBytes(progress));
    DeleteFileA(progress.c_str());
    SendMessageA(header, WM_COMMAND, 27, 0);
    Check(ReadFileBytes(progress) == expected, "\"Sauver\" writes the same", expected, ReadFileBytes(progress));
    // "Cacher": the found questions give up their pictures, their fields rise.
    const long fieldTop = TopOf(grid, 4001), otherTop = TopOf(grid, 4002);
    SendMessageA(GetDlgItem(header, 33), BM_CLICK, 0, 0);
    Check(!IsWindowVisible(GetDlgItem(grid, 9901)), "\"Cacher\" hides a found picture", "hidden", "visible");
    CheckEqual("its field rises by the row's height", fieldTop - 505, TopOf(grid, 4001));
    CheckEqual("an open question stays", otherTop, TopOf(grid, 4002));
    SendMessageA(GetDlgItem(header, 33), BM_CLICK, 0, 0);
    Check(IsWindowVisible(GetDlgItem(grid, 9901)), "unchecked, the picture is back", "visible", "hidden");
    CheckEqual("and the field with it", fieldTop, TopOf(grid, 4001));
    return expected;
}

// The answer the player types for question k, from its stored form.
std::string AcceptedAnswer(const quiz::QuizState& quiz, int k) {
    uint8_t plain[256] = {};
    for (int b = 0; b < 256; ++b) plain[quiz::EncodeAnswerByte(static_cast<uint8_t>(b))] = static_cast<uint8_t>(b);
    std::string answer;
    for (const char* p = quiz::QuestionAt(&quiz, k - 1)->answer1; *p; ++p)
        answer.push_back(static_cast<char>(plain[static_cast<uint8_t>(*p)]));
    return answer;
}

// The mark quizpack draws shows on question k's picture: its frame at the
// corners of the question's place, nothing changed outside it.
bool g_framedMarks = true;  // false: the marks are a word search's tinted words
void CheckDrawnMark(const ScreenShot& before, const ScreenShot& after, int k, bool found) {
    if (!g_framedMarks) return;
    const uint32_t kFrame = 0xDC1E28;  // 220 30 40
    quiz::AnswerPlace place{};
    Check(quiz::AnswerPlaceOf(g_tables, k, &place), "the question has a place", "a place", "none");
    if (after.width <= 0 || place.left + place.width > after.width || place.top + place.height > after.height) {
        Check(false, "the place lies on the picture on screen", "inside", std::to_string(after.width) + " x " + std::to_string(after.height));
        return;
    }
    const int corners[4][2] = {{place.left + 1, place.top + 1},
                               {place.left + place.width - 2, place.top + 1},
                               {place.left + 1, place.top + place.height - 2},
                               {place.left + place.width - 2, place.top + place.height - 2}};
    int framed = 0;
    for (const auto& c : corners) framed += after.At(c[0], c[1]) == kFrame;
    CheckEqual(found ? "the mark's frame at its place's corners" : "no mark before the find", found ? 4 : 0, framed);
    if (!found || before.width != after.width || before.height != after.height) return;
    long changedOutside = 0;
    for (int y = 0; y < after.height; ++y)
        for (int x = 0; x < after.width; ++x)
            if (x < place.left || x >= place.left + place.width || y < place.top || y >= place.top + place.height)
                changedOutside += before.At(x, y) != after.At(x, y);
    CheckEqual("nothing changed outside its place", 0, changedOutside);
}

// A quiz whose marks quizpack drew (a mosaic, a photo with places): the first
// two questions (on screen at the start) found, their marks on screen, the
// answers saved.
// The player's window as wide as the screen allows: two columns of pictures
// whole on screen.
void Widen(const Running& run) {
    SetWindowPos(run.window, nullptr, 0, 0, 1250, 980, SWP_NOZORDER);
    Sleep(300);
}

std::string PlayMarks(const quiz::QuizState& quiz, const Running& run, const std::string& progress) {
    Widen(run);
    for (int k : {1, 2}) {
        const ScreenShot before = Shoot(run.grid, GetDlgItem(run.grid, 9900 + k));
        CheckDrawnMark(before, before, k, false);
        Answer(run.grid, 4000 + k, AcceptedAnswer(quiz, k).c_str());
        CheckLabel(run.grid, 5000 + k, "BRAVO");
        CheckDrawnMark(before, Shoot(run.grid, GetDlgItem(run.grid, 9900 + k)), k, true);
    }
    CheckScore(quiz, run.header, 2);
    SendMessageA(run.header, WM_COMMAND, 27, 0);  // "Sauver"
    const std::string expected = FieldsAsFile(quiz, run.grid);
    Check(ReadFileBytes(progress) == expected, "\"Sauver\" writes every field", expected, ReadFileBytes(progress));
    return expected;
}

void CheckRestoredMarks(const quiz::QuizState& quiz, const Running& run) {
    Widen(run);
    for (int k : {1, 2}) {
        CheckLabel(run.grid, 5000 + k, "BRAVO");
        const ScreenShot now = Shoot(run.grid, GetDlgItem(run.grid, 9900 + k));
        CheckDrawnMark(now, now, k, true);
    }
    CheckScore(quiz, run.header, 2);
}

void CheckRestored(const quiz::QuizState& quiz, const Running& run) {
    CheckLabel(run.grid, 5001, "BRAVO");
    CheckLabel(run.grid, 5005, "BRAVO");
    CheckLabel(run.grid, 5004, "FAUX");
    CheckScore(quiz, run.header, 2);
    Check(IsWindowVisible(GetDlgItem(run.grid, 8005)), "a restored find shows its hint", "visible", "hidden");
    Check(!IsWindowVisible(GetDlgItem(run.grid, 8004)), "an open question does not", "hidden", "visible");
}

int EndToEnd(const std::string& playerPath, bool marks) {
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
    g_tables = quiz::LoadQuizTables(resources);
    FreeLibrary(resources);

    // A scratch directory of its own: the progress file lands there.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string directory = std::string(temp) + "quiz-e2e-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string name = player.substr(player.find_last_of('\\') + 1);
    char fileName[MAX_PATH];
    quiz::ProgressFileName(name.c_str(), fileName, sizeof fileName);
    const std::string progress = directory + "\\" + fileName;

    Running run;
    if (Start(player, directory, &run)) {
        CheckMainWindow(*expected, run.window);
        CheckQuizOnScreen(*expected, run.grid, run.header);
        const bool sample = std::strcmp(expected->title, "Les fruits") == 0;
        const std::string saved = sample  ? Play(*expected, run, progress)
                                  : marks ? PlayMarks(*expected, run, progress)
                                          : std::string();
        CloseAndWait(&run);
        if (!saved.empty()) {
            Check(ReadFileBytes(progress) == saved, "closing saves the same", saved, ReadFileBytes(progress));
            if (Start(player, directory, &run)) {
                if (sample) CheckRestored(*expected, run);
                else CheckRestoredMarks(*expected, run);
            }
            CloseAndWait(&run);
        }
    }
    DeleteFileA(progress.c_str());
    RemoveDirectoryA(directory.c_str());
    quiz::DestroyQuizState(expected);

    std::printf("%d passed, %d failed\n", g_checks - g_failures, g_failures);
    return g_failures ? 1 : 0;
}

// A visible top-level window of the process, once it has one.
HWND WindowOfProcess(DWORD processId) {
    struct Search {
        DWORD id;
        HWND found;
    } search = {processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->id || !IsWindowVisible(window) || GetParent(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One start of `program` in `folder`: from the start of the process until
// its message loop first waits for input with its window shown (ms), then
// closed. Negative when it could not be started.
double TimeOneStartUp(const std::string& program, const std::string& folder) {
    const std::string path = WindowsPath(program), directory = WindowsPath(folder);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + path + "\"";
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process))
        return -1;
    WaitForInputIdle(process.hProcess, 60000);
    HWND window = nullptr;
    while (!(window = WindowOfProcess(process.dwProcessId))) Sleep(1);
    QueryPerformanceCounter(&end);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1000.0 * (end.QuadPart - begin.QuadPart) / frequency.QuadPart;
}

// Starts each program of `cases` (program, folder) once a round for `runs`
// rounds, so that a machine that slows down during the run moves every
// figure alike, and prints each one's median (ms), a line each.
int TimeStartUps(int runs, const std::vector<std::pair<std::string, std::string>>& cases) {
    if (runs < 1) return 2;
    std::vector<std::vector<double>> times(cases.size());
    for (int round = 0; round < runs; ++round)
        for (size_t i = 0; i < cases.size(); ++i) {
            Sleep(300);  // what the last one left behind settles first
            const double time = TimeOneStartUp(cases[i].first, cases[i].second);
            if (time < 0) return 1;
            times[i].push_back(time);
        }
    for (std::vector<double>& t : times) {
        std::sort(t.begin(), t.end());
        std::printf("%.1f\n", t[t.size() / 2]);
    }
    return 0;
}

// Every control of `dialog` in creation order: id, class, visibility, place
// in the dialog and text.
void PrintControls(const char* name, HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        RECT r = {};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%s %d %s %s %ld,%ld %ldx%ld \"%s\"\n", name, GetDlgCtrlID(child), className,
                    IsWindowVisible(child) ? "shown" : "hidden", r.left, r.top, r.right - r.left,
                    r.bottom - r.top, TextOf(child).c_str());
    }
}

// What the player shows, in a form two builds can be compared by.
int Snapshot() {
    HWND window = FindWindowA(quiz::kMainClassName, nullptr);
    HWND grid = nullptr, header = nullptr;
    if (!window || !FindDialogs(window, &grid, &header) || !grid) return 1;
    PrintControls("header", header);
    PrintControls("grid", grid);
    std::vector<bool> shot(10000);
    // Tall enough for every picture to be seen whole at some line (a screen
    // of 1280 x 1400 at least).
    RECT outer;
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, 1200, 1300, SWP_NOZORDER | SWP_NOMOVE);
    SendMessageA(grid, WM_VSCROLL, SB_TOP, 0);
    auto leftOf = [&](int id) {
        RECT r = {};
        GetWindowRect(GetDlgItem(grid, id), &r);
        MapWindowPoints(nullptr, grid, reinterpret_cast<POINT*>(&r), 2);
        return r.left;
    };
    // SB_LEFT moves nothing in the grid: paged back instead.
    auto toTheLeft = [&] {
        for (int i = 0; i < 20; ++i) {
            const long left = leftOf(9901);
            SendMessageA(grid, WM_HSCROLL, SB_PAGELEFT, 0);
            if (leftOf(9901) == left) break;
        }
    };
    // Line by line, every picture is seen whole at some step.
    for (int line = 0; line < 5000; ++line) {
        toTheLeft();
        for (int across = 0; across < 10; ++across) {
            RECT client;
            GetClientRect(grid, &client);
            for (int id = 9901; id <= 9996; ++id) {
                HWND picture = GetDlgItem(grid, id);
                if (!picture || shot[id] || !IsWindowVisible(picture)) continue;
                RECT r = {};
                GetWindowRect(picture, &r);
                MapWindowPoints(nullptr, grid, reinterpret_cast<POINT*>(&r), 2);
                if (r.top < 0 || r.left < 0 || r.bottom > client.bottom || r.right > client.right) continue;
                const ScreenShot pixels = Shoot(grid, picture);
                uint64_t hash = 14695981039346656037ull;  // FNV-1a over the pixels
                for (uint32_t px : pixels.pixels) hash = (hash ^ px) * 1099511628211ull;
                std::printf("picture %d %dx%d %016llx\n", id, pixels.width, pixels.height,
                            static_cast<unsigned long long>(hash));
                shot[id] = true;
            }
            const long left = leftOf(9901);
            SendMessageA(grid, WM_HSCROLL, SB_PAGERIGHT, 0);
            if (leftOf(9901) == left) break;
        }
        const long before = TopOf(grid, 9901);
        SendMessageA(grid, WM_VSCROLL, SB_LINEDOWN, 0);
        if (TopOf(grid, 9901) == before) break;
    }
    toTheLeft();
    std::printf("scrolled to the bottom by %ld\n", 5 - TopOf(grid, 9901));
    SendMessageA(grid, WM_VSCROLL, SB_TOP, 0);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    return 0;
}

double WorkingSetMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
    return counters.WorkingSetSize / 1048576.0;
}

// The working set of a started program once its window is up, and after
// `cycles` times a wrong answer then `answer` for question 1 (a player only).
int MeasureMemory(const std::string& program, const std::string& directory, int cycles,
                  const std::string& answer) {
    const std::string path = WindowsPath(program), folder = WindowsPath(directory);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return 1;
    WaitForInputIdle(process.hProcess, 60000);
    HWND window = nullptr;
    while (!(window = WindowOfProcess(process.dwProcessId))) Sleep(1);
    Sleep(300);
    std::printf("%.1f", WorkingSetMb(process.hProcess));
    HWND grid = nullptr, header = nullptr;
    if (cycles > 0 && FindDialogs(window, &grid, &header) && grid) {
        for (int i = 0; i < cycles; ++i) {
            Answer(grid, 4001, "zzz");
            Answer(grid, 4001, answer.c_str());
        }
        Sleep(300);
        std::printf(" %.1f %s", WorkingSetMb(process.hProcess), TextOf(GetDlgItem(grid, 5001)).c_str());
    }
    std::printf("\n");
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

// Waits for the player's message box, prints its text and presses `button`.
bool AnswerPlayerBox(HWND player, int button) {
    DWORD process = 0;
    GetWindowThreadProcessId(player, &process);
    HWND box = nullptr;
    for (int waited = 0; waited < 10000 && !box; waited += 50) {
        box = quiz::test::FindMessageBox(process, "Zarlo");
        if (!box) Sleep(50);
    }
    if (!box) return false;
    std::string text = quiz::test::MessageBoxText(box);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = '|';
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    return true;
}

// Starts `program` (with one argument when given, as Explorer gives a file
// dropped on it), waits for its message box with `caption`, checks that the
// box says `expected`, presses OK and waits for the program to end.
int AnswerProgramBox(const std::string& program, const char* caption, const char* expected,
                     const std::string& argument) {
    const std::string path = WindowsPath(program);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + path + "\"";
    if (!argument.empty()) commandLine += " \"" + WindowsPath(argument) + "\"";
    // A console of its own, as a console program started from Explorer gets.
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                        nullptr, nullptr, &startup, &process)) {
        std::printf("FAIL cannot start %s\n", path.c_str());
        return 1;
    }
    HWND box = nullptr;
    for (int waited = 0; waited < 60000 && !box; waited += 50) {
        box = quiz::test::FindMessageBox(process.dwProcessId, caption);
        if (!box) Sleep(50);
    }
    const std::string text = box ? quiz::test::MessageBoxText(box) : "";
    std::printf("%s\n", box ? text.c_str() : "(no box)");
    Check(text.find(expected) != std::string::npos, "the box's text", expected, text);
    // No console window left behind the box: the program gave its own up.
    // (The driver's own console is let go first, so that it can try to join.)
    FreeConsole();
    const bool console = AttachConsole(process.dwProcessId);
    if (console) FreeConsole();
    Check(!box || !console, "no console behind the box", "none", "one");
    if (box)
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    Check(ended, "the program ends after its box", "ended", "still running");
    Check(WindowOfProcess(process.dwProcessId) == nullptr || !ended, "no main window", "none", "one");
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%d checks, %d failed\n", g_checks, g_failures);
    return g_failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string verb = argc > 1 ? argv[1] : "";
    DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 30;
    if (verb == "e2e" && argc == 3) return EndToEnd(argv[2], false);
    if (verb == "e2e" && argc == 4 && std::strcmp(argv[3], "marks") == 0) return EndToEnd(argv[2], true);
    if (verb == "e2e" && argc == 4 && std::strcmp(argv[3], "finds") == 0) {
        g_framedMarks = false;
        return EndToEnd(argv[2], true);
    }
    if (verb == "box" && (argc == 5 || argc == 6))
        return AnswerProgramBox(argv[2], argv[3], argv[4], argc == 6 ? argv[5] : "");
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
    if (verb == "save" || (verb == "close-answer" && argc == 3)) {
        HWND window = FindWindowA(quiz::kMainClassName, nullptr);
        HWND grid = nullptr, header = nullptr;
        if (!window || !FindDialogs(window, &grid, &header)) return 1;
        const bool yes = verb == "close-answer" && std::strcmp(argv[2], "yes") == 0;
        if (verb == "save")
            PostMessageA(header, WM_COMMAND, 27, 0);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (!AnswerPlayerBox(window, verb == "save" ? IDOK : yes ? IDYES : IDNO)) return 1;
        Sleep(300);
        return 0;
    }
    if (verb == "startup" && argc >= 5 && argc % 2 == 1) {
        std::vector<std::pair<std::string, std::string>> cases;
        for (int i = 3; i + 1 < argc; i += 2) cases.emplace_back(argv[i], argv[i + 1]);
        return TimeStartUps(std::atoi(argv[2]), cases);
    }
    if (verb == "snapshot") return Snapshot();
    if (verb == "answer" && argc == 4) {  // types into a field and presses Enter
        HWND window = FindWindowA(quiz::kMainClassName, nullptr);
        HWND grid = nullptr, header = nullptr;
        if (!window || !FindDialogs(window, &grid, &header) || !grid) return 1;
        Answer(grid, std::atoi(argv[2]), argv[3]);
        std::printf("%s\n", TextOf(GetDlgItem(grid, std::atoi(argv[2]) + 1000)).c_str());
        return 0;
    }
    if (verb == "end-session") {  // asks the player whether the session may end
        HWND window = FindWindowA(quiz::kMainClassName, nullptr);
        if (!window) return 1;
        std::printf("%d\n", static_cast<int>(SendMessageA(window, WM_QUERYENDSESSION, 0, 0)));
        return 0;
    }
    if (verb == "memory" && (argc == 5 || argc == 6))
        return MeasureMemory(argv[2], argv[3], std::atoi(argv[4]), argc == 6 ? argv[5] : "");
    if (verb == "text" && argc == 3) {  // a grid control's text, for scripts
        HWND window = FindWindowA(quiz::kMainClassName, nullptr);
        HWND grid = nullptr, header = nullptr;
        if (!window || !FindDialogs(window, &grid, &header) || !grid) return 1;
        std::printf("%s\n", TextOf(GetDlgItem(grid, std::atoi(argv[2]))).c_str());
        return 0;
    }
    if (verb == "bottom" || verb == "cacher" || (verb == "resize" && argc == 4)) {  // for screenshots
        HWND window = FindWindowA(quiz::kMainClassName, nullptr);
        HWND grid = nullptr, header = nullptr;
        if (!window || !FindDialogs(window, &grid, &header) || !grid) return 1;
        if (verb == "cacher")
            SendMessageA(GetDlgItem(header, 33), BM_CLICK, 0, 0);
        else if (verb == "bottom")
            SendMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
        else
            SetWindowPos(window, nullptr, 0, 0, std::atoi(argv[2]), std::atoi(argv[3]),
                         SWP_NOZORDER | SWP_NOMOVE);
        return 0;
    }
    std::fprintf(stderr,
                 "usage: driver e2e PLAYER.exe | startup N EXE DIR [EXE DIR ...] | box PROGRAM.exe CAPTION TEXT [ARGUMENT] | wait [SECONDS] | close [SECONDS] | text ID | bottom | cacher | "
                 "resize WIDTH HEIGHT | save | close-answer yes|no | answer ID TEXT | end-session | snapshot | memory EXE DIR CYCLES [ANSWER]\n");
    return 2;
}
