#include "drawing/shape_groups.h"

#include <cmath>
#include <cstdlib>

#include "drawing/shape_anchor.h"

namespace {

int32_t HoldToInt32(double value) {
    return static_cast<int32_t>(std::fmax(0.0, std::fmin(2147483647.0, std::round(value))));
}

// Grows the group along one axis to `needed` child units.
void Grow(pugi::xml_node anchor, pugi::xml_node xfrm, const char* size, int64_t needed) {
    pugi::xml_attribute childExtent = xfrm.child("a:chExt").attribute(size);
    pugi::xml_attribute groupExtent = xfrm.child("a:ext").attribute(size);
    const int64_t oldChild = childExtent.as_llong(0);
    if (needed <= oldChild) return;
    const int64_t oldGroup = groupExtent ? groupExtent.as_llong(0) : anchor.child("wp:extent").attribute(size).as_llong(0);
    // Child units per group unit as they are; one for one when unknown.
    const double scale = oldChild > 0 && oldGroup > 0 ? static_cast<double>(oldGroup) / oldChild : 1.0;
    const int32_t newGroup = HoldToInt32(oldGroup + (needed - oldChild) * scale);
    if (childExtent) childExtent = HoldToInt32(static_cast<double>(needed));
    if (groupExtent) groupExtent = newGroup;
    if (pugi::xml_attribute extent = anchor.child("wp:extent").attribute(size)) extent = newGroup;
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
    Grow(anchor, xfrm, "cx", static_cast<int64_t>(cx) + std::llabs(static_cast<long long>(x)));
    Grow(anchor, xfrm, "cy", static_cast<int64_t>(cy) + std::llabs(static_cast<long long>(y)));
    return member;
}
