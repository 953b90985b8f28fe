// Tab segments: the w:t children of a run, which are the pieces of its text
// between tabs and line breaks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <pugixml.hpp>

int64_t Run_TabSegmentCount(pugi::xml_node run);
// The index-th w:t child; empty when out of range.
pugi::xml_node Run_TabSegment(pugi::xml_node run, int64_t index);
// Rewrites one segment: its xml:space goes, the text is set, and
// xml:space="preserve" is added when the text starts or ends with white space.
// An empty text leaves an empty segment.
void TabSegment_SetText(pugi::xml_node segment, std::string_view text);
