// Paragraph properties ("w:pPr") of a "w:p" or a paragraph style.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "format/property_values.h"

// Paragraph alignment ("w:pPr"/"w:jc") of a "w:p" or a paragraph style.
Alignments PPRGetAlignment(pugi::xml_node parent);
void PPRSetAlignment(pugi::xml_node parent, int32_t value, RPROwner owner);
