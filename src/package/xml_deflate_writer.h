// A pugixml writer that compresses a part as it is printed, so that a save
// never holds a part's printed text whole: the text is sanitized (invalid
// UTF-8 becomes U+FFFD, as Utf8_Sanitize does it) and deflated block by
// block.
#pragma once

#include <cstddef>
#include <string>

#include <pugixml.hpp>

#include "package/deflate_stream.h"

namespace Word {

class xml_deflate_writer : public pugi::xml_writer {
public:
    // Printed text is gathered up to this many bytes before it is sanitized
    // and compressed.
    static constexpr size_t kBlockSize = 1 << 16;

    explicit xml_deflate_writer(int level);
    void write(const void* data, size_t size) override;
    // Compresses what is left and ends the stream. False when compression
    // failed at any point.
    bool finish();

    Zip::DeflateStream deflate;

private:
    void compressBlock(size_t keep);
    std::string block_;
};

}  // namespace Word
