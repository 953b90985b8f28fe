#include "tables/table_look.h"

#include <cstdio>
#include <cstdlib>

#include "format/schema_order.h"
#include "format/xml_helpers.h"
#include "tables/table_properties.h"

namespace {

struct LookFlag {
    int32_t bit;
    const char* attribute;
};
const LookFlag kLookFlags[] = {
    {kLookFirstRow, "w:firstRow"},     {kLookLastRow, "w:lastRow"}, {kLookFirstColumn, "w:firstColumn"},
    {kLookLastColumn, "w:lastColumn"}, {kLookNoRowBands, "w:noHBand"}, {kLookNoColumnBands, "w:noVBand"},
};

}  // namespace

int32_t Table_GetLookFlags(pugi::xml_node table) {
    pugi::xml_node look = table.child("w:tblPr").child("w:tblLook");
    if (!look) return 0;
    if (pugi::xml_attribute val = look.attribute("w:val"))
        return int32_t(uint32_t(std::strtoul(val.value(), nullptr, 16)));
    int32_t flags = 0;
    for (const LookFlag& flag : kLookFlags) {
        pugi::xml_attribute attribute = look.attribute(flag.attribute);
        if (attribute && ResolveST_OnOff(attribute)) flags |= flag.bit;
    }
    return flags;
}

void Table_SetLookFlags(pugi::xml_node table, int64_t flags) {
    pugi::xml_node properties = Table_Properties(table, true);
    if (!properties) return;
    properties.remove_child("w:tblLook");
    const int32_t kept = int32_t(flags & kLookAllFlags);
    if (kept == 0) return;
    pugi::xml_node look = InsertChildInOrder(properties, "w:tblLook", ChildOrder::TableProperties);
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04x", unsigned(kept));
    look.append_attribute("w:val") = hex;
    for (const LookFlag& flag : kLookFlags) look.append_attribute(flag.attribute) = (kept & flag.bit) ? "1" : "0";
}
