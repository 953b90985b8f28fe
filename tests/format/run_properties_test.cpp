// The property engine on the elements it serves, checked on the XML it
// leaves: where new property elements go, and each encoding both ways.

#include <gtest/gtest.h>

#include "format/cell_properties.h"
#include "format/paragraph_properties.h"
#include "format/run_properties.h"
#include "xml_snippets.h"

namespace {

constexpr int32_t YES = 1, NO = 0, NOTSET = -1;

}  // namespace

TEST(RunProperties, OnOffLifecycle) {
    pugi::xml_document doc;
    pugi::xml_node run = xml_load(doc, "<w:r><w:t>x</w:t></w:r>");
    EXPECT_EQ(RPRParentGetSimpleTag(run, "w:b"), BooleanAttribute::NOTSET);
    RPRParentSetSimpleTag(run, YES, RPROwner::Run, "w:b");
    EXPECT_EQ(xml_print(run), "<w:r><w:rPr><w:b/></w:rPr><w:t>x</w:t></w:r>");
    RPRParentSetSimpleTag(run, NO, RPROwner::Run, "w:b");
    EXPECT_EQ(xml_print(run), R"(<w:r><w:rPr><w:b w:val="0"/></w:rPr><w:t>x</w:t></w:r>)");
    EXPECT_EQ(RPRParentGetSimpleTag(run, "w:b"), BooleanAttribute::NO);
    RPRParentSetSimpleTag(run, YES, RPROwner::Run, "w:b");
    EXPECT_EQ(xml_print(run.child("w:rPr")), "<w:rPr><w:b/></w:rPr>");
    RPRParentSetSimpleTag(run, NOTSET, RPROwner::Run, "w:b");
    EXPECT_EQ(xml_print(run), "<w:r><w:rPr/><w:t>x</w:t></w:r>");

    pugi::xml_document stored;
    pugi::xml_node rPrParent = xml_load(stored, R"(<w:r><w:rPr><w:b w:val="false"/><w:i w:val="on"/></w:rPr></w:r>)");
    EXPECT_EQ(RPRParentGetSimpleTag(rPrParent, "w:b"), BooleanAttribute::NO);
    EXPECT_EQ(RPRParentGetSimpleTag(rPrParent, "w:i"), BooleanAttribute::YES);
    // An undefined value writes nothing.
    RPRParentSetSimpleTag(rPrParent, 7, RPROwner::Run, "w:i");
    EXPECT_EQ(RPRParentGetSimpleTag(rPrParent, "w:i"), BooleanAttribute::YES);
}

