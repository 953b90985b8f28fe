// Where new children go among the children of property elements: checked
// on the XML left, and, for every child of every sequence, against the docx
// checker's own reading of the schema.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "check/package_check.h"
#include "docx_builder.h"
#include "format/schema_order.h"
#include "plugin_test.h"
#include "xml_snippets.h"

TEST(SchemaOrder, NewChildrenGoBeforeTheFirstLaterSibling) {
    pugi::xml_document doc;
    pugi::xml_node pPr = xml_load(doc, R"(<w:pPr><w:pStyle w:val="H"/><w:jc w:val="center"/><w:rPr/></w:pPr>)");
    InsertChildInOrder(pPr, "w:ind", ChildOrder::ParagraphProperties);
    InsertChildInOrder(pPr, "w:spacing", ChildOrder::ParagraphProperties);
    InsertChildInOrder(pPr, "w:keepNext", ChildOrder::ParagraphProperties);
    InsertChildInOrder(pPr, "w:sectPr", ChildOrder::ParagraphProperties);
    InsertChildInOrder(pPr, "w14:unknown", ChildOrder::ParagraphProperties);
    EXPECT_EQ(xml_print(pPr), R"(<w:pPr><w:pStyle w:val="H"/><w:keepNext/><w:spacing/><w:ind/><w:jc w:val="center"/>)"
                          R"(<w:rPr/><w:sectPr/><w14:unknown/></w:pPr>)");

    // Children already out of order stay where they are; the new one goes
    // before the first that the sequence puts after it.
    pugi::xml_document slipped;
    pPr = xml_load(slipped, R"(<w:pPr><w:jc/><w:pStyle/></w:pPr>)");
    InsertChildInOrder(pPr, "w:ind", ChildOrder::ParagraphProperties);
    EXPECT_EQ(xml_print(pPr), R"(<w:pPr><w:ind/><w:jc/><w:pStyle/></w:pPr>)");

    // ChildInOrder finds an existing child wherever it stands.
    EXPECT_EQ(ChildInOrder(pPr, "w:pStyle", ChildOrder::ParagraphProperties), pPr.last_child());
    EXPECT_FALSE(InsertChildInOrder(pugi::xml_node(), "w:ind", ChildOrder::ParagraphProperties));
}

TEST(SchemaOrder, ChildrenSharingAPlaceKeepTheOrderTheyCameIn) {
    pugi::xml_document doc;
    pugi::xml_node sectPr = xml_load(doc, R"(<w:sectPr><w:headerReference w:type="default"/><w:pgSz/></w:sectPr>)");
    InsertChildInOrder(sectPr, "w:footerReference", ChildOrder::SectionProperties);
    InsertChildInOrder(sectPr, "w:headerReference", ChildOrder::SectionProperties).append_attribute("w:type") = "first";
    InsertChildInOrder(sectPr, "w:titlePg", ChildOrder::SectionProperties);
    InsertChildInOrder(sectPr, "w:pgMar", ChildOrder::SectionProperties);
    EXPECT_EQ(xml_print(sectPr), R"(<w:sectPr><w:headerReference w:type="default"/><w:footerReference/>)"
                             R"(<w:headerReference w:type="first"/><w:pgSz/><w:pgMar/><w:titlePg/></w:sectPr>)");

    pugi::xml_document margins;
    pugi::xml_node tcMar = xml_load(margins, R"(<w:tcMar><w:start/><w:end/></w:tcMar>)");
    InsertChildInOrder(tcMar, "w:bottom", ChildOrder::CellMargins);
    InsertChildInOrder(tcMar, "w:top", ChildOrder::CellMargins);
    EXPECT_EQ(xml_print(tcMar), R"(<w:tcMar><w:top/><w:start/><w:bottom/><w:end/></w:tcMar>)");
}

TEST(SchemaOrder, AParagraphMarkOpensWithItsRevisionMarks) {
    pugi::xml_document doc;
    pugi::xml_node rPr = xml_load(doc, R"(<w:rPr><w:ins w:id="1"/><w:b/></w:rPr>)");
    InsertChildInOrder(rPr, "w:lang", ChildOrder::RunProperties);
    InsertChildInOrder(rPr, "w:rStyle", ChildOrder::RunProperties);
    EXPECT_EQ(xml_print(rPr), R"(<w:rPr><w:ins w:id="1"/><w:rStyle/><w:b/><w:lang/></w:rPr>)");
}

