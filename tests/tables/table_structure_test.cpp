// Tables through the runtime: making them in every kind of container, rows
// added and removed, lookups, widths and header rows; and the rules word
// processors hold files to (a paragraph ends every cell, no table without
// rows, no row without cells, two tables never touch, children in schema
// order).
#include "package_checker.h"
#include "table_fixture.h"

using vexrt::Object;

namespace {

class TableStructureTest : public TableFixture {};

constexpr int TWIPS = 0, INCHES = 1, CM = 2;
constexpr int AUTO = 0, ABSOLUTE = 1, PERCENTAGE = 2;

}  // namespace

TEST_F(TableStructureTest, ANewTableHasItsGridRowsAndCellsBeforeTheSectionProperties) {
    Object doc = Create("new.new.docx");
    Object table = AppendTable(doc, 3, 2);
    ASSERT_TRUE(table);
    EXPECT_EQ(rt().className(table), "VexlomarWord.Table");
    EXPECT_EQ(Int(table, "RowCount"), 2);
    EXPECT_EQ(Int(table, "ColumnCount"), 3);
    EXPECT_EQ(Int(doc, "TableCount"), 1);
    EXPECT_EQ(Int(table, "WidthMode"), AUTO);
    EXPECT_EQ(Int(table, "ConditionalFormattingFlags"), 0x04A0);

    pugi::xml_document saved;
    pugi::xml_node body = SavedBody(doc, saved);
    EXPECT_EQ(ChildNames(body), (Names{"w:p", "w:tbl", "w:sectPr"}));
    pugi::xml_node tbl = body.child("w:tbl");
    EXPECT_EQ(ChildNames(tbl), (Names{"w:tblPr", "w:tblGrid", "w:tr", "w:tr"}));
    EXPECT_EQ(xml_print(tbl.child("w:tblPr")),
              "<w:tblPr><w:tblStyle w:val=\"TableGrid\"/><w:tblW w:w=\"0\" w:type=\"auto\"/>"
              "<w:tblLook w:val=\"04A0\" w:firstRow=\"1\" w:lastRow=\"0\" w:firstColumn=\"0\" "
              "w:lastColumn=\"0\" w:noHBand=\"0\" w:noVBand=\"1\"/></w:tblPr>");
    EXPECT_EQ(xml_print(tbl.child("w:tblGrid")),
              "<w:tblGrid><w:gridCol w:w=\"3116\"/><w:gridCol w:w=\"3116\"/><w:gridCol w:w=\"3116\"/></w:tblGrid>");
    for (pugi::xml_node tr : tbl.children("w:tr")) {
        EXPECT_EQ(ChildNames(tr), (Names{"w:tc", "w:tc", "w:tc"}));
        for (pugi::xml_node tc : tr.children("w:tc"))
            EXPECT_EQ(xml_print(tc), "<w:tc><w:tcPr><w:tcW w:w=\"3116\" w:type=\"dxa\"/></w:tcPr><w:p/></w:tc>");
    }
    // The style the table names is there.
    const std::string styles = zip_read(LastCopy(), "word/styles.xml");
    EXPECT_NE(styles.find("w:styleId=\"TableGrid\""), std::string::npos);
}

TEST_F(TableStructureTest, AppendTableRefusesEmptySizesAndChangesNoItems) {
    Object doc = Create("sizes.new.docx");
    EXPECT_RAISED(AppendTable(doc, 0, 5), "InvalidArgumentException",
                  "Parameter columnCount must be greater than zero", 1);
    EXPECT_RAISED(AppendTable(doc, 2, 0), "InvalidArgumentException", "Parameter rowCount must be greater than zero",
                  2);
    EXPECT_RAISED(AppendTable(doc, 0, 0), "InvalidArgumentException",
                  "Parameter columnCount must be greater than zero", 1);
    EXPECT_RAISED(AppendTable(doc, -3, 1), "InvalidArgumentException",
                  "Parameter columnCount must be greater than zero", 1);
    EXPECT_EQ(Int(doc, "ItemCount"), 1);

    DocxParts parts;
    parts.body = "<w:p/>";
    parts.appendSectPr = false;
    write_docx(path("bare.docx"), parts);
    Object bare = rt().callShared("Document", "Open", {folderItem(path("bare.docx"))}).object();
    // Final section properties are optional: a body without them takes the
    // table at its end.
    EXPECT_TRUE(AppendTable(bare, 2, 2));
    EXPECT_EQ(Int(bare, "TableCount"), 1);
    rt().call(bare, "Save");
    const std::string body = zip_read(path("bare.docx"), "word/document.xml");
    EXPECT_NE(body.find("<w:p/><w:tbl>"), std::string::npos) << body;
    EXPECT_EQ(package_check_failures(path("bare.docx"), false), "");
}

