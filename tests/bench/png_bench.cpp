// Decode time of our PNG decoder against libpng, libspng and stb_image, on a
// 459 x 505 RGB picture (the size of a quiz's puzzle picture) and a
// 2048 x 2048 RGBA picture. Each library decodes to its natural layout.
#include <benchmark/benchmark.h>
#include <png.h>
#include <spng.h>
#include <stb/stb_image.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "images/png_decoder.h"

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// A picture with smooth areas, edges and some noise, written by libpng at
// its default level.
const std::vector<uint8_t>& Picture(int which) {
    static std::vector<uint8_t> files[2];
    std::vector<uint8_t>& out = files[which];
    if (!out.empty()) return out;
    const uint32_t width = which ? 2048 : 459, height = which ? 2048 : 505;
    const int channels = which ? 4 : 3;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * channels);
    unsigned seed = 1;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                seed = seed * 1664525u + 1013904223u;
                double v = 128 + 100 * std::sin((x * (c + 1) + y * 3) * 0.01) + ((seed >> 28) & 7);
                if ((x / 37 + y / 41) % 5 == 0) v = 255 - v;
                pixels[(static_cast<size_t>(y) * width + x) * channels + c] = static_cast<uint8_t>(v);
            }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, width, height, 8, which ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + static_cast<size_t>(y) * width * channels);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

void BM_Ours(benchmark::State& state) {
    const std::vector<uint8_t>& file = Picture(static_cast<int>(state.range(0)));
    quiz::PngBitmapInfo info;
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        quiz::PngDecoder decoder;
        quiz::PngDecoderInit(&decoder);
        if (!quiz::PngDecoderLoadMemory(&decoder, file.data(), file.size()) ||
            !quiz::PngDecoderDecode(&decoder) || !quiz::PngDecoderRenderDib(&decoder, &info, &pixels))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.data());
        quiz::PngDecoderRelease(&decoder);
    }
}

struct Reader {
    const std::vector<uint8_t>* file;
    size_t at;
};

void Read(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    std::memcpy(out, r->file->data() + r->at, length);
    r->at += length;
}

void BM_Libpng(benchmark::State& state) {
    const std::vector<uint8_t>& file = Picture(static_cast<int>(state.range(0)));
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        Reader reader{&file, 0};
        png_set_read_fn(png, &reader, Read);
        png_read_info(png, info);
        const size_t rowBytes = png_get_rowbytes(png, info);
        const uint32_t height = png_get_image_height(png, info);
        pixels.resize(rowBytes * height);
        for (uint32_t y = 0; y < height; ++y) png_read_row(png, pixels.data() + y * rowBytes, nullptr);
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void BM_Spng(benchmark::State& state) {
    const std::vector<uint8_t>& file = Picture(static_cast<int>(state.range(0)));
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        spng_ctx* ctx = spng_ctx_new(0);
        spng_set_png_buffer(ctx, file.data(), file.size());
        size_t size = 0;
        spng_decoded_image_size(ctx, SPNG_FMT_PNG, &size);
        pixels.resize(size);
        if (spng_decode_image(ctx, pixels.data(), size, SPNG_FMT_PNG, 0)) state.SkipWithError("spng failed");
        spng_ctx_free(ctx);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void BM_StbImage(benchmark::State& state) {
    const std::vector<uint8_t>& file = Picture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int w, h, n;
        unsigned char* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 0);
        if (!pixels) state.SkipWithError("stb_image failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
}

// Arg 0: 459 x 505 RGB; arg 1: 2048 x 2048 RGBA.
BENCHMARK(BM_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libpng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Spng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StbImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
