// vexword placeholders on a template that holds them wherever a word
// processor puts them (body, cells, content controls, text boxes, notes,
// an earlier section's header, split across runs, in a field's code, in the
// core properties), and what vexword fill says of a fill: the names given
// that match nothing, the placeholders it left, --strict, and CSV batches.
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "docx_builder.h"
#include "drawing_snippets.h"
#include "libreoffice.h"
#include "plugin_test.h"
#include "vexword_tool.h"

namespace {

std::string R(const std::string& text) { return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>"; }
std::string P(const std::string& text) { return "<w:p>" + R(text) + "</w:p>"; }
std::string FieldChar(const char* type) { return "<w:r><w:fldChar w:fldCharType=\"" + std::string(type) + "\"/></w:r>"; }

std::string Core(const std::string& title) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><cp:coreProperties "
           "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>" + title + "</dc:title>"
           "<dc:creator>Ada</dc:creator></cp:coreProperties>";
}

const std::string kRelBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string Relationship(const std::string& id, const std::string& type, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelBase + type + "\" Target=\"" + target + "\"/>";
}

std::string Notes(const char* element, const std::string& normal) {
    std::string xml = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:") + element +
                      "s " + kDocxNamespaces + ">";
    for (const char* id : {"-1", "0"})
        xml += std::string("<w:") + element + " w:type=\"" + (id[0] == '-' ? "separator" : "continuationSeparator") +
               "\" w:id=\"" + id + "\"><w:p><w:r><w:separator/></w:r></w:p></w:" + element + ">";
    return xml + normal + "</w:" + element + "s>";
}

class VexwordPlaceholdersTest : public PluginTest {
protected:
    ToolResult Vexword(const std::vector<std::string>& args) { return Vexword_Run(args, path("tool-output.txt")); }