TEST_F(TableStructureTest, LookupsOutOfRangeGiveNil) {
    Object doc = Create("lookups.new.docx");
    Object table = AppendTable(doc, 2, 3);
    EXPECT_TRUE(Call(table, "Row", {-1}).isNil());
    EXPECT_TRUE(Call(table, "Row", {3}).isNil());
    EXPECT_TRUE(CellOf(table, 2, 0).isNil());
    EXPECT_TRUE(CellOf(table, 0, 3).isNil());
    EXPECT_TRUE(CellOf(table, -1, 0).isNil());
    Object row = Call(table, "Row", {2});
    ASSERT_TRUE(row);
    EXPECT_EQ(rt().className(row), "VexlomarWord.TableRow");
    EXPECT_TRUE(Call(row, "Cell", {2}).isNil());
    EXPECT_TRUE(Call(row, "Cell", {-1}).isNil());
    Object cell = Call(row, "Cell", {1});
    EXPECT_EQ(rt().className(cell), "VexlomarWord.TableCell");
    EXPECT_TRUE(rt().isA(cell, "VexlomarWord.Container"));
}

TEST_F(TableStructureTest, LookupsInAnyOrderFindTheRightCells) {
    Object doc = Create("order.new.docx");
    Object table = AppendTable(doc, 3, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) Fill(CellOf(table, c, r), std::to_string(r) + "," + std::to_string(c));
    // Backwards, then jumping about: remembered places must not mislead.
    for (int r = 3; r >= 0; --r)
        for (int c = 2; c >= 0; --c)
            EXPECT_EQ(CellText(CellOf(table, c, r)), std::to_string(r) + "," + std::to_string(c));
    EXPECT_EQ(CellText(CellOf(table, 1, 2)), "2,1");
    EXPECT_EQ(CellText(CellOf(table, 0, 0)), "0,0");
    EXPECT_EQ(CellText(Call(Call(table, "Row", {3}), "Cell", {2})), "3,2");
    // After a row is removed, the same indexes find the rows that moved up.
    rt().call(table, "RemoveRow", {Call(table, "Row", {1})});
    EXPECT_EQ(CellText(CellOf(table, 0, 1)), "2,0");
    EXPECT_EQ(CellText(CellOf(table, 2, 2)), "3,2");
    EXPECT_TRUE(CellOf(table, 0, 3).isNil());
}

TEST_F(TableStructureTest, EveryCellEndsWithAParagraphAndTwoTablesNeverTouch) {
    Object doc = Create("nested.new.docx");
    Object outer = AppendTable(doc, 2, 1);
    Object second = AppendTable(doc, 1, 1);
    Object cell = CellOf(outer, 1, 0);
    Fill(cell, "above");
    Object inner = AppendTable(cell, 2, 1);
    ASSERT_TRUE(inner);
    AppendTable(cell, 1, 1);
    Fill(CellOf(inner, 0, 0), "inner");
    EXPECT_EQ(Int(cell, "TableCount"), 2);
    EXPECT_EQ(Int(cell, "ParagraphCount"), 3);
    // The cell's second table is found through the cell.
    EXPECT_EQ(CellText(CellOf(Call(cell, "Table", {0}), 0, 0)), "inner");

    // Removing the paragraph after the last table puts an empty one back.
    rt().call(cell, "RemoveItem", {Call(cell, "Item", {4})});

    pugi::xml_document saved;
    pugi::xml_node body = SavedBody(doc, saved);
    EXPECT_EQ(ChildNames(body), (Names{"w:p", "w:tbl", "w:p", "w:tbl", "w:sectPr"}));
    pugi::xml_node tc = body.child("w:tbl").child("w:tr").last_child();
    EXPECT_EQ(ChildNames(tc), (Names{"w:tcPr", "w:p", "w:tbl", "w:p", "w:tbl", "w:p"}));
    // Every cell anywhere ends with a paragraph.
    for (pugi::xpath_node found : body.select_nodes("//w:tc"))
        EXPECT_STREQ(found.node().last_child().name(), "w:p") << xml_print(found.node());
}

