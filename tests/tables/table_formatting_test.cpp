// Table formatting through the runtime: alternative text, shading, the
// table style, the conditional-formatting flags, cell alignment, and the
// borders of tables, cells and table styles, each written where the schema
// puts it.
#include "table_fixture.h"

using vexrt::Color;
using vexrt::Object;

namespace {

class TableFormattingTest : public TableFixture {};

enum BorderParts { Left = 0, Top, Right, Bottom, InsideHorizontal, InsideVertical, TopLeftToBottomRight,
                   TopRightToBottomLeft };
enum BorderStyles { NoLine = 0, SingleLine = 1, DashedLine = 3, DottedLine = 7, DoubleLine = 8, ThickLine = 12,
                    TrippleLine = 24, WaveLine = 25 };

Color RGB(uint32_t value) { return Color{value}; }

}  // namespace

TEST_F(TableFormattingTest, AlternativeTextGoesAfterTheLookAndAnEmptyTextRemovesIt) {
    Object doc = Create("alt.new.docx");
    Object table = AppendTable(doc, 1, 1);
    EXPECT_EQ(Str(table, "AltTextTitle"), "");
    rt().set(table, "AltTextDescription", "Prices by month");
    rt().set(table, "AltTextTitle", "Prices");
    rt().set(table, "AltTextTitle", "Prices & costs");
    EXPECT_EQ(Str(table, "AltTextTitle"), "Prices & costs");
    EXPECT_EQ(Str(table, "AltTextDescription"), "Prices by month");

    pugi::xml_document saved;
    pugi::xml_node tblPr = SavedBody(doc, saved).child("w:tbl").child("w:tblPr");
    EXPECT_EQ(ChildNames(tblPr), (Names{"w:tblStyle", "w:tblW", "w:tblLook", "w:tblCaption", "w:tblDescription"}));
    EXPECT_STREQ(tblPr.child("w:tblCaption").attribute("w:val").value(), "Prices & costs");

    rt().set(table, "AltTextTitle", "");
    EXPECT_EQ(Str(table, "AltTextTitle"), "");
    pugi::xml_document again;
    EXPECT_FALSE(SavedBody(doc, again).child("w:tbl").child("w:tblPr").child("w:tblCaption"));
}

TEST_F(TableFormattingTest, CellShadingIsWrittenClearAndAutoWithTheFillAfterTheWidth) {
    Object doc = Create("cellshade.new.docx");
    Object table = AppendTable(doc, 2, 1);
    Object cell = CellOf(table, 0, 0);
    EXPECT_FALSE(Bool(cell, "HasBackgroundColor"));
    EXPECT_EQ(rt().get(cell, "BackgroundColor").color(), RGB(0));
    rt().set(cell, "VerticalAlignment", 1);
    rt().set(cell, "BackgroundColor", RGB(0xFF8000));
    EXPECT_TRUE(Bool(cell, "HasBackgroundColor"));
    EXPECT_EQ(rt().get(cell, "BackgroundColor").color(), RGB(0xFF8000));
    EXPECT_EQ(Int(cell, "VerticalAlignment"), 1);

    pugi::xml_document saved;
    pugi::xml_node tcPr = SavedBody(doc, saved).child("w:tbl").child("w:tr").child("w:tc").child("w:tcPr");
    EXPECT_EQ(xml_print(tcPr), "<w:tcPr><w:tcW w:w=\"3116\" w:type=\"dxa\"/>"
                               "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"FF8000\"/>"
                               "<w:vAlign w:val=\"center\"/></w:tcPr>");
    rt().call(cell, "ClearBackgroundColor");
    EXPECT_FALSE(Bool(cell, "HasBackgroundColor"));
}

