#include "format/paragraph_properties.h"

#include <cstring>

#include "format/schema_order.h"
#include "format/xml_helpers.h"

namespace {

const char* const kAlignmentTexts[] = {"left", "center", "right", "both"};

// A new "w:pPr" opens a paragraph; in a style it goes before the run
// properties, where the style's child order has it.
pugi::xml_node PPRIfNeeded(pugi::xml_node parent, RPROwner owner) {
    if (pugi::xml_node pPr = parent.child("w:pPr")) return pPr;
    if (owner == RPROwner::Paragraph) return parent.prepend_child("w:pPr");
    if (owner == RPROwner::TableStylePart) return InsertChildInOrder(parent, "w:pPr", ChildOrder::TableStyleProperties);
    return InsertChildInOrder(parent, "w:pPr", ChildOrder::Style);
}

}  // namespace

Alignments PPRGetAlignment(pugi::xml_node parent) {
    const char* text = parent.child("w:pPr").child("w:jc").attribute("w:val").value();
    for (int32_t i = 0; i < 4; ++i)
        if (std::strcmp(text, kAlignmentTexts[i]) == 0) return Alignments(i);
    return Alignments::NOTSET;
}

void PPRSetAlignment(pugi::xml_node parent, int32_t value, RPROwner owner) {
    if (!parent) return;
    pugi::xml_node pPr = PPRIfNeeded(parent, owner);
    if (value == int32_t(Alignments::NOTSET)) {
        if (pugi::xml_node jc = pPr.child("w:jc")) pPr.remove_child(jc);
        return;
    }
    const char* text = value >= 0 && value < 4 ? kAlignmentTexts[value] : "left";
    WriteAttribute(ChildInOrder(pPr, "w:jc", ChildOrder::ParagraphProperties), "w:val", text);
}