TEST(RunProperties, NewRunPropertiesGoWhereTheOwnerKindPutsThem) {
    struct Case {
        const char* xml;
        RPROwner owner;
        const char* expected;
    };
    const Case cases[] = {
        {R"(<w:r><w:t>x</w:t></w:r>)", RPROwner::Run, R"(<w:r><w:rPr><w:b/></w:rPr><w:t>x</w:t></w:r>)"},
        {R"(<w:rPrDefault/>)", RPROwner::Run, R"(<w:rPrDefault><w:rPr><w:b/></w:rPr></w:rPrDefault>)"},
        // A paragraph never gets run properties from here.
        {R"(<w:p><w:r/></w:p>)", RPROwner::Paragraph, R"(<w:p><w:r/></w:p>)"},
        {R"(<w:style><w:name w:val="A"/><w:qFormat/></w:style>)", RPROwner::CharacterStyle,
         R"(<w:style><w:name w:val="A"/><w:qFormat/><w:rPr><w:b/></w:rPr></w:style>)"},
        {R"(<w:style><w:name w:val="P"/><w:pPr/></w:style>)", RPROwner::ParagraphStyle,
         R"(<w:style><w:name w:val="P"/><w:pPr/><w:rPr><w:b/></w:rPr></w:style>)"},
        // A new table style: after the flags that follow "w:uiPriority", before
        // the table properties, as the style's child order wants.
        {R"(<w:style><w:name w:val="T"/><w:uiPriority w:val="22"/><w:qFormat/><w:tblPr/></w:style>)",
         RPROwner::TableStyle,
         R"(<w:style><w:name w:val="T"/><w:uiPriority w:val="22"/><w:qFormat/><w:rPr><w:b/></w:rPr><w:tblPr/></w:style>)"},
        {R"(<w:style><w:rsid w:val="1"/><w:pPr/><w:tblPr/></w:style>)", RPROwner::TableStyle,
         R"(<w:style><w:rsid w:val="1"/><w:pPr/><w:rPr><w:b/></w:rPr><w:tblPr/></w:style>)"},
        // No anchor at all: nothing is created.
        {R"(<w:style><w:name w:val="T"/><w:tblPr/></w:style>)", RPROwner::TableStyle,
         R"(<w:style><w:name w:val="T"/><w:tblPr/></w:style>)"},
        {R"(<w:tblStylePr w:type="firstRow"><w:tblPr/><w:tcPr/></w:tblStylePr>)", RPROwner::TableStylePart,
         R"(<w:tblStylePr w:type="firstRow"><w:rPr><w:b/></w:rPr><w:tblPr/><w:tcPr/></w:tblStylePr>)"},
        {R"(<w:tblStylePr w:type="firstRow"><w:pPr/><w:tblPr/></w:tblStylePr>)", RPROwner::TableStylePart,
         R"(<w:tblStylePr w:type="firstRow"><w:pPr/><w:rPr><w:b/></w:rPr><w:tblPr/></w:tblStylePr>)"},
        // An existing one is reused wherever it stands.
        {R"(<w:style><w:rPr><w:i/></w:rPr><w:name w:val="A"/></w:style>)", RPROwner::CharacterStyle,
         R"(<w:style><w:rPr><w:b/><w:i/></w:rPr><w:name w:val="A"/></w:style>)"},
    };
    for (const Case& c : cases) {
        pugi::xml_document doc;
        pugi::xml_node parent = xml_load(doc, c.xml);
        RPRParentSetSimpleTag(parent, YES, c.owner, "w:b");
        EXPECT_EQ(xml_print(parent), c.expected) << c.xml;
    }
    // An empty parent: unset values, no writes.
    RPRParentSetFontSize(pugi::xml_node(), 12, RPROwner::Run);
    EXPECT_EQ(RPRParentGetFontSize(pugi::xml_node()), -1);
    EXPECT_EQ(RPRParentGetSpacing(pugi::xml_node()), -10000);
    EXPECT_EQ(PPRGetAlignment(pugi::xml_node()), Alignments::NOTSET);
}

TEST(RunProperties, NewPropertyElementsTakeTheirPlaceInTheSequence) {
    pugi::xml_document doc;
    pugi::xml_node run = xml_load(doc, R"(<w:r><w:rPr><w:rStyle w:val="S"/><w:sz w:val="20"/><w:lang w:val="de-DE"/></w:rPr></w:r>)");
    RPRParentSetUnderline(run, 1, RPROwner::Run);
    RPRParentSetSimpleTag(run, YES, RPROwner::Run, "w:b");
    RPRParentSetTextColor(run, "FF0000", RPROwner::Run);
    RPRParentSetFontName(run, "Arial", RPROwner::Run);
    RPRParentSetVerticalAlignment(run, 2, RPROwner::Run);
    RPRParentSetFontSize(run, 9, RPROwner::Run);
    EXPECT_EQ(xml_print(run.child("w:rPr")),
              R"(<w:rPr><w:rStyle w:val="S"/><w:rFonts w:ascii="Arial" w:hAnsi="Arial"/><w:b/>)"
              R"(<w:color w:val="FF0000"/><w:sz w:val="18"/><w:szCs w:val="18"/><w:u w:val="single"/>)"
              R"(<w:vertAlign w:val="superscript"/><w:lang w:val="de-DE"/></w:rPr>)");
}

