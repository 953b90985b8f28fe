#include "tables/table_shading.h"

#include "format/styles.h"
#include "tables/table_properties.h"

uint32_t Cell_GetBackgroundColor(pugi::xml_node cell, bool& hasColor) {
    return TableStylePartGetBackgroundColor(cell.child("w:tcPr"), hasColor);
}

uint32_t Table_GetBackgroundColor(pugi::xml_node table, bool& hasColor) {
    return TableStylePartGetBackgroundColor(table.child("w:tblPr"), hasColor);
}

void Cell_SetBackgroundColor(pugi::xml_node cell, uint32_t color) {
    // Word processors show a cell's own shading over the table's: a cell
    // that has no properties yet gets them, or the colour would not show.
    TableStylePartSetBackgroundColor(Cell_Properties(cell, true), color);
}

void Cell_ClearBackgroundColor(pugi::xml_node cell) { cell.child("w:tcPr").remove_child("w:shd"); }

void Row_SetBackgroundColor(pugi::xml_node row, uint32_t color) {
    for (pugi::xml_node cell : row.children("w:tc")) Cell_SetBackgroundColor(cell, color);
}

void Table_SetBackgroundColor(pugi::xml_node table, uint32_t color) {
    if (!table) return;
    TableStylePartSetBackgroundColor(Table_Properties(table, true), color);
    for (pugi::xml_node row : table.children("w:tr")) Row_SetBackgroundColor(row, color);
}

void Table_ClearBackgroundColor(pugi::xml_node table) {
    table.child("w:tblPr").remove_child("w:shd");
    for (pugi::xml_node row : table.children("w:tr"))
        for (pugi::xml_node cell : row.children("w:tc")) Cell_ClearBackgroundColor(cell);
}