TEST_F(TableFormattingTest, TableShadingReachesEveryCellInOnePassAndNewRows) {
    Object doc = OpenBody("tableshade.docx",
                          "<w:tbl><w:tblPr><w:tblStyle w:val=\"X\"/><w:tblLook w:val=\"0000\"/></w:tblPr>"
                          "<w:tblGrid><w:gridCol w:w=\"100\"/><w:gridCol w:w=\"100\"/></w:tblGrid>"
                          "<w:tr><w:tc><w:p/></w:tc><w:tc><w:tcPr><w:shd w:val=\"clear\" w:color=\"auto\" "
                          "w:fill=\"auto\" w:themeFill=\"accent1\" w:themeFillTint=\"33\"/></w:tcPr>"
                          "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol/></w:tblGrid><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl>"
                          "<w:p/></w:tc></w:tr></w:tbl><w:p/>");
    Object table = Call(doc, "Table", {0});
    EXPECT_FALSE(Bool(table, "HasBackgroundColor"));
    rt().set(table, "BackgroundColor", RGB(0x336699));
    EXPECT_TRUE(Bool(table, "HasBackgroundColor"));
    EXPECT_EQ(rt().get(table, "BackgroundColor").color(), RGB(0x336699));
    Object row = Call(table, "AppendRow");
    EXPECT_TRUE(Bool(Call(row, "Cell", {1}), "HasBackgroundColor"));

    pugi::xml_document saved;
    pugi::xml_node tbl = SavedBody(doc, saved).child("w:tbl");
    // The shading goes before the look in the table's properties.
    EXPECT_EQ(ChildNames(tbl.child("w:tblPr")), (Names{"w:tblStyle", "w:shd", "w:tblLook"}));
    for (pugi::xml_node tr : tbl.children("w:tr"))
        for (pugi::xml_node tc : tr.children("w:tc"))
            EXPECT_EQ(xml_print(tc.child("w:tcPr").child("w:shd")),
                      "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"336699\"/>");
    // The nested table keeps its own (none).
    EXPECT_FALSE(tbl.select_node(".//w:tc//w:tbl//w:shd"));

    rt().call(table, "ClearBackgroundColor");
    EXPECT_FALSE(Bool(table, "HasBackgroundColor"));
    EXPECT_FALSE(Bool(CellOf(table, 0, 0), "HasBackgroundColor"));
    EXPECT_FALSE(Bool(CellOf(table, 1, 1), "HasBackgroundColor"));
}

TEST_F(TableFormattingTest, TheTableStyleIsReadSetAndCleared) {
    Object doc = Create("style.new.docx");
    Object table = AppendTable(doc, 1, 1);
    Object style = rt().get(table, "Style").object();
    ASSERT_TRUE(style);
    EXPECT_EQ(rt().className(style), "VexlomarWord.TableStyle");
    // A table style shows what its "w:style" holds: the grid's borders.
    EXPECT_TRUE(Bool(Call(style, "Border", {Top}), "Exists"));
    Object mine = Call(doc, "AddNewTabletyle", {"Mine", "My table", vexrt::Value()});
    ASSERT_TRUE(mine);
    rt().set(table, "Style", mine);
    EXPECT_FALSE(Bool(Call(rt().get(table, "Style").object(), "Border", {Top}), "Exists"));
    rt().set(table, "Style", vexrt::Value());
    EXPECT_TRUE(rt().get(table, "Style").isNil());
    rt().set(table, "Style", mine);

    Object opened = OpenBody("missing-style.docx",
                             "<w:tbl><w:tblPr><w:tblStyle w:val=\"Nowhere\"/></w:tblPr><w:tblGrid><w:gridCol/>"
                             "</w:tblGrid><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl><w:p/>");
    EXPECT_RAISED(rt().get(Call(opened, "Table", {0}), "Style"), "VexlomarWord.WordException",
                  "Table has style but no matching style exists in the document", 1);

    pugi::xml_document saved;
    pugi::xml_node tblPr = SavedBody(doc, saved).child("w:tbl").child("w:tblPr");
    EXPECT_EQ(ChildNames(tblPr).front(), "w:tblStyle");
    EXPECT_STREQ(tblPr.child("w:tblStyle").attribute("w:val").value(), "Mine");
}

