// Identifiers for drawings, bookmarks and numbering.
#pragma once

#include <cstdint>

// A number in [low, high] (low itself when high is not above it), from a
// generator seeded afresh for the call with the time and the system's
// random source. Leaves the C library's generator alone: it belongs to the
// host program.
int64_t Document_Random(int64_t low, int64_t high);
