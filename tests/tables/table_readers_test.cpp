// Tables as other tools see them: python-docx, LibreOffice and pdftotext
// read the tables we write; we read and edit the tables LibreOffice,
// python-docx and pandoc write (merged cells included) and change nothing
// but what we were asked to.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "libreoffice.h"
#include "package_checker.h"
#include "table_fixture.h"

namespace fs = std::filesystem;
using vexrt::Color;
using vexrt::Object;

namespace {

constexpr int CM = 2;
enum BorderParts { Left = 0, Top, Right, Bottom, InsideHorizontal, InsideVertical };
enum BorderStyles { SingleLine = 1, DashedLine = 3, DoubleLine = 8, ThickLine = 12 };

bool Have(const char* tools) {
    return std::system((std::string("for t in ") + tools + "; do command -v $t >/dev/null 2>&1 || exit 1; done")
                           .c_str()) == 0;
}

// The printed XML of an entry, whitespace between elements dropped.
std::string Canonical(const std::string& bytes) {
    pugi::xml_document xml;
    EXPECT_TRUE(xml.load_buffer(bytes.data(), bytes.size()));
    std::ostringstream out;
    xml.document_element().print(out, "", pugi::format_raw);
    return out.str();
}

class TableReadersTest : public TableFixture {
protected:
    // The texts of every cell of every table of the body, a row a line,
    // cells separated by " | ", a cell's paragraphs by "/".
    std::string CellTexts(const Object& doc) {
        std::string out;
        for (int64_t t = 0, tables = Int(doc, "TableCount"); t < tables; ++t) {
            Object table = Call(doc, "Table", {t});
            for (int64_t r = 0, rows = Int(table, "RowCount"); r < rows; ++r) {
                Object row = Call(table, "Row", {r});
                for (int64_t c = 0;; ++c) {
                    Object cell = Call(row, "Cell", {c});
                    if (!cell) break;
                    if (c) out += " | ";
                    for (int64_t p = 0, n = Int(cell, "ParagraphCount"); p < n; ++p)
                        out += (p ? "/" : "") + Str(Call(cell, "Paragraph", {p}), "Text");
                }
                out += "\n";
            }
        }
        return out;
    }

    // Converts with LibreOffice in outDir() (a profile of its own).
    void SofficeConvert(const std::string& file, const std::string& filter) {
        std::string profile = (fs::temp_directory_path() / "vexword-lo-XXXXXX").string();
        ASSERT_NE(mkdtemp(profile.data()), nullptr);
        const int status = std::system(("cd '" + outDir() + "' && timeout 300 soffice -env:UserInstallation=file://" +
                                        profile + " --headless --convert-to '" + filter + "' '" + file +
                                        "' >/dev/null 2>&1")
                                           .c_str());
        fs::remove_all(profile);
        ASSERT_EQ(status, 0);
    }