TEST_F(TableStructureTest, TablesGoIntoHeadersAndFootersToo) {
    Object doc = Create("header.new.docx");
    Object header = Call(doc, "Header", {0, true});
    ASSERT_TRUE(header);
    Object table = AppendTable(header, 2, 1);
    ASSERT_TRUE(table);
    Fill(CellOf(table, 0, 0), "in header");
    EXPECT_EQ(Int(header, "TableCount"), 1);
    SaveCopy(doc, "header-copy.new.docx");
    const std::string xml = zip_read(path("header-copy.new.docx"), "word/header1.xml");
    pugi::xml_document parsed;
    ASSERT_TRUE(parsed.load_string(xml.c_str()));
    pugi::xml_node root = parsed.first_child();
    EXPECT_STREQ(root.last_child().name(), "w:p") << xml;
    EXPECT_TRUE(root.child("w:tbl")) << xml;
}

TEST_F(TableStructureTest, RowsAreAddedWithTheGridsWidthsAndRemovedDownToTheTable) {
    Object doc = Create("rows.new.docx");
    Object table = AppendTable(doc, 2, 1);
    rt().call(table, "ColumnWidth", {1, TWIPS, 2000.0});
    Object row = Call(table, "AppendRow");
    ASSERT_TRUE(row);
    EXPECT_EQ(Int(table, "RowCount"), 2);
    EXPECT_EQ(Int(row, "ColumnCount"), 2);
    Fill(Call(row, "Cell", {1}), "new");

    pugi::xml_document saved;
    pugi::xml_node tbl = SavedBody(doc, saved).child("w:tbl");
    pugi::xml_node newRow = tbl.last_child();
    EXPECT_EQ(xml_print(newRow.first_child()),
              "<w:tc><w:tcPr><w:tcW w:w=\"3116\" w:type=\"dxa\"/></w:tcPr><w:p/></w:tc>");
    EXPECT_EQ(newRow.last_child().child("w:tcPr").child("w:tcW").attribute("w:w").as_int(), 2000);

    // A row of another table is left alone; nil does nothing.
    Object other = AppendTable(doc, 1, 2);
    rt().call(table, "RemoveRow", {Call(other, "Row", {0})});
    rt().call(table, "RemoveRow", {vexrt::Value()});
    EXPECT_EQ(Int(table, "RowCount"), 2);
    EXPECT_EQ(Int(other, "RowCount"), 2);

    // Removing the last row removes the table: none without rows. The
    // removed table refuses what follows (table_removal_test.cpp).
    rt().call(table, "RemoveRow", {Call(table, "Row", {0})});
    rt().call(table, "RemoveRow", {row});
    EXPECT_EQ(Int(doc, "TableCount"), 1);
    EXPECT_RAISED(Int(table, "RowCount"), "VexlomarWord.WordException",
                  "Table, row or cell was removed from the document", -20);
    EXPECT_RAISED(rt().call(table, "RemoveRow", {row}), "VexlomarWord.WordException",
                  "Table, row or cell was removed from the document", -20);
    pugi::xml_document again;
    pugi::xml_node body = SavedBody(doc, again);
    EXPECT_EQ(ChildNames(body), (Names{"w:p", "w:p", "w:tbl", "w:sectPr"}));
    for (pugi::xpath_node found : body.select_nodes("//w:tbl"))
        EXPECT_TRUE(found.node().child("w:tr")) << "a table without rows";
}

