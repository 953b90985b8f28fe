// Widths of a table's columns ("w:tblGrid"/"w:gridCol", and the "w:tcW" of
// the cells in each column) and of the whole table ("w:tblPr"/"w:tblW"),
// in twips.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// Host enumeration TableWidthModes.
enum class TableWidthMode : int32_t { AUTO = 0, ABSOLUTE = 1, PERCENTAGE = 2 };

// The index-th grid column's width in twips (0 without "w:w"); the caller
// checks the index against Table_ColumnCount.
int32_t Table_GetColumnWidth(pugi::xml_node table, int64_t index);
// Sets the index-th grid column and the cells that lie in that column: a
// cell of one column gets the width, a cell spanning several ("w:gridSpan")
// the sum of their widths. Rows are walked by grid column, so merged cells
// and cells skipped at a row's start ("w:gridBefore") keep every other
// column where it is.
void Table_SetColumnWidth(pugi::xml_node table, int64_t index, int32_t twips);

// "auto" is AUTO, "dxa" ABSOLUTE, anything else (a missing width too)
// PERCENTAGE.
TableWidthMode Table_GetWidthMode(pugi::xml_node table);
// The table's width: twips for ABSOLUTE, a fraction of the available width
// for PERCENTAGE (1.0 is all of it), 0 for AUTO.
double Table_GetWidthValue(pugi::xml_node table);
// AUTO: width 0; ABSOLUTE: `twips`; PERCENTAGE: `fraction` (held to 0..1,
// stored in fiftieths of a percent, truncated to a multiple of five). A
// missing "w:tblW" (or "w:tblPr") is made. Other modes change nothing.
void Table_SetWidth(pugi::xml_node table, int64_t mode, int32_t twips, double fraction);
