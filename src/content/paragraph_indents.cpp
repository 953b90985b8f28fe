#include "content/paragraph_indents.h"

#include "format/xml_helpers.h"

const char* const kLeftIndent = "w:left";
const char* const kRightIndent = "w:right";
const char* const kFirstLineIndent = "w:firstLine";

double Paragraph_GetIndent(pugi::xml_node paragraph, const char* attribute, Units unit) {
    pugi::xml_attribute a = paragraph.child("w:pPr").child("w:ind").attribute(attribute);
    if (!a) return 0.0;
    return ValueToUnit(a.as_int(), unit);
}

void Paragraph_SetIndent(pugi::xml_node paragraph, const char* attribute, double value, Units unit) {
    if (!paragraph) return;
    pugi::xml_node pPr = PrependChildIfNeeded(paragraph, "w:pPr");
    pugi::xml_node ind = pPr.child("w:ind");
    if (value == 0.0) {
        pugi::xml_attribute a = ind.attribute(attribute);
        if (!a) return;
        // The last attribute gone, the element says nothing any more.
        if (ind.first_attribute() == a && !a.next_attribute())
            pPr.remove_child(ind);
        else
            ind.remove_attribute(a);
        return;
    }
    if (!ind) ind = pPr.append_child("w:ind");
    WriteAttribute(ind, attribute, UnitToValue(value, unit));
}
