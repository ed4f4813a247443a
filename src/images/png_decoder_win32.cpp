#include "images/png_decoder_win32.h"

#include <cstring>

namespace quiz {

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(PngBitmapInfoHeader),
              "the portable header has the layout of BITMAPINFOHEADER");

bool PngDecoderLoadResource(PngDecoder* decoder, HMODULE module, LPCSTR name) {
    if (decoder->state != kPngEmpty || decoder->sourceKind != kPngNoSource) {
        decoder->lastError = kPngNotEmpty;
        return false;
    }
    decoder->lastError = kPngOk;
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) {
        decoder->lastError = kPngNoResource;
        return false;
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        decoder->lastError = kPngCannotLoad;
        return false;
    }
    DWORD size = SizeofResource(module, found);
    if (size == 0) {
        decoder->lastError = kPngCannotLoad;
        return false;
    }
    return PngDecoderBindAndScan(decoder, static_cast<const uint8_t*>(bytes), size,
                                 kPngResourceSource);
}

HBITMAP PngDecoderCreateBitmap(PngDecoder* decoder, HWND window) {
    if (decoder->state != kPngDecoded) {
        decoder->lastError = kPngWrongState;
        return nullptr;
    }
    PngBitmapInfo info;
    PngPixelFormat format = PngMakeBitmapInfo(decoder, &info);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } bitmapInfo;
    std::memcpy(&bitmapInfo.header, &info.header, sizeof bitmapInfo.header);
    std::memcpy(bitmapInfo.colours, info.colours, sizeof bitmapInfo.colours);

    HDC dc = GetDC(window);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&bitmapInfo),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        decoder->lastError = kPngNoDibSection;
        ReleaseDC(window, dc);
        return nullptr;
    }
    // A fresh DIB section holds zeros: the row padding stays so.
    if (!PngWriteRows(decoder, static_cast<uint8_t*>(bits), format)) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ReleaseDC(window, dc);
    return bitmap;
}

}  // namespace quiz
