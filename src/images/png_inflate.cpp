// Inflates the zlib stream of the IDAT chunks into the raw image, reading the
// chunks in place. Huffman codes are decoded bit by bit against canonical
// tables (a limit and a start per code length), with no lookup tables; every
// data error refuses the stream with 0x2000 and nothing is read or written
// outside the chunks and the raw image.
#include <cstring>

#include "images/png_decoder.h"
#include "images/png_internal.h"

namespace quiz {

namespace {

constexpr int kMaxCodeBits = 15;

const uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                    33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Reads the compressed bytes across consecutive IDAT chunks, and bits from
// them least significant first.
class IdatReader {
public:
    explicit IdatReader(const PngDecoder* decoder)
        : data_(decoder->data), end_(decoder->data + decoder->dataSize), chunk_(decoder->firstIdat) {
        length_ = png::ReadBe32(chunk_);
        at_ = chunk_ + 8;
        left_ = length_;
    }

    bool NextByte(uint8_t* byte) {
        while (left_ == 0) {
            if (!NextIdat()) return false;
        }
        *byte = *at_++;
        --left_;
        return true;
    }

    bool Bits(int count, uint32_t* value) {
        if (bitCount_ < count && !Refill(count)) return false;
        *value = static_cast<uint32_t>(bitBuffer_ & ((1ull << count) - 1));
        bitBuffer_ >>= count;
        bitCount_ -= count;
        return true;
    }

    // One bit, for the Huffman codes.
    bool Bit(uint32_t* bit) {
        if (bitCount_ == 0 && !Refill(1)) return false;
        *bit = static_cast<uint32_t>(bitBuffer_ & 1);
        bitBuffer_ >>= 1;
        --bitCount_;
        return true;
    }

    // At least `count` bits read ahead, when the data hold them.
    bool Ensure(int count) { return bitCount_ >= count || Refill(count); }
    uint64_t Peek() const { return bitBuffer_; }
    void Consume(int count) {
        bitBuffer_ >>= count;
        bitCount_ -= count;
    }

    // Drops what is left of a partly read byte; whole bytes read ahead stay.
    void AlignToByte() {
        const int drop = bitCount_ % 8;
        bitBuffer_ >>= drop;
        bitCount_ -= drop;
    }

    // The next byte after AlignToByte: from the bits read ahead, then the chunks.
    bool AlignedByte(uint8_t* byte) {
        if (bitCount_ >= 8) {
            uint32_t value;
            Bits(8, &value);
            *byte = static_cast<uint8_t>(value);
            return true;
        }
        return NextByte(byte);
    }

private:
    // Steps over the CRC to the following chunk; only an IDAT continues the data.
    bool NextIdat() {
        uint64_t next = static_cast<uint64_t>(chunk_ - data_) + 12 + length_;
        uint64_t size = static_cast<uint64_t>(end_ - data_);
        if (next + 12 > size) return false;
        const uint8_t* at = data_ + next;
        uint32_t length = png::ReadBe32(at);
        if (length > size - next - 12) return false;
        if (at[4] != 'I' || at[5] != 'D' || at[6] != 'A' || (at[7] & ~0x20) != 'T') return false;
        chunk_ = at;
        length_ = length;
        at_ = at + 8;
        left_ = length;
        return true;
    }

    // Reads ahead whole bytes while there is room, at least `count` bits.
    bool Refill(int count) {
        while (bitCount_ <= 56) {
            if (left_ == 0) {
                if (bitCount_ >= count) return true;
                if (!NextIdat()) return false;
                continue;
            }
            bitBuffer_ |= static_cast<uint64_t>(*at_++) << bitCount_;
            --left_;
            bitCount_ += 8;
        }
        return true;
    }

