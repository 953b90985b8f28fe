// Languages of paragraphs and runs ("w:lang" inside the properties).
#pragma once

#include <optional>
#include <string>

#include <pugixml.hpp>

// "w:val" of the paragraph's w:pPr/w:rPr/w:lang: nullopt when that element
// is missing, the empty string when only its "w:val" is.
std::optional<std::string> Paragraph_GetLanguageCode(pugi::xml_node paragraph);
