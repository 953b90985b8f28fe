#include "content/language.h"

#include <cstring>

std::optional<std::string> Paragraph_GetLanguageCode(pugi::xml_node paragraph) {
    // w:pPr can only be the first child: looking there keeps appending runs
    // to a paragraph without properties from walking all its runs each time.
    pugi::xml_node first = paragraph.first_child();
    while (first && first.type() != pugi::node_element) first = first.next_sibling();
    if (std::strcmp(first.name(), "w:pPr") != 0) return std::nullopt;
    pugi::xml_node lang = first.child("w:rPr").child("w:lang");
    if (!lang) return std::nullopt;
    return std::string(lang.attribute("w:val").value());
}
