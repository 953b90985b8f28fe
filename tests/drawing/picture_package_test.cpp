// Pictures of packages written elsewhere: relationship targets given as
// absolute or "../" paths, one relationship shown by two pictures, media
// shared by two parts, SVG versions, drawing ids in use, and a picture
// whose entry is missing.
#include <string>

#include <gtest/gtest.h>

#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

class PicturePackageTest : public PictureFixture {};

const char kImageType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

// A paragraph with one inline picture, as word processors write it; the
// blip's extension list is `extensions`.
std::string PictureParagraph(int id, const std::string& relId, const std::string& extensions = "") {
    return "<w:p><w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
           "<wp:extent cx=\"95250\" cy=\"95250\"/><wp:docPr id=\"" + std::to_string(id) + "\" name=\"Picture " +
           std::to_string(id) + "\"/><a:graphic><a:graphicData "
           "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:nvPicPr>"
           "<pic:cNvPr id=\"0\" name=\"p\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" + relId +
           "\">" + (extensions.empty() ? "" : "<a:extLst>" + extensions + "</a:extLst>") + "</a:blip><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm>"
           "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"95250\" cy=\"95250\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/>"
           "</a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>";
}

std::string SvgExtension(const std::string& relId) {
    return "<a:ext uri=\"{96DAC541-7B7A-43D3-8B79-37D633B846F1}\"><asvg:svgBlip "
           "xmlns:asvg=\"http://schemas.microsoft.com/office/drawing/2016/SVG/main\" r:embed=\"" + relId +
           "\"/></a:ext>";
}
const char kLocalDpi[] =
    "<a:ext uri=\"{28A0092B-C50C-407E-A947-70E740481C1C}\"><a14:useLocalDpi "
    "xmlns:a14=\"http://schemas.microsoft.com/office/drawing/2010/main\" val=\"0\"/></a:ext>";

std::string Relationship(const std::string& id, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kImageType + "\" Target=\"" + target + "\"/>";
}

}  // namespace

