#include "drawing/shape_geometry.h"

#include <cmath>
#include <cstring>

#include "format/xml_helpers.h"

namespace {

const char* const kPresetNames[] = {
    "rect",     "roundRect", "ellipse",   "line",          "triangle",   "pentagon",
    "hexagon",  "heptagon",  "octagon",   "decagon",       "dodecagon",  "diamond",
    "trapezoid", "parallelogram", "rtTriangle", "cloud", "wedgeEllipseCallout", "teardrop",
};
static_assert(sizeof(kPresetNames) / sizeof(kPresetNames[0]) == ShapeTypeLast + 1, "one name per type");

}  // namespace

bool ShapeType_IsValid(int64_t type) { return type >= 0 && type <= ShapeTypeLast; }

const char* ShapeType_PresetName(int64_t type) { return ShapeType_IsValid(type) ? kPresetNames[type] : nullptr; }

int64_t ShapeType_FromPreset(const char* preset) {
    for (int64_t type = 0; type <= ShapeTypeLast; ++type)
        if (std::strcmp(kPresetNames[type], preset) == 0) return type;
    return ShapeTypeUnknown;
}

int64_t Shape_GetType(pugi::xml_node wsp) {
    pugi::xml_attribute prst = wsp.child("wps:spPr").child("a:prstGeom").attribute("prst");
    return prst ? ShapeType_FromPreset(prst.value()) : ShapeTypeUnknown;
}

double Shape_GetRotation(pugi::xml_node wsp) {
    return wsp.child("wps:spPr").child("a:xfrm").attribute("rot").as_llong(0) / 60000.0;
}

void Shape_SetRotation(pugi::xml_node wsp, double degrees) {
    pugi::xml_node xfrm = wsp.child("wps:spPr").child("a:xfrm");
    // A NaN or infinite angle changes nothing: no file can hold it.
    if (!xfrm || !std::isfinite(degrees)) return;
    const double rot = std::round(degrees * 60000.0);
    if (rot == 0.0) {
        xfrm.remove_attribute("rot");
        return;
    }
    const double held = std::fmax(-2147483648.0, std::fmin(2147483647.0, rot));
    WriteAttribute(xfrm, "rot", static_cast<int32_t>(held));
}
