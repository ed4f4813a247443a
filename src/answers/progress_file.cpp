#include "answers/progress_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "model/cp1252.h"

namespace quiz {

namespace {

// Whether bytes are UTF-8 throughout: CP1252 text with accents almost never
// is, and text of ASCII alone reads the same either way.
bool IsUtf8(const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size;) {
        const uint8_t lead = data[i];
        const int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2
                        : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
        if (extra < 0 || size - i <= size_t(extra)) return false;  // cut short at the end
        for (int k = 1; k <= extra; ++k)
            if ((data[i + size_t(k)] & 0xC0) != 0x80) return false;
        i += size_t(extra) + 1;
    }
    return true;
}

// A byte that text never holds: the C0 controls but tab and the line ends.
bool IsBinaryByte(uint8_t b) { return b < 0x20 && b != '\t' && b != '\n' && b != '\r'; }

}  // namespace

ChosenProgress ReadChosenProgress(const uint8_t* data, size_t size) {
    ChosenProgress out;
    if (size > kChosenProgressLimit) {
        out.kind = ChosenProgressKind::kTooLarge;
        return out;
    }
    if (!data) size = 0;
    const bool bom = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
    if (bom) data += 3, size -= 3;
    for (size_t i = 0; i < size; ++i)
        if (IsBinaryByte(data[i])) {
            out.kind = ChosenProgressKind::kBinary;
            return out;
        }
    std::string text(reinterpret_cast<const char*>(data), size);
    if (bom || IsUtf8(data, size)) text = Utf8ToCp1252Text(text);
    bool any = false;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        out.lines.push_back(text.substr(at, std::min(end - at, size_t(kAnswerFieldLimit))));
        any = any || end > at;
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    out.kind = any ? ChosenProgressKind::kText : ChosenProgressKind::kEmpty;
    return out;
}

void ReadProgressLine(const uint8_t* data, size_t size, size_t* position, char* text) {
    size_t p = *position;
    int copied = 0;
    while (p < size && data[p] != '\r' && copied < kAnswerFieldLimit)
        text[copied++] = static_cast<char>(data[p++]);
    text[copied] = '\0';
    if (copied == kAnswerFieldLimit)
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
