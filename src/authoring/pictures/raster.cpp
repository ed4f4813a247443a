#include "pictures/raster.h"

#include <algorithm>
#include <map>
#include <climits>
#include <cstdint>
#include <cstring>
#include <csetjmp>
#include <cstdio>
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#include <jpeglib.h>
#endif

#include "images/png_decoder.h"

// stb_image reads the BMP pictures, as Windows will in the player, and the
// transparency of PNG pictures, which the player's decoder drops; its
// functions stay private to this file. JPEG goes to libjpeg: Debian's
// stb_image reads out of bounds on some damaged JPEG files.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
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


// stb's writers hand their bytes over in pieces: each piece onto the vector.
static void AppendTo(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* p = static_cast<const uint8_t*>(data);
    out->insert(out->end(), p, p + size);
}

std::vector<uint8_t> EncodePng(const RgbImage& image) {
    static_assert(sizeof(Rgb) == 3, "pixels are packed RGB");
    if (image.width < 1 || image.height < 1) return {};
    std::vector<uint8_t> bytes;
    if (!stbi_write_png_to_func(AppendTo, &bytes, image.width, image.height, 3, image.pixels.data(),
                                image.width * 3))
        return {};
    return bytes;
}

std::vector<uint8_t> EncodeJpeg(const RgbImage& image, int quality) {
    if (image.width < 1 || image.height < 1) return {};
    std::vector<uint8_t> bytes;
    if (!stbi_write_jpg_to_func(AppendTo, &bytes, image.width, image.height, 3, image.pixels.data(), quality)) return {};
    return bytes;
}

