#include "list_places.h"

#include <cstring>

namespace cli {

namespace {

void ListPlace_Fill(ListPlace& place, pugi::xml_node numPr) {
    if (!place.numId)
        if (pugi::xml_node numId = numPr.child("w:numId")) place.numId = numId.attribute("w:val").as_llong();
    if (!place.level)
        if (pugi::xml_node ilvl = numPr.child("w:ilvl")) place.level = ilvl.attribute("w:val").as_llong();
}

}  // namespace

StyleLookup StyleLookup_Make(pugi::xml_node styles) {
    StyleLookup lookup;
    for (pugi::xml_node style : styles.children("w:style")) {
        if (std::strcmp(style.attribute("w:type").value(), "paragraph") != 0) continue;
        // The first style of an id is the one readers take.
        lookup.paragraphStyles.emplace(style.attribute("w:styleId").value(), style);
        if (lookup.defaultParagraphStyle.empty() && style.attribute("w:default").as_bool())
            lookup.defaultParagraphStyle = style.attribute("w:styleId").value();
    }
    return lookup;
}

ListPlace ListPlace_OfParagraph(const StyleLookup& lookup, pugi::xml_node paragraph) {
    ListPlace place;
    pugi::xml_node pPr = paragraph.child("w:pPr");
    ListPlace_Fill(place, pPr.child("w:numPr"));
    pugi::xml_node pStyle = pPr.child("w:pStyle");
    std::string styleId = pStyle ? pStyle.attribute("w:val").value() : lookup.defaultParagraphStyle;
    // Styles based on each other in a loop end after a fixed depth.
    for (int depth = 0; depth < 32 && !styleId.empty() && !(place.numId && place.level); ++depth) {
        auto found = lookup.paragraphStyles.find(styleId);
        if (found == lookup.paragraphStyles.end()) break;
        ListPlace_Fill(place, found->second.child("w:pPr").child("w:numPr"));
        styleId = found->second.child("w:basedOn").attribute("w:val").value();
    }
    return place;
}

}  // namespace cli
