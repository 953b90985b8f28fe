// Formatting through style views: every StylePart property on each kind of
// style element, where new property elements go, paragraph-style alignment,
// table style parts with their shading and cell alignment, and band sizes.
#include <string>
#include <vector>

#include "style_fixture.h"

namespace {

using Object = vexrt::Object;
using vexrt::Color;
using vexrt::Nil;

class StylePartTest : public StyleFixture {
protected:
    // Sets every run property of `part` and reads it back, clears them and
    // reads the unset values.
    void RoundTripEveryProperty(const Object& part) {
        struct Case {
            const char* property;
            int64_t value;
            int64_t unset;
        };
        const Case cases[] = {
            {"Bold", 1, -1},          {"Italic", 0, -1},          {"FontSize", 14, -1},
            {"HighlightColor", 12, 0}, {"Strikethrough", 2, -1},   {"Underline", 3, 0},
            {"VerticalAlignment", 2, 0}, {"Caps", 2, 0},          {"Spacing", -40, -10000},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.property);
            rt().set(part, c.property, c.value);
            EXPECT_EQ(Int(part, c.property), c.value);
        }
        rt().set(part, "Italic", 1);
        EXPECT_EQ(Int(part, "Italic"), 1);

        rt().set(part, "FontName", "Georgia");
        EXPECT_EQ(Str(part, "FontName"), "Georgia");
        rt().set(part, "TextColor", Color{0xFF336699});
        EXPECT_EQ(rt().get(part, "TextColor").color().value, 0x336699u);
        EXPECT_TRUE(Bool(part, "HasTextColor"));
        Call(part, "ClearTextColor");
        EXPECT_FALSE(Bool(part, "HasTextColor"));
        EXPECT_EQ(rt().get(part, "TextColor").color().value, 0u);

        Call(part, "SetUnderlineWithColor", {5, Color{0x00A0B0}});
        EXPECT_EQ(Int(part, "Underline"), 5);
        EXPECT_TRUE(Bool(part, "HasUnderlineColor"));
        EXPECT_EQ(rt().get(part, "UnderlineColor").color().value, 0x00A0B0u);
        Call(part, "ClearUnderlineColor");
        EXPECT_FALSE(Bool(part, "HasUnderlineColor"));
        EXPECT_EQ(Int(part, "Underline"), 5);

        for (const Case& c : cases) {
            SCOPED_TRACE(c.property);
            rt().set(part, c.property, c.unset);
            EXPECT_EQ(Int(part, c.property), c.unset);
        }
        rt().set(part, "Underline", 0);
        rt().set(part, "FontName", "");
        EXPECT_EQ(Str(part, "FontName"), "");
    }
};

}  // namespace

TEST_F(StylePartTest, EveryPropertyRoundTripsOnEveryKindOfStyleElement) {
    Object doc = Create("blank.new.docx");
    Object character = Call(doc, "AddNewCharacterStyle", {"C", "C", Nil{}});
    Object paragraph = Call(doc, "AddNewParagraphStyle", {"P", "P", Nil{}});
    Object table = Call(doc, "AddNewTabletyle", {"T", "T", Nil{}});
    Object part = Call(table, "TablePart", {4, true});
    ASSERT_TRUE(character && paragraph && table && part);
    for (const Object& view : {character, paragraph, table, part}) {
        SCOPED_TRACE(rt().className(view));
        RoundTripEveryProperty(view);
    }
    // Cleared, each keeps an empty w:rPr and nothing else changed.
    pugi::xml_document saved;
    pugi::xml_node styles = SavedStyles(doc, saved);
    for (const char* id : {"C", "P", "T"}) {
        SCOPED_TRACE(id);
        pugi::xml_node rPr = styles.find_child_by_attribute("w:style", "w:styleId", id).child("w:rPr");
        ASSERT_TRUE(rPr);
        EXPECT_FALSE(rPr.first_child());
    }
    pugi::xml_node tablePart = styles.find_child_by_attribute("w:style", "w:styleId", "T").child("w:tblStylePr");
    EXPECT_EQ(xml_print(tablePart), "<w:tblStylePr w:type=\"firstRow\"><w:rPr/><w:tblPr/><w:tcPr/></w:tblStylePr>");

    // The document defaults: the template's values are there to start with.
    Object defaults = rt().get(doc, "DocumentDefaults").object();
    EXPECT_EQ(Int(defaults, "FontSize"), 11);
    EXPECT_EQ(Str(defaults, "FontName"), "");  // theme fonts only
    RoundTripEveryProperty(defaults);
}

