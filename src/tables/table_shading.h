// Background shading ("w:shd") of tables, rows and cells. A colour is
// written as "w:val" "clear", "w:color" "auto" and "w:fill" RRGGBB; a fill
// of "auto" means none.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// The colour (0xRRGGBB) of the cell's or table's own shading; 0 and
// `hasColor` false without one.
uint32_t Cell_GetBackgroundColor(pugi::xml_node cell, bool& hasColor);
uint32_t Table_GetBackgroundColor(pugi::xml_node table, bool& hasColor);

// Writes the colour into the cell's properties (made when missing).
void Cell_SetBackgroundColor(pugi::xml_node cell, uint32_t color);
void Cell_ClearBackgroundColor(pugi::xml_node cell);
// Every cell of the row.
void Row_SetBackgroundColor(pugi::xml_node row, uint32_t color);
// The table's own shading and every cell of its rows, in one pass (cells
// of nested tables keep theirs).
void Table_SetBackgroundColor(pugi::xml_node table, uint32_t color);
void Table_ClearBackgroundColor(pugi::xml_node table);
