// Cell properties ("w:tcPr") of a "w:tc" or a table style part.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "format/property_values.h"

// Cell vertical alignment ("w:tcPr"/"w:vAlign") of a "w:tc" or a table
// style part.
TableCellVerticalAlignments TCPRGetVerticalAlignment(pugi::xml_node cell);
void TCPRSetVerticalAlignment(pugi::xml_node cell, int32_t value);
