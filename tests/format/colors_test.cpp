// Hexadecimal colours, host Color values and HSL.
#include <cstring>

#include <gtest/gtest.h>

#include "format/colors.h"

TEST(Colors, HexToHostColor) {
    EXPECT_EQ(HexColorToRBColor("FF8000"), 0x00FF8000u);
    EXPECT_EQ(HexColorToRBColor("ff8000"), 0x00FF8000u);
    EXPECT_EQ(HexColorToRBColor("F0E0D0xyz"), 0x00F0E0D0u);  // bytes after six ignored
    for (const char* black : {"F80", "auto", "", "FFFFF"}) EXPECT_EQ(HexColorToRBColor(black), 0u) << black;
}

TEST(Colors, MalformedHexGivesPartialResults) {
    struct Case { const char* text; float r, g, b; };
    const Case cases[] = {
        {"FF00GG", 255, 0, 0},
        {"GG00FF", 0, 0, 0},       // the first failing pair ends the reading
        {"1x2233", 1, 0x22, 0x33},  // a pair stops at its first non-digit only
        {" 1\tA-1", 1, 10, 255},    // white space and a sign accepted, low 8 bits kept
        {"++0000", 0, 0, 0},
    };
    for (const Case& c : cases) {
        RGBA color = HexColorToRGB(c.text);
        EXPECT_EQ(color.r, c.r) << c.text;
        EXPECT_EQ(color.g, c.g) << c.text;
        EXPECT_EQ(color.b, c.b) << c.text;
        EXPECT_EQ(color.a, 255.0f) << c.text;
    }
}

TEST(Colors, HexFromHostColor) {
    char out[8];
    std::memset(out, '#', sizeof out);
    ColorToHex(255, 128, 0, out);
    EXPECT_STREQ(out, "FF8000");
    EXPECT_EQ(out[7], '#');  // nothing past the terminator
    EXPECT_EQ(ColorToHex(0x7FABCDEFu), "ABCDEF");  // transparency ignored, upper case
    EXPECT_EQ(ColorToHex(0x00000110u), "000110");
    for (uint32_t c : {0x00123456u, 0xFF00FF00u, 0x00FFFFFFu})
        EXPECT_EQ(HexColorToRBColor(ColorToHex(c)), c & 0x00FFFFFFu);
}

TEST(Colors, Hsl) {
    float h, s, l, r, g, b;
    rgb2hsl(255, 0, 0, h, s, l);
    EXPECT_FLOAT_EQ(h, 0.0f);
    EXPECT_FLOAT_EQ(s, 1.0f);
    EXPECT_FLOAT_EQ(l, 0.5f);
    rgb2hsl(128, 128, 128, h, s, l);
    EXPECT_EQ(h + s, 0.0f);
    EXPECT_NEAR(l, 0.50196f, 1e-5f);
    rgb2hsl(255, 0, 255, h, s, l);  // below red the hue wraps to the top
    EXPECT_FLOAT_EQ(h, 5.0f / 6.0f);

    hsl2rgb(0.0f, 1.0f, 0.5f, r, g, b);
    EXPECT_FLOAT_EQ(r, 255.0f);
    EXPECT_FLOAT_EQ(g, 0.0f);
    EXPECT_TRUE(b >= 0.0f && b < 0.001f) << b;
    hsl2rgb(0.3f, 0.0f, 0.25f, r, g, b);
    EXPECT_TRUE(r == 63.75f && g == r && b == r);
}

TEST(Colors, HslRoundTrips) {
    const float colors[][3] = {{0, 0, 0}, {255, 255, 255}, {12, 200, 90}, {10, 20, 30},
                               {200, 230, 250}, {255, 128, 0}, {128, 0, 128}, {1, 254, 127}};
    for (const auto& c : colors) {
        float h, s, l, rgb[3];
        rgb2hsl(c[0], c[1], c[2], h, s, l);
        hsl2rgb(h, s, l, rgb[0], rgb[1], rgb[2]);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(rgb[i], c[i], 0.01f) << c[0] << "," << c[1] << "," << c[2];
    }
}
