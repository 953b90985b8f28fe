// Removals that leave nothing broken and nothing orphaned: containers that
// must end with a paragraph, tables that must stay apart, and the pictures
// and links a removed element takes with it (and those it must leave).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

enum { kRoundedRectangle = 1, kCentimetres = 2 };

class RemovalTest : public PictureFixture {
protected:
    // A shape anchored in a new body paragraph, and its text box.
    Object TextBox(const Object& doc) {
        Object anchor = Call(doc, "AppendParagraph", {"Anchor"});
        Object shape = Call(anchor, "AppendShape", {kRoundedRectangle, 0.0, 0.0, 6.0, 4.0, kCentimetres});
        return shape ? Call(shape, "Container", {true}) : Object();
    }
    std::string ClassOf(const Object& o) { return rt().className(o); }
    // The element names of the blocks of `container` in a saved part.
    static std::vector<std::string> Blocks(pugi::xml_node container) {
        std::vector<std::string> names;
        for (pugi::xml_node n : container.children())
            if (std::string(n.name()) == "w:p" || std::string(n.name()) == "w:tbl") names.push_back(n.name());
        return names;
    }
};

const std::vector<std::string> kTableThenParagraph{"w:tbl", "w:p"};

}  // namespace

// A text box, like a cell, a header and a footer, ends with a paragraph
// whatever is removed from it: its last paragraph after a table, or
// everything it holds.
TEST_F(RemovalTest, ContainersOtherThanTheBodyEndWithAParagraph) {
    Object doc = Create("end-with-paragraph.new.docx");
    ASSERT_TRUE(doc);
    Object box = TextBox(doc);
    ASSERT_TRUE(box);
    Object first = Call(box, "AppendParagraph", {"First"});
    ASSERT_TRUE(Call(box, "AppendTable", {2, 1}));
    ASSERT_EQ(Int(box, "ItemCount"), 3);  // the table got a paragraph after it
    rt().call(box, "RemoveItem", {Call(box, "Item", {2})});
    rt().call(box, "RemoveItem", {first});
    ASSERT_EQ(Int(box, "ItemCount"), 2);
    EXPECT_EQ(ClassOf(Call(box, "Item", {1})), "VexlomarWord.Paragraph");
    // Emptied: one empty paragraph is left.
    Object emptied = TextBox(doc);
    rt().call(emptied, "RemoveItem", {Call(emptied, "Item", {0})});
    EXPECT_EQ(Int(emptied, "ItemCount"), 1);
    EXPECT_EQ(Str(Call(emptied, "Paragraph", {0}), "Text"), "");

    // A header under the same rule.
    Object header = Call(doc, "Header", {0, true});
    ASSERT_TRUE(header);
    Call(header, "AppendParagraph", {"Head"});
    ASSERT_TRUE(Call(header, "AppendTable", {1, 1}));
    rt().call(header, "RemoveItem", {Call(header, "Item", {Int(header, "ItemCount") - 1})});
    EXPECT_EQ(ClassOf(Call(header, "Item", {Int(header, "ItemCount") - 1})), "VexlomarWord.Paragraph");

    SaveCopy(doc, "end-with-paragraph-saved.new.docx");
    const std::string file = path("end-with-paragraph-saved.new.docx");
    pugi::xml_document xml = Parsed(file, "word/document.xml");
    std::vector<std::vector<std::string>> boxes;
    for (pugi::xpath_node n : xml.select_nodes("//w:txbxContent")) boxes.push_back(Blocks(n.node()));
    EXPECT_EQ(boxes, (std::vector<std::vector<std::string>>{kTableThenParagraph, {"w:p"}}));
    ExpectCheckerPasses(file, true);
}

