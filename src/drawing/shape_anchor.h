// Writing anchored DrawingML shapes and groups into a paragraph.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "host/plugin_sdk.h"

// The nodes of one anchored shape or group.
struct ShapeNodes {
    pugi::xml_node run;               // w:r
    pugi::xml_node alternateContent;  // mc:AlternateContent
    pugi::xml_node anchor;            // wp:anchor
    pugi::xml_node wsp;               // wps:wsp of a shape (a group's first member); empty otherwise
};

// Appends to `parent` (a wpg:wgp or a:graphicData) one preset shape of
// `type` (valid: ShapeType_IsValid) at offset x, y with size cx, cy in EMU:
// wps:wsp with its properties, the style that colours it from the theme,
// and its text body properties. Returns the wps:wsp.
pugi::xml_node AddShape(pugi::xml_node parent, int64_t type, int32_t x, int32_t y, int32_t cx, int32_t cy);

// Appends to `paragraph` a run holding one anchored shape (group) of
// `type` at x, y (from the column and the paragraph) sized cx, cy, all in
// EMU; sizes not negative. The prefixes the markup uses are declared in
// the part first. The drawing's id is one the Document object `document`
// has not used.
ShapeNodes AppendShapeRunInternal(REALobject document, pugi::xml_node paragraph, int64_t type,
                                  int32_t x, int32_t y, int32_t cx, int32_t cy);
ShapeNodes AppendShapeGroupRunInternal(REALobject document, pugi::xml_node paragraph, int64_t type,
                                       int32_t x, int32_t y, int32_t cx, int32_t cy);

// The wpg:wgp of a group's anchor; empty when any step is missing.
pugi::xml_node GetWgp(pugi::xml_node anchor);
