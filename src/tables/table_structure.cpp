#include "tables/table_structure.h"

#include <cstring>
#include <vector>

#include "content/sibling_walk.h"
#include "package/discarded_nodes.h"
#include "tables/table_shading.h"

namespace {

bool Named(pugi::xml_node n, const char* name) { return std::strcmp(n.name(), name) == 0; }

bool IsBlock(pugi::xml_node n) { return Named(n, "w:p") || Named(n, "w:tbl") || Named(n, "w:sdt"); }

// The last paragraph, table or content control before `node` (or at the end
// of `parent` when `node` is empty); bookmarks and the like between do not
// keep two tables apart.
pugi::xml_node PreviousBlock(pugi::xml_node parent, pugi::xml_node node) {
    for (pugi::xml_node n = node ? node.previous_sibling() : parent.last_child(); n; n = n.previous_sibling())
        if (n.type() == pugi::node_element && IsBlock(n)) return n;
    return {};
}

// Whether a block-level child (paragraph or table) comes after the last
// paragraph of a container: word processors want a paragraph last.
bool EndsWithoutParagraph(pugi::xml_node container) {
    for (pugi::xml_node n = container.last_child(); n; n = n.previous_sibling()) {
        if (n.type() != pugi::node_element) continue;
        if (Named(n, "w:p")) return false;
        if (Named(n, "w:tbl")) return true;
        // Section properties, bookmarks and the like: look further back.
    }
    return true;
}

void BuildProperties(pugi::xml_node table) {
    pugi::xml_node tblPr = table.append_child("w:tblPr");
    tblPr.append_child("w:tblStyle").append_attribute("w:val") = "TableGrid";
    pugi::xml_node width = tblPr.append_child("w:tblW");
    width.append_attribute("w:w") = "0";
    width.append_attribute("w:type") = "auto";
    // The look of a new table as word processors write it: the value and
    // the flags are not derived from each other.
    pugi::xml_node look = tblPr.append_child("w:tblLook");
    look.append_attribute("w:val") = "04A0";
    look.append_attribute("w:firstRow") = "1";
    look.append_attribute("w:lastRow") = "0";
    look.append_attribute("w:firstColumn") = "0";
    look.append_attribute("w:lastColumn") = "0";
    look.append_attribute("w:noHBand") = "0";
    look.append_attribute("w:noVBand") = "1";
}

// The widths of the cells a new row gets: the grid's columns, else the
// cells of the last row.
std::vector<int32_t> NewRowWidths(pugi::xml_node table) {
    std::vector<int32_t> widths;
    for (pugi::xml_node col : table.child("w:tblGrid").children("w:gridCol"))
        widths.push_back(col.attribute("w:w").as_int(0));
    if (!widths.empty()) return widths;
    for (pugi::xml_node n = table.last_child(); n; n = n.previous_sibling()) {
        if (!Named(n, "w:tr")) continue;
        for (pugi::xml_node cell : n.children("w:tc"))
            widths.push_back(cell.child("w:tcPr").child("w:tcW").attribute("w:w").as_int(0));
        break;
    }
    return widths;
}

}  // namespace

pugi::xml_node Row_AppendCell(pugi::xml_node row, int32_t twips) {
    pugi::xml_node cell = row.append_child("w:tc");
    pugi::xml_node width = cell.append_child("w:tcPr").append_child("w:tcW");
    width.append_attribute("w:w") = twips;
    width.append_attribute("w:type") = "dxa";
    cell.append_child("w:p");
    return cell;
}

void Container_EndWithParagraph(pugi::xml_node container) {
    if (container && EndsWithoutParagraph(container)) container.append_child("w:p");
}

bool Container_NeedsFinalParagraph(pugi::xml_node container) {
    return Named(container, "w:tc") || Named(container, "w:txbxContent") || Named(container, "w:hdr") ||
           Named(container, "w:ftr");
}

