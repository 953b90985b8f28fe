#include "content/language.h"

std::optional<std::string> Paragraph_GetLanguageCode(pugi::xml_node paragraph) {
    pugi::xml_node lang = paragraph.child("w:pPr").child("w:rPr").child("w:lang");
    if (!lang) return std::nullopt;
    return std::string(lang.attribute("w:val").value());
}