namespace {

void AppendBe32(std::vector<uint8_t>* out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

void AppendChunk(std::vector<uint8_t>* png, const char* type, const std::vector<uint8_t>& data) {
    AppendBe32(png, static_cast<uint32_t>(data.size()));
    const size_t typeAt = png->size();
    png->insert(png->end(), type, type + 4);
    png->insert(png->end(), data.begin(), data.end());
    AppendBe32(png, stbiw__crc32(png->data() + typeAt, static_cast<int>(data.size() + 4)));
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) {
    if (size > size_t(INT32_MAX)) return 0;
    // stb's signature wants a mutable buffer; it only reads it.
    return stbiw__crc32(const_cast<uint8_t*>(data), static_cast<int>(size));
}

bool InflateRaw(const uint8_t* data, size_t size, size_t expected, std::vector<uint8_t>* out) {
    if (size > size_t(INT32_MAX) - 4 || expected >= size_t(INT32_MAX)) return false;
    // stb's decoder wants two bytes past the last code before it decodes it
    // (a PNG has its Adler-32 there, a ZIP entry nothing of its own): zeros,
    // which a CRC catches should a stream cut short run into them.
    std::vector<uint8_t> padded(data, data + size);
    padded.resize(size + 4, 0);
    // One byte of room past the count: a stream that gives more is seen.
    out->assign(expected + 1, 0);
    const int made = stbi_zlib_decode_noheader_buffer(reinterpret_cast<char*>(out->data()), int(expected + 1),
                                                      reinterpret_cast<const char*>(padded.data()), int(padded.size()));
    if (made < 0 || size_t(made) != expected) {
        out->clear();
        return false;
    }
    out->resize(expected);
    return true;
}

std::vector<uint8_t> EncodeIndexedPng(const RgbImage& image) {
    if (image.width < 1 || image.height < 1) return {};
    std::map<uint32_t, uint8_t> indexOf;
    std::vector<uint8_t> palette;
    // Each row: filter type 0, then one index per pixel. A palette picture
    // gains nothing from the other filters.
    std::vector<uint8_t> raw;
    raw.reserve(size_t(image.width + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x) {
            const Rgb& c = image.At(x, y);
            const uint32_t key = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
            auto found = indexOf.find(key);
            if (found == indexOf.end()) {
                if (indexOf.size() == 256) return {};
                found = indexOf.emplace(key, static_cast<uint8_t>(indexOf.size())).first;
                palette.insert(palette.end(), {c.r, c.g, c.b});
            }
            raw.push_back(found->second);
        }
    }
    if (raw.size() > 0x7FFFFFFF) return {};
    int zlibSize = 0;
    unsigned char* zlib = stbi_zlib_compress(raw.data(), static_cast<int>(raw.size()), &zlibSize,
                                             stbi_write_png_compression_level);
    if (!zlib) return {};
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    AppendBe32(&header, static_cast<uint32_t>(image.width));
    AppendBe32(&header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 3, 0, 0, 0});  // 8 bits, palette, deflate, filter 0, no interlace
    AppendChunk(&png, "IHDR", header);
    AppendChunk(&png, "PLTE", palette);
    AppendChunk(&png, "IDAT", std::vector<uint8_t>(zlib, zlib + zlibSize));
    AppendChunk(&png, "IEND", {});
    STBIW_FREE(zlib);
    return png;
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

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
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
bool DecodeJpeg(const std::vector<uint8_t>& bytes, int reduction, int maxSide, RgbImage* image, std::string* why) {
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
    if (info.image_width > unsigned(maxSide) || info.image_height > unsigned(maxSide)) {
        jpeg_destroy_decompress(&info);
        *why = "l'image annonce " + std::to_string(info.image_width) + " x " +
               std::to_string(info.image_height) + " pixels";
        return false;
    }
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(reduction);
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

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
bool DecodeJpegOnPlatform(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* why, int reduction,
                          int maxSide) {
    return DecodeJpeg(bytes, reduction, maxSide, image, why);
}
#endif

namespace {

uint32_t Le32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// An uncompressed BMP whose rows end past the file's end: stb_image would
// read the missing bytes as black. Rows are 4-byte aligned; the last one
// may lack its padding. Compressed kinds stb_image refuses by itself.
bool BmpCutShort(const std::vector<uint8_t>& b, const PictureInfo& info) {
    if (b.size() < 30) return false;  // the header itself: stb_image refuses it
    const uint32_t headerSize = Le32At(b, 14);
    const uint32_t bits = headerSize == 12 ? uint32_t(b[24] | b[25] << 8) : uint32_t(b[28] | b[29] << 8);
    const uint32_t compression = headerSize == 12 || b.size() < 34 ? 0 : Le32At(b, 30);
    if (compression != 0 && compression != 3 && compression != 6) return false;
    if (info.height < 1 || bits < 1 || bits > 32) return false;
    const uint64_t stride = (uint64_t(info.width) * bits + 31) / 32 * 4;
    const uint64_t last = (uint64_t(info.width) * bits + 7) / 8;
    return uint64_t(Le32At(b, 10)) + stride * uint64_t(info.height - 1) + last > b.size();
}

// A GIF whose first frame's data runs past the file's end: stb_image leaves
// the pixels it never reached black. The blocks before that frame are walked
// as the format lays them out; the trailer after it is not needed.
bool GifCutShort(const std::vector<uint8_t>& b) {
    size_t at = 13;
    if (b.size() < at) return true;
    if (b[10] & 0x80) at += size_t(3) << ((b[10] & 7) + 1);  // the global colour table
    // Sub-blocks of data up to the empty one; false when the file ends first.
    auto skipBlocks = [&]() {
        while (at < b.size()) {
            const size_t length = b[at];
            at += 1 + length;
            if (length == 0) return true;
        }
        return false;
    };
    while (at < b.size()) {
        const uint8_t kind = b[at];
        if (kind == 0x21) {  // an extension: its label, then its blocks
            at += 2;
            if (!skipBlocks()) return true;
        } else if (kind == 0x2C) {  // the frame: its descriptor, colours, code size, data
            if (at + 10 > b.size()) return true;
            const uint8_t flags = b[at + 9];
            at += 10;
            if (flags & 0x80) at += size_t(3) << ((flags & 7) + 1);
            at += 1;
            return !skipBlocks();
        } else {
            return false;  // a trailer or a stray byte before any frame: stb_image refuses it
        }
    }
    return true;
}

// What shows through where a picture is transparent: `alpha` of 255 is the
// picture's colour, 0 the ground, in between a blend rounded to nearest, in
// integers so that every platform makes the same pixels.
Rgb OnGround(Rgb colour, uint8_t alpha, Rgb ground) {
    auto blend = [&](uint8_t c, uint8_t g) {
        return uint8_t((uint32_t(c) * alpha + uint32_t(g) * (255 - alpha) + 127) / 255);
    };
    return {blend(colour.r, ground.r), blend(colour.g, ground.g), blend(colour.b, ground.b)};
}

// BMP and GIF through stb_image: the first frame, as RGB. With a ground, a
// GIF's transparent pixels show it; a BMP stays opaque, as the platform's
// loader shows it.
bool DecodeWithStb(const std::vector<uint8_t>& bytes, const Rgb* ground, RgbImage* image, std::string* why) {
    if (bytes.size() > 0x7FFFFFFF) {
        *why = "fichier trop grand";
        return false;
    }
    const int channels = ground ? 4 : 3;
    int w = 0, h = 0, stored = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &stored, channels);
    if (!pixels) {
        const char* reason = stbi_failure_reason();
        *why = reason && *reason ? reason : "illisible";
        return false;
    }
    *image = RgbImage(w, h, {});
    for (size_t i = 0; i < image->pixels.size(); ++i) {
        const stbi_uc* p = pixels + channels * i;
        image->pixels[i] = ground ? OnGround({p[0], p[1], p[2]}, p[3], *ground) : Rgb{p[0], p[1], p[2]};
    }
    stbi_image_free(pixels);
    return true;
}

// A PNG that may be transparent: an alpha channel (colour types 4 and 6) or
// a tRNS chunk before the image data.
bool PngMayBeTransparent(const std::vector<uint8_t>& b) {
    if (b.size() < 33) return false;
    if (b[25] == 4 || b[25] == 6) return true;
    for (size_t at = 8; at + 8 <= b.size();) {
        const uint64_t length = uint64_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
        if (std::memcmp(&b[at + 4], "IDAT", 4) == 0) return false;
        if (std::memcmp(&b[at + 4], "tRNS", 4) == 0) return true;
        at += 12 + length;
    }
    return false;
}

// The player's decoder gives the colours and refuses what the player would;
// the transparency it drops comes from stb_image, blended over `ground`.
bool PngOnGround(const std::vector<uint8_t>& bytes, Rgb ground, RgbImage* image) {
    if (!PngMayBeTransparent(bytes)) return true;
    int w = 0, h = 0, stored = 0;
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &stored, 4);
    if (!rgba) return false;
    const bool same = w == image->width && h == image->height;
    for (size_t i = 0; same && i < image->pixels.size(); ++i)
        image->pixels[i] = OnGround(image->pixels[i], rgba[4 * i + 3], ground);
    stbi_image_free(rgba);
    return same;
}

}  // namespace

namespace {

// Pictures up to `maxSide` a side; a JPEG read at 1/`reduction` of its size;
// with a ground, transparent pixels blended over it.
bool DecodeAny(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* error, int maxSide, int reduction,
               const Rgb* ground) {
    const PictureInfo info = ReadPictureInfo(bytes);
    if (info.width > maxSide || info.height > maxSide) {
        *error = "l'image annonce " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                 " pixels, " + std::to_string(maxSide) + " x " + std::to_string(maxSide) + " au plus";
        return false;
    }
    switch (info.format) {
        case PictureFormat::Png:
            if (!DecodePng(bytes, image)) {
                *error = "le décodeur PNG du lecteur ne lit pas cette image (fichier tronqué ou abîmé ?)";
                return false;
            }
            if (!ground || PngOnGround(bytes, *ground, image)) return true;
            *image = RgbImage();
            *error = "la transparence de cette image PNG ne se lit pas (fichier abîmé ?)";
            return false;
        case PictureFormat::Gif:
        case PictureFormat::Bmp: {
            const bool gif = info.format == PictureFormat::Gif;
            // Cut short, the picture would show black where its end is missing.
            if (gif ? GifCutShort(bytes) : BmpCutShort(bytes, info)) {
                *error = std::string("cette image ") + (gif ? "GIF" : "BMP") +
                         " ne se décode pas (fichier tronqué : " +
                         (gif ? "sa première image s'arrête avant sa fin)" : "il lui manque des lignes de pixels)");
                return false;
            }
            std::string why;
            if (DecodeWithStb(bytes, gif ? ground : nullptr, image, &why)) return true;
            // stb_image's reasons for a GIF say little; for a BMP they say
            // what is missing, a few English words kept after a French lead.
            *error = gif ? "cette image GIF ne se décode pas (fichier tronqué ou abîmé ?)"
                         : "cette image BMP ne se décode pas (le décodeur dit : " + why + ")";
            return false;
        }
        case PictureFormat::Jpeg: {
            std::string why;
            if (DecodeJpegOnPlatform(bytes, image, &why, reduction, maxSide)) return true;
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

// DecodePicture's size checks after DecodeAny.
bool DecodeShown(const std::vector<uint8_t>& bytes, const Rgb* ground, RgbImage* image, std::string* error) {
    if (!DecodeAny(bytes, image, error, kMaxPictureSide, 1, ground)) return false;
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

}  // namespace

std::vector<uint8_t> GifAsPng(const std::vector<uint8_t>& gif) {
    // The header's size first, as DecodePicture checks it: stb_image would
    // take any size the header claims.
    const PictureInfo info = ReadPictureInfo(gif);
    if (info.format != PictureFormat::Gif || info.width < 1 || info.height < 1 ||
        info.width > kMaxPictureSide || info.height > kMaxPictureSide || gif.size() > 0x7FFFFFFF ||
        GifCutShort(gif))
        return {};
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(gif.data(), static_cast<int>(gif.size()), &w, &h, &channels, 4);
    if (!rgba) return {};
    // A pixel the GIF leaves transparent shows whatever the platform's loader
    // puts there, which is not a colour of the GIF: such a picture stays a GIF.
    RgbImage frame(w, h, {});
    bool opaque = w == info.width && h == info.height;
    for (size_t i = 0; opaque && i < frame.pixels.size(); ++i) {
        const stbi_uc* p = rgba + 4 * i;
        frame.pixels[i] = {p[0], p[1], p[2]};
        opaque = p[3] == 255;
    }
    stbi_image_free(rgba);
    if (!opaque) return {};
    std::vector<uint8_t> png = EncodeIndexedPng(frame);
    RgbImage back;
    // Written counts only once the player's decoder reads the same pixels back.
    if (png.empty() || !DecodePng(png, &back) || back.width != w || back.height != h ||
        back.pixels != frame.pixels)
        return {};
    return png;
}

bool DecodeLarge(const std::vector<uint8_t>& bytes, int reduction, Rgb ground, RgbImage* image, std::string* error) {
    const PictureInfo info = ReadPictureInfo(bytes);
    if (int64_t(info.width) * info.height > kMaxLargePixels) {
        *error = "l'image annonce " + std::to_string(info.width) + " x " + std::to_string(info.height) + " pixels";
        return false;
    }
    if (!DecodeAny(bytes, image, error, kMaxLargeSide, reduction, &ground)) return false;
    if (image->width >= 1 && image->height >= 1) return true;
    *error = "l'image fait " + std::to_string(image->width) + " x " + std::to_string(image->height) + " pixels";
    *image = RgbImage();
    return false;
}

bool DecodePicture(const std::vector<uint8_t>& bytes, RgbImage* image, std::string* error) {
    return DecodeShown(bytes, nullptr, image, error);
}

bool DecodeOnGround(const std::vector<uint8_t>& bytes, Rgb ground, RgbImage* image, std::string* error) {
    return DecodeShown(bytes, &ground, image, error);
}

}  // namespace quizpack

namespace quizpack {

bool MadePicture(const RgbImage& image, PictureSource* picture) {
    picture->bytes = EncodeIndexedPng(image);
    if (picture->bytes.empty()) picture->bytes = EncodePng(image);
    RgbImage back;
    std::string error;
    if (picture->bytes.empty() || !DecodePicture(picture->bytes, &back, &error) ||
        back.width != image.width || back.height != image.height || back.pixels != image.pixels)
        return false;
    picture->info = ReadPictureInfo(picture->bytes);
    return true;
}

}  // namespace quizpack