TEST_F(TableFormattingTest, ConditionalFormattingFlags) {
    Object doc = Create("look.new.docx");
    Object table = AppendTable(doc, 1, 1);
    rt().set(table, "AltTextTitle", "t");
    EXPECT_EQ(Int(table, "ConditionalFormattingFlags"), 1184);
    rt().set(table, "ConditionalFormattingFlags", 32 + 1024 + 1 + 4096);
    EXPECT_EQ(Int(table, "ConditionalFormattingFlags"), 1056);

    pugi::xml_document saved;
    pugi::xml_node tblPr = SavedBody(doc, saved).child("w:tbl").child("w:tblPr");
    EXPECT_EQ(xml_print(tblPr.child("w:tblLook")),
              "<w:tblLook w:val=\"0420\" w:firstRow=\"1\" w:lastRow=\"0\" w:firstColumn=\"0\" w:lastColumn=\"0\" "
              "w:noHBand=\"0\" w:noVBand=\"1\"/>");
    EXPECT_EQ(ChildNames(tblPr), (Names{"w:tblStyle", "w:tblW", "w:tblLook", "w:tblCaption"}));

    rt().set(table, "ConditionalFormattingFlags", 0);
    EXPECT_EQ(Int(table, "ConditionalFormattingFlags"), 0);
    pugi::xml_document again;
    EXPECT_FALSE(SavedBody(doc, again).child("w:tbl").child("w:tblPr").child("w:tblLook"));

    // A look written with its attributes only is read from them.
    Object opened = OpenBody("look.docx",
                             "<w:tbl><w:tblPr><w:tblLook w:firstRow=\"1\" w:lastRow=\"0\" w:firstColumn=\"true\" "
                             "w:lastColumn=\"0\" w:noHBand=\"0\" w:noVBand=\"1\"/></w:tblPr><w:tblGrid><w:gridCol/>"
                             "</w:tblGrid><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl><w:p/>");
    EXPECT_EQ(Int(Call(opened, "Table", {0}), "ConditionalFormattingFlags"), 32 + 128 + 1024);
}

TEST_F(TableFormattingTest, ABorderWithoutItsElementReadsAsTheGridsSingleLine) {
    Object doc = Create("noborder.new.docx");
    Object table = AppendTable(doc, 1, 1);
    EXPECT_TRUE(Call(table, "Border", {8}).isNil());
    EXPECT_TRUE(Call(table, "Border", {-1}).isNil());
    Object top = Call(table, "Border", {Top});
    ASSERT_TRUE(top);
    EXPECT_FALSE(Bool(top, "Exists"));
    EXPECT_EQ(Int(top, "Style"), SingleLine);
    EXPECT_EQ(Int(top, "Size"), 0);
    EXPECT_EQ(Int(top, "Space"), 0);
    EXPECT_TRUE(Bool(top, "ColorIsAuto"));
    EXPECT_EQ(rt().get(top, "ColorValue").color(), RGB(0));
}

