// The styles part on its own: lookups, the styles built on demand, table
// style parts, band sizes and shading, checked on the XML they leave.
#include <string>

#include <gtest/gtest.h>

#include "format/styles.h"
#include "xml_snippets.h"

namespace {

const char kStyles[] =
    "<w:styles>"
    "<w:docDefaults/>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
    "<w:style w:type=\"character\" w:default=\"true\" w:styleId=\"Strong\"><w:name w:val=\"Strong\"/></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/>"
    "<w:basedOn w:val=\"Normal\"/></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"Heading1\"><w:basedOn w:val=\"Heading1\"/></w:style>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Second\"/>"
    "<w:style w:type=\"numbering\" w:styleId=\"NoList\"/>"
    "</w:styles>";

}  // namespace

TEST(Styles, LookupsMatchIdExactlyAndTypeWhenGiven) {
    pugi::xml_document doc;
    pugi::xml_node styles = xml_load(doc, kStyles);

    // The document and its root element are both accepted.
    pugi::xml_node heading = GetStyleById(doc, "paragraph", "Heading1");
    EXPECT_EQ(heading, GetStyleById(styles, "paragraph", "Heading1"));
    EXPECT_STREQ(heading.child("w:name").attribute("w:val").value(), "heading 1");
    EXPECT_STREQ(GetStyleById(doc, "character", "Heading1").attribute("w:type").value(), "character");
    // Without a type the first of any type is found.
    EXPECT_EQ(GetStyleById(doc, nullptr, "Heading1"), heading);
    EXPECT_FALSE(GetStyleById(doc, "table", "Heading1"));
    EXPECT_FALSE(HasStyle(doc, nullptr, "heading1"));
    EXPECT_TRUE(HasStyle(doc, nullptr, "NoList"));
    EXPECT_FALSE(HasStyle(pugi::xml_node(), nullptr, "Normal"));

    // Only "1" marks a default; the first default of the type wins.
    EXPECT_EQ(GetDefaultStyleId(doc, "paragraph"), "Normal");
    EXPECT_EQ(GetDefaultStyleId(doc, "character"), "");
    EXPECT_EQ(GetDefaultStyleId(doc, "table"), "");
    EXPECT_TRUE(Style_IsDefault(GetStyleById(doc, nullptr, "Normal")));
    EXPECT_FALSE(Style_IsDefault(GetStyleById(doc, nullptr, "Strong")));

    EXPECT_EQ(Styles_OfType(doc, "paragraph").size(), 3u);
    EXPECT_EQ(Styles_OfType(doc, "character").size(), 2u);
    EXPECT_EQ(Styles_OfType(doc, "numbering").front().attribute("w:styleId").as_string(), std::string("NoList"));
}

TEST(Styles, HyperlinkStyleIsAppendedAsDefined) {
    pugi::xml_document doc;
    pugi::xml_node styles = xml_load(doc, "<w:styles><w:docDefaults/></w:styles>");
    pugi::xml_node hyperlink = AddStyle_Hyperlink(doc);
    EXPECT_EQ(hyperlink, styles.last_child());
    EXPECT_EQ(xml_print(hyperlink),
              "<w:style w:type=\"character\" w:styleId=\"Hyperlink\"><w:name w:val=\"Hyperlink\"/>"
              "<w:basedOn w:val=\"DefaultParagraphFont\"/>"
              "<w:uiPriority w:val=\"99\"/><w:unhideWhenUsed/><w:rsid w:val=\"000D6EC4\"/>"
              "<w:rPr><w:color w:val=\"0563C1\" w:themeColor=\"hyperlink\"/><w:u w:val=\"single\"/></w:rPr>"
              "</w:style>");
}

