// What a paragraph holds as a whole: its runs and items (counted and found
// through sibling_walk.h), page-break paragraphs, the list level, and the
// removal of runs.
#pragma once

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "content/document_caches.h"

// The paragraph has exactly one run, and that run is a page break.
bool Paragraph_IsPageBreak(pugi::xml_node paragraph);
// w:val of w:pPr/w:numPr/w:ilvl; 0 when any of them is missing.
int64_t Paragraph_GetListIndentLevel(pugi::xml_node paragraph);

// Takes the runs out of the paragraph, the last first; runs that are not
// its children (any more) are left alone. Views holding them stay valid.
// The document's caches are dropped.
void Paragraph_RemoveRuns(pugi::xml_node paragraph, const std::vector<pugi::xml_node>& runs,
                          DocumentCaches& caches);
