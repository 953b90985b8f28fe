// Bookmarks through the host: names, ids, placing around items, listing and
// removing both ends.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "docx_builder.h"
#include "package_checker.h"
#include "paragraph_fixture.h"

using vexrt::Object;

namespace {

class BookmarkTest : public ParagraphFixture {
protected:
    std::vector<Object> Bookmarks(const Object& doc) {
        Object list = Call(doc, "GetBookmarks");
        std::vector<Object> out;
        for (size_t i = 0; i < rt().arrayCount(list); ++i) out.push_back(rt().arrayItem(list, i));
        return out;
    }
    std::vector<std::string> Names(const Object& doc) {
        std::vector<std::string> names;
        for (const Object& b : Bookmarks(doc)) names.push_back(Str(b, "Name"));
        return names;
    }
    // The saved main document, parsed.
    void Saved(pugi::xml_document& xml, const Object& doc, const std::string& file) {
        SaveCopy(doc, file);
        const std::string bytes = zip_read(path(file), "word/document.xml");
        ASSERT_TRUE(xml.load_buffer(bytes.data(), bytes.size()));
    }
    static std::string Print(pugi::xml_node node) {
        std::ostringstream out;
        node.print(out, "", pugi::format_raw);
        return out.str();
    }
};

const char* const kInvalidParameter = "Parameter name contains charcter which is not allowed for bookmark";
const char* const kInvalidValue = "Value contains character which is not allowed for bookmark.";

}  // namespace

// Which names pass; a refused one changes nothing. Name nil keeps the
// required attribute, empty.
TEST_F(BookmarkTest, Names) {
    Opened o = OpenParagraph("names.docx", TextRun("a") + TextRun("b"));
    Object run = Call(o.paragraph, "Run", {0});
    Object ok = Call(o.paragraph, "AddBookmarkAround", {run, "Part_2a"});
    ASSERT_TRUE(ok);
    EXPECT_EQ(Str(ok, "Name"), "Part_2a");
    EXPECT_TRUE(Call(o.paragraph, "AddBookmarkAround", {run, ""}));
    for (const char* bad : {"two words", "a-b", "v1.2", "x#y", "q?"})
        EXPECT_RAISED(Call(o.paragraph, "AddBookmarkAround", {run, bad}), "InvalidArgumentException",
                      kInvalidParameter, -511);
    EXPECT_RAISED(rt().set(ok, "Name", "no good"), "InvalidArgumentException", kInvalidValue, -511);
    EXPECT_EQ(Str(ok, "Name"), "Part_2a");
    EXPECT_EQ(Names(o.doc), (std::vector<std::string>{"Part_2a", ""}));
    rt().set(ok, "Name", "Renamed");
    EXPECT_EQ(Str(ok, "Name"), "Renamed");
    rt().set(ok, "Name", nullptr);
    EXPECT_EQ(Str(ok, "Name"), "");
    pugi::xml_document xml;
    Saved(xml, o.doc, "named.docx");
    int starts = 0;
    for (pugi::xpath_node n : xml.select_nodes("//w:bookmarkStart")) {
        EXPECT_TRUE(n.node().attribute("w:name")) << Print(n.node());
        ++starts;
    }
    EXPECT_EQ(starts, 2);
    EXPECT_FALSE(Call(o.paragraph, "AddBookmarkAround", {Value(), "x"}));
}

