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
    ShapeProperties,          // wps:spPr, a:spPr, pic:spPr (DrawingML shape properties)
    LineProperties,           // a:ln
    // Content sequences: the library appends to these in place, but a
    // reader of a package judges them too.
    Body,                     // w:body
    Paragraph,                // w:p
    Run,                      // w:r
    Table,                    // w:tbl
    TableGrid,                // w:tblGrid
    TableRow,                 // w:tr (the children of w:trPr are a free choice)
    TableCell,                // w:tc
    Styles,                   // w:styles
    Numbering,                // w:numbering
    AbstractNumbering,        // w:abstractNum
    NumberingLevel,           // w:lvl
    NumberingInstance,        // w:num
    LevelOverride,            // w:lvlOverride
    InlineDrawing,            // wp:inline
    AnchoredDrawing,          // wp:anchor
    WrapPolygon,              // wp:wrapPolygon
    Transform,                // a:xfrm
    BlipFill,                 // a:blipFill, pic:blipFill
    Picture,                  // pic:pic
    PictureNonVisual,         // pic:nvPicPr
    WordShape,                // wps:wsp
    ShapeGroup,               // wpg:wgp, wpg:grpSp
};

// The places of a sequence in schema order. Names that may come in any
// order among themselves share a place ("w:left|w:start"); a place marked
// with a leading '!' holds one child at most (one fill, one wrap).
struct ChildSequence {
    const char* const* places;
    size_t count;
};
ChildSequence ChildOrder_Sequence(ChildOrder order);
// Whether `name` ("w:b") is one of the names of `place`.
bool ChildOrder_PlaceHolds(const char* place, const char* name);

// Inserts a new child named `name` before the first existing child the
// sequence puts after it (after those it shares a place with); appends it
// when there is none. Names outside the sequence go last.
pugi::xml_node InsertChildInOrder(pugi::xml_node parent, const char* name, ChildOrder order);
// The first child named `name`, inserted in order when missing.
pugi::xml_node ChildInOrder(pugi::xml_node parent, const char* name, ChildOrder order);
