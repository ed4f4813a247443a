// The floor of reading a mosaic's photos: libjpeg decoding each file at the
// smallest of its scales (1/8, 1/4, 1/2) that still covers a tile, and
// nothing else.   jpeg_floor TILE FILE...
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>  // after <cstdio>: it needs FILE and size_t

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const unsigned tile = unsigned(std::atoi(argv[1]));
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        jpeg_decompress_struct info;
        jpeg_error_mgr error;
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        unsigned reduction = 1;
        for (unsigned r : {8u, 4u, 2u})
            if ((info.image_width + r - 1) / r >= tile && (info.image_height + r - 1) / r >= tile * 3 / 4) {
                reduction = r;
                break;
            }
        info.out_color_space = JCS_RGB;
        info.scale_num = 1;
        info.scale_denom = reduction;
        jpeg_start_decompress(&info);
        std::vector<unsigned char> row(size_t(info.output_width) * 3);
        while (info.output_scanline < info.output_height) {
            JSAMPROW p = row.data();
            jpeg_read_scanlines(&info, &p, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
    }
    return 0;
}
