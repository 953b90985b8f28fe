// Views of header and footer parts for host programs.
#pragma once

#include <pugixml.hpp>

#include "host/plugin_sdk.h"

extern REALclassDefinition HeaderClass;
extern REALclassDefinition FooterClass;

// A new Header (Footer) over the part's root element (w:hdr, w:ftr),
// counting the document; nil for an empty handle.
REALobject CreateHeader(REALobject document, pugi::xml_node root);
REALobject CreateFooter(REALobject document, pugi::xml_node root);