    // Opens `name`, checks the cell texts, sets the text of the cell whose
    // text is `from` to `to`, saves a copy, and expects the copy's parts to
    // be the original's with only that text changed.
    void EditOneCell(const std::string& name, const std::string& expectedTexts, const std::string& from,
                     const std::string& to) {
        SCOPED_TRACE(name);
        Object doc = rt().callShared("Document", "Open", {folderItem(path(name + ".docx"))}).object();
        ASSERT_TRUE(doc);
        EXPECT_EQ(CellTexts(doc), expectedTexts);
        bool changed = false;
        Object table = Call(doc, "Table", {0});
        for (int64_t r = 0; r < Int(table, "RowCount") && !changed; ++r)
            for (int64_t c = 0; Object cell = CellOf(table, int(c), int(r)); ++c) {
                Object paragraph = Call(cell, "Paragraph", {0});
                if (Str(paragraph, "Text") != from) continue;
                ASSERT_EQ(Int(paragraph, "RunCount"), 1);
                rt().set(Call(paragraph, "Run", {0}), "Text", to);
                changed = true;
                break;
            }
        ASSERT_TRUE(changed);
        SaveCopy(doc, name + "-edited.docx");
        doc = Object();

        const std::string before = path(name + ".docx"), after = path(name + "-edited.docx");
        std::string expected = Canonical(zip_read(before, "word/document.xml"));
        // The run's text element as the library writes a text that needs no
        // preserved spaces.
        const size_t at = expected.find(">" + from + "</w:t>");
        ASSERT_NE(at, std::string::npos);
        const size_t open = expected.rfind("<w:t", at);
        expected.replace(open, at + 1 + from.size() - open, "<w:t>" + to);
        EXPECT_EQ(Canonical(zip_read(after, "word/document.xml")), expected);
        for (const std::string& entry : zip_entries(before)) {
            if (entry == "word/document.xml") continue;
            const bool xml = entry.size() > 4 && (entry.substr(entry.size() - 4) == ".xml" ||
                                                  entry.substr(entry.size() - 5) == ".rels");
            if (xml) {
                EXPECT_EQ(Canonical(zip_read(after, entry)), Canonical(zip_read(before, entry))) << entry;
            } else {
                EXPECT_EQ(zip_read(after, entry), zip_read(before, entry)) << entry;
            }
        }
        // What another reader sees of the edited cell.
        const std::string printed = python_docx_run(
            "import sys, docx\n"
            "d = docx.Document(sys.argv[1])\n"
            "print(sum(1 for t in d.tables for r in t.rows for c in r.cells if c.text == sys.argv[2]))\n",
            {after, to});
        if (!printed.empty()) {
            EXPECT_NE(printed, "0\n");
        }
    }
    // Opens `name`.docx, removes every second row of its first table walking
    // forward (RowCount in the condition) and then rows backwards down to
    // one, appends two rows with text, saves a copy and expects every
    // checker rule to pass and python-docx to read the rows left and added.
    void EditRows(const std::string& name, int64_t rowsAtStart, const std::string& firstCell) {
        SCOPED_TRACE(name);
        Object doc = rt().callShared("Document", "Open", {folderItem(path(name + ".docx"))}).object();
        ASSERT_TRUE(doc);
        Object table = Call(doc, "Table", {0});
        ASSERT_EQ(Int(table, "RowCount"), rowsAtStart);
        for (int64_t i = 1; i < Int(table, "RowCount"); ++i) rt().call(table, "RemoveRow", {Call(table, "Row", {i})});
        EXPECT_EQ(Int(table, "RowCount"), (rowsAtStart + 1) / 2);
        for (int64_t i = Int(table, "RowCount") - 1; i > 0; --i)
            rt().call(table, "RemoveRow", {Call(table, "Row", {i})});
        ASSERT_EQ(Int(table, "RowCount"), 1);
        for (const char* text : {"added one", "added two"}) {
            Object row = Call(table, "AppendRow");
            ASSERT_TRUE(row);
            Fill(Call(row, "Cell", {0}), text);
        }
        EXPECT_EQ(Int(table, "RowCount"), 3);
        SaveCopy(doc, name + "-rows.docx");
        doc = Object();
        const std::string copy = path(name + "-rows.docx");
        EXPECT_EQ(package_check_failures(copy, false), "");
        const std::string printed = python_docx_run(
            "import sys, docx\n"
            "t = docx.Document(sys.argv[1]).tables[0]\n"
            "print(len(t.rows))\n"
            "for r in t.rows:\n"
            "    print(r.cells[0].text)\n",
            {copy});
        if (!printed.empty()) {
            EXPECT_EQ(printed, "3\n" + firstCell + "\nadded one\nadded two\n");
        }
    }
};

}  // namespace

