#include "deflated_entry.h"

#include <algorithm>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include <zlib.h>

#include "package/deflate_stream.h"

namespace cli {

namespace {

// What deflate can refer back to: the window of the piece before.
const size_t kWindow = size_t(1) << MAX_WBITS;
const size_t kMinPiece = size_t(1) << 20;

struct Piece {
    const char* data = nullptr;
    size_t size = 0;
    const char* dictionary = nullptr;  // the bytes just before it
    size_t dictionarySize = 0;
    bool last = false;
    Zip::DeflateStream deflate;
    bool ok = false;
};

// A piece as raw deflate data. Every piece but the last ends on a byte
// boundary with no final block, so that the next piece's blocks follow it
// in one stream; each starts with the window of the one before as its
// dictionary, so the joins cost almost nothing in size.
void Deflate(Piece& piece, int level) {
    Zip::DeflateStream& deflate = piece.deflate;
    piece.ok = Zip::DeflateStream_Begin(deflate, level) &&
               (!piece.dictionarySize ||
                Zip::DeflateStream_SetDictionary(deflate, piece.dictionary, piece.dictionarySize)) &&
               Zip::DeflateStream_Take(deflate, piece.data, piece.size) &&
               (piece.last ? Zip::DeflateStream_End(deflate) : Zip::DeflateStream_EndForJoining(deflate));
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
        total += piece.deflate.deflated.size();
    }
    entry.compressed.reserve(total);
    uLong crc = 0;
    for (const Piece& piece : parts) {
        entry.compressed += piece.deflate.deflated;
        crc = crc32_combine(crc, piece.deflate.crc, static_cast<z_off_t>(piece.size));
    }
    entry.crc = static_cast<uint32_t>(crc);
    entry.size = bytes.size();
    return true;
}

}  // namespace cli
