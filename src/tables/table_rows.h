// Row properties the host reaches: the header-row marker
// ("w:trPr"/"w:tblHeader"), which repeats the row at the top of every page
// the table runs onto.
#pragma once

#include <pugixml.hpp>

bool Row_IsHeader(pugi::xml_node row);
// Only the table's first row becomes a header row (false: nothing
// changed); any row stops being one.
bool Row_SetHeader(pugi::xml_node row, bool header);
