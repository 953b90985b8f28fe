// The shape of a table ("w:tbl"): its grid, rows ("w:tr") and cells
// ("w:tc"), made and found without any host object.
//
// Two rules hold for everything made here, since word processors refuse
// or repair files that break them: a table has at least one row and every
// row at least one cell, and every cell ends with a paragraph.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "content/position_cache.h"

// The grid width a new table gives each column, in twips.
constexpr int32_t kNewColumnTwips = 3116;

// Builds a new table of `columns` x `rows` (both at least 1) as a new child
// of `parent`: before `before` when given, else as its last child. The table
// gets its properties (style "TableGrid", automatic width, the look of a new
// table), a grid of equal columns and rows of empty cells. A table right
// after another gets an empty paragraph between them, so that the two stay
// two; one that ends a cell, header, footer or text box gets an empty
// paragraph after it.
pugi::xml_node Table_Build(pugi::xml_node parent, pugi::xml_node before, int32_t columns, int32_t rows);

// A new row at the end of the table: one empty cell per grid column, each as
// wide as its column. A table without a grid takes the cells of its last
// row. Empty, and nothing added, when neither tells how many cells a row
// has.
pugi::xml_node Table_AppendRow(pugi::xml_node table);

// Whether `row` is a row ("w:tr") of `table` itself.
bool Table_HoldsRow(pugi::xml_node table, pugi::xml_node row);
// Takes `row` out of `table` (a row of another table is left alone; false).
// What `cache` remembers of the table's rows is mended (the rows after it
// move one up), so that removals in a loop stay linear. Removing the last
// row removes the whole table: `tableRemoved` says so, and then the caller
// must forget every remembered place of the document. A cell or text box
// the table leaves without a final paragraph gets an empty one.
bool Table_RemoveRow(pugi::xml_node table, pugi::xml_node row, PositionCache& cache, bool& tableRemoved);

// A new empty cell at the end of `row`, `twips` wide.
pugi::xml_node Row_AppendCell(pugi::xml_node row, int32_t twips);

// Puts an empty paragraph at the end of a cell, header, footer or text box
// whose last block is not a paragraph (or that holds no block at all).
void Container_EndWithParagraph(pugi::xml_node container);
// Whether word processors require a paragraph last in the container: a
// cell, text box, header or footer does (the body need not: its section
// properties close it).
bool Container_NeedsFinalParagraph(pugi::xml_node container);

// Takes the block `block` (a paragraph or table) out of `container`, and
// mends what that could break: two tables it leaves touching get an empty
// paragraph between them, and a cell, header, footer or text box left
// without a final paragraph gets an empty one.
void Container_RemoveBlock(pugi::xml_node container, pugi::xml_node block);

// Counts and lookups. Rows and cells are counted by position among the
// "w:tr" (or "w:tc") children only. Counts are remembered in `cache`, so
// asking again costs constant time.
int64_t Table_RowCount(pugi::xml_node table, PositionCache& cache);
int64_t Table_ColumnCount(pugi::xml_node table, PositionCache& cache);  // "w:gridCol" children of "w:tblGrid"
int64_t Row_CellCount(pugi::xml_node row, PositionCache& cache);
// The index-th row or cell; empty out of range. Lookups in order resume
// where the last one stopped (`cache`), so walks stay linear.
pugi::xml_node Table_RowAt(pugi::xml_node table, int64_t index, PositionCache& cache);
pugi::xml_node Row_CellAt(pugi::xml_node row, int64_t index, PositionCache& cache);
