#include "model/package.h"

#include <cstdlib>
#include <cstring>

#include "model/alert.h"
#include "model/lzw.h"
#include "model/stored_form.h"

namespace quiz {

const uint8_t kPackageKey[kPackageKeyLength] = {'G', 'r', 'i', 'l', 'l', 'e', ' ',
                                                'v', 'i', 'd', 'e', ' ', 0xE0, ' ',
                                                'r', 'e', 'm', 'p', 'l', 'i', 'r'};

void ScrambleRecord(uint8_t* data, size_t length, int* keyPosition) {
    for (size_t i = 1; i < length; ++i) {
        data[i] ^= kPackageKey[*keyPosition];
        if (++*keyPosition == kPackageKeyLength) *keyPosition = 0;
    }
}

int LayoutStringsPerQuestion(int layoutType) {
    switch (layoutType) {
        case 1: case 2: case 4: case 7: case 8: return 1;
        case 3: case 6: case 9: return 2;
        default: return 0;
    }
}

namespace {

// Walks decoded record bytes. Every read is bounded by the data and by the
// destination; a failed read makes the record malformed.
struct RecordReader {
    const uint8_t* data;
    size_t length;
    size_t pos;

    bool ReadByte(uint8_t* value) {
        if (pos >= length) return false;
        *value = data[pos++];
        return true;
    }

    // A string ends at '|'; it must fit `size` - 1 bytes. With a null
    // destination the string is only checked and passed over.
    bool ReadString(char* dest, size_t size, bool transform = false) {
        if (pos > length) return false;
        const void* bar = std::memchr(data + pos, kStringSeparator, length - pos);
        if (!bar) return false;
        size_t stringLength = static_cast<const uint8_t*>(bar) - (data + pos);
        if (stringLength > size - 1) return false;
        if (dest) {
            std::memcpy(dest, data + pos, stringLength);
            dest[stringLength] = '\0';
            if (transform) TransformAnswerText(dest);
        }
        pos += stringLength + 1;
        return true;
    }
};

bool ParseBuiltInRecord(const uint8_t* data, size_t length, QuizState* state, bool commit) {
    RecordReader reader{data, length, 2};
    if (length < 2) return false;
    return reader.ReadString(commit ? state->linkText : nullptr, kLinkTextSize) &&
           reader.ReadString(commit ? state->statusText : nullptr, kStatusTextSize);
}

// With commit false the record is only checked, and the state is not touched.
bool ParseRecord104(const uint8_t* data, size_t length, QuizState* state, bool commit) {
    RecordReader reader{data, length, 0};
    if (length < 4) return false;
    int questionCount = data[2];
    int answersPerQuestion = data[3];
    if (questionCount > kMaxQuestions) return false;
    if (answersPerQuestion != 1 && answersPerQuestion != 2) return false;
    reader.pos = 4;
    if (commit) {
        state->quizKind = data[1] - 1;
        state->questionCount = questionCount;
        state->answersPerQuestion = answersPerQuestion;
    }
    char* headerFields[] = {state->title, state->author, state->subtitle,
                            state->answerCaption1, state->answerCaption2};
    for (char* field : headerFields)
        if (!reader.ReadString(commit ? field : nullptr, kTextSize)) return false;

    char answer1[kTextSize];
    char answer2[kTextSize];
    char spareText[kTextSize];
    for (int k = 0; k < questionCount; ++k) {
        answer2[0] = '\0';
        if (!reader.ReadString(answer1, kTextSize, true)) return false;
        if (answersPerQuestion == 2 && !reader.ReadString(answer2, kTextSize, true)) return false;
        if (!reader.ReadString(spareText, kTextSize)) return false;
        // An entry that cannot be allocated is left out; the load goes on.
        if (commit) AddQuestion(state, answer1, answer2, spareText);
    }

    uint8_t layoutType;
    if (!reader.ReadByte(&layoutType)) return false;
    if (commit) state->layoutType = layoutType;
    int strings = LayoutStringsPerQuestion(layoutType);
    for (int k = 0; k < questionCount && strings > 0; ++k) {
        QuestionEntry* entry = commit ? QuestionAt(state, k) : nullptr;
        if (!reader.ReadString(entry ? entry->extraText : nullptr, kTextSize)) return false;
        if (strings == 2 && !reader.ReadString(nullptr, kTextSize)) return false;
    }

    uint8_t red, green, blue;
    if (!reader.ReadByte(&red) || !reader.ReadByte(&green) || !reader.ReadByte(&blue))
        return false;
    if (commit) {
        state->backRed = red;
        state->backGreen = green;
        state->backBlue = blue;
    }
    return true;
}

// Lines end with CR LF; a last line without it runs to the end of the data
// and lines past the end are empty.
bool ParseRecord105(const uint8_t* data, size_t length, QuizState* state, bool commit) {
    size_t pos = 0;
    int count = state->questionCount;
    if (count > kMaxQuestions) count = kMaxQuestions;
    for (int i = 0; i < count; ++i) {
        size_t lineLength = 0;
        if (pos < length) {
            const void* cr = std::memchr(data + pos, '\r', length - pos);
            lineLength = cr ? static_cast<const uint8_t*>(cr) - (data + pos) : length - pos;
        }
        if (lineLength > kTextSize - 1) return false;
        if (commit) {
            if (lineLength) std::memcpy(state->questionLines[i], data + pos, lineLength);
            state->questionLines[i][lineLength] = '\0';
        }
        pos += lineLength + 2;  // past CR and LF
    }
    return true;
}

using RecordParser = bool (*)(const uint8_t*, size_t, QuizState*, bool);

}  // namespace

int LoadQuizPackage(QuizState* state, const PackageRecords& records) {
    const RecordBytes* stored[3] = {&records.builtIn, &records.record104, &records.record105};
    const RecordParser parsers[3] = {ParseBuiltInRecord, ParseRecord104, ParseRecord105};
    int keyPosition = 0;  // one key cycle for the whole load

    for (int r = 0; r < 3; ++r) {
        const size_t given = stored[r]->size;
        // The built-in record is always its 70 bytes (a longer resource gives
        // its first 70, a shorter one is padded with zeros), so the key
        // position records 104 and 105 start at never follows its size.
        const size_t length = r == 0 && given ? kBuiltInRecordSize : given;
        const size_t copied = given < length ? given : length;
        // Work on a copy: resource bytes are read-only, and the built-in
        // array is never changed.
        uint8_t* work = static_cast<uint8_t*>(std::calloc(length ? length : 1, 1));
        uint8_t* decoded = nullptr;
        size_t decodedLength = 0;
        bool ok = work != nullptr;
        if (ok) {
            if (copied) std::memcpy(work, stored[r]->data, copied);
            ok = LzwDecode(work, length, &decoded, &decodedLength) == kLzwOk;
            if (!ok) {
                std::free(decoded);
                decoded = nullptr;
                ScrambleRecord(work, length, &keyPosition);
                ok = LzwDecode(work, length, &decoded, &decodedLength) == kLzwOk;
            }
        }
        ok = ok && parsers[r](decoded, decodedLength, state, false);
        if (ok) parsers[r](decoded, decodedLength, state, true);
        std::free(decoded);
        std::free(work);
        if (!ok) {
            ShowAlert("Erreur dans le d\xE9" "chiffrage", "Zarlo");
            state->questionCount = 0;
            return r;
        }
    }
    return 3;
}

}  // namespace quiz
