#include "drawing/shape_position.h"

#include <cmath>
#include <cstring>
#include <string>

#include "format/xml_helpers.h"

namespace {

const char kShapeUri[] = "http://schemas.microsoft.com/office/word/2010/wordprocessingShape";
const char kGroupUri[] = "http://schemas.microsoft.com/office/word/2010/wordprocessingGroup";

int32_t HoldToInt32(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(std::fmax(-2147483648.0, std::fmin(2147483647.0, std::round(value))));
}

const char* SizeAttribute(AnchorAxis axis) { return axis == AnchorAxis::Horizontal ? "cx" : "cy"; }
const char* OffsetAttribute(AnchorAxis axis) { return axis == AnchorAxis::Horizontal ? "x" : "y"; }

// Rewrites an attribute only when it is there.
void Overwrite(pugi::xml_node node, const char* name, int32_t value) {
    if (pugi::xml_attribute attribute = node.attribute(name)) attribute = value;
}

// Scales a member's (or a nested group's) offset from the child origin and
// its size by `factor`.
void ScaleMember(pugi::xml_node xfrm, AnchorAxis axis, int64_t childOrigin, double factor) {
    if (pugi::xml_attribute off = xfrm.child("a:off").attribute(OffsetAttribute(axis)))
        off = HoldToInt32(childOrigin + (off.as_llong() - childOrigin) * factor);
    if (pugi::xml_attribute ext = xfrm.child("a:ext").attribute(SizeAttribute(axis)))
        ext = HoldToInt32(ext.as_llong() * factor);
}

void SetGroupSize(pugi::xml_node wgp, AnchorAxis axis, int32_t emu) {
    pugi::xml_node xfrm = wgp.child("wpg:grpSpPr").child("a:xfrm");
    const char* size = SizeAttribute(axis);
    const int64_t oldChild = xfrm.child("a:chExt").attribute(size).as_llong(0);
    const int64_t childOrigin = xfrm.child("a:chOff").attribute(OffsetAttribute(axis)).as_llong(0);
    const double factor = static_cast<double>(emu) / static_cast<double>(oldChild);
    for (pugi::xml_node member : wgp.children()) {
        if (std::strcmp(member.name(), "wps:wsp") == 0)
            ScaleMember(member.child("wps:spPr").child("a:xfrm"), axis, childOrigin, factor);
        else if (std::strcmp(member.name(), "wpg:grpSp") == 0)
            ScaleMember(member.child("wpg:grpSpPr").child("a:xfrm"), axis, childOrigin, factor);
    }
    Overwrite(xfrm.child("a:ext"), size, emu);
    Overwrite(xfrm.child("a:chExt"), size, emu);
}

}  // namespace

EmuUnits EmuUnits_Of(int64_t selector) {
    switch (selector) {
        case 1: return EmuUnits::INCHES;
        case 2: return EmuUnits::CM;
        default: return EmuUnits::EMU;
    }
}

int32_t ShapeEmu_FromValue(double value, EmuUnits unit) {
    switch (unit) {
        case EmuUnits::INCHES: return HoldToInt32(value * 914400.0);
        case EmuUnits::CM: return HoldToInt32(value * 360000.0);
        default: return HoldToInt32(value);
    }
}

double ShapeEmu_ToValue(int64_t emu, EmuUnits unit) {
    switch (unit) {
        case EmuUnits::INCHES: return emu / 914400.0;
        case EmuUnits::CM: return emu / 360000.0;
        default: return static_cast<double>(emu);
    }
}

namespace {

pugi::xml_node PositionOf(pugi::xml_node anchor, AnchorAxis axis) {
    return anchor.child(axis == AnchorAxis::Horizontal ? "wp:positionH" : "wp:positionV").child("wp:posOffset");
}

}  // namespace

int64_t Anchor_GetOffset(pugi::xml_node anchor, AnchorAxis axis) {
    return PositionOf(anchor, axis).text().as_llong(0);
}

void Anchor_SetOffset(pugi::xml_node anchor, AnchorAxis axis, int32_t emu) {
    if (pugi::xml_node offset = PositionOf(anchor, axis)) offset.text().set(std::to_string(emu).c_str());
}

int64_t Anchor_GetSize(pugi::xml_node anchor, AnchorAxis axis) {
    return anchor.child("wp:extent").attribute(SizeAttribute(axis)).as_llong(0);
}

pugi::xml_node Anchor_GraphicData(pugi::xml_node anchor) {
    return anchor.child("a:graphic").child("a:graphicData");
}

bool Anchor_HoldsShape(pugi::xml_node anchor) {
    return std::strcmp(Anchor_GraphicData(anchor).attribute("uri").value(), kShapeUri) == 0;
}

bool Anchor_HoldsGroup(pugi::xml_node anchor) {
    return std::strcmp(Anchor_GraphicData(anchor).attribute("uri").value(), kGroupUri) == 0;
}

void Anchor_SetSize(pugi::xml_node anchor, AnchorAxis axis, int32_t emu) {
    if (emu < 0) return;
    const char* size = SizeAttribute(axis);
    pugi::xml_node graphicData = Anchor_GraphicData(anchor);
    if (Anchor_HoldsGroup(anchor)) {
        pugi::xml_node wgp = graphicData.child("wpg:wgp");
        // Nothing to scale from: leave the group whole rather than write
        // infinite or undefined sizes.
        if (wgp.child("wpg:grpSpPr").child("a:xfrm").child("a:chExt").attribute(size).as_llong(0) <= 0) return;
        SetGroupSize(wgp, axis, emu);
    } else if (Anchor_HoldsShape(anchor)) {
        Overwrite(graphicData.child("wps:wsp").child("wps:spPr").child("a:xfrm").child("a:ext"), size, emu);
    }
    Overwrite(anchor.child("wp:extent"), size, emu);
}
