// The host class Section: the view of one section's properties ("w:sectPr").
#pragma once

#include <pugixml.hpp>

#include "host/bridge.h"
#include "host/plugin_sdk.h"

struct SectionData {
    REALobject document;   // counted
    pugi::xml_node node;   // "w:sectPr"; empty when the document has none
};

extern REALclassDefinition SectionClass;

inline SectionData* SectionData_Of(REALobject section) {
    return static_cast<SectionData*>(REALGetClassData(section, &SectionClass));
}

// A new Section view over `sectPr`, which may be empty (its getters then
// read 0 or false, its setters do nothing). Counts the document.
REALobject CreateSection(REALobject document, pugi::xml_node sectPr);
