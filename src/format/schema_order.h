// Where a new child goes among the children of a WordprocessingML property
// element. Word processors validate the order of these children; a child
// appended after one the schema puts later makes the part unreadable to
// them. Existing children are never moved.
#pragma once

#include <pugixml.hpp>

// Child sequences of the elements the library adds children to.
enum class ChildOrder {
    RunProperties,        // w:rPr
    ParagraphProperties,  // w:pPr
    CellProperties,       // w:tcPr
    Style,                // w:style
    TableStyleProperties, // w:tblStylePr
    TableProperties,      // w:tblPr
};

// Inserts a new child named `name` before the first existing child the
// sequence puts after it; appends it when there is none. Names outside the
// sequence go last.
pugi::xml_node InsertChildInOrder(pugi::xml_node parent, const char* name, ChildOrder order);
// The first child named `name`, inserted in order when missing.
pugi::xml_node ChildInOrder(pugi::xml_node parent, const char* name, ChildOrder order);
