// Undoes the scanline filters and converts each row into the DIB's layout,
// for plain and Adam7-interlaced images.
#include <cstdlib>
#include <cstring>

#include "images/png_decoder.h"
#include "images/png_internal.h"

namespace quiz {

using namespace png;

namespace {

// Reconstructs one scanline into `out`; `previous` is null for the first row
// of the image or of a pass. Filter 0 is used in place: `out` then points at
// the raw bytes.
bool Unfilter(const uint8_t* scanline, uint32_t length, uint32_t distance,
              const uint8_t* previous, uint8_t* buffer, const uint8_t** out) {
    const uint8_t type = scanline[0];
    const uint8_t* raw = scanline + 1;
    if (type == 0) {
        *out = raw;
        return true;
    }
    if (type > 4) return false;
    uint8_t* row = buffer;
    // One loop per filter type; the bytes within the first `distance` have no
    // left neighbour (a = c = 0).
    const uint32_t lead = distance < length ? distance : length;
    switch (type) {
        case 1:
            for (uint32_t i = 0; i < lead; ++i) row[i] = raw[i];
            for (uint32_t i = lead; i < length; ++i) row[i] = static_cast<uint8_t>(raw[i] + row[i - distance]);
            break;
        case 2:
            for (uint32_t i = 0; i < length; ++i)
                row[i] = static_cast<uint8_t>(raw[i] + (previous ? previous[i] : 0));
            break;
        case 3:
            for (uint32_t i = 0; i < lead; ++i)
                row[i] = static_cast<uint8_t>(raw[i] + (previous ? previous[i] : 0) / 2);
            for (uint32_t i = lead; i < length; ++i) {
                const uint32_t b = previous ? previous[i] : 0;
                row[i] = static_cast<uint8_t>(raw[i] + (row[i - distance] + b) / 2);
            }
            break;
        default:
            if (!previous) {  // no row above: b = c = 0, so Paeth predicts a
                for (uint32_t i = 0; i < lead; ++i) row[i] = raw[i];
                for (uint32_t i = lead; i < length; ++i)
                    row[i] = static_cast<uint8_t>(raw[i] + row[i - distance]);
                break;
            }
            for (uint32_t i = 0; i < lead; ++i)  // a = c = 0: Paeth predicts b
                row[i] = static_cast<uint8_t>(raw[i] + previous[i]);
            for (uint32_t i = lead; i < length; ++i) {
                const int a = row[i - distance], b = previous[i], c = previous[i - distance];
                const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
                const int predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                row[i] = static_cast<uint8_t>(raw[i] + predicted);
            }
    }
    *out = row;
    return true;
}

// Output byte j of pixel i is input byte from[j] of pixel i.
template <uint32_t InBytes, uint32_t OutBytes>
void Pick(const uint8_t* in, uint32_t pixels, const uint8_t (&from)[OutBytes], uint8_t* out) {
    for (uint32_t i = 0; i < pixels; ++i, in += InBytes, out += OutBytes)
        for (uint32_t j = 0; j < OutBytes; ++j) out[j] = in[from[j]];
}

// Converts a reconstructed row of `pixels` pixels into DIB bytes.
void Convert(uint8_t code, const uint8_t* in, uint32_t pixels, uint32_t rawBytes, uint8_t* out) {
    switch (code) {
        case 0x0B: {  // four 2-bit pixels become two bytes of 4-bit pixels
            const uint32_t outBytes = (pixels * 4 + 7) / 8;
            for (uint32_t o = 0; o < outBytes; ++o) {
                const uint8_t byte = in[o / 2];
                const uint8_t pair = (o & 1) ? (byte & 0x0F) : (byte >> 4);
                out[o] = static_cast<uint8_t>(((pair >> 2) << 4) | (pair & 3));
            }
            break;
        }
        // Each output byte is one byte of the input pixel: the grey byte or the
        // high byte of a sample, colours turned from R, G, B (A) to B, G, R (A).
        case 0x06: Pick<2, 1>(in, pixels, {0}, out); break;
        case 0x0A: Pick<4, 1>(in, pixels, {0}, out); break;
        case 0x0C: Pick<3, 3>(in, pixels, {2, 1, 0}, out); break;
        case 0x07: Pick<6, 3>(in, pixels, {4, 2, 0}, out); break;
        case 0x0E: Pick<4, 4>(in, pixels, {2, 1, 0, 3}, out); break;
        case 0x09: Pick<8, 4>(in, pixels, {4, 2, 0, 6}, out); break;
        default:  // 0x00: PNG and DIB pack sub-byte pixels alike
            std::memcpy(out, in, rawBytes);
    }
}

// Places pixel k of a converted pass row at column first + k * step.
void Scatter(const uint8_t* row, uint32_t pixels, uint32_t bitsPerPixel, uint32_t firstColumn,
             uint32_t step, uint8_t* dib) {
    if (bitsPerPixel >= 8) {
        const uint32_t bytes = bitsPerPixel / 8;
        for (uint32_t k = 0; k < pixels; ++k)
            std::memcpy(dib + (firstColumn + k * step) * bytes, row + k * bytes, bytes);
        return;
    }
    const uint32_t mask = (1u << bitsPerPixel) - 1;
    for (uint32_t k = 0; k < pixels; ++k) {
        const uint32_t from = k * bitsPerPixel;
        const uint32_t value = (row[from / 8] >> (8 - bitsPerPixel - from % 8)) & mask;
        const uint32_t to = (firstColumn + k * step) * bitsPerPixel;
        dib[to / 8] |= static_cast<uint8_t>(value << (8 - bitsPerPixel - to % 8));
    }
}

}  // namespace

bool PngWriteRows(PngDecoder* decoder, uint8_t* bits, PngPixelFormat format) {
    const FormatEntry* entry = FindFormat(decoder->colourType, decoder->bitDepth);
    if (!entry) return false;
    const uint8_t code = static_cast<uint8_t>(format & 0xFF);
    const uint32_t width = decoder->width, height = decoder->height;
    const uint32_t pixelBits = SamplesPerPixel(decoder->colourType) * decoder->bitDepth;
    const uint32_t distance = pixelBits / 8 ? pixelBits / 8 : 1;
    const uint32_t rawRow = static_cast<uint32_t>(RawRowBytes(width, pixelBits));
    const uint32_t outBits = entry->bitCount;
    const uint64_t stride = PngDibStride(width, outBits);

    // Two halves that alternate as the current and the previous row.
    const size_t half = rawRow + 8;
    uint8_t* rows = static_cast<uint8_t*>(std::malloc((2 * static_cast<size_t>(rawRow) + 16 + 7) / 8 * 8));
    if (!rows) {
        decoder->lastError = kPngNoMemory;
        return false;
    }
    uint8_t* halves[2] = {rows, rows + half};
    const uint8_t* raw = decoder->rawImage;
    bool ok = true;

    if (!decoder->interlace) {
        const uint8_t* previous = nullptr;
        for (uint32_t y = 0; y < height && ok; ++y) {
            const uint8_t* row;
            ok = Unfilter(raw, rawRow, distance, previous, halves[y & 1], &row);
            if (!ok) break;
            Convert(code, row, width, rawRow, bits + y * stride);
            previous = row;
            raw += rawRow + 1;
        }
        std::free(rows);
        return ok;
    }

    uint8_t* temporary = static_cast<uint8_t*>(std::malloc(stride + 16));
    if (!temporary) {
        std::free(rows);
        decoder->lastError = kPngNoMemory;
        return false;
    }
    // Sub-byte pixels are OR-ed into place.
    if (outBits < 8) std::memset(bits, 0, stride * height);
    for (const Pass& pass : kAdam7) {
        const uint32_t passWidth = PassExtent(width, pass.firstColumn, pass.columnStep);
        const uint32_t passHeight = PassExtent(height, pass.firstRow, pass.rowStep);
        if (!passWidth || !passHeight) continue;
        const uint32_t passRow = static_cast<uint32_t>(RawRowBytes(passWidth, pixelBits));
        const uint8_t* previous = nullptr;
        for (uint32_t j = 0; j < passHeight; ++j) {
            const uint8_t* row;
            ok = Unfilter(raw, passRow, distance, previous, halves[j & 1], &row);
            if (!ok) break;
            uint8_t* dibRow = bits + (pass.firstRow + j * pass.rowStep) * stride;
            if (pass.columnStep == 1) {
                Convert(code, row, passWidth, passRow, dibRow);  // every pixel of the row
            } else {
                Convert(code, row, passWidth, passRow, temporary);
                Scatter(temporary, passWidth, outBits, pass.firstColumn, pass.columnStep, dibRow);
            }
            previous = row;
            raw += passRow + 1;
        }
        if (!ok) break;
    }
    std::free(temporary);
    std::free(rows);
    return ok;
}

}  // namespace quiz
