#include "raw_zip.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace raw_zip {

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50, kCentralSignature = 0x02014b50,
                   kEndSignature = 0x06054b50;
constexpr size_t kLocalHeaderSize = 30, kCentralHeaderSize = 46, kEndSize = 22;
constexpr uint32_t kCrcPolynomial = 0xEDB88320;

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? kCrcPolynomial ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

// One step of the CRC register is affine over GF(2): r' = M r ^ c. A map is
// kept as the images of the 32 unit vectors plus the constant, so runs of
// one byte are composed by squaring.
struct AffineMap {
    std::array<uint32_t, 32> column{};
    uint32_t constant = 0;

    uint32_t operator()(uint32_t r) const {
        uint32_t out = constant;
        for (int bit = 0; r; ++bit, r >>= 1)
            if (r & 1) out ^= column[size_t(bit)];
        return out;
    }
    // This map after `first`.
    AffineMap after(const AffineMap& first) const {
        AffineMap composed;
        const uint32_t base = (*this)(0);
        for (size_t bit = 0; bit < 32; ++bit)
            composed.column[bit] = (*this)(first.column[bit]) ^ base;
        composed.constant = (*this)(first.constant);
        return composed;
    }
};

void Add16(std::string& out, uint32_t value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void Add32(std::string& out, uint32_t value) {
    Add16(out, value & 0xFFFF);
    Add16(out, value >> 16);
}

void Add64(std::string& out, uint64_t value) {
    Add32(out, uint32_t(value));
    Add32(out, uint32_t(value >> 32));
}

uint32_t Clamp32(uint64_t value, bool zip64) { return zip64 ? 0xFFFFFFFFu : uint32_t(value); }

// The fields a local header and a central directory header both hold, in
// the same order: from the version needed to extract to the extra field's
// length.
void AddSharedHeaderFields(std::string& out, const Entry& entry, uint32_t version, size_t extraLength) {
    const uint32_t kDosDate = (1 << 5) | 1;  // 1980-01-01, so equal entries give equal bytes
    Add16(out, version);
    Add16(out, 0);
    Add16(out, entry.method);
    Add16(out, 0);
    Add16(out, kDosDate);
    Add32(out, entry.crc);
    Add32(out, Clamp32(entry.data.size(), entry.zip64));
    Add32(out, Clamp32(entry.size, entry.zip64));
    Add16(out, uint32_t(entry.name.size()));
    Add16(out, uint32_t(extraLength));
}

// Appends bits least significant first, as deflate packs them.
struct BitWriter {
    std::string out;
    uint32_t pending = 0;
    int count = 0;

    void put(uint32_t bits, int length) {
        for (int i = 0; i < length; ++i) {
            pending |= ((bits >> i) & 1) << count;
            if (++count == 8) {
                out += char(pending);
                pending = 0;
                count = 0;
            }
        }
    }
    // Huffman codes go most significant bit first.
    void code(uint32_t bits, int length) {
        for (int i = length - 1; i >= 0; --i) put((bits >> i) & 1, 1);
    }
    std::string finish() {
        if (count) out += char(pending);
        return out;
    }
};

// A literal byte in the fixed literal/length code.
void Literal(BitWriter& writer, unsigned char byte) {
    if (byte < 144)
        writer.code(0x30 + byte, 8);
    else
        writer.code(0x190 + (byte - 144), 9);
}

// A match length (3 to 258) in the fixed literal/length code.
void Length(BitWriter& writer, unsigned length) {
    static const unsigned base[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    unsigned i = 28;
    while (base[i] > length) --i;
    const unsigned code = 257 + i;
    if (code < 280)
        writer.code(code - 256, 7);
    else
        writer.code(0xC0 + (code - 280), 8);
    writer.put(length - base[i], extra[i]);
}

}  // namespace

uint32_t Get16(const std::string& bytes, size_t at) {
    if (at + 2 > bytes.size()) throw std::runtime_error("field beyond the end of the archive");
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8;
}

uint32_t Get32(const std::string& bytes, size_t at) { return Get16(bytes, at) | Get16(bytes, at + 2) << 16; }

void Put16(std::string& bytes, size_t at, uint32_t value) {
    if (at + 2 > bytes.size()) throw std::runtime_error("field beyond the end of the archive");
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char((value >> 8) & 0xFF);
}

void Put32(std::string& bytes, size_t at, uint32_t value) {
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

uint32_t Crc32(const std::string& bytes, uint32_t crc) {
    const auto& table = CrcTable();
    uint32_t r = crc ^ 0xFFFFFFFF;
    for (char c : bytes) r = (r >> 8) ^ table[(r ^ uint8_t(c)) & 0xFF];
    return r ^ 0xFFFFFFFF;
}

uint32_t Crc32Run(uint32_t crc, unsigned char byte, uint64_t count) {
    const auto& table = CrcTable();
    auto step = [&](uint32_t r) { return (r >> 8) ^ table[(r ^ byte) & 0xFF]; };
    AffineMap power;  // one step
    power.constant = step(0);
    for (size_t bit = 0; bit < 32; ++bit) power.column[bit] = step(uint32_t(1) << bit) ^ power.constant;
    uint32_t r = crc ^ 0xFFFFFFFF;
    for (; count; count >>= 1, power = power.after(power))
        if (count & 1) r = power(r);
    return r ^ 0xFFFFFFFF;
}

Entry StoredEntry(const std::string& name, const std::string& bytes) {
    Entry entry;
    entry.name = name;
    entry.crc = Crc32(bytes);
    entry.size = bytes.size();
    entry.data = bytes;
    return entry;
}

Layout Locate(const std::string& archive) {
    Layout layout;
    if (archive.size() < kEndSize) throw std::runtime_error("too short for a ZIP archive");
    size_t end = archive.size() - kEndSize;
    while (Get32(archive, end) != kEndSignature) {
        if (end == 0) throw std::runtime_error("no end of central directory record");
        --end;
    }
    layout.end = end;
    const uint32_t entries = Get16(archive, end + field::kEndEntries);
    size_t at = Get32(archive, end + field::kEndDirectoryOffset);
    for (uint32_t i = 0; i < entries; ++i) {
        if (Get32(archive, at) != kCentralSignature) throw std::runtime_error("bad central directory");
        layout.central.push_back(at);
        const size_t local = Get32(archive, at + field::kCentralLocalOffset);
        if (Get32(archive, local) != kLocalSignature) throw std::runtime_error("bad local header offset");
        layout.local.push_back(local);
        at += kCentralHeaderSize + Get16(archive, at + field::kCentralNameLength) +
              Get16(archive, at + field::kCentralExtraLength) +
              Get16(archive, at + field::kCentralCommentLength);
    }
    return layout;
}

std::vector<Entry> Read(const std::string& archive) {
    const Layout layout = Locate(archive);
    std::vector<Entry> entries;
    for (size_t i = 0; i < layout.central.size(); ++i) {
        const size_t c = layout.central[i], l = layout.local[i];
        Entry entry;
        entry.name = archive.substr(c + kCentralHeaderSize, Get16(archive, c + field::kCentralNameLength));
        entry.method = uint16_t(Get16(archive, c + field::kCentralMethod));
        entry.crc = Get32(archive, c + field::kCentralCrc);
        entry.size = Get32(archive, c + field::kCentralSize);
        const size_t data = l + kLocalHeaderSize + Get16(archive, l + field::kLocalNameLength) +
                            Get16(archive, l + field::kLocalExtraLength);
        const size_t length = Get32(archive, c + field::kCentralCompressedSize);
        if (data + length > archive.size()) throw std::runtime_error("entry data beyond the end");
        entry.data = archive.substr(data, length);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string Write(const std::vector<Entry>& entries) {
    std::string out, directory;
    for (const Entry& entry : entries) {
        const size_t offset = out.size();
        const uint32_t version = entry.zip64 ? 45 : 20;
        std::string localExtra, centralExtra;
        if (entry.zip64) {
            // Both sizes in both headers: the order is uncompressed, compressed.
            for (std::string* extra : {&localExtra, &centralExtra}) {
                Add16(*extra, 1);
                Add16(*extra, 16);
                Add64(*extra, entry.size);
                Add64(*extra, entry.data.size());
            }
        }
        Add32(out, kLocalSignature);
        AddSharedHeaderFields(out, entry, version, localExtra.size());
        out += entry.name + localExtra + entry.data;

        Add32(directory, kCentralSignature);
        Add16(directory, version);
        AddSharedHeaderFields(directory, entry, version, centralExtra.size());
        Add16(directory, 0);
        Add16(directory, 0);
        Add16(directory, 0);
        Add32(directory, 0);
        Add32(directory, uint32_t(offset));
        directory += entry.name + centralExtra;
    }
    const size_t directoryOffset = out.size();
    out += directory;
    Add32(out, kEndSignature);
    Add16(out, 0);
    Add16(out, 0);
    Add16(out, uint32_t(entries.size()));
    Add16(out, uint32_t(entries.size()));
    Add32(out, uint32_t(directory.size()));
    Add32(out, uint32_t(directoryOffset));
    Add16(out, 0);
    return out;
}

std::string DeflateRun(const std::string& prefix, char fill, uint64_t count, const std::string& suffix) {
    BitWriter writer;
    writer.put(1, 1);  // last block
    writer.put(1, 2);  // fixed Huffman codes
    for (char c : prefix) Literal(writer, uint8_t(c));
    if (count) {
        Literal(writer, uint8_t(fill));
        --count;
    }
    // Copies of the last byte: lengths at distance 1 (distance code 0).
    for (; count >= 3; count -= std::min<uint64_t>(count, 258)) {
        Length(writer, unsigned(std::min<uint64_t>(count, 258)));
        writer.code(0, 5);
    }
    for (; count; --count) Literal(writer, uint8_t(fill));
    for (char c : suffix) Literal(writer, uint8_t(c));
    writer.code(0, 7);  // end of block
    return writer.finish();
}

}  // namespace raw_zip
