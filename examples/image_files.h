// Small PNG and JPEG files made from RGB pixels, for host programs (the
// demo's logo and photo) and for the tests of pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace example {

// Pixels row by row, three bytes (red, green, blue) each.
struct RgbImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

// A width x height image filled by `colour(x, y)` (0xRRGGBB).
template <class F>
RgbImage RgbImage_Draw(uint32_t width, uint32_t height, F colour) {
    RgbImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            uint8_t* p = &image.pixels[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(c >> 16);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c);
        }
    return image;
}

// An 8-bit RGB PNG file (zlib-compressed image data).
std::string Png_Encode(const RgbImage& image);
// A baseline JPEG file (libjpeg) of that quality (1 to 100).
std::string Jpeg_Encode(const RgbImage& image, int quality = 85);

}  // namespace example