TEST_F(TableStructureTest, ATableWithoutAGridCopiesItsLastRowOrAddsNone) {
    // Tables without a grid: a damaged file, so not named .docx.
    Object doc = OpenBody("nogrid.damaged",
                          "<w:tbl><w:tblPr/><w:tr><w:tc><w:tcPr><w:tcW w:w=\"1000\" w:type=\"dxa\"/></w:tcPr><w:p/>"
                          "</w:tc><w:tc><w:tcPr><w:tcW w:w=\"1500\" w:type=\"dxa\"/></w:tcPr><w:p/></w:tc></w:tr>"
                          "</w:tbl><w:p/><w:tbl><w:tblPr/></w:tbl><w:p/>");
    Object table = Call(doc, "Table", {0});
    EXPECT_EQ(Int(table, "ColumnCount"), 0);
    Object row = Call(table, "AppendRow");
    ASSERT_TRUE(row);
    EXPECT_TRUE(Call(row, "Cell", {1}));
    EXPECT_TRUE(Call(row, "Cell", {2}).isNil());

    // Nothing says how many cells a row of the empty table has: no row.
    Object empty = Call(doc, "Table", {1});
    EXPECT_TRUE(Call(empty, "AppendRow").isNil());

    pugi::xml_document saved;
    pugi::xml_node body = SavedBody(doc, saved, ".damaged");
    pugi::xml_node added = body.child("w:tbl").last_child();
    EXPECT_EQ(added.first_child().child("w:tcPr").child("w:tcW").attribute("w:w").as_int(), 1000);
    EXPECT_EQ(added.last_child().child("w:tcPr").child("w:tcW").attribute("w:w").as_int(), 1500);
    EXPECT_FALSE(body.last_child().previous_sibling().previous_sibling().child("w:tr"));
}

TEST_F(TableStructureTest, ColumnWidthsInEveryUnitReachTheGridAndTheCells) {
    Object doc = Create("widths.new.docx");
    Object table = AppendTable(doc, 3, 2);
    EXPECT_DOUBLE_EQ(Number(rt().call(table, "ColumnWidth", {0, INCHES})), 3116.0 / 1440.0);
    EXPECT_DOUBLE_EQ(Number(rt().call(table, "ColumnWidth", {0, TWIPS})), 3116.0);
    EXPECT_RAISED(rt().call(table, "ColumnWidth", {3, TWIPS}), "OutOfBoundsException", "Column index was out of bounds",
                  -55);
    EXPECT_RAISED(rt().call(table, "ColumnWidth", {-1, TWIPS}), "OutOfBoundsException",
                  "Column index was out of bounds", -55);
    EXPECT_RAISED(rt().call(table, "ColumnWidth", {3, CM, 1.0}), "OutOfBoundsException",
                  "Column index was out of bounds", -55);

    rt().call(table, "ColumnWidth", {1, TWIPS, 2000.0});
    rt().call(table, "ColumnWidth", {2, CM, 2.5});
    rt().call(table, "ColumnWidth", {0, INCHES, 1.5});
    EXPECT_NEAR(Number(rt().call(table, "ColumnWidth", {2, CM})), 2.5, 0.01);
    EXPECT_DOUBLE_EQ(Number(rt().call(table, "ColumnWidth", {0, TWIPS})), 2160.0);

    pugi::xml_document saved;
    pugi::xml_node tbl = SavedBody(doc, saved).child("w:tbl");
    std::vector<int> grid;
    for (pugi::xml_node col : tbl.child("w:tblGrid").children("w:gridCol")) grid.push_back(col.attribute("w:w").as_int());
    EXPECT_EQ(grid, (std::vector<int>{2160, 2000, 1417}));
    for (pugi::xml_node tr : tbl.children("w:tr")) {
        std::vector<int> cells;
        for (pugi::xml_node tc : tr.children("w:tc"))
            cells.push_back(tc.child("w:tcPr").child("w:tcW").attribute("w:w").as_int());
        EXPECT_EQ(cells, grid);
    }
}

