// Preset shape types (host enumeration ShapeTypes) and their DrawingML
// preset geometry names; the shape's rotation.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

enum : int64_t { ShapeTypeUnknown = -1, ShapeTypeLast = 17 };

// A type the library can write: 0 (Rectangle) to 17 (Teardrop).
bool ShapeType_IsValid(int64_t type);
// "rect", "ellipse"...; null for a type outside the table.
const char* ShapeType_PresetName(int64_t type);
// The type of a preset name; -1 (Unknown) for any other name.
int64_t ShapeType_FromPreset(const char* preset);

// The type of a shape (wps:wsp) from its wps:spPr/a:prstGeom.
int64_t Shape_GetType(pugi::xml_node wsp);

// Rotation in degrees, from "rot" of wps:spPr/a:xfrm (60000ths of a degree).
double Shape_GetRotation(pugi::xml_node wsp);
// 0 removes "rot"; any other angle is written rounded to whole 60000ths and
// held to the 32-bit range. Nothing without a:xfrm, or for NaN or infinity.
void Shape_SetRotation(pugi::xml_node wsp, double degrees);
