#include <cstdio>
#include <cstring>
#include <ostream>

#include "commands.h"
#include "images/png_decoder.h"
#include "text/text.h"

namespace quizpack {

namespace {

void PutLe16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}

void PutLe32(std::vector<uint8_t>* out, uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

std::string Hex(uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04x", code);
    return text;
}

}  // namespace

std::vector<uint8_t> MakeBmpFile(const quiz::PngBitmapInfo& info, uint32_t colourEntries,
                                 const std::vector<uint8_t>& pixels) {
    const uint32_t offset = 14 + 40 + 4 * colourEntries;
    std::vector<uint8_t> file;
    file.reserve(offset + pixels.size());
    file.push_back('B');
    file.push_back('M');
    PutLe32(&file, static_cast<uint32_t>(offset + pixels.size()));
    PutLe32(&file, 0);  // two reserved words
    PutLe32(&file, offset);
    PutLe32(&file, info.header.biSize);
    PutLe32(&file, static_cast<uint32_t>(info.header.biWidth));
    PutLe32(&file, static_cast<uint32_t>(info.header.biHeight));
    PutLe16(&file, info.header.biPlanes);
    PutLe16(&file, info.header.biBitCount);
    PutLe32(&file, info.header.biCompression);
    PutLe32(&file, info.header.biSizeImage);
    PutLe32(&file, static_cast<uint32_t>(info.header.biXPelsPerMeter));
    PutLe32(&file, static_cast<uint32_t>(info.header.biYPelsPerMeter));
    PutLe32(&file, info.header.biClrUsed);
    PutLe32(&file, info.header.biClrImportant);
    for (uint32_t i = 0; i < colourEntries; ++i) file.insert(file.end(), info.colours[i], info.colours[i] + 4);
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

int Png2BmpCommand(const std::string& inPath, const std::string& outPath, std::ostream& err) {
    std::vector<uint8_t> png;
    if (!ReadFileBytes(inPath, &png)) {
        err << "quizpack png2bmp : impossible de lire " << inPath << "\n";
        return 2;
    }
    quiz::PngDecoder decoder;
    quiz::PngDecoderInit(&decoder);
    quiz::PngBitmapInfo info;
    std::vector<uint8_t> pixels;
    const char* step = "charger";
    bool ok = quiz::PngDecoderLoadMemory(&decoder, png.data(), png.size());
    if (ok) {
        step = "décoder";
        ok = quiz::PngDecoderDecode(&decoder);
    }
    if (ok) {
        step = "écrire les lignes de";  // a filter type above 4
        ok = quiz::PngDecoderRenderDib(&decoder, &info, &pixels);
    }
    if (!ok) {
        err << Hex(decoder.lastError) << "\n"
            << "quizpack png2bmp : impossible de " << step << " " << inPath << "\n";
        quiz::PngDecoderRelease(&decoder);
        return 1;
    }
    std::vector<uint8_t> bmp = MakeBmpFile(info, quiz::PngColourTableEntries(&decoder, info), pixels);
    quiz::PngDecoderRelease(&decoder);
    if (!WriteFileBytes(outPath, bmp.data(), bmp.size())) {
        err << "quizpack png2bmp : impossible d'écrire " << outPath << "\n";

        return 2;
    }
    return 0;
}

}  // namespace quizpack