TEST_F(TableFormattingTest, TableBordersTakeTheirPlacesAndTwoViewsShareOneList) {
    Object doc = Create("borders.new.docx");
    Object table = AppendTable(doc, 2, 2);
    rt().set(table, "AltTextTitle", "bordered");
    // Two views made before any list exists.
    Object left = Call(table, "Border", {Left});
    Object top = Call(table, "Border", {Top});
    rt().call(left, "SetBorderStyle", {DoubleLine, 4, 0});
    rt().call(top, "SetBorderStyle", {DashedLine, 12, 2, RGB(0x00FF00)});
    rt().call(Call(table, "Border", {InsideVertical}), "SetBorderStyle", {WaveLine, 96, 1});
    rt().call(Call(table, "Border", {Bottom}), "SetBorderStyle", {NoLine, 8, 2});
    EXPECT_TRUE(Bool(left, "Exists"));
    EXPECT_EQ(Int(top, "Style"), DashedLine);
    EXPECT_EQ(Int(top, "Size"), 12);
    EXPECT_EQ(Int(top, "Space"), 2);
    EXPECT_FALSE(Bool(top, "ColorIsAuto"));
    EXPECT_EQ(rt().get(top, "ColorValue").color(), RGB(0x00FF00));
    EXPECT_EQ(Int(Call(table, "Border", {Bottom}), "Style"), NoLine);

    EXPECT_RAISED(rt().call(left, "SetBorderStyle", {SingleLine, 1, 0}), "InvalidArgumentException",
                  "Parameter size contains invalid value", 8001);
    EXPECT_RAISED(rt().call(left, "SetBorderStyle", {SingleLine, 97, 0}), "InvalidArgumentException",
                  "Parameter size contains invalid value", 8001);
    // Diagonals belong to cells only: a table's are views of no border,
    // and writing them adds nothing (table_removal_test.cpp).
    for (int part : {TopLeftToBottomRight, TopRightToBottomLeft}) {
        Object diagonal = Call(table, "Border", {part});
        ASSERT_FALSE(diagonal.isNil());
        rt().call(diagonal, "SetBorderStyle", {SingleLine, 4, 0});
        EXPECT_FALSE(Bool(diagonal, "Exists"));
    }

    pugi::xml_document saved;
    pugi::xml_node tblPr = SavedBody(doc, saved).child("w:tbl").child("w:tblPr");
    EXPECT_EQ(ChildNames(tblPr), (Names{"w:tblStyle", "w:tblW", "w:tblBorders", "w:tblLook", "w:tblCaption"}));
    EXPECT_EQ(xml_print(tblPr.child("w:tblBorders")),
              "<w:tblBorders><w:top w:val=\"dashed\" w:sz=\"12\" w:space=\"2\" w:color=\"00FF00\"/>"
              "<w:left w:val=\"double\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
              "<w:bottom w:val=\"nil\"/>"
              "<w:insideV w:val=\"wave\" w:sz=\"96\" w:space=\"1\" w:color=\"auto\"/></w:tblBorders>");

    // Removing every border removes the list; views made before see it.
    for (int part : {Left, Top, Bottom, InsideVertical}) rt().call(Call(table, "Border", {part}), "Remove");
    EXPECT_FALSE(Bool(left, "Exists"));
    pugi::xml_document removed;
    EXPECT_FALSE(SavedBody(doc, removed).child("w:tbl").child("w:tblPr").child("w:tblBorders"));
    // A view kept across the removal writes into a new list in its place.
    rt().call(top, "SetBorderStyle", {SingleLine, 4, 0});
    pugi::xml_document again;
    pugi::xml_node tblBorders = SavedBody(doc, again).child("w:tbl").child("w:tblPr").child("w:tblBorders");
    EXPECT_EQ(xml_print(tblBorders), "<w:tblBorders><w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" "
                                     "w:color=\"auto\"/></w:tblBorders>");
}

TEST_F(TableFormattingTest, StartAndEndAreLeftAndRightAndThemeColoursGo) {
    Object doc = OpenBody("startend.docx",
                          "<w:tbl><w:tblPr><w:tblBorders><w:start w:val=\"single\" w:sz=\"4\" w:space=\"0\" "
                          "w:color=\"auto\" w:themeColor=\"accent1\" w:themeShade=\"BF\"/><w:end w:val=\"dotted\" "
                          "w:sz=\"8\"/></w:tblBorders></w:tblPr><w:tblGrid><w:gridCol/></w:tblGrid>"
                          "<w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl><w:p/>");
    Object table = Call(doc, "Table", {0});
    Object left = Call(table, "Border", {Left});
    EXPECT_TRUE(Bool(left, "Exists"));
    EXPECT_EQ(Int(Call(table, "Border", {Right}), "Style"), DottedLine);
    rt().call(left, "SetBorderStyle", {ThickLine, 16, 0, RGB(0x123456)});
    rt().call(Call(table, "Border", {Top}), "SetBorderStyle", {SingleLine, 4, 0});
    rt().call(Call(table, "Border", {Bottom}), "SetBorderStyle", {SingleLine, 4, 0});

    pugi::xml_document saved;
    pugi::xml_node borders = SavedBody(doc, saved).child("w:tbl").child("w:tblPr").child("w:tblBorders");
    EXPECT_EQ(ChildNames(borders), (Names{"w:top", "w:start", "w:bottom", "w:end"}));
    EXPECT_EQ(xml_print(borders.child("w:start")),
              "<w:start w:val=\"thick\" w:sz=\"16\" w:space=\"0\" w:color=\"123456\"/>");
}

