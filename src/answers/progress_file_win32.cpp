#include "answers/progress_file_win32.h"

#include <cstring>

#include "answers/progress_file.h"

namespace quiz {

void ExecutableFileName(char* buffer, int size) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    lstrcpynA(buffer, name, size);
}

// The grid has no answers to judge yet, so the file is left as it is.
void SaveProgress(QuizState*) {}

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