TEST_F(TableStructureTest, ColumnWidthsFollowGridColumnsThroughMergedCells) {
    // Row 1: one cell over both first columns, then one; row 2: skips the
    // first grid column, then two cells; row 3: a cell without properties.
    const std::string table =
        "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"1000\"/>"
        "<w:gridCol w:w=\"1000\"/><w:gridCol w:w=\"1000\"/></w:tblGrid>"
        "<w:tr><w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/><w:gridSpan w:val=\"2\"/></w:tcPr><w:p/></w:tc>"
        "<w:tc><w:tcPr><w:tcW w:w=\"1000\" w:type=\"dxa\"/></w:tcPr><w:p/></w:tc></w:tr>"
        "<w:tr><w:trPr><w:gridBefore w:val=\"1\"/></w:trPr><w:tc><w:tcPr><w:tcW w:w=\"1000\" w:type=\"dxa\"/>"
        "</w:tcPr><w:p/></w:tc><w:tc><w:tcPr><w:tcW w:w=\"1000\" w:type=\"dxa\"/></w:tcPr><w:p/></w:tc></w:tr>"
        "<w:tr><w:tc><w:p/></w:tc><w:tc><w:tcPr><w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"FF0000\"/></w:tcPr>"
        "<w:p/></w:tc><w:tc><w:p/></w:tc></w:tr></w:tbl><w:p/>";
    Object doc = OpenBody("merged.docx", table);
    Object t = Call(doc, "Table", {0});
    // A row's column count is the table's grid, whatever cells it has.
    EXPECT_EQ(Int(Call(t, "Row", {0}), "ColumnCount"), 3);
    EXPECT_TRUE(Call(Call(t, "Row", {0}), "Cell", {2}).isNil());
    rt().call(t, "ColumnWidth", {1, TWIPS, 3000.0});

    pugi::xml_document saved;
    pugi::xml_node tbl = SavedBody(doc, saved).child("w:tbl");
    auto widths = [](pugi::xml_node tr) {
        std::vector<int> w;
        for (pugi::xml_node tc : tr.children("w:tc")) w.push_back(tc.child("w:tcPr").child("w:tcW").attribute("w:w").as_int(-1));
        return w;
    };
    pugi::xml_node tr = tbl.child("w:tr");
    EXPECT_EQ(widths(tr), (std::vector<int>{4000, 1000}));
    tr = tr.next_sibling("w:tr");
    EXPECT_EQ(widths(tr), (std::vector<int>{3000, 1000}));
    tr = tr.next_sibling("w:tr");
    EXPECT_EQ(widths(tr), (std::vector<int>{-1, 3000, -1}));
    // The width goes before the shading: the schema's order.
    EXPECT_EQ(ChildNames(tr.child("w:tc").next_sibling().child("w:tcPr")), (Names{"w:tcW", "w:shd"}));
}

TEST_F(TableStructureTest, TableWidthsInEveryMode) {
    Object doc = Create("tablewidth.new.docx");
    Object table = AppendTable(doc, 2, 1);
    EXPECT_DOUBLE_EQ(Number(rt().call(table, "TableWidth", {CM})), 0.0);
    rt().call(table, "SetTableWidth", {PERCENTAGE, TWIPS, 1.7});
    EXPECT_EQ(Int(table, "WidthMode"), PERCENTAGE);
    EXPECT_DOUBLE_EQ(Number(rt().call(table, "TableWidth", {CM})), 1.0);
    rt().call(table, "SetTableWidth", {PERCENTAGE, TWIPS, 0.3333});
    EXPECT_DOUBLE_EQ(Number(rt().call(table, "TableWidth", {TWIPS})), 0.333);
    rt().call(table, "SetTableWidth", {ABSOLUTE, CM, 10.0});
    EXPECT_EQ(Int(table, "WidthMode"), ABSOLUTE);
    EXPECT_NEAR(Number(rt().call(table, "TableWidth", {CM})), 10.0, 0.01);
    EXPECT_DOUBLE_EQ(Number(rt().call(table, "TableWidth", {TWIPS})), 5669.0);
    rt().call(table, "SetTableWidth", {7, TWIPS, 99.0});  // not a mode: nothing
    EXPECT_EQ(Int(table, "WidthMode"), ABSOLUTE);

    pugi::xml_document saved;
    pugi::xml_node tblPr = SavedBody(doc, saved).child("w:tbl").child("w:tblPr");
    EXPECT_EQ(xml_print(tblPr.child("w:tblW")), "<w:tblW w:w=\"5669\" w:type=\"dxa\"/>");

    rt().call(table, "SetTableWidth", {AUTO, CM, 4.0});
    EXPECT_EQ(Int(table, "WidthMode"), AUTO);
    EXPECT_DOUBLE_EQ(Number(rt().call(table, "TableWidth", {TWIPS})), 0.0);

    // A table without a width reads as a percentage of 0; setting one
    // makes the element in its place.
    Object opened = OpenBody("nowidth.docx",
                             "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol w:w=\"100\"/></w:tblGrid><w:tr><w:tc><w:p/></w:tc>"
                             "</w:tr></w:tbl><w:p/>");
    Object t = Call(opened, "Table", {0});
    EXPECT_EQ(Int(t, "WidthMode"), PERCENTAGE);
    EXPECT_DOUBLE_EQ(Number(rt().call(t, "TableWidth", {TWIPS})), 0.0);
    rt().call(t, "SetTableWidth", {PERCENTAGE, TWIPS, 0.5});
    EXPECT_DOUBLE_EQ(Number(rt().call(t, "TableWidth", {TWIPS})), 0.5);
}

