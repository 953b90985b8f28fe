// Headers and footers of the document's final section: finding the part a
// reference names, and making a new part with its relationship, content
// type and reference.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "package/document.h"

enum class HeaderFooterKind { Header, Footer };

// The reference type text of a HeaderFooterTypes value: "default", "first",
// and "even" for every other value.
const char* HeaderFooter_TypeText(int64_t type);

// The root element (w:hdr or w:ftr) of the part the final section's
// reference of `type` names. When there is none and `create` is true, a new
// part is made: its relationship, its content-type override (unless one
// exists), and the reference (a stale reference of that type is pointed at
// the new part instead of adding a second one). A new first-page part also
// sets w:titlePg in the section, a new even-page part
// w:evenAndOddHeaders in the settings, so that the part shows. Empty when
// there is none and `create` is false, or when the body has no w:sectPr.
pugi::xml_node HeaderFooter_Find(Word::Document& document, HeaderFooterKind kind, int64_t type, bool create);

// Fills an empty XML document with the initial part: the root element with
// the namespace declarations of the main document part.
void HeaderFooter_CreateInitialXML(pugi::xml_document& xml, HeaderFooterKind kind);
