// The entries of a ZIP archive as a strict reader sees them: the central
// directory read field by field (so that duplicate names, encryption and
// methods are seen as they are, whatever a ZIP library would make of
// them), and each entry's bytes inflated and matched against its CRC.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct ZipEntry {
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0, size = 0;
    uint64_t localOffset = 0;
    bool encrypted() const { return flags & 1; }
    bool methodSupported() const { return method == 0 || method == 8; }
};

struct ZipListing {
    std::string error;  // why the archive cannot be read at all; empty when it can
    std::vector<ZipEntry> entries;
};

// Reads the central directory of the archive `bytes` (ZIP64 records too).
ZipListing ZipListing_Read(const std::string& bytes);

// The inflated bytes of an entry into `out`, its CRC checked. Empty when
// they are whole; otherwise why not. Entries that would inflate beyond
// `maxBytes` are refused rather than read.
std::string ZipEntry_Read(const std::string& archive, const ZipEntry& entry, std::string& out,
                          uint64_t maxBytes = 1ull << 30);

}  // namespace cli
