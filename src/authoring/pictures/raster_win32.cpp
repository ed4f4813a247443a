// JPEG on Windows: the same system loader the player shows JPEG pictures
// with, read back as RGB.
#include <windows.h>

#include <vector>

#include "images/picture_loader_win32.h"
#include "pictures/raster.h"

namespace quizpack {

bool DecodeJpegOnPlatform(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* why, int, int) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) {
        *why = "taille impossible";
        return false;
    }
    HBITMAP bitmap = quiz::LoadOlePicture(bytes.data(), static_cast<DWORD>(bytes.size()));
    if (!bitmap) {
        *why = "le chargeur d'images de Windows la refuse";
        return false;
    }
    BITMAP shape = {};
    GetObjectA(bitmap, sizeof shape, &shape);
    const int width = shape.bmWidth, height = shape.bmHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> rows(stride * (height > 0 ? height : 0));
    HDC screen = GetDC(nullptr);
    const int copied = width > 0 && height > 0
                           ? GetDIBits(screen, bitmap, 0, height, rows.data(), &info, DIB_RGB_COLORS)
                           : 0;
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    if (copied != height || height <= 0) {
        *why = "ses pixels ne se lisent pas";
        return false;
    }
    *image = RgbImage(width, height, {});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = rows.data() + stride * y + 3 * x;  // blue, green, red
            image->At(x, y) = {p[2], p[1], p[0]};
        }
    return true;
}

}  // namespace quizpack
