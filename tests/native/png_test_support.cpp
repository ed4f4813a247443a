#include "png_test_support.h"

#include <cstring>

namespace quiz::test {

uint32_t Crc32(const uint8_t* data, size_t length) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

static void PutBe32(std::vector<uint8_t>* out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(v >> shift));
}

void AppendChunk(std::vector<uint8_t>* png, const char* type, const std::vector<uint8_t>& data) {
    PutBe32(png, static_cast<uint32_t>(data.size()));
    size_t typeAt = png->size();
    png->insert(png->end(), type, type + 4);
    png->insert(png->end(), data.begin(), data.end());
    PutBe32(png, Crc32(png->data() + typeAt, 4 + data.size()));
}

std::vector<uint8_t> Ihdr(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                          uint8_t interlace) {
    std::vector<uint8_t> ihdr;
    PutBe32(&ihdr, width);
    PutBe32(&ihdr, height);
    ihdr.insert(ihdr.end(), {bitDepth, colourType, 0, 0, interlace});
    return ihdr;
}

std::vector<uint8_t> PngSignature() { return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}; }

static uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw, bool goodAdler, size_t blockSize) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        size_t length = std::min(blockSize, raw.size() - at);
        bool final = at + length == raw.size();
        out.push_back(final ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
        at += length;
    } while (at < raw.size());
    PutBe32(&out, goodAdler ? Adler32(raw) : Adler32(raw) ^ 0x5A5A5A5Au);
    return out;
}

std::vector<uint8_t> SimplePng(const std::vector<uint8_t>& ihdr, const std::vector<uint8_t>& zlib,
                               const std::vector<uint8_t>& plte) {
    std::vector<uint8_t> png = PngSignature();
    AppendChunk(&png, "IHDR", ihdr);
    if (!plte.empty()) AppendChunk(&png, "PLTE", plte);
    AppendChunk(&png, "IDAT", zlib);
    AppendChunk(&png, "IEND", {});
    return png;
}

void DeflateWriter::Bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        current_ |= ((value >> i) & 1u) << count_;
        if (++count_ == 8) {
            bytes_.push_back(static_cast<uint8_t>(current_));
            current_ = 0;
            count_ = 0;
        }
    }
}

void DeflateWriter::Code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bits((code >> i) & 1u, 1);
}

void DeflateWriter::FixedSymbol(int symbol) {
    if (symbol < 144)
        Code(0x30 + symbol, 8);
    else if (symbol < 256)
        Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        Code(symbol - 256, 7);
    else
        Code(0xC0 + symbol - 280, 8);
}

std::vector<uint8_t> DeflateWriter::Finish() {
    if (count_) bytes_.push_back(static_cast<uint8_t>(current_));
    current_ = 0;
    count_ = 0;
    return bytes_;
}

std::vector<uint8_t> ZlibWrap(const std::vector<uint8_t>& deflate, uint32_t adler) {
    std::vector<uint8_t> out;
    out.reserve(deflate.size() + 6);
    out.push_back(0x78);
    out.push_back(0x01);
    out.insert(out.end(), deflate.begin(), deflate.end());
    PutBe32(&out, adler);
    return out;
}

}  // namespace quiz::test