// A table as a user builds it: header row in bold on a shaded background,
// columns of several widths, borders of several styles, a nested table and
// alternative text. python-docx reads every cell and the style, LibreOffice
// lays it out with the cells in their columns.
TEST_F(TableReadersTest, OtherReadersSeeEveryCellInItsColumn) {
    Object doc = Create("order.new.docx");
    rt().call(doc, "AppendParagraph", {"Order 1234"});
    Object table = AppendTable(doc, 3, 4);
    rt().set(table, "AltTextTitle", "Order");
    rt().set(table, "AltTextDescription", "Items, quantities and prices");
    const double widths[] = {7.0, 4.0, 3.0};
    for (int c = 0; c < 3; ++c) rt().call(table, "ColumnWidth", {c, CM, widths[c]});
    const char* const rows[4][3] = {
        {"Item", "Quantity", "Price"}, {"Apples", "12", "3.60"}, {"Pears", "4", "2.10"}, {"Total", "", "5.70"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            Object run = Call(Call(CellOf(table, c, r), "Paragraph", {0}), "AppendRun", {rows[r][c]});
            if (r == 0) rt().set(run, "Bold", 1);
        }
    Object header = Call(table, "Row", {0});
    rt().set(header, "RepeatAsHeaderRow", true);
    for (int c = 0; c < 3; ++c) rt().set(CellOf(table, c, 0), "BackgroundColor", Color{0xD9E2F3});
    rt().call(Call(table, "Border", {Top}), "SetBorderStyle", {ThickLine, 12, 0});
    rt().call(Call(table, "Border", {Bottom}), "SetBorderStyle", {DoubleLine, 6, 0, Color{0x1F3864}});
    rt().call(Call(table, "Border", {InsideHorizontal}), "SetBorderStyle", {DashedLine, 4, 0});
    rt().call(Call(CellOf(table, 2, 3), "Border", {Top}), "SetBorderStyle", {SingleLine, 8, 0});
    // The total row's empty cell holds a nested table of two cells.
    Object nested = AppendTable(CellOf(table, 1, 3), 2, 1);
    for (int c = 0; c < 2; ++c) rt().call(nested, "ColumnWidth", {c, CM, 1.6});
    Fill(CellOf(nested, 0, 0), "net");
    Fill(CellOf(nested, 1, 0), "gross");
    rt().call(doc, "AppendParagraph", {"Thank you"});
    rt().call(doc, "Save");
    const std::string file = path("order.new.docx");

    const std::string printed = python_docx_run(
        "import sys, docx\n"
        "d = docx.Document(sys.argv[1])\n"
        "t = d.tables[0]\n"
        "print(t.style.name if t.style is not None else '-')\n"
        "for r in t.rows:\n"
        "    print('|'.join(c.text for c in r.cells))\n"
        "n = t.cell(3, 1).tables[0]\n"
        "print('nested', '|'.join(c.text for c in n.rows[0].cells))\n"
        "print(t.rows[0]._tr.trPr is not None)\n",
        {file});
    if (!printed.empty()) {
        EXPECT_EQ(printed,
                  "Table Grid\nItem|Quantity|Price\nApples|12|3.60\nPears|4|2.10\nTotal|\n|5.70\nnested net|gross\nTrue\n");
    }

    EXPECT_EQ(package_check_failures(file, true), "");
    if (!libreoffice_available() || !pdf_tools_available()) GTEST_SKIP() << "LibreOffice or poppler is missing";
    ASSERT_TRUE(libreoffice_convert(file, "pdf", outDir()));
    const std::string page = pdf_page_text(path("order.new.pdf"), 1);
    // Each row on one line, its cells left to right, each column starting
    // where the one above starts.
    const std::vector<std::vector<std::string>> expected = {
        {"Item", "Quantity", "Price"}, {"Apples", "12", "3.60"}, {"Pears", "4", "2.10"}};
    std::vector<std::vector<size_t>> columns;
    for (const auto& cells : expected) {
        std::istringstream lines(page);
        std::string line;
        while (std::getline(lines, line)) {
            const size_t first = line.find(cells[0] + " ");
            if (first == std::string::npos) continue;
            const size_t second = line.find(" " + cells[1], first) + 1;
            const size_t third = line.find(" " + cells[2], second) + 1;
            ASSERT_TRUE(second != 0 && third != 0) << line << "\n" << page;
            columns.push_back({first, second, third});
            break;
        }
    }
    ASSERT_EQ(columns.size(), 3u) << page;
    for (size_t c = 0; c < 3; ++c) {
        EXPECT_LE(std::max(columns[1][c], columns[0][c]) - std::min(columns[1][c], columns[0][c]), 2u) << page;
        EXPECT_LE(std::max(columns[2][c], columns[0][c]) - std::min(columns[2][c], columns[0][c]), 2u) << page;
    }
    EXPECT_NE(page.find("net"), std::string::npos) << page;
    EXPECT_NE(page.find("gross"), std::string::npos) << page;
}

TEST_F(TableReadersTest, TablesOfPythonDocxWithMergedCellsAreEditedInPlace) {
    SKIP_WITHOUT_PYTHON_DOCX();
    python_docx_run(
        "import sys, docx\n"
        "from docx.table import _Cell\n"
        "d = docx.Document()\n"
        "d.add_paragraph('Before')\n"
        "t = d.add_table(rows=3, cols=3)\n"
        "t.style = 'Table Grid'\n"
        "t.cell(0, 0).merge(t.cell(0, 1))\n"
        "t.cell(1, 2).merge(t.cell(2, 2))\n"
        "for r, row in enumerate(t.rows):\n"
        "    for c, tc in enumerate(row._tr.tc_lst):\n"
        "        if tc.vMerge == 'continue':\n"
        "            continue\n"
        "        _Cell(tc, t).text = 'r%dc%d' % (r, c)\n"
        "d.add_paragraph('After')\n"
        "d.save(sys.argv[1])\n",
        {path("python.docx")});
    EditOneCell("python", "r0c0 | r0c1\nr1c0 | r1c1 | r1c2\nr2c0 | r2c1 | \n", "r1c1", "changed");
}

TEST_F(TableReadersTest, TablesOfLibreOfficeWithMergedCellsAreEditedInPlace) {
    if (!Have("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    {
        std::ofstream html(path("office.html"));
        html << "<html><body><p>Before</p><table border=\"1\"><tr><td colspan=\"2\">L00</td><td>L02</td></tr>"
                "<tr><td rowspan=\"2\">L10</td><td>L11</td><td>L12</td></tr><tr><td>L21</td><td>L22</td></tr>"
                "</table><p>After</p></body></html>";
    }
    SofficeConvert("office.html", "docx:Office Open XML Text");
    ASSERT_TRUE(fs::exists(path("office.docx")));
    EditOneCell("office", "L00 | L02\nL10 | L11 | L12\n | L21 | L22\n", "L12", "changed");
}

TEST_F(TableReadersTest, TablesOfPandocAreEditedInPlace) {
    if (!Have("pandoc")) GTEST_SKIP() << "pandoc is not installed";
    {
        std::ofstream md(path("in.md"));
        md << "Before\n\n| Fruit | Count |\n|-------|------:|\n| Apple | 3 |\n| Pear | 5 |\n\nAfter\n";
    }
    ASSERT_EQ(std::system(("pandoc -o '" + path("pandoc.docx") + "' '" + path("in.md") + "'").c_str()), 0);
    EditOneCell("pandoc", "Fruit | Count\nApple | 3\nPear | 5\n", "Pear", "Quince");
}

TEST_F(TableReadersTest, RowsOfAPythonDocxTableAreRemovedAndAdded) {
    SKIP_WITHOUT_PYTHON_DOCX();
    python_docx_run(
        "import sys, docx\n"
        "d = docx.Document()\n"
        "d.add_paragraph('Before')\n"
        "t = d.add_table(rows=7, cols=3)\n"
        "t.style = 'Table Grid'\n"
        "for r, row in enumerate(t.rows):\n"
        "    for c, cell in enumerate(row.cells):\n"
        "        cell.text = 'p%d%d' % (r, c)\n"
        "t.cell(4, 0).merge(t.cell(4, 1))\n"
        "d.add_paragraph('After')\n"
        "d.save(sys.argv[1])\n",
        {path("python-rows.docx")});
    EditRows("python-rows", 7, "p00");
}

TEST_F(TableReadersTest, RowsOfALibreOfficeTableAreRemovedAndAdded) {
    if (!Have("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    {
        std::ofstream html(path("office-rows.html"));
        html << "<html><body><p>Before</p><table border=\"1\">";
        for (int r = 0; r < 6; ++r)
            html << "<tr><td>L" << r << "0</td>" << (r == 2 ? "<td colspan=\"2\">wide</td>" : "<td>x</td><td>y</td>")
                 << "</tr>";
        html << "</table><p>After</p></body></html>";
    }
    SofficeConvert("office-rows.html", "docx:Office Open XML Text");
    ASSERT_TRUE(fs::exists(path("office-rows.docx")));
    EditRows("office-rows", 6, "L00");
}
