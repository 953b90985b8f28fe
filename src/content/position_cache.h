// Index lookups among siblings (Paragraph(i), Item(i), Run(i), ...) walk the
// children from the start, so a host loop over i = 0, 1, 2, ... would cost
// quadratic time. The cache remembers, per parent element and kind of walk,
// the last position found, so the next lookup resumes from there. Views are
// made fresh on every call, so the cache cannot live in a view: it is
// process-wide, and every change to any tree drops all of it.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

// The kinds of sibling walks that are cached.
enum class SiblingWalk : int {
    Items = 1,               // w:p and w:tbl
    Paragraphs,              // w:p
    Tables,                  // w:tbl
    Runs,                    // w:r
    LogicalRuns,             // w:r with complex fields folded
    ParagraphItems,          // w:r and w:hyperlink
    LogicalParagraphItems,   // logical runs and w:hyperlink
    Rows,                    // w:tr
    Cells,                   // w:tc
};

struct SiblingPosition {
    pugi::xml_node node;   // the child found at `index`
    int64_t index = -1;
    int state = 0;         // walk state after `node` (inside a field, for logical walks)
};

// The remembered position of a walk over `parent`, if any and not after
// `index`; false when the walk must start from the first child.
bool PositionCache_Find(pugi::xml_node parent, SiblingWalk walk, int64_t index, SiblingPosition& out);
void PositionCache_Store(pugi::xml_node parent, SiblingWalk walk, const SiblingPosition& position);
// Any structural change to any tree, and any document opened or destroyed
// (node addresses are reused), must call this.
void PositionCache_Invalidate();
// Changes with every invalidation: other caches of tree positions compare it
// to know whether what they remember still holds.
uint64_t PositionCache_Generation();
