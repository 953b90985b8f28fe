#include "content/paragraph_text.h"

#include <cstring>

void Run_AppendText(pugi::xml_node run, std::string& out) {
    for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling()) {
        const char* name = c.name();
        if (std::strcmp(name, "w:t") == 0) {
            out += c.text().get();
        } else if (std::strcmp(name, "w:tab") == 0) {
            out += '\t';
        } else if (std::strcmp(name, "w:br") == 0) {
            pugi::xml_attribute type = c.attribute("w:type");
            if (!type || std::strcmp(type.value(), "textWrapping") == 0) out += '\n';
        }
    }
}

std::string Paragraph_GetText(pugi::xml_node paragraph) {
    std::string text;
    for (pugi::xml_node n = paragraph.child("w:r"); n; n = n.next_sibling())
        if (n.type() == pugi::node_element) Run_AppendText(n, text);
    return text;
}
