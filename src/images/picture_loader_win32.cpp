#include "images/picture_loader_win32.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "images/png_decoder_win32.h"
#include "model/alert.h"

namespace quiz {

namespace {

// {7BF80980-BF32-101A-8BBB-00AA00300CAB}
const IID kIidPicture = {0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

template <typename Function>
Function Entry(HMODULE module, const char* name) {
    // Through the generic function type, which converts to any other.
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                  : nullptr;
}

// The platform's picture loader, its libraries loaded at the first picture
// that needs it: a quiz whose pictures are all PNG never loads them, and
// loading them is a good part of a start-up's time.
struct OleCalls {
    decltype(&CoInitialize) coInitialize;
    decltype(&CreateStreamOnHGlobal) createStreamOnHGlobal;
    decltype(&OleLoadPicture) oleLoadPicture;
};

const OleCalls* Ole() {
    static const OleCalls calls = [] {
        HMODULE ole32 = LoadLibraryA("ole32.dll");
        HMODULE oleaut32 = LoadLibraryA("oleaut32.dll");
        OleCalls c = {Entry<decltype(&CoInitialize)>(ole32, "CoInitialize"),
                      Entry<decltype(&CreateStreamOnHGlobal)>(ole32, "CreateStreamOnHGlobal"),
                      Entry<decltype(&OleLoadPicture)>(oleaut32, "OleLoadPicture")};
        // COM stays initialised for the rest of the process: starting and
        // ending it around every picture cost more than the decoding itself.
        if (c.coInitialize) c.coInitialize(nullptr);
        return c;
    }();
    return calls.coInitialize && calls.createStreamOnHGlobal && calls.oleLoadPicture ? &calls : nullptr;
}

}  // namespace

HBITMAP LoadResourcePicture(HMODULE module, int id, LPCSTR type, int, int) {
    // Where the picture is stored decides the road, never its bytes.
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) return LoadPngPicture(module, id);
    const void* bytes = LockResource(loaded);
    DWORD count = SizeofResource(module, found);
    HBITMAP bitmap = bytes ? LoadOlePicture(bytes, count) : nullptr;
    FreeResource(loaded);
    return bitmap;
}

HBITMAP LoadOlePicture(const void* bytes, DWORD count) {
    const OleCalls* ole = Ole();
    if (!ole) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, count);
    if (!block) return nullptr;
    std::memcpy(reinterpret_cast<void*>(block), bytes, count);
    IStream* stream = nullptr;
    if (FAILED(ole->createStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    HRESULT loaded = ole->oleLoadPicture(stream, static_cast<LONG>(count), FALSE, kIidPicture,
                                    reinterpret_cast<void**>(&picture));
    if (FAILED(loaded) || !picture) {
        stream->Release();
        return nullptr;
    }
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    // An independent copy: releasing the picture destroys its own bitmap.
    HBITMAP copy = static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
    if (!copy) {
        char text[128];
        wsprintfA(text, "%s plante avec l'erreur : %d\n", "CopyImage",
                  static_cast<int>(GetLastError()));
        ShowAlert(text, "Information", kAlertInformation);
    }
    picture->Release();
    stream->Release();  // frees the block
    return copy;
}

HBITMAP LoadPngPicture(HMODULE module, int id) {
    PngDecoder decoder;
    PngDecoderInit(&decoder);
    if (!PngDecoderLoadResource(&decoder, module, MAKEINTRESOURCEA(id))) {
        ShowAlert("Error: couldn't load PNG resource", "Information", kAlertError);
        return nullptr;
    }
    if (!PngDecoderDecode(&decoder)) {
        ShowAlert("Error: couldn't decode PNG resource", "Information", kAlertError);
        PngDecoderRelease(&decoder);
        return nullptr;
    }
    HBITMAP bitmap = PngDecoderCreateBitmap(&decoder, nullptr);
    if (!bitmap) ShowAlert("Error: couldn't create bitmap", "Information", kAlertError);
    PngDecoderRelease(&decoder);
    return bitmap;
}

}  // namespace quiz
