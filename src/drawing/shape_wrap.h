// How text flows around an anchored drawing (host enumeration
// ShapeTextWrap): the wrap element of wp:anchor.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// The first wrap element of the anchor; 0 (None) when it has none.
int64_t Anchor_GetTextWrap(pugi::xml_node anchor);
// Replaces the anchor's wrap element by a complete new one of `wrap` (0 to
// 4): square, tight and through wrap text on both sides, tight and through
// carry a wrap polygon round the whole drawing. Put in the schema's place
// when the anchor had none. Values outside the list change nothing.
void Anchor_SetTextWrap(pugi::xml_node anchor, int64_t wrap);
