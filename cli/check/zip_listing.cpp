#include "check/zip_listing.h"

#include <zlib.h>

#include <algorithm>

namespace cli {

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50, kCentralSignature = 0x02014b50, kEndSignature = 0x06054b50,
                   kEnd64Signature = 0x06064b50, kEnd64LocatorSignature = 0x07064b50;
constexpr size_t kLocalHeaderSize = 30, kCentralHeaderSize = 46, kEndSize = 22, kEnd64LocatorSize = 20,
                 kEnd64Size = 56;

uint64_t Get(const std::string& b, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The ZIP64 extended information of a central directory header: only the
// fields whose 32-bit value is saturated are present, in this order.
void ApplyZip64Extra(const std::string& b, size_t extra, size_t length, ZipEntry& e, bool sizeSaturated,
                     bool compressedSaturated, bool offsetSaturated) {
    for (size_t at = extra; at + 4 <= extra + length;) {
        const uint64_t id = Get(b, at, 2), size = Get(b, at + 2, 2);
        size_t field = at + 4;
        const size_t end = std::min<size_t>(field + size, extra + length);
        if (id == 1) {
            if (sizeSaturated && field + 8 <= end) e.size = Get(b, field, 8), field += 8;
            if (compressedSaturated && field + 8 <= end) e.compressedSize = Get(b, field, 8), field += 8;
            if (offsetSaturated && field + 8 <= end) e.localOffset = Get(b, field, 8);
            return;
        }
        at += 4 + size;
    }
}

}  // namespace

ZipListing ZipListing_Read(const std::string& b) {
    ZipListing listing;
    if (b.size() < kEndSize) {
        listing.error = "too short to be a ZIP archive (" + std::to_string(b.size()) + " bytes)";
        return listing;
    }
    // The end record is the last signature that fits with its comment.
    size_t end = std::string::npos;
    const size_t lowest = b.size() > kEndSize + 0xFFFF ? b.size() - kEndSize - 0xFFFF : 0;
    for (size_t at = b.size() - kEndSize + 1; at-- > lowest;) {
        if (Get(b, at, 4) == kEndSignature && at + kEndSize + Get(b, at + 20, 2) <= b.size()) {
            end = at;
            break;
        }
    }
    if (end == std::string::npos) {
        listing.error = "not a ZIP archive (no end of central directory record); truncated or not a .docx?";
        return listing;
    }
    uint64_t count = Get(b, end + 10, 2), dirSize = Get(b, end + 12, 4), dirOffset = Get(b, end + 16, 4);
    if (count == 0xFFFF || dirSize == 0xFFFFFFFF || dirOffset == 0xFFFFFFFF) {
        if (end >= kEnd64LocatorSize && Get(b, end - kEnd64LocatorSize, 4) == kEnd64LocatorSignature) {
            const uint64_t at = Get(b, end - kEnd64LocatorSize + 8, 8);
            // Compared as a remainder: an offset near 2^64 would wrap a sum.
            if (at <= b.size() && b.size() - at >= kEnd64Size && Get(b, at, 4) == kEnd64Signature) {
                count = Get(b, at + 32, 8);
                dirSize = Get(b, at + 40, 8);
                dirOffset = Get(b, at + 48, 8);
            }
        }
    }
    if (dirOffset > b.size() || dirSize > b.size() - dirOffset) {
        listing.error = "the central directory lies outside the file; truncated?";
        return listing;
    }
    size_t at = dirOffset;
    for (uint64_t i = 0; i < count; ++i) {
        if (at + kCentralHeaderSize > b.size() || Get(b, at, 4) != kCentralSignature) {
            listing.error = "central directory entry " + std::to_string(i + 1) + " of " + std::to_string(count) +
                            " is damaged";
            return listing;
        }
        ZipEntry e;
        e.flags = static_cast<uint16_t>(Get(b, at + 8, 2));
        e.method = static_cast<uint16_t>(Get(b, at + 10, 2));
        e.crc = static_cast<uint32_t>(Get(b, at + 16, 4));
        e.compressedSize = Get(b, at + 20, 4);
        e.size = Get(b, at + 24, 4);
        const size_t nameLength = Get(b, at + 28, 2), extraLength = Get(b, at + 30, 2),
                     commentLength = Get(b, at + 32, 2);
        e.localOffset = Get(b, at + 42, 4);
        if (at + kCentralHeaderSize + nameLength + extraLength + commentLength > b.size()) {
            listing.error = "central directory entry " + std::to_string(i + 1) + " runs past the end of the file";
            return listing;
        }
        e.name = b.substr(at + kCentralHeaderSize, nameLength);
        ApplyZip64Extra(b, at + kCentralHeaderSize + nameLength, extraLength, e, e.size == 0xFFFFFFFF,
                        e.compressedSize == 0xFFFFFFFF, e.localOffset == 0xFFFFFFFF);
        listing.entries.push_back(std::move(e));
        at += kCentralHeaderSize + nameLength + extraLength + commentLength;
    }
    return listing;
}

std::string ZipEntry_Read(const std::string& b, const ZipEntry& e, std::string& out, uint64_t maxBytes) {
    out.clear();
    if (e.localOffset > b.size() || b.size() - e.localOffset < kLocalHeaderSize ||
        Get(b, e.localOffset, 4) != kLocalSignature)
        return "its local header is not where the central directory says";
    const size_t data = e.localOffset + kLocalHeaderSize + Get(b, e.localOffset + 26, 2) +
                        Get(b, e.localOffset + 28, 2);
    if (data > b.size() || e.compressedSize > b.size() - data) return "its data runs past the end of the file";
    const char* in = b.data() + data;
    if (e.method == 0) {
        out.assign(in, e.compressedSize);
    } else if (e.method == 8) {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return "the inflater could not start";
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
        z.avail_in = static_cast<uInt>(std::min<uint64_t>(e.compressedSize, 0x7FFFFFFF));
        // The declared size is a hint only: grow as the stream says.
        out.resize(std::min<uint64_t>(std::max<uint64_t>(e.size, 4096), std::min<uint64_t>(maxBytes, 64ull << 20)));
        int status = Z_OK;
        size_t produced = 0;
        while (status == Z_OK) {
            if (produced == out.size()) {
                if (out.size() >= maxBytes) {
                    inflateEnd(&z);
                    out.clear();
                    return "it inflates to more than " + std::to_string(maxBytes >> 20) + " MB";
                }
                out.resize(std::min<uint64_t>(out.size() * 2, maxBytes));
            }
            z.next_out = reinterpret_cast<Bytef*>(&out[produced]);
            z.avail_out = static_cast<uInt>(std::min<size_t>(out.size() - produced, 0x7FFFFFFF));
            status = inflate(&z, Z_NO_FLUSH);
            produced = reinterpret_cast<char*>(z.next_out) - out.data();
            if (status == Z_BUF_ERROR && z.avail_in == 0) break;
        }
        inflateEnd(&z);
        out.resize(produced);
        if (status != Z_STREAM_END) return "its deflate stream is damaged or cut short";
    } else {
        return "compression method " + std::to_string(e.method) + " cannot be read";
    }
    if (static_cast<uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(out.data()), out.size())) != e.crc)
        return "its CRC does not match its data";
    if (out.size() != e.size) return "its size is not the size the central directory declares";
    return "";
}

}  // namespace cli
