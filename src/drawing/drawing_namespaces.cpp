#include "drawing/drawing_namespaces.h"

#include "format/xml_namespaces.h"

void Drawing_DeclareNamespaces(pugi::xml_node alternateContent) {
    for (const char* prefix : {"mc", "wp", "wps", "wpg"}) Xml_DeclarePrefixAt(alternateContent, prefix);
}
