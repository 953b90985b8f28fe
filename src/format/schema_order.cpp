#include "format/schema_order.h"

#include <cstring>
#include <iterator>

namespace {

struct Sequence {
    const char* const* names;
    size_t count;
};

template <size_t N>
constexpr Sequence SequenceOf(const char* const (&names)[N]) {
    return {names, N};
}

const char* const kRunProperties[] = {
    "w:rStyle", "w:rFonts", "w:b", "w:bCs", "w:i", "w:iCs", "w:caps", "w:smallCaps", "w:strike",
    "w:dstrike", "w:outline", "w:shadow", "w:emboss", "w:imprint", "w:noProof", "w:snapToGrid",
    "w:vanish", "w:webHidden", "w:color", "w:spacing", "w:w", "w:kern", "w:position", "w:sz",
    "w:szCs", "w:highlight", "w:u", "w:effect", "w:bdr", "w:shd", "w:fitText", "w:vertAlign",
    "w:rtl", "w:cs", "w:em", "w:lang", "w:eastAsianLayout", "w:specVanish", "w:oMath",
    "w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange",
};

const char* const kParagraphProperties[] = {
    "w:pStyle", "w:keepNext", "w:keepLines", "w:pageBreakBefore", "w:framePr", "w:widowControl",
    "w:numPr", "w:suppressLineNumbers", "w:pBdr", "w:shd", "w:tabs", "w:suppressAutoHyphens",
    "w:kinsoku", "w:wordWrap", "w:overflowPunct", "w:topLinePunct", "w:autoSpaceDE", "w:autoSpaceDN",
    "w:bidi", "w:adjustRightInd", "w:snapToGrid", "w:spacing", "w:ind", "w:contextualSpacing",
    "w:mirrorIndents", "w:suppressOverlap", "w:jc", "w:textDirection", "w:textAlignment",
    "w:textboxTightWrap", "w:outlineLvl", "w:divId", "w:cnfStyle", "w:rPr", "w:sectPr", "w:pPrChange",
};

const char* const kCellProperties[] = {
    "w:cnfStyle", "w:tcW", "w:gridSpan", "w:hMerge", "w:vMerge", "w:tcBorders", "w:shd", "w:noWrap",
    "w:tcMar", "w:textDirection", "w:tcFitText", "w:vAlign", "w:hideMark", "w:headers", "w:cellIns",
    "w:cellDel", "w:cellMerge", "w:tcPrChange",
};

const char* const kStyle[] = {
    "w:name", "w:aliases", "w:basedOn", "w:next", "w:link", "w:autoRedefine", "w:hidden",
    "w:uiPriority", "w:semiHidden", "w:unhideWhenUsed", "w:qFormat", "w:locked", "w:personal",
    "w:personalCompose", "w:personalReply", "w:rsid", "w:pPr", "w:rPr", "w:tblPr", "w:trPr",
    "w:tcPr", "w:tblStylePr",
};

const char* const kTableStyleProperties[] = {"w:pPr", "w:rPr", "w:tblPr", "w:trPr", "w:tcPr"};

const char* const kTableProperties[] = {
    "w:tblStyle", "w:tblpPr", "w:tblOverlap", "w:bidiVisual", "w:tblStyleRowBandSize",
    "w:tblStyleColBandSize", "w:tblW", "w:jc", "w:tblCellSpacing", "w:tblInd", "w:tblBorders", "w:shd",
    "w:tblLayout", "w:tblCellMar", "w:tblLook", "w:tblCaption", "w:tblDescription", "w:tblPrChange",
};

Sequence SequenceFor(ChildOrder order) {
    switch (order) {
        case ChildOrder::RunProperties: return SequenceOf(kRunProperties);
        case ChildOrder::ParagraphProperties: return SequenceOf(kParagraphProperties);
        case ChildOrder::CellProperties: return SequenceOf(kCellProperties);
        case ChildOrder::Style: return SequenceOf(kStyle);
        case ChildOrder::TableStyleProperties: return SequenceOf(kTableStyleProperties);
        case ChildOrder::TableProperties: return SequenceOf(kTableProperties);
    }
    return {nullptr, 0};
}

// Position in the sequence; names outside it rank after every listed one.
size_t RankOf(const Sequence& sequence, const char* name) {
    for (size_t i = 0; i < sequence.count; ++i)
        if (std::strcmp(sequence.names[i], name) == 0) return i;
    return sequence.count;
}

}  // namespace

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
