// Reading a picture's pixel size from its header: real files of both
// formats, and every way a header can be cut short or spoilt.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "drawing/image_size.h"
#include "image_files.h"

namespace {

example::RgbImage Stripes(uint32_t width, uint32_t height) {
    return example::RgbImage_Draw(width, height, [](uint32_t x, uint32_t) { return x % 2 ? 0xFF0000u : 0x0000FFu; });
}

bool Read(const std::string& bytes, ImageFormat format, ImageSize& size, std::string& error) {
    return ImageSize_Read(bytes, format, size, error);
}

}  // namespace

TEST(ImageSizeTest, ReadsTheSizeOfRealFiles) {
    ImageSize size;
    std::string error;
    const std::string png = example::Png_Encode(Stripes(96, 48));
    ASSERT_TRUE(Read(png, ImageFormat::Png, size, error)) << error;
    EXPECT_EQ(size.format, ImageFormat::Png);
    EXPECT_EQ(size.width, 96u);
    EXPECT_EQ(size.height, 48u);
    EXPECT_EQ(ImageFormat_Sniff(png), ImageFormat::Png);

    const std::string jpeg = example::Jpeg_Encode(Stripes(301, 7));
    ASSERT_TRUE(Read(jpeg, ImageFormat::Jpeg, size, error)) << error;
    EXPECT_EQ(size.format, ImageFormat::Jpeg);
    EXPECT_EQ(size.width, 301u);
    EXPECT_EQ(size.height, 7u);
    EXPECT_EQ(ImageFormat_Sniff(jpeg), ImageFormat::Jpeg);
    EXPECT_EQ(ImageFormat_Sniff("GIF89a"), ImageFormat::Unknown);

    // One format is never taken for the other.
    EXPECT_FALSE(Read(png, ImageFormat::Jpeg, size, error));
    EXPECT_EQ(error, "Picture data is not a JPEG image");
    EXPECT_FALSE(Read(jpeg, ImageFormat::Png, size, error));
    EXPECT_EQ(error, "Picture data is not a PNG image");
    EXPECT_FALSE(Read(png, ImageFormat::Unknown, size, error));
}

// Segments before the frame header (as cameras write them), fill bytes
// before a marker, and a progressive frame.
TEST(ImageSizeTest, FindsTheJpegFrameHeaderPastOtherSegments) {
    const std::string exif = std::string("\xFF\xE1\x00\x08" "Exif\x00\x00", 10);
    const std::string frame = std::string("\xFF\xFF\xC2\x00\x11\x08\x01\x2C\x02\x58\x03", 11) + std::string(9, '\x01');
    const std::string jpeg = std::string("\xFF\xD8", 2) + exif + frame + std::string("\xFF\xDA\x00\x02", 4);
    ImageSize size;
    std::string error;
    ASSERT_TRUE(ImageSize_Read(jpeg, ImageFormat::Jpeg, size, error)) << error;
    EXPECT_EQ(size.width, 600u);
    EXPECT_EQ(size.height, 300u);
}

// Every prefix shorter than the header fails, with a message and without
// reading past the end (the sanitizer runs watch that).
TEST(ImageSizeTest, TruncatedHeadersFail) {
    const std::string png = example::Png_Encode(Stripes(5, 3));
    const std::string jpeg = example::Jpeg_Encode(Stripes(5, 3));
    ImageSize size;
    std::string error;
    for (size_t n = 0; n < 33; ++n) {
        EXPECT_FALSE(ImageSize_Read(png.substr(0, n), ImageFormat::Png, size, error)) << n;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(ImageSize_Read(png.substr(0, 33), ImageFormat::Png, size, error));
    EXPECT_FALSE(ImageSize_Read(png.substr(0, 20), ImageFormat::Png, size, error));
    EXPECT_EQ(error, "PNG picture data is truncated in its image header");

    const size_t frame = jpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    for (size_t n = 0; n < frame + 11; ++n)
        EXPECT_FALSE(ImageSize_Read(jpeg.substr(0, n), ImageFormat::Jpeg, size, error)) << n;
    EXPECT_FALSE(ImageSize_Read(jpeg.substr(0, frame), ImageFormat::Jpeg, size, error));
    EXPECT_EQ(error, "JPEG picture data is truncated before its frame header");
}

TEST(ImageSizeTest, CorruptHeadersFail) {
    ImageSize size;
    std::string error;
    const std::string png = example::Png_Encode(Stripes(5, 3));
    std::string spoilt = png;
    spoilt[17] ^= 1;  // a bit of the width: the checksum no longer fits
    EXPECT_FALSE(ImageSize_Read(spoilt, ImageFormat::Png, size, error));
    EXPECT_EQ(error, "PNG picture data is corrupt: the image header's checksum is wrong");
    spoilt = png;
    spoilt[12] = 'X';  // not IHDR first
    EXPECT_FALSE(ImageSize_Read(spoilt, ImageFormat::Png, size, error));
    EXPECT_EQ(error, "PNG picture data is corrupt: it does not start with its image header");

    // A JPEG whose scan comes before any frame header, one whose segment
    // length is impossible, one with a zero width.
    const std::string soi("\xFF\xD8", 2);
    EXPECT_FALSE(ImageSize_Read(soi + std::string("\xFF\xDA\x00\x02", 4), ImageFormat::Jpeg, size, error));
    EXPECT_EQ(error, "JPEG picture data is corrupt: no frame header before its image data");
    EXPECT_FALSE(ImageSize_Read(soi + std::string("\xFF\xE0\x00\x01", 4), ImageFormat::Jpeg, size, error));
    EXPECT_EQ(error, "JPEG picture data is corrupt: a segment length is wrong");
    EXPECT_FALSE(ImageSize_Read(soi + std::string("\xFF\xC0\x00\x0B\x08\x00\x10\x00\x00\x01\x01\x11\x00", 13),
                                ImageFormat::Jpeg, size, error));
    EXPECT_EQ(error, "JPEG picture data is corrupt: its width or height is 0");
    EXPECT_FALSE(ImageSize_Read(soi + "junk", ImageFormat::Jpeg, size, error));
    EXPECT_EQ(error, "JPEG picture data is corrupt: a marker was expected");
}

// Spoilt bytes anywhere in the first part of a file, and cuts anywhere: the
// reader answers (either way) without reading outside the bytes, and a size
// it reports is never 0.
TEST(ImageSizeTest, SpoiltBytesNeverReadOutside) {
    const std::string files[] = {example::Png_Encode(Stripes(9, 4)), example::Jpeg_Encode(Stripes(9, 4))};
    const ImageFormat formats[] = {ImageFormat::Png, ImageFormat::Jpeg};
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    for (int f = 0; f < 2; ++f) {
        for (int i = 0; i < 3000; ++i) {
            std::string bytes = files[f];
            const size_t reach = std::min<size_t>(bytes.size(), 700);
            for (int k = 0, n = int(next() % 4) + 1; k < n; ++k) bytes[next() % reach] = char(next());
            bytes.resize(next() % (bytes.size() + 1));
            // A buffer of exactly that size, so that the sanitizers see a
            // read past its end.
            std::unique_ptr<char[]> exact(new char[bytes.size()]);
            std::memcpy(exact.get(), bytes.data(), bytes.size());
            ImageSize size;
            std::string error;
            if (ImageSize_Read(std::string_view(exact.get(), bytes.size()), formats[f], size, error)) {
                EXPECT_GT(size.width, 0u);
                EXPECT_GT(size.height, 0u);
            } else {
                EXPECT_FALSE(error.empty());
            }
        }
    }
}
