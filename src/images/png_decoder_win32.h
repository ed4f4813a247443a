// The Win32 half of the PNG decoder: a PNG stored as an RT_RCDATA resource,
// and the DIB section it becomes.
#pragma once

#include <windows.h>

#include "images/png_decoder.h"

namespace quiz {

// Binds the decoder to the RT_RCDATA resource `name` of `module` and scans it.
bool PngDecoderLoadResource(PngDecoder* decoder, HMODULE module, LPCSTR name);

// A top-down DIB section on the device context of `window` (null: the
// screen) holding the decoded image; owned by the caller. Null on failure.
HBITMAP PngDecoderCreateBitmap(PngDecoder* decoder, HWND window);

}  // namespace quiz
