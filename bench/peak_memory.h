// Peak resident memory since the last reset, above what was resident at
// the reset, in bytes (Linux: /proc/self/clear_refs "5" resets the peak).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <malloc.h>

class PeakMemory {
public:
    void Reset() {
        // Freed memory the allocator keeps would hide what a run needs anew.
        malloc_trim(0);
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        base_ = Status("VmRSS:");
    }
    double AboveResetMB() const { return (Status("VmHWM:") - base_) / 1048576.0; }

private:
    static double Status(const char* key) {
        std::ifstream in("/proc/self/status");
        std::string line;
        while (std::getline(in, line))
            if (line.compare(0, std::strlen(key), key) == 0) return std::atof(line.c_str() + std::strlen(key)) * 1024.0;
        return 0;
    }
    double base_ = 0;
};
