// vexword fill reaches every place a reader sees a placeholder: content
// controls, text boxes (and their fallbacks), footnotes, the headers of
// earlier sections and the core properties; fills in one pass (a value is
// never filled again), makes line feeds line breaks, and repeats a table
// row once per item of a JSON array. What LibreOffice shows of the result
// is the judge.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "docx_builder.h"
#include "drawing_snippets.h"
#include "libreoffice.h"
#include "plugin_test.h"
#include "raw_zip.h"
#include "vexword_tool.h"

namespace {

const std::string kRelBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string R(const std::string& text) { return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>"; }
std::string P(const std::string& text) { return "<w:p>" + R(text) + "</w:p>"; }
std::string Cell(const std::string& text) {
    return "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr>" + P(text) + "</w:tc>";
}
std::string Row(const std::string& a, const std::string& b) { return "<w:tr>" + Cell(a) + Cell(b) + "</w:tr>"; }

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class FillReachTest : public PluginTest {
protected:
    ToolResult Vexword(const std::vector<std::string>& args) { return Vexword_Run(args, path("tool-output.txt")); }

    // An invoice template with a placeholder in every place.
    std::string WriteInvoice() {
        DocxParts parts;
        parts.appendSectPr = false;
        const std::string box = docx_anchored_text_box(10, "{city}");
        parts.body =
            "<w:sdt><w:sdtPr><w:alias w:val=\"Company\"/></w:sdtPr><w:sdtContent>" + P("{company}") +
            "</w:sdtContent></w:sdt>"
            "<w:p>" + R("Dear ") + "<w:sdt><w:sdtPr/><w:sdtContent>" + R("{name}") + "</w:sdtContent></w:sdt>" +
            R(",") + "<w:r><w:footnoteReference w:id=\"2\"/></w:r></w:p>" +
            P("Address: {address}") +
            "<w:p>" + R("Ships from") + "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + box +
            "</mc:Choice><mc:Fallback><w:pict><v:rect style=\"position:absolute\"><v:textbox><w:txbxContent>" +
            P("{city}") + "</w:txbxContent></v:textbox></v:rect></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>"
            "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"3000\"/>"
            "<w:gridCol w:w=\"3000\"/></w:tblGrid>" +
            Row("Item", "Amount") + Row("{item}{items}", "{amount}") + Row("Total", "{total}") + "</w:tbl>"
            "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"first\" r:id=\"rIdHeader1\"/>"
            "<w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" "
            "w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/><w:titlePg/></w:sectPr></w:pPr>" +
            R("Page one ends") + "</w:p>" + P("Terms of {company}") +
            "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader2\"/><w:pgSz w:w=\"12240\" "
            "w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\" "
            "w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/></w:sectPr>";
        // The first page's header holds the name split by a proofing mark.
        parts.headers = {{"first", "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>{comp</w:t></w:r><w:proofErr "
                                   "w:type=\"spellStart\"/><w:r><w:t>any} invoice</w:t></w:r></w:p>"},
                         {"default", P("{company}, page two")}};
        parts.core =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><cp:coreProperties "
            "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
            "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Invoice {invoice_no}</dc:title></cp:coreProperties>";
        parts.documentRelationships =
            "<Relationship Id=\"rIdFootnotes\" Type=\"" + kRelBase + "footnotes\" Target=\"footnotes.xml\"/>";
        parts.extraEntries = {
            {"word/footnotes.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:footnotes " + std::string(kDocxNamespaces) +
                 "><w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>"
                 "<w:footnote w:type=\"continuationSeparator\" w:id=\"0\"><w:p><w:r><w:continuationSeparator/></w:r>"
                 "</w:p></w:footnote><w:footnote w:id=\"2\"><w:p><w:r><w:footnoteRef/></w:r>" +
                 R(" Payable to {company}.") + "</w:p></w:footnote></w:footnotes>"}};
        const std::string file = path("invoice-template.docx");
        write_docx(file, parts);
        std::string types = zip_read(file, "[Content_Types].xml");
        types.insert(types.find("</Types>"),
                     "<Override PartName=\"/word/footnotes.xml\" ContentType=\"application/vnd.openxmlformats-"
                     "officedocument.wordprocessingml.footnotes+xml\"/>");
        parts.overrides["[Content_Types].xml"] = types;
        write_docx(file, parts);
        return file;
    }

    std::string WriteValues() {
        const std::string json = path("values.json");
        WriteFile(json,
                  "{\"{company}\": \"Acme\", \"{name}\": \"Mr {total}\", \"{total}\": \"€ 99\", \"{city}\": \"Oslo\","
                  " \"{address}\": \"1 Main Street\\nOslo\", \"{invoice_no}\": 4711,"
                  " \"{items}\": [{\"{item}\": \"Paper\", \"{amount}\": \"€ 5\"}, {\"{item}\": \"Ink\", \"{amount}\": \"€ 7\"}]}");
        return json;
    }
};

}  // namespace

TEST_F(FillReachTest, EveryPlaceAReaderSeesIsFilledInOnePass) {
    const std::string out = path("invoice.docx");
    ToolResult r = Vexword({"fill", WriteInvoice(), out, "--json", WriteValues(), "--across-runs"});
    ASSERT_EQ(r.status, 0) << r.output;
    const ToolResult text = Vexword({"text", out});
    ASSERT_EQ(text.status, 0) << text.output;
    EXPECT_EQ(text.output,
              "Acme\n"
              "Dear Mr {total},[1]\n"  // the value is not filled again
              "Address: 1 Main Street\nOslo\n"
              "Ships from\n"
              "  [text box] Oslo\n"
              "Item\tAmount\n"
              "Paper\t€ 5\n"
              "Ink\t€ 7\n"
              "Total\t€ 99\n"
              "Page one ends\n"
              "Terms of Acme\n"
              "--- Section 1 header (first) ---\n"
              "Acme invoice\n"
              "--- Section 2 header (default) ---\n"
              "Acme, page two\n"
              "--- Footnotes ---\n"
              "[1] Payable to Acme.\n");
    const std::string document = zip_read(out, "word/document.xml");
    EXPECT_EQ(document.find("{city}"), std::string::npos) << "the text box's fallback keeps its placeholder";
    EXPECT_NE(document.find("<w:t>Address: 1 Main Street</w:t><w:br/><w:t xml:space=\"preserve\">Oslo</w:t>"),
              std::string::npos)
        << document;
    EXPECT_NE(Vexword({"info", out}).output.find("Title: Invoice 4711\n"), std::string::npos);
    const ToolResult check = Vexword({"check", out});
    EXPECT_EQ(check.status, 0) << check.output;
}

TEST_F(FillReachTest, LibreOfficeShowsEveryValue) {
    if (!libreoffice_available() || !pdf_tools_available()) GTEST_SKIP() << "LibreOffice or poppler is not installed";
    const std::string out = path("shown.docx");
    ASSERT_EQ(Vexword({"fill", WriteInvoice(), out, "--json", WriteValues(), "--across-runs"}).status, 0);
    ASSERT_TRUE(libreoffice_convert(out, "pdf", outDir()));
    const std::string first = pdf_page_text(path("shown.pdf"), 1), second = pdf_page_text(path("shown.pdf"), 2);
    for (const char* shown : {"Acme invoice", "Dear Mr {total},", "Oslo", "Paper", "Ink", "€ 99"})
        EXPECT_NE(first.find(shown), std::string::npos) << shown << "\n" << first;
    EXPECT_NE(second.find("Acme, page two"), std::string::npos) << second;
    // The address on two lines, the items in order.
    const std::string squeezed = Text_Squeezed(first);
    EXPECT_NE(first.find("1 Main Street\n"), std::string::npos) << first;
    EXPECT_LT(squeezed.find("Paper"), squeezed.find("Ink"));
    for (const char* placeholder : {"{company}", "{item}", "{amount}", "{city}", "{comp"})
        EXPECT_EQ((first + second).find(placeholder), std::string::npos) << placeholder;
}

TEST_F(FillReachTest, SplitPlaceholdersOfEarlierSectionsAreNamed) {
    const ToolResult r = Vexword({"fill", WriteInvoice(), path("warned.docx"), "{company}=Acme"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("warning: \"{company}\" is split across runs in 1 paragraph (section 1 header (first);"),
              std::string::npos)
        << r.output;
    EXPECT_NE(zip_read(path("warned.docx"), "word/header1.xml").find("{comp"), std::string::npos);
}

// An empty item list takes out the row marked with the list's name; a CSV
// batch fills a letter a row, every place reached.
TEST_F(FillReachTest, NoItemsRemoveTheRowAndABatchFillsEveryPlace) {
    const std::string json = path("none.json");
    WriteFile(json, "{\"{total}\": \"0\", \"{items}\": []}");
    const std::string out = path("empty.docx");
    ASSERT_EQ(Vexword({"fill", WriteInvoice(), out, "--json", json}).status, 0);
    const std::string text = Vexword({"text", out}).output;
    EXPECT_NE(text.find("Item\tAmount\nTotal\t0\n"), std::string::npos) << text;

    std::string csv = "{company},{name},{city}\n";
    for (int i = 1; i <= 200; ++i) csv += "Firm " + std::to_string(i) + ",Client " + std::to_string(i) + ",Town\n";
    WriteFile(path("rows.csv"), csv);
    const std::string dir = path("letters");
    const ToolResult batch = Vexword({"fill", WriteInvoice(), "--csv", path("rows.csv"), "--out", dir, "--across-runs"});
    ASSERT_EQ(batch.status, 0) << batch.output;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) files += entry.path().extension() == ".docx";
    EXPECT_EQ(files, 200u);
    const ToolResult letter = Vexword({"text", dir + "/row-137.docx"});
    for (const char* shown : {"Firm 137\n", "Dear Client 137,", "[text box] Town", "Firm 137 invoice", "Payable to Firm 137."})
        EXPECT_NE(letter.output.find(shown), std::string::npos) << shown << "\n" << letter.output;
    EXPECT_EQ(Vexword({"check", dir + "/row-137.docx"}).status, 0);
    if (!libreoffice_available() || !pdf_tools_available()) return;
    // What a reader of the row's letter sees, page by page.
    ASSERT_TRUE(libreoffice_convert(dir + "/row-137.docx", "pdf", outDir()));
    const std::string first = pdf_page_text(path("row-137.pdf"), 1), second = pdf_page_text(path("row-137.pdf"), 2);
    for (const char* shown : {"Firm 137 invoice", "Firm 137", "Dear Client 137,", "Town", "Payable to Firm 137."})
        EXPECT_NE(first.find(shown), std::string::npos) << shown << "\n" << first;
    EXPECT_NE(second.find("Terms of Firm 137"), std::string::npos) << second;
    for (const char* placeholder : {"{company}", "{name}", "{city}", "{comp"})
        EXPECT_EQ((first + second).find(placeholder), std::string::npos) << placeholder;
}

// A placeholder split inside a field's result is joined there; one that
// crosses into the field is named.
TEST_F(FillReachTest, SplitInsideAFieldResultIsJoined) {
    auto fldChar = [](const char* type) { return std::string("<w:r><w:fldChar w:fldCharType=\"") + type + "\"/></w:r>"; };
    write_docx(path("field.docx"),
               "<w:p>" + fldChar("begin") + "<w:r><w:instrText xml:space=\"preserve\"> REF x </w:instrText></w:r>" +
                   fldChar("separate") + "<w:r><w:rPr><w:b/></w:rPr><w:t>{na</w:t></w:r>" + R("me} here") +
                   fldChar("end") + "</w:p>" + P("And {name} whole"));
    const ToolResult r = Vexword({"fill", path("field.docx"), path("field-out.docx"), "{name}=Ann", "--across-runs"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(Vexword({"text", path("field-out.docx")}).output, "Ann here\nAnd Ann whole\n");
}

// A main part of megabytes is deflated in pieces side by side and joined:
// every paragraph reads back, the line breaks of a value in each.
TEST_F(FillReachTest, ALargeBodyIsWrittenWhole) {
    const int paragraphs = 40000;
    std::string body, expected;
    for (int i = 0; i < paragraphs; ++i) {
        body += P("Line " + std::to_string(i) + " to {name}, " + std::string(i % 7, 'x') + "{total} due.");
        expected += "Line " + std::to_string(i) + " to Ann\nBo, " + std::string(i % 7, 'x') + "€ 5 due.\n";
    }
    write_docx(path("large.docx"), body);
    const ToolResult r =
        Vexword({"fill", path("large.docx"), path("large-out.docx"), "{name}=Ann\nBo", "{total}=€ 5"});
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_GT(zip_read(path("large-out.docx"), "word/document.xml").size(), size_t(4) << 20);
    const ToolResult text = Vexword({"text", path("large-out.docx")});
    ASSERT_EQ(text.status, 0) << text.output.substr(0, 500);
    EXPECT_TRUE(text.output == expected) << text.output.substr(0, 500);
    const ToolResult check = Vexword({"check", path("large-out.docx")});
    EXPECT_EQ(check.status, 0) << check.output;
}

// The fill reads the template's parts without their checksums while the
// plug-in opens it: a damaged part is still refused, and nothing written.
TEST_F(FillReachTest, ATemplateWithAWrongChecksumIsRefused) {
    write_docx(path("good.docx"), P("Dear {name},"));
    std::ifstream in(path("good.docx"), std::ios::binary);
    std::vector<raw_zip::Entry> entries = raw_zip::Read(std::string(std::istreambuf_iterator<char>(in), {}));
    bool damaged = false;
    for (raw_zip::Entry& entry : entries)
        if (entry.name == "word/document.xml") {
            entry.crc ^= 1;
            damaged = true;
        }
    ASSERT_TRUE(damaged);
    WriteFile(path("damaged.not-a-docx"), raw_zip::Write(entries));
    const ToolResult r = Vexword({"fill", path("damaged.not-a-docx"), path("damaged-out.docx"), "{name}=Ann"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("WordException"), std::string::npos) << r.output;
    EXPECT_FALSE(std::filesystem::exists(path("damaged-out.docx")));
}

// LibreOffice's own .docx of the template: its way of writing content
// controls, text boxes, notes and sections is filled as well.
TEST_F(FillReachTest, ATemplateLibreOfficeWroteIsFilledEverywhere) {
    if (!libreoffice_available()) GTEST_SKIP() << "LibreOffice is not installed";
    const std::string dir = path("libreoffice");
    ASSERT_TRUE(libreoffice_convert(WriteInvoice(), "docx", dir));
    const std::string out = path("from-libreoffice.docx");
    const ToolResult r = Vexword({"fill", dir + "/invoice-template.docx", out, "--json", WriteValues(), "--across-runs"});
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string text = Vexword({"text", out}).output;
    for (const char* shown : {"Acme\n", "Dear Mr {total},", "1 Main Street\nOslo", "[text box] Oslo", "Paper\t€ 5\n",
                              "Ink\t€ 7\n", "Acme invoice", "Acme, page two", "Payable to Acme."})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
    for (const char* placeholder : {"{company}", "{item}", "{city}", "{address}"})
        EXPECT_EQ(text.find(placeholder), std::string::npos) << placeholder << "\n" << text;
    EXPECT_EQ(Vexword({"check", out}).status, 0);
}
