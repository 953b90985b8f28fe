// A shape's text: its text box (wps:txbx/w:txbxContent) and where the text
// sits in the shape (host enumeration ShapeVerticalAlignments).
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// "anchor" of wps:bodyPr: "t" 0 (top), "ctr" 1 (middle), any other value 2
// (bottom); top when missing, as the schema's default.
int64_t Shape_GetVerticalAlignment(pugi::xml_node wsp);
// Writes "t", "ctr" or "b" (adding the attribute when missing); other
// values change nothing.
void Shape_SetVerticalAlignment(pugi::xml_node wsp, int64_t alignment);

// The w:txbxContent of the shape's text box. A shape without one gets it
// when `create` (before its wps:bodyPr; nothing without a wps:bodyPr);
// otherwise empty. A text box without w:txbxContent gets one. A new
// w:txbxContent holds one empty paragraph, as a text box must hold a block.
pugi::xml_node Shape_TextBoxContent(pugi::xml_node wsp, bool create);

// The paragraph a text box holds only to stay valid (the one a new
// w:txbxContent gets): the only child of `content`, a w:txbxContent, when
// it is a w:p with neither attributes nor content. The first block put in
// the box takes its place. Empty for anything else.
pugi::xml_node TextBox_Placeholder(pugi::xml_node content);
