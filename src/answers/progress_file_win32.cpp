#include "answers/progress_file_win32.h"

#include <cstring>

#include "grid/grid_items_win32.h"
#include "answers/progress_file.h"
#include "model/quiz_state_win32.h"

namespace quiz {

void ExecutableFileName(char* buffer, int size) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    lstrcpynA(buffer, name, size);
}

namespace {

bool WriteWhole(HANDLE file, const char* bytes, DWORD length) {
    DWORD written = 0;
    return WriteFile(file, bytes, length, &written, nullptr) && written == length;
}

}  // namespace

void SaveProgress(QuizState* state) {
    // Without its fields (a grid already closed) a save would write empty
    // lines over the answers: there is nothing to save then.
    HWND grid = AsWindow(state->gridDialog);
    if (!IsWindow(grid)) return;
    char program[MAX_PATH], name[MAX_PATH], fresh[MAX_PATH + 8];
    ExecutableFileName(program, sizeof program);
    ProgressFileName(program, name, sizeof name);
    // Written beside the old file, which is replaced only once every line is
    // written: a failed save never loses the progress saved before.
    wsprintfA(fresh, "%s.new", name);
    HANDLE file = CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const int fields = state->questionCount * state->answersPerQuestion;
    bool written = true;
    for (int i = 1; i <= fields && written; ++i) {
        char line[kTextSize + 2] = {};
        const int length = GetWindowTextA(GridItem(grid, 4000 + i), line, kTextSize);
        line[length] = '\r';
        line[length + 1] = '\n';
        written = WriteWhole(file, line, static_cast<DWORD>(length + 2));
    }
    written = CloseHandle(file) && written;
    if (!written || !MoveFileExA(fresh, name, MOVEFILE_REPLACE_EXISTING)) DeleteFileA(fresh);
}

void OpenProgressReader(ProgressReader* reader) {
    *reader = {INVALID_HANDLE_VALUE, nullptr, nullptr, 0, 0};
    char program[MAX_PATH], name[MAX_PATH];
    ExecutableFileName(program, sizeof program);
    ProgressFileName(program, name, sizeof name);
    reader->file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (reader->file == INVALID_HANDLE_VALUE) return;
    const DWORD size = GetFileSize(reader->file, nullptr);
    // An empty file cannot be mapped: there is nothing to restore.
    if (size == INVALID_FILE_SIZE || size == 0) return;
    reader->mapping = CreateFileMappingA(reader->file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!reader->mapping) return;
    reader->data = static_cast<const uint8_t*>(MapViewOfFile(reader->mapping, FILE_MAP_READ, 0, 0, 0));
    if (reader->data) reader->size = size;
}

void NextProgressLine(ProgressReader* reader, char* text) {
    if (!reader->data) {
        text[0] = '\0';
        return;
    }
    ReadProgressLine(reader->data, reader->size, &reader->position, text);
}

void CloseProgressReader(ProgressReader* reader) {
    if (reader->data) UnmapViewOfFile(reader->data);
    if (reader->mapping) CloseHandle(reader->mapping);
    if (reader->file != INVALID_HANDLE_VALUE) CloseHandle(reader->file);
    *reader = {INVALID_HANDLE_VALUE, nullptr, nullptr, 0, 0};
}

}  // namespace quiz
