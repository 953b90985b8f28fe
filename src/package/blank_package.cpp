#include "package/blank_package.h"

#include <cstdio>

bool WriteBlankPackage(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    bool ok = std::fwrite(BlankPackage, 1, BlankPackageSize, file) == BlankPackageSize;
    if (std::fclose(file) != 0) ok = false;
    if (!ok) std::remove(path);
    return ok;
}
