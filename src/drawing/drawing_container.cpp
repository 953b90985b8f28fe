#include "drawing/drawing_container.h"

#include <cstring>

namespace {

const char kPictureNamespace[] = "http://schemas.openxmlformats.org/drawingml/2006/picture";

}  // namespace

pugi::xml_node DrawingContainer_PicNode(const DrawingContainer& c) {
    pugi::xml_node graphicData = c.drawing.child("wp:inline").child("a:graphic").child("a:graphicData");
    if (std::strcmp(graphicData.attribute("uri").value(), kPictureNamespace) != 0) return {};
    return graphicData.child("pic:pic");
}

pugi::xml_node DrawingContainer_GetBlipNode(const DrawingContainer& c, bool& found) {
    pugi::xml_node blip = DrawingContainer_PicNode(c).child("pic:blipFill").child("a:blip");
    found = static_cast<bool>(blip);
    return blip;
}

pugi::xml_node DrawingContainer_GetSvgBlipNode(const DrawingContainer& c) {
    bool found = false;
    pugi::xml_node blip = DrawingContainer_GetBlipNode(c, found);
    if (!found) return {};
    pugi::xml_node ext = blip.child("a:extLst").child("a:ext");
    if (!ext) return {};
    for (ext = ext.next_sibling("a:ext"); ext; ext = ext.next_sibling("a:ext"))
        if (pugi::xml_node svg = ext.child("asvg:svgBlip")) return svg;
    return {};
}

PictureKind Picture_KindOfTarget(std::string_view target) {
    auto endsWith = [&](std::string_view end) {
        return target.size() >= end.size() && target.substr(target.size() - end.size()) == end;
    };
    if (endsWith(".png")) return PictureKind::Png;
    if (endsWith(".jpg") || endsWith(".jpeg")) return PictureKind::Jpeg;
    return PictureKind::Unknown;
}
