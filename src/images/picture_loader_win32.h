// Picture resources to bitmaps: "IMG" resources through the platform's OLE
// picture loader (GIF, JPEG, BMP); a picture missing there is looked up as a
// PNG stored as RT_RCDATA under the same id, for the program's own decoder.
#pragma once

#include <windows.h>

namespace quiz {

// A new bitmap of the picture's own size, owned by the caller (DeleteObject),
// or null. The wanted size is not applied.
HBITMAP LoadResourcePicture(HMODULE module, int id, LPCSTR type, int wantedWidth,
                            int wantedHeight);

// The platform road: encoded picture bytes (kept by the caller) to an
// independent bitmap, or null.
HBITMAP LoadOlePicture(const void* bytes, DWORD count);

// The PNG road: the RT_RCDATA resource `id` of `module`, or null after its
// message.
HBITMAP LoadPngPicture(HMODULE module, int id);

}  // namespace quiz
