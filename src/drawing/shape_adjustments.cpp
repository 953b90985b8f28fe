#include "drawing/shape_adjustments.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "drawing/shape_geometry.h"

namespace {

struct Adjustment {
    int64_t type;
    const char* guide;
    int64_t low, high;  // low > high: not held
};

const Adjustment kFirstAdjustments[] = {
    {1, "adj", 0, 50000},       // RoundedRectangle
    {4, "adj", 0, 100000},      // Triangle
    {6, "adj", 0, 50000},       // Hexagon
    {8, "adj", 0, 50000},       // Octagon
    {12, "adj", 0, 50000},      // Trapezoid
    {13, "adj", 0, 2000000},    // Parallelogram
    {16, "adj1", 1, 0},         // EllipseCallout
    {17, "adj", 1, 0},          // Teardrop
};
const Adjustment kSecondAdjustment = {16, "adj2", 1, 0};

const Adjustment* AdjustmentOf(pugi::xml_node wsp, int which) {
    const int64_t type = Shape_GetType(wsp);
    if (which == 2) return type == kSecondAdjustment.type ? &kSecondAdjustment : nullptr;
    if (which != 1) return nullptr;
    for (const Adjustment& adjustment : kFirstAdjustments)
        if (adjustment.type == type) return &adjustment;
    return nullptr;
}

pugi::xml_node AvLst(pugi::xml_node wsp) { return wsp.child("wps:spPr").child("a:prstGeom").child("a:avLst"); }

pugi::xml_node Guide(pugi::xml_node wsp, const char* name) {
    for (pugi::xml_node gd = AvLst(wsp).child("a:gd"); gd; gd = gd.next_sibling("a:gd"))
        if (std::strcmp(gd.attribute("name").value(), name) == 0) return gd;
    return {};
}

// The number of a formula "val N"; false for any other formula.
bool GuideValue(pugi::xml_node gd, int64_t& value) {
    const char* formula = gd.attribute("fmla").value();
    if (std::strncmp(formula, "val ", 4) != 0) return false;
    const char* digits = formula + 4;
    if (!std::isdigit(static_cast<unsigned char>(*digits)) && *digits != '-') return false;
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(digits, &end, 10);
    if (errno != 0 || end == digits || *end != '\0') return false;
    value = number;
    return true;
}

}  // namespace

bool Shape_HasHandleAdjustment(pugi::xml_node wsp, int which) {
    const Adjustment* adjustment = AdjustmentOf(wsp, which);
    int64_t value = 0;
    return adjustment && GuideValue(Guide(wsp, adjustment->guide), value);
}

int64_t Shape_GetHandleAdjustment(pugi::xml_node wsp, int which) {
    const Adjustment* adjustment = AdjustmentOf(wsp, which);
    int64_t value = 0;
    if (!adjustment || !GuideValue(Guide(wsp, adjustment->guide), value)) return 0;
    return value;
}

void Shape_SetHandleAdjustment(pugi::xml_node wsp, int which, int64_t value) {
    const Adjustment* adjustment = AdjustmentOf(wsp, which);
    pugi::xml_node avLst = AvLst(wsp);
    if (!adjustment || !avLst) return;
    if (adjustment->low <= adjustment->high)
        value = value < adjustment->low ? adjustment->low : value > adjustment->high ? adjustment->high : value;
    else
        value = value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value;
    const std::string formula = "val " + std::to_string(value);
    if (pugi::xml_node gd = Guide(wsp, adjustment->guide)) {
        pugi::xml_attribute fmla = gd.attribute("fmla");
        if (!fmla) fmla = gd.append_attribute("fmla");
        fmla = formula.c_str();
        return;
    }
    pugi::xml_node gd = avLst.append_child("a:gd");
    gd.append_attribute("name") = adjustment->guide;
    gd.append_attribute("fmla") = formula.c_str();
    if (adjustment->type == 6) {
        pugi::xml_node vf = avLst.append_child("a:gd");
        vf.append_attribute("name") = "vf";
        vf.append_attribute("fmla") = "val 115470";
    }
}
