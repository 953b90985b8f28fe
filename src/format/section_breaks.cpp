#include "format/section_breaks.h"

#include <cstring>

#include "format/schema_order.h"
#include "format/section_properties.h"
#include "format/xml_helpers.h"

void Paragraph_MakePageBreak(pugi::xml_node paragraph) {
    paragraph.append_child("w:r").append_child("w:br").append_attribute("w:type").set_value("page");
}

bool Node_IsDocumentBody(pugi::xml_node node) {
    return node && node == node.root().child("w:document").child("w:body");
}

void Paragraph_EndSectionWith(pugi::xml_node paragraph, pugi::xml_node sectPr) {
    if (!paragraph || !sectPr) return;
    pugi::xml_node pPr = PrependChildIfNeeded(paragraph, "w:pPr");
    pPr.remove_child("w:sectPr");
    // The copy goes where a new w:sectPr would: before w:pPrChange only.
    pugi::xml_node place = InsertChildInOrder(pPr, "w:sectPr", ChildOrder::ParagraphProperties);
    pPr.insert_copy_before(sectPr, place);
    pPr.remove_child(place);
}

void Section_StartAfterBreak(pugi::xml_node sectPr, int64_t type) {
    Section_SetType(sectPr, type);
    sectPr.remove_child("w:titlePg");
}

pugi::xml_node Section_EndingFrom(pugi::xml_node body, pugi::xml_node first) {
    for (pugi::xml_node n = first; n; n = n.next_sibling("w:p"))
        if (std::strcmp(n.name(), "w:p") == 0)
            if (pugi::xml_node sectPr = n.child("w:pPr").child("w:sectPr")) return sectPr;
    return Body_FinalSectPr(body);
}

pugi::xml_node SectionBreak_InsertNextTo(pugi::xml_node body, pugi::xml_node item, bool after, int64_t type) {
    if (!item || item.parent() != body) return {};
    pugi::xml_node sectPr = Section_EndingFrom(body, after ? item.next_sibling() : item);
    if (!sectPr) return {};
    pugi::xml_node paragraph = after ? body.insert_child_after("w:p", item) : body.insert_child_before("w:p", item);
    Paragraph_EndSectionWith(paragraph, sectPr);
    Section_StartAfterBreak(sectPr, type);
    return paragraph;
}
