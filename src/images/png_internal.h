// Tables shared by the decoder's parts.
#pragma once

#include <cstdint>

namespace quiz::png {

struct FormatEntry {
    uint8_t colourType;
    uint8_t bitDepth;
    uint16_t bitCount;      // DIB bits per pixel
    uint16_t greyEntries;   // grey ramp size; 0: none or the palette
    uint8_t conversion;     // row conversion code
};

// The supported pairs, searched in this order.
constexpr FormatEntry kFormats[] = {
    {0, 1, 1, 2, 0x00},   {0, 2, 4, 4, 0x0B},   {0, 4, 4, 16, 0x00},  {0, 8, 8, 256, 0x00},
    {0, 16, 8, 256, 0x06}, {2, 8, 24, 0, 0x0C},  {2, 16, 24, 0, 0x07}, {3, 1, 1, 0, 0x00},
    {3, 2, 4, 0, 0x0B},   {3, 4, 4, 0, 0x00},   {3, 8, 8, 0, 0x00},   {4, 8, 8, 256, 0x06},
    {4, 16, 8, 256, 0x0A}, {6, 8, 32, 0, 0x0E},  {6, 16, 32, 0, 0x09},
};

inline const FormatEntry* FindFormat(uint8_t colourType, uint8_t bitDepth) {
    for (const FormatEntry& f : kFormats)
        if (f.colourType == colourType && f.bitDepth == bitDepth) return &f;
    return nullptr;
}

inline uint32_t SamplesPerPixel(uint8_t colourType) {
    switch (colourType) {
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
        default: return 1;
    }
}

struct Pass {
    uint32_t firstColumn, firstRow, columnStep, rowStep;
};

constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

// Pixels of a pass across or down; 0 when the pass holds none.
inline uint32_t PassExtent(uint32_t size, uint32_t first, uint32_t step) {
    return size > first ? (size - first + step - 1) / step : 0;
}

// Bytes of one raw row of `pixels` pixels of `bits` bits, without the filter byte.
inline uint64_t RawRowBytes(uint64_t pixels, uint32_t bits) { return (pixels * bits + 7) / 8; }

inline uint32_t ReadBe32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

}  // namespace quiz::png
