// The formatting properties runs, styles, table style parts, the document
// defaults, paragraphs and table cells share, read and written on their
// property parent: the element that holds (or is to hold) "w:rPr", "w:pPr"
// or "w:tcPr".
//
// Getters never change the tree and give a fixed value for an unset
// property. Setters create what they need, update in place, and remove the
// property element for the value that means unset. An empty parent handle
// reads as unset and ignores writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "format/property_values.h"
#include "host/plugin_sdk.h"

// Reports the default text colour of the shape whose text box a paragraph or
// run came from; null everywhere else.
typedef RBColor (*TextColorResolver)(REALobject owner);

// The "w:rPr" child, created where the owner kind puts it when missing; an
// empty handle when there is none and none can be made.
pugi::xml_node RPRParentEnsureRPR(pugi::xml_node parent, RPROwner owner);

// On/off properties: "w:b", "w:i".
BooleanAttribute RPRParentGetSimpleTag(pugi::xml_node parent, const char* elementName);
void RPRParentSetSimpleTag(pugi::xml_node parent, int32_t value, RPROwner owner, const char* elementName);

UnderlineStyles RPRParentGetUnderline(pugi::xml_node parent);
void RPRParentSetUnderline(pugi::xml_node parent, int32_t value, RPROwner owner);
void RPRParentSetUnderlineWithColor(pugi::xml_node parent, int32_t value, RBColor color, RPROwner owner);
bool RPRParentHasUnderlineColor(pugi::xml_node parent);
RBColor RPRParentGetUnderlineColor(pugi::xml_node parent);  // black when unset
void RPRParentClearUnderlineColor(pugi::xml_node parent);

StrikeThroughValues RPRParentGetStrikethrough(pugi::xml_node parent);
void RPRParentSetStrikethrough(pugi::xml_node parent, int32_t value, RPROwner owner);

TextCaps RPRParentGetCaps(pugi::xml_node parent);
void RPRParentSetCaps(pugi::xml_node parent, int32_t value, RPROwner owner);

// Twentieths of a point; kSpacingNotSet when unset.
int32_t RPRParentGetSpacing(pugi::xml_node parent);
void RPRParentSetSpacing(pugi::xml_node parent, int32_t value, RPROwner owner);

VerticalAlignments RPRParentGetVerticalAlignment(pugi::xml_node parent);
void RPRParentSetVerticalAlignment(pugi::xml_node parent, int32_t value, RPROwner owner);

HighlightColors RPRParentGetHighlightColor(pugi::xml_node parent);
void RPRParentSetHighlightColor(pugi::xml_node parent, int32_t value, RPROwner owner);

// Whole points; kFontSizeNotSet when unset.
int32_t RPRParentGetFontSize(pugi::xml_node parent);
void RPRParentSetFontSize(pugi::xml_node parent, int32_t points, RPROwner owner);

// UTF-8; "" when unset. Writing "" removes the fonts element.
std::string RPRParentGetFontName(pugi::xml_node parent);
void RPRParentSetFontName(pugi::xml_node parent, std::string_view name, RPROwner owner);

bool RPRParentHasTextColor(pugi::xml_node parent);
// The stored colour; without one, the resolver's answer for its owner when
// an owner is given, else black.
RBColor RPRParentGetTextColor(pugi::xml_node parent, TextColorResolver resolver, REALobject resolverOwner);
// `hex`: six hexadecimal digits (ColorToHex).
void RPRParentSetTextColor(pugi::xml_node parent, std::string_view hex, RPROwner owner);
void RPRParentClearTextColor(pugi::xml_node parent);
