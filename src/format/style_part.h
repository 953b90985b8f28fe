// The host classes over style elements: StylePart (the document defaults),
// TableStylePart ("w:tblStylePr"), Style, CharacterStyle, ParagraphStyle and
// TableStyle ("w:style"). They share one record, StylePartData.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "format/property_values.h"
#include "host/bridge.h"
#include "host/plugin_sdk.h"

struct StylePartData {
    REALobject document;   // counted
    pugi::xml_node node;   // "w:style", "w:tblStylePr" or "w:rPrDefault"; may be empty
    RPROwner kind;         // set by the initializer of the object's class
};

extern REALclassDefinition StylePartClass;
extern REALclassDefinition TableStylePartClass;
extern REALclassDefinition StyleClass;
extern REALclassDefinition CharacterStyleClass;
extern REALclassDefinition ParagraphStyleClass;
extern REALclassDefinition TableStyleClass;

inline StylePartData* StylePartData_Of(REALobject part) {
    return static_cast<StylePartData*>(REALGetClassData(part, &StylePartClass));
}

// A new view of class `cls` (one of the six) over `node`; its kind comes
// from the class. Counts the document.
REALobject CreateStyle(REALobject document, pugi::xml_node node, REALclassDefinition* cls);
// A plain StylePart (kind Run) over `node`.
REALobject CreateStylePart(REALobject document, pugi::xml_node node);

// The view of class `cls` over the style of `type` that a paragraph or run
// names in `reference` ("w:pStyle", "w:rStyle"): nil without a reference; a
// name no style of that type carries raises WordException `missingMessage`
// (code 1).
REALobject StyleReference_View(REALobject document, pugi::xml_node reference, const char* type,
                               REALclassDefinition* cls, const char* missingMessage);
// Makes the paragraph or run `owner` refer to `style` with `referenceName`
// ("w:pStyle", "w:rStyle") as the first child of its properties element
// `propertiesName` ("w:pPr", "w:rPr"), which opens the owner and is made
// when missing. A nil style removes the reference.
void StyleReference_Set(pugi::xml_node owner, const char* propertiesName, const char* referenceName,
                        REALobject style);
