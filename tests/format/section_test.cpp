// Sections and breaks through the loaded plug-in: page size, orientation,
// start type and margins of a section; page and section breaks from the
// document and next to items; where new elements go; what is refused; and
// what other readers make of a document with several sections.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <sstream>

#include "../content/paragraph_fixture.h"
#include "content/container.h"
#include "document/document_data.h"
#include "format/section_breaks.h"
#include "format/section_properties.h"
#include "libreoffice.h"
#include "xml_snippets.h"

namespace fs = std::filesystem;
using vexrt::Object;

namespace {

const int kTwips = 0, kInches = 1, kCm = 2;
const int kNone = 0, kContinuous = 1, kEvenPage = 2, kOddPage = 3, kNextPage = 4, kNextColumn = 5;
const int kLetter = 1, kA4 = 9, kA5 = 11;

const char kInvalidGeometry[] = "Invalid page size or margin";
const char kOutsideBody[] = "Section break can only be inserted in the document body";

std::vector<std::string> ElementNames(pugi::xml_node node) {
    std::vector<std::string> names;
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element) names.push_back(c.name());
    return names;
}

class SectionTest : public ParagraphFixture {
protected:
    Object DefaultSection(const Object& doc) { return rt().get(doc, "DefaultSection").object(); }
    Object SectionOf(const Object& doc, int64_t paragraph) {
        return rt().get(Call(doc, "Paragraph", {paragraph}), "Section").object();
    }
    double Width(const Object& s, int unit = kTwips) { return rt().call(s, "PageWidth", {unit}).number(); }
    double Height(const Object& s, int unit = kTwips) { return rt().call(s, "PageHeight", {unit}).number(); }
    double Margin(const Object& s, const char* which, int unit = kTwips) {
        return rt().call(s, which, {unit}).number();
    }

    // Saves a copy under `file` and loads its main part into `out`; returns
    // "w:body".
    pugi::xml_node SavedBody(const Object& doc, const std::string& file, pugi::xml_document& out) {
        SaveCopy(doc, file);
        const std::string xml = zip_read(path(file), "word/document.xml");
        EXPECT_TRUE(out.load_buffer(xml.data(), xml.size()));
        return out.child("w:document").child("w:body");
    }
    std::string SavedBodyText(const Object& doc, const std::string& file) {
        pugi::xml_document saved;
        return xml_print(SavedBody(doc, file, saved));
    }
};

}  // namespace

// ---------------------------------------------------------------- one section

