// The plain text of a paragraph as a reader sees it.
#pragma once

#include <string>

#include <pugixml.hpp>

// Text of the paragraph's runs from its first direct w:r on: w:t text, a tab
// for w:tab, a line feed for a text-wrapping w:br. Runs nested in hyperlinks
// and field instructions are not part of it; a field's displayed result is.
std::string Paragraph_GetText(pugi::xml_node paragraph);
// The same rule for one run's direct children, appended to `out`.
void Run_AppendText(pugi::xml_node run, std::string& out);