namespace {

// Every child each sequence knows, in alphabetical order (not the schema's).
const std::vector<std::string> kRunChildren = {
    "w:b", "w:bCs", "w:bdr", "w:caps", "w:color", "w:cs", "w:del", "w:dstrike", "w:eastAsianLayout",
    "w:effect", "w:em", "w:emboss", "w:fitText", "w:highlight", "w:i", "w:iCs", "w:imprint", "w:ins",
    "w:kern", "w:lang", "w:moveFrom", "w:moveTo", "w:noProof", "w:oMath", "w:outline", "w:position",
    "w:rFonts", "w:rPrChange", "w:rStyle", "w:rtl", "w:shadow", "w:shd", "w:smallCaps", "w:snapToGrid",
    "w:spacing", "w:specVanish", "w:strike", "w:sz", "w:szCs", "w:u", "w:vanish", "w:vertAlign", "w:w",
    "w:webHidden"};
const std::vector<std::string> kParagraphChildren = {
    "w:adjustRightInd", "w:autoSpaceDE", "w:autoSpaceDN", "w:bidi", "w:cnfStyle", "w:contextualSpacing",
    "w:divId", "w:framePr", "w:ind", "w:jc", "w:keepLines", "w:keepNext", "w:kinsoku", "w:mirrorIndents",
    "w:numPr", "w:outlineLvl", "w:overflowPunct", "w:pBdr", "w:pPrChange", "w:pStyle", "w:pageBreakBefore",
    "w:rPr", "w:sectPr", "w:shd", "w:snapToGrid", "w:spacing", "w:suppressAutoHyphens",
    "w:suppressLineNumbers", "w:suppressOverlap", "w:tabs", "w:textAlignment", "w:textDirection",
    "w:textboxTightWrap", "w:topLinePunct", "w:widowControl", "w:wordWrap"};
const std::vector<std::string> kSectionChildren = {
    "w:bidi", "w:cols", "w:docGrid", "w:endnotePr", "w:footerReference", "w:footnotePr", "w:formProt",
    "w:headerReference", "w:lnNumType", "w:noEndnote", "w:paperSrc", "w:pgBorders", "w:pgMar",
    "w:pgNumType", "w:pgSz", "w:printerSettings", "w:rtlGutter", "w:sectPrChange", "w:textDirection",
    "w:titlePg", "w:type", "w:vAlign"};
const std::vector<std::string> kNumberingChildren = {"w:ilvl", "w:ins", "w:numId", "w:numberingChange"};
const std::vector<std::string> kCellChildren = {
    "w:cellDel", "w:cellIns", "w:cellMerge", "w:cnfStyle", "w:gridSpan", "w:hMerge", "w:headers",
    "w:hideMark", "w:noWrap", "w:shd", "w:tcBorders", "w:tcFitText", "w:tcMar", "w:tcPrChange", "w:tcW",
    "w:textDirection", "w:vAlign", "w:vMerge"};
const std::vector<std::string> kTableChildren = {
    "w:bidiVisual", "w:jc", "w:shd", "w:tblBorders", "w:tblCaption", "w:tblCellMar", "w:tblCellSpacing",
    "w:tblDescription", "w:tblInd", "w:tblLayout", "w:tblLook", "w:tblOverlap", "w:tblPrChange",
    "w:tblStyle", "w:tblStyleColBandSize", "w:tblStyleRowBandSize", "w:tblW", "w:tblpPr"};
const std::vector<std::string> kExceptionChildren = {"w:jc", "w:shd", "w:tblBorders", "w:tblCellMar",
                                                     "w:tblCellSpacing", "w:tblInd", "w:tblLayout",
                                                     "w:tblLook", "w:tblPrExChange", "w:tblW"};
const std::vector<std::string> kTableBorderChildren = {"w:bottom", "w:end",  "w:insideH", "w:insideV",
                                                       "w:left",   "w:right", "w:start",  "w:top"};
const std::vector<std::string> kCellBorderChildren = {"w:bottom", "w:end",   "w:insideH", "w:insideV", "w:left",
                                                      "w:right",  "w:start", "w:tl2br",   "w:top",     "w:tr2bl"};
const std::vector<std::string> kParagraphBorderChildren = {"w:bar",  "w:between", "w:bottom",
                                                           "w:left", "w:right",   "w:top"};
const std::vector<std::string> kMarginChildren = {"w:bottom", "w:end", "w:left", "w:right", "w:start", "w:top"};
const std::vector<std::string> kStyleChildren = {
    "w:aliases", "w:autoRedefine", "w:basedOn", "w:hidden", "w:link", "w:locked", "w:name", "w:next",
    "w:pPr", "w:personal", "w:personalCompose", "w:personalReply", "w:qFormat", "w:rPr", "w:rsid",
    "w:semiHidden", "w:tblPr", "w:tblStylePr", "w:tcPr", "w:trPr", "w:uiPriority", "w:unhideWhenUsed"};
const std::vector<std::string> kTableStylePartChildren = {"w:pPr", "w:rPr", "w:tblPr", "w:tcPr", "w:trPr"};
const std::vector<std::string> kDefaultsChildren = {"w:pPrDefault", "w:rPrDefault"};

// Inserts the names into `parent` in the given order (or its reverse).
void InsertAll(pugi::xml_node parent, std::vector<std::string> names, ChildOrder order, bool reversed) {
    ASSERT_TRUE(parent);
    if (reversed) std::reverse(names.begin(), names.end());
    for (const std::string& name : names) InsertChildInOrder(parent, name.c_str(), order);
}

std::string Inner(pugi::xml_node node) {
    std::string xml;
    for (pugi::xml_node child : node.children()) xml += xml_print(child);
    return xml;
}

// The package checker's order findings for a package.
std::string OrderFindings(const std::string& package) {
    cli::CheckOptions strict;
    strict.strict = true;
    std::string findings;
    for (const cli::Finding& f : cli::Check_PackageFile(package, strict).findings)
        if (f.rule == "order") findings += f.part + ": " + f.message + "\n";
    return findings;
}

class SchemaOrderChecked : public PluginTest {};

}  // namespace

