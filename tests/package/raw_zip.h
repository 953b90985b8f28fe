// ZIP archives read and written byte by byte, for tests that need archives
// no ZIP library writes: duplicate names, sizes that lie, ZIP64 records,
// deflate streams that expand a thousandfold, damaged header fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace raw_zip {

struct Entry {
    std::string name;
    uint16_t method = 0;       // 0 stored, 8 deflated
    uint32_t crc = 0;          // as declared
    uint64_t size = 0;         // uncompressed size, as declared
    std::string data;          // the bytes as they lie in the archive
    bool zip64 = false;        // sizes in ZIP64 extra fields (the header fields hold 0xFFFFFFFF)
};

// Where the records of a well-formed archive start.
struct Layout {
    std::vector<size_t> local;    // local file headers, in central directory order
    std::vector<size_t> central;  // central directory headers
    size_t end = 0;               // end of central directory record
};

// Offsets of fields within the records.
namespace field {
constexpr size_t kLocalFlags = 6, kLocalMethod = 8, kLocalTime = 10, kLocalDate = 12,
                 kLocalCrc = 14, kLocalCompressedSize = 18, kLocalSize = 22, kLocalNameLength = 26,
                 kLocalExtraLength = 28;
constexpr size_t kCentralFlags = 8, kCentralMethod = 10, kCentralTime = 12, kCentralDate = 14,
                 kCentralCrc = 16, kCentralCompressedSize = 20, kCentralSize = 24,
                 kCentralNameLength = 28, kCentralExtraLength = 30, kCentralCommentLength = 32,
                 kCentralDisk = 34, kCentralLocalOffset = 42;
constexpr size_t kEndDisk = 4, kEndDirectoryDisk = 6, kEndEntriesOnDisk = 8, kEndEntries = 10,
                 kEndDirectorySize = 12, kEndDirectoryOffset = 16, kEndCommentLength = 20;
}  // namespace field

// CRC-32 of bytes, or of bytes appended to bytes whose CRC-32 is `crc`.
uint32_t Crc32(const std::string& bytes, uint32_t crc = 0);
// CRC-32 of `count` copies of `byte` appended to bytes whose CRC-32 is `crc`;
// logarithmic in count.
uint32_t Crc32Run(uint32_t crc, unsigned char byte, uint64_t count);

// A stored entry with its true CRC and size.
Entry StoredEntry(const std::string& name, const std::string& bytes);

// The records of a well-formed archive (no ZIP64); throws std::runtime_error
// when it is not one.
Layout Locate(const std::string& archive);
// Its entries, as the central directory declares them.
std::vector<Entry> Read(const std::string& archive);
// An archive of the entries, in order, as declared (nothing is checked).
std::string Write(const std::vector<Entry>& entries);

// A raw deflate stream (fixed Huffman codes) of `prefix`, `count` copies of
// `fill`, then `suffix`: at most 18 bits for every 258 copies.
std::string DeflateRun(const std::string& prefix, char fill, uint64_t count, const std::string& suffix);

// Little-endian fields, read and overwritten in place.
uint32_t Get16(const std::string& bytes, size_t at);
uint32_t Get32(const std::string& bytes, size_t at);
void Put16(std::string& bytes, size_t at, uint32_t value);
void Put32(std::string& bytes, size_t at, uint32_t value);

}  // namespace raw_zip
