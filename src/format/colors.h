// Colours between the document's hexadecimal form (RRGGBB, as in "w:color",
// "w:fill" and DrawingML "val"), the host's Color value and HSL.
//
// A host Color is 0xTTRRGGBB: the top byte is the host's transparency,
// ignored when read and left 0 when made here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The working colour: four channels on a 0-255 scale (alpha 255 is opaque).
struct RGBA {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 255.0f;
};

// RRGGBB -> channels, alpha 255. Shorter than six bytes: black. Each pair is
// read as an unsigned hexadecimal number (leading white space and a sign
// accepted, low 8 bits kept); the first pair without a leading digit ends
// the reading, it and the pairs after it are 0. So "auto" is black and
// "FF00GG" is red. Bytes after the sixth are ignored.
RGBA HexColorToRGB(std::string_view text);
// RRGGBB -> host Color (top byte 0), by HexColorToRGB.
uint32_t HexColorToRBColor(std::string_view text);

// Writes six upper-case hexadecimal digits and a terminating zero byte into
// `out` (at least 7 bytes).
void ColorToHex(uint8_t red, uint8_t green, uint8_t blue, char* out);
// Host Color -> "RRGGBB" (the top byte ignored).
std::string ColorToHex(uint32_t color);

// r, g, b on 0-255 -> h, s, l on 0-1 (h a fraction of a full turn). Single
// precision throughout; on ties the hue is taken from red, then green.
void rgb2hsl(float r, float g, float b, float& h, float& s, float& l);
// h, s, l on 0-1 -> r, g, b on 0-255, single precision.
void hsl2rgb(float h, float s, float l, float& r, float& g, float& b);
// One channel of hsl2rgb, 0-1.
float hue2rgb(float p, float q, float t);
