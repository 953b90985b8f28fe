// vexword fill as a user runs it: pairs and JSON, placeholders split across
// runs (warned of, or filled with --across-runs), templates written by
// other tools, and batches from CSV files. The CSV reader is tested on its
// own first.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "csv_reader.h"
#include "docx_builder.h"
#include "libreoffice.h"
#include "plugin_test.h"
#include "vexword_tool.h"
#include "xml_snippets.h"

namespace {

class FillCommandTest : public PluginTest {
protected:
    // Runs vexword with the arguments (each quoted for the shell).
    ToolResult Vexword(const std::vector<std::string>& args) { return Vexword_Run(args, path("tool-output.txt")); }
    static std::string ReadFile(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static void WriteFile(const std::string& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    // The body paragraph printed, one line, from a saved package.
    std::string SavedParagraph(const std::string& file, int index) {
        const std::string xml = zip_read(path(file), "word/document.xml");
        pugi::xml_document parsed;
        EXPECT_TRUE(parsed.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata));
        int i = 0;
        for (pugi::xml_node p : parsed.child("w:document").child("w:body").children("w:p"))
            if (i++ == index) return xml_print(p);
        return "";
    }
};

// Every w:t of the body, the headers and the footers, as python-docx finds
// them through each part: "body: text" a line.
const char* const kTextsScript =
    "import sys, docx\n"
    "from docx.oxml.ns import qn\n"
    "d = docx.Document(sys.argv[1])\n"
    "def show(where, element):\n"
    "    for t in element.iter(qn('w:t')):\n"
    "        print(where + ': ' + (t.text or ''))\n"
    "show('body', d.element.body)\n"
    "seen = set()\n"
    "for s in d.sections:\n"
    "    for kind, part in (('header', s.header), ('footer', s.footer)):\n"
    "        if part.is_linked_to_previous or part.part.partname in seen: continue\n"
    "        seen.add(part.part.partname)\n"
    "        show(kind, part._element)\n";

std::string Replaced(std::string text, const std::vector<std::pair<std::string, std::string>>& pairs) {
    for (const auto& [name, value] : pairs)
        for (size_t at = 0; (at = text.find(name, at)) != std::string::npos; at += value.size())
            text.replace(at, name.size(), value);
    return text;
}

}  // namespace

TEST(CsvReaderTest, QuotedFieldsCommasQuotesLineBreaksAndAByteOrderMark) {
    const cli::CsvTable table = cli::Csv_Parse(
        "\xEF\xBB\xBFname,note\r\n"
        "\"Smith, Ann\",\"She said \"\"hi\"\"\r\nthen left\"\n"
        "\n"
        "Zoë,\n"
        "a\"b,\"\"\n"
        "last,row");
    ASSERT_TRUE(table.error.empty()) << table.error;
    ASSERT_EQ(table.records.size(), 5u);
    EXPECT_EQ(table.records[0].fields, (std::vector<std::string>{"name", "note"}));
    EXPECT_EQ(table.records[1].fields, (std::vector<std::string>{"Smith, Ann", "She said \"hi\"\r\nthen left"}));
    EXPECT_EQ(table.records[1].line, 2u);
    EXPECT_EQ(table.records[2].fields, (std::vector<std::string>{"Zoë", ""}));
    EXPECT_EQ(table.records[2].line, 5u);
    EXPECT_EQ(table.records[3].fields, (std::vector<std::string>{"a\"b", ""}));
    EXPECT_EQ(table.records[4].fields, (std::vector<std::string>{"last", "row"}));

    EXPECT_EQ(cli::Csv_Parse("a,\"open\nb").error, "line 1: a quoted field is not closed");
    EXPECT_EQ(cli::Csv_Parse("a\n\"x\"y,b").error, "line 2: text after a closing quote");
}

// Pairs on the command line and from a JSON object fill the body, tables
// and headers; what cannot be read is said, and nothing is written.
TEST_F(FillCommandTest, PairsAndJsonFillTheWholeDocument) {
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t xml:space=\"preserve\">Dear {name}, </w:t></w:r><w:r><w:t>{amount}</w:t></w:r></w:p>" +
                 docx_table({{"<w:p><w:r><w:t>{name}</w:t></w:r></w:p>"}}) + "<w:p/>";
    parts.headers = {{"default", "<w:p><w:r><w:t>To {name}</w:t></w:r></w:p>"}};
    write_docx(path("template.docx"), parts);

    ToolResult r = Vexword({"fill", path("template.docx"), path("pairs.docx"), "{name}=Zoë Ann", "{amount}= € 5 "});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(SavedParagraph("pairs.docx", 0),
              "<w:p><w:r><w:t xml:space=\"preserve\">Dear Zoë Ann, </w:t></w:r>"
              "<w:r><w:t xml:space=\"preserve\"> € 5 </w:t></w:r></w:p>");
    EXPECT_NE(zip_read(path("pairs.docx"), "word/document.xml").find("<w:t>Zoë Ann</w:t></w:r></w:p></w:tc>"),
              std::string::npos);
    EXPECT_NE(zip_read(path("pairs.docx"), "word/header1.xml").find("To Zoë Ann"), std::string::npos);

    // An existing file is replaced only with --force, and kept whole without.
    WriteFile(path("values.json"), "{\"{name}\": \"Bo \\\"B\\\"\", \"{amount}\": 12.5, \"{none}\": null}");
    r = Vexword({"fill", path("template.docx"), path("pairs.docx"), "--json", path("values.json")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("give --force"), std::string::npos) << r.output;
    EXPECT_NE(zip_read(path("pairs.docx"), "word/header1.xml").find("To Zoë Ann"), std::string::npos);
    r = Vexword({"fill", path("template.docx"), path("pairs.docx"), "--json", path("values.json"), "--force"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(SavedParagraph("pairs.docx", 0),
              "<w:p><w:r><w:t xml:space=\"preserve\">Dear Bo \"B\", </w:t></w:r><w:r><w:t>12.5</w:t></w:r></w:p>");

    WriteFile(path("list.json"), "[1, 2]");
    r = Vexword({"fill", path("template.docx"), path("list.docx"), "--json", path("list.json")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("not a JSON object"), std::string::npos) << r.output;
    r = Vexword({"fill", path("template.docx"), path("bad.docx"), "novalue"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("not a NAME=VALUE pair: novalue"), std::string::npos) << r.output;
    r = Vexword({"fill", path("missing.docx"), path("bad.docx"), "{a}=b"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("WordException"), std::string::npos) << r.output;
    EXPECT_FALSE(std::filesystem::exists(path("bad.docx")));
    EXPECT_FALSE(std::filesystem::exists(path("list.docx")));
}

// A placeholder split across runs (a proofing mark, a format change) is
// warned of, and with --across-runs filled into the first run, keeping that
// run's formatting. Runs of a hyperlink or a field are never joined with
// runs outside: such a placeholder is named with why it stays.
TEST_F(FillCommandTest, PlaceholdersSplitAcrossRunsAreWarnedOfOrFilled) {
    const std::string kItalic = "<w:rPr><w:i/><w:color w:val=\"C00000\"/></w:rPr>";
    const std::string body =
        // in two runs, a proofing mark between them
        "<w:p><w:r>" + kItalic + "<w:t xml:space=\"preserve\">Dear {na</w:t></w:r>"
        "<w:proofErr w:type=\"spellStart\"/><w:r><w:t>me}, welcome</w:t></w:r><w:proofErr w:type=\"spellEnd\"/></w:p>"
        // in three runs, the middle one bold; twice in the paragraph
        "<w:p><w:r>" + kItalic + "<w:t>{n</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>am</w:t></w:r>"
        "<w:r><w:t xml:space=\"preserve\">e} and {</w:t></w:r><w:r><w:t>name} and {city}</w:t></w:r></w:p>"
        // across a hyperlink's edge, and into a field's result: never joined
        "<w:p><w:r><w:t>{na</w:t></w:r><w:hyperlink w:anchor=\"x\"><w:r><w:t>me}</w:t></w:r></w:hyperlink>"
        "<w:r><w:t>{na</w:t></w:r><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
        "<w:r><w:instrText xml:space=\"preserve\"> TIME </w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>me}</w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>";
    write_docx(path("split.docx"), body);

    ToolResult r = Vexword({"fill", path("split.docx"), path("warned.docx"), "{name}=Ann", "{city}=Oslo"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("warning: \"{name}\" is split across runs in 2 paragraphs (body;"), std::string::npos)
        << r.output;
    for (const char* why : {"crosses a link's edge in 1 paragraph and cannot be filled there",
                            "crosses a field's edge in 1 paragraph and cannot be filled there"})
        EXPECT_NE(r.output.find(std::string("warning: \"{name}\" ") + why), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("{city}"), std::string::npos) << r.output;
    EXPECT_NE(SavedParagraph("warned.docx", 0).find("Dear {na</w:t>"), std::string::npos);
    EXPECT_NE(SavedParagraph("warned.docx", 1).find("name} and Oslo"), std::string::npos);

    // Joined where they can be; where not, said again with why.
    r = Vexword({"fill", path("split.docx"), path("across.docx"), "{name}=Ann", "{city}=Oslo", "--across-runs"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find("is split across runs"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("crosses a link's edge"), std::string::npos) << r.output;
    // What is never joined is left, and said to be.
    EXPECT_NE(r.output.find("vexword fill: warning: " + path("across.docx") + " still holds {name} (body; split across runs"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(SavedParagraph("across.docx", 0),
              "<w:p><w:r>" + kItalic + "<w:t xml:space=\"preserve\">Dear Ann</w:t></w:r>"
              "<w:proofErr w:type=\"spellStart\"/><w:r><w:t>, welcome</w:t></w:r>"
              "<w:proofErr w:type=\"spellEnd\"/></w:p>");
    EXPECT_EQ(SavedParagraph("across.docx", 1),
              "<w:p><w:r>" + kItalic + "<w:t>Ann</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t/></w:r>"
              "<w:r><w:t xml:space=\"preserve\"> and Ann</w:t></w:r>"
              "<w:r><w:t xml:space=\"preserve\"> and Oslo</w:t></w:r></w:p>");
    const std::string untouched = SavedParagraph("across.docx", 2);
    EXPECT_NE(untouched.find("<w:t>{na</w:t></w:r><w:hyperlink w:anchor=\"x\"><w:r><w:t>me}</w:t>"), std::string::npos)
        << untouched;
    EXPECT_NE(untouched.find("<w:r><w:t>{na</w:t></w:r><w:r><w:fldChar"), std::string::npos) << untouched;
    EXPECT_NE(untouched.find("<w:r><w:t>me}</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/>"), std::string::npos)
        << untouched;
}

// Placeholders split across runs in table cells, nested ones too, are
// warned of and filled with --across-runs like those of the body.
TEST_F(FillCommandTest, PlaceholdersSplitAcrossRunsInCellsAreFilled) {
    const std::string kBold = "<w:rPr><w:b/></w:rPr>";
    auto split = [&](const std::string& before, const std::string& after) {
        return "<w:p><w:r>" + kBold + "<w:t xml:space=\"preserve\">" + before +
               "</w:t></w:r><w:proofErr w:type=\"spellStart\"/><w:r><w:t xml:space=\"preserve\">" + after +
               "</w:t></w:r></w:p>";
    };
    const std::string nested = docx_table({{split("deep {na", "me}")}});
    write_docx(path("cells.docx"), "<w:p/>" + docx_table({{split("To {na", "me}"), "<w:p/>" + nested + "<w:p/>"}}) +
                                       "<w:p/>");

    ToolResult r = Vexword({"fill", path("cells.docx"), path("cells-warned.docx"), "{name}=Ann"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("warning: \"{name}\" is split across runs in 2 paragraphs"), std::string::npos)
        << r.output;

    r = Vexword({"fill", path("cells.docx"), path("cells-across.docx"), "{name}=Ann", "--across-runs"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    const std::string xml = zip_read(path("cells-across.docx"), "word/document.xml");
    for (const char* filled : {"<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">To Ann</w:t></w:r>",
                               "<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">deep Ann</w:t></w:r>"})
        EXPECT_NE(xml.find(filled), std::string::npos) << filled << " in " << xml;
    EXPECT_EQ(xml.find("{na"), std::string::npos) << xml;
    EXPECT_EQ(xml.find("me}"), std::string::npos) << xml;
}

// Templates another tool wrote (python-docx, LibreOffice): every whole
// placeholder is filled and every other text stays, as python-docx reads
// the result.
TEST_F(FillCommandTest, TemplatesWrittenByOtherToolsAreFilled) {
    SKIP_WITHOUT_PYTHON_DOCX();
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"[[NAME]]", "Zoë Åberg"}, {"[[ORDER]]", "A-17, \"rush\""}, {"[[TOTAL]]", "€ 1,250.00"}};
    std::vector<std::string> args;
    for (const auto& [name, value] : pairs) args.push_back(name + "=" + value);

    python_docx_run(
        "import sys, docx\n"
        "d = docx.Document()\n"
        "d.sections[0].header.paragraphs[0].text = 'Order [[ORDER]] for [[NAME]]'\n"
        "d.sections[0].footer.paragraphs[0].text = 'Page footer, no placeholder'\n"
        "d.add_heading('Invoice [[ORDER]]', 1)\n"
        "p = d.add_paragraph('Dear [[NAME]], the total is ')\n"
        "p.add_run('[[TOTAL]]').bold = True\n"
        "p.add_run('. Keep [[UNKNOWN]] as it is.')\n"
        "t = d.add_table(rows=2, cols=2)\n"
        "t.cell(0, 0).text = 'Name'\n"
        "t.cell(0, 1).text = '[[NAME]]'\n"
        "t.cell(1, 0).text = 'Total'\n"
        "t.cell(1, 1).text = '[[TOTAL]] ([[TOTAL]])'\n"
        "d.add_section()\n"
        "d.sections[1].header.is_linked_to_previous = False\n"
        "d.sections[1].header.paragraphs[0].text = 'Second section [[NAME]]'\n"
        "d.add_paragraph('After the break [[ORDER]]')\n"
        "d.save(sys.argv[1])\n",
        {path("python.docx")});
    std::vector<std::string> templates = {"python.docx"};

    if (libreoffice_available()) {
        WriteFile(path("office.fodt"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                  "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                  "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                  "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" office:version=\"1.2\" "
                  "office:mimetype=\"application/vnd.oasis.opendocument.text\">"
                  "<office:master-styles><style:master-page style:name=\"Standard\">"
                  "<style:header><text:p>Header [[NAME]]</text:p></style:header>"
                  "<style:footer><text:p>Footer [[ORDER]]</text:p></style:footer>"
                  "</style:master-page></office:master-styles>"
                  "<office:body><office:text>"
                  "<text:p>Dear [[NAME]], order [[ORDER]] comes to [[TOTAL]].</text:p>"
                  "<table:table table:name=\"T\"><table:table-column table:number-columns-repeated=\"2\"/>"
                  "<table:table-row><table:table-cell><text:p>[[NAME]]</text:p></table:table-cell>"
                  "<table:table-cell><text:p>kept</text:p></table:table-cell></table:table-row></table:table>"
                  "<text:p>Not a placeholder: [[NAME] and [ORDER]].</text:p>"
                  "</office:text></office:body></office:document>\n");
        ASSERT_TRUE(libreoffice_convert(path("office.fodt"), "docx", outDir()));
        templates.push_back("office.docx");
    }

    for (const std::string& name : templates) {
        const std::string filled = name.substr(0, name.size() - 5) + "-filled.docx";
        std::vector<std::string> command = {"fill", path(name), path(filled)};
        command.insert(command.end(), args.begin(), args.end());
        const ToolResult r = Vexword(command);
        EXPECT_EQ(r.status, 0) << r.output;
        const std::string before = python_docx_run(kTextsScript, {path(name)});
        const std::string after = python_docx_run(kTextsScript, {path(filled)});
        EXPECT_NE(before.find("[[NAME]]"), std::string::npos) << name << ":\n" << before;
        EXPECT_EQ(after, Replaced(before, pairs)) << name;
        EXPECT_NE(after.find("Zoë Åberg"), std::string::npos) << name << ":\n" << after;
    }
}

// One document per CSV row, on every core: 1,000 rows with quoted fields,
// commas, quotes, line breaks and text beyond ASCII, each document holding
// its row's values. Ten of them go under build/out for the docx checker of
// CI; the rest stay beside it.
TEST_F(FillCommandTest, BatchOfAThousandRowsFromCsv) {
    SKIP_WITHOUT_PYTHON_DOCX();
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>{id}</w:t></w:r></w:p><w:p><w:r><w:t>Dear {name},</w:t></w:r></w:p>"
                 "<w:p><w:r><w:t>{note}</w:t></w:r></w:p>" +
                 docx_table({{"<w:p><w:r><w:t>{city}</w:t></w:r></w:p>"}}) + "<w:p/>";
    parts.headers = {{"default", "<w:p><w:r><w:t>For {name}</w:t></w:r></w:p>"}};
    write_docx(path("letter.docx"), parts);

    const int kRows = 1000;
    std::string csv = "\xEF\xBB\xBF{id},{name},{note},{city}\r\n";
    for (int i = 0; i < kRows; ++i) {
        const std::string n = std::to_string(i);
        csv += "id-" + n + ",\"Åsa " + n + ", Jr.\",\"said \"\"hi " + n + "\"\"\nnext line\",Zürich " + n + "\r\n";
    }
    WriteFile(path("rows.csv"), csv);
    const std::string batch = std::string(VEXWORD_OUT_DIR) + "/../fill-batch";
    std::filesystem::remove_all(batch);

    const ToolResult r = Vexword({"fill", path("letter.docx"), "--csv", path("rows.csv"), "--out", batch,
                                  "--name", "{id}"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("vexword fill: 1000 of 1000 documents written to"), std::string::npos) << r.output;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(batch)) files += entry.path().extension() == ".docx";
    EXPECT_EQ(files, size_t(kRows));

    // Every document, read by python-docx: its row's values, nothing left.
    const std::string wrong = python_docx_run(
        "import sys, os, docx\n"
        "batch, rows = sys.argv[1], int(sys.argv[2])\n"
        "for i in range(rows):\n"
        "    d = docx.Document(os.path.join(batch, 'id-%d.docx' % i))\n"
        "    texts = [p.text for p in d.paragraphs] + [d.tables[0].cell(0, 0).text,\n"
        "             d.sections[0].header.paragraphs[0].text]\n"
        "    want = ['id-%d' % i, 'Dear \\u00c5sa %d, Jr.,' % i, 'said \"hi %d\"\\nnext line' % i, '',\n"
        "            'Z\\u00fcrich %d' % i, 'For \\u00c5sa %d, Jr.' % i]\n"
        "    if texts != want: print(i, texts)\n",
        {batch, std::to_string(kRows)});
    EXPECT_EQ(wrong, "");
    for (int i = 0; i < kRows; i += kRows / 10)
        std::filesystem::copy_file(batch + "/id-" + std::to_string(i) + ".docx",
                                   path("sample-id-" + std::to_string(i) + ".docx"));
}

// A row that cannot be filled (a field too few, a file that cannot be
// written) is reported with its number; the other rows are written and the
// exit status says that some failed.
TEST_F(FillCommandTest, BatchReportsFailedRowsAndFinishesTheOthers) {
    write_docx(path("letter.docx"), "<w:p><w:r><w:t>Dear {name}</w:t></w:r></w:p>");
    WriteFile(path("rows.csv"), "{name},file\nAnn,ann\nBo\nCy,blocked\nDi,di\n");
    const std::string out = path("letters");
    std::filesystem::create_directories(out + "/blocked.docx/inside");  // a folder in the file's way
    const ToolResult r = Vexword({"fill", path("letter.docx"), "--csv", path("rows.csv"), "--out", out, "--name",
                                  "file", "--jobs", "2"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("vexword fill: 2 of 4 documents written to"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("2 failed"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("vexword fill: row 2: line 3: 1 fields, the header has 2"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("vexword fill: row 3: " + out + "/blocked.docx: is a directory; only a regular file is replaced"),
              std::string::npos)
        << r.output;
    for (const char* name : {"ann", "di"})
        EXPECT_NE(zip_read(out + "/" + name + ".docx", "word/document.xml").find(std::string("Dear ") +
                                                                                 (name[0] == 'a' ? "Ann" : "Di")),
                  std::string::npos);
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(out)) entries += entry.path().extension() == ".docx";
    EXPECT_EQ(entries, 3u);  // the two letters and the folder in the way; no partial files
    for (const auto& entry : std::filesystem::directory_iterator(out))
        EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
}

// The names of a batch's documents, as the README gives them: without
// --name, row-N.docx zero-padded to the digits of the row count; with it,
// the column's value, and a name taken twice gets "-ROW".
TEST_F(FillCommandTest, BatchNamesItsDocuments) {
    write_docx(path("letter.docx"), "<w:p><w:r><w:t>Dear {name}</w:t></w:r></w:p>");
    std::string csv = "{name}\n";
    for (int i = 1; i <= 10; ++i) csv += i % 2 ? "Ann\n" : "Bo/Lund\n";
    WriteFile(path("rows.csv"), csv);
    const auto names = [&](const std::string& dir) {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) found.insert(entry.path().filename());
        return found;
    };
    ToolResult r = Vexword({"fill", path("letter.docx"), "--csv", path("rows.csv"), "--out", path("numbered")});
    EXPECT_EQ(r.status, 0) << r.output;
    std::set<std::string> want;
    for (const char* n : {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"})
        want.insert(std::string("row-") + n + ".docx");
    EXPECT_EQ(names(path("numbered")), want);

    WriteFile(path("two.csv"), "{name}\nAnn\nBo\n");
    r = Vexword({"fill", path("letter.docx"), "--csv", path("two.csv"), "--out", path("two")});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(names(path("two")), (std::set<std::string>{"row-1.docx", "row-2.docx"}));

    r = Vexword({"fill", path("letter.docx"), "--csv", path("rows.csv"), "--out", path("named"), "--name", "{name}"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(names(path("named")),
              (std::set<std::string>{"Ann.docx", "Ann-3.docx", "Ann-5.docx", "Ann-7.docx", "Ann-9.docx",
                                     "Bo_Lund.docx", "Bo_Lund-4.docx", "Bo_Lund-6.docx", "Bo_Lund-8.docx",
                                     "Bo_Lund-10.docx"}));
}
