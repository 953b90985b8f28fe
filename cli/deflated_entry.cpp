#include "deflated_entry.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include <zlib.h>

namespace cli {

namespace {

// What deflate can refer back to: the window of the piece before.
const size_t kWindow = 32768;
const size_t kMinPiece = size_t(1) << 20;

struct Piece {
    const char* data = nullptr;
    size_t size = 0;
    const char* dictionary = nullptr;  // the bytes just before it
    size_t dictionarySize = 0;
    bool last = false;
    std::string out;
    uLong crc = 0;
    bool ok = false;
};

// A piece as raw deflate data. Every piece but the last ends on a byte
// boundary with no final block (a sync flush), so that the next piece's
// blocks follow it in one stream; each starts with the window of the one
// before as its dictionary, so the joins cost almost nothing in size.
void Deflate(Piece& piece, int level) {
    piece.crc = crc32_z(0, reinterpret_cast<const Bytef*>(piece.data), piece.size);
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
    bool ok = true;
    if (piece.dictionarySize)
        ok = deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(piece.dictionary),
                                  static_cast<uInt>(piece.dictionarySize)) == Z_OK;
    piece.out.resize(deflateBound(&z, piece.size) + 16);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data));
    size_t left = piece.size;
    while (ok) {
        // zlib counts in 32 bits: large pieces go in a gigabyte at a time.
        const size_t chunk = std::min<size_t>(left, size_t(1) << 30);
        z.avail_in = static_cast<uInt>(chunk);
        left -= chunk;
        const int flush = left ? Z_NO_FLUSH : piece.last ? Z_FINISH : Z_SYNC_FLUSH;
        for (;;) {
            if (z.total_out == piece.out.size()) piece.out.resize(piece.out.size() * 2);
            z.next_out = reinterpret_cast<Bytef*>(&piece.out[z.total_out]);
            z.avail_out = static_cast<uInt>(std::min<size_t>(piece.out.size() - z.total_out, size_t(1) << 30));
            const int result = deflate(&z, flush);
            if (result == Z_STREAM_END) break;
            if (result != Z_OK && result != Z_BUF_ERROR) {
                ok = false;
                break;
            }
            // The chunk is taken (and, when flushing, all its output given)
            // once deflate returns with room to spare.
            if (z.avail_in == 0 && z.avail_out != 0 && flush != Z_FINISH) break;
        }
        if (!left) break;
    }
    piece.out.resize(z.total_out);
    deflateEnd(&z);
    piece.ok = ok;
}

struct SourceState {
    const DeflatedEntry* entry;
    size_t at = 0;
    zip_error_t error;
};

zip_int64_t Serve(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    SourceState* source = static_cast<SourceState*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        source->at = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const std::string& bytes = source->entry->compressed;
        const size_t n = std::min<size_t>(static_cast<size_t>(length), bytes.size() - source->at);
        if (n) std::memcpy(data, bytes.data() + source->at, n);
        source->at += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        zip_stat_t* stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &source->error);
        if (!stat) return -1;
        zip_stat_init(stat);
        // Compressed data with its size and checksum: stored as it is.
        stat->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC;
        stat->size = source->entry->size;
        stat->comp_size = source->entry->compressed.size();
        stat->comp_method = ZIP_CM_DEFLATE;
        stat->crc = source->entry->crc;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&source->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&source->error);
        delete source;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&source->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

}  // namespace

unsigned DeflatedEntry_Pieces(size_t size) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::max<size_t>(1, std::min<size_t>(cores, size / kMinPiece)));
}

bool DeflatedEntry_Make(const std::string& bytes, int level, unsigned pieces, DeflatedEntry& entry) {
    pieces = std::max(1u, pieces);
    if (bytes.size() < pieces) pieces = 1;
    std::vector<Piece> parts(pieces);
    const size_t each = bytes.size() / pieces;
    for (unsigned i = 0; i < pieces; ++i) {
        Piece& piece = parts[i];
        const size_t from = i * each;
        piece.data = bytes.data() + from;
        piece.size = i + 1 == pieces ? bytes.size() - from : each;
        piece.dictionarySize = std::min(from, kWindow);
        piece.dictionary = piece.data - piece.dictionarySize;
        piece.last = i + 1 == pieces;
    }
    std::vector<std::thread> threads;
    try {
        for (unsigned i = 1; i < pieces; ++i) threads.emplace_back(Deflate, std::ref(parts[i]), level);
    } catch (const std::system_error&) {
        // No thread to be had: the rest is deflated here.
        for (size_t i = threads.size() + 1; i < pieces; ++i) Deflate(parts[i], level);
    }
    Deflate(parts[0], level);
    for (std::thread& thread : threads) thread.join();

    entry = DeflatedEntry();
    size_t total = 0;
    for (const Piece& piece : parts) {
        if (!piece.ok) return false;
        total += piece.out.size();
    }
    entry.compressed.reserve(total);
    uLong crc = 0;
    for (const Piece& piece : parts) {
        entry.compressed += piece.out;
        crc = crc32_combine(crc, piece.crc, static_cast<z_off_t>(piece.size));
    }
    entry.crc = static_cast<uint32_t>(crc);
    entry.size = bytes.size();
    return true;
}

zip_source_t* DeflatedEntry_Source(zip_t* zip, const DeflatedEntry& entry) {
    SourceState* state = new SourceState{&entry, 0, {}};
    zip_error_init(&state->error);
    zip_source_t* source = zip_source_function(zip, Serve, state);
    if (!source) {
        zip_error_fini(&state->error);
        delete state;
    }
    return source;
}

}  // namespace cli
