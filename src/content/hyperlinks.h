// Hyperlinks (w:hyperlink): made, read and edited in the relationships of
// the part that holds them, the main document's or a header's or footer's.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "package/document.h"

// Character style of the runs of a hyperlink.
constexpr const char* kHyperlinkStyleId = "Hyperlink";

// Appends to `paragraph` a w:hyperlink (r:id, w:history "1") to the external
// `address`, with one run of `text` in the "Hyperlink" character style, and
// adds that style when the styles part lacks it. The relationship goes into
// the part that holds the paragraph. Returns the w:hyperlink.
pugi::xml_node Hyperlink_Append(Word::Document& document, pugi::xml_node paragraph, std::string_view text,
                                std::string_view address);

// Adds the "Hyperlink" character style when there is none (making the
// styles part when the package has none).
void Hyperlink_EnsureStyle(Word::Document& document);

// An anchor link points into the document: w:anchor without r:id. Word
// processors keep an external address's fragment in w:anchor beside r:id.
bool Hyperlink_IsAnchorLink(pugi::xml_node hyperlink);

// The relationship's target (found in the holding part), then "#" and the
// fragment when the link has one; the bookmark name of an anchor link;
// empty when the link has neither.
std::string Hyperlink_GetAddress(Word::Document& document, pugi::xml_node hyperlink);
// Anchor link: the bookmark name. External link: its relationship's target,
// the fragment dropped; nothing when the relationship is missing.
void Hyperlink_SetAddress(Word::Document& document, pugi::xml_node hyperlink, std::string_view address);
// true: drops the relationship and r:id, and points to an empty anchor.
// false: drops w:anchor and points to a new external relationship with an
// empty target. Nothing when the link already is of that kind.
void Hyperlink_SetLinkToAnchor(Word::Document& document, pugi::xml_node hyperlink, bool toAnchor);

// Takes the hyperlink out of its paragraph. Its relationship (and the
// pictures of its runs) are let go of first by Removal_Release
// (content/removed_elements.h), which keeps one another link still uses.
void Hyperlink_Remove(pugi::xml_node hyperlink);
