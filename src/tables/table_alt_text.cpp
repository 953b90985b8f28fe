#include "tables/table_alt_text.h"

#include "format/schema_order.h"
#include "format/xml_helpers.h"
#include "tables/table_properties.h"

std::string Table_GetAltText(pugi::xml_node table, const char* element) {
    return table.child("w:tblPr").child(element).attribute("w:val").value();
}

void Table_SetAltText(pugi::xml_node table, const char* element, std::string_view text) {
    if (text.empty()) {
        table.child("w:tblPr").remove_child(element);
        return;
    }
    pugi::xml_node properties = Table_Properties(table, true);
    if (!properties) return;
    WriteAttribute(ChildInOrder(properties, element, ChildOrder::TableProperties), "w:val", text);
}
