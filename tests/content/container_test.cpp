// Containers and their items through the loaded plug-in: counting, finding,
// appending, inserting and removing paragraphs, in the body and in a cell.
#include <algorithm>

#include <gtest/gtest.h>

#include "package_checker.h"
#include "content/container.h"
#include "document/document_data.h"
#include "paragraph_fixture.h"

using vexrt::Object;

namespace {

class ContainerTest : public ParagraphFixture {
protected:
    Object OpenBody(const std::string& name, const std::string& body, bool sectPr = true) {
        EXPECT_FALSE(is_from_scratch_name(name)) << name << ": not made from scratch";
        DocxParts parts;
        parts.body = body;
        parts.appendSectPr = sectPr;
        write_docx(path(name), parts);
        return rt().callShared("Document", "Open", {folderItem(path(name))}).object();
    }
    int64_t Count(const Object& o, const char* property) { return rt().get(o, property).integer(); }
    std::string Text(const Object& paragraph) { return rt().get(paragraph, "Text").text(); }
    // The body element as saved.
    std::string SavedBody(const Object& doc, const std::string& name) {
        SaveCopy(doc, name);
        std::string xml = zip_read(path(name), "word/document.xml");
        return xml.substr(xml.find("<w:body>"));
    }
};

}  // namespace

TEST_F(ContainerTest, AppendedParagraphsGoBeforeTheFinalSectionProperties) {
    Object doc = Create("append.new.docx");
    EXPECT_EQ(Count(doc, "ItemCount"), 1);
    Object p = rt().call(doc, "AppendParagraph", {"x"}).object();
    ASSERT_TRUE(p);
    EXPECT_EQ(rt().className(p), "VexlomarWord.Paragraph");
    EXPECT_EQ(Count(doc, "ItemCount"), 2);
    EXPECT_EQ(Count(doc, "ParagraphCount"), 2);
    EXPECT_EQ(Count(doc, "TableCount"), 0);
    EXPECT_EQ(Text(p), "x");

    rt().call(doc, "AppendParagraph", {""});
    const std::string body = SavedBody(doc, "append-saved.new.docx");
    const size_t x = body.find("<w:t>x</w:t>");
    const size_t empty = body.find("<w:r><w:rPr/><w:t/>", x);
    const size_t sectPr = body.find("<w:sectPr");
    EXPECT_NE(x, std::string::npos) << body;
    EXPECT_NE(empty, std::string::npos) << body;
    EXPECT_LT(empty, sectPr) << body;
    EXPECT_EQ(body.find("<w:p>", sectPr), std::string::npos) << "paragraph after w:sectPr\n" << body;
    EXPECT_EQ(body.find("<w:p ", sectPr), std::string::npos) << "paragraph after w:sectPr\n" << body;
}

TEST_F(ContainerTest, OnlyParagraphsAndTablesAreItems) {
    Object doc = OpenBody("mixed.docx",
                          "<w:p><w:r><w:t>first</w:t></w:r></w:p>"
                          "<w:bookmarkStart w:id=\"0\" w:name=\"here\"/>" +
                              docx_table({{"<w:p><w:r><w:t>in cell</w:t></w:r></w:p>"}}) +
                              "<w:bookmarkEnd w:id=\"0\"/>"
                              "<w:p><w:r><w:t>last</w:t></w:r></w:p>");
    EXPECT_EQ(Count(doc, "ItemCount"), 3);
    EXPECT_EQ(Count(doc, "ParagraphCount"), 2);
    EXPECT_EQ(Count(doc, "TableCount"), 1);

    Object table = rt().call(doc, "Item", {1}).object();
    EXPECT_EQ(rt().className(table), "VexlomarWord.Table");
    EXPECT_TRUE(rt().isA(table, "VexlomarWord.DocumentItem"));
    EXPECT_EQ(rt().className(rt().call(doc, "Table", {0}).object()), "VexlomarWord.Table");
    Object item2 = rt().call(doc, "Item", {2}).object();
    EXPECT_EQ(rt().className(item2), "VexlomarWord.Paragraph");
    EXPECT_EQ(Text(item2), "last");
    EXPECT_EQ(Text(rt().call(doc, "Paragraph", {1}).object()), "last");

    for (int index : {-1, 3, 1000}) EXPECT_TRUE(rt().call(doc, "Item", {index}).isNil()) << index;
    EXPECT_TRUE(rt().call(doc, "Paragraph", {2}).isNil());
    EXPECT_TRUE(rt().call(doc, "Table", {1}).isNil());
    EXPECT_TRUE(rt().call(doc, "Table", {-1}).isNil());
}

