#include "drawing/shape_groups.h"

#include <algorithm>
#include <cmath>

#include "drawing/shape_anchor.h"
#include "drawing/shape_position.h"

namespace {

int32_t HoldToInt32(double value) {
    return static_cast<int32_t>(std::fmax(-2147483648.0, std::fmin(2147483647.0, std::round(value))));
}

// Grows the group along one axis so that its child box covers lo to hi
// (child units): the child offset and extent take the new box, the group's
// extent (a:ext and wp:extent) grows by as much, scaled from child to group
// space, and the group moves back (wp:posOffset) by what it grew before its
// old start. The members keep their child coordinates, so each keeps its
// size and place on the page.
void Grow(pugi::xml_node anchor, pugi::xml_node xfrm, AnchorAxis axis, int64_t lo, int64_t hi) {
    const bool horizontal = axis == AnchorAxis::Horizontal;
    const char* size = horizontal ? "cx" : "cy";
    const char* offset = horizontal ? "x" : "y";
    pugi::xml_attribute childOffset = xfrm.child("a:chOff").attribute(offset);
    pugi::xml_attribute childExtent = xfrm.child("a:chExt").attribute(size);
    pugi::xml_attribute groupExtent = xfrm.child("a:ext").attribute(size);
    const int64_t oldStart = childOffset.as_llong(0);
    const int64_t oldChild = childExtent.as_llong(0);
    const int64_t newStart = std::min(oldStart, lo);
    const int64_t newEnd = std::max(oldStart + oldChild, hi);
    if (newStart == oldStart && newEnd == oldStart + oldChild) return;
    const int64_t oldGroup =
        groupExtent ? groupExtent.as_llong(0) : anchor.child("wp:extent").attribute(size).as_llong(0);
    // Group units per child unit as they are; one for one when unknown.
    const double scale = oldChild > 0 && oldGroup > 0 ? static_cast<double>(oldGroup) / oldChild : 1.0;
    const double before = static_cast<double>(oldStart - newStart) * scale;
    const int32_t newGroup = HoldToInt32(static_cast<double>(newEnd - newStart) * scale);
    if (childOffset) childOffset = HoldToInt32(static_cast<double>(newStart));
    if (childExtent) childExtent = HoldToInt32(static_cast<double>(newEnd - newStart));
    if (groupExtent) groupExtent = newGroup;
    if (pugi::xml_attribute extent = anchor.child("wp:extent").attribute(size)) extent = newGroup;
    if (before > 0) Anchor_SetOffset(anchor, axis, HoldToInt32(Anchor_GetOffset(anchor, axis) - before));
}

}  // namespace

int64_t Group_MemberCount(pugi::xml_node anchor) {
    int64_t count = 0;
    for (pugi::xml_node member = GetWgp(anchor).child("wps:wsp"); member; member = member.next_sibling("wps:wsp"))
        ++count;
    return count;
}

pugi::xml_node Group_Member(pugi::xml_node anchor, int64_t index) {
    if (index < 0) return {};
    for (pugi::xml_node member = GetWgp(anchor).child("wps:wsp"); member; member = member.next_sibling("wps:wsp"))
        if (index-- == 0) return member;
    return {};
}

pugi::xml_node Group_AppendMember(pugi::xml_node anchor, int64_t type, int32_t x, int32_t y, int32_t cx,
                                  int32_t cy) {
    pugi::xml_node wgp = GetWgp(anchor);
    if (!wgp) return {};
    pugi::xml_node member = AddShape(wgp, type, x, y, cx, cy);
    pugi::xml_node xfrm = wgp.child("wpg:grpSpPr").child("a:xfrm");
    Grow(anchor, xfrm, AnchorAxis::Horizontal, x, static_cast<int64_t>(x) + cx);
    Grow(anchor, xfrm, AnchorAxis::Vertical, y, static_cast<int64_t>(y) + cy);
    return member;
}
