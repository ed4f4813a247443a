// Hand-made PNG files for the decoder's tests: chunks with real CRCs, zlib
// streams of stored blocks, and a bit writer for crafted Huffman blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quiz::test {

uint32_t Crc32(const uint8_t* data, size_t length);

void AppendChunk(std::vector<uint8_t>* png, const char* type, const std::vector<uint8_t>& data);
std::vector<uint8_t> Ihdr(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                          uint8_t interlace = 0);
std::vector<uint8_t> PngSignature();

// A zlib stream of stored blocks holding `raw`, CMF 0x78, FLG 0x01, with a
// real Adler-32 unless told otherwise.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw, bool goodAdler = true,
                                size_t blockSize = 65535);

// A whole PNG: signature, IHDR, optional PLTE, one IDAT of `zlib`, IEND.
std::vector<uint8_t> SimplePng(const std::vector<uint8_t>& ihdr, const std::vector<uint8_t>& zlib,
                               const std::vector<uint8_t>& plte = {});

// Deflate bits, least significant first; Huffman codes most significant first.
class DeflateWriter {
public:
    void Bits(uint32_t value, int count);
    void Code(uint32_t code, int length);
    // A fixed-Huffman literal/length symbol (0..287).
    void FixedSymbol(int symbol);
    std::vector<uint8_t> Finish();  // pads the last byte with zeros

private:
    std::vector<uint8_t> bytes_;
    uint32_t current_ = 0;
    int count_ = 0;
};

// CMF 0x78, FLG 0x01, the deflate bytes and four Adler bytes of `adler`.
std::vector<uint8_t> ZlibWrap(const std::vector<uint8_t>& deflate, uint32_t adler = 0);

}  // namespace quiz::test
