// Inline pictures through the host: added to paragraphs and containers,
// read back, written at the next save, and removed with their parts.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

class PictureTest : public PictureFixture {};

const char kWordException[] = "VexlomarWord.WordException";

// The drawings of a saved main document or header, in document order.
std::vector<pugi::xml_node> Drawings(const pugi::xml_document& xml) {
    std::vector<pugi::xml_node> drawings;
    for (pugi::xpath_node n : xml.select_nodes("//w:drawing")) drawings.push_back(n.node());
    return drawings;
}

}  // namespace

// What a new picture writes on the blank package: relationship, media name,
// content type, extent in EMU, ids and names, and the bytes, read back
// before and after the save.
TEST_F(PictureTest, NewPicturesOnTheBlankPackage) {
    const std::string logo = Png(96, 48), photo = Jpeg(64, 32), dot = Png(10, 10, 0xC02020);
    Object doc = Create("pictures.new.docx");
    Object p = Call(doc, "AppendParagraph", {"Pictures:"});

    Object first = AddPicture(p, logo, kPng, "logo.png", 96, 48);
    ASSERT_TRUE(first);
    EXPECT_TRUE(Bool(first, "IsDrawing"));
    Object drawing = rt().get(first, "Drawing").object();
    ASSERT_TRUE(drawing);
    EXPECT_EQ(rt().className(drawing), "VexlomarWord.Drawing");
    EXPECT_TRUE(Bool(drawing, "IsPicture"));
    EXPECT_EQ(Int(drawing, "PictureType"), kPng);
    EXPECT_EQ(Str(drawing, "PictureFileName"), "image1.png");
    EXPECT_EQ(DataOf(drawing), logo);  // from the pending list
    EXPECT_EQ(rt().get(drawing, "PictureData").string().encoding(), kREALTextEncodingNone);
    EXPECT_FALSE(Bool(drawing, "HasSVGRepresentation"));
    EXPECT_TRUE(rt().get(drawing, "SVGRepresentationData").isNil());
    EXPECT_TRUE(rt().get(drawing, "AltTextDescription").isNil());
    rt().set(drawing, "AltTextDescription", "Company logo");
    EXPECT_EQ(Str(drawing, "AltTextDescription"), "Company logo");

    // jpeg gets its own extension; a nil file name names the drawing
    // "Graphic"; 1 x 1 pixel is 9525 EMU.
    Object second = AddPicture(p, photo, kJpeg, nullptr, 1, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(Int(rt().get(second, "Drawing").object(), "PictureType"), kJpeg);
    EXPECT_EQ(Str(rt().get(second, "Drawing").object(), "PictureFileName"), "image2.jpeg");
    // A type the enumeration lacks is taken as png.
    Object third = AddPicture(p, dot, 3, "dot", 10, 10);
    ASSERT_TRUE(third);
    EXPECT_EQ(Str(rt().get(third, "Drawing").object(), "PictureFileName"), "image3.png");
    // UNKNOWN and empty bytes add nothing; NONE adds the value as text.
    EXPECT_FALSE(AddPicture(p, logo, kUnknown, "x", 5, 5));
    EXPECT_FALSE(AddPicture(p, "", kPng, "x", 5, 5));
    Object text = AddPicture(p, " and text", kNone, "x", 5, 5);
    ASSERT_TRUE(text);
    EXPECT_FALSE(Bool(text, "IsDrawing"));
    EXPECT_TRUE(rt().get(text, "Drawing").isNil());
    EXPECT_EQ(Str(p, "Text"), "Pictures: and text");
    EXPECT_EQ(Int(p, "RunCount"), 5);

    rt().call(doc, "Save");
    const std::string file = path("pictures.new.docx");
    const std::string rels = "word/_rels/document.xml.rels";
    EXPECT_TRUE(Relates(file, rels, "rId6", "media/image1.png"));
    EXPECT_TRUE(Relates(file, rels, "rId7", "media/image2.jpeg"));
    EXPECT_TRUE(Relates(file, rels, "rId8", "media/image3.png"));
    EXPECT_EQ(zip_read(file, "word/media/image1.png"), logo);
    EXPECT_EQ(zip_read(file, "word/media/image2.jpeg"), photo);
    EXPECT_EQ(zip_read(file, "word/media/image3.png"), dot);
    pugi::xml_document types = Parsed(file, "[Content_Types].xml");
    EXPECT_EQ(types.select_nodes("//Default[@Extension='png'][@ContentType='image/png']").size(), 1u);
    EXPECT_EQ(types.select_nodes("//Default[@Extension='jpeg'][@ContentType='image/jpeg']").size(), 1u);

    pugi::xml_document xml = Parsed(file, "word/document.xml");
    const std::vector<pugi::xml_node> drawings = Drawings(xml);
    ASSERT_EQ(drawings.size(), 3u);
    pugi::xml_node inline_ = drawings[0].child("wp:inline");
    EXPECT_STREQ(inline_.child("wp:extent").attribute("cx").value(), "914400");
    EXPECT_STREQ(inline_.child("wp:extent").attribute("cy").value(), "457200");
    pugi::xml_node pic = inline_.child("a:graphic").child("a:graphicData").child("pic:pic");
    EXPECT_STREQ(pic.child("pic:spPr").child("a:xfrm").child("a:ext").attribute("cx").value(), "914400");
    EXPECT_STREQ(pic.child("pic:spPr").child("a:xfrm").child("a:ext").attribute("cy").value(), "457200");
    EXPECT_STREQ(pic.child("pic:blipFill").child("a:blip").attribute("r:embed").value(), "rId6");
    EXPECT_STREQ(inline_.child("wp:docPr").attribute("name").value(), "logo.png");
    EXPECT_STREQ(inline_.child("wp:docPr").attribute("descr").value(), "Company logo");
    EXPECT_STREQ(pic.child("pic:nvPicPr").child("pic:cNvPr").attribute("descr").value(), "Company logo");
    EXPECT_STREQ(drawings[1].child("wp:inline").child("wp:extent").attribute("cx").value(), "9525");
    EXPECT_STREQ(drawings[1].child("wp:inline").child("wp:docPr").attribute("name").value(), "Graphic");
    // Drawing ids: unique, from 1 up, the same on the drawing and the picture.
    for (size_t i = 0; i < drawings.size(); ++i) {
        pugi::xml_node in = drawings[i].child("wp:inline");
        EXPECT_EQ(in.child("wp:docPr").attribute("id").as_llong(), int64_t(i + 1));
        EXPECT_EQ(in.select_node(".//pic:cNvPr").node().attribute("id").as_llong(), int64_t(i + 1));
    }

    // After the save the bytes come from the package.
    EXPECT_EQ(DataOf(drawing), logo);
    // Removing the text leaves the picture alone; the alternative text
    // goes with nil.
    rt().set(drawing, "AltTextDescription", Value());
    EXPECT_TRUE(rt().get(drawing, "AltTextDescription").isNil());
    ExpectCheckerPasses(file, true);
}

// A width or height that cannot be and pictures whose header cannot be
// read raise, and change nothing: no run, paragraph, relationship, media
// name or pending picture is used up.
TEST_F(PictureTest, ImpossibleSizesAndDamagedPicturesAddNothing) {
    const std::string logo = Png(20, 10);
    Object doc = Create("checks.new.docx");
    Object p = Call(doc, "AppendParagraph", {"Checked:"});
    const int64_t paragraphs = Int(doc, "ParagraphCount");
    const std::string sizeMessage = "Picture width and height must be from 1 to 225457 pixels";
    EXPECT_RAISED(AddPicture(p, logo, kPng, "a", 0, 10), kWordException, sizeMessage, -31);
    EXPECT_RAISED(AddPicture(p, logo, kPng, "a", 10, -5), kWordException, sizeMessage, -31);
    EXPECT_RAISED(AddPicture(p, logo, kPng, "a", 225458, 10), kWordException, sizeMessage, -31);
    EXPECT_RAISED(AddPicture(p, logo, kPng, "a", int64_t(1) << 40, 10), kWordException, sizeMessage, -31);
    EXPECT_RAISED(AddPicture(p, logo.substr(0, 20), kPng, "a", 10, 10), kWordException,
                  "PNG picture data is truncated in its image header", -30);
    EXPECT_RAISED(AddPicture(p, Jpeg(8, 8), kPng, "a", 10, 10), kWordException, "Picture data is not a PNG image",
                  -30);
    EXPECT_RAISED(AddPicture(p, logo, kJpeg, "a", 10, 10), kWordException, "Picture data is not a JPEG image", -30);
    EXPECT_RAISED(AddPicture(p, "not a picture", 3, "a", 10, 10), kWordException,
                  "Picture data is not a PNG image", -30);
    EXPECT_EQ(Int(p, "RunCount"), 1);
    EXPECT_RAISED(AddPictureParagraph(doc, logo, kPng, "a", 10, 0), kWordException, sizeMessage, -31);
    Object header = Call(doc, "Header", {0, true});
    EXPECT_RAISED(AddPictureParagraph(header, "\x89PNG", kPng, "a", 10, 10), kWordException,
                  "PNG picture data is truncated in its image header", -30);
    EXPECT_EQ(Int(doc, "ParagraphCount"), paragraphs);
    EXPECT_EQ(Int(header, "ParagraphCount"), 0);
    Call(header, "AppendParagraph", {"Head"});

    // The largest side still fits.
    Object big = AddPicture(p, logo, kPng, "big", 225457, 1);
    ASSERT_TRUE(big);
    EXPECT_EQ(Str(rt().get(big, "Drawing").object(), "PictureFileName"), "image1.png");
    rt().call(doc, "Save");
    const std::string file = path("checks.new.docx");
    EXPECT_TRUE(Relates(file, "word/_rels/document.xml.rels", "rId7", "media/image1.png"));
    EXPECT_FALSE(HasEntry(file, "word/media/image2.png"));
    pugi::xml_document xml = Parsed(file, "word/document.xml");
    EXPECT_STREQ(xml.select_node("//wp:extent").node().attribute("cx").value(), "2147477925");
}

// Pictures added and removed before a save never reach the file; a picture
// removed after it leaves the file at the next save; SaveAs keeps what is
// pending for the document's own file.
TEST_F(PictureTest, PendingAndSavedPicturesAreRemovedWithTheirParts) {
    const std::string kept = Png(12, 12), dropped = Png(13, 13), later = Jpeg(14, 14);
    Object doc = Create("removals.new.docx");
    Object p = Call(doc, "AppendParagraph", {"Two pictures:"});
    Object keptRun = AddPicture(p, kept, kPng, "kept", 12, 12);
    Object droppedRun = AddPicture(p, dropped, kPng, "dropped", 13, 13);
    ASSERT_TRUE(keptRun && droppedRun);
    rt().call(p, "RemoveParagraphItem", {droppedRun});
    Object q = AddPictureParagraph(doc, later, kJpeg, "later", 14, 14);
    ASSERT_TRUE(q);
    EXPECT_EQ(Int(q, "RunCount"), 1);

    SaveCopy(doc, "copy.new.docx");
    rt().call(doc, "Save");
    for (const char* name : {"copy.new.docx", "removals.new.docx"}) {
        SCOPED_TRACE(name);
        const std::string file = path(name);
        EXPECT_EQ(zip_read(file, "word/media/image1.png"), kept);
        EXPECT_FALSE(HasEntry(file, "word/media/image2.png"));
        EXPECT_EQ(zip_read(file, "word/media/image3.jpeg"), later);
        EXPECT_EQ(CountRelationshipsTo(file, "word/_rels/document.xml.rels", "media/image2.png"), 0u);
        ExpectCheckerPasses(file, true);
    }

    // Once saved, removing the paragraph marks its picture for deletion.
    rt().call(doc, "RemoveItem", {q});
    rt().call(doc, "Save");
    const std::string file = path("removals.new.docx");
    EXPECT_FALSE(HasEntry(file, "word/media/image3.jpeg"));
    EXPECT_EQ(CountRelationshipsTo(file, "word/_rels/document.xml.rels", "media/image3.jpeg"), 0u);
    EXPECT_EQ(zip_read(file, "word/media/image1.png"), kept);
    // A new picture never takes a name used before, removed or not.
    Object again = AddPicture(p, dropped, kPng, "again", 13, 13);
    EXPECT_EQ(Str(rt().get(again, "Drawing").object(), "PictureFileName"), "image4.png");
    rt().call(doc, "Save");
    EXPECT_EQ(zip_read(file, "word/media/image4.png"), dropped);
    ExpectCheckerPasses(file, true);
}

// A picture in a header is related from the header's own relationships;
// deleting it touches only those. Media names are unique over all parts.
TEST_F(PictureTest, HeaderPicturesUseTheHeadersRelationships) {
    const std::string logo = Png(40, 20), photo = Jpeg(30, 20);
    Object doc = Create("header.new.docx");
    Object header = Call(doc, "Header", {0, true});
    Object hp = AddPictureParagraph(header, logo, kPng, "logo.png", 40, 20);
    ASSERT_TRUE(hp);
    Object bp = AddPictureParagraph(doc, photo, kJpeg, "photo.jpeg", 30, 20);
    ASSERT_TRUE(bp);
    EXPECT_EQ(Str(DrawingOf(hp), "PictureFileName"), "image1.png");
    EXPECT_EQ(Str(DrawingOf(bp), "PictureFileName"), "image2.jpeg");
    EXPECT_EQ(DataOf(DrawingOf(hp)), logo);
    rt().call(doc, "Save");

    const std::string file = path("header.new.docx");
    const std::string headerRels = "word/_rels/header1.xml.rels", mainRels = "word/_rels/document.xml.rels";
    EXPECT_TRUE(Relates(file, headerRels, "rId1", "media/image1.png"));
    EXPECT_EQ(CountRelationshipsTo(file, mainRels, "media/image1.png"), 0u);
    EXPECT_EQ(CountRelationshipsTo(file, mainRels, "media/image2.jpeg"), 1u);
    EXPECT_EQ(zip_read(file, "word/media/image1.png"), logo);
    // The header declares the prefixes the drawing uses.
    pugi::xml_document headerXml = Parsed(file, "word/header1.xml");
    EXPECT_TRUE(headerXml.document_element().attribute("xmlns:wp"));
    EXPECT_TRUE(headerXml.document_element().attribute("xmlns:r"));
    ExpectCheckerPasses(file, true);

    // Opened again: read through the header's relationships, then removed.
    Object reopened = rt().callShared("Document", "Open", {folderItem(file)}).object();
    Object h = Call(reopened, "Header", {0, false});
    ASSERT_TRUE(h);
    Object picture = Call(h, "Paragraph", {0});
    EXPECT_EQ(DataOf(DrawingOf(picture)), logo);
    const std::string mainBefore = zip_read(file, mainRels);
    // A new body picture does not take the header's name.
    Object more = AddPictureParagraph(reopened, logo, kPng, "again.png", 40, 20);
    EXPECT_EQ(Str(DrawingOf(more), "PictureFileName"), "image3.png");
    rt().call(reopened, "RemoveItem", {more});
    rt().call(h, "RemoveItem", {picture});
    Call(h, "AppendParagraph", {"No logo"});
    rt().call(reopened, "Save");
    EXPECT_EQ(zip_read(file, mainRels), mainBefore);
    EXPECT_EQ(CountRelationshipsTo(file, headerRels, "media/image1.png"), 0u);
    EXPECT_FALSE(HasEntry(file, "word/media/image1.png"));
    EXPECT_FALSE(HasEntry(file, "word/media/image3.png"));
    EXPECT_EQ(zip_read(file, "word/media/image2.jpeg"), photo);
    ExpectCheckerPasses(file, true);
}
