#include "format/colors.h"

#include <cstdlib>

namespace {

// One two-character pair as an unsigned hexadecimal number, the way strtoul
// reads it. False when the pair does not start (after white space and a
// sign) with a hexadecimal digit.
bool ParseHexPair(const char* pair, float& channel) {
    char buffer[3] = {pair[0], pair[1], '\0'};
    char* end = nullptr;
    unsigned long value = std::strtoul(buffer, &end, 16);
    if (end == buffer) return false;
    channel = static_cast<float>(value & 0xFFu);
    return true;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

RGBA HexColorToRGB(std::string_view text) {
    RGBA color;  // black, opaque
    if (text.size() < 6) return color;
    if (!ParseHexPair(text.data(), color.r)) return color;
    if (!ParseHexPair(text.data() + 2, color.g)) return color;
    ParseHexPair(text.data() + 4, color.b);
    return color;
}

uint32_t HexColorToRBColor(std::string_view text) {
    RGBA c = HexColorToRGB(text);
    uint32_t red = static_cast<uint32_t>(c.r) & 0xFFu;
    uint32_t green = static_cast<uint32_t>(c.g) & 0xFFu;
    uint32_t blue = static_cast<uint32_t>(c.b) & 0xFFu;
    return (red << 16) | (green << 8) | blue;
}

void ColorToHex(uint8_t red, uint8_t green, uint8_t blue, char* out) {
    const uint8_t channels[3] = {red, green, blue};
    for (int i = 0; i < 3; ++i) {
        out[2 * i] = kHexDigits[channels[i] >> 4];
        out[2 * i + 1] = kHexDigits[channels[i] & 0x0F];
    }
    out[6] = '\0';
}

std::string ColorToHex(uint32_t color) {
    char hex[7];
    ColorToHex(static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
               static_cast<uint8_t>(color), hex);
    return std::string(hex, 6);
}

void rgb2hsl(float r, float g, float b, float& h, float& s, float& l) {
    r /= 255.0f;
    g /= 255.0f;
    b /= 255.0f;
    float max = r > g ? r : g;
    if (b > max) max = b;
    float min = r < g ? r : g;
    if (b < min) min = b;
    l = (max + min) / 2.0f;
    if (max == min) {
        h = 0.0f;
        s = 0.0f;
        return;
    }
    float d = max - min;
    s = l > 0.5f ? d / (2.0f - max - min) : d / (max + min);
    if (max == r) {
        h = (g - b) / d + (g < b ? 6.0f : 0.0f);
    } else if (max == g) {
        h = (b - r) / d + 2.0f;
    } else {
        h = (r - g) / d + 4.0f;
    }
    h /= 6.0f;
}

float hue2rgb(float p, float q, float t) {
    if (t < 0.0f) t += 1.0f;
    if (t > 1.0f) t -= 1.0f;
    // The thresholds are compared in double precision, the arithmetic stays
    // single precision.
    if (t < 1.0 / 6.0) return p + (q - p) * 6.0f * t;
    if (t < 0.5f) return q;
    if (t < 2.0 / 3.0) return p + (2.0f / 3.0f - t) * (q - p) * 6.0f;
    return p;
}

void hsl2rgb(float h, float s, float l, float& r, float& g, float& b) {
    if (s == 0.0f) {
        r = g = b = l * 255.0f;
        return;
    }
    float q = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
    float p = 2.0f * l - q;
    r = hue2rgb(p, q, h + 1.0f / 3.0f) * 255.0f;
    g = hue2rgb(p, q, h) * 255.0f;
    b = hue2rgb(p, q, h - 1.0f / 3.0f) * 255.0f;
}
