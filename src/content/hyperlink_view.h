// The host class Hyperlink: the view of one w:hyperlink of a paragraph.
#pragma once

#include <pugixml.hpp>

#include "host/plugin_sdk.h"

extern REALclassDefinition HyperlinkClass;

// A Hyperlink view on `node`, held in `paragraph`; counts the document.
REALobject CreateHyperlink(REALobject document, pugi::xml_node node, pugi::xml_node paragraph);
