// The blank package new documents start from (built from src/package/blank).
#pragma once

#include <cstddef>

extern const unsigned char BlankPackage[];
extern const size_t BlankPackageSize;

// Writes the blank package to a new file at path. False when the file cannot
// be created or written; a partly written file is removed.
bool WriteBlankPackage(const char* path);