TEST_F(PicturePackageTest, TargetsSharedMediaSvgAndIds) {
    const std::string abs = Png(3, 3, 0x101010), up = Png(4, 4, 0x202020), shared = Png(5, 5, 0x303030),
                      withSvg = Png(6, 6, 0x404040), only = Png(7, 7, 0x505050), head = Png(8, 8, 0x606060);
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"6\" height=\"6\"/>";
    DocxParts parts;
    parts.body = PictureParagraph(7, "rIdAbs") + PictureParagraph(12, "rIdUp") + PictureParagraph(3, "rIdShared") +
                 PictureParagraph(4, "rIdShared") +
                 PictureParagraph(5, "rIdPng", std::string(kLocalDpi) + SvgExtension("rIdSvg")) +
                 PictureParagraph(6, "rIdOnly", SvgExtension("rIdOnlySvg")) + PictureParagraph(8, "rIdMissing");
    parts.documentRelationships = Relationship("rIdAbs", "/word/media/abs.png") +
                                  Relationship("rIdUp", "../word/media/up.png") +
                                  Relationship("rIdShared", "media/shared.png") +
                                  Relationship("rIdPng", "media/withsvg.png") + Relationship("rIdSvg", "media/v.svg") +
                                  Relationship("rIdOnly", "media/only.png") +
                                  Relationship("rIdOnlySvg", "media/only.svg") +
                                  Relationship("rIdMissing", "media/missing.png");
    // The header shows image1.png and relates the body's shared picture too.
    parts.headers.push_back({"default", PictureParagraph(30, "rId1") + PictureParagraph(2, "rId2")});
    parts.extraEntries = {
        {"word/_rels/header1.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
             Relationship("rId1", "media/image1.png") + Relationship("rId2", "media/shared.png") +
             "</Relationships>"},
        {"word/media/abs.png", abs}, {"word/media/up.png", up}, {"word/media/shared.png", shared},
        {"word/media/withsvg.png", withSvg}, {"word/media/v.svg", svg}, {"word/media/only.png", only},
        {"word/media/only.svg", svg}, {"word/media/image1.png", head}};
    write_docx(path("others.in"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("others.in"))}).object();
    ASSERT_TRUE(doc);

    // Absolute and "../" targets are read like any other.
    Object p0 = Call(doc, "Paragraph", {0}), p1 = Call(doc, "Paragraph", {1});
    EXPECT_EQ(DataOf(DrawingOf(p0)), abs);
    EXPECT_EQ(Str(DrawingOf(p0), "PictureFileName"), "abs.png");
    EXPECT_EQ(Int(DrawingOf(p0), "PictureType"), kPng);
    EXPECT_EQ(DataOf(DrawingOf(p1)), up);
    // The SVG version sits in an extension after the first; one in the
    // first extension is not looked at (but goes with the picture).
    Object withSvgDrawing = DrawingOf(Call(doc, "Paragraph", {4}));
    EXPECT_TRUE(Bool(withSvgDrawing, "HasSVGRepresentation"));
    EXPECT_EQ(Str(withSvgDrawing, "SVGRepresentationFileName"), "v.svg");
    EXPECT_EQ(rt().get(withSvgDrawing, "SVGRepresentationData").text(), svg);
    EXPECT_EQ(DataOf(withSvgDrawing), withSvg);
    EXPECT_FALSE(Bool(DrawingOf(Call(doc, "Paragraph", {5})), "HasSVGRepresentation"));
    // A picture whose entry is missing raises when its bytes are read.
    Object missing = Call(doc, "Paragraph", {6});
    vexrt::HostException e = raised([&] { DataOf(DrawingOf(missing)); });
    EXPECT_EQ(e.className(), "VexlomarWord.WordException");
    EXPECT_LE(e.errorNumber(), -3);
    EXPECT_GE(e.errorNumber(), -7);
    EXPECT_NE(e.message().find("missing.png"), std::string::npos) << e.message();
    EXPECT_EQ(Str(DrawingOf(missing), "PictureFileName"), "missing.png");

    // A new picture: a name nothing uses (image1.png is the header's), an
    // id above every one in the document (the header's 30).
    Object added = AddPictureParagraph(doc, Png(9, 9), kPng, "new", 9, 9);
    ASSERT_TRUE(added);
    EXPECT_EQ(Str(DrawingOf(added), "PictureFileName"), "image2.png");
    Object second = AddPicture(added, Png(9, 9), kPng, "new", 9, 9);
    ASSERT_TRUE(second);

    // Removed: the absolute target's picture, one of the two showing the
    // shared relationship, both SVG pictures and the missing one.
    Object p2 = Call(doc, "Paragraph", {2}), p3 = Call(doc, "Paragraph", {3});
    Object p4 = Call(doc, "Paragraph", {4}), p5 = Call(doc, "Paragraph", {5});
    for (const Object& p : {p0, p2, p4, p5, missing}) rt().call(doc, "RemoveItem", {p});
    SaveCopy(doc, "others-1.docx");
    const std::string file1 = path("others-1.docx"), rels = "word/_rels/document.xml.rels";
    EXPECT_FALSE(HasEntry(file1, "word/media/abs.png"));
    EXPECT_EQ(CountRelationshipsTo(file1, rels, "/word/media/abs.png"), 0u);
    EXPECT_TRUE(Relates(file1, rels, "rIdShared", "media/shared.png"));  // p3 still shows it
    EXPECT_EQ(zip_read(file1, "word/media/shared.png"), shared);
    EXPECT_EQ(zip_read(file1, "word/media/up.png"), up);
    for (const char* gone : {"word/media/withsvg.png", "word/media/v.svg", "word/media/only.png",
                             "word/media/only.svg"})
        EXPECT_FALSE(HasEntry(file1, gone)) << gone;
    EXPECT_EQ(zip_read(file1, "word/media/image1.png"), head);
    EXPECT_TRUE(HasEntry(file1, "word/media/image2.png"));
    EXPECT_TRUE(HasEntry(file1, "word/media/image3.png"));
    pugi::xml_document xml = Parsed(file1, "word/document.xml");
    std::vector<int64_t> ids;
    for (pugi::xpath_node n : xml.select_nodes("//wp:docPr")) ids.push_back(n.node().attribute("id").as_llong());
    EXPECT_EQ(ids, (std::vector<int64_t>{12, 4, 31, 32}));
    ExpectCheckerPasses(file1, false);

    // The last body picture of the shared relationship: the relationship
    // goes, the media stays, since the header relates it too.
    rt().call(doc, "RemoveItem", {p3});
    SaveCopy(doc, "others-2.docx");
    const std::string file2 = path("others-2.docx");
    EXPECT_EQ(CountRelationshipsTo(file2, rels, "media/shared.png"), 0u);
    EXPECT_EQ(zip_read(file2, "word/media/shared.png"), shared);
    EXPECT_TRUE(Relates(file2, "word/_rels/header1.xml.rels", "rId2", "media/shared.png"));
    ExpectCheckerPasses(file2, false);
}

