#include "drawing/drawing_namespaces.h"

#include <cstring>
#include <string>

#include "format/xml_namespaces.h"

void Drawing_DeclareNamespaces(pugi::xml_node alternateContent) {
    pugi::xml_node root = alternateContent.root().first_child();
    while (root && root.type() != pugi::node_element) root = root.next_sibling();
    if (!root) return;
    for (const char* prefix : {"mc", "wp", "wps", "wpg"}) {
        const char* uri = Xml_NamespaceOf(prefix);
        const std::string name = std::string("xmlns:") + prefix;
        pugi::xml_attribute declared = root.attribute(name.c_str());
        if (!declared) {
            root.append_attribute(name.c_str()) = uri;
        } else if (std::strcmp(declared.value(), uri) != 0) {
            // Another binding on the root: the shape's own declaration
            // shadows it for the shape's elements only.
            pugi::xml_attribute local = alternateContent.attribute(name.c_str());
            if (!local) local = alternateContent.append_attribute(name.c_str());
            local = uri;
        }
    }
}