// Each child of each sequence inserted in two different orders ends up
// where the package checker wants it.
TEST_F(SchemaOrderChecked, EverySequenceAsTheCheckerReadsIt) {
    for (bool reversed : {false, true}) {
        pugi::xml_document body;
        ASSERT_TRUE(body.load_string("<w:body><w:p><w:pPr/></w:p><w:tbl><w:tblPr/><w:tblGrid/><w:tr><w:tblPrEx/>"
                                     "<w:tc><w:tcPr/><w:p/></w:tc></w:tr></w:tbl><w:p/><w:sectPr/></w:body>"));
        pugi::xml_node root = body.document_element();
        pugi::xml_node pPr = root.child("w:p").child("w:pPr");
        InsertAll(pPr, kParagraphChildren, ChildOrder::ParagraphProperties, reversed);
        InsertAll(pPr.child("w:rPr"), kRunChildren, ChildOrder::RunProperties, reversed);
        InsertAll(pPr.child("w:numPr"), kNumberingChildren, ChildOrder::NumberingProperties, reversed);
        InsertAll(pPr.child("w:pBdr"), kParagraphBorderChildren, ChildOrder::ParagraphBorders, reversed);
        InsertAll(pPr.child("w:sectPr"), kSectionChildren, ChildOrder::SectionProperties, reversed);
        pugi::xml_node tbl = root.child("w:tbl");
        pugi::xml_node tblPr = tbl.child("w:tblPr");
        InsertAll(tblPr, kTableChildren, ChildOrder::TableProperties, reversed);
        InsertAll(tblPr.child("w:tblBorders"), kTableBorderChildren, ChildOrder::TableBorders, reversed);
        InsertAll(tblPr.child("w:tblCellMar"), kMarginChildren, ChildOrder::CellMargins, reversed);
        pugi::xml_node tblPrEx = tbl.child("w:tr").child("w:tblPrEx");
        InsertAll(tblPrEx, kExceptionChildren, ChildOrder::TablePropertyExceptions, reversed);
        pugi::xml_node tcPr = tbl.child("w:tr").child("w:tc").child("w:tcPr");
        InsertAll(tcPr, kCellChildren, ChildOrder::CellProperties, reversed);
        InsertAll(tcPr.child("w:tcBorders"), kCellBorderChildren, ChildOrder::CellBorders, reversed);
        InsertAll(tcPr.child("w:tcMar"), kMarginChildren, ChildOrder::CellMargins, reversed);
        InsertAll(root.child("w:sectPr"), kSectionChildren, ChildOrder::SectionProperties, reversed);

        pugi::xml_document styles;
        ASSERT_TRUE(styles.load_string("<w:styles><w:docDefaults/><w:style w:type=\"table\" w:styleId=\"T\"/>"
                                       "</w:styles>"));
        pugi::xml_node style = styles.document_element().child("w:style");
        InsertAll(styles.document_element().child("w:docDefaults"), kDefaultsChildren, ChildOrder::DocumentDefaults,
                  reversed);
        InsertAll(style, kStyleChildren, ChildOrder::Style, reversed);
        InsertAll(style.child("w:tblStylePr"), kTableStylePartChildren, ChildOrder::TableStyleProperties,
                  reversed);

        DocxParts parts;
        parts.body = Inner(root);
        parts.appendSectPr = false;
        parts.styles = std::string("<w:styles ") + kDocxNamespaces + ">" + Inner(styles.document_element()) +
                       "</w:styles>";
        // Every child of every sequence, many of them empty: a package for
        // this check only, not a document.
        const std::string package = path(reversed ? "reversed.zip" : "alphabetical.zip");
        write_docx(package, parts);
        EXPECT_EQ(OrderFindings(package), "") << (reversed ? "reversed" : "alphabetical");
    }
}
