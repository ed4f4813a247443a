// The whole PNG decode over arbitrary bytes: load, decode, rows.
#include <cstdlib>
#include <vector>

#include "images/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quiz::PngDecoder decoder;
    quiz::PngDecoderInit(&decoder);
    if (!quiz::PngDecoderLoadMemory(&decoder, data, size)) {
        if (decoder.state != quiz::kPngEmpty || decoder.sourceKind != quiz::kPngNoSource) std::abort();
        return 0;
    }
    // Keep the fuzzer's memory bounded: huge headers are valid but slow.
    if (quiz::PngRawImageSize(&decoder) > (16u << 20) ||
        quiz::PngDibStride(decoder.width, 32) * decoder.height > (64u << 20)) {
        quiz::PngDecoderRelease(&decoder);
        return 0;
    }
    if (quiz::PngDecoderDecode(&decoder)) {
        quiz::PngBitmapInfo info;
        std::vector<uint8_t> pixels;
        quiz::PngDecoderRenderDib(&decoder, &info, &pixels);
    } else if (decoder.rawImage || decoder.state != quiz::kPngLoaded) {
        std::abort();
    }
    quiz::PngDecoderRelease(&decoder);
    return 0;
}