TEST_F(TableStructureTest, OnlyTheFirstRowBecomesAHeaderRowWithItsPropertiesInPlace) {
    Object doc = OpenBody("header-row.docx",
                          "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol w:w=\"100\"/></w:tblGrid>"
                          "<w:tr><w:tblPrEx><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPrEx><w:tc><w:p/></w:tc></w:tr>"
                          "<w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl><w:p/>");
    Object table = Call(doc, "Table", {0});
    Object first = Call(table, "Row", {0});
    Object second = Call(table, "Row", {1});
    rt().set(second, "RepeatAsHeaderRow", true);
    EXPECT_FALSE(Bool(second, "RepeatAsHeaderRow"));
    rt().set(first, "RepeatAsHeaderRow", true);
    rt().set(first, "RepeatAsHeaderRow", true);
    EXPECT_TRUE(Bool(first, "RepeatAsHeaderRow"));

    pugi::xml_document saved;
    pugi::xml_node tbl = SavedBody(doc, saved).child("w:tbl");
    pugi::xml_node tr = tbl.child("w:tr");
    EXPECT_EQ(ChildNames(tr), (Names{"w:tblPrEx", "w:trPr", "w:tc"}));
    EXPECT_EQ(xml_print(tr.child("w:trPr")), "<w:trPr><w:tblHeader/></w:trPr>");
    EXPECT_FALSE(tr.next_sibling("w:tr").child("w:trPr"));

    rt().set(first, "RepeatAsHeaderRow", false);
    EXPECT_FALSE(Bool(first, "RepeatAsHeaderRow"));
}

TEST_F(TableStructureTest, ItemLookupsStayRightAroundNewTables) {
    Object doc = Create("items.new.docx");
    for (const char* text : {"a", "b"}) rt().call(doc, "AppendParagraph", {text});
    EXPECT_EQ(Str(Call(doc, "Paragraph", {2}), "Text"), "b");
    AppendTable(doc, 1, 1);
    AppendTable(doc, 1, 1);  // with an empty paragraph before it
    rt().call(doc, "AppendParagraph", {"c"});
    EXPECT_EQ(Str(Call(doc, "Paragraph", {2}), "Text"), "b");
    EXPECT_EQ(Str(Call(doc, "Paragraph", {4}), "Text"), "c");
    EXPECT_EQ(rt().className(Call(doc, "Item", {3})), "VexlomarWord.Table");
    EXPECT_EQ(rt().className(Call(doc, "Item", {4})), "VexlomarWord.Paragraph");
    EXPECT_EQ(rt().className(Call(doc, "Item", {5})), "VexlomarWord.Table");
    EXPECT_EQ(Str(Call(doc, "Item", {6}), "Text"), "c");
    EXPECT_EQ(Int(Call(doc, "Table", {1}), "RowCount"), 1);

    // In a body where an item follows the section properties (a damaged
    // file, so not named .docx), items move: remembered places are dropped.
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>one</w:t></w:r></w:p><w:sectPr/><w:p><w:r><w:t>two</w:t></w:r></w:p>";
    parts.appendSectPr = false;
    write_docx(path("sect-mid.damaged"), parts);
    Object opened = rt().callShared("Document", "Open", {folderItem(path("sect-mid.damaged"))}).object();
    ASSERT_TRUE(opened);
    EXPECT_EQ(Str(Call(opened, "Item", {1}), "Text"), "two");
    ASSERT_TRUE(AppendTable(opened, 1, 1));
    EXPECT_EQ(rt().className(Call(opened, "Item", {1})), "VexlomarWord.Table");
    EXPECT_EQ(Str(Call(opened, "Item", {2}), "Text"), "two");
}
