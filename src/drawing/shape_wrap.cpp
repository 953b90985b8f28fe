#include "drawing/shape_wrap.h"

#include <cstring>

#include "package/discarded_nodes.h"

namespace {

enum : int64_t { WrapNone = 0, WrapSquare = 1, WrapThrough = 2, WrapTight = 3, WrapTopAndBottom = 4 };

const char* const kWrapNames[] = {"wp:wrapNone", "wp:wrapSquare", "wp:wrapThrough", "wp:wrapTight",
                                  "wp:wrapTopAndBottom"};
constexpr int64_t kWrapCount = sizeof(kWrapNames) / sizeof(kWrapNames[0]);

pugi::xml_node WrapElement(pugi::xml_node anchor, int64_t& wrap) {
    for (wrap = 0; wrap < kWrapCount; ++wrap)
        if (pugi::xml_node element = anchor.child(kWrapNames[wrap])) return element;
    wrap = WrapNone;
    return {};
}

void AppendPoint(pugi::xml_node polygon, const char* name, int x, int y) {
    pugi::xml_node point = polygon.append_child(name);
    point.append_attribute("x") = x;
    point.append_attribute("y") = y;
}

// The drawing's whole box, in the polygon's 21600ths of the extent.
void AppendBoxPolygon(pugi::xml_node wrap) {
    pugi::xml_node polygon = wrap.append_child("wp:wrapPolygon");
    polygon.append_attribute("edited") = 0;
    AppendPoint(polygon, "wp:start", 0, 0);
    AppendPoint(polygon, "wp:lineTo", 0, 21600);
    AppendPoint(polygon, "wp:lineTo", 21600, 21600);
    AppendPoint(polygon, "wp:lineTo", 21600, 0);
    AppendPoint(polygon, "wp:lineTo", 0, 0);
}

}  // namespace

int64_t Anchor_GetTextWrap(pugi::xml_node anchor) {
    int64_t wrap = WrapNone;
    WrapElement(anchor, wrap);
    return wrap;
}

void Anchor_SetTextWrap(pugi::xml_node anchor, int64_t wrap) {
    if (!anchor || wrap < 0 || wrap >= kWrapCount) return;
    int64_t current = WrapNone;
    pugi::xml_node old = WrapElement(anchor, current);
    if (old && current == wrap) return;
    // Its place: where the old one stood, else before what follows it.
    pugi::xml_node before = old;
    if (!before) before = anchor.child("wp:docPr");
    pugi::xml_node element = before ? anchor.insert_child_before(kWrapNames[wrap], before)
                                    : anchor.append_child(kWrapNames[wrap]);
    if (wrap == WrapSquare || wrap == WrapTight || wrap == WrapThrough)
        element.append_attribute("wrapText") = "bothSides";
    if (wrap == WrapTight || wrap == WrapThrough) AppendBoxPolygon(element);
    Xml_Discard(old);
}
