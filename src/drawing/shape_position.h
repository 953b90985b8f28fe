// Where an anchored shape or group stands and how large it is: the
// wp:anchor's offsets and extent, in EMU.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "format/units.h"

// The host's EmuUnits selector; anything outside the list means EMU.
EmuUnits EmuUnits_Of(int64_t selector);
// A host value in `unit` as whole EMU: computed in double precision,
// rounded to the nearest EMU and held to the 32-bit range the drawing
// attributes take (wp:posOffset is a 32-bit integer). NaN gives 0.
int32_t ShapeEmu_FromValue(double value, EmuUnits unit);
// EMU as a host value in `unit`.
double ShapeEmu_ToValue(int64_t emu, EmuUnits unit);

enum class AnchorAxis { Horizontal, Vertical };

// wp:posOffset of wp:positionH (wp:positionV); 0 when missing.
int64_t Anchor_GetOffset(pugi::xml_node anchor, AnchorAxis axis);
// Rewrites an existing wp:posOffset; a shape placed by alignment keeps it.
void Anchor_SetOffset(pugi::xml_node anchor, AnchorAxis axis, int32_t emu);

// cx (cy) of wp:extent; 0 when missing.
int64_t Anchor_GetSize(pugi::xml_node anchor, AnchorAxis axis);
// Resizes the drawing to `emu` (not negative) along the axis: wp:extent,
// and the shape's own a:ext, or for a group its a:ext and a:chExt with every
// member's offset and size scaled, so that the members fill the group as
// before. A group whose old child extent is 0 cannot be scaled and is left
// as it is. Only existing attributes are rewritten.
void Anchor_SetSize(pugi::xml_node anchor, AnchorAxis axis, int32_t emu);

// a:graphicData of the anchor, and what it holds.
pugi::xml_node Anchor_GraphicData(pugi::xml_node anchor);
bool Anchor_HoldsShape(pugi::xml_node anchor);
bool Anchor_HoldsGroup(pugi::xml_node anchor);
