#include "test_support.h"

#include <random>

#include "model/alert.h"
#include "model/lzw.h"

namespace quiz::test {

AlertCapture::AlertCapture() { SetAlertHandler(&Record, this, &previous_, &previousContext_); }
AlertCapture::~AlertCapture() { SetAlertHandler(previous_, previousContext_); }

int AlertCapture::Record(void* context, const char* text, const char* caption, unsigned style) {
    auto* capture = static_cast<AlertCapture*>(context);
    capture->alerts_.push_back({text, caption, style});
    return capture->answer_;
}

std::vector<uint8_t> PackCodes(const std::vector<std::pair<uint32_t, int>>& codes) {
    std::vector<uint8_t> out;
    uint64_t accumulator = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
        for (int bit = width - 1; bit >= 0; --bit) {
            accumulator = (accumulator << 1) | ((code >> bit) & 1u);
            if (++bits == 8) {
                out.push_back(static_cast<uint8_t>(accumulator));
                accumulator = 0;
                bits = 0;
            }
        }
    }
    if (bits) out.push_back(static_cast<uint8_t>(accumulator << (8 - bits)));
    return out;
}

std::vector<TracedCode> TraceCodes(const std::vector<uint8_t>& stream) {
    std::vector<TracedCode> codes;
    size_t bitPos = 0;
    auto read = [&](int width, uint32_t* code) {
        if (bitPos + width > stream.size() * 8) return false;
        uint32_t value = 0;
        for (int i = 0; i < width; ++i, ++bitPos)
            value = (value << 1) | ((stream[bitPos / 8] >> (7 - bitPos % 8)) & 1u);
        *code = value;
        return true;
    };
    int width = 9;
    uint32_t nextFree = kLzwFirstEntry;
    bool first = true;
    uint32_t code;
    while (read(width, &code)) {
        codes.push_back({code, width, nextFree});
        if (first) {
            first = false;
            continue;
        }
        if (code == kLzwEndCode) break;
        if (code == kLzwWidenCode) {
            ++width;
        } else if (code == kLzwResetCode) {
            width = 9;
            nextFree = kLzwFirstEntry;
        } else {
            ++nextFree;
        }
    }
    return codes;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> RandomBytes(size_t length, uint32_t seed, int alphabet) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, alphabet - 1);
    std::vector<uint8_t> out(length);
    for (auto& b : out) b = static_cast<uint8_t>(byte(random));
    return out;
}

}  // namespace quiz::test