TEST(RunProperties, FontSizeAndSpacing) {
    pugi::xml_document doc;
    pugi::xml_node run = xml_load(doc, "<w:r/>");
    RPRParentSetFontSize(run, 11, RPROwner::Run);
    EXPECT_EQ(xml_print(run), R"(<w:r><w:rPr><w:sz w:val="22"/><w:szCs w:val="22"/></w:rPr></w:r>)");
    RPRParentSetFontSize(run, 14, RPROwner::Run);
    EXPECT_EQ(xml_print(run), R"(<w:r><w:rPr><w:sz w:val="28"/><w:szCs w:val="28"/></w:rPr></w:r>)");
    run.child("w:rPr").child("w:sz").attribute("w:val").set_value("23");
    EXPECT_EQ(RPRParentGetFontSize(run), 11);
    RPRParentSetFontSize(run, -1, RPROwner::Run);
    EXPECT_EQ(xml_print(run), "<w:r><w:rPr/></w:r>");
    EXPECT_EQ(RPRParentGetFontSize(run), -1);
    // A size too large for the 32-bit value stays at its limit.
    RPRParentSetFontSize(run, 2000000000, RPROwner::Run);
    EXPECT_STREQ(run.child("w:rPr").child("w:sz").attribute("w:val").value(), "2147483647");

    // A lone complex-script size is left alone; a bare "w:sz" gains "w:val".
    pugi::xml_document lone;
    pugi::xml_node other = xml_load(lone, R"(<w:r><w:rPr><w:szCs w:val="30"/><w:spacing w:val="-15"/></w:rPr></w:r>)");
    RPRParentSetFontSize(other, -1, RPROwner::Run);
    EXPECT_EQ(RPRParentGetSpacing(other), -15);
    RPRParentSetSpacing(other, 40, RPROwner::Run);
    RPRParentSetSpacing(other, -10000, RPROwner::Run);
    EXPECT_EQ(xml_print(other), R"(<w:r><w:rPr><w:szCs w:val="30"/></w:rPr></w:r>)");
    EXPECT_EQ(RPRParentGetSpacing(other), -10000);
    RPRParentSetSpacing(other, 40, RPROwner::Run);
    EXPECT_EQ(RPRParentGetSpacing(other), 40);
    EXPECT_EQ(xml_print(other), R"(<w:r><w:rPr><w:spacing w:val="40"/><w:szCs w:val="30"/></w:rPr></w:r>)");
    other.child("w:rPr").prepend_child("w:sz");
    RPRParentSetFontSize(other, 8, RPROwner::Run);
    EXPECT_EQ(xml_print(other), R"(<w:r><w:rPr><w:sz w:val="16"/><w:spacing w:val="40"/><w:szCs w:val="16"/></w:rPr></w:r>)");
}

TEST(RunProperties, UnderlineAndItsColour) {
    pugi::xml_document doc;
    pugi::xml_node run = xml_load(doc, "<w:r><w:rPr/></w:r>");
    RPRParentSetUnderlineWithColor(run, 6, 0x00123456, RPROwner::Run);
    EXPECT_EQ(xml_print(run.child("w:rPr")), R"(<w:rPr><w:u w:val="dotDotDash" w:color="123456"/></w:rPr>)");
    EXPECT_TRUE(RPRParentHasUnderlineColor(run));
    EXPECT_EQ(RPRParentGetUnderlineColor(run), 0x123456u);
    // The style alone keeps the colour; unknown styles write "single".
    RPRParentSetUnderline(run, 10, RPROwner::Run);
    EXPECT_EQ(RPRParentGetUnderline(run), UnderlineStyles::WAVE_DOUBLE);
    RPRParentSetUnderline(run, 99, RPROwner::Run);
    EXPECT_EQ(xml_print(run.child("w:rPr")), R"(<w:rPr><w:u w:val="single" w:color="123456"/></w:rPr>)");
    RPRParentClearUnderlineColor(run);
    EXPECT_FALSE(RPRParentHasUnderlineColor(run));
    EXPECT_EQ(RPRParentGetUnderlineColor(run), 0u);
    RPRParentSetUnderline(run, 0, RPROwner::Run);
    EXPECT_EQ(xml_print(run), "<w:r><w:rPr/></w:r>");

    pugi::xml_document stored;
    pugi::xml_node odd = xml_load(stored, R"(<w:r><w:rPr><w:u w:val="dashLong"/></w:rPr></w:r>)");
    EXPECT_EQ(RPRParentGetUnderline(odd), UnderlineStyles::NONE);
    RPRParentSetUnderlineWithColor(odd, 0, 0xFF0000, RPROwner::Run);  // style 0 removes it, colour and all
    EXPECT_EQ(xml_print(odd), "<w:r><w:rPr/></w:r>");
}

