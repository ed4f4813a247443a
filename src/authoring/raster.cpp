#include "raster.h"

#include <algorithm>
#include <cstring>
#include <csetjmp>
#include <cstdio>
#if !defined(_WIN32)
#include <jpeglib.h>
#endif

#include "images/png_decoder.h"

// stb_image reads the BMP pictures, as Windows will in the player; its
// functions stay private to this file. JPEG goes to libjpeg: Debian's
// stb_image reads out of bounds on some damaged JPEG files.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace quizpack {

void RgbImage::Fill(int left, int top, int w, int h, Rgb colour) {
    for (int y = std::max(top, 0); y < std::min(top + h, height); ++y)
        for (int x = std::max(left, 0); x < std::min(left + w, width); ++x) At(x, y) = colour;
}

RgbImage RgbImage::Crop(int left, int top, int w, int h) const {
    RgbImage block(w, h, {});
    for (int y = 0; y < h; ++y)
        std::copy_n(&At(left, top + y), w, &block.At(0, y));
    return block;
}


std::vector<uint8_t> EncodePng(const RgbImage& image) {
    static_assert(sizeof(Rgb) == 3, "pixels are packed RGB");
    if (image.width < 1 || image.height < 1) return {};
    std::vector<uint8_t> bytes;
    auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        const auto* p = static_cast<const uint8_t*>(data);
        out->insert(out->end(), p, p + size);
    };
    if (!stbi_write_png_to_func(append, &bytes, image.width, image.height, 3, image.pixels.data(),
                                image.width * 3))
        return {};
    return bytes;
}

namespace {

bool DecodePng(const std::vector<uint8_t>& bytes, RgbImage* image) {
    quiz::PngDecoder decoder;
    quiz::PngDecoderInit(&decoder);
    quiz::PngBitmapInfo info;
    std::vector<uint8_t> dib;
    bool ok = quiz::PngDecoderLoadMemory(&decoder, bytes.data(), bytes.size()) &&
              quiz::PngDecoderDecode(&decoder) &&
              quiz::PngDecoderRenderDib(&decoder, &info, &dib);
    quiz::PngDecoderRelease(&decoder);
    if (!ok) return false;
    const int width = info.header.biWidth, height = -info.header.biHeight;  // top-down
    const int bits = info.header.biBitCount;
    const uint64_t stride = quiz::PngDibStride(width, bits);
    *image = RgbImage(width, height, {});
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = dib.data() + stride * y;
        for (int x = 0; x < width; ++x) {
            if (bits >= 24) {
                const uint8_t* p = row + x * (bits / 8);  // blue, green, red
                image->At(x, y) = {p[2], p[1], p[0]};
            } else {
                const int perByte = 8 / bits;
                const int index = (row[x / perByte] >> ((perByte - 1 - x % perByte) * bits)) & ((1 << bits) - 1);
                const uint8_t* c = info.colours[index];
                image->At(x, y) = {c[2], c[1], c[0]};
            }
        }
    }
    return true;
}

#if !defined(_WIN32)
struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

// A warning means damaged data (a file cut short, a bad marker): the picture
// would show half grey, so it counts as not decoding.
void OnJpegMessage(j_common_ptr info, int level) {
    if (level < 0) OnJpegError(info);
}

// Only C objects live between setjmp and longjmp here: nothing is skipped.
bool DecodeJpeg(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* why) {
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = OnJpegError;
    error.base.emit_message = OnJpegMessage;
    error.message[0] = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        *why = error.message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > unsigned(kMaxPictureSide) || info.image_height > unsigned(kMaxPictureSide)) {
        jpeg_destroy_decompress(&info);
        *why = "l'image annonce " + std::to_string(info.image_width) + " x " +
               std::to_string(info.image_height) + " pixels";
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *image = RgbImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), {});
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(&image->At(0, static_cast<int>(info.output_scanline)));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}
#endif

}  // namespace

#if !defined(_WIN32)
bool DecodeJpegOnPlatform(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* why) {
    return DecodeJpeg(bytes, image, why);
}
#endif

namespace {

// BMP and GIF through stb_image: the first frame, as RGB.
bool DecodeWithStb(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* why) {
    if (bytes.size() > 0x7FFFFFFF) {
        *why = "fichier trop grand";
        return false;
    }
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h,
                                         &channels, 3);
    if (!rgb) {
        const char* reason = stbi_failure_reason();
        *why = reason && *reason ? reason : "illisible";
        return false;
    }
    *image = RgbImage(w, h, {});
    if (!image->pixels.empty()) std::memcpy(image->pixels.data(), rgb, size_t(w) * h * 3);
    stbi_image_free(rgb);
    return true;
}

}  // namespace

namespace {

bool DecodeAny(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* error) {
    const PictureInfo info = ReadPictureInfo(bytes);
    if (info.width > kMaxPictureSide || info.height > kMaxPictureSide) {
        *error = "l'image annonce " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                 " pixels, " + std::to_string(kMaxPictureSide) + " x " +
                 std::to_string(kMaxPictureSide) + " au plus";
        return false;
    }
    switch (info.format) {
        case PictureFormat::Png:
            if (DecodePng(bytes, image)) return true;
            *error = "le décodeur PNG du lecteur ne lit pas cette image (fichier tronqué ou abîmé ?)";
            return false;
        case PictureFormat::Gif:
        case PictureFormat::Bmp: {
            std::string why;
            if (DecodeWithStb(bytes, image, &why)) return true;
            // stb_image's reasons for a GIF say little; for a BMP they say
            // what is missing, a few English words kept after a French lead.
            *error = info.format == PictureFormat::Gif
                         ? "cette image GIF ne se décode pas (fichier tronqué ou abîmé ?)"
                         : "cette image BMP ne se décode pas (le décodeur dit : " + why + ")";
            return false;
        }
        case PictureFormat::Jpeg: {
            std::string why;
            if (DecodeJpegOnPlatform(bytes, image, &why)) return true;
            // The decoder's reason is a few English words; kept after a French lead.
            *error = "cette image JPEG ne se décode pas (le décodeur dit : " + why + ")";
            return false;
        }
        default:
            break;
    }
    *error = "ce n'est pas une image GIF, JPEG, BMP ou PNG";
    return false;
}

}  // namespace

bool DecodePicture(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* error) {
    if (!DecodeAny(bytes, image, error)) return false;
    // A header may say 0 pixels and a decoder take it: nothing would show.
    if (image->width < 1 || image->height < 1 || image->width > kMaxPictureSide ||
        image->height > kMaxPictureSide) {
        *error = "l'image fait " + std::to_string(image->width) + " x " +
                 std::to_string(image->height) + " pixels";
        *image = RgbImage();
        return false;
    }
    return true;
}

}  // namespace quizpack
