// Which list a paragraph belongs to: w:numId and w:ilvl from its own
// properties, else from its paragraph style and the styles that one is
// based on, as word processors resolve them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include <pugixml.hpp>

namespace cli {

// The paragraph styles of the styles part by id, and the style of
// paragraphs that name none.
struct StyleLookup {
    std::unordered_map<std::string, pugi::xml_node> paragraphStyles;
    std::string defaultParagraphStyle;
};

StyleLookup StyleLookup_Make(pugi::xml_node styles);

struct ListPlace {
    std::optional<int64_t> numId, level;
};

ListPlace ListPlace_OfParagraph(const StyleLookup& lookup, pugi::xml_node paragraph);

}  // namespace cli