// Ids are one above the highest bookmark id anywhere in the document
// (headers too), so no two bookmarks share one; two around one run nest.
TEST_F(BookmarkTest, IdsAreUniqueAndBookmarksNest) {
    DocxParts parts;
    parts.body = "<w:p><w:bookmarkStart w:id=\"41\" w:name=\"old\"/><w:r><w:t>x</w:t></w:r>"
                 "<w:bookmarkEnd w:id=\"41\"/></w:p><w:p><w:r><w:t>y</w:t></w:r></w:p>";
    parts.headers = {{"default", "<w:p><w:bookmarkStart w:id=\"77\" w:name=\"h\"/><w:bookmarkEnd w:id=\"77\"/></w:p>"}};
    write_docx(path("ids.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("ids.docx"))}).object();
    Object p = Call(doc, "Paragraph", {1});
    Object run = Call(p, "Run", {0});
    ASSERT_TRUE(Call(p, "AddBookmarkAround", {run, "outer"}));
    ASSERT_TRUE(Call(p, "AddBookmarkAround", {run, "inner"}));

    pugi::xml_document xml;
    Saved(xml, doc, "ids-saved.docx");
    pugi::xml_node second = xml.child("w:document").child("w:body").child("w:p").next_sibling("w:p");
    EXPECT_EQ(Print(second),
              "<w:p><w:bookmarkStart w:name=\"outer\" w:id=\"78\"/><w:bookmarkStart w:name=\"inner\" w:id=\"79\"/>"
              "<w:r><w:t>y</w:t></w:r><w:bookmarkEnd w:id=\"79\"/><w:bookmarkEnd w:id=\"78\"/></w:p>");
}

// A bookmark is placed only around direct children of the paragraph, first
// to last; otherwise nil and no change at all.
TEST_F(BookmarkTest, NeverHalfMade) {
    Object doc = OpenBody("half.docx", "<w:p>" + TextRun("a") + TextRun("b") +
                                           "<w:hyperlink w:anchor=\"x\"><w:r><w:t>in</w:t></w:r></w:hyperlink></w:p>"
                                           "<w:p>" + TextRun("other") + "</w:p>");
    Object p = Call(doc, "Paragraph", {0});
    Object a = Call(p, "Run", {0});
    Object b = Call(p, "Run", {1});
    Object link = Call(p, "ParagraphItem", {2});
    Object inLink = Call(link, "Run", {0});
    Object elsewhere = Call(Call(doc, "Paragraph", {1}), "Run", {0});
    const std::vector<std::string> before = SavedParagraphs(doc, "before.docx");

    EXPECT_FALSE(Call(p, "AddBookmarkAround", {elsewhere, "x"}));
    EXPECT_FALSE(Call(p, "AddBookmarkAround", {inLink, "x"}));
    EXPECT_FALSE(Call(p, "AddBookmarkAround", {b, a, "x"}));
    EXPECT_FALSE(Call(p, "AddBookmarkAround", {a, elsewhere, "x"}));
    EXPECT_FALSE(Call(p, "AddBookmarkAround", {elsewhere, b, "x"}));
    EXPECT_EQ(SavedParagraphs(doc, "after.docx"), before);
    EXPECT_TRUE(Bookmarks(doc).empty());

    // First to last, a hyperlink among them.
    Object around = Call(p, "AddBookmarkAround", {b, link, "span"});
    ASSERT_TRUE(around);
    const std::string saved = SavedParagraphs(doc, "span.docx")[0];
    EXPECT_LT(saved.find("w:bookmarkStart"), saved.find(">b<"));
    EXPECT_GT(saved.find("w:bookmarkEnd"), saved.find("</w:hyperlink>"));
    EXPECT_GT(saved.find("w:bookmarkStart"), saved.find(">a<"));
}

// Bookmarks of paragraphs, hyperlinks and nested table cells, in document
// order, each with its end even in another paragraph; removal takes both.
TEST_F(BookmarkTest, ListedInOrderAndRemovedWithBothEnds) {
    const std::string inner = docx_table({{"<w:p><w:bookmarkStart w:id=\"5\" w:name=\"nested\"/>" + TextRun("n") +
                                           "<w:bookmarkEnd w:id=\"5\"/></w:p>"}});
    const std::string body =
        "<w:p><w:bookmarkStart w:id=\"1\" w:name=\"first\"/>" + TextRun("a") + "<w:bookmarkEnd w:id=\"1\"/>"
        "<w:hyperlink w:anchor=\"first\"><w:bookmarkStart w:id=\"2\" w:name=\"inLink\"/>" + TextRun("l") +
        "<w:bookmarkEnd w:id=\"2\"/></w:hyperlink><w:bookmarkStart w:id=\"3\" w:name=\"spanning\"/>" + TextRun("s") +
        "</w:p>" + docx_table({{"<w:p>" + TextRun("c") + "</w:p>" + inner + "<w:p/>"}}) +
        "<w:p>" + TextRun("t") + "<w:bookmarkEnd w:id=\"3\"/></w:p>";
    Object doc = OpenBody("list.docx", body);
    EXPECT_EQ(Names(doc), (std::vector<std::string>{"first", "inLink", "spanning", "nested"}));

    Call(doc, "RemoveBookmark", {Bookmarks(doc)[2]});
    Call(doc, "RemoveBookmark", {Value()});
    EXPECT_EQ(Names(doc), (std::vector<std::string>{"first", "inLink", "nested"}));
    Object inLink = Bookmarks(doc)[1];
    Object sameBookmark = Bookmarks(doc)[1];
    Call(doc, "RemoveBookmark", {inLink});
    Call(doc, "RemoveBookmark", {inLink});  // gone already: nothing
    // Another view of the removed bookmark still reads it and removes nothing.
    EXPECT_EQ(Str(sameBookmark, "Name"), "inLink");
    Call(doc, "RemoveBookmark", {sameBookmark});
    pugi::xml_document xml;
    Saved(xml, doc, "removed.docx");
    std::set<std::string> ids;
    for (pugi::xpath_node n : xml.select_nodes("//w:bookmarkStart | //w:bookmarkEnd"))
        ids.insert(n.node().attribute("w:id").value());
    EXPECT_EQ(ids, (std::set<std::string>{"1", "5"}));
    EXPECT_EQ(Names(doc), (std::vector<std::string>{"first", "nested"}));
}

// Word processors place bookmarks directly in the body (around a table), in
// rows and in content controls: each is listed in document order and
// removed with both its ends.
TEST_F(BookmarkTest, BookmarksOutsideParagraphsAreListedAndRemoved) {
    const std::string body =
        "<w:bookmarkStart w:id=\"1\" w:name=\"aroundTable\"/>" +
        docx_table({{"<w:p>" + TextRun("cell") + "</w:p>"}}) + "<w:bookmarkEnd w:id=\"1\"/>"
        "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid><w:tr><w:bookmarkStart w:id=\"2\" w:name=\"inRow\"/>"
        "<w:tc><w:p>" + TextRun("row") + "</w:p></w:tc><w:bookmarkEnd w:id=\"2\"/></w:tr></w:tbl>"
        "<w:sdt><w:sdtPr/><w:sdtContent><w:p><w:bookmarkStart w:id=\"3\" w:name=\"inControl\"/>" + TextRun("sdt") +
        "<w:bookmarkEnd w:id=\"3\"/></w:p></w:sdtContent></w:sdt>"
        "<w:p>" + TextRun("last") + "</w:p>";
    Object doc = OpenBody("outside.docx", body);
    EXPECT_EQ(Names(doc), (std::vector<std::string>{"aroundTable", "inRow", "inControl"}));
    for (const Object& bookmark : Bookmarks(doc)) Call(doc, "RemoveBookmark", {bookmark});
    EXPECT_TRUE(Names(doc).empty());
    pugi::xml_document xml;
    Saved(xml, doc, "outside-removed.docx");
    EXPECT_TRUE(xml.select_nodes("//w:bookmarkStart | //w:bookmarkEnd").empty());
    EXPECT_EQ(package_check_failures(path("outside-removed.docx"), false), "");
}

// New ids stay within what word processors keep: past the highest while
// there is room, else the lowest free one.
TEST_F(BookmarkTest, NewIdsStayInRange) {
    const std::string body = "<w:p><w:bookmarkStart w:id=\"134217726\" w:name=\"top\"/>" + TextRun("a") +
                             "<w:bookmarkEnd w:id=\"134217726\"/><w:bookmarkStart w:id=\"1\" w:name=\"one\"/>" +
                             TextRun("b") + "<w:bookmarkEnd w:id=\"1\"/>" + TextRun("c") + "</w:p>";
    Object doc = OpenBody("top.docx", body);
    Object p = Call(doc, "Paragraph", {0});
    for (const char* name : {"second", "third"})
        ASSERT_TRUE(Call(p, "AddBookmarkAround", {Call(p, "ParagraphItem", {int64_t(2)}), name})) << name;
    pugi::xml_document xml;
    Saved(xml, doc, "top-saved.docx");
    std::set<std::string> ids;
    for (pugi::xpath_node n : xml.select_nodes("//w:bookmarkStart")) ids.insert(n.node().attribute("w:id").value());
    EXPECT_EQ(ids, (std::set<std::string>{"1", "2", "3", "134217726"}));
}