TEST_F(ContainerTest, SequentialAndRandomLookupsAgree) {
    Object doc = Create("lookups.new.docx");
    for (int i = 0; i < 30; ++i) rt().call(doc, "AppendParagraph", {"p" + std::to_string(i)});
    // In order, backwards, and interleaved with changes: each must see the
    // current children, whatever the previous lookup remembered.
    for (int i = 1; i <= 30; ++i) EXPECT_EQ(Text(rt().call(doc, "Paragraph", {i}).object()), "p" + std::to_string(i - 1));
    for (int i = 30; i >= 1; --i) EXPECT_EQ(Text(rt().call(doc, "Item", {i}).object()), "p" + std::to_string(i - 1));
    EXPECT_EQ(Text(rt().call(doc, "Paragraph", {10}).object()), "p9");
    Object p5 = rt().call(doc, "Paragraph", {5}).object();
    rt().call(p5, "InsertParagraphBefore", {"new"});
    EXPECT_EQ(Text(rt().call(doc, "Paragraph", {11}).object()), "p9");
    rt().call(doc, "RemoveItem", {rt().call(doc, "Paragraph", {1}).object()});
    EXPECT_EQ(Text(rt().call(doc, "Paragraph", {10}).object()), "p9");
    EXPECT_EQ(Text(rt().call(doc, "Paragraph", {4}).object()), "new");
}

TEST_F(ContainerTest, InsertingNextToItems) {
    Object doc = OpenBody("insert.docx",
                          "<w:p><w:r><w:t>body</w:t></w:r></w:p>" +
                              docx_table({{"<w:tcPr><w:tcW w:w=\"100\" w:type=\"dxa\"/></w:tcPr>"
                                           "<w:p><w:r><w:t>cell</w:t></w:r></w:p>"}}) +
                              "<w:p><w:r><w:t>end</w:t></w:r></w:p>");
    Object last = rt().call(doc, "Paragraph", {1}).object();
    Object after = rt().call(last, "InsertParagraphAfter", {"after end"}).object();
    EXPECT_EQ(Text(after), "after end");
    Object table = rt().call(doc, "Table", {0}).object();
    rt().call(table, "InsertParagraphBefore", {"before table"});
    EXPECT_EQ(Count(doc, "ItemCount"), 5);
    EXPECT_EQ(Text(rt().call(doc, "Item", {1}).object()), "before table");
    EXPECT_EQ(Text(rt().call(doc, "Item", {4}).object()), "after end");

    const std::string body = SavedBody(doc, "insert-saved.docx");
    EXPECT_LT(body.find("after end"), body.find("<w:sectPr")) << body;
    EXPECT_LT(body.find("before table"), body.find("<w:tbl>")) << body;
}

// Tables have no members of their own yet: the cell's paragraph view is
// made by the library's own operation, then used as host programs would.
class CellParagraphTest : public LinkedTest {};

TEST_F(CellParagraphTest, InsertBeforeTheFirstParagraphOfACellStaysAfterTheCellProperties) {
    DocxParts parts;
    parts.body = docx_table({{"<w:tcPr><w:tcW w:w=\"100\" w:type=\"dxa\"/></w:tcPr>"
                              "<w:p><w:r><w:t>cell</w:t></w:r></w:p>"}});
    write_docx(path("cell.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("cell.docx"))}).object();
    pugi::xml_node body = DocumentData_Of(doc.get())->wordDocument->documentXml.child("w:document").child("w:body");
    pugi::xml_node tc = body.child("w:tbl").child("w:tr").child("w:tc");
    Object cellParagraph(CreateParagraph(doc.get(), tc.child("w:p"), tc, nullptr, nullptr), /*adopt=*/true);

    Object before = rt().call(cellParagraph, "InsertParagraphBefore", {"first"}).object();
    rt().call(cellParagraph, "InsertParagraphAfter", {"third"});
    EXPECT_EQ(rt().get(before, "Text").text(), "first");
    std::vector<std::string> names, texts;
    for (pugi::xml_node c : tc.children()) {
        if (c.type() != pugi::node_element) continue;
        names.push_back(c.name());
        if (c.name() == std::string("w:p")) texts.push_back(c.child("w:r").child("w:t").text().get());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"w:tcPr", "w:p", "w:p", "w:p"}));
    EXPECT_EQ(texts, (std::vector<std::string>{"first", "cell", "third"}));
    // Appending to the body is unaffected by the cell: still before w:sectPr.
    rt().call(doc, "AppendParagraph", {"body"});
    EXPECT_STREQ(body.last_child().name(), "w:sectPr");
}

