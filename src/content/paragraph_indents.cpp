#include "content/paragraph_indents.h"

#include <cstring>

#include "format/schema_order.h"
#include "format/xml_helpers.h"

const char* const kLeftIndent = "w:left";
const char* const kRightIndent = "w:right";
const char* const kFirstLineIndent = "w:firstLine";

namespace {

const char* const kHanging = "w:hanging";

bool IsFirstLine(const char* attribute) { return std::strcmp(attribute, kFirstLineIndent) == 0; }

// Removes the attributes that are present; true when one was.
bool RemoveAttributes(pugi::xml_node ind, const char* first, const char* second) {
    bool removed = ind.remove_attribute(first);
    if (second) removed = ind.remove_attribute(second) || removed;
    return removed;
}

}  // namespace

double Paragraph_GetIndent(pugi::xml_node paragraph, const char* attribute, Units unit) {
    pugi::xml_node ind = paragraph.child("w:pPr").child("w:ind");
    if (IsFirstLine(attribute)) {
        if (pugi::xml_attribute hanging = ind.attribute(kHanging))
            return ValueToUnit(ClampToInt32(-int64_t(hanging.as_int())), unit);
    }
    pugi::xml_attribute a = ind.attribute(attribute);
    if (!a) return 0.0;
    return ValueToUnit(a.as_int(), unit);
}

void Paragraph_SetIndent(pugi::xml_node paragraph, const char* attribute, double value, Units unit) {
    if (!paragraph) return;
    const bool firstLine = IsFirstLine(attribute);
    pugi::xml_node pPr = PrependChildIfNeeded(paragraph, "w:pPr");
    pugi::xml_node ind = pPr.child("w:ind");
    if (value == 0.0) {
        if (!RemoveAttributes(ind, attribute, firstLine ? kHanging : nullptr)) return;
        // The last attribute gone, the element says nothing any more.
        if (!ind.first_attribute()) pPr.remove_child(ind);
        return;
    }
    if (!ind) ind = InsertChildInOrder(pPr, "w:ind", ChildOrder::ParagraphProperties);
    const int32_t twips = UnitToValue(value, unit);
    if (firstLine && twips < 0) {
        // The schema has no negative first-line indent: a hanging one is
        // written as its size.
        ind.remove_attribute(kFirstLineIndent);
        WriteAttribute(ind, kHanging, ClampToInt32(-int64_t(twips)));
        return;
    }
    if (firstLine) ind.remove_attribute(kHanging);
    WriteAttribute(ind, attribute, twips);
}
