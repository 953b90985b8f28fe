// Runs holding several drawings (one writer puts every drawing anchored in
// a paragraph into one run): each is reached by index, and removing the
// run or its paragraph lets go of the media of every one of them.
#include <string>

#include "drawing_snippets.h"
#include "picture_fixture.h"

using vexrt::Object;

namespace {

const char kImageType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

std::string ImageRelationship(const std::string& id, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kImageType + "\" Target=\"" + target + "\"/>";
}

class RunDrawingsTest : public PictureFixture {
protected:
    // A body whose first paragraph is one run: a text-box shape filled with
    // one picture, then an inline picture of another; a second paragraph
    // after it.
    Object OpenTogether(const std::string& file) {
        DocxParts parts;
        parts.body = "<w:p><w:r>" + docx_anchored_text_box(1, "Box text", "rIdFill") +
                     docx_inline_picture(2, "rIdLogo") + "</w:r></w:p><w:p><w:r><w:t>After</w:t></w:r></w:p>";
        parts.documentRelationships =
            ImageRelationship("rIdFill", "media/fill.png") + ImageRelationship("rIdLogo", "media/logo.png");
        parts.extraEntries = {{"word/media/fill.png", Png(4, 4, 0xFF0000)}, {"word/media/logo.png", Png(3, 3)}};
        write_docx(path(file), parts);
        return rt().callShared("Document", "Open", {folderItem(path(file))}).object();
    }

    // The media of both drawings left the package: no relationship, no entry.
    void ExpectBothReleased(const std::string& file) {
        const std::string rels = "word/_rels/document.xml.rels";
        for (const char* gone : {"media/fill.png", "media/logo.png"}) {
            EXPECT_EQ(CountRelationshipsTo(file, rels, gone), 0u) << gone;
            EXPECT_FALSE(HasEntry(file, std::string("word/") + gone)) << gone;
        }
        ExpectCheckerPasses(file, false);
    }
};

}  // namespace

// Every drawing of the run by index: w:drawing children as Drawing views,
// anchored shapes and groups as Shape and ShapeGroup views; the members of
// old give the first.
TEST_F(RunDrawingsTest, EachDrawingOfARunIsReached) {
    Object doc = OpenTogether("together.docx");
    ASSERT_TRUE(doc);
    Object run = Call(Call(doc, "Paragraph", {0}), "Run", {0});
    ASSERT_TRUE(run);
    EXPECT_EQ(Int(run, "DrawingCount"), 2);
    EXPECT_FALSE(Bool(rt().call(run, "DrawingAt", {0}).object(), "IsPicture"));
    Object picture = rt().call(run, "DrawingAt", {1}).object();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(Bool(picture, "IsPicture"));
    EXPECT_EQ(DataOf(picture), Png(3, 3));
    EXPECT_EQ(Int(run, "ShapeCount"), 1);
    Object shape = Call(run, "ShapeAt", {0});
    ASSERT_TRUE(shape);
    EXPECT_NEAR(rt().call(shape, "Width", {1}).number(), 1.0, 1e-9);
    EXPECT_EQ(Str(Call(Call(shape, "Container", {false}), "Paragraph", {0}), "Text"), "Box text");
    EXPECT_FALSE(Call(run, "ShapeGroupAt", {0}));
    for (const char* method : {"DrawingAt", "ShapeAt", "ShapeGroupAt"}) {
        SCOPED_TRACE(method);
        EXPECT_RAISED(Call(run, method, {method[0] == 'D' ? 2 : 1}), "OutOfBoundsException",
                      "Parameter index is out of bounds", 1);
        EXPECT_RAISED(Call(run, method, {-1}), "OutOfBoundsException", "Parameter index is out of bounds", 1);
    }

    // Shapes and groups the library anchors, one run each.
    Object paragraph = Call(doc, "Paragraph", {1});
    Object shapeRun = Call(paragraph, "AppendShapeRun", {0, 0.0, 0.0, 1.0, 1.0, 1});
    EXPECT_EQ(Int(shapeRun, "ShapeCount"), 1);
    EXPECT_EQ(Int(shapeRun, "DrawingCount"), 0);
    EXPECT_TRUE(Call(shapeRun, "ShapeAt", {0}));
    Object groupRun = Call(paragraph, "AppendShapeGroupRun", {0, 0.0, 0.0, 1.0, 1.0, 1});
    EXPECT_FALSE(Call(groupRun, "ShapeAt", {0}));
    Object group = Call(groupRun, "ShapeGroupAt", {0});
    ASSERT_TRUE(group);
    EXPECT_EQ(Int(group, "LastShapeIndex"), 0);
    Object text = Call(paragraph, "Run", {0});
    EXPECT_EQ(Int(text, "DrawingCount"), 0);
    EXPECT_EQ(Int(text, "ShapeCount"), 0);
    SaveCopy(doc, "together-more.docx");
    ExpectCheckerPasses(path("together-more.docx"), false);
}

// Removing the run, or the paragraph holding it, lets go of the media of
// both drawings, not only of the first.
TEST_F(RunDrawingsTest, RemovalReleasesEveryDrawing) {
    Object doc = OpenTogether("together-run.docx");
    ASSERT_TRUE(doc);
    Object paragraph = Call(doc, "Paragraph", {0});
    rt().call(paragraph, "RemoveParagraphItem", {Call(paragraph, "Run", {0})});
    SaveCopy(doc, "together-run-removed.docx");
    ExpectBothReleased(path("together-run-removed.docx"));

    Object other = OpenTogether("together-paragraph.docx");
    ASSERT_TRUE(other);
    rt().call(other, "RemoveItem", {Call(other, "Paragraph", {0})});
    SaveCopy(other, "together-paragraph-removed.docx");
    ExpectBothReleased(path("together-paragraph-removed.docx"));
}
