// A shape's outline (a:ln of wps:spPr): colour, width, compound type and
// ends.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

namespace Word {
class Document;
}

// The colour of the line's a:solidFill, else the style's line colour.
uint32_t Shape_GetLineColor(const Word::Document& document, pugi::xml_node wsp);
// Replaces every fill of the line (a:ln made when missing) by a solid fill
// of the host colour.
void Shape_SetLineColor(pugi::xml_node wsp, uint32_t hostColor);
// The line exists and has a:noFill.
bool Shape_GetNoLine(pugi::xml_node wsp);
// true: the line's fills give way to a:noFill; false: a:noFill goes.
void Shape_SetNoLine(pugi::xml_node wsp, bool noLine);

// Width in points: "w" of a:ln / 12700; 1.0 when missing.
double Shape_GetLineWidth(pugi::xml_node wsp);
// 1.0 removes "w"; other widths are written in whole EMU, held to the
// schema's 0 to 20116800. NaN or infinity changes nothing.
void Shape_SetLineWidth(pugi::xml_node wsp, double points);

// Host enumeration LineCompoundTypes, from "cmpd" of a:ln.
int64_t Shape_GetLineCompound(pugi::xml_node wsp);
// 1 to 4 write their names; every other value "sng" (simple).
void Shape_SetLineCompound(pugi::xml_node wsp, int64_t type);

// Host enumeration LineEndTypes of a:headEnd (head) or a:tailEnd.
int64_t Shape_GetLineEnd(pugi::xml_node wsp, bool head);
// 0 removes the end; 1 to 5 set its type (a new end is large); values
// outside the list change nothing.
void Shape_SetLineEnd(pugi::xml_node wsp, bool head, int64_t type);
