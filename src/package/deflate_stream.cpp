#include "package/deflate_stream.h"

#include <climits>

namespace Zip {

namespace {

// Runs deflate over what the stream holds, appending its output; `flush`
// Z_FINISH ends the stream.
bool Pump(DeflateStream& deflate, int flush) {
    unsigned char out[1 << 16];
    for (;;) {
        deflate.stream.next_out = out;
        deflate.stream.avail_out = sizeof out;
        const int result = ::deflate(&deflate.stream, flush);
        const size_t produced = sizeof out - deflate.stream.avail_out;
        deflate.deflated.append(reinterpret_cast<const char*>(out), produced);
        if (result == Z_STREAM_END) return true;
        if (result != Z_OK && result != Z_BUF_ERROR) return false;
        // Without Z_FINISH, deflate is done once it leaves room in the output.
        if (flush != Z_FINISH && deflate.stream.avail_out != 0) return true;
        if (result == Z_BUF_ERROR && produced == 0) return false;
    }
}

}  // namespace

DeflateStream::~DeflateStream() {
    if (ready) deflateEnd(&stream);
}

bool DeflateStream_Begin(DeflateStream& deflate, int level) {
    if (deflate.ready) return false;
    // Negative window bits: a raw stream, as archive entries hold it. The
    // most memory for the match state, as libzip gives its own compression.
    deflate.ready =
        deflateInit2(&deflate.stream, level, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL, Z_DEFAULT_STRATEGY) == Z_OK;
    deflate.failed = !deflate.ready;
    deflate.crc = static_cast<uint32_t>(crc32(0, nullptr, 0));
    return deflate.ready;
}

bool DeflateStream_Take(DeflateStream& deflate, const void* data, size_t size) {
    if (!deflate.ready || deflate.failed || deflate.ended) return false;
    const Bytef* at = static_cast<const Bytef*>(data);
    while (size > 0) {
        // zlib counts in uInt.
        const uInt piece = static_cast<uInt>(size < (1u << 30) ? size : (1u << 30));
        deflate.crc = static_cast<uint32_t>(crc32(deflate.crc, at, piece));
        deflate.stream.next_in = const_cast<Bytef*>(at);
        deflate.stream.avail_in = piece;
        if (!Pump(deflate, Z_NO_FLUSH) || deflate.stream.avail_in != 0) {
            deflate.failed = true;
            return false;
        }
        deflate.size += piece;
        at += piece;
        size -= piece;
    }
    return true;
}

bool DeflateStream_SetDictionary(DeflateStream& deflate, const void* dictionary, size_t size) {
    if (!deflate.ready || deflate.failed || deflate.ended || deflate.size) return false;
    // Only the last window's worth can be referred to.
    const size_t window = size_t(1) << MAX_WBITS;
    const Bytef* bytes = static_cast<const Bytef*>(dictionary);
    if (size > window) {
        bytes += size - window;
        size = window;
    }
    if (deflateSetDictionary(&deflate.stream, bytes, static_cast<uInt>(size)) != Z_OK) deflate.failed = true;
    return !deflate.failed;
}

namespace {

bool EndWith(DeflateStream& deflate, int flush) {
    if (!deflate.ready || deflate.failed || deflate.ended) return false;
    deflate.ended = true;
    deflate.stream.next_in = nullptr;
    deflate.stream.avail_in = 0;
    if (!Pump(deflate, flush)) deflate.failed = true;
    return !deflate.failed;
}

}  // namespace

bool DeflateStream_End(DeflateStream& deflate) { return EndWith(deflate, Z_FINISH); }

bool DeflateStream_EndForJoining(DeflateStream& deflate) { return EndWith(deflate, Z_SYNC_FLUSH); }

}  // namespace Zip
