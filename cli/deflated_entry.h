// A package entry deflated before it is given to the archive (through
// Zip::DeflatedSource_Make), which then only copies it. A large entry is
// deflated in pieces on several threads and the pieces joined into one
// stream, so that writing a filled document does not wait on one core
// compressing its main part.
#pragma once

#include <cstdint>
#include <string>

namespace cli {

struct DeflatedEntry {
    std::string compressed;  // one raw deflate stream
    uint32_t crc = 0;        // of the bytes it holds
    uint64_t size = 0;       // of the bytes it holds
};

// `bytes` deflated at `level` (as a package entry is stored), in up to
// `pieces` pieces compressed side by side; false when the compressor fails.
bool DeflatedEntry_Make(const std::string& bytes, int level, unsigned pieces, DeflatedEntry& entry);

// The pieces worth using for `size` bytes on this machine: one a core, each
// of at least a megabyte.
unsigned DeflatedEntry_Pieces(size_t size);

}  // namespace cli
