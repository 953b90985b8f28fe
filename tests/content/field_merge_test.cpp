// ApplyFieldData through the loaded plug-in: what is replaced and what is
// not, where a document merge looks, run merges, blanks and characters XML
// forbids, and hosts without ReplaceAll.
#include <filesystem>

#include "paragraph_fixture.h"

using vexrt::Object;

namespace {

class FieldMergeTest : public ParagraphFixture {
protected:
    void Merge(const Object& o, const std::string& name, const std::string& data) {
        rt().call(o, "ApplyFieldData", {name, data});
    }
    // A part of a saved copy, parsed: its root element.
    pugi::xml_node SavedPart(const std::string& file, const std::string& entry, pugi::xml_document& xml) {
        const std::string bytes = zip_read(path(file), entry);
        EXPECT_TRUE(xml.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata))
            << entry << " is not well-formed";
        return xml.document_element();
    }
    // The text of every w:t of a part, one a line.
    std::string TextsOf(const std::string& file, const std::string& entry) {
        pugi::xml_document xml;
        std::string texts;
        for (pugi::xpath_node t : SavedPart(file, entry, xml).select_nodes(".//w:t"))
            texts += std::string(t.node().child_value()) + "\n";
        return texts;
    }
};

const char* const kDrawingRun = "<w:r><w:rPr/><w:drawing/><w:t>caption {x}</w:t></w:r>";
const char* const kShapeRun =
    "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing/></mc:Choice>"
    "<mc:Fallback><w:pict/></mc:Fallback></mc:AlternateContent><w:t>{x}</w:t></w:r>";

}  // namespace

// Only a placeholder wholly inside one w:t is replaced, every time it
// occurs there; a hyperlink's runs give their first w:t only; field
// instructions and other elements are left alone.
TEST_F(FieldMergeTest, ParagraphMergeReplacesPlaceholdersWholeInOneTextElement) {
    Opened o = OpenParagraph(
        "paragraph.docx",
        "<w:r><w:t xml:space=\"preserve\">Dear {x}, {x} </w:t><w:tab/><w:t>{x}</w:t></w:r>"
        "<w:r><w:t>{</w:t></w:r><w:proofErr w:type=\"spellStart\"/><w:r><w:rPr><w:b/></w:rPr><w:t>x}</w:t></w:r>"
        "<w:hyperlink w:anchor=\"top\"><w:r><w:t>go {x}</w:t><w:t>{x} stays</w:t></w:r>"
        "<w:r><w:t>{x}</w:t></w:r></w:hyperlink>"
        "<w:r><w:instrText>{x}</w:instrText><w:delText>{x}</w:delText></w:r>"
        "<w:ins w:id=\"1\" w:author=\"a\"><w:r><w:t>{x}</w:t></w:r></w:ins>");
    // The host dispatches DocumentItem.ApplyFieldData to the paragraph's own.
    Object item = Call(o.doc, "Item", {0});
    ASSERT_TRUE(item);
    Merge(item, "{x}", "Ann\tLee");
    std::vector<std::string> saved = SavedParagraphs(o.doc, "paragraph-merged.docx");
    EXPECT_EQ(saved[0],
              "<w:p><w:r><w:t xml:space=\"preserve\">Dear Ann\tLee, Ann\tLee </w:t><w:tab/><w:t>Ann\tLee</w:t></w:r>"
              "<w:r><w:t>{</w:t></w:r><w:proofErr w:type=\"spellStart\"/><w:r><w:rPr><w:b/></w:rPr><w:t>x}</w:t></w:r>"
              "<w:hyperlink w:anchor=\"top\"><w:r><w:t>go Ann\tLee</w:t><w:t>{x} stays</w:t></w:r>"
              "<w:r><w:t>Ann\tLee</w:t></w:r></w:hyperlink>"
              "<w:r><w:instrText>{x}</w:instrText><w:delText>{x}</w:delText></w:r>"
              "<w:ins w:id=\"1\" w:author=\"a\"><w:r><w:t>{x}</w:t></w:r></w:ins></w:p>");
    // A name that occurs nowhere changes nothing, nor does an empty one.
    Merge(o.paragraph, "{absent}", "y");
    Merge(o.paragraph, "", "y");
    EXPECT_EQ(SavedParagraphs(o.doc, "paragraph-again.docx")[0], saved[0]);
}

