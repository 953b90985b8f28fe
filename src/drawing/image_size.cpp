#include "drawing/image_size.h"

#include <array>
#include <cstring>

namespace {

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t BigEndian32(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint32_t BigEndian16(const unsigned char* p) { return uint32_t(p[0]) << 8 | uint32_t(p[1]); }

// The chunk checksum of PNG (the CRC-32 of zlib and ZIP).
uint32_t Crc32(const unsigned char* data, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

bool Fail(std::string& error, const char* message) {
    error = message;
    return false;
}

// Sizes above this do not fit the signed 32-bit numbers PNG allows, and no
// word processor shows them.
constexpr uint32_t kLargestSide = 0x7FFFFFFF;

bool ReadPng(const unsigned char* p, size_t size, ImageSize& out, std::string& error) {
    if (std::memcmp(p, kPngSignature, size < 8 ? size : 8) != 0) return Fail(error, "Picture data is not a PNG image");
    // Signature, chunk length and type, 13 bytes of header, checksum.
    if (size < 8 + 8 + 13 + 4) return Fail(error, "PNG picture data is truncated in its image header");
    if (BigEndian32(p + 8) != 13 || std::memcmp(p + 12, "IHDR", 4) != 0)
        return Fail(error, "PNG picture data is corrupt: it does not start with its image header");
    if (Crc32(p + 12, 4 + 13) != BigEndian32(p + 12 + 4 + 13))
        return Fail(error, "PNG picture data is corrupt: the image header's checksum is wrong");
    const uint32_t width = BigEndian32(p + 16), height = BigEndian32(p + 20);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide)
        return Fail(error, "PNG picture data is corrupt: its width or height is out of range");
    const unsigned depth = p[24], colour = p[25];
    const bool depthFits = (colour == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
                           (colour == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8)) ||
                           ((colour == 2 || colour == 4 || colour == 6) && (depth == 8 || depth == 16));
    if (!depthFits) return Fail(error, "PNG picture data is corrupt: unknown colour type or bit depth");
    out = {ImageFormat::Png, width, height};
    return true;
}

// Start-of-frame markers: C0 to CF less DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameMarker(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool ReadJpeg(const unsigned char* p, size_t size, ImageSize& out, std::string& error) {
    if (size < 2 || p[0] != 0xFF || p[1] != 0xD8) return Fail(error, "Picture data is not a JPEG image");
    size_t at = 2;
    for (;;) {
        if (at >= size) return Fail(error, "JPEG picture data is truncated before its frame header");
        if (p[at] != 0xFF) return Fail(error, "JPEG picture data is corrupt: a marker was expected");
        while (at < size && p[at] == 0xFF) ++at;  // fill bytes
        if (at >= size) return Fail(error, "JPEG picture data is truncated before its frame header");
        const unsigned marker = p[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length follows
        if (marker == 0xD9 || marker == 0xDA || marker == 0xD8)
            return Fail(error, "JPEG picture data is corrupt: no frame header before its image data");
        if (at + 2 > size) return Fail(error, "JPEG picture data is truncated before its frame header");
        const size_t length = BigEndian16(p + at);
        if (length < 2) return Fail(error, "JPEG picture data is corrupt: a segment length is wrong");
        if (at + length > size) return Fail(error, "JPEG picture data is truncated before its frame header");
        if (IsFrameMarker(marker)) {
            // Precision, height, width, component count.
            if (length < 8) return Fail(error, "JPEG picture data is corrupt: its frame header is too short");
            const uint32_t height = BigEndian16(p + at + 3), width = BigEndian16(p + at + 5);
            if (width == 0 || height == 0)
                return Fail(error, "JPEG picture data is corrupt: its width or height is 0");
            out = {ImageFormat::Jpeg, width, height};
            return true;
        }
        at += length;
    }
}

}  // namespace

ImageFormat ImageFormat_Sniff(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() >= 8 && std::memcmp(p, kPngSignature, 8) == 0) return ImageFormat::Png;
    if (bytes.size() >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return ImageFormat::Jpeg;
    return ImageFormat::Unknown;
}

bool ImageSize_Read(std::string_view bytes, ImageFormat format, ImageSize& out, std::string& error) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    switch (format) {
        case ImageFormat::Png: return ReadPng(p, bytes.size(), out, error);
        case ImageFormat::Jpeg: return ReadJpeg(p, bytes.size(), out, error);
        case ImageFormat::Unknown: break;
    }
    return Fail(error, "Picture data is neither a PNG nor a JPEG image");
}
