// The nodes of one inline drawing, and what a picture is made of.
#pragma once

#include <string_view>

#include <pugixml.hpp>

// The run ("w:r") and "w:drawing" nodes of one drawing.
struct DrawingContainer {
    pugi::xml_node run;
    pugi::xml_node drawing;
};

// "pic:pic" of an inline picture; empty for anything else (anchored
// drawings, charts, shapes).
pugi::xml_node DrawingContainer_PicNode(const DrawingContainer& c);
// "pic:blipFill"/"a:blip" of the picture; empty (found false) when missing.
pugi::xml_node DrawingContainer_GetBlipNode(const DrawingContainer& c, bool& found);
// The SVG version's "asvg:svgBlip", from the blip's extension list (the
// first extension is never examined); empty when there is none.
pugi::xml_node DrawingContainer_GetSvgBlipNode(const DrawingContainer& c);

// The host's PictureTypes.
enum class PictureKind { None = 0, Png = 1, Jpeg = 2, Unknown = 10 };
// By the ending of a relationship target (case counts): ".png" png,
// ".jpg" or ".jpeg" jpeg, anything else unknown.
PictureKind Picture_KindOfTarget(std::string_view target);
