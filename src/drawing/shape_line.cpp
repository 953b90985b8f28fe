#include "drawing/shape_line.h"

#include <cmath>
#include <cstring>

#include "drawing/drawing_colors.h"
#include "drawing/shape_fill.h"
#include "format/schema_order.h"
#include "format/xml_helpers.h"
#include "package/discarded_nodes.h"

namespace {

const char* const kCompoundNames[] = {"sng", "dbl", "thickThin", "thinThick", "tri"};
const char* const kLineEndNames[] = {"", "arrow", "oval", "triangle", "diamond", "stealth"};
constexpr int64_t kLineEndCount = sizeof(kLineEndNames) / sizeof(kLineEndNames[0]);

pugi::xml_node Line(pugi::xml_node wsp) { return wsp.child("wps:spPr").child("a:ln"); }

// a:ln in its place in wps:spPr, made when missing; empty without wps:spPr.
pugi::xml_node LineInOrder(pugi::xml_node wsp) {
    pugi::xml_node spPr = wsp.child("wps:spPr");
    if (!spPr) return {};
    return ChildInOrder(spPr, "a:ln", ChildOrder::ShapeProperties);
}

}  // namespace

uint32_t Shape_GetLineColor(const Word::Document& document, pugi::xml_node wsp) {
    if (pugi::xml_node fill = Line(wsp).child("a:solidFill")) return ResolveSolidFill(document, fill);
    return GetColorFromStyle(document, wsp, "a:lnRef");
}

void Shape_SetLineColor(pugi::xml_node wsp, uint32_t hostColor) {
    pugi::xml_node line = LineInOrder(wsp);
    if (!line) return;
    ClearAllFills(line);
    SetColor(line, hostColor, ChildOrder::LineProperties);
}

bool Shape_GetNoLine(pugi::xml_node wsp) { return static_cast<bool>(Line(wsp).child("a:noFill")); }

void Shape_SetNoLine(pugi::xml_node wsp, bool noLine) {
    if (!noLine) {
        Xml_Discard(Line(wsp).child("a:noFill"));
        return;
    }
    pugi::xml_node line = LineInOrder(wsp);
    if (!line || line.child("a:noFill")) return;
    ClearAllFills(line);
    InsertChildInOrder(line, "a:noFill", ChildOrder::LineProperties);
}

double Shape_GetLineWidth(pugi::xml_node wsp) {
    pugi::xml_attribute width = Line(wsp).attribute("w");
    return width ? width.as_llong(0) / 12700.0 : 1.0;
}

void Shape_SetLineWidth(pugi::xml_node wsp, double points) {
    if (!std::isfinite(points)) return;
    if (!Line(wsp) && points == 1.0) return;
    pugi::xml_node line = LineInOrder(wsp);
    if (!line) return;
    if (points == 1.0) {
        line.remove_attribute("w");
        return;
    }
    const double emu = std::fmax(0.0, std::fmin(20116800.0, std::round(points * 12700.0)));
    WriteAttribute(line, "w", static_cast<int32_t>(emu));
}

int64_t Shape_GetLineCompound(pugi::xml_node wsp) {
    const char* value = Line(wsp).attribute("cmpd").value();
    for (int64_t i = 1; i < 5; ++i)
        if (std::strcmp(kCompoundNames[i], value) == 0) return i;
    return 0;
}

void Shape_SetLineCompound(pugi::xml_node wsp, int64_t type) {
    pugi::xml_node line = LineInOrder(wsp);
    if (!line) return;
    WriteAttribute(line, "cmpd", kCompoundNames[type >= 1 && type <= 4 ? type : 0]);
}

int64_t Shape_GetLineEnd(pugi::xml_node wsp, bool head) {
    pugi::xml_node end = Line(wsp).child(head ? "a:headEnd" : "a:tailEnd");
    if (!end) return 0;
    const char* type = end.attribute("type").value();
    for (int64_t i = 1; i < kLineEndCount; ++i)
        if (std::strcmp(kLineEndNames[i], type) == 0) return i;
    return 0;
}

void Shape_SetLineEnd(pugi::xml_node wsp, bool head, int64_t type) {
    if (type < 0 || type >= kLineEndCount) return;
    pugi::xml_node line = LineInOrder(wsp);
    if (!line) return;
    const char* name = head ? "a:headEnd" : "a:tailEnd";
    pugi::xml_node end = line.child(name);
    if (type == 0) {
        Xml_Discard(end);
        return;
    }
    if (end) {
        WriteAttribute(end, "type", kLineEndNames[type]);
        return;
    }
    end = InsertChildInOrder(line, name, ChildOrder::LineProperties);
    end.append_attribute("type") = kLineEndNames[type];
    end.append_attribute("w") = "lg";
    end.append_attribute("len") = "lg";
}