TEST_F(ContainerTest, RemovingItems) {
    Object doc = OpenBody("remove.docx",
                          "<w:p><w:r><w:t>a</w:t></w:r></w:p>" + docx_table({{"<w:p/>"}}) +
                              "<w:p><w:r><w:t>b</w:t></w:r></w:p>");
    Object a = rt().call(doc, "Paragraph", {0}).object();
    Object twin = rt().call(doc, "Item", {0}).object();
    rt().call(doc, "RemoveItem", {a});
    EXPECT_EQ(Count(doc, "ItemCount"), 2);
    // Twice, through another view, and nil: harmless.
    rt().call(doc, "RemoveItem", {a});
    rt().call(doc, "RemoveItem", {twin});
    rt().call(doc, "RemoveItem", {vexrt::Nil{}});
    EXPECT_EQ(Count(doc, "ItemCount"), 2);
    // A removed paragraph's view still reads, and nothing can be inserted
    // next to it any more.
    EXPECT_EQ(Text(a), "a");
    EXPECT_TRUE(rt().call(a, "InsertParagraphAfter", {"lost"}).isNil());

    rt().call(doc, "RemoveItem", {rt().call(doc, "Table", {0}).object()});
    EXPECT_EQ(Count(doc, "ItemCount"), 1);
    const std::string body = SavedBody(doc, "remove-saved.docx");
    EXPECT_EQ(body.find("<w:t>a</w:t>"), std::string::npos) << body;
    EXPECT_EQ(body.find("w:tbl"), std::string::npos) << body;
    EXPECT_EQ(body.find("discarded"), std::string::npos) << body;
    EXPECT_NE(body.find("<w:t>b</w:t>"), std::string::npos) << body;

    // An item of another document is not touched.
    Object other = Create("other.new.docx");
    Object foreign = rt().call(other, "AppendParagraph", {"foreign"}).object();
    rt().call(doc, "RemoveItem", {foreign});
    EXPECT_EQ(Count(other, "ItemCount"), 2);
}

// Final section properties are optional in a body (pandoc and other
// libraries leave them out): such a body takes new items at its end.
TEST_F(ContainerTest, ABodyWithoutSectionPropertiesTakesItemsAtItsEnd) {
    Object doc = OpenBody("nosect.docx", "<w:p><w:r><w:t>only</w:t></w:r></w:p><w:bookmarkEnd w:id=\"0\"/>",
                          /*sectPr=*/false);
    EXPECT_TRUE(rt().call(doc, "AppendParagraph", {"x"}).object());
    Object only = rt().call(doc, "Paragraph", {0}).object();
    EXPECT_TRUE(rt().call(only, "InsertParagraphAfter", {"y"}).object());
    EXPECT_TRUE(rt().call(doc, "AppendParagraph", {"z"}).object());
    EXPECT_EQ(Count(doc, "ItemCount"), 4);
    std::vector<std::string> texts;
    for (int64_t i = 0; i < 4; ++i) texts.push_back(rt().get(rt().call(doc, "Paragraph", {i}).object(), "Text").text());
    EXPECT_EQ(texts, (std::vector<std::string>{"only", "y", "x", "z"}));
    rt().call(doc, "Save");
    Object again = rt().callShared("Document", "Open", {folderItem(path("nosect.docx"))}).object();
    EXPECT_EQ(Count(again, "ItemCount"), 4);
    EXPECT_EQ(rt().get(rt().call(again, "Paragraph", {3}).object(), "Text").text(), "z");
    EXPECT_EQ(package_check_failures(path("nosect.docx"), false), "");
}

