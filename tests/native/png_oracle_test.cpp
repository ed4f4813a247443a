// The decoder judged against libpng: images written by libpng in every
// supported colour type and bit depth, plain and Adam7, with every filter,
// odd sizes, several compression levels and strategies and IDAT splits, are
// read back by libpng and by our decoder; the DIB ours makes must equal the
// one built from libpng's rows by the conversion rules, byte for byte.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "images/png_decoder.h"

namespace quiz {
namespace {

struct Params {
    int colourType, bitDepth, interlace;
    uint32_t width, height;
    int filters;  // PNG_FILTER_* mask
    int level, strategy;
    size_t idatSize;  // compression buffer size: small values split the IDAT data
};

std::string Describe(const Params& p) {
    return "type " + std::to_string(p.colourType) + " depth " + std::to_string(p.bitDepth) +
           (p.interlace ? " Adam7 " : " plain ") + std::to_string(p.width) + "x" +
           std::to_string(p.height) + " filters " + std::to_string(p.filters) + " level " +
           std::to_string(p.level) + " strategy " + std::to_string(p.strategy) + " idat " +
           std::to_string(p.idatSize);
}

int Channels(int colourType) {
    switch (colourType) {
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
        default: return 1;
    }
}

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void Flush(png_structp) {}

std::vector<uint8_t> Encode(const Params& p, const std::vector<std::vector<uint8_t>>& rows,
                            int paletteEntries) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng could not write " << Describe(p);
        return {};
    }
    png_set_write_fn(png, &out, WriteToVector, Flush);
    png_set_IHDR(png, info, p.width, p.height, p.bitDepth, p.colourType,
                 p.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(paletteEntries);
    if (p.colourType == 3) {
        for (int i = 0; i < paletteEntries; ++i)
            palette[i] = {static_cast<png_byte>(i * 7), static_cast<png_byte>(255 - i),
                          static_cast<png_byte>(i * 13 + 5)};
        png_set_PLTE(png, info, palette.data(), paletteEntries);
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, p.filters);
    png_set_compression_level(png, p.level);
    png_set_compression_strategy(png, p.strategy);
    png_set_compression_buffer_size(png, p.idatSize);
    png_text text = {};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<char*>("Comment");
    text.text = const_cast<char*>("written for the decoder's tests");
    png_set_text(png, info, &text, 1);
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const auto& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct Reader {
    const std::vector<uint8_t>* data;
    size_t at;
};

void ReadFromVector(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->at + length > reader->data->size()) png_error(png, "read past the end");
    std::memcpy(out, reader->data->data() + reader->at, length);
    reader->at += length;
}

// libpng's rows, de-interlaced, in the file's own sample layout.
std::vector<std::vector<uint8_t>> DecodeWithLibpng(const std::vector<uint8_t>& file) {
    std::vector<std::vector<uint8_t>> rows;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        ADD_FAILURE() << "libpng could not read its own file";
        return {};
    }
    Reader reader{&file, 0};
    png_set_read_fn(png, &reader, ReadFromVector);
    png_read_info(png, info);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    rows.assign(png_get_image_height(png, info), std::vector<uint8_t>(rowBytes));
    std::vector<png_bytep> pointers;
    for (auto& row : rows) pointers.push_back(row.data());
    png_read_image(png, pointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return rows;
}

uint32_t Sample(const std::vector<uint8_t>& row, uint32_t index, int bitDepth) {
    if (bitDepth == 16) return (row[2 * index] << 8) | row[2 * index + 1];
    if (bitDepth == 8) return row[index];
    const uint32_t bit = index * bitDepth;
    return (row[bit / 8] >> (8 - bitDepth - bit % 8)) & ((1u << bitDepth) - 1);
}

// The DIB the decoder should make, built pixel by pixel from libpng's rows.
std::vector<uint8_t> ExpectedDib(const Params& p, const std::vector<std::vector<uint8_t>>& rows,
                                 int* bitCount) {
    const int channels = Channels(p.colourType);
    int outBits;
    switch (p.colourType) {
        case 2: outBits = 24; break;
        case 6: outBits = 32; break;
        case 4: outBits = 8; break;
        default: outBits = p.bitDepth == 16 ? 8 : (p.bitDepth == 2 ? 4 : p.bitDepth);
    }
    *bitCount = outBits;
    const size_t stride = (static_cast<size_t>(p.width) * outBits + 31) / 32 * 4;
    std::vector<uint8_t> dib(stride * p.height, 0);
    for (uint32_t y = 0; y < p.height; ++y) {
        uint8_t* out = dib.data() + y * stride;
        for (uint32_t x = 0; x < p.width; ++x) {
            auto high = [&](int channel) {
                uint32_t v = Sample(rows[y], x * channels + channel, p.bitDepth);
                return static_cast<uint8_t>(p.bitDepth == 16 ? v >> 8 : v);
            };
            if (outBits >= 8) {
                uint8_t pixel[4];
                if (p.colourType == 2 || p.colourType == 6) {
                    pixel[0] = high(2);
                    pixel[1] = high(1);
                    pixel[2] = high(0);
                    pixel[3] = p.colourType == 6 ? high(3) : 0;
                } else {
                    pixel[0] = high(0);  // grey (alpha dropped) or palette index
                }
                std::memcpy(out + x * (outBits / 8), pixel, outBits / 8);
            } else {
                const uint32_t value = Sample(rows[y], x, p.bitDepth);
                const uint32_t bit = x * outBits;
                out[bit / 8] |= static_cast<uint8_t>(value << (8 - outBits - bit % 8));
            }
        }
    }
    return dib;
}

TEST(PngOracle, EverySupportedImageDecodesExactlyAsLibpngReadsIt) {
    const int pairs[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                            {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    const uint32_t sizes[][2] = {{1, 1}, {3, 3}, {5, 1}, {1, 5}, {33, 17}, {8, 8}, {17, 2}, {2, 9}};
    const int filters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP,
                           PNG_FILTER_AVG,  PNG_FILTER_PAETH, PNG_ALL_FILTERS};
    const int levels[] = {0, 1, 9};
    std::mt19937 random(20261208);
    int images = 0;
    for (const auto& pair : pairs) {
        for (int interlace = 0; interlace < 2; ++interlace) {
            for (const auto& size : sizes) {
                for (int f = 0; f < 6; ++f) {
                    Params p{pair[0], pair[1], interlace, size[0], size[1], filters[f],
                             levels[(images / 2) % 3],
                             (images % 4 == 3) ? Z_FIXED : Z_DEFAULT_STRATEGY,
                             (images % 3 == 0) ? size_t{16} : size_t{8192}};
                    SCOPED_TRACE(Describe(p));
                    const int paletteEntries = p.colourType == 3 ? (1 << p.bitDepth) : 0;
                    const size_t rowBytes = (static_cast<size_t>(p.width) * Channels(p.colourType) * p.bitDepth + 7) / 8;
                    std::vector<std::vector<uint8_t>> rows(p.height, std::vector<uint8_t>(rowBytes));
                    // Random rows with some runs, so that every filter has work.
                    for (auto& row : rows)
                        for (size_t i = 0; i < row.size(); ++i)
                            row[i] = (random() % 3 == 0 && i) ? row[i - 1] : static_cast<uint8_t>(random());
                    // Unused low bits of the last byte stay zero, as libpng writes them.
                    const size_t usedBits = static_cast<size_t>(p.width) * Channels(p.colourType) * p.bitDepth;
                    if (usedBits % 8)
                        for (auto& row : rows) row.back() &= static_cast<uint8_t>(0xFF << (8 - usedBits % 8));
                    std::vector<uint8_t> file = Encode(p, rows, paletteEntries);
                    ASSERT_FALSE(file.empty());
                    std::vector<std::vector<uint8_t>> reference = DecodeWithLibpng(file);
                    ASSERT_EQ(reference.size(), p.height);
                    int bitCount = 0;
                    std::vector<uint8_t> expected = ExpectedDib(p, reference, &bitCount);

                    PngDecoder decoder;
                    PngDecoderInit(&decoder);
                    ASSERT_TRUE(PngDecoderLoadMemory(&decoder, file.data(), file.size()))
                        << std::hex << decoder.lastError;
                    ASSERT_TRUE(PngDecoderDecode(&decoder)) << std::hex << decoder.lastError;
                    PngBitmapInfo info;
                    std::vector<uint8_t> pixels;
                    ASSERT_TRUE(PngDecoderRenderDib(&decoder, &info, &pixels));
                    EXPECT_EQ(info.header.biBitCount, bitCount);
                    EXPECT_EQ(info.header.biWidth, static_cast<int32_t>(p.width));
                    EXPECT_EQ(info.header.biHeight, -static_cast<int32_t>(p.height));
                    ASSERT_EQ(pixels.size(), expected.size());
                    EXPECT_TRUE(pixels == expected);
                    if (p.colourType == 3) {
                        ASSERT_EQ(PngColourTableEntries(&decoder, info), static_cast<uint32_t>(paletteEntries));
                        for (int i = 0; i < paletteEntries; ++i) {
                            EXPECT_EQ(info.colours[i][2], static_cast<uint8_t>(i * 7));
                            EXPECT_EQ(info.colours[i][1], static_cast<uint8_t>(255 - i));
                            EXPECT_EQ(info.colours[i][0], static_cast<uint8_t>(i * 13 + 5));
                        }
                    }
                    PngDecoderRelease(&decoder);
                    ++images;
                }
            }
        }
    }
    EXPECT_EQ(images, 15 * 2 * 8 * 6);
}

// libpng splits the data over several IDAT chunks; a zero-length IDAT put
// between two of them changes nothing.
TEST(PngOracle, AZeroLengthIdatBetweenOthersIsStepped) {
    Params p{2, 8, 0, 17, 9, PNG_ALL_FILTERS, 9, Z_DEFAULT_STRATEGY, 16};
    std::vector<std::vector<uint8_t>> rows(p.height, std::vector<uint8_t>(p.width * 3));
    for (uint32_t y = 0; y < p.height; ++y)
        for (size_t i = 0; i < rows[y].size(); ++i) rows[y][i] = static_cast<uint8_t>(y * 31 + i * 7);
    std::vector<uint8_t> file = Encode(p, rows, 0);
    // Find the second IDAT and put an empty one before it.
    size_t at = 8, idats = 0, insertAt = 0;
    while (at + 8 <= file.size()) {
        uint32_t length = (file[at] << 24) | (file[at + 1] << 16) | (file[at + 2] << 8) | file[at + 3];
        if (std::memcmp(&file[at + 4], "IDAT", 4) == 0 && ++idats == 2) insertAt = at;
        at += length + 12;
    }
    ASSERT_GE(idats, 3u);
    const uint8_t empty[12] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
    file.insert(file.begin() + insertAt, empty, empty + 12);
    int bitCount;
    std::vector<uint8_t> expected = ExpectedDib(p, DecodeWithLibpng(file), &bitCount);
    PngDecoder decoder;
    PngDecoderInit(&decoder);
    ASSERT_TRUE(PngDecoderLoadMemory(&decoder, file.data(), file.size()));
    ASSERT_TRUE(PngDecoderDecode(&decoder));
    PngBitmapInfo info;
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(PngDecoderRenderDib(&decoder, &info, &pixels));
    EXPECT_TRUE(pixels == expected);
    PngDecoderRelease(&decoder);
}

}  // namespace
}  // namespace quiz
