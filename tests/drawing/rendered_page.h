// A page LibreOffice rendered, as pdftoppm writes it (binary PPM), and
// how near two colours must be to count as the same.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

struct Pixmap {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    uint32_t At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return (uint32_t(rgb[i]) << 16) | (uint32_t(rgb[i + 1]) << 8) | rgb[i + 2];
    }
};

inline bool ReadPpm(const std::string& file, Pixmap& map) {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> map.width >> map.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || map.width <= 0 || map.height <= 0) return false;
    map.rgb.resize(static_cast<size_t>(map.width) * map.height * 3);
    in.read(reinterpret_cast<char*>(map.rgb.data()), static_cast<std::streamsize>(map.rgb.size()));
    return static_cast<bool>(in);
}

inline bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d < -24 || d > 24) return false;
    }
    return true;
}

inline std::string Hex(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", color & 0xFFFFFF);
    return text;
}

// How many pixels of the page are near `color`.
inline long Pixmap_CountNear(const Pixmap& map, uint32_t color) {
    long count = 0;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x)
            if (Near(map.At(x, y), color)) ++count;
    return count;
}