TEST_F(TableFormattingTest, CellBordersIncludeDiagonalsInTheirPlaces) {
    Object doc = Create("cellborders.new.docx");
    Object table = AppendTable(doc, 2, 1);
    Object cell = CellOf(table, 0, 0);
    rt().set(cell, "BackgroundColor", RGB(0xEEEEEE));
    rt().call(Call(cell, "Border", {TopRightToBottomLeft}), "SetBorderStyle", {SingleLine, 4, 0});
    rt().call(Call(cell, "Border", {Right}), "SetBorderStyle", {TrippleLine, 6, 0});
    rt().call(Call(cell, "Border", {TopLeftToBottomRight}), "SetBorderStyle", {SingleLine, 4, 0});
    EXPECT_EQ(Int(Call(cell, "Border", {Right}), "Style"), TrippleLine);
    EXPECT_FALSE(Bool(Call(CellOf(table, 1, 0), "Border", {Right}), "Exists"));

    pugi::xml_document saved;
    pugi::xml_node tcPr = SavedBody(doc, saved).child("w:tbl").child("w:tr").child("w:tc").child("w:tcPr");
    EXPECT_EQ(ChildNames(tcPr), (Names{"w:tcW", "w:tcBorders", "w:shd"}));
    EXPECT_EQ(ChildNames(tcPr.child("w:tcBorders")), (Names{"w:right", "w:tl2br", "w:tr2bl"}));
}

TEST_F(TableFormattingTest, TableStyleBordersWriteIntoTheStylesTableProperties) {
    Object doc = Create("styleborders.new.docx");
    Object style = Call(doc, "AddNewTabletyle", {"Boxed", "Boxed", vexrt::Value()});
    ASSERT_TRUE(style);
    Object border = Call(style, "Border", {Bottom});
    ASSERT_TRUE(border);
    EXPECT_FALSE(Bool(Call(style, "Border", {TopLeftToBottomRight}), "Exists"));
    rt().call(border, "SetBorderStyle", {DoubleLine, 6, 0, RGB(0xFF0000)});
    Object firstRow = Call(style, "TablePart", {4, true});
    rt().call(Call(firstRow, "Border", {Top}), "SetBorderStyle", {ThickLine, 12, 0});
    EXPECT_EQ(Int(Call(firstRow, "Border", {Top}), "Style"), ThickLine);
    EXPECT_EQ(Int(Call(style, "Border", {Bottom}), "Size"), 6);

    SaveCopy(doc, "styles-copy.new.docx");
    const std::string xml = zip_read(path("styles-copy.new.docx"), "word/styles.xml");
    pugi::xml_document parsed;
    ASSERT_TRUE(parsed.load_string(xml.c_str()));
    pugi::xml_node boxed = parsed.child("w:styles").find_child_by_attribute("w:style", "w:styleId", "Boxed");
    EXPECT_EQ(xml_print(boxed.child("w:tblPr").child("w:tblBorders")),
              "<w:tblBorders><w:bottom w:val=\"double\" w:sz=\"6\" w:space=\"0\" w:color=\"FF0000\"/></w:tblBorders>");
    pugi::xml_node part = boxed.child("w:tblStylePr");
    EXPECT_STREQ(part.child("w:tblPr").child("w:tblBorders").first_child().name(), "w:top");
}
