#include "format/paragraph_numbering.h"

#include "format/schema_order.h"
#include "format/xml_helpers.h"

std::optional<int64_t> Paragraph_GetListNumId(pugi::xml_node paragraph) {
    pugi::xml_node numId = paragraph.child("w:pPr").child("w:numPr").child("w:numId");
    if (!numId) return std::nullopt;
    return numId.attribute("w:val").as_llong();
}

void Paragraph_SetList(pugi::xml_node paragraph, int64_t numId, int64_t level) {
    pugi::xml_node pPr = PrependChildIfNeeded(paragraph, "w:pPr");
    pugi::xml_node numPr = ChildInOrder(pPr, "w:numPr", ChildOrder::ParagraphProperties);
    numPr.remove_child("w:ilvl");
    numPr.remove_child("w:numId");
    InsertChildInOrder(numPr, "w:ilvl", ChildOrder::NumberingProperties).append_attribute("w:val") =
        static_cast<long long>(level);
    InsertChildInOrder(numPr, "w:numId", ChildOrder::NumberingProperties).append_attribute("w:val") =
        static_cast<long long>(numId);
}

void Paragraph_RemoveList(pugi::xml_node paragraph) {
    pugi::xml_node pPr = PrependChildIfNeeded(paragraph, "w:pPr");
    pPr.remove_child("w:numPr");
}
