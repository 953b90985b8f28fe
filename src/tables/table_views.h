// The host objects of the tables subsystem, for whoever needs to hand one
// out (container lookups, iterators, field-data merge, style parts), and
// the Container member that makes a table.
#pragma once

#include <pugixml.hpp>

#include "host/bridge.h"
#include "host/plugin_sdk.h"

extern REALclassDefinition TableClass;
extern REALclassDefinition TableRowClass;
extern REALclassDefinition TableBorderClass;
extern REALclassDefinition TableCellClass;

// A Table view of a "w:tbl" (its container is the element's parent).
// Counts the document. Nil for an empty handle.
REALobject Table_New(REALobject document, pugi::xml_node table);
// A TableRow view of a "w:tr" of the table that is its parent.
REALobject CreateTableRow(REALobject document, pugi::xml_node row);
// The "w:tr" a TableRow views.
pugi::xml_node TableRow_Node(REALobject row);
// A TableCell (a container) over a "w:tc".
REALobject CreateTableCell(REALobject document, pugi::xml_node cell);
// A TableBorder of the table ("w:tbl"), cell ("w:tc") or table style part
// ("w:style", "w:tblStylePr") `ownerNode`, which `owner` views; nil for a
// part outside BorderParts. A diagonal of anything but a cell is a view
// of a border that does not exist: it reads so, and its setters change
// nothing.
REALobject CreateBorder(REALobject owner, pugi::xml_node ownerNode, RBInteger type, bool isCell);

// Container.AppendTable(columnCount, rowCount).
REALobject AppendTable(REALobject container, RBInteger columnCount, RBInteger rowCount);
