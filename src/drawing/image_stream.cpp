#include "drawing/image_stream.h"

#include <cstdint>
#include <cstring>

#include <zlib.h>

namespace {

uint32_t BigEndian32(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
size_t BigEndian16(const unsigned char* p) { return size_t(p[0]) << 8 | size_t(p[1]); }

bool Fail(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// zlib's crc32 takes at most UINT_MAX bytes a call.
uint32_t Crc32(const unsigned char* data, size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    while (size > 0) {
        const uInt step = size > 0x40000000u ? 0x40000000u : static_cast<uInt>(size);
        crc = crc32(crc, data, step);
        data += step;
        size -= step;
    }
    return static_cast<uint32_t>(crc);
}

bool CheckPng(const unsigned char* p, size_t size, std::string& error) {
    size_t at = 8;  // the signature, read with the header
    bool imageData = false;
    for (;;) {
        if (at == size) return Fail(error, "PNG picture data is truncated before its end chunk");
        if (size - at < 8) return Fail(error, "PNG picture data is truncated in a chunk");
        const uint32_t length = BigEndian32(p + at);
        if (length > 0x7FFFFFFFu) return Fail(error, "PNG picture data is corrupt: a chunk length is out of range");
        const unsigned char* type = p + at + 4;
        if (!IsLetter(type[0]) || !IsLetter(type[1]) || !IsLetter(type[2]) || !IsLetter(type[3]))
            return Fail(error, "PNG picture data is corrupt: a chunk type is not four letters");
        const std::string name(reinterpret_cast<const char*>(type), 4);
        if (size - at - 8 < size_t(length) + 4)
            return Fail(error, "PNG picture data is truncated in its " + name + " chunk");
        if (Crc32(type, 4 + size_t(length)) != BigEndian32(type + 4 + length))
            return Fail(error, "PNG picture data is corrupt: the checksum of its " + name + " chunk is wrong");
        at += 12 + size_t(length);
        if (name == "IDAT") imageData = true;
        if (name == "IEND") break;
    }
    if (!imageData) return Fail(error, "PNG picture data is corrupt: it holds no image data");
    return true;
}

// Markers that stand alone, without a length: TEM and the restarts.
bool IsStandalone(unsigned marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

// From just after a scan's header, the offset of the 0xFF of the marker
// that ends its entropy-coded data (stuffed 0xFF00 and restart markers
// belong to the data); `size` when the data runs to the end.
size_t ScanEnd(const unsigned char* p, size_t at, size_t size) {
    for (;;) {
        const void* found = std::memchr(p + at, 0xFF, size - at);
        if (!found) return size;
        size_t ff = static_cast<size_t>(static_cast<const unsigned char*>(found) - p);
        // Fill bytes: a run of 0xFF before the marker.
        size_t next = ff + 1;
        while (next < size && p[next] == 0xFF) ++next;
        if (next == size) return size;
        const unsigned code = p[next];
        if (code == 0x00 || (code >= 0xD0 && code <= 0xD7)) {
            at = next + 1;
            continue;
        }
        return next - 1;
    }
}

bool CheckJpeg(const unsigned char* p, size_t size, std::string& error) {
    const char* truncated = "JPEG picture data is truncated before its end-of-image marker";
    size_t at = 2;  // after the start of image, read with the header
    bool imageData = false;
    for (;;) {
        if (at >= size) return Fail(error, truncated);
        if (p[at] != 0xFF) return Fail(error, "JPEG picture data is corrupt: a marker was expected");
        while (at < size && p[at] == 0xFF) ++at;  // fill bytes
        if (at >= size) return Fail(error, truncated);
        const unsigned marker = p[at++];
        if (IsStandalone(marker)) continue;
        if (marker == 0xD9) break;
        if (marker == 0xD8) return Fail(error, "JPEG picture data is corrupt: a second start of image");
        if (marker == 0x00) return Fail(error, "JPEG picture data is corrupt: a marker was expected");
        if (size - at < 2) return Fail(error, "JPEG picture data is truncated in a segment");
        const size_t length = BigEndian16(p + at);
        if (length < 2) return Fail(error, "JPEG picture data is corrupt: a segment length is wrong");
        if (size - at < length) return Fail(error, "JPEG picture data is truncated in a segment");
        at += length;
        if (marker == 0xDA) {
            imageData = true;
            at = ScanEnd(p, at, size);
        }
    }
    if (!imageData) return Fail(error, "JPEG picture data is corrupt: it holds no image data");
    return true;
}

}  // namespace

bool ImageStream_Check(std::string_view bytes, ImageFormat format, std::string& error) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    switch (format) {
        case ImageFormat::Png:
            if (bytes.size() < 8) break;
            return CheckPng(p, bytes.size(), error);
        case ImageFormat::Jpeg:
            if (bytes.size() < 2) break;
            return CheckJpeg(p, bytes.size(), error);
        case ImageFormat::Unknown: break;
    }
    return Fail(error, "Picture data is neither a PNG nor a JPEG image");
}
