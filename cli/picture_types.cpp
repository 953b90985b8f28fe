#include "picture_types.h"

#include <cctype>
#include <cstring>

#include "drawing/image_size.h"

namespace cli {

namespace {

unsigned Little16(const unsigned char* p) { return unsigned(p[0]) | unsigned(p[1]) << 8; }
unsigned Little32(const unsigned char* p) {
    return unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16 | unsigned(p[3]) << 24;
}

std::string Extension(const std::string& name) {
    const size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "jpg") ext = "jpeg";
    if (ext == "tif") ext = "tiff";
    return ext;
}

}  // namespace

PictureKind PictureKind_Of(const std::string& bytes, const std::string& name) {
    PictureKind kind;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    const ImageFormat format = ImageFormat_Sniff(bytes);
    if (format != ImageFormat::Unknown) {
        kind.type = format == ImageFormat::Png ? "png" : "jpeg";
        ImageSize size;
        kind.sized = ImageSize_Read(bytes, format, size, kind.problem);
        kind.width = size.width;
        kind.height = size.height;
        return kind;
    }
    if (n >= 10 && std::memcmp(p, "GIF8", 4) == 0) {
        kind.type = "gif";
        kind.sized = true;
        kind.width = Little16(p + 6);
        kind.height = Little16(p + 8);
    } else if (n >= 26 && p[0] == 'B' && p[1] == 'M') {
        kind.type = "bmp";
        kind.sized = true;
        kind.width = Little32(p + 18);
        const int height = static_cast<int>(Little32(p + 22));
        kind.height = static_cast<unsigned>(height < 0 ? -static_cast<long long>(height) : height);
    } else if (n >= 4 && (std::memcmp(p, "II*\0", 4) == 0 || std::memcmp(p, "MM\0*", 4) == 0)) {
        kind.type = "tiff";
    } else if (n >= 44 && Little32(p) == 1 && std::memcmp(p + 40, " EMF", 4) == 0) {
        kind.type = "emf";
    } else if (n >= 4 && (Little32(p) == 0x9AC6CDD7u || Little32(p) == 0x00090001u || Little32(p) == 0x00090002u)) {
        kind.type = "wmf";
    } else if (n >= 12 && std::memcmp(p, "RIFF", 4) == 0 && std::memcmp(p + 8, "WEBP", 4) == 0) {
        kind.type = "webp";
    } else if (bytes.substr(0, 1024).find("<svg") != std::string::npos) {
        kind.type = "svg";
    } else {
        const std::string ext = Extension(name);
        kind.type = ext.empty() ? "unknown" : ext;
    }
    return kind;
}

}  // namespace cli