TEST_F(StylePartTest, NewRunPropertiesGoWhereTheStyleKindPutsThem) {
    Object doc = Create("blank.new.docx");
    Object character = Call(doc, "AddNewCharacterStyle", {"C", "C", Nil{}});
    Object paragraph = Call(doc, "AddNewParagraphStyle", {"P", "P", Nil{}});
    Object table = Call(doc, "AddNewTabletyle", {"T", "T", Nil{}});
    Object part = Call(table, "TablePart", {0, true});
    for (const Object& view : {character, paragraph, table, part}) rt().set(view, "Bold", 1);
    // Paragraph properties of a paragraph style go before its run properties.
    rt().set(paragraph, "Alignment", 1);
    EXPECT_EQ(Int(paragraph, "Alignment"), 1);

    pugi::xml_document saved;
    pugi::xml_node styles = SavedStyles(doc, saved);
    auto children = [&](const char* id) {
        return ChildNames(styles.find_child_by_attribute("w:style", "w:styleId", id));
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(children("C"), (Names{"w:name", "w:basedOn", "w:uiPriority", "w:qFormat", "w:rPr"}));
    EXPECT_EQ(children("P"), (Names{"w:name", "w:basedOn", "w:uiPriority", "w:qFormat", "w:pPr", "w:rPr"}));
    // A new table style takes its run properties after w:uiPriority, at the
    // first place the schema allows.
    EXPECT_EQ(children("T"),
              (Names{"w:name", "w:basedOn", "w:uiPriority", "w:qFormat", "w:rPr", "w:tblPr", "w:tblStylePr"}));
    pugi::xml_node tablePart = styles.find_child_by_attribute("w:style", "w:styleId", "T").child("w:tblStylePr");
    EXPECT_EQ(xml_print(tablePart), "<w:tblStylePr w:type=\"band2Horz\"><w:rPr><w:b/></w:rPr><w:tblPr/><w:tcPr/></w:tblStylePr>");
    EXPECT_EQ(xml_print(styles.find_child_by_attribute("w:style", "w:styleId", "P").child("w:pPr")),
              "<w:pPr><w:jc w:val=\"center\"/></w:pPr>");
    // TableGrid, which has w:pPr, gets its run properties right after it.
    Object grid = List(doc, "TableStyles", {false})[1];
    rt().set(grid, "FontSize", 9);
    pugi::xml_document again;
    pugi::xml_node gridStyle = SavedStyle(doc, again, "TableGrid");
    EXPECT_STREQ(gridStyle.child("w:pPr").next_sibling().name(), "w:rPr");
    EXPECT_EQ(Int(grid, "FontSize"), 9);

    // A table style with none of w:pPr, w:rsid and w:uiPriority takes no
    // run properties at all.
    DocxParts parts;
    parts.styles =
        "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:style w:type=\"table\" w:styleId=\"Bare\"><w:name w:val=\"Bare\"/></w:style></w:styles>";
    write_docx(path("bare.docx"), parts);
    Object bareDoc = rt().callShared("Document", "Open", {folderItem(path("bare.docx"))}).object();
    Object bare = List(bareDoc, "TableStyles", {false})[0];
    rt().set(bare, "Bold", 1);
    EXPECT_EQ(Int(bare, "Bold"), -1);
}

TEST_F(StylePartTest, ParagraphStyleAlignmentReadsAndClears) {
    Object doc = Create("blank.new.docx");
    Object normal = List(doc, "ParagraphStyles")[0];
    EXPECT_EQ(Int(normal, "Alignment"), -1);
    for (int value : {0, 1, 2, 3}) {
        rt().set(normal, "Alignment", value);
        EXPECT_EQ(Int(normal, "Alignment"), value);
    }
    pugi::xml_document saved;
    EXPECT_EQ(xml_print(SavedStyle(doc, saved, "Normal").child("w:pPr").child("w:jc")), "<w:jc w:val=\"both\"/>");
    rt().set(normal, "Alignment", -1);
    EXPECT_EQ(Int(normal, "Alignment"), -1);
    pugi::xml_document cleared;
    EXPECT_FALSE(SavedStyle(doc, cleared, "Normal").child("w:pPr").child("w:jc"));
}

TEST_F(StylePartTest, TablePartsAndTheirShading) {
    Object doc = Create("blank.new.docx");
    Object table = Call(doc, "AddNewTabletyle", {"Zebra", "Zebra", Nil{}});
    EXPECT_FALSE(Call(table, "TablePart", {4, false}));
    Object firstRow = Call(table, "TablePart", {4, true});
    ASSERT_TRUE(firstRow);
    EXPECT_EQ(rt().className(firstRow), "VexlomarWord.TableStylePart");
    Object found = Call(table, "TablePart", {4, false});
    ASSERT_TRUE(found);
    EXPECT_NE(found, firstRow);

    // A new table style has no w:tcPr: shading is neither read nor written.
    rt().set(table, "BackgroundColor", Color{0x123456});
    EXPECT_FALSE(Bool(table, "HasBackgroundColor"));
    EXPECT_EQ(rt().get(table, "BackgroundColor").color().value, 0u);

    EXPECT_FALSE(Bool(firstRow, "HasBackgroundColor"));
    rt().set(firstRow, "BackgroundColor", Color{0xFFD9E2F3});
    EXPECT_TRUE(Bool(found, "HasBackgroundColor"));
    EXPECT_EQ(rt().get(found, "BackgroundColor").color().value, 0xD9E2F3u);
    rt().set(firstRow, "CellVerticalAlignment", 1);
    EXPECT_EQ(Int(found, "CellVerticalAlignment"), 1);

    Object lastCell = Call(table, "TablePart", {11, true});
    Object outOfRange = Call(table, "TablePart", {99, false});
    ASSERT_TRUE(outOfRange);  // any other value is the south-east cell
    rt().set(outOfRange, "BackgroundColor", Color{0x00FF00});
    EXPECT_EQ(rt().get(lastCell, "BackgroundColor").color().value, 0x00FF00u);

    pugi::xml_document saved;
    pugi::xml_node zebra = SavedStyle(doc, saved, "Zebra");
    EXPECT_FALSE(zebra.child("w:tcPr"));
    EXPECT_EQ(xml_print(zebra.find_child_by_attribute("w:tblStylePr", "w:type", "firstRow")),
              "<w:tblStylePr w:type=\"firstRow\"><w:tblPr/><w:tcPr><w:shd w:val=\"clear\" w:color=\"auto\" "
              "w:fill=\"D9E2F3\"/><w:vAlign w:val=\"center\"/></w:tcPr></w:tblStylePr>");

    Call(found, "ClearBackgroundColor");
    EXPECT_FALSE(Bool(firstRow, "HasBackgroundColor"));
    rt().set(firstRow, "CellVerticalAlignment", -1);
    EXPECT_EQ(Int(firstRow, "CellVerticalAlignment"), -1);
    pugi::xml_document cleared;
    EXPECT_EQ(xml_print(SavedStyle(doc, cleared, "Zebra").find_child_by_attribute("w:tblStylePr", "w:type", "firstRow")),
              "<w:tblStylePr w:type=\"firstRow\"><w:tblPr/><w:tcPr/></w:tblStylePr>");
}

TEST_F(StylePartTest, BandSizesAreWrittenIntoTheTableProperties) {
    Object doc = Create("blank.new.docx");
    Object banded = Call(doc, "AddNewTabletyle", {"Banded", "Banded", Nil{}});
    EXPECT_EQ(Int(banded, "RowBandSize"), -1);
    rt().set(banded, "RowBandSize", 2);
    rt().set(banded, "ColumnBandSize", 1);
    EXPECT_EQ(Int(banded, "RowBandSize"), 2);
    EXPECT_EQ(Int(banded, "ColumnBandSize"), 1);
    rt().set(banded, "ColumnBandSize", 0);
    EXPECT_EQ(Int(banded, "ColumnBandSize"), -1);
    pugi::xml_document saved;
    EXPECT_EQ(xml_print(SavedStyle(doc, saved, "Banded").child("w:tblPr")),
              "<w:tblPr><w:tblStyleRowBandSize w:val=\"2\"/></w:tblPr>");
}