// The paragraph between two tables removed: an empty paragraph stays
// between them, or readers would join the two into one, in every kind of
// container.
TEST_F(RemovalTest, TablesStayApartWhenTheParagraphBetweenGoes) {
    Object doc = Create("tables-apart.new.docx");
    ASSERT_TRUE(doc);
    Object outer = Call(doc, "AppendTable", {1, 1});
    ASSERT_TRUE(outer);
    Call(doc, "AppendParagraph", {"After the outer table"});
    std::vector<std::pair<std::string, Object>> containers{
        {"body", doc},
        {"cell", Call(outer, "Cell", {0, 0})},
        {"header", Call(doc, "Header", {0, true})},
        {"footer", Call(doc, "Footer", {0, true})},
        {"text box", TextBox(doc)},
    };
    for (auto& [name, container] : containers) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(container);
        // A paragraph first: a text box's first table would take the place
        // of its empty paragraph.
        Call(container, "AppendParagraph", {"Before the tables"});
        const int64_t before = Int(container, "ItemCount");
        // Tables appended one after the other get a paragraph between them.
        ASSERT_TRUE(Call(container, "AppendTable", {2, 1}));
        ASSERT_TRUE(Call(container, "AppendTable", {2, 1}));
        Object between = Call(container, "Item", {before + 1});
        ASSERT_EQ(ClassOf(between), "VexlomarWord.Paragraph");
        rt().call(container, "RemoveItem", {between});
        EXPECT_EQ(Int(container, "TableCount"), name == "body" ? 3 : 2);
        Object kept = Call(container, "Item", {before + 1});
        ASSERT_TRUE(kept);
        EXPECT_EQ(ClassOf(kept), "VexlomarWord.Paragraph");
        EXPECT_EQ(Str(kept, "Text"), "");
        EXPECT_EQ(ClassOf(Call(container, "Item", {before + 2})), "VexlomarWord.Table");
    }
    SaveCopy(doc, "tables-apart-saved.new.docx");
    const std::string file = path("tables-apart-saved.new.docx");
    // No two tables touch anywhere in the saved parts.
    for (const char* entry : {"word/document.xml", "word/header1.xml", "word/footer1.xml"}) {
        pugi::xml_document xml = Parsed(file, entry);
        for (pugi::xpath_node n : xml.select_nodes("//w:tbl")) {
            pugi::xml_node next = n.node().next_sibling();
            while (next && std::string(next.name()) != "w:p" && std::string(next.name()) != "w:tbl")
                next = next.next_sibling();
            EXPECT_FALSE(next && std::string(next.name()) == "w:tbl") << entry;
        }
    }
    ExpectCheckerPasses(file, true);
}

namespace {

const char kImageType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

std::string ImageRelationship(const std::string& id, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kImageType + "\" Target=\"" + target + "\"/>";
}

// An inline picture showing relId, as word processors write it.
std::string PictureDrawing(int id, const std::string& relId) {
    return "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"95250\" "
           "cy=\"95250\"/><wp:docPr id=\"" + std::to_string(id) + "\" name=\"Picture " + std::to_string(id) +
           "\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
           "<pic:pic><pic:nvPicPr><pic:cNvPr id=\"0\" name=\"p\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill>"
           "<a:blip r:embed=\"" + relId + "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr>"
           "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"95250\" cy=\"95250\"/></a:xfrm><a:prstGeom prst=\"rect\">"
           "<a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing>";
}
std::string PictureRun(int id, const std::string& relId) { return "<w:r>" + PictureDrawing(id, relId) + "</w:r>"; }
std::string PictureParagraph(int id, const std::string& relId) { return "<w:p>" + PictureRun(id, relId) + "</w:p>"; }

}  // namespace

