#include "tables/table_properties.h"

#include "format/schema_order.h"
#include "format/xml_helpers.h"

namespace {

pugi::xml_node FirstOrCreate(pugi::xml_node owner, const char* name, bool create) {
    pugi::xml_node properties = owner.child(name);
    if (properties || !create || !owner) return properties;
    return owner.prepend_child(name);
}

}  // namespace

pugi::xml_node Table_Properties(pugi::xml_node table, bool create) {
    return FirstOrCreate(table, "w:tblPr", create);
}

pugi::xml_node Cell_Properties(pugi::xml_node cell, bool create) { return FirstOrCreate(cell, "w:tcPr", create); }

pugi::xml_node Row_Properties(pugi::xml_node row, bool create) {
    pugi::xml_node properties = row.child("w:trPr");
    if (properties || !create || !row) return properties;
    if (pugi::xml_node exceptions = row.child("w:tblPrEx")) return row.insert_child_after("w:trPr", exceptions);
    return row.prepend_child("w:trPr");
}

bool Table_GetStyleId(pugi::xml_node table, std::string& id) {
    pugi::xml_node style = table.child("w:tblPr").child("w:tblStyle");
    if (!style) return false;
    id = style.attribute("w:val").value();
    return true;
}

void Table_SetStyleId(pugi::xml_node table, std::string_view id) {
    if (id.empty()) {
        table.child("w:tblPr").remove_child("w:tblStyle");
        return;
    }
    WriteAttribute(ChildInOrder(Table_Properties(table, true), "w:tblStyle", ChildOrder::TableProperties), "w:val",
                   id);
}
