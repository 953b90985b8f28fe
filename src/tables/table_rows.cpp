#include "tables/table_rows.h"

#include "format/xml_helpers.h"
#include "tables/table_properties.h"

bool Row_IsHeader(pugi::xml_node row) { return bool(row.child("w:trPr").child("w:tblHeader")); }

bool Row_SetHeader(pugi::xml_node row, bool header) {
    if (!header) {
        pugi::xml_node properties = row.child("w:trPr");
        if (pugi::xml_node marker = properties.child("w:tblHeader")) properties.remove_child(marker);
        return true;
    }
    if (!row || row.parent().child("w:tr") != row) return false;
    // The row properties' children may come in any order.
    AppendChildIfNeeded(Row_Properties(row, true), "w:tblHeader");
    return true;
}