    const uint8_t* data_;
    const uint8_t* end_;
    const uint8_t* chunk_;
    uint32_t length_;
    const uint8_t* at_;
    uint32_t left_;
    uint64_t bitBuffer_ = 0;
    int bitCount_ = 0;
};

struct HuffmanTable {
    int maxBits;
    uint32_t limit[kMaxCodeBits + 1];  // first unused code of each length; 0: none
    uint16_t start[kMaxCodeBits + 1];  // where each length's symbols start
    uint16_t count[kMaxCodeBits + 1];
    uint16_t symbols[288];             // per length, in descending symbol order
};

}  // namespace

// Canonical codes: code = (code + count[L-1]) * 2 gives the first code of
// each length; its symbols are listed from the highest down.
void PngBuildHuffmanTable(HuffmanTable* table, const uint8_t* codeLengths, int symbolCount,
                          int maxBits) {
    std::memset(table, 0, sizeof *table);
    table->maxBits = maxBits;
    for (int s = 0; s < symbolCount; ++s)
        if (codeLengths[s]) ++table->count[codeLengths[s]];
    uint32_t code = 0;
    uint16_t place = 0;
    for (int length = 1; length <= maxBits; ++length) {
        code = (code + table->count[length - 1]) * 2;
        if (table->count[length]) {
            table->limit[length] = code + table->count[length];
            table->start[length] = place;
            place = static_cast<uint16_t>(place + table->count[length]);
        }
    }
    uint16_t next[kMaxCodeBits + 1];
    std::memcpy(next, table->start, sizeof next);
    for (int s = symbolCount - 1; s >= 0; --s)
        if (codeLengths[s]) table->symbols[next[codeLengths[s]]++] = static_cast<uint16_t>(s);
}

namespace {

// One symbol, the code read most significant bit first. -1: no code matches
// or the data ended.
int DecodeSymbol(IdatReader* reader, const HuffmanTable& table) {
    // Usually the longest code is read ahead already: the same walk, one bit
    // after the other, over the bits in hand.
    if (reader->Ensure(table.maxBits)) {
        const uint64_t bits = reader->Peek();
        uint32_t code = 0;
        for (int length = 1; length <= table.maxBits; ++length) {
            code = (code << 1) | static_cast<uint32_t>((bits >> (length - 1)) & 1);
            if (code < table.limit[length]) {  // limit 0: no code of this length
                reader->Consume(length);
                return table.symbols[table.start[length] + table.limit[length] - code - 1];
            }
        }
        return -1;
    }
    uint32_t code = 0;
    for (int length = 1; length <= table.maxBits; ++length) {
        uint32_t bit;
        if (!reader->Bit(&bit)) return -1;
        code = (code << 1) | bit;
        if (table.count[length] && code < table.limit[length])
            return table.symbols[table.start[length] + table.limit[length] - code - 1];
    }
    return -1;
}

class Inflater {
public:
    explicit Inflater(PngDecoder* decoder)
        : reader_(decoder), out_(decoder->rawImage), size_(decoder->rawImageSize) {}

    bool Run() {
        uint32_t cmf, flg;
        if (!reader_.Bits(8, &cmf) || !reader_.Bits(8, &flg)) return false;
        if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || (flg & 0x20)) return false;
        uint32_t final = 0;
        while (!final) {
            uint32_t type;
            if (!reader_.Bits(1, &final) || !reader_.Bits(2, &type)) return false;
            bool ok = type == 0 ? Stored() : type == 1 ? Fixed() : type == 2 ? Dynamic() : false;
            if (!ok) return false;
        }
        reader_.AlignToByte();
        uint32_t adler;
        reader_.Bits(16, &adler);  // the checksum is read, not compared
        reader_.Bits(16, &adler);
        return written_ == size_;  // an image with missing rows is refused
    }

private:
    bool Put(uint8_t byte) {
        if (written_ >= size_) return false;
        out_[written_++] = byte;
        return true;
    }

    bool Stored() {
        reader_.AlignToByte();
        uint32_t length, complement;
        if (!reader_.Bits(16, &length) || !reader_.Bits(16, &complement)) return false;
        if ((length ^ 0xFFFF) != complement) return false;
        if (length > size_ - written_) return false;
        for (uint32_t i = 0; i < length; ++i) {
            uint8_t byte;
            if (!reader_.AlignedByte(&byte)) return false;
            out_[written_++] = byte;
        }
        return true;
    }

    bool Fixed() {
        uint8_t lengths[288];
        std::memset(lengths, 8, 144);
        std::memset(lengths + 144, 9, 112);
        std::memset(lengths + 256, 7, 24);
        std::memset(lengths + 280, 8, 8);
        HuffmanTable literals;
        PngBuildHuffmanTable(&literals, lengths, 288, 9);
        return Codes(literals, nullptr);
    }

