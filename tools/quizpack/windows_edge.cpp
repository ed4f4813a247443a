#include "windows_edge.h"

#include <windows.h>
#include <shellapi.h>

namespace quizpack {

namespace {

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

}  // namespace

std::vector<std::string> Utf8Arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) arguments.push_back(Utf8(wide[i]));
    if (wide) LocalFree(wide);
    return arguments;
}

void PrepareConsole() { SetConsoleOutputCP(CP_UTF8); }

bool StartedWithoutAPrompt() {
    DWORD processes[2];
    const DWORD attached = GetConsoleProcessList(processes, 2);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    // Printing to a file or a pipe is a script's doing: it reads the output.
    return attached <= 1 && (out == nullptr || out == INVALID_HANDLE_VALUE ||
                             GetFileType(out) == FILE_TYPE_CHAR || GetFileType(out) == FILE_TYPE_UNKNOWN);
}

void LeaveOwnConsole() { FreeConsole(); }

void ShowMessage(const std::string& text, bool failed) {
    MessageBoxW(nullptr, Wide(text).c_str(), L"quizpack",
                MB_OK | (failed ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace quizpack