// A table, a row, a link or a run written as alternate content takes its
// pictures with it; a picture something else still shows stays.
TEST_F(RemovalTest, PicturesGoWithTablesRowsLinksAndAlternateContent) {
    const std::string cell = Png(3, 3, 0x101010), shared = Png(4, 4, 0x202020), row = Png(5, 5, 0x303030),
                      linked = Png(6, 6, 0x404040), alternate = Png(7, 7, 0x505050);
    DocxParts parts;
    parts.body =
        docx_table({{PictureParagraph(1, "rIdCell"), PictureParagraph(2, "rIdShared")}}) + "<w:p/>" +
        docx_table({{PictureParagraph(3, "rIdRow")}, {"<w:p><w:r><w:t>Kept row</w:t></w:r></w:p>"}}) +
        PictureParagraph(4, "rIdShared") + "<w:p><w:hyperlink w:anchor=\"top\">" + PictureRun(5, "rIdLinked") +
        "</w:hyperlink></w:p>" +
        "<w:p><w:r><mc:AlternateContent><mc:Choice Requires=\"wp14\">" + PictureDrawing(6, "rIdAlt") +
        "</mc:Choice><mc:Fallback><w:pict><v:shape id=\"alt\" style=\"width:7.5pt;height:7.5pt\"><v:imagedata "
        "r:id=\"rIdAlt\" o:title=\"\"/></v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>" +
        "<w:p><w:r><w:t>End</w:t></w:r></w:p>";
    parts.documentRelationships = ImageRelationship("rIdCell", "media/cell.png") +
                                  ImageRelationship("rIdShared", "media/shared.png") +
                                  ImageRelationship("rIdRow", "media/row.png") +
                                  ImageRelationship("rIdLinked", "media/linked.png") +
                                  ImageRelationship("rIdAlt", "media/alternate.png");
    parts.extraEntries = {{"word/media/cell.png", cell},     {"word/media/shared.png", shared},
                          {"word/media/row.png", row},       {"word/media/linked.png", linked},
                          {"word/media/alternate.png", alternate}};
    write_docx(path("pictures-inside.in"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("pictures-inside.in"))}).object();
    ASSERT_TRUE(doc);

    Object table = Call(doc, "Table", {0});
    Object rows = Call(doc, "Table", {1});
    Object link = Call(doc, "Paragraph", {2}), alternateParagraph = Call(doc, "Paragraph", {3});
    rt().call(doc, "RemoveItem", {table});
    rt().call(rows, "RemoveRow", {Call(rows, "Row", {0})});
    rt().call(doc, "RemoveItem", {link});
    rt().call(doc, "RemoveItem", {alternateParagraph});
    // Removed twice: nothing more is let go of.
    rt().call(doc, "RemoveItem", {table});
    EXPECT_EQ(Int(doc, "ParagraphCount"), 3);
    EXPECT_EQ(DataOf(DrawingOf(Call(doc, "Paragraph", {1}))), shared);

    SaveCopy(doc, "pictures-inside.docx");
    const std::string file = path("pictures-inside.docx"), rels = "word/_rels/document.xml.rels";
    for (const char* gone : {"cell", "row", "linked", "alternate"}) {
        const std::string target = std::string("media/") + gone + ".png";
        EXPECT_EQ(CountRelationshipsTo(file, rels, target), 0u) << target;
        EXPECT_FALSE(HasEntry(file, "word/" + target)) << target;
    }
    EXPECT_TRUE(Relates(file, rels, "rIdShared", "media/shared.png"));
    EXPECT_EQ(zip_read(file, "word/media/shared.png"), shared);
    ExpectCheckerPasses(file, false);
}

namespace {

const char kHyperlinkType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink";

std::string LinkRelationship(const std::string& id, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kHyperlinkType + "\" Target=\"" + target +
           "\" TargetMode=\"External\"/>";
}
std::string LinkParagraph(const std::string& relId, const std::string& text) {
    return "<w:p><w:hyperlink r:id=\"" + relId + "\"><w:r><w:t>" + text + "</w:t></w:r></w:hyperlink></w:p>";
}

}  // namespace