void Container_RemoveBlock(pugi::xml_node container, pugi::xml_node block) {
    if (!container || block.parent() != container) return;
    pugi::xml_node previous = PreviousBlock(container, block);
    pugi::xml_node next = block.next_sibling();
    while (next && !(next.type() == pugi::node_element && IsBlock(next))) next = next.next_sibling();
    Xml_Discard(block);
    // Two tables left touching would be read as one.
    if (previous && next && Named(previous, "w:tbl") && Named(next, "w:tbl"))
        container.insert_child_before("w:p", next);
    // The body may end with a table (its section properties close it);
    // every other container must end with a paragraph.
    if (Container_NeedsFinalParagraph(container)) Container_EndWithParagraph(container);
}

pugi::xml_node Table_Build(pugi::xml_node parent, pugi::xml_node before, int32_t columns, int32_t rows) {
    if (!parent || columns < 1 || rows < 1) return {};
    // Two tables in a row would be read as one.
    pugi::xml_node previous = PreviousBlock(parent, before);
    if (previous && Named(previous, "w:tbl")) {
        if (before)
            parent.insert_child_before("w:p", before);
        else
            parent.append_child("w:p");
    }
    pugi::xml_node table = before ? parent.insert_child_before("w:tbl", before) : parent.append_child("w:tbl");
    BuildProperties(table);
    pugi::xml_node grid = table.append_child("w:tblGrid");
    for (int32_t c = 0; c < columns; ++c) grid.append_child("w:gridCol").append_attribute("w:w") = kNewColumnTwips;
    for (int32_t r = 0; r < rows; ++r) {
        pugi::xml_node row = table.append_child("w:tr");
        for (int32_t c = 0; c < columns; ++c) Row_AppendCell(row, kNewColumnTwips);
    }
    if (!before) Container_EndWithParagraph(parent);
    return table;
}

pugi::xml_node Table_AppendRow(pugi::xml_node table) {
    if (!table) return {};
    const std::vector<int32_t> widths = NewRowWidths(table);
    if (widths.empty()) return {};
    pugi::xml_node row = table.append_child("w:tr");
    for (int32_t twips : widths) Row_AppendCell(row, twips);
    bool hasColor = false;
    const uint32_t color = Table_GetBackgroundColor(table, hasColor);
    if (hasColor) Row_SetBackgroundColor(row, color);
    return row;
}

bool Table_RemoveRow(pugi::xml_node table, pugi::xml_node row, PositionCache& cache, bool& tableRemoved) {
    tableRemoved = false;
    if (!Table_HoldsRow(table, row)) return false;
    // Only the rows after it move: the places and the count of the
    // table's rows are mended, not forgotten.
    SiblingRemoving(table, SiblingWalk::Rows, row, cache);
    Xml_Discard(row);
    if (table.child("w:tr")) return true;
    // A table without rows is a damaged file: the table goes too.
    Container_RemoveBlock(table.parent(), table);
    tableRemoved = true;
    return true;
}

bool Table_HoldsRow(pugi::xml_node table, pugi::xml_node row) {
    return table && row && row.parent() == table && Named(row, "w:tr");
}

int64_t Table_RowCount(pugi::xml_node table, PositionCache& cache) {
    return SiblingCount(table, SiblingWalk::Rows, cache);
}

int64_t Table_ColumnCount(pugi::xml_node table, PositionCache& cache) {
    return SiblingCount(table.child("w:tblGrid"), SiblingWalk::GridColumns, cache);
}

int64_t Row_CellCount(pugi::xml_node row, PositionCache& cache) { return SiblingCount(row, SiblingWalk::Cells, cache); }

pugi::xml_node Table_RowAt(pugi::xml_node table, int64_t index, PositionCache& cache) {
    return SiblingAt(table, SiblingWalk::Rows, index, cache);
}

pugi::xml_node Row_CellAt(pugi::xml_node row, int64_t index, PositionCache& cache) {
    return SiblingAt(row, SiblingWalk::Cells, index, cache);
}
