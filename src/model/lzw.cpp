#include "model/lzw.h"

#include <cstdlib>
#include <cstring>

#include "model/alert.h"

namespace quiz {

namespace {

struct DictionaryEntry {
    uint8_t* bytes;
    uint16_t length;
};

// Working storage of one decode; process-wide, released on every exit.
struct LzwStorage {
    uint8_t* input;
    uint32_t inputFill;
    uint32_t readPos;
    DictionaryEntry* dictionary;
    uint8_t* pending;
    uint8_t* work;
};

LzwStorage g_lzw = {};

struct BitReader {
    uint8_t unread;    // left-aligned
    int unreadCount;   // 0..7
};

bool NextInputByte(uint8_t* byte) {
    if (g_lzw.readPos >= g_lzw.inputFill) return false;
    *byte = g_lzw.input[g_lzw.readPos++];
    return true;
}

// Reads a code of `width` bits (8 <= width <= 32). False when the input ran out.
bool ReadCode(BitReader* reader, int width, uint32_t* code) {
    uint64_t value = reader->unreadCount ? (reader->unread >> (8 - reader->unreadCount)) : 0;
    int needed = width - reader->unreadCount;
    reader->unread = 0;
    reader->unreadCount = 0;
    uint8_t byte;
    while (needed >= 8) {
        if (!NextInputByte(&byte)) return false;
        value = (value << 8) | byte;
        needed -= 8;
    }
    if (needed > 0) {
        if (!NextInputByte(&byte)) return false;
        value = (value << needed) | (byte >> (8 - needed));
        reader->unread = static_cast<uint8_t>(byte << needed);
        reader->unreadCount = 8 - needed;
    }
    *code = static_cast<uint32_t>(value);
    return true;
}

bool AllocateStorage() {
    g_lzw.input = static_cast<uint8_t*>(std::malloc(kLzwMaxInput));
    g_lzw.dictionary =
        static_cast<DictionaryEntry*>(std::calloc(kLzwMaxEntries, sizeof(DictionaryEntry)));
    g_lzw.pending = static_cast<uint8_t*>(std::malloc(kLzwMaxString));
    g_lzw.work = static_cast<uint8_t*>(std::malloc(kLzwMaxString));
    if (!g_lzw.input || !g_lzw.dictionary || !g_lzw.pending || !g_lzw.work) return false;
    for (int i = 0; i < 256; ++i) {
        uint8_t* single = static_cast<uint8_t*>(std::malloc(1));
        if (!single) return false;
        single[0] = static_cast<uint8_t>(i);
        g_lzw.dictionary[i] = {single, 1};
    }
    return true;
}

}  // namespace

void LzwRelease() {
    if (g_lzw.dictionary) {
        for (int i = 0; i < kLzwMaxEntries; ++i) std::free(g_lzw.dictionary[i].bytes);
    }
    std::free(g_lzw.dictionary);
    std::free(g_lzw.pending);
    std::free(g_lzw.work);
    std::free(g_lzw.input);
    g_lzw = {};
}

int LzwDecode(const uint8_t* input, size_t inputLength, uint8_t** outBuffer,
              size_t* outLength) {
    *outBuffer = nullptr;
    *outLength = 0;
    LzwRelease();  // start from nothing, whatever an earlier call left
    if (!AllocateStorage()) {
        LzwRelease();
        return kLzwNoMemory;
    }
    uint8_t* out = static_cast<uint8_t*>(std::malloc(kLzwMaxOutput));
    if (!out) {
        ShowAlert("Impossible d'allouer la memoire", "information");
        LzwRelease();
        return kLzwNoMemory;
    }
    *outBuffer = out;
    size_t outCount = 0;

    int result = kLzwBadStream;
    if (inputLength == 0) {
        LzwRelease();
        return kLzwNoInput;
    }
    if (inputLength > kLzwMaxInput) {
        LzwRelease();
        return kLzwBadStream;
    }
    std::memcpy(g_lzw.input, input, inputLength);
    g_lzw.inputFill = static_cast<uint32_t>(inputLength);

    BitReader reader = {};
    uint32_t code = 0;
    if (!ReadCode(&reader, 9, &code)) {
        LzwRelease();
        return kLzwNoInput;
    }
    g_lzw.pending[0] = static_cast<uint8_t>(code & 0xFF);
    size_t pendingLength = 1;
    uint32_t nextFree = kLzwFirstEntry;
    int width = 9;

    for (;;) {
        if (width > 32) break;
        if (!ReadCode(&reader, width, &code)) break;
        if (code == kLzwEndCode) {
            if (outCount + pendingLength > kLzwMaxOutput) break;
            std::memcpy(out + outCount, g_lzw.pending, pendingLength);
            outCount += pendingLength;
            result = kLzwOk;
            break;
        }
        if (code == kLzwWidenCode) {
            ++width;
            continue;
        }
        if (code == kLzwResetCode) {
            nextFree = kLzwFirstEntry;
            width = 9;
            continue;
        }
        // A code past the next free one, or an entry past 4095, is outside
        // the format; so is a string longer than the work string.
        if (code > nextFree || nextFree >= kLzwMaxEntries) break;
        if (pendingLength + 1 > kLzwMaxString) break;
        const uint8_t* codeBytes = (code == nextFree) ? g_lzw.pending : g_lzw.dictionary[code].bytes;
        std::memcpy(g_lzw.work, g_lzw.pending, pendingLength);
        g_lzw.work[pendingLength] = codeBytes[0];
        size_t workLength = pendingLength + 1;

        DictionaryEntry& slot = g_lzw.dictionary[nextFree];
        std::free(slot.bytes);
        slot.bytes = static_cast<uint8_t*>(std::malloc(workLength));
        slot.length = 0;
        if (!slot.bytes) {
            result = kLzwNoMemory;
            break;
        }
        std::memcpy(slot.bytes, g_lzw.work, workLength);
        slot.length = static_cast<uint16_t>(workLength);
        ++nextFree;

        if (outCount + pendingLength > kLzwMaxOutput) break;
        std::memcpy(out + outCount, g_lzw.pending, pendingLength);
        outCount += pendingLength;

        const DictionaryEntry& entry = g_lzw.dictionary[code];
        std::memcpy(g_lzw.pending, entry.bytes, entry.length);
        pendingLength = entry.length;
    }
    *outLength = outCount;
    LzwRelease();
    return result;
}

}  // namespace quiz
