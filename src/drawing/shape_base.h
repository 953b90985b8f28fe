// Views of anchored shapes and groups for host programs: the ShapeBase
// record shared by Shape and ShapeGroup, and how the views are made.
#pragma once

#include <pugixml.hpp>

#include "format/run_properties.h"
#include "host/bridge.h"
#include "host/plugin_sdk.h"

extern REALclassDefinition ShapeBaseClass;
extern REALclassDefinition ShapeClass;
extern REALclassDefinition ShapeGroupClass;
extern REALclassDefinition ShapeContainerClass;

// ShapeBase, and so Shape and ShapeGroup (they add no fields).
struct ShapeBaseData {
    REALobject document;              // counted
    pugi::xml_node alternateContent;  // mc:AlternateContent
    pugi::xml_node anchor;            // wp:anchor: position, size and wrap
    pugi::xml_node wsp;               // wps:wsp of a shape (a group's member); empty for a group
};

inline ShapeBaseData* ShapeBaseData_Of(REALobject shape) {
    return static_cast<ShapeBaseData*>(REALGetClassData(shape, &ShapeBaseClass));
}

// A new Shape (ShapeGroup) view, counting the document; nil when the host
// cannot make one.
REALobject CreateShape(REALobject document, pugi::xml_node alternateContent, pugi::xml_node anchor,
                       pugi::xml_node wsp);
REALobject CreateShapeGroup(REALobject document, pugi::xml_node alternateContent, pugi::xml_node anchor);

// The checks of every append: a type outside the table raises
// InvalidArgumentException 1; a NaN or infinite x, y, cx or cy (no file can
// hold it) InvalidArgumentException 2 to 5, by the parameter's place; a
// negative size (cxEmu, cyEmu) the WordException -40. False when the append
// must not go on.
bool CheckInsertShape(int64_t type, double x, double y, double cx, double cy, int32_t cxEmu, int32_t cyEmu);

// The text colour of a shape's text box (a TextColorResolver): the style's
// font colour of the Shape `owner`.
RBColor DefaultTextColorResolver(REALobject owner);
// A ShapeContainer over the text box content `node`, counting the document
// and, when given, the resolver's owner.
REALobject CreateShapeContainer(REALobject document, pugi::xml_node node, TextColorResolver resolver,
                                REALobject resolverOwner);
