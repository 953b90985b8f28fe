// Views (paragraphs, runs, tables...) keep handles of the elements they
// show, and a host program may keep a view after the element was removed
// ("remove the same item twice"). Freeing a removed element would leave such
// handles dangling, so removed elements are moved to a holder at the end of
// their own tree instead: the handles stay valid, the element is no longer
// part of the document, and the holder is never printed. The memory goes
// with the tree.
#pragma once

#include <pugixml.hpp>

// Takes `node` out of its parent into the holder of its tree. Nothing for an
// empty handle or a node already discarded.
void Xml_Discard(pugi::xml_node node);
// True for the holder itself (printing skips it).
bool Xml_IsDiscardHolder(pugi::xml_node node);
// True when `node` is the holder or lies inside it.
bool Xml_IsDiscarded(pugi::xml_node node);
// Prints a whole tree as a saved part: no added indentation (the output
// stays linear in the size of the tree however deep it is), no declaration,
// without the holder.
void Xml_PrintDocument(const pugi::xml_document& doc, pugi::xml_writer& writer);
