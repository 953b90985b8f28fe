// Raw DEFLATE of bytes that come in pieces, as an archive entry stores them:
// the compressed bytes, with the CRC-32 and the size of what went in, so
// that an entry can be compressed while it is made and handed to the
// archive whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <zlib.h>

namespace Zip {

struct DeflateStream {
    z_stream stream{};
    bool ready = false;   // the stream was set up
    bool failed = false;  // zlib refused: the bytes are unusable
    bool ended = false;   // DeflateStream_End ran
    uint32_t crc = 0;     // of the bytes taken
    uint64_t size = 0;    // bytes taken
    std::string deflated;

    DeflateStream() = default;
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
    ~DeflateStream();
};

// Sets the stream up at a DEFLATE level (0 to 9). False when zlib cannot.
bool DeflateStream_Begin(DeflateStream& deflate, int level);
// Compresses more bytes. False once the stream has failed.
bool DeflateStream_Take(DeflateStream& deflate, const void* data, size_t size);
// Before any bytes are taken: lets the stream refer back into
// `dictionary`, the bytes that come just before its own where it will be
// joined after another stream. False when zlib refuses.
bool DeflateStream_SetDictionary(DeflateStream& deflate, const void* dictionary, size_t size);
// Ends the stream: `deflated` then holds it whole. False when it failed.
bool DeflateStream_End(DeflateStream& deflate);
// Ends the stream on a byte boundary without a final block (a sync
// flush), so that another stream's blocks can follow it as one stream:
// `deflated` then holds it whole. False when it failed.
bool DeflateStream_EndForJoining(DeflateStream& deflate);

}  // namespace Zip
