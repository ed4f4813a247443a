// A small PNG decoder: one plain record, operations that answer true or false
// and leave an error code in the record. Portable: the Win32 half
// (png_decoder_win32.h) binds it to a resource and makes a DIB section; here
// it binds to bytes in memory and writes the rows into any buffer laid out as
// a top-down DIB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quiz {

// Error codes left in lastError.
constexpr uint32_t kPngOk = 0x0000;
constexpr uint32_t kPngNoMemory = 0x1001;
constexpr uint32_t kPngNotEmpty = 0x1002;
constexpr uint32_t kPngMalformed = 0x2000;    // signature, first chunk, size, image data
constexpr uint32_t kPngUnsupported = 0x2001;  // critical chunk, pair, methods, too large
constexpr uint32_t kPngWrongState = 0x2003;
constexpr uint32_t kPngNoDibSection = 0x2006;
constexpr uint32_t kPngNoResource = 0x3001;
constexpr uint32_t kPngCannotLoad = 0x3002;

enum PngState : uint32_t { kPngEmpty = 0, kPngLoaded = 1, kPngDecoded = 2 };
enum PngSourceKind : uint32_t { kPngNoSource = 0, kPngMemorySource = 1, kPngResourceSource = 2 };

enum PngChunkKind : int {
    kChunkIgnored = 0,  // ancillary or unknown ancillary
    kChunkIhdr = 1,
    kChunkPlte = 2,
    kChunkIdat = 3,
    kChunkIend = 4,
    kChunkUnknownCritical = 5,
};

struct PngDecoder {
    uint32_t width;
    uint32_t height;
    uint32_t lastError;
    uint32_t paletteCount;
    uint8_t colourType;
    uint8_t bitDepth;
    uint8_t interlace;
    const uint8_t* data;  // borrowed, never written or freed
    uint32_t dataSize;
    const uint8_t* cursor;
    uint8_t* rawImage;  // owned: inflated, still filtered scanlines
    uint32_t rawImageSize;
    const uint8_t* palette;  // first PLTE chunk's data, inside data
    uint32_t sourceKind;
    const uint8_t* header;     // IHDR chunk's data, inside data
    const uint8_t* firstIdat;  // length field of the first IDAT chunk
    uint32_t state;
};

// Laid out as BITMAPINFOHEADER followed by up to 256 RGBQUADs.
struct PngBitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(PngBitmapInfoHeader) == 40, "the layout of BITMAPINFOHEADER");

struct PngBitmapInfo {
    PngBitmapInfoHeader header;
    uint8_t colours[256][4];  // blue, green, red, 0
};

// Colour type in bits 31..24, bit depth in 23..16, the constant 1 in 15..8
// and the row conversion code in 7..0.
using PngPixelFormat = uint32_t;

struct PngChunk {
    PngChunkKind kind;
    uint32_t length;
    uint32_t crc;
};

bool PngDecoderInit(PngDecoder* decoder);
// Binds the decoder to PNG bytes the caller keeps, and scans their chunks.
bool PngDecoderLoadMemory(PngDecoder* decoder, const uint8_t* data, size_t size);
// What both bindings share: the source fields, then the chunk scan; state 1
// on success, no source on failure.
bool PngDecoderBindAndScan(PngDecoder* decoder, const uint8_t* data, uint32_t size,
                           uint32_t sourceKind);
bool PngDecoderDecode(PngDecoder* decoder);
bool PngDecoderRelease(PngDecoder* decoder);

bool PngScanChunks(PngDecoder* decoder);
// Reads the chunk whose length field is at decoder->cursor.
bool PngNextChunk(const PngDecoder* decoder, PngChunk* chunk);
// Bytes of filtered scanlines; 0 when the size does not fit 32 bits.
uint32_t PngRawImageSize(const PngDecoder* decoder);
PngPixelFormat PngMakeBitmapInfo(const PngDecoder* decoder, PngBitmapInfo* info);

// Bytes of one DIB row (4-byte aligned) for the given bits per pixel.
uint64_t PngDibStride(uint32_t width, uint32_t bitsPerPixel);

// Inflates the IDAT data into rawImage (allocated by the caller's Decode).
bool PngInflate(PngDecoder* decoder);
// Unfilters and converts every row into `bits`, a zeroed top-down DIB of the
// geometry PngMakeBitmapInfo gives. False for a filter type above 4.
bool PngWriteRows(PngDecoder* decoder, uint8_t* bits, PngPixelFormat format);

// The portable bitmap: the BITMAPINFO and the zero-initialised pixel rows
// (stride x height bytes), as a DIB section would hold them. Needs state 2.
bool PngDecoderRenderDib(PngDecoder* decoder, PngBitmapInfo* info, std::vector<uint8_t>* pixels);

// Colour-table entries PngMakeBitmapInfo fills.
uint32_t PngColourTableEntries(const PngDecoder* decoder, const PngBitmapInfo& info);

}  // namespace quiz
