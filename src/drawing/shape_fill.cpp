#include "drawing/shape_fill.h"

#include <cstring>

#include "drawing/drawing_colors.h"
#include "format/schema_order.h"
#include "package/discarded_nodes.h"

namespace {

// In the order the fill kind is looked for, with its FillTypes value.
const struct {
    const char* name;
    int64_t type;
} kFills[] = {
    {"a:noFill", FillTypeNoFill},     {"a:solidFill", FillTypeSolid},   {"a:gradFill", FillTypeGradient},
    {"a:blipFill", FillTypePicture},  {"a:grpFill", FillTypeGroup},     {"a:pattFill", FillTypePattern},
};

bool IsFill(const char* name) {
    for (const auto& fill : kFills)
        if (std::strcmp(fill.name, name) == 0) return true;
    return false;
}

}  // namespace

void ClearAllFills(pugi::xml_node properties) {
    for (pugi::xml_node child = properties.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (IsFill(child.name())) Xml_Discard(child);
        child = next;
    }
}

int64_t Shape_GetFillType(pugi::xml_node wsp) {
    pugi::xml_node spPr = wsp.child("wps:spPr");
    for (const auto& fill : kFills)
        if (spPr.child(fill.name)) return fill.type;
    return FillTypeSolid;
}

uint32_t Shape_GetSolidFillColor(const Word::Document& document, pugi::xml_node wsp) {
    if (pugi::xml_node fill = wsp.child("wps:spPr").child("a:solidFill")) return ResolveSolidFill(document, fill);
    return GetColorFromStyle(document, wsp, "a:fillRef");
}

void Shape_SetSolidFillColor(pugi::xml_node wsp, uint32_t hostColor) {
    pugi::xml_node spPr = wsp.child("wps:spPr");
    if (!spPr) return;
    ClearAllFills(spPr);
    SetColor(spPr, hostColor, ChildOrder::ShapeProperties);
}

bool Shape_GetNoFill(pugi::xml_node wsp) { return static_cast<bool>(wsp.child("wps:spPr").child("a:noFill")); }

void Shape_SetNoFill(pugi::xml_node wsp, bool noFill) {
    pugi::xml_node spPr = wsp.child("wps:spPr");
    if (!spPr) return;
    if (!noFill) {
        Xml_Discard(spPr.child("a:noFill"));
        return;
    }
    if (spPr.child("a:noFill")) return;
    ClearAllFills(spPr);
    InsertChildInOrder(spPr, "a:noFill", ChildOrder::ShapeProperties);
}
