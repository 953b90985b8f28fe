// The handles of preset shapes that have them (a:gd guides of a:avLst):
// the corner of a rounded rectangle, the tip of a triangle or callout...
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// Whether the shape's type has the adjustment (1 or 2) and its a:avLst
// holds a guide for it with a value ("val N").
bool Shape_HasHandleAdjustment(pugi::xml_node wsp, int which);
// The guide's value; 0 for a type without the adjustment or a guide without
// a value.
int64_t Shape_GetHandleAdjustment(pugi::xml_node wsp, int which);
// Writes the guide's value, held to the type's range; nothing for a type
// without the adjustment. A hexagon's new guide comes with its "vf" guide.
void Shape_SetHandleAdjustment(pugi::xml_node wsp, int which, int64_t value);
