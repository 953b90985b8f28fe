// Where a new child goes among the children of a WordprocessingML element
// whose children the schema puts in sequence. Word processors validate that
// order; a child appended after one the schema puts later makes the part
// unreadable to them, or its properties ignored. Existing children are never
// moved.
//
// Every property element the library adds to one of these parents goes in
// with InsertChildInOrder or ChildInOrder.
#pragma once

#include <pugixml.hpp>

// Child sequences of the elements the library adds children to.
enum class ChildOrder {
    RunProperties,            // w:rPr (of a run, a paragraph mark, a style, the defaults)
    ParagraphProperties,      // w:pPr
    SectionProperties,        // w:sectPr
    NumberingProperties,      // w:numPr
    CellProperties,           // w:tcPr
    TableProperties,          // w:tblPr
    TablePropertyExceptions,  // w:tblPrEx
    TableBorders,             // w:tblBorders
    CellBorders,              // w:tcBorders
    ParagraphBorders,         // w:pBdr
    CellMargins,              // w:tblCellMar, w:tcMar
    Style,                    // w:style
    TableStyleProperties,     // w:tblStylePr
    DocumentDefaults,         // w:docDefaults
    Settings,                 // w:settings (the settings part)
    ShapeProperties,          // wps:spPr (DrawingML shape properties)
    LineProperties,           // a:ln
};

// Inserts a new child named `name` before the first existing child the
// sequence puts after it (after those it shares a place with); appends it
// when there is none. Names outside the sequence go last.
pugi::xml_node InsertChildInOrder(pugi::xml_node parent, const char* name, ChildOrder order);
// The first child named `name`, inserted in order when missing.
pugi::xml_node ChildInOrder(pugi::xml_node parent, const char* name, ChildOrder order);
