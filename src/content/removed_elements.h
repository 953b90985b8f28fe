// What an element taken out of its part (a run, hyperlink, paragraph,
// table or row) lets go of: the pictures and links inside it, wherever
// they sit (in hyperlinks, cells, text boxes, alternate content).
#pragma once

#include <pugixml.hpp>

#include "host/plugin_sdk.h"

// Call before taking `removed` out of its part (nothing for an element
// removed before). Each picture or hyperlink
// relationship of the part that `removed` uses and nothing else of the part
// uses is deleted; a picture's entry (the pending picture, or the package
// entry, left out of the next save) goes when no relationship of any part
// still targets it. Shared ones stay. One walk over `removed`; whether the
// rest of the part uses an id comes from the part's use counts
// (package/relationship_uses.h), not from a walk over the part.
void Removal_Release(REALobject document, pugi::xml_node removed);
