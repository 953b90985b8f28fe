// Identifiers for drawings, bookmarks and numbering.
#pragma once

#include <cstdint>

// A number in [low, high] from the C generator, seeded with the time on the
// first call in the process.
int64_t Document_Random(int64_t low, int64_t high);
