// The namespaces an anchored shape or group needs in its part.
#pragma once

#include <pugixml.hpp>

// Makes the prefixes of a shape's markup (mc, wp, wps, wpg) mean what the
// shape needs where `alternateContent` stands: each is declared on the
// part's root when missing there; a prefix the root binds to another URI is
// declared again on `alternateContent` itself. Parts written by other tools
// often lack the drawing extensions' prefixes, and a reader refuses a part
// that uses an undeclared one.
void Drawing_DeclareNamespaces(pugi::xml_node alternateContent);
