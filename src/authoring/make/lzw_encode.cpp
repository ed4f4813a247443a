// The encoder side of the package records' LZW stream, for quiz authors and
// tests. It keeps the decoder's view of the dictionary: the decoder makes an
// entry one code later than a classic encoder does, so the dictionary is
// reset (code 258) right after the code whose read fills entry 4095.
#include <unordered_map>

#include "make/lzw_encode.h"

namespace quiz {

namespace {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>* out) : out_(out) {}

    void Put(uint32_t code, int width) {
        for (int bit = width - 1; bit >= 0; --bit) {
            current_ = static_cast<uint8_t>((current_ << 1) | ((code >> bit) & 1u));
            if (++count_ == 8) {
                out_->push_back(current_);
                current_ = 0;
                count_ = 0;
            }
        }
    }

    void Flush() {
        if (count_) out_->push_back(static_cast<uint8_t>(current_ << (8 - count_)));
        current_ = 0;
        count_ = 0;
    }

private:
    std::vector<uint8_t>* out_;
    uint8_t current_ = 0;
    int count_ = 0;
};

}  // namespace

bool LzwEncode(const uint8_t* data, size_t length, std::vector<uint8_t>* stream) {
    stream->clear();
    if (length == 0) return false;
    BitWriter writer(stream);
    int width = 9;
    auto emit = [&](uint32_t code) {
        while (code >= (1u << width)) {
            writer.Put(kLzwWidenCode, width);
            ++width;
        }
        writer.Put(code, width);
    };

    // Key: (prefix code << 8) | next byte.
    std::unordered_map<uint32_t, uint32_t> entries;
    entries.reserve(kLzwMaxEntries);
    uint32_t nextFree = kLzwFirstEntry;
    uint32_t current = data[0];
    for (size_t i = 1; i < length; ++i) {
        uint32_t key = (current << 8) | data[i];
        auto found = entries.find(key);
        if (found != entries.end()) {
            current = found->second;
            continue;
        }
        emit(current);
        if (nextFree == kLzwMaxEntries) {
            emit(kLzwResetCode);
            width = 9;
            entries.clear();
            nextFree = kLzwFirstEntry;
            // The decoder's first entry after a reset joins the string of
            // `current` in the old dictionary to this byte. Filed under the
            // code number, it would later match whatever the new dictionary
            // puts under that number: only a literal means the same in both.
            // The entry is made all the same, so the numbering keeps step.
            if (current >= kLzwFirstEntry) {
                ++nextFree;
                current = data[i];
                continue;
            }
        }
        entries.emplace(key, nextFree++);
        current = data[i];
    }
    emit(current);
    emit(kLzwEndCode);
    writer.Flush();
    return true;
}

}  // namespace quiz
