// Reading and writing WordprocessingML attributes and property children.
//
// Every function accepts empty handles: reads give the neutral result,
// writes do nothing. Names are written with their prefixes as given
// ("w:val", "xml:space"). Attributes that an existing element lacks are
// added, at the end of its attributes.
//
// The child helpers put a new child first or last whatever its parent's
// child sequence says: they suit children the schema puts there (w:pPr in
// w:p, w:rStyle in w:rPr). Any other property element goes in with
// ChildInOrder (format/schema_order.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

// The attribute of the first child named `childName`: nullopt when the child
// is missing, the empty string when only the attribute is.
std::optional<std::string> ChildNode_GetStringAttribute(pugi::xml_node node, const char* childName,
                                                        const char* attributeName);
// Non-empty value: sets the attribute of the first child named `childName`,
// appending the child when missing. Empty value: removes that child.
void ChildNode_SetStringAttribute(pugi::xml_node node, const char* childName, const char* attributeName,
                                  std::string_view value);
// Non-empty value: sets the attribute; empty value: removes it.
void Node_SetStringAttribute(pugi::xml_node node, const char* attributeName, std::string_view value);
// Sets the attribute's value to exactly these bytes; a null view (the host's
// nil string) writes the empty string.
void SetStringAttribute(pugi::xml_attribute attribute, std::string_view value);

// Sets the attribute, appending it when missing; returns it.
pugi::xml_attribute WriteAttribute(pugi::xml_node node, const char* name, std::string_view text);
// write true: as above. write false: removes the attribute when present.
void WriteAttribute(pugi::xml_node node, const char* name, std::string_view text, bool write);
// As the text form, the value in decimal.
pugi::xml_attribute WriteAttribute(pugi::xml_node node, const char* name, int32_t value);

// Sets "w:val" of the first child named `childName`. A missing child is
// inserted as the node's first child; an existing one keeps its place.
// Returns the child.
pugi::xml_node PrependChildWith_wVal(pugi::xml_node node, const char* childName, std::string_view text);
pugi::xml_node PrependChildWith_wVal(pugi::xml_node node, const char* childName, const char* bytes,
                                     size_t length);
pugi::xml_node PrependChildWith_wVal(pugi::xml_node node, const char* childName, int32_t value);
// As PrependChildWith_wVal, but a missing child is appended as the last child.
pugi::xml_node AppendChildWith_wVal(pugi::xml_node node, const char* childName, int32_t value);

// The first child named `childName`, inserted empty as the first child
// (Prepend...) or the last child (Append...) when missing.
pugi::xml_node PrependChildIfNeeded(pugi::xml_node node, const char* childName);
pugi::xml_node AppendChildIfNeeded(pugi::xml_node node, const char* childName);

// Moves the first child element of each listed name, in list order, to the
// end of the node's children: the listed elements end up last, in list
// order, after every other child (which keep their relative order). Missing
// names are skipped.
void ReOrderChildren(pugi::xml_node node, const char* const* names, size_t count);

// The WordprocessingML on/off value: an absent attribute means on; exactly
// "1", "true" and "on" mean on; anything else means off.
bool ResolveST_OnOff(pugi::xml_attribute attribute);