TEST_F(SectionTest, TheBlankDocumentsSectionReadAndChanged) {
    Object doc = Create("template.new.docx");
    Object s = DefaultSection(doc);
    ASSERT_TRUE(s);
    EXPECT_EQ(rt().className(s), "VexlomarWord.Section");
    EXPECT_EQ(Width(s, kInches), 8.5);
    EXPECT_EQ(Height(s, kInches), 11.0);
    EXPECT_EQ(Width(s), 12240.0);
    EXPECT_EQ(Margin(s, "PageMarginTop"), 1440.0);
    EXPECT_NEAR(Margin(s, "PageMarginLeft", kCm), 2.54, 0.001);
    EXPECT_FALSE(Bool(s, "PageIsLandscape"));
    EXPECT_EQ(Int(s, "SectionType"), kNone);

    // Paper codes: portrait sizes, turned for a landscape section.
    rt().call(s, "SetPageSize", {kA4});
    EXPECT_EQ(Width(s), 11906.0);
    EXPECT_EQ(Height(s), 16838.0);
    rt().set(s, "PageIsLandscape", true);
    EXPECT_TRUE(Bool(s, "PageIsLandscape"));
    EXPECT_EQ(Width(s), 16838.0);
    rt().set(s, "PageIsLandscape", true);  // no second turn
    EXPECT_EQ(Width(s), 16838.0);
    EXPECT_EQ(Height(s), 11906.0);
    rt().call(s, "SetPageSize", {kA4});
    EXPECT_EQ(Width(s), 16838.0);
    EXPECT_TRUE(Bool(s, "PageIsLandscape"));
    rt().call(s, "SetPageSize", {8.5, 11.0, kInches, kLetter});
    EXPECT_EQ(Width(s), 15840.0);
    EXPECT_EQ(Height(s), 12240.0);
    pugi::xml_document saved;
    EXPECT_EQ(xml_print(SavedBody(doc, "landscape.new.docx", saved).child("w:sectPr").child("w:pgSz")),
              "<w:pgSz w:w=\"15840\" w:h=\"12240\" w:code=\"1\" w:orient=\"landscape\"/>");
    rt().set(s, "PageIsLandscape", false);
    EXPECT_EQ(Width(s), 12240.0);
    EXPECT_EQ(Height(s), 15840.0);

    // Centimetres truncate; codes outside the table give A4 and are kept.
    rt().call(s, "SetPageSize", {21.0, 29.7, kCm, kA4});
    EXPECT_EQ(Width(s), 11905.0);
    EXPECT_EQ(Height(s), 16837.0);
    for (int code : {15, 0, -3, 99}) {
        rt().call(s, "SetPageSize", {kLetter});
        rt().call(s, "SetPageSize", {code});
        EXPECT_EQ(Width(s), 11906.0) << code;
        EXPECT_EQ(Height(s), 16838.0) << code;
        EXPECT_EQ(SavedBody(doc, "code" + std::to_string(code + 10) + ".new.docx", saved)
                      .child("w:sectPr").child("w:pgSz").attribute("w:code").as_int(),
                  code);
    }

    // Margins in every unit; top and bottom may reach into the page.
    rt().assign(s, "PageMarginTop", {kCm}, 2.5);
    EXPECT_EQ(Margin(s, "PageMarginTop"), 1417.0);
    rt().assign(s, "PageMarginRight", {kInches}, 0.75);
    rt().assign(s, "PageMarginBottom", {kTwips}, -720.0);
    rt().assign(s, "PageMarginLeft", {kInches}, 0.0);
    EXPECT_EQ(Margin(s, "PageMarginRight", kInches), 0.75);
    EXPECT_EQ(Margin(s, "PageMarginBottom", kInches), -0.5);
    EXPECT_EQ(Margin(s, "PageMarginLeft"), 0.0);

    // Start types, written where the schema has them: before the page size.
    const std::pair<int, const char*> kTypes[] = {{kNextPage, "nextPage"}, {kEvenPage, "evenPage"},
                                                  {kOddPage, "oddPage"},   {kNextColumn, "nextColumn"},
                                                  {kContinuous, "continuous"}, {7, "continuous"},
                                                  {-1, "continuous"}};
    for (const auto& [type, name] : kTypes) {
        rt().set(s, "SectionType", type);
        EXPECT_EQ(Int(s, "SectionType"), type == 7 || type == -1 ? kContinuous : type);
        pugi::xml_node sectPr = SavedBody(doc, "type.new.docx", saved).child("w:sectPr");
        EXPECT_STREQ(sectPr.child("w:type").attribute("w:val").value(), name);
        EXPECT_EQ(ElementNames(sectPr),
                  (std::vector<std::string>{"w:type", "w:pgSz", "w:pgMar", "w:cols", "w:docGrid"}));
        fs::remove(path("type.new.docx"));
    }
    rt().set(s, "SectionType", kNone);
    EXPECT_EQ(Int(s, "SectionType"), kNone);
    EXPECT_EQ(ElementNames(SavedBody(doc, "final.new.docx", saved).child("w:sectPr")),
              (std::vector<std::string>{"w:pgSz", "w:pgMar", "w:cols", "w:docGrid"}));
    EXPECT_EQ(xml_print(saved.child("w:document").child("w:body").child("w:sectPr").child("w:pgMar")),
              "<w:pgMar w:top=\"1417\" w:right=\"1080\" w:bottom=\"-720\" w:left=\"0\" w:header=\"720\" "
              "w:footer=\"720\" w:gutter=\"0\"/>");
}