    static void WriteFile(const std::string& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    // A template with a placeholder in every place one can be.
    std::string WriteEverywhere() {
        const std::string file = path("everywhere.docx");
        DocxParts parts;
        parts.appendSectPr = false;
        std::string& body = parts.body;
        body = P("Dear {name},");
        body += docx_table({{P("City")}, {P("{city}")}});
        body += "<w:sdt><w:sdtPr><w:alias w:val=\"Company\"/></w:sdtPr><w:sdtContent>" + P("{company} Ltd") +
                "</w:sdtContent></w:sdt>";
        // A text box as alternate content: its fallback says the same again
        // and is not read.
        body += "<w:p>" + R("Boxed") + "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" +
                docx_anchored_text_box(10, "Ref. {reference}") +
                "</mc:Choice><mc:Fallback><w:pict><v:rect style=\"position:absolute\"><v:textbox><w:txbxContent>" +
                P("Ref. {reference}") + "</w:txbxContent></v:textbox></v:rect></w:pict></mc:Fallback>"
                "</mc:AlternateContent></w:r></w:p>";
        // A proofing mark and a change of format inside one placeholder.
        body += "<w:p>" + R("On {da") + "<w:proofErr w:type=\"spellStart\"/><w:r><w:rPr><w:b/></w:rPr>"
                "<w:t>te}</w:t></w:r><w:proofErr w:type=\"spellEnd\"/></w:p>";
        // A field: its code cannot be filled, its result can.
        body += "<w:p>" + FieldChar("begin") +
                "<w:r><w:instrText xml:space=\"preserve\"> MERGEFIELD {code} </w:instrText></w:r>" +
                FieldChar("separate") + R("\xC2\xABmerged\xC2\xBB") + FieldChar("end") + "</w:p>";
        body += "<w:p><w:hyperlink w:anchor=\"_Top\">" + R("[[link]]") + "</w:hyperlink>" +
                "<w:del w:id=\"1\" w:author=\"Ada\" w:date=\"2026-01-01T00:00:00Z\"><w:r><w:delText>{gone}</w:delText>"
                "</w:r></w:del>" + R(" with a note") + "<w:r><w:footnoteReference w:id=\"1\"/></w:r></w:p>";
        body += "<w:p><w:commentRangeStart w:id=\"0\"/>" + R("Commented") +
                "<w:commentRangeEnd w:id=\"0\"/><w:r><w:commentReference w:id=\"0\"/></w:r></w:p>";
        // The first section's title page header, then the last section.
        body += "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader1\"/>"
                "<w:headerReference w:type=\"first\" r:id=\"rIdHeader2\"/><w:pgSz w:w=\"12240\" w:h=\"15840\"/>"
                "<w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\" w:header=\"720\" "
                "w:footer=\"720\" w:gutter=\"0\"/><w:titlePg/></w:sectPr></w:pPr>" + R("End of part one") + "</w:p>";
        body += P("Part two, &lt;&lt;name&gt;&gt; again, {name} again");
        body += "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader3\"/><w:pgSz w:w=\"12240\" "
                "w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\" "
                "w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/></w:sectPr>";
        parts.headers = {{"default", P("Header")}, {"first", P("{company} letters")}, {"default", P("Page")}};
        parts.core = Core("Letter to {name}");
        parts.documentRelationships = Relationship("rIdFootnotes", "footnotes", "footnotes.xml") +
                                      Relationship("rIdComments", "comments", "comments.xml");
        parts.extraEntries = {
            {"word/footnotes.xml",
             Notes("footnote", "<w:footnote w:id=\"1\"><w:p><w:r><w:footnoteRef/></w:r>" + R(" Signed {signer}") +
                                   "</w:p></w:footnote>")},
            {"word/comments.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:comments " +
                                      std::string(kDocxNamespaces) + "><w:comment w:id=\"0\" w:author=\"Grace\" "
                                      "w:date=\"2026-01-01T00:00:00Z\" w:initials=\"G\">" + P("Ask {nobody}") +
                                      "</w:comment></w:comments>"},
        };
        write_docx(file, parts);
        std::string types = zip_read(file, "[Content_Types].xml");
        const std::string main = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
        types.insert(types.find("</Types>"),
                     "<Override PartName=\"/word/footnotes.xml\" ContentType=\"" + main + "footnotes+xml\"/>"
                     "<Override PartName=\"/word/comments.xml\" ContentType=\"" + main + "comments+xml\"/>");
        parts.overrides["[Content_Types].xml"] = types;
        write_docx(file, parts);
        return file;
    }

    // A letter: a placeholder in the body twice, one in a cell, one in the
    // header.
    std::string WriteLetter() {
        const std::string file = path("letter.docx");
        DocxParts parts;
        parts.body = P("Dear {name} of {city},") + docx_table({{P("{name}")}}) + P("Regards");
        parts.headers = {{"default", P("{company}")}};
        write_docx(file, parts);
        return file;
    }
};

const char kEverywhere[] =
    "{name}       body                      2 times\n"
    "{city}       body table 1 cell 2,1\n"
    "{company}    body\n"
    "{reference}  body text box\n"
    "{date}       body                      split across runs\n"
    "\xC2\xABmerged\xC2\xBB     body\n"
    "{code}       body                      in a field code: cannot be filled\n"
    "[[link]]     body\n"
    "<<name>>     body\n"
    "{company}    section 1 header (first)\n"
    "{signer}     footnote 1\n"
    "{name}       core properties (title)\n";

}  // namespace

TEST_F(VexwordPlaceholdersTest, EveryPlaceATemplateHoldsThem) {
    const ToolResult r = Vexword({"placeholders", WriteEverywhere()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, kEverywhere);
}

TEST_F(VexwordPlaceholdersTest, PatternReplacesTheDefaults) {
    DocxParts parts;
    parts.body = P("Dear $NAME, {not this} from $CITY") + P("$NAME again");
    write_docx(path("dollars.docx"), parts);
    ToolResult r = Vexword({"placeholders", path("dollars.docx"), "--pattern", "\\$[A-Z]+"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "$NAME  body  2 times\n$CITY  body\n");

    // Two patterns: either.
    r = Vexword({"placeholders", "--pattern", "\\$CITY", "--pattern", "\\{[a-z ]+\\}", path("dollars.docx")});
    EXPECT_EQ(r.output, "{not this}  body\n$CITY       body\n");

    r = Vexword({"placeholders", path("dollars.docx"), "--pattern", "(unclosed"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("--pattern \"(unclosed\" is not a regular expression"), std::string::npos) << r.output;

    // None found: nothing on standard output, and a word on standard error.
    write_docx(path("plain.docx"), P("Nothing to fill"));
    r = Vexword({"placeholders", path("plain.docx")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "vexword placeholders: " + path("plain.docx") + " holds no placeholders\n");
}

// A split --across-runs joins, and splits it cannot: across a link's or a
// content control's edge, into a field's result. What the listing says of
// them is what a fill with --across-runs leaves.
TEST_F(VexwordPlaceholdersTest, SplitsThatCannotBeJoinedAreSaidToBe) {
    const std::string body =
        "<w:p>" + R("Dear {na") + "<w:proofErr w:type=\"spellStart\"/><w:r><w:rPr><w:b/></w:rPr><w:t>me}</w:t></w:r>"
        "<w:proofErr w:type=\"spellEnd\"/></w:p>"
        "<w:p>" + R("See {li") + "<w:hyperlink w:anchor=\"_Top\">" + R("nk}") + "</w:hyperlink></w:p>"
        "<w:p>" + R("For {cl") + "<w:sdt><w:sdtPr/><w:sdtContent>" + R("ient}") + "</w:sdtContent></w:sdt></w:p>"
        "<w:p>" + R("On {da") + FieldChar("begin") +
        "<w:r><w:instrText xml:space=\"preserve\"> TIME </w:instrText></w:r>" + FieldChar("separate") + R("te}") +
        FieldChar("end") + "</w:p>";
    write_docx(path("splits.docx"), body);
    ToolResult r = Vexword({"placeholders", path("splits.docx")});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "{name}    body  split across runs\n"
              "{link}    body  split across runs that cannot be joined\n"
              "{client}  body  split across runs that cannot be joined\n"
              "{date}    body  split across runs that cannot be joined\n");

    const std::vector<std::string> pairs = {"{name}=Ada", "{link}=L", "{client}=C", "{date}=D"};
    std::vector<std::string> strict = {"fill", path("splits.docx"), path("splits-strict.docx"), "--across-runs",
                                       "--strict"};
    strict.insert(strict.end(), pairs.begin(), pairs.end());
    r = Vexword(strict);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("vexword fill: {link} (body) would be left: split across runs that cannot be joined\n"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("{name} (body) would be left"), std::string::npos) << r.output;
    EXPECT_FALSE(std::filesystem::exists(path("splits-strict.docx")));

    std::vector<std::string> fill = {"fill", path("splits.docx"), path("splits-filled.docx"), "--across-runs"};
    fill.insert(fill.end(), pairs.begin(), pairs.end());
    r = Vexword(fill);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(" still holds {link} (body; split across runs that cannot be joined), {client} (body; "
                            "split across runs that cannot be joined), {date} (body; split across runs that cannot "
                            "be joined)\n"),
              std::string::npos)
        << r.output;
}

// Long paragraphs: an opening mark never closed, and thousands of
// placeholders one after the other, each found whole wherever it lies.
TEST_F(VexwordPlaceholdersTest, LongParagraphsAreReadWhole) {
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "{p" + std::to_string(i) + "} ";
    DocxParts parts;
    parts.body = P("{" + std::string(300000, 'a') + " {late}") + P("[[" + std::string(300000, 'b')) + P(many);
    write_docx(path("long.docx"), parts);
    const ToolResult r = Vexword({"placeholders", "--json", path("long.docx")});
    ASSERT_EQ(r.status, 0) << r.output.substr(0, 2000);
    const nlohmann::json found = nlohmann::json::parse(r.output)["placeholders"];
    ASSERT_EQ(found.size(), 5001u);
    EXPECT_EQ(found[0]["text"], "{late}");
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(found[size_t(i) + 1]["text"], "{p" + std::to_string(i) + "}");
        ASSERT_EQ(found[size_t(i) + 1]["count"], 1);
    }
}

TEST_F(VexwordPlaceholdersTest, JsonHoldsWhatTheLinesSay) {
    const std::string file = WriteEverywhere();
    const ToolResult r = Vexword({"placeholders", "--json", file});
    ASSERT_EQ(r.status, 0) << r.output;
    const nlohmann::json json = nlohmann::json::parse(r.output);
    EXPECT_EQ(json["file"], file);
    EXPECT_EQ(json["patterns"].size(), 4u);
    const nlohmann::json& found = json["placeholders"];
    ASSERT_EQ(found.size(), 12u) << r.output;
    EXPECT_EQ(found[0]["text"], "{name}");
    EXPECT_EQ(found[0]["count"], 2);
    EXPECT_EQ(found[0]["part"], "word/document.xml");
    EXPECT_EQ(found[4]["text"], "{date}");
    EXPECT_EQ(found[4]["split"], true);
    EXPECT_EQ(found[4]["joinable"], true);
    EXPECT_EQ(found[6]["fieldCode"], true);
    EXPECT_EQ(found[9]["where"], "section 1 header (first)");
    EXPECT_EQ(found[9]["part"], "word/header2.xml");
    EXPECT_EQ(found[10]["part"], "word/footnotes.xml");
    EXPECT_EQ(found[11]["part"], "docProps/core.xml");
    EXPECT_EQ(found[11]["split"], false);
}

// Each placeholder the tool lists in the text of the document (its field
// codes and core properties aside) is on LibreOffice's pages, whole, the
// split one too.
TEST_F(VexwordPlaceholdersTest, TheListedPlaceholdersAreWhatLibreOfficeShows) {
    if (!libreoffice_available() || !pdf_tools_available()) GTEST_SKIP() << "LibreOffice or poppler is not installed";
    const std::string file = WriteEverywhere();
    const ToolResult r = Vexword({"placeholders", "--json", file});
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_TRUE(libreoffice_convert(file, "pdf", outDir()));
    const std::string pdf = command_output("pdftotext -raw '" + path("everywhere.pdf") + "' -");
    const nlohmann::json listed = nlohmann::json::parse(r.output);
    // What is on the pages; a field's code and the core properties are not
    // (unless the same text stands somewhere shown too).
    std::set<std::string> shown;
    for (const nlohmann::json& found : listed["placeholders"]) {
        const std::string text = found["text"], where = found["where"];
        if (found["fieldCode"] == true || where.rfind("core properties", 0) == 0) continue;
        shown.insert(text);
        EXPECT_NE(pdf.find(text), std::string::npos) << text << " (" << where << ") is not shown:\n" << pdf;
    }
    for (const nlohmann::json& found : listed["placeholders"]) {
        const std::string text = found["text"], where = found["where"];
        if (shown.count(text)) continue;
        EXPECT_EQ(pdf.find(text), std::string::npos) << text << " (" << where << ") is shown:\n" << pdf;
    }
}

// A fill tells of each name that matches nothing in the template and of
// the placeholders left in what it wrote; LibreOffice shows them there.
TEST_F(VexwordPlaceholdersTest, FillReportsNamesMatchingNothingAndPlaceholdersLeft) {
    const std::string letter = WriteLetter();
    ToolResult r = Vexword({"fill", letter, path("filled.docx"), "{name}=Ada", "{nmae}=Bo"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("vexword fill: warning: \"{nmae}\" matches nothing in the template\n"), std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("\"{name}\" matches nothing"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("vexword fill: warning: " + path("filled.docx") +
                            " still holds {city} (body), {company} (section 1 header (default))\n"),
              std::string::npos)
        << r.output;

    // Everything named: no report.
    r = Vexword({"fill", letter, path("complete.docx"), "{name}=Ada", "{city}=Oslo", "{company}=Vexlomar"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");

    // Another look of placeholders.
    WriteFile(path("pairs.json"), "{\"{name}\": \"Ada\"}");
    r = Vexword({"fill", letter, path("pattern.docx"), "--json", path("pairs.json"), "--pattern", "\\{c[a-z]+\\}"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("still holds {city} (body), {company} (section 1 header (default))"), std::string::npos)
        << r.output;

    if (!libreoffice_available() || !pdf_tools_available()) GTEST_SKIP() << "LibreOffice or poppler is not installed";
    ASSERT_TRUE(libreoffice_convert(path("filled.docx"), "pdf", outDir()));
    const std::string page = pdf_page_text(path("filled.pdf"), 1);
    for (const char* left : {"{city}", "{company}", "Dear Ada of"})
        EXPECT_NE(page.find(left), std::string::npos) << left << " is not on the page:\n" << page;
    EXPECT_EQ(page.find("{name}"), std::string::npos) << page;
}

// --strict: a name that matches nothing, or a placeholder that would be
// left, is an error before anything is written.
TEST_F(VexwordPlaceholdersTest, StrictFailsBeforeWriting) {
    const std::string letter = WriteLetter();
    ToolResult r = Vexword({"fill", letter, path("strict.docx"), "{name}=Ada", "{city}=Oslo", "{company}=V",
                            "{nmae}=Bo", "--strict"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("vexword fill: \"{nmae}\" matches nothing in the template\n"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("vexword fill: --strict: nothing written\n"), std::string::npos) << r.output;
    EXPECT_FALSE(std::filesystem::exists(path("strict.docx")));

    r = Vexword({"fill", letter, path("strict.docx"), "{name}=Ada", "--strict"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("vexword fill: {city} (body) would be left: no pair names it\n"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("vexword fill: {company} (section 1 header (default)) would be left: no pair names it\n"),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(std::filesystem::exists(path("strict.docx")));

    // A placeholder split across runs is left unless --across-runs fills it.
    write_docx(path("split.docx"), "<w:p>" + R("Dear {na") + "<w:r><w:rPr><w:b/></w:rPr><w:t>me}</w:t></w:r></w:p>");
    r = Vexword({"fill", path("split.docx"), path("split-out.docx"), "{name}=Ada", "--strict"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("{name} (body) would be left: split across runs; --across-runs fills it"),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(std::filesystem::exists(path("split-out.docx")));
    r = Vexword({"fill", path("split.docx"), path("split-out.docx"), "{name}=Ada", "--strict", "--across-runs"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");

    // A CSV batch: nothing written, not even its folder.
    WriteFile(path("rows.csv"), "{name},{city}\nAda,Oslo\n");
    r = Vexword({"fill", letter, "--csv", path("rows.csv"), "--out", path("batch"), "--strict"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("vexword fill: {company} (section 1 header (default)) would be left: no column names it\n"),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(std::filesystem::exists(path("batch")));

    r = Vexword({"fill", letter, path("strict.docx"), "{name}=Ada", "{city}=Oslo", "{company}=V", "--strict"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    EXPECT_TRUE(std::filesystem::exists(path("strict.docx")));
}

// A column no placeholder uses is said once for the batch; what each row's
// document still holds is said for that row.
TEST_F(VexwordPlaceholdersTest, CsvColumnMatchingNothingIsReportedOnce) {
    const std::string letter = WriteLetter();
    WriteFile(path("rows.csv"), "{name},{zip},{city},file\nAda,1,Oslo,ada\nBo,2,Bergen,bo\nCy,3,Molde,cy\n");
    const ToolResult r = Vexword({"fill", letter, "--csv", path("rows.csv"), "--out", path("letters"), "--name",
                                  "file", "--jobs", "2"});
    EXPECT_EQ(r.status, 0) << r.output;
    const std::string once = "vexword fill: warning: column \"{zip}\" matches nothing in the template\n";
    const size_t at = r.output.find(once);
    EXPECT_NE(at, std::string::npos) << r.output;
    EXPECT_EQ(r.output.find(once, at + 1), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("\"file\""), std::string::npos) << "the file names' column is no placeholder:\n" << r.output;
    for (const char* row : {"row 1: ", "row 2: ", "row 3: "})
        EXPECT_NE(r.output.find(std::string("vexword fill: warning: ") + row), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("letters/bo.docx still holds {company} (section 1 header (default))\n"), std::string::npos)
        << r.output;
}

TEST_F(VexwordPlaceholdersTest, CsvWithSemicolonsGetsAHint) {
    const std::string letter = WriteLetter();
    WriteFile(path("semicolons.csv"), "{name};{city}\nAda;Oslo\n");
    ToolResult r = Vexword({"fill", letter, "--csv", path("semicolons.csv"), "--out", path("letters")});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_EQ(r.output, "vexword fill: " + path("semicolons.csv") +
                            ": the header row has no comma but semicolons: vexword reads comma-separated values; "
                            "save the file as CSV with commas\n");
    EXPECT_FALSE(std::filesystem::exists(path("letters")));

    WriteFile(path("tabs.csv"), "{name}\t{city}\nAda\tOslo\n");
    r = Vexword({"fill", letter, "--csv", path("tabs.csv"), "--out", path("letters")});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("the header row has no comma but tabs"), std::string::npos) << r.output;

    // One column that is a placeholder: no hint.
    WriteFile(path("one.csv"), "{name}\nAda\n");
    r = Vexword({"fill", letter, "--csv", path("one.csv"), "--out", path("letters")});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find("no comma"), std::string::npos) << r.output;
}
