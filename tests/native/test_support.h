// Helpers shared by the core's suites.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quiz::test {

struct Alert {
    std::string text;
    std::string caption;
    unsigned style = 0;
};

// Captures the alerts raised while it lives.
class AlertCapture {
public:
    AlertCapture();
    ~AlertCapture();
    AlertCapture(const AlertCapture&) = delete;
    AlertCapture& operator=(const AlertCapture&) = delete;
    const std::vector<Alert>& alerts() const { return alerts_; }
    // The button every alert answers with from now on (IDOK at first).
    void Answer(int button) { answer_ = button; }

private:
    static int Record(void* context, const char* text, const char* caption, unsigned style);
    std::vector<Alert> alerts_;
    int answer_ = 1;
    int (*previous_)(void*, const char*, const char*, unsigned) = nullptr;
    void* previousContext_ = nullptr;
};

// Packs (code, width) pairs most-significant bit first, as the decoder reads.
std::vector<uint8_t> PackCodes(const std::vector<std::pair<uint32_t, int>>& codes);

// Reads a stream's codes as the decoder would (following 257 and 258) without
// decoding: each code with the width it was read at and the next free code
// the decoder had when it read it.
struct TracedCode {
    uint32_t code;
    int width;
    uint32_t nextFree;
};
std::vector<TracedCode> TraceCodes(const std::vector<uint8_t>& stream);

std::vector<uint8_t> Bytes(const std::string& text);
std::vector<uint8_t> RandomBytes(size_t length, uint32_t seed, int alphabet = 256);

}  // namespace quiz::test