TEST(RunProperties, StrikeCapsHighlightVerticalAlignment) {
    pugi::xml_document doc;
    pugi::xml_node run = xml_load(doc, R"(<w:r><w:rPr><w:caps w:val="0"/><w:strike/><w:highlight w:val="none"/></w:rPr></w:r>)");
    EXPECT_EQ(RPRParentGetStrikethrough(run), StrikeThroughValues::SINGLELINE);
    EXPECT_EQ(RPRParentGetCaps(run), TextCaps::Caps);  // presence only
    EXPECT_EQ(RPRParentGetHighlightColor(run), HighlightColors::None);

    RPRParentSetStrikethrough(run, 0, RPROwner::Run);
    EXPECT_EQ(RPRParentGetStrikethrough(run), StrikeThroughValues::NONE);
    EXPECT_STREQ(run.child("w:rPr").child("w:strike").attribute("w:val").value(), "false");
    RPRParentSetStrikethrough(run, 2, RPROwner::Run);
    EXPECT_EQ(RPRParentGetStrikethrough(run), StrikeThroughValues::DOUBLELINE);
    EXPECT_FALSE(run.child("w:rPr").child("w:strike"));
    RPRParentSetStrikethrough(run, -1, RPROwner::Run);
    EXPECT_EQ(RPRParentGetStrikethrough(run), StrikeThroughValues::NOTSET);

    RPRParentSetCaps(run, 2, RPROwner::Run);
    EXPECT_EQ(RPRParentGetCaps(run), TextCaps::SmallCaps);
    RPRParentSetCaps(run, 5, RPROwner::Run);  // no such value: unchanged
    EXPECT_EQ(RPRParentGetCaps(run), TextCaps::SmallCaps);
    RPRParentSetCaps(run, 0, RPROwner::Run);
    EXPECT_EQ(RPRParentGetCaps(run), TextCaps::None);

    RPRParentSetHighlightColor(run, 12, RPROwner::Run);
    EXPECT_EQ(RPRParentGetHighlightColor(run), HighlightColors::DarkYellow);
    EXPECT_STREQ(run.child("w:rPr").child("w:highlight").attribute("w:val").value(), "darkYellow");
    RPRParentSetHighlightColor(run, 40, RPROwner::Run);
    EXPECT_EQ(RPRParentGetHighlightColor(run), HighlightColors::Yellow);

    RPRParentSetVerticalAlignment(run, 2, RPROwner::Run);
    EXPECT_EQ(RPRParentGetVerticalAlignment(run), VerticalAlignments::SUPERSCRIPT);
    RPRParentSetVerticalAlignment(run, 9, RPROwner::Run);
    EXPECT_EQ(RPRParentGetVerticalAlignment(run), VerticalAlignments::SUBSCRIPT);
    RPRParentSetVerticalAlignment(run, 0, RPROwner::Run);
    RPRParentSetHighlightColor(run, 0, RPROwner::Run);
    EXPECT_EQ(xml_print(run), "<w:r><w:rPr/></w:r>");
}

