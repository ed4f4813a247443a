#include "images/png_decoder.h"

#include <cstdlib>
#include <cstring>

#include "images/png_internal.h"

namespace quiz {

using namespace png;

namespace {

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// The largest DIB the decoder makes: its size must fit a signed 32-bit count.
constexpr uint64_t kMaxDibBytes = 0x7FFFFFFF;

}  // namespace

bool PngDecoderInit(PngDecoder* decoder) {
    std::memset(decoder, 0, sizeof *decoder);
    return true;
}

bool PngDecoderRelease(PngDecoder* decoder) {
    if (decoder->state == kPngDecoded) std::free(decoder->rawImage);
    std::memset(decoder, 0, sizeof *decoder);
    return true;
}

bool PngDecoderBindAndScan(PngDecoder* decoder, const uint8_t* data, uint32_t size,
                           uint32_t sourceKind) {
    decoder->data = data;
    decoder->cursor = data;
    decoder->dataSize = size;
    decoder->sourceKind = sourceKind;
    if (!PngScanChunks(decoder)) {
        decoder->sourceKind = kPngNoSource;
        return false;
    }
    decoder->state = kPngLoaded;
    return true;
}

bool PngDecoderLoadMemory(PngDecoder* decoder, const uint8_t* data, size_t size) {
    if (decoder->state != kPngEmpty || decoder->sourceKind != kPngNoSource) {
        decoder->lastError = kPngNotEmpty;
        return false;
    }
    decoder->lastError = kPngOk;
    if (!data || size == 0 || size > 0xFFFFFFFFu) {
        decoder->lastError = kPngCannotLoad;
        return false;
    }
    return PngDecoderBindAndScan(decoder, data, static_cast<uint32_t>(size), kPngMemorySource);
}

bool PngNextChunk(const PngDecoder* decoder, PngChunk* chunk) {
    const uint8_t* end = decoder->data + decoder->dataSize;
    const uint8_t* at = decoder->cursor;
    if (at < decoder->data || at >= end || static_cast<size_t>(end - at) < 12) return false;
    uint8_t type[4] = {static_cast<uint8_t>(at[4] & ~0x20), at[5], at[6], at[7]};
    if (std::memcmp(type, "IHDR", 4) == 0)
        chunk->kind = kChunkIhdr;
    else if (std::memcmp(type, "PLTE", 4) == 0)
        chunk->kind = kChunkPlte;
    else if (std::memcmp(type, "IDAT", 4) == 0)
        chunk->kind = kChunkIdat;
    else if (std::memcmp(type, "IEND", 4) == 0)
        chunk->kind = kChunkIend;
    else
        chunk->kind = (at[4] & 0x20) ? kChunkIgnored : kChunkUnknownCritical;
    chunk->length = ReadBe32(at);
    // The CRC must lie inside the data; it is read, never checked.
    uint64_t crcOffset = 8 + static_cast<uint64_t>(chunk->length);
    if (crcOffset > static_cast<uint64_t>(end - at) - 4) return false;
    chunk->crc = ReadBe32(at + crcOffset);
    return true;
}

uint32_t PngRawImageSize(const PngDecoder* decoder) {
    const uint32_t bits = SamplesPerPixel(decoder->colourType) * decoder->bitDepth;
    uint64_t total = 0;
    if (!decoder->interlace) {
        total = (RawRowBytes(decoder->width, bits) + 1) * decoder->height;
    } else {
        for (const Pass& pass : kAdam7) {
            uint64_t w = PassExtent(decoder->width, pass.firstColumn, pass.columnStep);
            uint64_t h = PassExtent(decoder->height, pass.firstRow, pass.rowStep);
            if (w && h) total += (RawRowBytes(w, bits) + 1) * h;
        }
    }
    return total > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(total);
}

uint64_t PngDibStride(uint32_t width, uint32_t bitsPerPixel) {
    return (RawRowBytes(width, bitsPerPixel) + 3) / 4 * 4;
}

bool PngScanChunks(PngDecoder* decoder) {
    decoder->cursor = decoder->data;
    decoder->header = nullptr;
    decoder->firstIdat = nullptr;
    decoder->palette = nullptr;
    decoder->paletteCount = 0;
    decoder->lastError = kPngOk;
    auto fail = [decoder](uint32_t code) {
        decoder->lastError = code;
        return false;
    };
    if (decoder->dataSize < 16) return fail(kPngMalformed);
    if (std::memcmp(decoder->data, kSignature, 8) != 0) return fail(kPngMalformed);

    decoder->cursor = decoder->data + 8;
    PngChunk chunk;
    if (!PngNextChunk(decoder, &chunk) || chunk.kind != kChunkIhdr) return fail(kPngMalformed);
    // The header's 13 bytes must lie inside the data, whatever its length says.
    if (decoder->dataSize - (decoder->cursor - decoder->data) < 8 + 13) return fail(kPngMalformed);
    decoder->header = decoder->cursor + 8;
    decoder->width = ReadBe32(decoder->header);
    decoder->height = ReadBe32(decoder->header + 4);
    if (decoder->width == 0 || decoder->height == 0) return fail(kPngMalformed);

    for (;;) {
        uint64_t next = static_cast<uint64_t>(decoder->cursor - decoder->data) + chunk.length + 12;
        if (next >= decoder->dataSize) break;
        decoder->cursor = decoder->data + next;
        if (!PngNextChunk(decoder, &chunk)) break;
        if (chunk.kind == kChunkUnknownCritical) return fail(kPngUnsupported);
        if (chunk.kind == kChunkPlte && !decoder->palette) {
            decoder->palette = decoder->cursor + 8;
            decoder->paletteCount = chunk.length / 3;
        }
        if (chunk.kind == kChunkIdat && !decoder->firstIdat) decoder->firstIdat = decoder->cursor;
    }

    decoder->interlace = decoder->header[12];
    decoder->colourType = decoder->header[9];
    decoder->bitDepth = decoder->header[8];
    if (!FindFormat(decoder->colourType, decoder->bitDepth) || decoder->header[10] != 0 ||
        decoder->header[11] != 0 || decoder->interlace > 1)
        return fail(kPngUnsupported);
    // Nothing to decode without image data, nor a palette image without its palette.
    if (!decoder->firstIdat) return fail(kPngMalformed);
    if (decoder->colourType == 3 && decoder->paletteCount == 0) return fail(kPngMalformed);
    // Images too large for the decoder's size arithmetic are refused here,
    // before anything is allocated.
    const FormatEntry* format = FindFormat(decoder->colourType, decoder->bitDepth);
    uint64_t dibBytes = PngDibStride(decoder->width, format->bitCount) * decoder->height;
    if (PngRawImageSize(decoder) == 0 || dibBytes > kMaxDibBytes) return fail(kPngUnsupported);
    // A DIB's width and height are signed: 2^31 and more would turn negative
    // (and a negative width is a huge allocation), whatever the byte count.
    if (decoder->width > 0x7FFFFFFFu || decoder->height > 0x7FFFFFFFu) return fail(kPngUnsupported);
    return true;
}

bool PngDecoderDecode(PngDecoder* decoder) {
    if (decoder->state != kPngLoaded) {
        decoder->lastError = kPngWrongState;
        return false;
    }
    decoder->rawImageSize = PngRawImageSize(decoder);
    decoder->rawImage = static_cast<uint8_t*>(std::malloc(decoder->rawImageSize));
    if (!decoder->rawImage) {
        decoder->rawImageSize = 0;
        decoder->lastError = kPngNoMemory;
        return false;
    }
    if (!PngInflate(decoder)) {
        std::free(decoder->rawImage);
        decoder->rawImage = nullptr;
        decoder->rawImageSize = 0;
        return false;
    }
    decoder->state = kPngDecoded;
    return true;
}

PngPixelFormat PngMakeBitmapInfo(const PngDecoder* decoder, PngBitmapInfo* info) {
    const FormatEntry* format = FindFormat(decoder->colourType, decoder->bitDepth);
    // Zeroed whole: a palette shorter than the table leaves black, not
    // whatever the caller's memory held.
    std::memset(info, 0, sizeof *info);
    info->header.biSize = sizeof(PngBitmapInfoHeader);
    info->header.biWidth = static_cast<int32_t>(decoder->width);
    info->header.biHeight = -static_cast<int32_t>(decoder->height);  // top-down
    info->header.biPlanes = 1;
    info->header.biCompression = 0;  // BI_RGB
    if (!format) return 0;
    info->header.biBitCount = format->bitCount;
    if (format->greyEntries) {
        const uint32_t n = format->greyEntries;
        for (uint32_t i = 0; i < n; ++i) {
            uint8_t level = static_cast<uint8_t>(i * 255 / (n - 1));
            info->colours[i][0] = info->colours[i][1] = info->colours[i][2] = level;
            info->colours[i][3] = 0;
        }
        info->header.biClrUsed = n;
    } else if (decoder->colourType == 3) {
        // The table holds 256 entries at most, whatever the PLTE length.
        uint32_t count = decoder->paletteCount < 256 ? decoder->paletteCount : 256;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* rgb = decoder->palette + 3 * i;
            info->colours[i][0] = rgb[2];
            info->colours[i][1] = rgb[1];
            info->colours[i][2] = rgb[0];
            info->colours[i][3] = 0;
        }
    }
    return (uint32_t(decoder->colourType) << 24) | (uint32_t(decoder->bitDepth) << 16) |
           (1u << 8) | format->conversion;
}

uint32_t PngColourTableEntries(const PngDecoder* decoder, const PngBitmapInfo& info) {
    if (info.header.biClrUsed) return info.header.biClrUsed;
    if (decoder->colourType == 3) return decoder->paletteCount < 256 ? decoder->paletteCount : 256;
    return 0;
}

bool PngDecoderRenderDib(PngDecoder* decoder, PngBitmapInfo* info, std::vector<uint8_t>* pixels) {
    if (decoder->state != kPngDecoded) {
        decoder->lastError = kPngWrongState;
        return false;
    }
    PngPixelFormat format = PngMakeBitmapInfo(decoder, info);
    uint64_t size = PngDibStride(decoder->width, info->header.biBitCount) * decoder->height;
    pixels->assign(size, 0);
    if (!PngWriteRows(decoder, pixels->data(), format)) {
        pixels->clear();
        return false;
    }
    return true;
}

}  // namespace quiz
