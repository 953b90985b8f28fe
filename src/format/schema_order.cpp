#include "format/schema_order.h"

#include <cstring>
#include <string_view>

namespace {

using Sequence = ChildSequence;

template <size_t N>
constexpr Sequence SequenceOf(const char* const (&places)[N]) {
    return {places, N};
}

// One entry per place in the sequence (ECMA-376, transitional). Names that
// may come in any order among themselves share a place, separated by '|'.

// A paragraph mark's properties open with its revision marks; a run's have
// none, so one list serves both.
const char* const kRunProperties[] = {
    "w:ins", "w:del", "w:moveFrom", "w:moveTo",
    "w:rStyle", "w:rFonts", "w:b", "w:bCs", "w:i", "w:iCs", "w:caps", "w:smallCaps", "w:strike",
    "w:dstrike", "w:outline", "w:shadow", "w:emboss", "w:imprint", "w:noProof", "w:snapToGrid",
    "w:vanish", "w:webHidden", "w:color", "w:spacing", "w:w", "w:kern", "w:position", "w:sz",
    "w:szCs", "w:highlight", "w:u", "w:effect", "w:bdr", "w:shd", "w:fitText", "w:vertAlign",
    "w:rtl", "w:cs", "w:em", "w:lang", "w:eastAsianLayout", "w:specVanish", "w:oMath", "w:rPrChange",
};

const char* const kParagraphProperties[] = {
    "w:pStyle", "w:keepNext", "w:keepLines", "w:pageBreakBefore", "w:framePr", "w:widowControl",
    "w:numPr", "w:suppressLineNumbers", "w:pBdr", "w:shd", "w:tabs", "w:suppressAutoHyphens",
    "w:kinsoku", "w:wordWrap", "w:overflowPunct", "w:topLinePunct", "w:autoSpaceDE", "w:autoSpaceDN",
    "w:bidi", "w:adjustRightInd", "w:snapToGrid", "w:spacing", "w:ind", "w:contextualSpacing",
    "w:mirrorIndents", "w:suppressOverlap", "w:jc", "w:textDirection", "w:textAlignment",
    "w:textboxTightWrap", "w:outlineLvl", "w:divId", "w:cnfStyle", "w:rPr", "w:sectPr", "w:pPrChange",
};

const char* const kSectionProperties[] = {
    "w:headerReference|w:footerReference", "w:footnotePr", "w:endnotePr", "w:type", "w:pgSz", "w:pgMar",
    "w:paperSrc", "w:pgBorders", "w:lnNumType", "w:pgNumType", "w:cols", "w:formProt", "w:vAlign",
    "w:noEndnote", "w:titlePg", "w:textDirection", "w:bidi", "w:rtlGutter", "w:docGrid",
    "w:printerSettings", "w:sectPrChange",
};

const char* const kNumberingProperties[] = {"w:ilvl", "w:numId", "w:numberingChange", "w:ins"};

const char* const kCellProperties[] = {
    "w:cnfStyle", "w:tcW", "w:gridSpan", "w:hMerge", "w:vMerge", "w:tcBorders", "w:shd", "w:noWrap",
    "w:tcMar", "w:textDirection", "w:tcFitText", "w:vAlign", "w:hideMark", "w:headers",
    "w:cellIns|w:cellDel|w:cellMerge", "w:tcPrChange",
};

const char* const kTableProperties[] = {
    "w:tblStyle", "w:tblpPr", "w:tblOverlap", "w:bidiVisual", "w:tblStyleRowBandSize",
    "w:tblStyleColBandSize", "w:tblW", "w:jc", "w:tblCellSpacing", "w:tblInd", "w:tblBorders", "w:shd",
    "w:tblLayout", "w:tblCellMar", "w:tblLook", "w:tblCaption", "w:tblDescription", "w:tblPrChange",
};

const char* const kTablePropertyExceptions[] = {
    "w:tblW", "w:jc", "w:tblCellSpacing", "w:tblInd", "w:tblBorders", "w:shd", "w:tblLayout",
    "w:tblCellMar", "w:tblLook", "w:tblPrExChange",
};

const char* const kTableBorders[] = {"w:top", "w:left|w:start", "w:bottom", "w:right|w:end", "w:insideH",
                                     "w:insideV"};

const char* const kCellBorders[] = {"w:top",     "w:left|w:start", "w:bottom", "w:right|w:end",
                                    "w:insideH", "w:insideV",      "w:tl2br",  "w:tr2bl"};

const char* const kParagraphBorders[] = {"w:top", "w:left", "w:bottom", "w:right", "w:between", "w:bar"};

const char* const kCellMargins[] = {"w:top", "w:left|w:start", "w:bottom", "w:right|w:end"};

const char* const kStyle[] = {
    "w:name", "w:aliases", "w:basedOn", "w:next", "w:link", "w:autoRedefine", "w:hidden",
    "w:uiPriority", "w:semiHidden", "w:unhideWhenUsed", "w:qFormat", "w:locked", "w:personal",
    "w:personalCompose", "w:personalReply", "w:rsid", "w:pPr", "w:rPr", "w:tblPr", "w:trPr",
    "w:tcPr", "w:tblStylePr",
};

const char* const kTableStyleProperties[] = {"w:pPr", "w:rPr", "w:tblPr", "w:trPr", "w:tcPr"};

const char* const kDocumentDefaults[] = {"w:rPrDefault", "w:pPrDefault"};

const char* const kSettings[] = {
    "w:writeProtection", "w:view", "w:zoom", "w:removePersonalInformation", "w:removeDateAndTime",
    "w:doNotDisplayPageBoundaries", "w:displayBackgroundShape", "w:printPostScriptOverText",
    "w:printFractionalCharacterWidth", "w:printFormsData", "w:embedTrueTypeFonts", "w:embedSystemFonts",
    "w:saveSubsetFonts", "w:saveFormsData", "w:mirrorMargins", "w:alignBordersAndEdges",
    "w:bordersDoNotSurroundHeader", "w:bordersDoNotSurroundFooter", "w:gutterAtTop", "w:hideSpellingErrors",
    "w:hideGrammaticalErrors", "w:activeWritingStyle", "w:proofState", "w:formsDesign", "w:attachedTemplate",
    "w:linkStyles", "w:stylePaneFormatFilter", "w:stylePaneSortMethod", "w:documentType", "w:mailMerge",
    "w:revisionView", "w:trackRevisions", "w:doNotTrackMoves", "w:doNotTrackFormatting", "w:documentProtection",
    "w:autoFormatOverride", "w:styleLockTheme", "w:styleLockQFSet", "w:defaultTabStop", "w:autoHyphenation",
    "w:consecutiveHyphenLimit", "w:hyphenationZone", "w:doNotHyphenateCaps", "w:showEnvelope",
    "w:summaryLength", "w:clickAndTypeStyle", "w:defaultTableStyle", "w:evenAndOddHeaders",
    "w:bookFoldRevPrinting", "w:bookFoldPrinting", "w:bookFoldPrintingSheets", "w:drawingGridHorizontalSpacing",
    "w:drawingGridVerticalSpacing", "w:displayHorizontalDrawingGridEvery", "w:displayVerticalDrawingGridEvery",
    "w:doNotUseMarginsForDrawingGridOrigin", "w:drawingGridHorizontalOrigin", "w:drawingGridVerticalOrigin",
    "w:doNotShadeFormData", "w:noPunctuationKerning", "w:characterSpacingControl", "w:printTwoOnOne",
    "w:strictFirstAndLastChars", "w:noLineBreaksAfter", "w:noLineBreaksBefore", "w:savePreviewPicture",
    "w:doNotValidateAgainstSchema", "w:saveInvalidXml", "w:ignoreMixedContent", "w:alwaysShowPlaceholderText",
    "w:doNotDemarcateInvalidXml", "w:saveXmlDataOnly", "w:useXSLTWhenSaving", "w:saveThroughXslt",
    "w:showXMLTags", "w:alwaysMergeEmptyNamespace", "w:updateFields", "w:hdrShapeDefaults", "w:footnotePr",
    "w:endnotePr", "w:compat", "w:docVars", "w:rsids", "m:mathPr", "w:attachedSchema", "w:themeFontLang",
    "w:clrSchemeMapping", "w:doNotIncludeSubdocsInStats", "w:doNotAutoCompressPictures", "w:forceUpgrade",
    "w:captions", "w:readModeInkLockDown", "w:smartTagType", "sl:schemaLibrary", "w:shapeDefaults",
    "w:doNotEmbedSmartTags", "w:decimalSymbol", "w:listSeparator",
};

// DrawingML: one fill of a shape before its line, a line's fill before its
// dash, join and ends.
const char* const kShapeProperties[] = {
    "a:xfrm", "!a:custGeom|a:prstGeom",
    "!a:noFill|a:solidFill|a:gradFill|a:blipFill|a:pattFill|a:grpFill", "a:ln",
    "!a:effectLst|a:effectDag", "a:scene3d", "a:sp3d", "a:extLst",
};

const char* const kLineProperties[] = {
    "!a:noFill|a:solidFill|a:gradFill|a:pattFill", "!a:prstDash|a:custDash", "!a:round|a:bevel|a:miter",
    "a:headEnd", "a:tailEnd", "a:extLst",
};

// Block content and the range markup that may stand between blocks, runs
// and rows.
#define VEXWORD_RANGE_MARKUP                                                                          \
    "w:bookmarkStart|w:bookmarkEnd|w:moveFromRangeStart|w:moveFromRangeEnd|w:moveToRangeStart|"     \
    "w:moveToRangeEnd|w:commentRangeStart|w:commentRangeEnd|w:customXmlInsRangeStart|"              \
    "w:customXmlInsRangeEnd|w:customXmlDelRangeStart|w:customXmlDelRangeEnd|"                      \
    "w:customXmlMoveFromRangeStart|w:customXmlMoveFromRangeEnd|w:customXmlMoveToRangeStart|"       \
    "w:customXmlMoveToRangeEnd|w:proofErr|w:permStart|w:permEnd|w:ins|w:del|w:moveFrom|w:moveTo"
#define VEXWORD_BLOCKS "w:p|w:tbl|w:sdt|w:customXml|w:altChunk|"

const char* const kBody[] = {VEXWORD_BLOCKS VEXWORD_RANGE_MARKUP, "w:sectPr"};
const char* const kTable[] = {"w:tblPr", "w:tblGrid", "w:tr|w:customXml|w:sdt"};
const char* const kTableGrid[] = {"w:gridCol", "w:tblGridChange"};
const char* const kTableRow[] = {"w:tblPrEx", "w:trPr", "w:tc|w:customXml|w:sdt"};
const char* const kTableCell[] = {"w:tcPr", VEXWORD_BLOCKS VEXWORD_RANGE_MARKUP};
const char* const kParagraph[] = {
    "w:pPr",
    "w:r|w:hyperlink|w:fldSimple|w:smartTag|w:customXml|w:sdt|w:dir|w:bdo|w:subDoc|" VEXWORD_RANGE_MARKUP};
const char* const kRun[] = {
    "w:rPr",
    "w:br|w:t|w:contentPart|w:delText|w:instrText|w:delInstrText|w:noBreakHyphen|w:softHyphen|w:dayShort|"
    "w:monthShort|w:yearShort|w:dayLong|w:monthLong|w:yearLong|w:annotationRef|w:footnoteRef|w:endnoteRef|"
    "w:separator|w:continuationSeparator|w:sym|w:pgNum|w:cr|w:tab|w:object|w:pict|w:fldChar|w:ruby|"
    "w:footnoteReference|w:endnoteReference|w:commentReference|w:drawing|w:ptab|w:lastRenderedPageBreak"};
#undef VEXWORD_BLOCKS
#undef VEXWORD_RANGE_MARKUP

const char* const kStyles[] = {"w:docDefaults", "w:latentStyles", "w:style"};
const char* const kNumbering[] = {"w:numPicBullet", "w:abstractNum", "w:num", "w:numIdMacAtCleanup"};
const char* const kAbstractNumbering[] = {"w:nsid", "w:multiLevelType", "w:tmpl", "w:name",
                                          "w:styleLink", "w:numStyleLink", "w:lvl"};
const char* const kNumberingLevel[] = {"w:start", "w:numFmt", "w:lvlRestart", "w:pStyle", "w:isLgl", "w:suff",
                                       "w:lvlText", "w:lvlPicBulletId", "w:legacy", "w:lvlJc", "w:pPr", "w:rPr"};
const char* const kNumberingInstance[] = {"w:abstractNumId", "w:lvlOverride"};
const char* const kLevelOverride[] = {"w:startOverride", "w:lvl"};

const char* const kInlineDrawing[] = {"wp:extent", "wp:effectExtent", "wp:docPr", "wp:cNvGraphicFramePr",
                                      "a:graphic"};
const char* const kAnchoredDrawing[] = {
    "wp:simplePos", "wp:positionH", "wp:positionV", "wp:extent", "wp:effectExtent",
    "!wp:wrapNone|wp:wrapSquare|wp:wrapTight|wp:wrapThrough|wp:wrapTopAndBottom", "wp:docPr",
    "wp:cNvGraphicFramePr", "a:graphic"};
const char* const kWrapPolygon[] = {"wp:start", "wp:lineTo"};
const char* const kTransform[] = {"a:off", "a:ext"};
const char* const kBlipFill[] = {"a:blip", "a:srcRect", "!a:tile|a:stretch"};
const char* const kPicture[] = {"pic:nvPicPr", "pic:blipFill", "pic:spPr"};
const char* const kPictureNonVisual[] = {"pic:cNvPr", "pic:cNvPicPr"};
const char* const kWordShape[] = {"wps:cNvPr", "wps:cNvSpPr|wps:cNvCnPr", "wps:spPr", "wps:style", "wps:extLst",
                                  "wps:txbx|wps:linkedTxbx", "wps:bodyPr"};
const char* const kShapeGroup[] = {"wpg:cNvPr", "wpg:cNvGrpSpPr", "wpg:grpSpPr",
                                   "wps:wsp|wpg:grpSp|wpg:graphicFrame|pic:pic", "wpg:extLst"};

Sequence SequenceFor(ChildOrder order) {
    switch (order) {
        case ChildOrder::RunProperties: return SequenceOf(kRunProperties);
        case ChildOrder::ParagraphProperties: return SequenceOf(kParagraphProperties);
        case ChildOrder::SectionProperties: return SequenceOf(kSectionProperties);
        case ChildOrder::NumberingProperties: return SequenceOf(kNumberingProperties);
        case ChildOrder::CellProperties: return SequenceOf(kCellProperties);
        case ChildOrder::TableProperties: return SequenceOf(kTableProperties);
        case ChildOrder::TablePropertyExceptions: return SequenceOf(kTablePropertyExceptions);
        case ChildOrder::TableBorders: return SequenceOf(kTableBorders);
        case ChildOrder::CellBorders: return SequenceOf(kCellBorders);
        case ChildOrder::ParagraphBorders: return SequenceOf(kParagraphBorders);
        case ChildOrder::CellMargins: return SequenceOf(kCellMargins);
        case ChildOrder::Style: return SequenceOf(kStyle);
        case ChildOrder::TableStyleProperties: return SequenceOf(kTableStyleProperties);
        case ChildOrder::DocumentDefaults: return SequenceOf(kDocumentDefaults);
        case ChildOrder::Settings: return SequenceOf(kSettings);
        case ChildOrder::ShapeProperties: return SequenceOf(kShapeProperties);
        case ChildOrder::LineProperties: return SequenceOf(kLineProperties);
        case ChildOrder::Body: return SequenceOf(kBody);
        case ChildOrder::Paragraph: return SequenceOf(kParagraph);
        case ChildOrder::Run: return SequenceOf(kRun);
        case ChildOrder::Table: return SequenceOf(kTable);
        case ChildOrder::TableGrid: return SequenceOf(kTableGrid);
        case ChildOrder::TableRow: return SequenceOf(kTableRow);
        case ChildOrder::TableCell: return SequenceOf(kTableCell);
        case ChildOrder::Styles: return SequenceOf(kStyles);
        case ChildOrder::Numbering: return SequenceOf(kNumbering);
        case ChildOrder::AbstractNumbering: return SequenceOf(kAbstractNumbering);
        case ChildOrder::NumberingLevel: return SequenceOf(kNumberingLevel);
        case ChildOrder::NumberingInstance: return SequenceOf(kNumberingInstance);
        case ChildOrder::LevelOverride: return SequenceOf(kLevelOverride);
        case ChildOrder::InlineDrawing: return SequenceOf(kInlineDrawing);
        case ChildOrder::AnchoredDrawing: return SequenceOf(kAnchoredDrawing);
        case ChildOrder::WrapPolygon: return SequenceOf(kWrapPolygon);
        case ChildOrder::Transform: return SequenceOf(kTransform);
        case ChildOrder::BlipFill: return SequenceOf(kBlipFill);
        case ChildOrder::Picture: return SequenceOf(kPicture);
        case ChildOrder::PictureNonVisual: return SequenceOf(kPictureNonVisual);
        case ChildOrder::WordShape: return SequenceOf(kWordShape);
        case ChildOrder::ShapeGroup: return SequenceOf(kShapeGroup);
    }
    return {nullptr, 0};
}

// Whether `name` is one of the '|'-separated names of a place.
bool PlaceHolds(std::string_view place, std::string_view name) {
    if (!place.empty() && place[0] == '!') place.remove_prefix(1);
    for (size_t start = 0;;) {
        const size_t end = place.find('|', start);
        if (place.substr(start, end - start) == name) return true;
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

// Position in the sequence; names outside it rank after every listed one.
size_t RankOf(const Sequence& sequence, const char* name) {
    for (size_t i = 0; i < sequence.count; ++i)
        if (PlaceHolds(sequence.places[i], name)) return i;
    return sequence.count;
}

}  // namespace

ChildSequence ChildOrder_Sequence(ChildOrder order) { return SequenceFor(order); }

bool ChildOrder_PlaceHolds(const char* place, const char* name) { return PlaceHolds(place, name); }

pugi::xml_node InsertChildInOrder(pugi::xml_node parent, const char* name, ChildOrder order) {
    if (!parent) return pugi::xml_node();
    const Sequence sequence = SequenceFor(order);
    const size_t rank = RankOf(sequence, name);
    if (rank < sequence.count) {
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            if (RankOf(sequence, child.name()) > rank) return parent.insert_child_before(name, child);
        }
    }
    return parent.append_child(name);
}

pugi::xml_node ChildInOrder(pugi::xml_node parent, const char* name, ChildOrder order) {
    pugi::xml_node child = parent.child(name);
    return child ? child : InsertChildInOrder(parent, name, order);
}