// Two pictures of one paragraph (or hyperlink) showing one relationship,
// removed together: neither keeps the relationship for the other.
TEST_F(PicturePackageTest, PicturesRemovedTogetherReleaseTheirSharedRelationship) {
    const std::string pair = Png(5, 5), linked = Png(6, 6);
    auto runsOf = [](const std::string& paragraph) {
        return paragraph.substr(std::string("<w:p>").size(),
                                paragraph.size() - std::string("<w:p></w:p>").size());
    };
    const std::string pairRun = runsOf(PictureParagraph(1, "rIdPair"));
    const std::string linkedRun = runsOf(PictureParagraph(3, "rIdLinked"));
    DocxParts parts;
    parts.body = "<w:p>" + pairRun + pairRun + "</w:p><w:p><w:hyperlink w:anchor=\"x\">" + linkedRun + linkedRun +
                 "</w:hyperlink></w:p><w:p><w:r><w:t>Text</w:t></w:r></w:p>";
    parts.documentRelationships = Relationship("rIdPair", "media/pair.png") +
                                  Relationship("rIdLinked", "media/linked.png");
    parts.extraEntries = {{"word/media/pair.png", pair}, {"word/media/linked.png", linked}};
    write_docx(path("together.in"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("together.in"))}).object();
    ASSERT_TRUE(doc);
    Object first = Call(doc, "Paragraph", {0}), second = Call(doc, "Paragraph", {1});
    rt().call(second, "RemoveParagraphItem", {Call(second, "ParagraphItem", {0})});
    rt().call(doc, "RemoveItem", {first});
    SaveCopy(doc, "together.docx");
    const std::string file = path("together.docx");
    EXPECT_EQ(CountRelationshipsTo(file, "word/_rels/document.xml.rels", "media/pair.png"), 0u);
    EXPECT_EQ(CountRelationshipsTo(file, "word/_rels/document.xml.rels", "media/linked.png"), 0u);
    EXPECT_FALSE(HasEntry(file, "word/media/pair.png"));
    EXPECT_FALSE(HasEntry(file, "word/media/linked.png"));
    ExpectCheckerPasses(file, false);
}

// A body without its section properties takes a paragraph with a picture
// at its end, as it takes one with text.
TEST_F(PicturePackageTest, BodyWithoutSectionPropertiesTakesAPictureParagraphAtItsEnd) {
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>Only</w:t></w:r></w:p>";
    parts.appendSectPr = false;
    write_docx(path("no-sectpr.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("no-sectpr.docx"))}).object();
    ASSERT_TRUE(doc);
    EXPECT_TRUE(AddPictureParagraph(doc, Png(4, 4), kPng, "x", 4, 4));
    EXPECT_EQ(Int(doc, "ItemCount"), 2);
    Object run = AddPicture(Call(doc, "Paragraph", {0}), Png(4, 4), kPng, "x", 4, 4);
    ASSERT_TRUE(run);
    EXPECT_EQ(Str(rt().get(run, "Drawing").object(), "PictureFileName"), "image2.png");
    rt().call(doc, "Save");
    const std::string body = zip_read(path("no-sectpr.docx"), "word/document.xml");
    EXPECT_LT(body.find("Only"), body.find("r:embed=\"rId"));
    ExpectCheckerPasses(path("no-sectpr.docx"), false);
}

// Drawing ids that already reach the top of what readers keep: a new one
// is the lowest id no drawing uses, still never one in use.
TEST_F(PicturePackageTest, DrawingIdsAtTheTopTakeTheLowestFreeOne) {
    DocxParts parts;
    parts.body = PictureParagraph(2147483647, "rIdTop") + PictureParagraph(1, "rIdTop") +
                 PictureParagraph(3, "rIdTop");
    parts.documentRelationships = Relationship("rIdTop", "media/top.png");
    parts.extraEntries = {{"word/media/top.png", Png(2, 2)}};
    write_docx(path("top-ids.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("top-ids.docx"))}).object();
    ASSERT_TRUE(doc);
    Object p = Call(doc, "AppendParagraph", {"New:"});
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(AddPicture(p, Png(2, 2), kPng, "new", 2, 2));
    SaveCopy(doc, "top-ids-saved.docx");
    pugi::xml_document xml = Parsed(path("top-ids-saved.docx"), "word/document.xml");
    std::vector<int64_t> ids;
    for (pugi::xpath_node n : xml.select_nodes("//wp:docPr")) ids.push_back(n.node().attribute("id").as_llong());
    EXPECT_EQ(ids, (std::vector<int64_t>{2147483647, 1, 3, 2, 4}));
}
