// Paragraph indents: the attributes of w:pPr/w:ind, stored in twips.
#pragma once

#include <pugixml.hpp>

#include "format/units.h"

// Which indent: the attribute of w:ind that holds it.
extern const char* const kLeftIndent;       // "w:left"
extern const char* const kRightIndent;      // "w:right"
extern const char* const kFirstLineIndent;  // "w:firstLine"; a negative one is "w:hanging"

// The indent in `unit`; 0 when w:pPr, w:ind or the attribute is missing.
// The first line's indent reads as minus "w:hanging" when that is present,
// which wins over "w:firstLine" as it does for word processors.
double Paragraph_GetIndent(pugi::xml_node paragraph, const char* attribute, Units unit);
// Sets the indent to `value` in `unit`, written as whole twips (truncated
// toward zero). 0 removes the attribute, and w:ind with it when nothing else
// is left in it. A first line's indent goes into "w:firstLine" when positive
// and into "w:hanging" (as its size) when negative, the other one removed;
// 0 removes both. w:pPr is made the paragraph's first child when missing,
// w:ind goes in its place among the paragraph properties.
void Paragraph_SetIndent(pugi::xml_node paragraph, const char* attribute, double value, Units unit);
