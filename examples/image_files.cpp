#include "image_files.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>
#include <zlib.h>

namespace example {

namespace {

void Put32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char(v >> shift));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    Put32(out, uint32_t(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    Put32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()))));
}

}  // namespace

std::string Png_Encode(const RgbImage& image) {
    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    Put32(header, image.width);
    Put32(header, image.height);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(out, "IHDR", header);

    // Each row starts with filter type 0 (none).
    std::string raw;
    const size_t row = size_t(image.width) * 3;
    for (uint32_t y = 0; y < image.height; ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(&image.pixels[y * row]), row);
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::string compressed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&compressed[0]), &size, reinterpret_cast<const Bytef*>(raw.data()),
                  uLong(raw.size()), 9) != Z_OK)
        throw std::runtime_error("PNG: compression failed");
    compressed.resize(size);
    PutChunk(out, "IDAT", compressed);
    PutChunk(out, "IEND", "");
    return out;
}

std::string Jpeg_Encode(const RgbImage& image, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);  // errors exit: the images are ours and small
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = image.width;
    cinfo.image_height = image.height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&image.pixels[size_t(cinfo.next_scanline) * image.width * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

}  // namespace example
