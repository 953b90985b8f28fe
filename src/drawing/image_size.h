// The pixel size of a PNG or JPEG picture, read from its header without
// decoding the picture. Small and strict: the bytes come from host programs
// and from other people's documents.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class ImageFormat { Unknown, Png, Jpeg };

struct ImageSize {
    ImageFormat format = ImageFormat::Unknown;
    uint32_t width = 0;
    uint32_t height = 0;
};

// The format the first bytes announce (PNG signature, JPEG start of image).
ImageFormat ImageFormat_Sniff(std::string_view bytes);

// Reads the size from the PNG image header (IHDR, its checksum included) or
// the first JPEG frame header. False, with a message saying what is wrong
// (not that format, truncated, corrupt), when the header cannot be read.
bool ImageSize_Read(std::string_view bytes, ImageFormat format, ImageSize& out, std::string& error);
