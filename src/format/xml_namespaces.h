// The namespace declarations new parts of the library carry: the same
// prefixes, bound to the same URIs, in the same order as on the document
// element of the blank template's main part.
#pragma once

#include <pugixml.hpp>

// The URI a prefix of that set is bound to; null for any other prefix.
const char* Xml_NamespaceOf(const char* prefix);

// Appends every declaration of the set to `root`, then mc:Ignorable with
// the prefixes readers may ignore.
void Xml_DeclareDocumentNamespaces(pugi::xml_node root);