TEST(RunProperties, FontNameAndTextColour) {
    pugi::xml_document doc;
    pugi::xml_node run = xml_load(doc, R"(<w:r><w:rPr><w:b/><w:color w:val="auto" w:themeColor="accent1" w:themeShade="BF"/></w:rPr></w:r>)");
    EXPECT_EQ(RPRParentGetFontName(run), "");
    EXPECT_TRUE(RPRParentHasTextColor(run));
    EXPECT_EQ(RPRParentGetTextColor(run, nullptr, nullptr), 0u);  // "auto" reads black
    RPRParentSetFontName(run, "Liberation Serif", RPROwner::Run);
    RPRParentSetTextColor(run, "00FF80", RPROwner::Run);
    // A theme colour would win over the explicit one, so it goes.
    EXPECT_EQ(xml_print(run.child("w:rPr")),
              R"(<w:rPr><w:rFonts w:ascii="Liberation Serif" w:hAnsi="Liberation Serif"/><w:b/><w:color w:val="00FF80"/></w:rPr>)");
    EXPECT_EQ(RPRParentGetTextColor(run, nullptr, nullptr), 0x00FF80u);
    RPRParentClearTextColor(run);
    EXPECT_FALSE(RPRParentHasTextColor(run));
    RPRParentSetFontName(run, "", RPROwner::Run);
    EXPECT_EQ(xml_print(run.child("w:rPr")), "<w:rPr><w:b/></w:rPr>");

    // Theme fonts of the replaced kinds go; the others stay.
    pugi::xml_document themed;
    pugi::xml_node other = xml_load(themed, R"(<w:r><w:rPr><w:rFonts w:asciiTheme="minorHAnsi" w:hAnsiTheme="minorHAnsi" w:eastAsia="MS Mincho"/></w:rPr></w:r>)");
    RPRParentSetFontName(other, "Courier", RPROwner::Run);
    EXPECT_EQ(xml_print(other.child("w:rPr")),
              R"(<w:rPr><w:rFonts w:eastAsia="MS Mincho" w:ascii="Courier" w:hAnsi="Courier"/></w:rPr>)");
    EXPECT_EQ(RPRParentGetFontName(other), "Courier");
}

namespace {
RBColor ShapeFontColour(REALobject) { return 0x00336699; }
}  // namespace

TEST(RunProperties, ResolverSuppliesTheColourOnlyWhenNoneIsStored) {
    pugi::xml_document doc;
    pugi::xml_node run = xml_load(doc, "<w:r/>");
    int owner = 0;
    REALobject ownerObject = reinterpret_cast<REALobject>(&owner);
    EXPECT_EQ(RPRParentGetTextColor(run, ShapeFontColour, ownerObject), 0x336699u);
    EXPECT_EQ(RPRParentGetTextColor(run, ShapeFontColour, nullptr), 0u);
    RPRParentSetTextColor(run, "C00000", RPROwner::Run);
    EXPECT_EQ(RPRParentGetTextColor(run, ShapeFontColour, ownerObject), 0xC00000u);
}

