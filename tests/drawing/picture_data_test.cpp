// Picture data is read through to its end when a picture is added: PNG
// files cut short or spoilt anywhere after their image header, and JPEG
// files without their end, are refused; sound files of every shape the
// readers take are added.
#include <string>

#include <gtest/gtest.h>

#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

class PictureDataTest : public PictureFixture {
protected:
    // What adding `bytes` as a picture raises, through both members; "" when
    // both take it.
    std::string Refusal(const Object& doc, const std::string& bytes, int type) {
        Object p = Call(doc, "Paragraph", {0});
        const int64_t runs = Int(p, "RunCount"), paragraphs = Int(doc, "ParagraphCount");
        const vexrt::HostException e = Outcome([&] { AddPicture(p, bytes, type, "x", 4, 4); });
        const vexrt::HostException f = Outcome([&] { AddPictureParagraph(doc, bytes, type, "x", 4, 4); });
        EXPECT_EQ(e.message(), f.message());
        if (e.className().empty()) {
            EXPECT_EQ(Int(p, "RunCount"), runs + 1);
            EXPECT_EQ(Int(doc, "ParagraphCount"), paragraphs + 1);
            return "";
        }
        EXPECT_EQ(e.className(), "VexlomarWord.WordException");
        EXPECT_EQ(e.errorNumber(), -30);
        EXPECT_EQ(f.errorNumber(), -30);
        EXPECT_EQ(Int(p, "RunCount"), runs);
        EXPECT_EQ(Int(doc, "ParagraphCount"), paragraphs);
        return e.message();
    }
    template <class F>
    static vexrt::HostException Outcome(F&& f) {
        try {
            f();
        } catch (const vexrt::HostException& e) {
            return e;
        }
        return vexrt::HostException("", "", 0);
    }
};

// Offset of a PNG chunk's length field.
size_t ChunkAt(const std::string& png, const char* type) { return png.find(type) - 4; }

