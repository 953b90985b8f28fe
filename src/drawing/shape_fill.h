// A shape's fill (host enumeration FillTypes): which kind, its colour.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

namespace Word {
class Document;
}

enum : int64_t {
    FillTypeNoFill = 0,
    FillTypeSolid = 1,
    FillTypeGradient = 2,
    FillTypePicture = 3,
    FillTypePattern = 4,
    FillTypeGroup = 5,
};

// The kind of the first fill element of wps:spPr; solid when it has none
// (the style's fill shows).
int64_t Shape_GetFillType(pugi::xml_node wsp);
// The colour of its a:solidFill, else the style's fill colour.
uint32_t Shape_GetSolidFillColor(const Word::Document& document, pugi::xml_node wsp);
// Replaces every fill of wps:spPr by a solid fill of the host colour.
void Shape_SetSolidFillColor(pugi::xml_node wsp, uint32_t hostColor);
bool Shape_GetNoFill(pugi::xml_node wsp);
// true: every fill gives way to a:noFill; false: a:noFill goes (the style's
// fill shows again).
void Shape_SetNoFill(pugi::xml_node wsp, bool noFill);

// Removes every fill choice among the children of `properties` (a shape's
// or a line's): a:noFill, a:solidFill, a:gradFill, a:blipFill, a:grpFill,
// a:pattFill.
void ClearAllFills(pugi::xml_node properties);
