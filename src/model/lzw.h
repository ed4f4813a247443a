// The LZW code stream of the package records.
//
// Codes are packed most-significant bit first and start 9 bits wide.
// 0-255 are literals, 256 ends the data, 257 widens every following code by
// one bit, 258 resets the dictionary (next free code 259, width 9), and codes
// from 259 up are dictionary entries assigned in increasing order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quiz {

constexpr int kLzwOk = 0;
constexpr int kLzwNoMemory = -4;   // working storage or a dictionary string
constexpr int kLzwNoInput = -5;    // empty, or ran out before the first code
constexpr int kLzwBadStream = -7;  // bad code, width over 32, truncated, past the limits

constexpr size_t kLzwMaxInput = 32768;   // the input buffer
constexpr size_t kLzwMaxOutput = 30000;  // the output buffer
constexpr int kLzwMaxEntries = 4096;     // codes 0..4095
constexpr int kLzwMaxString = 4096;      // pending and work strings

constexpr int kLzwEndCode = 256;
constexpr int kLzwWidenCode = 257;
constexpr int kLzwResetCode = 258;
constexpr int kLzwFirstEntry = 259;

// Decodes one stream. On every result but "no memory before the output buffer
// existed", *outBuffer receives a malloc'ed buffer of kLzwMaxOutput bytes that
// the caller releases with free(), and *outLength the bytes decoded so far.
// One decode at a time: the working storage is process-wide.
int LzwDecode(const uint8_t* input, size_t inputLength, uint8_t** outBuffer,
              size_t* outLength);

// Frees the decoder's working storage; LzwDecode calls it on every exit.
void LzwRelease();


}  // namespace quiz
