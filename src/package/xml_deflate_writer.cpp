#include "package/xml_deflate_writer.h"

#include <cstring>

#include "package/utf8_text.h"

namespace Word {

xml_deflate_writer::xml_deflate_writer(int level) {
    Zip::DeflateStream_Begin(deflate, level);
    block_.reserve(kBlockSize + 4096);
}

void xml_deflate_writer::write(const void* data, size_t size) {
    if (deflate.failed) return;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const size_t room = kBlockSize - block_.size();
        const size_t piece = size < room ? size : room;
        block_.append(bytes, piece);
        bytes += piece;
        size -= piece;
        // A sequence the next write may finish waits for it.
        if (block_.size() >= kBlockSize) compressBlock(block_.size() - Utf8_CompletePrefix(block_.data(), block_.size()));
    }
}

// Sanitizes and compresses the block but its last `keep` bytes, which
// become the start of the next.
void xml_deflate_writer::compressBlock(size_t keep) {
    char tail[4];
    std::memcpy(tail, block_.data() + block_.size() - keep, keep);
    block_.resize(block_.size() - keep);
    // Text that is not UTF-8 (from a file or a host string) would make the
    // part unreadable.
    Utf8_Sanitize(block_);
    Zip::DeflateStream_Take(deflate, block_.data(), block_.size());
    block_.assign(tail, keep);
    if (block_.capacity() < kBlockSize) block_.reserve(kBlockSize + 4096);
}

bool xml_deflate_writer::finish() {
    if (!deflate.failed) compressBlock(0);
    return Zip::DeflateStream_End(deflate);
}

}  // namespace Word