TEST(Styles, TableGridBringsTableNormalOnlyWhenMissing) {
    const std::string tableNormal =
        "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
        "<w:uiPriority w:val=\"99\"/><w:semiHidden/><w:unhideWhenUsed/>"
        "<w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/>"
        "<w:left w:w=\"0\" w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"0\" w:type=\"dxa\"/>"
        "</w:tblCellMar></w:tblPr></w:style>";
    const std::string border = " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>";
    const std::string tableGrid =
        "<w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/>"
        "<w:basedOn w:val=\"TableNormal\"/><w:uiPriority w:val=\"39\"/><w:rsid w:val=\"000D6EC4\"/>"
        "<w:pPr><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr>"
        "<w:tblPr><w:tblBorders><w:top" + border + "<w:left" + border + "<w:bottom" + border + "<w:right" +
        border + "<w:insideH" + border + "<w:insideV" + border + "</w:tblBorders></w:tblPr></w:style>";

    // A paragraph style of that id is not the table style.
    const std::string paragraphNamedTableNormal = "<w:style w:type=\"paragraph\" w:styleId=\"TableNormal\"/>";
    pugi::xml_document without;
    xml_load(without, "<w:styles>" + paragraphNamedTableNormal + "</w:styles>");
    Styles_EnsureTableGrid(without);
    EXPECT_EQ(xml_print(without.document_element()),
              "<w:styles>" + paragraphNamedTableNormal + tableNormal + tableGrid + "</w:styles>");
    // Once there, it is not added again.
    Styles_EnsureTableGrid(without);
    EXPECT_EQ(Styles_OfType(without, "table").size(), 2u);

    pugi::xml_document with;
    xml_load(with, "<w:styles>" + tableNormal + "</w:styles>");
    Styles_EnsureTableGrid(with);
    EXPECT_EQ(xml_print(with.document_element()), "<w:styles>" + tableNormal + tableGrid + "</w:styles>");

    // Nothing to append to: nothing happens.
    pugi::xml_document empty;
    AddStyle_TableGrid(empty);
    EXPECT_FALSE(empty.first_child());
}

TEST(Styles, TablePartsAreFoundByTypeAndCreatedOnRequest) {
    const char* const expected[] = {"band2Horz", "band1Horz", "band2Vert", "band1Vert", "firstRow", "lastRow",
                                    "firstCol",  "lastCol",   "nwCell",    "neCell",    "swCell",  "seCell"};
    for (int i = 0; i < 12; ++i) EXPECT_STREQ(StylePartType_ToText(i), expected[i]);
    EXPECT_STREQ(StylePartType_ToText(-1), "seCell");
    EXPECT_STREQ(StylePartType_ToText(12), "seCell");

    pugi::xml_document doc;
    pugi::xml_node style = xml_load(doc,
                                "<w:style w:type=\"table\"><w:tblPr/>"
                                "<w:tblStylePr w:type=\"lastRow\"><w:rPr><w:b/></w:rPr></w:tblStylePr>"
                                "<w:tblStylePr w:type=\"lastRow\"/></w:style>");
    EXPECT_EQ(TableStyle_TablePart(style, 5, false), style.child("w:tblStylePr"));
    EXPECT_FALSE(TableStyle_TablePart(style, 4, false));

    pugi::xml_node firstRow = TableStyle_TablePart(style, 4, true);
    EXPECT_EQ(firstRow, style.last_child());
    EXPECT_EQ(xml_print(firstRow), "<w:tblStylePr w:type=\"firstRow\"><w:tblPr/><w:tcPr/></w:tblStylePr>");
    EXPECT_EQ(TableStyle_TablePart(style, 4, false), firstRow);
    EXPECT_EQ(TableStyle_TablePart(style, 4, true), firstRow);
    EXPECT_FALSE(TableStyle_TablePart(pugi::xml_node(), 4, true));
}

