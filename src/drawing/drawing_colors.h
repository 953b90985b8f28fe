// DrawingML colours as host colours: colours given in a shape, colours of
// the shape's style taken from the document's theme, and their transforms.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "format/colors.h"
#include "format/schema_order.h"

namespace Word {
class Document;
}

// The theme slot a scheme colour name stands for: the text and background
// names map onto the dark and light slots (tx1 -> dk1, bg1 -> lt1, tx2 ->
// dk2, bg2 -> lt2); other names are slots themselves.
const char* SchemeColor_Slot(const char* name);
// RRGGBB of a scheme colour in the document's theme; "" when it has none.
const char* SchemeColor_Lookup(const Word::Document& document, const char* name);

// Applies the colour element's transforms (a:lumMod with a:lumOff, a:shade,
// a:tint, a:alpha, in that order whatever their order in the document) to
// `color`, keeping every channel within 0-255 and lightness within 0-1.
RGBA TransformColor(pugi::xml_node colorElement, RGBA color);
// A working colour as a host colour (0xTTRRGGBB, TT the transparency), each
// channel first held to 0-255.
uint32_t RGBA_ToHostColor(const RGBA& color);

// The colour of a fill element (a:solidFill...): its first colour child of
// a:schemeClr (through the theme), a:srgbClr, a:scrgbClr, a:hslClr or
// a:sysClr, transformed; 0 when it has none.
uint32_t ResolveSolidFill(const Word::Document& document, pugi::xml_node fill);
// The colour the shape's style gives through `reference` (a:fillRef,
// a:lnRef, a:fontRef): its a:schemeClr looked up in the theme, transformed.
uint32_t GetColorFromStyle(const Word::Document& document, pugi::xml_node wsp, const char* reference);

// Appends to `parent`, in the schema's place given by `order`, an
// a:solidFill of the host colour; a colour with transparency gets an
// a:alpha.
pugi::xml_node SetColor(pugi::xml_node parent, uint32_t hostColor, ChildOrder order);
