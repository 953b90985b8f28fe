// A paragraph's place in a list: w:pPr/w:numPr with w:ilvl and w:numId.
#pragma once

#include <cstdint>
#include <optional>

#include <pugixml.hpp>

// The w:numId of the paragraph's list; none when it has no w:numId.
std::optional<int64_t> Paragraph_GetListNumId(pugi::xml_node paragraph);
// Puts the paragraph in list `numId` at `level` (one w:numPr, in its place
// in w:pPr, which is made as the first child when missing).
void Paragraph_SetList(pugi::xml_node paragraph, int64_t numId, int64_t level);
// Takes the paragraph out of any list.
void Paragraph_RemoveList(pugi::xml_node paragraph);
