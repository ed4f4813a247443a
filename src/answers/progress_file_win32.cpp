#include "answers/progress_file_win32.h"

#include <cstring>

#include "answers/progress_file.h"
#include "grid/grid_items_win32.h"
#include "grid/grid_layout.h"
#include "model/alert.h"
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
    if (!WriteFile(file, bytes, length, &written, nullptr)) return false;
    if (written == length) return true;
    SetLastError(ERROR_DISK_FULL);  // a short write is a full disk
    return false;
}

// The progress file's name, in the current directory.
void ProgressFileHere(char* name, int size) {
    char program[MAX_PATH];
    ExecutableFileName(program, sizeof program);
    ProgressFileName(program, name, size);
}

// The system's words for an error code, in the user's language.
void SystemReason(DWORD error, char* out, int size) {
    out[0] = '\0';
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   out, static_cast<DWORD>(size), nullptr);
    if (!out[0]) wsprintfA(out, "erreur %lu", static_cast<unsigned long>(error));
}

}  // namespace

SaveOutcome SaveProgress(QuizState* state, unsigned long* error) {
    if (error) *error = 0;
    // Without answer fields (a grid already closed, a package that did not
    // load, a quiz of another kind) a save would write empty lines over the
    // answers of earlier games: the file is left as it is.
    HWND grid = AsWindow(state->gridDialog);
    if (!IsWindow(grid) || !GridItem(grid, kAnswerFieldBase + 1)) return SaveOutcome::kNothingToSave;
    char name[MAX_PATH], fresh[MAX_PATH + 8];
    ProgressFileHere(name, sizeof name);
    // Written beside the old file, which is replaced only once every line is
    // written: a failed save never loses the progress saved before.
    wsprintfA(fresh, "%s.new", name);
    HANDLE file = CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) *error = GetLastError();
        return SaveOutcome::kFailed;
    }
    const int fields = state->questionCount * state->answersPerQuestion;
    bool written = true;
    for (int i = 1; i <= fields && written; ++i) {
        char line[kTextSize + 2] = {};
        const int length = GetWindowTextA(GridItem(grid, kAnswerFieldBase + i), line, kTextSize);
        line[length] = '\r';
        line[length + 1] = '\n';
        written = WriteWhole(file, line, static_cast<DWORD>(length + 2));
    }
    DWORD failure = written ? 0 : GetLastError();
    if (!CloseHandle(file) && written) {
        written = false;
        failure = GetLastError();
    }
    if (written && !MoveFileExA(fresh, name, MOVEFILE_REPLACE_EXISTING)) {
        written = false;
        failure = GetLastError();
    }
    if (written) return SaveOutcome::kSaved;
    DeleteFileA(fresh);
    if (error) *error = failure;
    return SaveOutcome::kFailed;
}

void ProgressFilePath(char* path, int size) {
    char name[MAX_PATH];
    ProgressFileHere(name, sizeof name);
    // The full path: the player may not know which folder the game runs in.
    // A result of at least the buffer's size is the size it would need:
    // nothing was written then.
    const DWORD length = GetFullPathNameA(name, static_cast<DWORD>(size), path, nullptr);
    if (length == 0 || length >= static_cast<DWORD>(size)) lstrcpynA(path, name, size);
}

bool SaveProgressOrSay(QuizState* state, bool closing) {
    unsigned long error = 0;
    if (SaveProgress(state, &error) != SaveOutcome::kFailed) return true;
    char path[MAX_PATH], reason[512], text[1200];
    ProgressFilePath(path, sizeof path);
    SystemReason(error, reason, sizeof reason);
    FormatSaveFailure(path, reason, closing, text, sizeof text);
    // Task-modal: no second save and no close can start while it is shown.
    if (!closing) {
        ShowAlert(text, "Zarlo", kAlertError | kAlertTaskModal);
        return true;
    }
    // "Non" is the default: Enter never throws the answers away.
    return ShowAlert(text, "Zarlo", kAlertYesNo | kAlertWarning | kAlertNoByDefault |
                                        kAlertTaskModal) == kAlertYes;
}

void OpenProgressReader(ProgressReader* reader) {
    *reader = {INVALID_HANDLE_VALUE, nullptr, nullptr, 0, 0};
    char name[MAX_PATH];
    ProgressFileHere(name, sizeof name);
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

void CloseProgressReader(ProgressReader* reader) {
    if (reader->data) UnmapViewOfFile(reader->data);
    if (reader->mapping) CloseHandle(reader->mapping);
    if (reader->file != INVALID_HANDLE_VALUE) CloseHandle(reader->file);
    *reader = {INVALID_HANDLE_VALUE, nullptr, nullptr, 0, 0};
}

}  // namespace quiz
