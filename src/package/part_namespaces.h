// The library finds elements and attributes by qualified name (w:p, r:id),
// so a part must use its prefixes for the namespaces it knows: one written
// with other prefixes (ns0:p, or WordprocessingML as the default namespace)
// would read as empty, and ids it holds would be taken again.
#pragma once

#include <pugixml.hpp>

// Renames, in a well-formed part, the prefixes of the namespaces the library
// knows to its own (and a foreign namespace's prefix that is one of those to
// a free one): on element and attribute names, on declarations, and inside
// the values that list prefixes (mc:Ignorable, mc:ProcessContent, Requires
// of mc:Choice...). Unprefixed attributes stay as they are: they are in no
// namespace. `innerDeclarations` tells that elements below the root declare
// namespaces; without them, a part whose root declares only the library's
// prefixes costs a look at the root's attributes.
void PartNamespaces_Normalize(pugi::xml_document& xml, bool innerDeclarations);

// Drops from the root's mc:Ignorable the prefixes its part does not declare
// there: text cleaning can change a prefix it names (a character XML forbids
// becomes U+FFFD), and readers refuse a part that ignores an unknown prefix.
void PartNamespaces_PruneIgnorable(pugi::xml_document& xml);