// Blanks at either end of a new text are kept by xml:space="preserve", or
// word processors drop them; characters XML forbids never enter the tree.
TEST_F(FieldMergeTest, BlanksAreKeptAndForbiddenCharactersDropped) {
    Object doc = OpenBody("blanks.docx",
                          "<w:p><w:r><w:t>{a}</w:t></w:r></w:p><w:p><w:r><w:t>x{b}</w:t></w:r></w:p>"
                          "<w:p><w:r><w:t>{c}</w:t></w:r></w:p>"
                          "<w:p><w:r><w:t xml:space=\"default\">{a}</w:t></w:r></w:p>");
    // A text that holds a character XML forbids (a host wrote it; saving
    // drops it) is replaced on its own, not joined with others.
    Call(doc, "AppendParagraph", {"keep\x01{c}"});
    Merge(doc, "{a}", " padded ");
    Merge(doc, "{b}", "tail\t");
    Merge(doc, "{c}", std::string("a\x01" "b\x0b" "c\x1f" "d\ne", 10) + std::string(1, '\0') + "f");
    std::vector<std::string> saved = SavedParagraphs(doc, "blanks-merged.docx");
    ASSERT_EQ(saved.size(), 5u);
    EXPECT_EQ(saved[4], "<w:p><w:r><w:rPr/><w:t>keepabcd\nef</w:t></w:r></w:p>");
    EXPECT_EQ(saved[0], "<w:p><w:r><w:t xml:space=\"preserve\"> padded </w:t></w:r></w:p>");
    EXPECT_EQ(saved[1], "<w:p><w:r><w:t xml:space=\"preserve\">xtail\t</w:t></w:r></w:p>");
    EXPECT_EQ(saved[2], "<w:p><w:r><w:t>abcd\nef</w:t></w:r></w:p>");
    EXPECT_EQ(saved[3], "<w:p><w:r><w:t xml:space=\"preserve\"> padded </w:t></w:r></w:p>");

    // Another reader sees the blanks.
    std::vector<std::string> read = python_docx_paragraphs(path("blanks-merged.docx"));
    if (!read.empty()) {
        EXPECT_EQ(read[0], " padded ");
        EXPECT_EQ(read[1], "xtail\t");
    }
}

