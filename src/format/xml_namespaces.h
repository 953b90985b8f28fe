// The namespace declarations new parts of the library carry: the same
// prefixes, bound to the same URIs, in the same order as on the document
// element of the blank template's main part.
#pragma once

#include <pugixml.hpp>

// The URI a prefix of that set is bound to; null for any other prefix.
const char* Xml_NamespaceOf(const char* prefix);
// The prefix of the set bound to `uri`; null for any other namespace.
const char* Xml_PrefixOf(const char* uri);

// Appends every declaration of the set to `root`, then mc:Ignorable with
// the prefixes readers may ignore.
void Xml_DeclareDocumentNamespaces(pugi::xml_node root);

// Declares `prefix` (one of the set) on the part's root `root` when it is
// not declared there (and makes it ignorable when `ignorable`), so elements
// and attributes of that prefix can be written. False when the root binds
// the prefix to another namespace.
bool Xml_DeclarePrefix(pugi::xml_node root, const char* prefix, bool ignorable);

// Makes `prefix` mean its namespace of the set inside `element`: declared on
// the part's root when missing there, or on `element` itself when the root
// binds it to another namespace. Parts written by other tools often lack the
// drawing prefixes, and readers refuse a part that uses an undeclared one.
void Xml_DeclarePrefixAt(pugi::xml_node element, const char* prefix);