std::string Raw(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// A JPEG stream as a reader walks it, not a picture a decoder would draw:
// SOI, a frame header of 8 x 8, a scan whose data holds a stuffed 0xFF and
// a restart marker, a table between two scans, and EOI at `end`.
std::string WalkedJpeg(bool withEnd) {
    const std::string frame = Raw({0xFF, 0xC2, 0x00, 0x0B, 0x08, 0x00, 0x08, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00});
    const std::string scanHeader = Raw({0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
    const std::string data = Raw({0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56, 0xFF, 0xFF, 0xD1, 0x78});
    const std::string table = Raw({0xFF, 0xC4, 0x00, 0x04, 0x00, 0x00});
    return Raw({0xFF, 0xD8}) + Raw({0xFF, 0xE0, 0x00, 0x04, 0x4A, 0x46}) + frame + scanHeader + data + table +
           scanHeader + data + (withEnd ? Raw({0xFF, 0xD9}) : std::string());
}

}  // namespace

TEST_F(PictureDataTest, PngIsCheckedChunkByChunkToItsEnd) {
    Object doc = Create("png-data.new.docx");
    Call(doc, "AppendParagraph", {"Pictures:"});
    const std::string png = Png(40, 30);
    const size_t idat = ChunkAt(png, "IDAT"), iend = ChunkAt(png, "IEND");
    ASSERT_EQ(iend + 12, png.size());

    EXPECT_EQ(Refusal(doc, png.substr(0, 33), kPng), "PNG picture data is truncated before its end chunk");
    EXPECT_EQ(Refusal(doc, png.substr(0, idat + 8 + (iend - idat - 12) / 2), kPng),
              "PNG picture data is truncated in its IDAT chunk");
    EXPECT_EQ(Refusal(doc, png.substr(0, idat + 2), kPng), "PNG picture data is truncated in a chunk");
    std::string spoilt = png;
    spoilt[idat + 8 + 3] ^= 0x01;
    EXPECT_EQ(Refusal(doc, spoilt, kPng), "PNG picture data is corrupt: the checksum of its IDAT chunk is wrong");
    spoilt = png;
    spoilt[iend + 5] ^= 0x20;  // "IeND"
    EXPECT_EQ(Refusal(doc, spoilt, kPng), "PNG picture data is corrupt: the checksum of its IeND chunk is wrong");
    EXPECT_EQ(Refusal(doc, png.substr(0, iend), kPng), "PNG picture data is truncated before its end chunk");
    spoilt = png;
    spoilt[idat] = '\x80';
    EXPECT_EQ(Refusal(doc, spoilt, kPng), "PNG picture data is corrupt: a chunk length is out of range");
    spoilt = png;
    spoilt[idat + 4] = '1';
    EXPECT_EQ(Refusal(doc, spoilt, kPng), "PNG picture data is corrupt: a chunk type is not four letters");
    // Header and end, no image data between.
    EXPECT_EQ(Refusal(doc, png.substr(0, 33) + png.substr(iend), kPng),
              "PNG picture data is corrupt: it holds no image data");

    // Sound files are taken, whatever follows their end.
    EXPECT_EQ(Refusal(doc, png, kPng), "");
    EXPECT_EQ(Refusal(doc, Png(1, 1), kPng), "");
    EXPECT_EQ(Refusal(doc, Png(300, 200, 0x123456), kPng), "");
    EXPECT_EQ(Refusal(doc, png + "trailing", kPng), "");
    rt().call(doc, "Save");
    ExpectCheckerPasses(path("png-data.new.docx"), true);
}

TEST_F(PictureDataTest, JpegIsWalkedToItsEndOfImage) {
    Object doc = Create("jpeg-data.new.docx");
    Call(doc, "AppendParagraph", {"Pictures:"});
    const std::string jpeg = Jpeg(320, 240);
    ASSERT_EQ(jpeg.substr(jpeg.size() - 2), Raw({0xFF, 0xD9}));

    const std::string truncated = "JPEG picture data is truncated before its end-of-image marker";
    EXPECT_EQ(Refusal(doc, jpeg.substr(0, jpeg.size() / 3), kJpeg), truncated);
    EXPECT_EQ(Refusal(doc, jpeg.substr(0, jpeg.size() - 2), kJpeg), truncated);
    EXPECT_EQ(Refusal(doc, jpeg.substr(0, jpeg.size() - 1), kJpeg), truncated);
    EXPECT_EQ(Refusal(doc, WalkedJpeg(false), kJpeg), truncated);
    // Cut inside a segment after the frame header.
    const size_t scan = jpeg.find(Raw({0xFF, 0xDA}));
    ASSERT_NE(scan, std::string::npos);
    EXPECT_EQ(Refusal(doc, jpeg.substr(0, scan + 5), kJpeg), "JPEG picture data is truncated in a segment");
    // A frame header, then the end at once.
    const std::string walked = WalkedJpeg(true);
    const size_t walkedScan = walked.find(Raw({0xFF, 0xDA}));
    EXPECT_EQ(Refusal(doc, walked.substr(0, walkedScan) + Raw({0xFF, 0xD9}), kJpeg),
              "JPEG picture data is corrupt: it holds no image data");
    EXPECT_EQ(Refusal(doc, walked.substr(0, walkedScan) + "xy", kJpeg),
              "JPEG picture data is corrupt: a marker was expected");
    EXPECT_EQ(Refusal(doc, walked.substr(0, walkedScan) + Raw({0xFF, 0xD8}), kJpeg),
              "JPEG picture data is corrupt: a second start of image");

    // Sound files: the encoder's, and a stream with stuffing, restart
    // markers, fill bytes and two scans.
    EXPECT_EQ(Refusal(doc, jpeg, kJpeg), "");
    EXPECT_EQ(Refusal(doc, Jpeg(1, 1), kJpeg), "");
    EXPECT_EQ(Refusal(doc, Jpeg(640, 480), kJpeg), "");
    EXPECT_EQ(Refusal(doc, walked, kJpeg), "");
    rt().call(doc, "Save");
    ExpectCheckerPasses(path("jpeg-data.new.docx"), true);
}