TEST(Styles, BandSizesLiveInTheStylesTableProperties) {
    pugi::xml_document doc;
    pugi::xml_node style = xml_load(doc, "<w:style><w:name w:val=\"T\"/></w:style>");
    EXPECT_EQ(TableStyle_GetBandSize(style, kRowBandSize), -1);

    // Writing 0 still makes w:tblPr, where the schema puts it.
    TableStyle_SetBandSize(style, kRowBandSize, 0);
    EXPECT_EQ(xml_print(style), "<w:style><w:name w:val=\"T\"/><w:tblPr/></w:style>");
    EXPECT_EQ(TableStyle_GetBandSize(style, kRowBandSize), -1);

    // Sizes go after the table's style and before its width, rows first.
    pugi::xml_node tblPr = style.child("w:tblPr");
    tblPr.append_child("w:tblStyle").append_attribute("w:val") = "X";
    tblPr.append_child("w:tblW");
    TableStyle_SetBandSize(style, kColumnBandSize, 3);
    TableStyle_SetBandSize(style, kRowBandSize, 2);
    TableStyle_SetBandSize(style, kRowBandSize, 4);
    EXPECT_EQ(xml_print(tblPr),
              "<w:tblPr><w:tblStyle w:val=\"X\"/><w:tblStyleRowBandSize w:val=\"4\"/>"
              "<w:tblStyleColBandSize w:val=\"3\"/><w:tblW/></w:tblPr>");
    EXPECT_EQ(TableStyle_GetBandSize(style, kRowBandSize), 4);
    EXPECT_EQ(TableStyle_GetBandSize(style, kColumnBandSize), 3);

    TableStyle_SetBandSize(style, kColumnBandSize, -5);
    EXPECT_EQ(TableStyle_GetBandSize(style, kColumnBandSize), -1);
    EXPECT_EQ(xml_print(tblPr), "<w:tblPr><w:tblStyle w:val=\"X\"/><w:tblStyleRowBandSize w:val=\"4\"/><w:tblW/></w:tblPr>");

    // A size without value reads 0; nothing to write into, nothing written.
    tblPr.child(kRowBandSize).remove_attribute("w:val");
    EXPECT_EQ(TableStyle_GetBandSize(style, kRowBandSize), 0);
    TableStyle_SetBandSize(pugi::xml_node(), kRowBandSize, 2);
}

TEST(Styles, ShadingReadsFillsAndWritesPlainColours) {
    pugi::xml_document doc;
    pugi::xml_node tcPr = xml_load(doc, "<w:tcPr><w:vAlign w:val=\"top\"/></w:tcPr>");
    bool has = true;
    EXPECT_EQ(TableStylePartGetBackgroundColor(tcPr, has), 0u);
    EXPECT_FALSE(has);
    EXPECT_EQ(TableStylePartGetBackgroundColor(pugi::xml_node(), has), 0u);
    EXPECT_FALSE(has);

    // A new shading goes before the cell's vertical alignment, as the
    // schema orders them; the host's top byte is dropped.
    TableStylePartSetBackgroundColor(tcPr, 0xFF12AB3Cu);
    EXPECT_EQ(xml_print(tcPr),
              "<w:tcPr><w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"12AB3C\"/><w:vAlign w:val=\"top\"/></w:tcPr>");
    EXPECT_EQ(TableStylePartGetBackgroundColor(tcPr, has), 0x12AB3Cu);
    EXPECT_TRUE(has);

    // "auto" is no colour; a missing fill is black, but a colour.
    pugi::xml_node shd = tcPr.child("w:shd");
    shd.attribute("w:fill") = "auto";
    EXPECT_EQ(TableStylePartGetBackgroundColor(tcPr, has), 0u);
    EXPECT_FALSE(has);
    shd.remove_attribute("w:fill");
    EXPECT_EQ(TableStylePartGetBackgroundColor(tcPr, has), 0u);
    EXPECT_TRUE(has);

    // An existing shading loses its theme fill and gets what it lacks.
    pugi::xml_document themed;
    pugi::xml_node tblPr = xml_load(themed,
                                "<w:tblPr><w:tblLook/><w:shd w:val=\"pct20\" w:themeFill=\"accent1\" "
                                "w:themeFillTint=\"33\" w:fill=\"DEEAF6\" w:themeFillShade=\"BF\"/></w:tblPr>");
    TableStylePartSetBackgroundColor(tblPr, 0x00FF00u);
    EXPECT_EQ(xml_print(tblPr),
              "<w:tblPr><w:tblLook/><w:shd w:val=\"clear\" w:fill=\"00FF00\" w:themeFillShade=\"BF\" "
              "w:color=\"auto\"/></w:tblPr>");

    // In table properties a new shading goes after the borders.
    pugi::xml_document table;
    pugi::xml_node tableProperties = xml_load(table, "<w:tblPr><w:tblBorders/><w:tblLook/></w:tblPr>");
    TableStylePartSetBackgroundColor(tableProperties, 0x0000FFu);
    EXPECT_EQ(xml_print(tableProperties),
              "<w:tblPr><w:tblBorders/><w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"0000FF\"/><w:tblLook/></w:tblPr>");

    TableStylePartSetBackgroundColor(pugi::xml_node(), 0x00FF00u);  // nothing to write into
}
