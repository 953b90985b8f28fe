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
    // The most memory for the match state, as the archive gives its own.
    if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK) return;
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

}  // namespace cli
