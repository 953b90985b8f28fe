// A table's alternative text: its title ("w:tblPr"/"w:tblCaption") and
// description ("w:tblDescription"), each in "w:val".
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

constexpr const char* kTableCaption = "w:tblCaption";
constexpr const char* kTableDescription = "w:tblDescription";

// "" when absent.
std::string Table_GetAltText(pugi::xml_node table, const char* element);
// A non-empty text is written (the element made in the schema's place when
// missing); an empty one removes the element.
void Table_SetAltText(pugi::xml_node table, const char* element, std::string_view text);
