#include "tables/table_widths.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "format/schema_order.h"
#include "format/xml_helpers.h"
#include "tables/table_properties.h"

namespace {

pugi::xml_node GridColumnAt(pugi::xml_node table, int64_t index) {
    int64_t i = 0;
    for (pugi::xml_node col : table.child("w:tblGrid").children("w:gridCol"))
        if (i++ == index) return col;
    return {};
}

int32_t SpanOf(pugi::xml_node cell) {
    const int32_t span = cell.child("w:tcPr").child("w:gridSpan").attribute("w:val").as_int(1);
    return span < 1 ? 1 : span;
}

void WriteCellWidth(pugi::xml_node cell, int32_t twips) {
    pugi::xml_node width = ChildInOrder(Cell_Properties(cell, true), "w:tcW", ChildOrder::CellProperties);
    WriteAttribute(width, "w:w", twips);
    WriteAttribute(width, "w:type", "dxa");
}

}  // namespace

int32_t Table_GetColumnWidth(pugi::xml_node table, int64_t index) {
    return GridColumnAt(table, index).attribute("w:w").as_int(0);
}

void Table_SetColumnWidth(pugi::xml_node table, int64_t index, int32_t twips) {
    pugi::xml_node column = GridColumnAt(table, index);
    if (!column) return;
    WriteAttribute(column, "w:w", twips);
    std::vector<int32_t> grid;
    for (pugi::xml_node col : table.child("w:tblGrid").children("w:gridCol"))
        grid.push_back(col.attribute("w:w").as_int(0));
    for (pugi::xml_node row : table.children("w:tr")) {
        int64_t first = row.child("w:trPr").child("w:gridBefore").attribute("w:val").as_int(0);
        if (first < 0) first = 0;
        for (pugi::xml_node cell : row.children("w:tc")) {
            const int32_t span = SpanOf(cell);
            if (index < first) break;
            if (index < first + span) {
                int64_t sum = 0;
                for (int64_t c = first; c < first + span && c < int64_t(grid.size()); ++c) sum += grid[size_t(c)];
                WriteCellWidth(cell, span == 1 ? twips : int32_t(sum > INT32_MAX ? INT32_MAX : sum));
                break;
            }
            first += span;
        }
    }
}

TableWidthMode Table_GetWidthMode(pugi::xml_node table) {
    const char* type = table.child("w:tblPr").child("w:tblW").attribute("w:type").value();
    if (std::strcmp(type, "auto") == 0) return TableWidthMode::AUTO;
    if (std::strcmp(type, "dxa") == 0) return TableWidthMode::ABSOLUTE;
    return TableWidthMode::PERCENTAGE;
}

double Table_GetWidthValue(pugi::xml_node table) {
    pugi::xml_attribute w = table.child("w:tblPr").child("w:tblW").attribute("w:w");
    switch (Table_GetWidthMode(table)) {
        case TableWidthMode::AUTO: return 0.0;
        case TableWidthMode::ABSOLUTE: return w.as_int(0);
        case TableWidthMode::PERCENTAGE: break;
    }
    // Fiftieths of a percent, or (as some writers put it) "50%".
    const std::string_view text = w.value();
    if (!text.empty() && text.back() == '%') return std::strtod(w.value(), nullptr) / 100.0;
    return w.as_int(0) / 5.0 / 1000.0;
}

void Table_SetWidth(pugi::xml_node table, int64_t mode, int32_t twips, double fraction) {
    if (mode < 0 || mode > 2 || !table) return;
    pugi::xml_node width = ChildInOrder(Table_Properties(table, true), "w:tblW", ChildOrder::TableProperties);
    switch (TableWidthMode(mode)) {
        case TableWidthMode::AUTO:
            WriteAttribute(width, "w:w", 0);
            WriteAttribute(width, "w:type", "auto");
            break;
        case TableWidthMode::ABSOLUTE:
            WriteAttribute(width, "w:type", "dxa");
            WriteAttribute(width, "w:w", twips);
            break;
        case TableWidthMode::PERCENTAGE: {
            if (std::isnan(fraction)) fraction = 0.0;
            const double held = fraction < 0.0 ? 0.0 : fraction > 1.0 ? 1.0 : fraction;
            WriteAttribute(width, "w:type", "pct");
            WriteAttribute(width, "w:w", int32_t(5 * std::trunc(held * 1000.0)));
            break;
        }
    }
}
