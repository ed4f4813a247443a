#include "answers/progress_file.h"

#include <cstdio>
#include <cstring>

namespace quiz {

void ReadProgressLine(const uint8_t* data, size_t size, size_t* position, char* text) {
    size_t p = *position;
    int copied = 0;
    while (p < size && data[p] != '\r' && copied < kProgressLineLimit)
        text[copied++] = static_cast<char>(data[p++]);
    text[copied] = '\0';
    if (copied == kProgressLineLimit)
        while (p < size && data[p] != '\r') ++p;
    while (p < size && data[p] != '\n') ++p;
    if (p < size) ++p;  // over the LF
    *position = p;
}

void ProgressFileName(const char* programName, char* out, int size) {
    if (size <= 0) return;
    size_t length = strnlen(programName, static_cast<size_t>(size - 1));
    size_t keep = length >= 3 ? length - 3 : 0;
    if (keep + 3 > static_cast<size_t>(size - 1)) keep = static_cast<size_t>(size - 1) - 3;
    std::memcpy(out, programName, keep);
    std::memcpy(out + keep, "txt", 4);
}

void FormatUnsavedAnswers(const char* path, char* out, size_t size) {
    if (size == 0) return;
    std::snprintf(out, size, "Les r\xE9ponses n'ont pas pu \xEAtre enregistr\xE9" "es dans \xAB %s \xBB",
                  path);
}

void FormatSaveFailure(const char* path, const char* reason, bool closing, char* out,
                       size_t size) {
    if (size == 0) return;
    char unsaved[300];
    FormatUnsavedAnswers(path, unsaved, sizeof unsaved);
    size_t length = std::strlen(reason);
    while (length > 0 && (reason[length - 1] == '\r' || reason[length - 1] == '\n' ||
                          reason[length - 1] == ' '))
        --length;
    const char* why = reason;
    if (length == 0) {
        why = "raison inconnue";
        length = std::strlen(why);
    }
    std::snprintf(out, size, "%s :\r\n%.*s%s", unsaved, static_cast<int>(length), why,
                  closing ? "\r\n\r\nFermer quand m\xEAme ? Les r\xE9ponses tap\xE9" "es depuis le "
                            "dernier enregistrement seront perdues."
                          : "");
}

}  // namespace quiz