TEST(ParagraphProperties, Alignment) {
    pugi::xml_document doc;
    pugi::xml_node p = xml_load(doc, R"(<w:p><w:r/></w:p>)");
    EXPECT_EQ(PPRGetAlignment(p), Alignments::NOTSET);
    PPRSetAlignment(p, 3, RPROwner::Paragraph);
    EXPECT_EQ(xml_print(p), R"(<w:p><w:pPr><w:jc w:val="both"/></w:pPr><w:r/></w:p>)");
    EXPECT_EQ(PPRGetAlignment(p), Alignments::JUSTIFY);
    PPRSetAlignment(p, 42, RPROwner::Paragraph);
    EXPECT_EQ(PPRGetAlignment(p), Alignments::LEFT);
    PPRSetAlignment(p, -1, RPROwner::Paragraph);
    EXPECT_EQ(xml_print(p), R"(<w:p><w:pPr/><w:r/></w:p>)");

    // A paragraph mark's run properties and a section close "w:pPr": the
    // alignment goes before them.
    pugi::xml_document stored;
    pugi::xml_node marked = xml_load(stored, R"(<w:p><w:pPr><w:pStyle w:val="T"/><w:jc w:val="start"/><w:rPr><w:b/></w:rPr><w:sectPr/></w:pPr></w:p>)");
    EXPECT_EQ(PPRGetAlignment(marked), Alignments::NOTSET);
    PPRSetAlignment(marked, 0, RPROwner::Paragraph);
    EXPECT_EQ(xml_print(marked), R"(<w:p><w:pPr><w:pStyle w:val="T"/><w:jc w:val="left"/><w:rPr><w:b/></w:rPr><w:sectPr/></w:pPr></w:p>)");
    marked.child("w:pPr").remove_child("w:jc");
    PPRSetAlignment(marked, 1, RPROwner::Paragraph);
    EXPECT_EQ(xml_print(marked), R"(<w:p><w:pPr><w:pStyle w:val="T"/><w:jc w:val="center"/><w:rPr><w:b/></w:rPr><w:sectPr/></w:pPr></w:p>)");

    // A paragraph style gets its "w:pPr" before its run properties.
    pugi::xml_document style;
    pugi::xml_node s = xml_load(style, R"(<w:style><w:name w:val="H"/><w:rPr><w:b/></w:rPr></w:style>)");
    PPRSetAlignment(s, 2, RPROwner::ParagraphStyle);
    EXPECT_EQ(xml_print(s), R"(<w:style><w:name w:val="H"/><w:pPr><w:jc w:val="right"/></w:pPr><w:rPr><w:b/></w:rPr></w:style>)");
}

TEST(CellProperties, VerticalAlignment) {
    pugi::xml_document doc;
    pugi::xml_node cell = xml_load(doc, R"(<w:tc><w:p/></w:tc>)");
    TCPRSetVerticalAlignment(cell, -1);
    EXPECT_EQ(xml_print(cell), "<w:tc><w:p/></w:tc>");
    EXPECT_EQ(TCPRGetVerticalAlignment(cell), TableCellVerticalAlignments::NOTSET);
    // The cell's properties open the cell, or it would not load.
    TCPRSetVerticalAlignment(cell, 1);
    EXPECT_EQ(xml_print(cell), R"(<w:tc><w:tcPr><w:vAlign w:val="center"/></w:tcPr><w:p/></w:tc>)");
    TCPRSetVerticalAlignment(cell, 7);
    EXPECT_EQ(TCPRGetVerticalAlignment(cell), TableCellVerticalAlignments::BOTTOM);
    cell.child("w:tcPr").child("w:vAlign").attribute("w:val").set_value("both");
    EXPECT_EQ(TCPRGetVerticalAlignment(cell), TableCellVerticalAlignments::BOTTOM);
    TCPRSetVerticalAlignment(cell, 0);
    EXPECT_EQ(TCPRGetVerticalAlignment(cell), TableCellVerticalAlignments::TOP);
    TCPRSetVerticalAlignment(cell, -1);
    EXPECT_EQ(xml_print(cell), R"(<w:tc><w:tcPr/><w:p/></w:tc>)");

    pugi::xml_document widths;
    pugi::xml_node sized = xml_load(widths, R"(<w:tc><w:tcPr><w:tcW w:w="100"/><w:hideMark/></w:tcPr><w:p/></w:tc>)");
    TCPRSetVerticalAlignment(sized, 0);
    EXPECT_EQ(xml_print(sized.child("w:tcPr")), R"(<w:tcPr><w:tcW w:w="100"/><w:vAlign w:val="top"/><w:hideMark/></w:tcPr>)");

    pugi::xml_document part;
    pugi::xml_node tblStylePr = xml_load(part, R"(<w:tblStylePr w:type="lastRow"><w:rPr/></w:tblStylePr>)");
    TCPRSetVerticalAlignment(tblStylePr, 2);
    EXPECT_EQ(xml_print(tblStylePr), R"(<w:tblStylePr w:type="lastRow"><w:rPr/><w:tcPr><w:vAlign w:val="bottom"/></w:tcPr></w:tblStylePr>)");
}