    bool Dynamic() {
        uint32_t hlit, hdist, hclen;
        if (!reader_.Bits(5, &hlit) || !reader_.Bits(5, &hdist) || !reader_.Bits(4, &hclen))
            return false;
        hlit += 257;
        hdist += 1;
        hclen += 4;
        uint8_t codeLengthLengths[19] = {};
        for (uint32_t i = 0; i < hclen; ++i) {
            uint32_t value;
            if (!reader_.Bits(3, &value)) return false;
            codeLengthLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(value);
        }
        HuffmanTable codeLengths;
        PngBuildHuffmanTable(&codeLengths, codeLengthLengths, 19, 7);

        uint8_t lengths[288 + 32] = {};
        const uint32_t total = hlit + hdist;
        uint32_t i = 0;
        while (i < total) {
            int symbol = DecodeSymbol(&reader_, codeLengths);
            if (symbol < 0) return false;
            if (symbol < 16) {
                lengths[i++] = static_cast<uint8_t>(symbol);
                continue;
            }
            uint8_t value = 0;
            uint32_t repeat, extra;
            if (symbol == 16) {
                if (i == 0) return false;  // nothing to repeat
                value = lengths[i - 1];
                if (!reader_.Bits(2, &extra)) return false;
                repeat = 3 + extra;
            } else if (symbol == 17) {
                if (!reader_.Bits(3, &extra)) return false;
                repeat = 3 + extra;
            } else {
                if (!reader_.Bits(7, &extra)) return false;
                repeat = 11 + extra;
            }
            if (repeat > total - i) return false;  // past HLIT + HDIST
            std::memset(lengths + i, value, repeat);
            i += repeat;
        }
        HuffmanTable literals, distances;
        PngBuildHuffmanTable(&literals, lengths, static_cast<int>(hlit), kMaxCodeBits);
        PngBuildHuffmanTable(&distances, lengths + hlit, static_cast<int>(hdist), kMaxCodeBits);
        return Codes(literals, &distances);
    }

    // A Huffman block; null distances: the fixed five-bit distance codes.
    bool Codes(const HuffmanTable& literals, const HuffmanTable* distances) {
        for (;;) {
            int symbol = DecodeSymbol(&reader_, literals);
            if (symbol < 0) return false;
            if (symbol < 256) {
                if (!Put(static_cast<uint8_t>(symbol))) return false;
                continue;
            }
            if (symbol == 256) return true;
            symbol -= 257;
            if (symbol >= 29) return false;  // 286 and 287
            uint32_t extraBits = (symbol < 8 || symbol == 28) ? 0 : (symbol - 8) / 4 + 1;
            uint32_t extra = 0;
            if (extraBits && !reader_.Bits(static_cast<int>(extraBits), &extra)) return false;
            uint32_t length = kLengthBase[symbol] + extra;

            int code;
            if (distances) {
                code = DecodeSymbol(&reader_, *distances);
                if (code < 0) return false;
            } else {
                uint32_t bits = 0;
                for (int b = 0; b < 5; ++b) {
                    uint32_t bit;
                    if (!reader_.Bits(1, &bit)) return false;
                    bits = (bits << 1) | bit;
                }
                code = static_cast<int>(bits);
            }
            if (code >= 30) return false;  // distance codes 30 and 31
            extraBits = code < 4 ? 0 : (code - 2) / 2;
            extra = 0;
            if (extraBits && !reader_.Bits(static_cast<int>(extraBits), &extra)) return false;
            uint32_t distance = kDistanceBase[code] + extra;
            if (distance > written_ || length > size_ - written_) return false;
            // One byte at a time: a copy may overlap what it writes.
            uint8_t* to = out_ + written_;
            const uint8_t* from = to - distance;
            for (uint32_t k = 0; k < length; ++k) to[k] = from[k];
            written_ += length;
        }
    }

    IdatReader reader_;
    uint8_t* out_;
    uint32_t size_;
    uint32_t written_ = 0;
};

}  // namespace

bool PngInflate(PngDecoder* decoder) {
    decoder->lastError = kPngMalformed;
    if (!decoder->firstIdat || !decoder->rawImage) return false;
    Inflater inflater(decoder);
    if (!inflater.Run()) return false;
    decoder->lastError = kPngOk;
    return true;
}

}  // namespace quiz
