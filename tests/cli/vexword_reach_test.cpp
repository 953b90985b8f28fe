// vexword's reading commands reach every place a reader sees: the headers
// and footers of every section, content controls, tracked changes (read as
// accepted), field results (nested ones too), text boxes inside alternate
// content, notes and comments, pictures inline and floating, links and
// bookmarks wherever they are. One hand-made package holds them all, as
// word processors write them; LibreOffice's PDF of it and LibreOffice's own
// .docx of it are read back against what the tool prints.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "docx_builder.h"
#include "drawing_snippets.h"
#include "image_files.h"
#include "libreoffice.h"
#include "plugin_test.h"
#include "vexword_tool.h"

namespace {

const std::string kRelBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const char kDate[] = "w:author=\"Ada\" w:date=\"2026-01-01T00:00:00Z\"";

std::string Relationship(const std::string& id, const std::string& type, const std::string& target,
                         bool external = false) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelBase + type + "\" Target=\"" + target + "\"" +
           (external ? " TargetMode=\"External\"" : "") + "/>";
}

std::string P(const std::string& text) { return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>"; }
std::string R(const std::string& text) { return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>"; }
std::string FieldChar(const char* type) { return "<w:r><w:fldChar w:fldCharType=\"" + std::string(type) + "\"/></w:r>"; }
std::string Instr(const std::string& code) {
    return "<w:r><w:instrText xml:space=\"preserve\">" + code + "</w:instrText></w:r>";
}

// The inline picture snippet, anchored instead (floating, wrapped in front).
std::string AnchoredPicture(int id, const std::string& relId) {
    std::string xml = docx_inline_picture(id, relId);
    const std::string head = "<wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"91440\" cy=\"91440\"/>";
    xml.replace(xml.find(head), head.size(),
                "<wp:anchor distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" simplePos=\"0\" relativeHeight=\"3\" "
                "behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\"><wp:simplePos x=\"0\" y=\"0\"/>"
                "<wp:positionH relativeFrom=\"column\"><wp:posOffset>0</wp:posOffset></wp:positionH>"
                "<wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>0</wp:posOffset></wp:positionV>"
                "<wp:extent cx=\"91440\" cy=\"91440\"/><wp:wrapNone/>");
    xml.replace(xml.find("</wp:inline>"), 12, "</wp:anchor>");
    return xml;
}

std::string Png(uint32_t width, uint32_t height) {
    return example::Png_Encode(example::RgbImage_Draw(width, height, [](uint32_t, uint32_t) { return 0xC02040u; }));
}

// A GIF of 3 x 2 pixels: header, screen descriptor, one image of one colour.
std::string Gif() {
    const unsigned char bytes[] = {'G', 'I', 'F', '8', '9', 'a', 3, 0, 2, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
                                   0x2C, 0, 0, 0, 0, 3, 0, 2, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string Notes(const char* element, const std::vector<std::pair<std::string, std::string>>& notes) {
    std::string xml = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:") + element + "s " +
                      kDocxNamespaces + ">";
    for (const char* id : {"-1", "0"})
        xml += std::string("<w:") + element + " w:type=\"" + (id[0] == '-' ? "separator" : "continuationSeparator") +
               "\" w:id=\"" + id + "\"><w:p><w:r><w:separator/></w:r></w:p></w:" + element + ">";
    for (const auto& note : notes)
        xml += std::string("<w:") + element + " w:id=\"" + note.first + "\">" + note.second + "</w:" + element + ">";
    return xml + "</w:" + element + "s>";
}

const char kBody[] =
    // A table of contents as a content control, its entry a link to a
    // bookmark.
    "<w:sdt><w:sdtPr><w:docPartObj><w:docPartGallery w:val=\"Table of Contents\"/><w:docPartUnique/></w:docPartObj>"
    "</w:sdtPr><w:sdtContent><w:p><w:r><w:t>Contents</w:t></w:r></w:p>"
    "<w:p><w:hyperlink w:anchor=\"_Toc1\"><w:r><w:t>Chapter one</w:t></w:r></w:hyperlink></w:p>"
    "</w:sdtContent></w:sdt>";

std::string Body() {
    std::string body = kBody;
    body += "<w:p><w:bookmarkStart w:id=\"1\" w:name=\"_Toc1\"/>" + R("Chapter one") + "<w:bookmarkEnd w:id=\"1\"/></w:p>";
    body += "<w:bookmarkStart w:id=\"2\" w:name=\"BodyMark\"/><w:bookmarkEnd w:id=\"2\"/>";
    // A run-level content control, as a template's field.
    body += "<w:p>" + R("Name: ") + "<w:sdt><w:sdtPr><w:alias w:val=\"Name\"/></w:sdtPr><w:sdtContent>" +
            R("Ada Lovelace") + "</w:sdtContent></w:sdt></w:p>";
    // Tracked changes: read with the changes accepted.
    body += "<w:p>" + R("The ") + "<w:del w:id=\"3\" " + kDate + "><w:r><w:delText>old</w:delText></w:r></w:del>" +
            "<w:ins w:id=\"4\" " + kDate + ">" + R("new") + "</w:ins>" + R(" text.") + "</w:p>";
    body += "<w:p><w:pPr><w:rPr><w:del w:id=\"5\" " + std::string(kDate) + "/></w:rPr></w:pPr>" + R("Joined ") +
            "</w:p>" + P("paragraphs.");
    // A field whose result spans runs and holds another field.
    body += "<w:p>" + R("Cited: ") + FieldChar("begin") + Instr(" CITATION Mit18 \\l 1033 ") + FieldChar("separate") +
            R("Foundations of Analysis, ") + FieldChar("begin") + Instr(" DATE ") + FieldChar("separate") +
            R("1/16/18") + FieldChar("end") + R(" 8:40:00 AM") + FieldChar("end") + "</w:p>";
    // A hyperlink field with a fragment, and a link whose text has a line
    // break.
    body += "<w:p>" + R("See ") + FieldChar("begin") +
            Instr(" HYPERLINK \"https://example.org/guide.html\" \\l \"install\" ") + FieldChar("separate") +
            R("the guide") + FieldChar("end") + "</w:p>";
    body += "<w:p><w:hyperlink r:id=\"rIdSite\"><w:r><w:t>two</w:t><w:br/><w:t>lines</w:t></w:r></w:hyperlink></w:p>";
    // Notes and a comment.
    body += "<w:p><w:commentRangeStart w:id=\"0\"/>" + R("Noted") +
            "<w:r><w:footnoteReference w:id=\"2\"/></w:r>" + R(" twice") +
            "<w:r><w:footnoteReference w:id=\"3\"/></w:r>" + R(" and at the end") +
            "<w:r><w:endnoteReference w:id=\"2\"/></w:r><w:commentRangeEnd w:id=\"0\"/>"
            "<w:r><w:commentReference w:id=\"0\"/></w:r></w:p>";
    // A text box as alternate content (its fallback says the same again),
    // and a floating picture beside an inline one in alternate content.
    const std::string box = docx_anchored_text_box(10, "Inside the box");
    body += "<w:p>" + R("Boxed") + "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + box +
            "</mc:Choice><mc:Fallback><w:pict><v:rect style=\"position:absolute\"><v:textbox><w:txbxContent>" +
            P("Inside the box") + "</w:txbxContent></v:textbox></v:rect></w:pict></mc:Fallback>"
            "</mc:AlternateContent></w:r></w:p>";
    body += "<w:p>" + R("Pictures") + "<w:r>" + AnchoredPicture(11, "rIdGif") +
            "<mc:AlternateContent><mc:Choice Requires=\"wps\">" + docx_inline_picture(12, "rIdPhoto") +
            "</mc:Choice><mc:Fallback><w:pict><v:shape style=\"width:7pt;height:7pt\"><v:imagedata r:id=\"rIdPhoto\"/>"
            "</v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>";
    // A table: a bookmark directly in a cell, a cell inside a content
    // control.
    body += "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"3000\"/>"
            "<w:gridCol w:w=\"3000\"/></w:tblGrid><w:tr><w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr>"
            "<w:bookmarkStart w:id=\"6\" w:name=\"CellMark\"/>" + P("Cell A") + "<w:bookmarkEnd w:id=\"6\"/></w:tc>"
            "<w:sdt><w:sdtPr/><w:sdtContent><w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr>" +
            P("Cell B") + "</w:tc></w:sdtContent></w:sdt></w:tr></w:tbl>";
    // The first section ends here: its own headers (default and a title
    // page's) and footer.
    body += "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader1\"/>"
            "<w:headerReference w:type=\"first\" r:id=\"rIdHeader2\"/><w:footerReference w:type=\"default\" "
            "r:id=\"rIdFooter1\"/><w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" "
            "w:bottom=\"1440\" w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/><w:titlePg/>"
            "</w:sectPr></w:pPr>" + R("End of part one") + "</w:p>";
    body += P("Part two");
    // The final section: its own default header, the footer inherited.
    body += "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader3\"/><w:type w:val=\"continuous\"/>"
            "<w:pgSz w:w=\"15840\" w:h=\"12240\" w:orient=\"landscape\"/><w:pgMar w:top=\"720\" w:right=\"720\" "
            "w:bottom=\"720\" w:left=\"720\" w:header=\"360\" w:footer=\"360\" w:gutter=\"0\"/></w:sectPr>";
    return body;
}

class VexwordReachTest : public PluginTest {
protected:
    ToolResult Vexword(const std::vector<std::string>& args) { return Vexword_Run(args, path("tool-output.txt")); }

    std::string WriteEverywhere() {
        const std::string file = path("everywhere.docx");
        DocxParts parts;
        parts.appendSectPr = false;
        parts.body = Body();
        parts.headers = {{"default", P("Header one")},
                         {"first", "<w:p>" + R("Title page header") + "<w:r>" + docx_inline_picture(20, "rIdLogo") +
                                       "</w:r></w:p>"},
                         {"default", "<w:p><w:hyperlink r:id=\"rIdHome\">" + R("Home") + "</w:hyperlink></w:p>"}};
        parts.footers = {{"default", P("Footer one")}};
        parts.documentRelationships =
            Relationship("rIdSite", "hyperlink", "https://example.org/lines", true) +
            Relationship("rIdGif", "image", "media/dots.gif") + Relationship("rIdPhoto", "image", "media/photo.png") +
            Relationship("rIdFootnotes", "footnotes", "footnotes.xml") +
            Relationship("rIdEndnotes", "endnotes", "endnotes.xml") +
            Relationship("rIdComments", "comments", "comments.xml");
        const std::string footnotes = Notes("footnote", {{"2", "<w:p><w:r><w:footnoteRef/></w:r>" + R(" First note") +
                                                                   "</w:p>" + P("Its second paragraph")},
                                                          {"3", "<w:p><w:r><w:footnoteRef/></w:r>" + R(" Second note, ") +
                                                                    "<w:hyperlink r:id=\"rIdNoteLink\">" + R("source") +
                                                                    "</w:hyperlink></w:p>"}});
        const std::string endnotes = Notes("endnote", {{"2", "<w:p><w:r><w:endnoteRef/></w:r>" + R(" An endnote") + "</w:p>"}});
        const std::string comments = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:comments " +
                                     std::string(kDocxNamespaces) + "><w:comment w:id=\"0\" w:author=\"Grace Hopper\" "
                                     "w:date=\"2026-01-01T00:00:00Z\" w:initials=\"GH\">" + P("Check this") +
                                     "</w:comment></w:comments>";
        parts.extraEntries = {
            {"word/footnotes.xml", footnotes},
            {"word/_rels/footnotes.xml.rels",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
             "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                 Relationship("rIdNoteLink", "hyperlink", "https://example.org/source", true) + "</Relationships>"},
            {"word/endnotes.xml", endnotes},
            {"word/comments.xml", comments},
            {"word/media/dots.gif", Gif()},
            {"word/media/photo.png", Png(7, 7)},
            {"word/media/logo.png", Png(12, 6)},
            {"word/_rels/header2.xml.rels",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
             "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                 Relationship("rIdLogo", "image", "../word/media/logo.png") + "</Relationships>"},
            {"word/_rels/header3.xml.rels",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
             "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                 Relationship("rIdHome", "hyperlink", "https://example.org/", true) + "</Relationships>"},
        };
        write_docx(file, parts);
        // The notes, the comments and the GIF get their content types.
        std::string types = zip_read(file, "[Content_Types].xml");
        const std::string main = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
        types.insert(types.find("</Types>"),
                     "<Default Extension=\"gif\" ContentType=\"image/gif\"/>"
                     "<Override PartName=\"/word/footnotes.xml\" ContentType=\"" + main + "footnotes+xml\"/>"
                     "<Override PartName=\"/word/endnotes.xml\" ContentType=\"" + main + "endnotes+xml\"/>"
                     "<Override PartName=\"/word/comments.xml\" ContentType=\"" + main + "comments+xml\"/>");
        parts.overrides["[Content_Types].xml"] = types;
        write_docx(file, parts);
        return file;
    }
};

const char kEverywhereText[] =
    "Contents\n"
    "Chapter one\n"
    "Chapter one\n"
    "Name: Ada Lovelace\n"
    "The new text.\n"
    "Joined paragraphs.\n"
    "Cited: Foundations of Analysis, 1/16/18 8:40:00 AM\n"
    "See the guide\n"
    "two\nlines\n"
    "Noted[1] twice[2] and at the end[i]\n"
    "Boxed\n"
    "  [text box] Inside the box\n"
    "Pictures\n"
    "Cell A\tCell B\n"
    "End of part one\n"
    "Part two\n"
    "--- Section 1 header (default) ---\n"
    "Header one\n"
    "--- Section 1 header (first) ---\n"
    "Title page header\n"
    "--- Section 1 footer (default) ---\n"
    "Footer one\n"
    "--- Section 2 header (default) ---\n"
    "Home\n"
    "--- Footnotes ---\n"
    "[1] First note\n"
    "    Its second paragraph\n"
    "[2] Second note, source\n"
    "--- Endnotes ---\n"
    "[i] An endnote\n"
    "--- Comments ---\n"
    "[Grace Hopper] Check this\n";

}  // namespace

TEST_F(VexwordReachTest, TextShowsEveryPlaceAReaderSees) {
    const ToolResult r = Vexword({"text", WriteEverywhere()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, kEverywhereText);
}

TEST_F(VexwordReachTest, LinksAndBookmarksOfEveryPart) {
    const ToolResult r = Vexword({"links", WriteEverywhere()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "body: Chapter one -> #_Toc1\n"
              "body: the guide -> (field) https://example.org/guide.html#install\n"
              "body: two lines -> https://example.org/lines\n"
              "section 2 header (default): Home -> https://example.org/\n"
              "footnote 2: source -> https://example.org/source\n"
              "bookmark: _Toc1\n"
              "bookmark: BodyMark\n"
              "bookmark: CellMark (body table 1 cell 1,1)\n");
}

TEST_F(VexwordReachTest, PicturesWhereverTheyAre) {
    const std::string file = WriteEverywhere();
    const ToolResult r = Vexword({"pictures", file});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "body: gif dots.gif 3 x 2 px \"\" (floating)\n"
              "body: png photo.png 7 x 7 px \"\"\n"
              "section 1 header (first): png logo.png 12 x 6 px \"\"\n");
    const std::string dir = path("extracted");
    const ToolResult e = Vexword({"extract", file, dir});
    EXPECT_EQ(e.status, 0) << e.output;
    EXPECT_EQ(zip_read(file, "word/media/dots.gif"), Gif());
    for (const char* name : {"dots.gif", "photo.png", "logo.png"}) {
        std::ifstream in(dir + "/" + name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        EXPECT_EQ(bytes.str(), zip_read(file, std::string("word/media/") + name)) << name;
    }
}

TEST_F(VexwordReachTest, InfoCountsAndEverySection) {
    const ToolResult r = Vexword({"info", WriteEverywhere()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Shapes: 1, groups: 0, text boxes: 1\nPictures: 3 (1 floating)\n"
                            "Tables: 1 (nested included), rows: 1, cells: 2\n"
                            "Footnotes: 2, endnotes: 1, comments: 1\n"
                            "Section 1: 8.50 x 11.00 in, portrait, margins 1.00 1.00 1.00 1.00 in (top right bottom "
                            "left), starts: next page, title page\n"
                            "  Headers: default, first\n  Footers: default\n"
                            "Section 2: 11.00 x 8.50 in, landscape, margins 0.50 0.50 0.50 0.50 in (top right bottom "
                            "left), starts: continuous\n"
                            "  Headers: default, first (as section 1)\n  Footers: default (as section 1)\n"),
              std::string::npos)
        << r.output;
}

TEST_F(VexwordReachTest, ASectionWithoutPageSizeSaysSo) {
    DocxParts parts;
    parts.appendSectPr = false;
    parts.body = P("Bare") + "<w:sectPr/>";
    write_docx(path("bare.docx"), parts);
    const ToolResult r = Vexword({"info", path("bare.docx")});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Section 1: no page size (the reader's default), no margins (the reader's default), "
                            "starts: next page\n"),
              std::string::npos)
        << r.output;
}

// --json gives the same facts as the lines.
TEST_F(VexwordReachTest, JsonHoldsWhatTheLinesSay) {
    const std::string file = WriteEverywhere();
    const ToolResult text = Vexword({"text", "--json", file});
    ASSERT_EQ(text.status, 0) << text.output;
    const nlohmann::json stories = nlohmann::json::parse(text.output)["stories"];
    ASSERT_EQ(stories.size(), 9u) << text.output;
    EXPECT_EQ(stories[0]["where"], "body");
    EXPECT_EQ(stories[0]["lines"][3], "Name: Ada Lovelace");
    EXPECT_EQ(stories[2]["where"], "section 1 header (first)");
    EXPECT_EQ(stories[2]["section"], 1);
    EXPECT_EQ(stories[5]["kind"], "footnote");
    EXPECT_EQ(stories[5]["mark"], "1");
    EXPECT_EQ(stories[8]["author"], "Grace Hopper");

    const nlohmann::json links = nlohmann::json::parse(Vexword({"links", "--json", file}).output);
    EXPECT_EQ(links["links"].size(), 5u);
    EXPECT_EQ(links["links"][1]["target"], "https://example.org/guide.html#install");
    EXPECT_EQ(links["bookmarks"][2]["where"], "body table 1 cell 1,1");

    const nlohmann::json pictures = nlohmann::json::parse(Vexword({"pictures", "--json", file}).output);
    ASSERT_EQ(pictures["pictures"].size(), 3u);
    EXPECT_EQ(pictures["pictures"][0]["type"], "gif");
    EXPECT_EQ(pictures["pictures"][0]["floating"], true);
    EXPECT_EQ(pictures["pictures"][0]["pixels"]["width"], 3);

    const nlohmann::json info = nlohmann::json::parse(Vexword({"info", "--json", file}).output);
    EXPECT_EQ(info["footnotes"], 2);
    ASSERT_EQ(info["sections"].size(), 2u);
    EXPECT_EQ(info["sections"][1]["footers"]["default"]["fromSection"], 1);
    EXPECT_EQ(info["sections"][1]["pageSize"]["width"], 15840);
}

namespace {

// The body's lines, as the tool prints them.
std::vector<std::string> BodyLines() {
    std::vector<std::string> lines;
    std::istringstream text(kEverywhereText);
    std::string line;
    while (std::getline(text, line) && line.rfind("---", 0) != 0) lines.push_back(line);
    return lines;
}

}  // namespace

// Every line the tool prints of the body, the headers and the footers is
// text LibreOffice shows on the pages (text boxes and note marks
// included), the field codes are not. LibreOffice shows tracked changes as
// marked up rather than accepted, and updates the fields it knows: those
// lines are judged against pandoc below.
TEST_F(VexwordReachTest, TheLinesAreWhatLibreOfficeShows) {
    if (!libreoffice_available() || !pdf_tools_available()) GTEST_SKIP() << "LibreOffice or poppler is not installed";
    const std::string file = WriteEverywhere();
    ASSERT_TRUE(libreoffice_convert(file, "pdf", outDir()));
    const std::string pdf = Text_Squeezed(command_output("pdftotext -raw '" + path("everywhere.pdf") + "' -"));
    std::vector<std::string> lines = BodyLines();
    for (const char* more : {"Title page header", "Home", "Footer one"}) lines.push_back(more);
    for (std::string text : lines) {
        if (text.rfind("The new", 0) == 0 || text.rfind("Cited", 0) == 0) continue;
        if (text.rfind("  [text box] ", 0) == 0) text = text.substr(13);
        // The note marks are superscript numbers on the page.
        for (const char* mark : {"[1]", "[2]", "[i]"}) {
            const size_t at = text.find(mark);
            if (at != std::string::npos) text.replace(at, 3, std::string(1, mark[1]));
        }
        EXPECT_NE(pdf.find(Text_Squeezed(text)), std::string::npos) << "not in LibreOffice's PDF: " << text << "\n" << pdf;
    }
    for (const char* hidden : {"CITATION", "HYPERLINK", "DATE"}) EXPECT_EQ(pdf.find(hidden), std::string::npos) << hidden;
}

// pandoc reads a document with its changes accepted and its fields' last
// results, as the tool does: the body's lines (text boxes aside, which
// pandoc leaves out) come in its text in order, the deleted word does not.
TEST_F(VexwordReachTest, TheBodyReadsAsPandocReadsIt) {
    if (command_output("command -v pandoc || true").empty()) GTEST_SKIP() << "pandoc is not installed";
    const std::string file = WriteEverywhere();
    const std::string plain = Text_Squeezed(command_output("pandoc -t plain --wrap=none '" + file + "'"));
    size_t at = 0;
    for (std::string text : BodyLines()) {
        if (text.rfind("  [text box] ", 0) == 0) continue;
        if (text.find("[i]") != std::string::npos) text.replace(text.find("[i]"), 3, "[3]");  // pandoc counts on
        const std::string wanted = Text_Squeezed(text);
        const size_t found = plain.find(wanted, at);
        EXPECT_NE(found, std::string::npos) << "not in pandoc's text after " << at << ": " << text << "\n" << plain;
        if (found != std::string::npos) at = found + wanted.size();
    }
    EXPECT_EQ(plain.find("old"), std::string::npos) << plain;
}

// LibreOffice's own .docx of the package: its sections, text boxes and
// pictures as that writer writes them.
TEST_F(VexwordReachTest, ADocumentLibreOfficeWroteIsReadWhole) {
    if (!libreoffice_available()) GTEST_SKIP() << "LibreOffice is not installed";
    const std::string file = WriteEverywhere();
    const std::string dir = path("libreoffice");
    ASSERT_TRUE(libreoffice_convert(file, "docx", dir));
    const std::string written = dir + "/everywhere.docx";
    const ToolResult text = Vexword({"text", written});
    ASSERT_EQ(text.status, 0) << text.output;
    // (LibreOffice keeps no header of a title page's section that has one
    // page only, and updates the fields it knows.)
    for (const char* seen : {"Name: Ada Lovelace", "The new text.", "Cited: ", "See the guide",
                             "[text box] Inside the box", "Title page header", "Footer one", "Home",
                             "First note", "An endnote", "Check this"})
        EXPECT_NE(text.output.find(seen), std::string::npos) << seen << "\n" << text.output;
    EXPECT_EQ(text.output.find("Inside the box\n  [text box] Inside the box"), std::string::npos)
        << "a text box read twice\n" << text.output;
    // What the tool prints of the body, the headers and the footers is on
    // the pages LibreOffice makes of its own file (the tracked change aside,
    // which it shows marked up).
    if (pdf_tools_available()) {
        ASSERT_TRUE(libreoffice_convert(written, "pdf", dir));
        const std::string pdf = Text_Squeezed(command_output("pdftotext -raw '" + dir + "/everywhere.pdf' -"));
        std::istringstream lines(text.output);
        std::string line;
        while (std::getline(lines, line) && line.rfind("--- Footnotes", 0) != 0) {
            if (line.rfind("---", 0) == 0 || line.rfind("The new", 0) == 0) continue;
            std::string shown = line.rfind("  [text box] ", 0) == 0 ? line.substr(13) : line;
            for (const char* mark : {"[1]", "[2]", "[i]"}) {
                const size_t at = shown.find(mark);
                if (at != std::string::npos) shown.replace(at, 3, std::string(1, mark[1]));
            }
            EXPECT_NE(pdf.find(Text_Squeezed(shown)), std::string::npos) << "not on LibreOffice's pages: " << line;
        }
    }
    const ToolResult pictures = Vexword({"pictures", written});
    ASSERT_EQ(pictures.status, 0) << pictures.output;
    EXPECT_EQ(std::count(pictures.output.begin(), pictures.output.end(), '\n'), 3) << pictures.output;
    EXPECT_NE(pictures.output.find("(floating)"), std::string::npos) << pictures.output;
}

// pandoc's footnotes, and its table of contents as a content control.
TEST_F(VexwordReachTest, PandocNotesAndContents) {
    if (command_output("command -v pandoc || true").empty()) GTEST_SKIP() << "pandoc is not installed";
    {
        std::ofstream md(path("notes.md"));
        md << "# Intro\n\nA claim.[^a] Another.[^b]\n\n# Next\n\nMore.\n\n[^a]: The first source.\n\n"
              "[^b]: The second source.\n";
    }
    command_output("pandoc --toc -o '" + path("notes.docx") + "' '" + path("notes.md") + "'");
    const ToolResult r = Vexword({"text", path("notes.docx")});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("A claim.[1] Another.[2]\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("--- Footnotes ---\n[1]"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("The first source."), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("The second source."), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Table of Contents"), std::string::npos) << "the content control's title\n" << r.output;
}

// Pictures of every kind are named by what their bytes are; a linked one
// by its address; one inside a link is found too.
TEST_F(VexwordReachTest, PicturesOfEveryKind) {
    const std::string emf = std::string("\x01\x00\x00\x00", 4) + std::string(36, '\0') + " EMF" + std::string(40, '\0');
    const std::string wmf = std::string("\xD7\xCD\xC6\x9A", 4) + std::string(40, '\0');
    const std::string svg = "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>";
    std::string bmp = "BM" + std::string(24, '\0');
    bmp[18] = 5;
    bmp[22] = 9;
    DocxParts parts;
    parts.body = "<w:p><w:r>" + docx_inline_picture(1, "rIdEmf") + docx_inline_picture(2, "rIdWmf") + "</w:r>" +
                 "<w:hyperlink r:id=\"rIdSite\"><w:r>" + docx_inline_picture(3, "rIdSvg") + "</w:r></w:hyperlink><w:r>" +
                 docx_inline_picture(4, "rIdBmp") + docx_inline_picture(5, "rIdFar") + "</w:r></w:p>";
    parts.documentRelationships =
        Relationship("rIdEmf", "image", "media/a.emf") + Relationship("rIdWmf", "image", "media/b.wmf") +
        Relationship("rIdSvg", "image", "media/c.svg") + Relationship("rIdBmp", "image", "media/d.bmp") +
        Relationship("rIdFar", "image", "https://example.org/far.png", true) +
        Relationship("rIdSite", "hyperlink", "https://example.org/", true);
    parts.extraEntries = {{"word/media/a.emf", emf}, {"word/media/b.wmf", wmf}, {"word/media/c.svg", svg},
                          {"word/media/d.bmp", bmp}};
    const std::string file = path("kinds.bin");
    write_docx(file, parts);
    const ToolResult r = Vexword({"pictures", file});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "body: emf a.emf \"\"\n"
              "body: wmf b.wmf \"\"\n"
              "body: svg c.svg \"\"\n"
              "body: bmp d.bmp 5 x 9 px \"\"\n"
              "body: linked https://example.org/far.png \"\"\n");
    const ToolResult e = Vexword({"extract", file, path("kinds")});
    EXPECT_EQ(e.status, 0) << e.output;
    EXPECT_EQ(e.output, "body: a.emf (84 bytes)\nbody: b.wmf (44 bytes)\nbody: c.svg (" + std::to_string(svg.size()) +
                            " bytes)\nbody: d.bmp (26 bytes)\n");
}

// Four sections, each with a header and a footer of its own, as LibreOffice
// writes them: all eight texts are shown, each under its section.
TEST_F(VexwordReachTest, EverySectionOfALibreOfficeDocument) {
    if (!libreoffice_available()) GTEST_SKIP() << "LibreOffice is not installed";
    DocxParts parts;
    parts.appendSectPr = false;
    auto sectPr = [](int n) {
        return "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader" + std::to_string(n) +
               "\"/><w:footerReference w:type=\"default\" r:id=\"rIdFooter" + std::to_string(n) +
               "\"/><w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" "
               "w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/></w:sectPr>";
    };
    for (int n = 1; n <= 4; ++n) {
        parts.headers.push_back({"default", P("Header of part " + std::to_string(n))});
        parts.footers.push_back({"default", P("Footer of part " + std::to_string(n))});
        const std::string text = R("Part " + std::to_string(n));
        parts.body += n < 4 ? "<w:p><w:pPr>" + sectPr(n) + "</w:pPr>" + text + "</w:p>" : "<w:p>" + text + "</w:p>" + sectPr(n);
    }
    write_docx(path("parts.docx"), parts);
    const std::string dir = path("libreoffice");
    ASSERT_TRUE(libreoffice_convert(path("parts.docx"), "docx", dir));
    const ToolResult text = Vexword({"text", dir + "/parts.docx"});
    ASSERT_EQ(text.status, 0) << text.output;
    for (int n = 1; n <= 4; ++n)
        for (const char* kind : {"Header", "Footer"}) {
            const std::string shown = std::string(kind) + " of part " + std::to_string(n);
            EXPECT_NE(text.output.find(shown), std::string::npos) << shown << "\n" << text.output;
        }
    const ToolResult info = Vexword({"info", dir + "/parts.docx"});
    EXPECT_NE(info.output.find("Section 4: "), std::string::npos) << info.output;
    EXPECT_EQ(info.output.find("Headers: none"), std::string::npos) << info.output;
}
