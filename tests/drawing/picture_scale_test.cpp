// Adding many pictures stays linear: nothing is looked for again per call
// (relationships, media names, the pending list, drawing ids).
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

class PictureScaleTest : public PictureFixture {};

}  // namespace

// The last quarter of 10,000 pictures costs about what the first did; a
// rescan per call would make it several times dearer.
TEST_F(PictureScaleTest, TenThousandPicturesStayLinear) {
    Object doc = Create("many.new.docx");
    const Value bytes = Bytes(Png(4, 4));
    const int kQuarter = 2500;
    double quarters[4] = {};
    Object last;
    for (int q = 0; q < 4; ++q) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kQuarter; ++i)
            last = Call(doc, "AppendParagraph", {bytes, kPng, "dot", 4, 4});
        quarters[q] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ASSERT_TRUE(last);
    Object drawing = DrawingOf(last);
    EXPECT_EQ(Str(drawing, "PictureFileName"), "image10000.png");
    EXPECT_EQ(DataOf(drawing), Png(4, 4));
    EXPECT_LT(quarters[3], 3 * quarters[0] + 0.02)
        << "quarters: " << quarters[0] << " " << quarters[1] << " " << quarters[2] << " " << quarters[3];
}

// Removing 10,000 pictures one by one, the last added first: each removal
// looks only at what it removes (the part's relationship uses, the targets
// of all parts and the pending pictures are kept counted), so the first
// quarter, with the most left around it, costs what the last did.
TEST_F(PictureScaleTest, TenThousandRemovalsStayLinear) {
    Object doc = Create("removed-many.new.docx");
    const Value bytes = Bytes(Png(4, 4));
    const int kQuarter = 2500;
    const int64_t before = Int(doc, "ItemCount");
    std::vector<Object> paragraphs;
    for (int i = 0; i < 4 * kQuarter; ++i) paragraphs.push_back(Call(doc, "AppendParagraph", {bytes, kPng, "dot", 4, 4}));
    // The first removal counts what the later ones keep counted.
    paragraphs.push_back(Call(doc, "AppendParagraph", {bytes, kPng, "dot", 4, 4}));
    rt().call(doc, "RemoveItem", {paragraphs.back()});
    paragraphs.pop_back();
    double quarters[4] = {};
    for (int q = 0; q < 4; ++q) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kQuarter; ++i) {
            rt().call(doc, "RemoveItem", {paragraphs.back()});
            paragraphs.pop_back();
        }
        quarters[q] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    EXPECT_EQ(Int(doc, "ItemCount"), before);
    EXPECT_LT(quarters[0], 3 * quarters[3] + 0.05)
        << "quarters: " << quarters[0] << " " << quarters[1] << " " << quarters[2] << " " << quarters[3];
    SaveCopy(doc, "removed-many-saved.new.docx");
    EXPECT_EQ(CountRelationshipsTo(path("removed-many-saved.new.docx"), "word/_rels/document.xml.rels",
                                   "media/image1.png"), 0u);
    EXPECT_FALSE(HasEntry(path("removed-many-saved.new.docx"), "word/media/image1.png"));
}