TEST_F(ContainerTest, UnconvertibleStringsChangeNothing) {
    Object doc = Create("unconvertible.new.docx");
    vexrt::String bad = rt().makeString("x", kREALTextEncodingUnconvertible);
    EXPECT_TRUE(rt().call(doc, "AppendParagraph", {bad}).isNil());
    Object first = rt().call(doc, "Paragraph", {0}).object();
    EXPECT_TRUE(rt().call(first, "InsertParagraphBefore", {bad}).isNil());
    EXPECT_TRUE(rt().call(first, "InsertParagraphAfter", {bad}).isNil());
    EXPECT_EQ(Count(doc, "ItemCount"), 1);
}

TEST_F(ContainerTest, TwoViewsOfOneParagraphSeeEachOther) {
    Object doc = Create("views.new.docx");
    Object one = rt().call(doc, "AppendParagraph", {"shared"}).object();
    Object two = rt().call(doc, "Paragraph", {1}).object();
    EXPECT_NE(one, two);
    rt().call(two, "InsertParagraphAfter", {"after"});
    EXPECT_EQ(Text(rt().call(doc, "Paragraph", {2}).object()), "after");
    EXPECT_EQ(Text(one), "shared");
    // The document outlives its document object's release while views live.
    doc = Object();
    EXPECT_EQ(Text(two), "shared");
}

TEST_F(ContainerTest, TextRoundTripsThroughOurReaderAndPythonDocx) {
    const std::vector<std::string> texts = {
        "plain", "tab\tseparated\tvalues", "line one\nline two", "  leading and trailing  ",
        "Grüße, 東京, emoji 🎉", "", "\ttab first", "trailing line feed\n"};
    {
        Object doc = Create("roundtrip.new.docx");
        for (const auto& t : texts) rt().call(doc, "AppendParagraph", {t});
        rt().call(doc, "Save");
    }
    std::vector<std::string> expected = {""};  // the blank document's own paragraph
    expected.insert(expected.end(), texts.begin(), texts.end());
    {
        Object doc = rt().callShared("Document", "Open", {folderItem(path("roundtrip.new.docx"))}).object();
        std::vector<std::string> read;
        for (int64_t i = 0; i < Count(doc, "ParagraphCount"); ++i)
            read.push_back(Text(rt().call(doc, "Paragraph", {i}).object()));
        EXPECT_EQ(read, expected);
    }
    SKIP_WITHOUT_PYTHON_DOCX();
    EXPECT_EQ(python_docx_paragraphs(path("roundtrip.new.docx")), expected);
}

TEST_F(ContainerTest, RemovingAParagraphDropsItsPicture) {
    const std::string picture =
        "<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"9525\" cy=\"9525\"/><wp:docPr id=\"1\" name=\"p\"/>"
        "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
        "<pic:pic><pic:blipFill><a:blip r:embed=\"rIdImg\"/></pic:blipFill></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>";
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>keep</w:t></w:r></w:p>" + picture;
    parts.documentRelationships =
        "<Relationship Id=\"rIdImg\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"media/image1.png\"/>";
    parts.extraEntries = {{"word/media/image1.png", "\x89PNG not really"}};
    write_docx(path("picture.zip"), parts);
    {
        Object doc = rt().callShared("Document", "Open", {folderItem(path("picture.zip"))}).object();
        rt().call(doc, "RemoveItem", {rt().call(doc, "Paragraph", {1}).object()});
        rt().call(doc, "SaveAs", {folderItem(path("without-picture.docx"))});
    }
    const auto entries = zip_entries(path("without-picture.docx"));
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "word/media/image1.png"), 0);
    EXPECT_EQ(zip_read(path("without-picture.docx"), "word/_rels/document.xml.rels").find("rIdImg"), std::string::npos);
    // The document's own file still has it until the next Save.
    const auto original = zip_entries(path("picture.zip"));
    EXPECT_EQ(std::count(original.begin(), original.end(), "word/media/image1.png"), 1);
}