// Section properties from elsewhere that lack the page size, the margins or
// any child: what is added takes its place in the schema's order.
TEST_F(SectionTest, MissingPageSizeAndMarginsTakeTheirSchemaPlace) {
    DocxParts parts;
    parts.headers = {{"default", "<w:p><w:r><w:t>head</w:t></w:r></w:p>"}};
    parts.appendSectPr = false;
    parts.body =
        "<w:p><w:pPr><w:sectPr><w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:cols w:space=\"720\"/>"
        "<w:docGrid w:linePitch=\"360\"/></w:sectPr></w:pPr><w:r><w:t>no margins</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:sectPr/></w:pPr><w:r><w:t>nothing</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>last</w:t></w:r></w:p>"
        "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader1\"/>"
        "<w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\" w:header=\"720\" "
        "w:footer=\"720\" w:gutter=\"0\"/><w:cols w:space=\"720\"/></w:sectPr>";
    write_docx(path("partial.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("partial.docx"))}).object();

    // No page size: reads 0, and a new one goes after the header reference.
    Object last = DefaultSection(doc);
    EXPECT_EQ(Width(last), 0.0);
    EXPECT_FALSE(Bool(last, "PageIsLandscape"));
    rt().set(last, "PageIsLandscape", true);  // nothing to turn
    EXPECT_FALSE(Bool(last, "PageIsLandscape"));
    rt().call(last, "SetPageSize", {kLetter});
    EXPECT_EQ(Height(last), 15840.0);

    // No margins: read 0; a value refused makes none; the first one set
    // brings the defaults, after the page size.
    Object first = SectionOf(doc, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(Margin(first, "PageMarginTop"), 0.0);
    EXPECT_RAISED(rt().assign(first, "PageMarginLeft", {kInches}, -1.0), "VexlomarWord.WordException",
                  kInvalidGeometry, -19);
    rt().assign(first, "PageMarginLeft", {kInches}, 1.25);
    EXPECT_EQ(Margin(first, "PageMarginLeft"), 1800.0);
    EXPECT_EQ(Margin(first, "PageMarginTop"), 1440.0);
    rt().set(first, "SectionType", kOddPage);

    // No child at all.
    Object empty = SectionOf(doc, 1);
    ASSERT_TRUE(empty);
    rt().assign(empty, "PageMarginRight", {kCm}, 1.0);
    rt().call(empty, "SetPageSize", {kA5});
    rt().set(empty, "SectionType", kContinuous);
    EXPECT_EQ(Width(empty), 8391.0);
    EXPECT_EQ(Margin(empty, "PageMarginRight"), 566.0);
    EXPECT_FALSE(SectionOf(doc, 2));

    pugi::xml_document saved;
    pugi::xml_node body = SavedBody(doc, "partial-saved.docx", saved);
    pugi::xml_node p = body.child("w:p");
    EXPECT_EQ(ElementNames(p.child("w:pPr").child("w:sectPr")),
              (std::vector<std::string>{"w:type", "w:pgSz", "w:pgMar", "w:cols", "w:docGrid"}));
    EXPECT_EQ(xml_print(p.child("w:pPr").child("w:sectPr").child("w:pgMar")),
              "<w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" w:left=\"1800\" w:header=\"720\" "
              "w:footer=\"720\" w:gutter=\"0\"/>");
    p = p.next_sibling("w:p");
    EXPECT_EQ(ElementNames(p.child("w:pPr").child("w:sectPr")),
              (std::vector<std::string>{"w:type", "w:pgSz", "w:pgMar"}));
    EXPECT_EQ(ElementNames(body.child("w:sectPr")),
              (std::vector<std::string>{"w:headerReference", "w:pgSz", "w:pgMar", "w:cols"}));
    EXPECT_EQ(xml_print(body.child("w:sectPr").child("w:pgSz")), "<w:pgSz w:w=\"12240\" w:h=\"15840\" w:code=\"1\"/>");
}

// A body without final section properties: the default section is an
// empty view, section breaks have nothing to copy, page breaks go last.
TEST_F(SectionTest, ABodyWithoutSectionProperties) {
    DocxParts parts;
    parts.appendSectPr = false;
    parts.body = "<w:p><w:r><w:t>only</w:t></w:r></w:p>";
    write_docx(path("bare.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("bare.docx"))}).object();
    const std::string before = SavedBodyText(doc, "bare-before.docx");

    Object s = DefaultSection(doc);
    ASSERT_TRUE(s);
    EXPECT_EQ(Width(s), 0.0);
    EXPECT_EQ(Margin(s, "PageMarginBottom"), 0.0);
    EXPECT_EQ(Int(s, "SectionType"), kNone);
    rt().call(s, "SetPageSize", {kA4});
    rt().assign(s, "PageMarginTop", {kCm}, 2.0);
    rt().set(s, "PageIsLandscape", true);
    rt().set(s, "SectionType", kNextPage);
    EXPECT_EQ(Width(s), 0.0);
    EXPECT_FALSE(Bool(s, "PageIsLandscape"));
    // A value no page can take is refused even here.
    EXPECT_RAISED(rt().call(s, "SetPageSize", {0.0, 11.0, kInches, kLetter}), "VexlomarWord.WordException",
                  kInvalidGeometry, -19);

    Object only = Call(doc, "Paragraph", {0});
    rt().call(doc, "AppendSectionBreak", {kNextPage});
    rt().call(only, "InsertSectionBreakBefore", {kNextPage});
    rt().call(only, "InsertSectionBreakAfter", {kNextPage});
    EXPECT_EQ(SavedBodyText(doc, "bare-same.docx"), before);

    rt().call(doc, "AppendPageBreak");
    ASSERT_EQ(Int(doc, "ParagraphCount"), 2);
    EXPECT_TRUE(Bool(Call(doc, "Paragraph", {1}), "IsPageBreak"));
    EXPECT_EQ(SavedBodyText(doc, "bare-break.docx"),
              "<w:body><w:p><w:r><w:t>only</w:t></w:r></w:p><w:p><w:r><w:br w:type=\"page\"/></w:r></w:p></w:body>");
}

// ---------------------------------------------------------------- breaks

TEST_F(SectionTest, BreaksAppendedToTheDocument) {
    Object doc = Create("append.new.docx");
    pugi::xml_document saved;
    const std::vector<std::string> original = ElementNames(SavedBody(doc, "append-0.new.docx", saved).child("w:sectPr"));

    rt().call(doc, "AppendSectionBreak", {kNextPage});
    ASSERT_EQ(Int(doc, "ParagraphCount"), 2);
    EXPECT_FALSE(SectionOf(doc, 0));
    Object ended = SectionOf(doc, 1);
    ASSERT_TRUE(ended);
    EXPECT_EQ(Int(ended, "SectionType"), kNone);
    EXPECT_EQ(Int(DefaultSection(doc), "SectionType"), kNextPage);
    // The copy has the old properties, without the new start type.
    pugi::xml_node body = SavedBody(doc, "append-1.new.docx", saved);
    pugi::xml_node copy = body.child("w:p").next_sibling("w:p").child("w:pPr").child("w:sectPr");
    EXPECT_EQ(ElementNames(copy), original);
    EXPECT_EQ(ElementNames(body.child("w:sectPr")).front(), "w:type");
    EXPECT_EQ(xml_print(copy.child("w:pgMar")), xml_print(body.child("w:sectPr").child("w:pgMar")));

    // The two sections are apart: changing one leaves the other.
    rt().set(ended, "PageIsLandscape", true);
    EXPECT_EQ(Width(ended), 15840.0);
    EXPECT_EQ(Width(DefaultSection(doc)), 12240.0);

    // Text goes into the last section; a page break too.
    Call(doc, "AppendParagraph", {"second section"});
    rt().call(doc, "AppendPageBreak");
    rt().call(doc, "AppendSectionBreak", {kContinuous});
    ASSERT_EQ(Int(doc, "ParagraphCount"), 5);
    EXPECT_EQ(Str(Call(doc, "Paragraph", {2}), "Text"), "second section");
    EXPECT_TRUE(Bool(Call(doc, "Paragraph", {3}), "IsPageBreak"));
    EXPECT_EQ(Int(SectionOf(doc, 4), "SectionType"), kNextPage);
    EXPECT_EQ(Int(DefaultSection(doc), "SectionType"), kContinuous);
    body = SavedBody(doc, "append-2.new.docx", saved);
    EXPECT_STREQ(body.last_child().name(), "w:sectPr");
    EXPECT_EQ(xml_print(body.child("w:sectPr").previous_sibling().previous_sibling()),
              "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>");
}

TEST_F(SectionTest, BreaksNextToItems) {
    Object doc = OpenBody("items.docx", "<w:p>" + TextRun("x") + "</w:p>" + docx_table({{"<w:p/>"}}) + "<w:p>" +
                                            TextRun("b") + "</w:p><w:p>" + TextRun("c") + "</w:p>");
    // Items: x, table, b, c.
    Object x = Call(doc, "Item", {0});
    Object table = Call(doc, "Item", {1});
    Object b = Call(doc, "Item", {2});
    Object c = Call(doc, "Item", {3});
    ASSERT_EQ(rt().className(table), "VexlomarWord.Table");

    rt().call(b, "InserPageBreakBefore");
    rt().call(b, "InserPageBreakAfter");
    rt().call(table, "InserPageBreakAfter");
    // Items: x, table, break, break, b, break, c.
    ASSERT_EQ(Int(doc, "ItemCount"), 7);
    for (int i : {2, 3, 5}) EXPECT_TRUE(Bool(Call(doc, "Item", {i}), "IsPageBreak")) << i;
    EXPECT_EQ(Str(Call(doc, "Item", {4}), "Text"), "b");

    // After the last paragraph: the body's properties are copied, the body's
    // own get the type.
    rt().call(c, "InsertSectionBreakAfter", {kContinuous});
    Object endOfC = SectionOf(doc, 6);
    ASSERT_TRUE(endOfC);
    EXPECT_EQ(Int(endOfC, "SectionType"), kNone);
    EXPECT_EQ(Int(DefaultSection(doc), "SectionType"), kContinuous);

    // Before x: the section x lies in ends at the paragraph after c; that
    // paragraph's properties are copied and then start with an even page.
    rt().call(x, "InsertSectionBreakBefore", {kEvenPage});
    Object first = SectionOf(doc, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(Int(first, "SectionType"), kNone);
    EXPECT_EQ(Int(endOfC, "SectionType"), kEvenPage);

    // After a table: it lies in the section that ends after c, whose
    // properties (starting on an even page) are copied before they change.
    rt().call(table, "InsertSectionBreakAfter", {kOddPage});
    EXPECT_EQ(Int(SectionOf(doc, 2), "SectionType"), kEvenPage);
    EXPECT_EQ(Int(endOfC, "SectionType"), kOddPage);
    EXPECT_EQ(Int(first, "SectionType"), kNone);
    // Before a paragraph that ends a section itself: its own are copied.
    Object endOfCParagraph = Call(doc, "Paragraph", {8});
    ASSERT_TRUE(rt().get(endOfCParagraph, "Section").object());
    rt().call(endOfCParagraph, "InsertSectionBreakBefore", {kNextColumn});
    EXPECT_EQ(Int(SectionOf(doc, 8), "SectionType"), kOddPage);
    EXPECT_EQ(Int(SectionOf(doc, 9), "SectionType"), kNextColumn);
    EXPECT_EQ(Int(endOfC, "SectionType"), kNextColumn);

    // Each section-ending paragraph is an empty one with only w:pPr/w:sectPr.
    std::vector<std::string> kinds;
    pugi::xml_document saved;
    for (pugi::xml_node n : SavedBody(doc, "items-saved.docx", saved).children()) {
        if (n.type() != pugi::node_element) continue;
        const std::string name = n.name();
        if (name == "w:tbl") kinds.push_back("table");
        else if (name == "w:sectPr") kinds.push_back("final");
        else if (n.child("w:pPr").child("w:sectPr")) kinds.push_back(ElementNames(n) == std::vector<std::string>{"w:pPr"} ? "end" : "?");
        else if (xml_print(n) == "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>") kinds.push_back("break");
        else kinds.push_back(n.child("w:r").child("w:t").text().get());
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"end", "x", "table", "end", "break", "break", "b", "break", "c",
                                               "end", "end", "final"}));

    // A removed item takes no break.
    const std::string before = SavedBodyText(doc, "items-before.docx");
    rt().call(doc, "RemoveItem", {b});
    const std::string removed = SavedBodyText(doc, "items-removed.docx");
    rt().call(b, "InserPageBreakAfter");
    rt().call(b, "InsertSectionBreakAfter", {kNextPage});
    EXPECT_EQ(SavedBodyText(doc, "items-after.docx"), removed);
    EXPECT_NE(removed, before);
}

// Sections end only in the body. A section break asked for anywhere else is
// refused; a page break is not.
using SectionBreakPlaceTest = LinkedTest;

TEST_F(SectionBreakPlaceTest, SectionBreaksOutsideTheBodyAreRefused) {
    DocxParts parts;
    parts.headers = {{"default", "<w:p><w:r><w:t>head</w:t></w:r></w:p>"}};
    parts.body = docx_table({{"<w:p><w:r><w:t>cell</w:t></w:r></w:p>"}}) +
                 "<w:p><w:r><w:pict><v:shape style=\"width:100pt;height:50pt\"><v:textbox><w:txbxContent>"
                 "<w:p><w:r><w:t>box</w:t></w:r></w:p></w:txbxContent></v:textbox></v:shape></w:pict></w:r></w:p>";
    write_docx(path("places.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("places.docx"))}).object();
    ASSERT_TRUE(doc);
    Word::Document* word = DocumentData_Of(doc.get())->wordDocument;
    pugi::xml_node body = word->documentXml.child("w:document").child("w:body");
    pugi::xml_node header = word->headers.head->xml.child("w:hdr");
    pugi::xml_node tc = body.child("w:tbl").child("w:tr").child("w:tc");
    pugi::xml_node box = body.find_node([](pugi::xml_node n) { return std::string(n.name()) == "w:txbxContent"; });
    ASSERT_TRUE(header && tc && box);

    for (pugi::xml_node parent : {tc, header, box}) {
        SCOPED_TRACE(parent.name());
        Object paragraph(CreateParagraph(doc.get(), parent.child("w:p"), parent, nullptr, nullptr), true);
        const std::string bodyBefore = xml_print(body), parentBefore = xml_print(parent);
        for (const char* method : {"InsertSectionBreakBefore", "InsertSectionBreakAfter"}) {
            EXPECT_RAISED(rt().call(paragraph, method, {kNextPage}), "VexlomarWord.WordException", kOutsideBody, -18);
        }
        EXPECT_EQ(xml_print(body), bodyBefore);
        EXPECT_EQ(xml_print(parent), parentBefore);

        rt().call(paragraph, "InserPageBreakAfter");
        EXPECT_EQ(xml_print(parent.child("w:p").next_sibling("w:p")), "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>");
    }
}

// ---------------------------------------------------------------- refused values

TEST_F(SectionTest, PageSizesAndMarginsNoPageCanHaveAreRefused) {
    Object doc = Create("refused.new.docx");
    Object s = DefaultSection(doc);
    const std::string before = SavedBodyText(doc, "refused-0.new.docx");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<vexrt::Value>> kSizes = {
        {0.0, 11.0, kInches, kLetter},     {8.5, 0.0, kInches, kLetter},   {-8.5, 11.0, kInches, kLetter},
        {8.5, -11.0, kInches, kLetter},    {0.0001, 11.0, kInches, kLetter},  // under a twip
        {0.9, 15840.0, kTwips, kLetter},   {nan, 11.0, kInches, kLetter},  {21.0, -0.001, kCm, kA4},
    };
    for (const auto& args : kSizes)
        EXPECT_RAISED(rt().call(s, "SetPageSize", args), "VexlomarWord.WordException", kInvalidGeometry, -19);
    for (const char* margin : {"PageMarginLeft", "PageMarginRight"}) {
        SCOPED_TRACE(margin);
        EXPECT_RAISED(rt().assign(s, margin, {kTwips}, -1.0), "VexlomarWord.WordException", kInvalidGeometry, -19);
        EXPECT_RAISED(rt().assign(s, margin, {kCm}, -0.5), "VexlomarWord.WordException", kInvalidGeometry, -19);
    }
    EXPECT_EQ(SavedBodyText(doc, "refused-1.new.docx"), before);

    // A fraction of a twip below zero is no margin at all; top and bottom
    // margins may be negative.
    rt().assign(s, "PageMarginLeft", {kTwips}, -0.5);
    rt().assign(s, "PageMarginTop", {kInches}, -0.25);
    rt().assign(s, "PageMarginBottom", {kTwips}, -1.0);
    EXPECT_EQ(Margin(s, "PageMarginLeft"), 0.0);
    EXPECT_EQ(Margin(s, "PageMarginTop"), -360.0);
    EXPECT_EQ(Margin(s, "PageMarginBottom"), -1.0);
    rt().assign(s, "PageMarginRight", {kTwips}, 0.0);
    rt().call(s, "SetPageSize", {2.0, 400.0, kTwips, kLetter});
    EXPECT_EQ(Width(s), 2.0);
}

// What the format cannot hold and pages that leave no room for text: a side
// beyond 22 inches, margins that meet or cross. Each is refused and changes
// nothing.
TEST_F(SectionTest, PagesWithoutRoomForTextAreRefused) {
    Object doc = Create("no-room.new.docx");
    Object s = DefaultSection(doc);
    rt().call(s, "SetPageSize", {8.5, 11.0, kInches, kLetter});
    const std::string before = SavedBodyText(doc, "no-room-0.new.docx");
    const std::vector<std::vector<vexrt::Value>> kSizes = {
        {2000000.0, 11.0, kInches, kLetter}, {8.5, 22.01, kInches, kLetter}, {31681.0, 15840.0, kTwips, kLetter},
        {2.0, 11.0, kInches, kLetter},  // the default margins of 1 in meet
    };
    for (const auto& args : kSizes)
        EXPECT_RAISED(rt().call(s, "SetPageSize", args), "VexlomarWord.WordException", kInvalidGeometry, -19);
    rt().assign(s, "PageMarginLeft", {kInches}, 5.0);
    EXPECT_RAISED(rt().assign(s, "PageMarginRight", {kInches}, 5.0), "VexlomarWord.WordException", kInvalidGeometry,
                  -19);
    rt().assign(s, "PageMarginTop", {kInches}, 6.0);
    EXPECT_RAISED(rt().assign(s, "PageMarginBottom", {kInches}, 6.0), "VexlomarWord.WordException", kInvalidGeometry,
                  -19);
    EXPECT_RAISED(rt().assign(s, "PageMarginBottom", {kInches}, -6.0), "VexlomarWord.WordException", kInvalidGeometry,
                  -19);
    EXPECT_RAISED(rt().assign(s, "PageMarginTop", {kInches}, 23.0), "VexlomarWord.WordException", kInvalidGeometry,
                  -19);
    EXPECT_EQ(Margin(s, "PageMarginRight", kInches), 1.0);
    EXPECT_EQ(Margin(s, "PageMarginBottom", kInches), 1.0);
    rt().assign(s, "PageMarginLeft", {kInches}, 1.0);
    rt().assign(s, "PageMarginTop", {kInches}, 1.0);
    EXPECT_EQ(SavedBodyText(doc, "no-room-1.new.docx"), before);
    // The largest page the format holds, with its margins.
    rt().call(s, "SetPageSize", {22.0, 22.0, kInches, kLetter});
    EXPECT_EQ(Width(s, kInches), 22.0);
}

TEST(SectionProperties, HeaderFooterAndGutterMarginsAreDistances) {
    pugi::xml_document doc;
    pugi::xml_node sectPr = xml_load(doc, "<w:sectPr><w:pgSz w:w=\"12240\" w:h=\"15840\"/></w:sectPr>");
    for (PageMargin m : {PageMargin::Header, PageMargin::Footer, PageMargin::Gutter, PageMargin::Left,
                         PageMargin::Right})
        EXPECT_FALSE(Section_SetMargin(sectPr, m, -1));
    EXPECT_EQ(ElementNames(sectPr), std::vector<std::string>{"w:pgSz"});
    for (PageMargin m : {PageMargin::Header, PageMargin::Footer, PageMargin::Gutter}) {
        EXPECT_TRUE(Section_SetMargin(sectPr, m, 0));
        EXPECT_EQ(Section_GetMargin(sectPr, m), 0);
    }
    EXPECT_TRUE(Section_SetMargin(sectPr, PageMargin::Top, -1));
    EXPECT_EQ(Section_GetMargin(sectPr, PageMargin::Top), -1);
}

// A section-ending copy goes near the end of w:pPr: before w:pPrChange only.
TEST(SectionBreaks, TheCopyTakesItsPlaceInTheParagraphProperties) {
    pugi::xml_document doc;
    pugi::xml_node body = xml_load(doc,
                                "<w:body><w:p><w:pPr><w:pStyle w:val=\"A\"/><w:jc w:val=\"center\"/><w:rPr><w:b/></w:rPr>"
                                "<w:pPrChange w:id=\"1\"><w:pPr/></w:pPrChange></w:pPr></w:p>"
                                "<w:sectPr><w:pgSz w:w=\"1\" w:h=\"2\"/></w:sectPr></w:body>");
    pugi::xml_node p = body.child("w:p");
    Paragraph_EndSectionWith(p, body.child("w:sectPr"));
    EXPECT_EQ(ElementNames(p.child("w:pPr")),
              (std::vector<std::string>{"w:pStyle", "w:jc", "w:rPr", "w:sectPr", "w:pPrChange"}));
    // Once more with other properties: still one, the new one.
    body.child("w:sectPr").child("w:pgSz").attribute("w:w").set_value(3);
    Paragraph_EndSectionWith(p, body.child("w:sectPr"));
    EXPECT_EQ(ElementNames(p.child("w:pPr")),
              (std::vector<std::string>{"w:pStyle", "w:jc", "w:rPr", "w:sectPr", "w:pPrChange"}));
    EXPECT_EQ(p.child("w:pPr").child("w:sectPr").child("w:pgSz").attribute("w:w").as_int(), 3);
    // A paragraph without properties gets them first.
    pugi::xml_node bare = body.insert_child_before("w:p", body.child("w:sectPr"));
    bare.append_child("w:r");
    Paragraph_EndSectionWith(bare, body.child("w:sectPr"));
    EXPECT_EQ(ElementNames(bare), (std::vector<std::string>{"w:pPr", "w:r"}));
}

TEST(SectionProperties, TheFinalSectionPropertiesAreFoundFromTheEnd) {
    pugi::xml_document doc;
    pugi::xml_node body = xml_load(doc, "<w:body><w:p/><w:sectPr w:id=\"last\"/>\n\t</w:body>");
    EXPECT_STREQ(Body_FinalSectPr(body).attribute("w:id").value(), "last");
    // Out of place (something follows it), it is still found.
    body = xml_load(doc, "<w:body><w:p/><w:sectPr w:id=\"mid\"/><w:bookmarkEnd w:id=\"0\"/></w:body>");
    EXPECT_STREQ(Body_FinalSectPr(body).attribute("w:id").value(), "mid");
    body = xml_load(doc, "<w:body><w:p><w:pPr><w:sectPr/></w:pPr></w:p><w:p/></w:body>");
    EXPECT_FALSE(Body_FinalSectPr(body));
}

// Breaks appended while walking the paragraphs of a document: every
// paragraph is still found in its place (what it costs is measured in
// bench/section_benchmark.cpp).
TEST_F(SectionTest, AppendingBreaksWhileWalkingKeepsEveryParagraph) {
    const int n = 1000;
    std::string body;
    for (int i = 0; i < n; ++i) body += "<w:p><w:r><w:t>" + std::to_string(i) + "</w:t></w:r></w:p>";
    // Not named .docx: a long document the checker would lay out for nothing.
    write_docx(path("walked.zip"), body);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("walked.zip"))}).object();
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(Str(Call(doc, "Paragraph", {i}), "Text"), std::to_string(i));
        if (i % 8 == 0) rt().call(doc, "AppendPageBreak");
        if (i % 64 == 0) rt().call(doc, "AppendSectionBreak", {kContinuous});
    }
    EXPECT_EQ(Int(doc, "ParagraphCount"), n + (n + 7) / 8 + (n + 63) / 64);
}

// ---------------------------------------------------------------- other readers

namespace {

// Three sections, each with its own page and margins: A4 portrait, Letter
// landscape starting on a new page, and A5 starting on an odd page.
void WriteThreeSections(vexrt::Runtime& rt, const Object& doc) {
    auto call = [&](const Object& o, const char* m, const std::vector<vexrt::Value>& a = {}) {
        return rt.call(o, m, a).object();
    };
    call(doc, "AppendParagraph", {"Section one"});
    rt.call(doc, "AppendSectionBreak", {kNextPage});
    call(doc, "AppendParagraph", {"Section two"});
    rt.call(doc, "AppendPageBreak");
    call(doc, "AppendParagraph", {"Section two, second page"});
    rt.call(doc, "AppendSectionBreak", {kOddPage});
    call(doc, "AppendParagraph", {"Section three"});

    const int64_t count = rt.get(doc, "ParagraphCount").integer();
    std::vector<Object> sections;
    for (int64_t i = 0; i < count; ++i)
        if (Object s = rt.get(call(doc, "Paragraph", {i}), "Section").object()) sections.push_back(s);
    sections.push_back(rt.get(doc, "DefaultSection").object());
    ASSERT_EQ(sections.size(), 3u);

    rt.call(sections[0], "SetPageSize", {kA4});
    rt.assign(sections[0], "PageMarginTop", {kCm}, 2.0);
    rt.assign(sections[0], "PageMarginRight", {kCm}, 1.5);
    rt.assign(sections[0], "PageMarginBottom", {kCm}, 2.5);
    rt.assign(sections[0], "PageMarginLeft", {kCm}, 3.0);

    rt.call(sections[1], "SetPageSize", {kLetter});
    rt.set(sections[1], "PageIsLandscape", true);
    rt.assign(sections[1], "PageMarginTop", {kInches}, 0.5);
    rt.assign(sections[1], "PageMarginRight", {kInches}, 0.75);
    rt.assign(sections[1], "PageMarginBottom", {kInches}, 1.0);
    rt.assign(sections[1], "PageMarginLeft", {kInches}, 1.25);

    rt.call(sections[2], "SetPageSize", {kA5});
    rt.assign(sections[2], "PageMarginTop", {kTwips}, 720.0);
    rt.assign(sections[2], "PageMarginRight", {kTwips}, 900.0);
    rt.assign(sections[2], "PageMarginBottom", {kTwips}, 1080.0);
    rt.assign(sections[2], "PageMarginLeft", {kTwips}, 1260.0);
}

}  // namespace

TEST_F(SectionTest, ThreeSectionsReadElsewhereAsSet) {
    SKIP_WITHOUT_PYTHON_DOCX();
    const std::string file = path("sections.new.docx");
    {
        Object doc = Create("sections.new.docx");
        WriteThreeSections(rt(), doc);
        rt().call(doc, "Save");
    }
    // python-docx: start type, orientation, size and margins in twips.
    const std::string seen = python_docx_run(
        "import sys, docx\n"
        "for s in docx.Document(sys.argv[1]).sections:\n"
        "    print(s.start_type, s.orientation, s.page_width.twips, s.page_height.twips,\n"
        "          s.top_margin.twips, s.right_margin.twips, s.bottom_margin.twips, s.left_margin.twips)\n",
        {file});
    EXPECT_EQ(seen,
              "NEW_PAGE (2) PORTRAIT (0) 11906 16838 1133 850 1417 1700\n"
              "NEW_PAGE (2) LANDSCAPE (1) 15840 12240 720 1080 1440 1800\n"
              "ODD_PAGE (4) PORTRAIT (0) 8391 11906 720 900 1080 1260\n");

    // LibreOffice lays the pages out: the landscape pages are Letter turned,
    // and the last section starts on an odd page after a blank one (which
    // the PDF keeps only when told to).
    if (!libreoffice_available()) GTEST_SKIP() << "LibreOffice is not installed";
    if (!pdf_tools_available()) GTEST_SKIP() << "poppler-utils is not installed";
    const std::string pdfDir = path("pdf");
    fs::create_directories(pdfDir);
    ASSERT_TRUE(libreoffice_convert(
        file, "pdf:writer_pdf_Export:{\"IsSkipEmptyPages\":{\"type\":\"boolean\",\"value\":\"false\"}}", pdfDir));
    const std::string pdf = pdfDir + "/sections.new.pdf";
    ASSERT_TRUE(fs::exists(pdf));

    const std::string info = command_output("pdfinfo -f 1 -l 10 '" + pdf + "'");
    // Page sizes in points, rounded.
    std::vector<std::pair<long, long>> sizes;
    std::vector<std::string> texts;
    std::istringstream lines(info);
    for (std::string line; std::getline(lines, line);) {
        double w = 0, h = 0;
        const size_t at = line.find("size:");
        if (line.rfind("Page", 0) == 0 && at != std::string::npos &&
            std::sscanf(line.c_str() + at, "size: %lf x %lf", &w, &h) == 2)
            sizes.emplace_back(std::lround(w), std::lround(h));
    }
    for (size_t page = 1; page <= sizes.size(); ++page) {
        std::string text = pdf_page_text(pdf, int(page));
        text.erase(std::remove_if(text.begin(), text.end(), [](char ch) { return ch == '\n' || ch == '\f'; }),
                   text.end());
        while (!text.empty() && text.back() == ' ') text.pop_back();
        texts.push_back(text);
    }
    ASSERT_EQ(sizes.size(), 5u) << info;
    using Size = std::pair<long, long>;
    EXPECT_EQ(sizes[0], Size(595, 842)) << info;  // A4
    EXPECT_EQ(sizes[1], Size(792, 612)) << info;  // Letter, landscape
    EXPECT_EQ(sizes[2], Size(792, 612)) << info;
    EXPECT_EQ(sizes[4], Size(420, 595)) << info;  // A5
    EXPECT_NE(texts[0].find("Section one"), std::string::npos);
    EXPECT_NE(texts[1].find("Section two"), std::string::npos);
    EXPECT_NE(texts[2].find("second page"), std::string::npos);
    EXPECT_EQ(texts[3], "");
    EXPECT_NE(texts[4].find("Section three"), std::string::npos);
}
