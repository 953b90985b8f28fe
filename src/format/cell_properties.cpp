#include "format/cell_properties.h"

#include <cstring>

#include "format/schema_order.h"
#include "format/xml_helpers.h"

namespace {

// A cell's properties open the cell; in a table style, or one of its
// parts, they go where the style's child order has them.
pugi::xml_node TCPRCreate(pugi::xml_node parent) {
    if (std::strcmp(parent.name(), "w:tc") == 0) return parent.prepend_child("w:tcPr");
    if (std::strcmp(parent.name(), "w:style") == 0) return InsertChildInOrder(parent, "w:tcPr", ChildOrder::Style);
    return InsertChildInOrder(parent, "w:tcPr", ChildOrder::TableStyleProperties);
}

}  // namespace

TableCellVerticalAlignments TCPRGetVerticalAlignment(pugi::xml_node cell) {
    pugi::xml_node vAlign = cell.child("w:tcPr").child("w:vAlign");
    if (!vAlign) return TableCellVerticalAlignments::NOTSET;
    const char* text = vAlign.attribute("w:val").value();
    if (std::strcmp(text, "top") == 0) return TableCellVerticalAlignments::TOP;
    if (std::strcmp(text, "center") == 0) return TableCellVerticalAlignments::CENTER;
    return TableCellVerticalAlignments::BOTTOM;
}

void TCPRSetVerticalAlignment(pugi::xml_node cell, int32_t value) {
    if (!cell) return;
    pugi::xml_node tcPr = cell.child("w:tcPr");
    if (value == int32_t(TableCellVerticalAlignments::NOTSET)) {
        if (pugi::xml_node vAlign = tcPr.child("w:vAlign")) tcPr.remove_child(vAlign);
        return;
    }
    if (!tcPr) tcPr = TCPRCreate(cell);
    const char* text = value == 0 ? "top" : value == 1 ? "center" : "bottom";
    WriteAttribute(ChildInOrder(tcPr, "w:vAlign", ChildOrder::CellProperties), "w:val", text);
}
