// What kind of picture a media entry holds, told by its first bytes (the
// name's extension only when they say nothing), and its pixel size where
// the header states one. Documents hold more than PNG and JPEG: GIF, BMP,
// TIFF, EMF, WMF, SVG and WebP are named as what they are.
#pragma once

#include <string>

namespace cli {

struct PictureKind {
    std::string type;  // "png", "jpeg", "gif", "bmp", "tiff", "emf", "wmf", "svg", "webp", or "unknown"
    bool sized = false;
    unsigned width = 0, height = 0;
    std::string problem;  // why a PNG or JPEG header could not be read
};

PictureKind PictureKind_Of(const std::string& bytes, const std::string& name);

}  // namespace cli
