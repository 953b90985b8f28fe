// The host class ListIndent: the view of one list instance (w:num) of the
// numbering part, as a paragraph holds it or as CreateListIndent made it.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "host/bridge.h"
#include "host/plugin_sdk.h"

struct ListIndentData {
    int32_t numId;
    REALobject document;  // counted
    int64_t level;        // the paragraph's w:ilvl; -1 when made by CreateListIndent
    pugi::xml_node node;  // the w:num
};

extern REALclassDefinition ListIndentClass;

inline ListIndentData* ListIndentData_Of(REALobject listIndent) {
    return static_cast<ListIndentData*>(REALGetClassData(listIndent, &ListIndentClass));
}

// A new list instance of the document (the bullet or the numbered
// template); nil only when the package cannot take a numbering part.
REALobject ListIndent_Create(REALobject document, bool bullets);
// The list of a paragraph at its level; nil when it is in none, or in one
// the numbering part does not define.
REALobject ListIndent_OfParagraph(REALobject document, pugi::xml_node paragraph);