// A document merge fills the body, tables nested at any depth, and every
// header and footer part of every section, each part once however many
// sections refer to it; it makes no header or footer.
TEST_F(FieldMergeTest, DocumentMergeVisitsBodyTablesAndEveryHeaderAndFooterOnce) {
    DocxParts parts;
    parts.appendSectPr = false;
    parts.headers = {{"default", "<w:p><w:r><w:t>first section {x}</w:t></w:r></w:p>"},
                     {"default", "<w:p><w:r><w:t>last section {x}</w:t></w:r></w:p>"},
                     {"even", docx_table({{"<w:p><w:r><w:t>even {x}</w:t></w:r></w:p>"}}) + "<w:p/>"}};
    parts.footers = {
        {"default", "<w:p><w:hyperlink w:anchor=\"a\"><w:r><w:t>shared {x}</w:t></w:r></w:hyperlink></w:p>"}};
    const std::string nested = docx_table({{"<w:p><w:r><w:t>inner {x}</w:t></w:r></w:p>"}});
    const std::string table = docx_table(
        {{"<w:p><w:r><w:t>cell {x}</w:t></w:r></w:p>", "<w:p><w:r><w:t>before</w:t></w:r></w:p>" + nested + "<w:p/>"}});
    const std::string margins =
        "<w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" "
        "w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/>";
    parts.body =
        "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader1\"/>"
        "<w:headerReference w:type=\"first\" r:id=\"rIdHeader2\"/>"
        "<w:footerReference w:type=\"default\" r:id=\"rIdFooter1\"/>" + margins +
        "<w:titlePg/></w:sectPr></w:pPr><w:r><w:t>body {x}</w:t></w:r></w:p>" + table +
        "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader2\"/>"
        "<w:headerReference w:type=\"even\" r:id=\"rIdHeader3\"/>"
        "<w:footerReference w:type=\"default\" r:id=\"rIdFooter1\"/>"
        "<w:footerReference w:type=\"first\" r:id=\"rIdFooter1\"/>" + margins + "</w:sectPr>";
    write_docx(path("sections.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("sections.docx"))}).object();
    // A part merged twice would show the data's own placeholder replaced.
    Merge(doc, "{x}", "[{x}]");
    SaveCopy(doc, "sections-merged.docx");
    const std::string out = "sections-merged.docx";
    EXPECT_EQ(TextsOf(out, "word/document.xml"), "body [{x}]\ncell [{x}]\nbefore\ninner [{x}]\n");
    EXPECT_EQ(TextsOf(out, "word/header1.xml"), "first section [{x}]\n");
    EXPECT_EQ(TextsOf(out, "word/header2.xml"), "last section [{x}]\n");
    EXPECT_EQ(TextsOf(out, "word/header3.xml"), "even [{x}]\n");
    EXPECT_EQ(TextsOf(out, "word/footer1.xml"), "shared [{x}]\n");
    EXPECT_EQ(zip_entries(path(out)).size(), zip_entries(path("sections.docx")).size());

    // A header's own merge stays in its part; a table's in its table.
    Object header = Call(doc, "Header", {0, false});
    ASSERT_TRUE(header);
    Merge(header, "[{x}]", "H");
    Object tableView = Call(doc, "Table", {0});
    ASSERT_TRUE(tableView);
    Merge(tableView, "[{x}]", "T");
    SaveCopy(doc, "sections-parts.docx");
    EXPECT_EQ(TextsOf("sections-parts.docx", "word/document.xml"), "body [{x}]\ncell T\nbefore\ninner T\n");
    EXPECT_EQ(TextsOf("sections-parts.docx", "word/header2.xml"), "last section H\n");
    EXPECT_EQ(TextsOf("sections-parts.docx", "word/header1.xml"), "first section [{x}]\n");
}

// A document without headers or footers gets none from a merge.
TEST_F(FieldMergeTest, DocumentMergeMakesNoHeaderOrFooter) {
    Object doc = Create("plain.new.docx");
    Call(doc, "AppendParagraph", {"Hello {x}"});
    Merge(doc, "{x}", "there");
    EXPECT_FALSE(Call(doc, "Header", {0, false}));
    EXPECT_FALSE(Call(doc, "Footer", {0, false}));
    SaveCopy(doc, "plain-merged.new.docx");
    for (const std::string& entry : zip_entries(path("plain-merged.new.docx")))
        EXPECT_EQ(entry.find("header"), std::string::npos) << entry;
    EXPECT_NE(zip_read(path("plain-merged.new.docx"), "word/document.xml").find("Hello there"), std::string::npos);
}

// A run merge works on the run's whole text and rebuilds it only when the
// text changes: tabs in data become w:tab; a run that does not match keeps
// its children where they were and raises nothing, even on pictures and
// shapes; one that does raises the Text setter's errors.
TEST_F(FieldMergeTest, RunMergeRebuildsOnlyWhatChanges) {
    Opened o = OpenParagraph("runs.docx",
                             "<w:r><w:t>a {x}</w:t></w:r>"
                             "<w:r><w:t>before</w:t><w:br w:type=\"page\"/><w:t>after</w:t></w:r>" +
                                 std::string(kDrawingRun) + kShapeRun + Field(" TIME ", "{x} o'clock"));
    Object first = Call(o.paragraph, "Run", {0});
    Merge(first, "{x}", "b\tc ");
    Object pageBreak = Call(o.paragraph, "Run", {1});
    Merge(pageBreak, "{x}", "nothing");
    Object drawing = Call(o.paragraph, "Run", {2});
    Object shape = Call(o.paragraph, "Run", {3});
    Merge(drawing, "{absent}", "nothing");
    Merge(shape, "{absent}", "nothing");
    EXPECT_RAISED(Merge(drawing, "{x}", "y"), "VexlomarWord.WordException", "Text cannot be set on drawing Run", -25);
    EXPECT_RAISED(Merge(shape, "{x}", "y"), "VexlomarWord.WordException", "Text cannot be set on shape Run", -26);
    // A field's run merges into the result the field shows.
    Object field = Call(o.paragraph, "LogicalRun", {4});
    ASSERT_TRUE(field);
    Merge(field, "{x}", "12");
    EXPECT_EQ(Str(field, "Text"), "12 o'clock");

    const std::vector<std::string> saved = SavedParagraphs(o.doc, "runs-merged.docx");
    EXPECT_EQ(saved[0],
              "<w:p><w:r><w:t>a b</w:t><w:tab/><w:t xml:space=\"preserve\">c </w:t></w:r>"
              "<w:r><w:t>before</w:t><w:br w:type=\"page\"/><w:t>after</w:t></w:r>" +
                  std::string(kDrawingRun) + kShapeRun + Field(" TIME ", "12 o'clock") + "</w:p>");
}

// A host without ReplaceAll (or a plug-in loaded outside a built
// application) gets our own replacement, with the same result.
TEST_F(FieldMergeTest, HostsWithoutReplaceAllUseOurOwnReplacement) {
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>{x} and {x}</w:t></w:r></w:p>";
    parts.headers = {{"default", "<w:p><w:r><w:t>head {x}</w:t></w:r></w:p>"}};
    write_docx(path("fallback.docx"), parts);
    vexrt::HostOptions withheld;
    withheld.withheld = {"ReplaceAll(source as String, oldString as String, newString as String) as String"};
    vexrt::HostOptions designTime;
    designTime.inRuntime = false;
    int n = 0;
    for (const vexrt::HostOptions& options : {withheld, designTime}) {
        vexrt::Runtime host(options);
        host.loadPlugin(VEXWORD_PLUGIN_PATH, /*freshCopy=*/true);
        const std::string out = "fallback-" + std::to_string(n++) + ".docx";
        {
            Object doc = host.callShared("Document", "Open", {host.makeFolderItem(path("fallback.docx"))}).object();
            host.call(doc, "ApplyFieldData", {"{x}", " y\x01"});
            Object p = host.call(doc, "Paragraph", {0}).object();
            host.call(host.call(p, "Run", {0}).object(), "ApplyFieldData", {"and", "&"});
            host.call(doc, "SaveAs", {host.makeFolderItem(path(out))});
        }
        EXPECT_EQ(host.liveObjects(), 0u);
        EXPECT_EQ(host.liveStrings(), 0u);
        EXPECT_EQ(TextsOf(out, "word/document.xml"), " y &  y\n");
        EXPECT_EQ(TextsOf(out, "word/header1.xml"), "head  y\n");
    }
}

// Texts go to the replacement many at a time: across chunk boundaries
// every text gets its own piece back, and only changed ones are written.
TEST_F(FieldMergeTest, LargeDocumentsKeepEveryTextInItsPlace) {
    std::string body;
    const int kParagraphs = 20000;
    for (int i = 0; i < kParagraphs; ++i)
        body += "<w:p><w:r><w:t>p" + std::to_string(i) + (i % 3 ? " {x}" : "") + "</w:t></w:r><w:r><w:t/></w:r></w:p>";
    Object doc = OpenBody("large.docx", body);
    Merge(doc, "{x}", "<" + std::string(40, '=') + ">");
    SaveCopy(doc, "large-merged.docx");
    const std::string texts = TextsOf("large-merged.docx", "word/document.xml");
    std::string expected;
    for (int i = 0; i < kParagraphs; ++i)
        expected += "p" + std::to_string(i) + (i % 3 ? " <" + std::string(40, '=') + ">" : "") + "\n\n";
    EXPECT_TRUE(texts == expected) << "the merged texts differ from the expected ones";
}
