// The nodes of one inline drawing, and what a picture is made of.
#pragma once

#include <string_view>

#include <pugixml.hpp>

#include "host/plugin_sdk.h"

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

// Drops the picture's relationships and media, and those of every other
// version it embeds (an SVG one, wherever its extensions keep it), as far as
// nothing else uses them (PictureMedia_Release): a picture added since the
// last save leaves the pending list, one from the file is marked for
// deletion at the next save. `removed` is what the caller takes out with
// the drawing (its run, paragraph or hyperlink; the drawing when empty):
// pictures inside it keep no relationship for each other. The drawing's XML
// is left to the caller.
void Drawing_Delete(REALobject document, const DrawingContainer& c, pugi::xml_node removed = {});
// The clean-up before a run is removed, alone or with the paragraph or
// hyperlink `removed` that holds it: deletes its drawing, if any.
void Run_Delete(REALobject document, pugi::xml_node run, pugi::xml_node removed = {});
