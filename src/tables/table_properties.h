// The property elements of tables, rows and cells ("w:tblPr", "w:trPr",
// "w:tcPr"), found or made where the schema puts them.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

// With `create`, a missing element is made: "w:tblPr" first in the table,
// "w:trPr" first in the row after its property exceptions ("w:tblPrEx"),
// "w:tcPr" first in the cell. Empty when missing and not made.
pugi::xml_node Table_Properties(pugi::xml_node table, bool create);
pugi::xml_node Row_Properties(pugi::xml_node row, bool create);
pugi::xml_node Cell_Properties(pugi::xml_node cell, bool create);

// The table style the table names ("w:tblPr"/"w:tblStyle" "w:val"); false
// when it names none.
bool Table_GetStyleId(pugi::xml_node table, std::string& id);
// Names the style (first in the properties, made when missing); an empty
// id removes the reference.
void Table_SetStyleId(pugi::xml_node table, std::string_view id);