// Links of one part sharing one relationship: removing one (as a paragraph
// item, with its paragraph, or turned into a link to a bookmark) keeps the
// relationship for the others; the last one takes it. A header's links
// share in the header's relationships.
TEST_F(RemovalTest, SharedLinkRelationshipsStayWhileALinkUsesThem) {
    DocxParts parts;
    parts.body = LinkParagraph("rIdLink", "one") + LinkParagraph("rIdLink", "two") +
                 LinkParagraph("rIdLink", "three") + LinkParagraph("rIdLink", "four");
    parts.documentRelationships = LinkRelationship("rIdLink", "https://example.com/shared");
    parts.headers.push_back({"default", LinkParagraph("rIdHead", "head one") + LinkParagraph("rIdHead", "head two")});
    parts.extraEntries = {{"word/_rels/header1.xml.rels",
                           "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
                           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                               LinkRelationship("rIdHead", "https://example.com/head") + "</Relationships>"}};
    write_docx(path("shared-links.in"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("shared-links.in"))}).object();
    ASSERT_TRUE(doc);
    auto linkOf = [&](const Object& paragraph) { return Call(paragraph, "ParagraphItem", {0}); };

    Object one = Call(doc, "Paragraph", {0}), two = Call(doc, "Paragraph", {1});
    Object three = Call(doc, "Paragraph", {2}), four = Call(doc, "Paragraph", {3});
    rt().call(one, "RemoveParagraphItem", {linkOf(one)});
    rt().call(doc, "RemoveItem", {two});
    rt().set(linkOf(three), "LinkToAnchor", true);
    EXPECT_EQ(Str(linkOf(four), "Address"), "https://example.com/shared");
    Object header = Call(doc, "Header", {0, false});
    ASSERT_TRUE(header);
    Object headOne = Call(header, "Paragraph", {0}), headTwo = Call(header, "Paragraph", {1});
    rt().call(headOne, "RemoveParagraphItem", {linkOf(headOne)});
    EXPECT_EQ(Str(linkOf(headTwo), "Address"), "https://example.com/head");

    SaveCopy(doc, "shared-links-1.docx");
    const std::string file1 = path("shared-links-1.docx");
    EXPECT_TRUE(Relates(file1, "word/_rels/document.xml.rels", "rIdLink", "https://example.com/shared"));
    EXPECT_TRUE(Relates(file1, "word/_rels/header1.xml.rels", "rIdHead", "https://example.com/head"));
    ExpectCheckerPasses(file1, false);

    // The last users gone, the relationships go.
    rt().call(four, "RemoveParagraphItem", {linkOf(four)});
    rt().call(header, "RemoveItem", {headTwo});
    SaveCopy(doc, "shared-links-2.docx");
    const std::string file2 = path("shared-links-2.docx");
    EXPECT_EQ(CountRelationshipsTo(file2, "word/_rels/document.xml.rels", "https://example.com/shared"), 0u);
    EXPECT_EQ(CountRelationshipsTo(file2, "word/_rels/header1.xml.rels", "https://example.com/head"), 0u);
    ExpectCheckerPasses(file2, false);
}

// A paragraph anchoring a shape takes what the shape's text box holds: its
// pictures and links, added since the last save or not.
TEST_F(RemovalTest, TextBoxContentGoesWithItsAnchor) {
    Object doc = Create("anchor-removed.new.docx");
    ASSERT_TRUE(doc);
    Object box = TextBox(doc);
    ASSERT_TRUE(box);
    ASSERT_TRUE(AddPictureParagraph(box, Png(5, 5), kPng, "boxed", 5, 5));
    ASSERT_TRUE(Call(Call(box, "Paragraph", {0}), "AppendHyperlink", {"link", "https://example.com/boxed"}));
    Object kept = AddPictureParagraph(doc, Png(6, 6), kPng, "kept", 6, 6);
    ASSERT_TRUE(kept);
    rt().call(doc, "RemoveItem", {Call(doc, "Paragraph", {Int(doc, "ParagraphCount") - 2})});

    SaveCopy(doc, "anchor-removed-saved.new.docx");
    const std::string file = path("anchor-removed-saved.new.docx"), rels = "word/_rels/document.xml.rels";
    EXPECT_FALSE(HasEntry(file, "word/media/image1.png"));
    EXPECT_EQ(CountRelationshipsTo(file, rels, "media/image1.png"), 0u);
    EXPECT_EQ(CountRelationshipsTo(file, rels, "https://example.com/boxed"), 0u);
    EXPECT_EQ(zip_read(file, "word/media/image2.png"), Png(6, 6));
    EXPECT_EQ(DataOf(DrawingOf(kept)), Png(6, 6));
    ExpectCheckerPasses(file, true);
}
