// The table's conditional-formatting flags ("w:tblPr"/"w:tblLook"): which
// parts of its table style apply (first and last row and column) and
// whether the row and column bands do not.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// The flags as the host's Table constants number them.
enum : int32_t {
    kLookFirstRow = 32,
    kLookLastRow = 64,
    kLookFirstColumn = 128,
    kLookLastColumn = 256,
    kLookNoRowBands = 512,
    kLookNoColumnBands = 1024,
    kLookAllFlags = 2016,
};

// The "w:val" read as hexadecimal; a look written without it (as some
// writers do) is read from its six on/off attributes. 0 without a look.
int32_t Table_GetLookFlags(pugi::xml_node table);
// Replaces the look with one holding exactly these flags (others ignored),
// in the schema's place; 0 removes it.
void Table_SetLookFlags(pugi::xml_node table, int64_t flags);
