// Index lookups among siblings (Paragraph(i), Item(i), Run(i), ...) walk the
// children from the start, so a host loop over i = 0, 1, 2, ... would cost
// quadratic time. The cache remembers, per parent element and kind of walk,
// the last position found, so the next lookup resumes from there. Views are
// made fresh on every call, so the cache cannot live in a view: each
// document keeps its own (document_caches.h), and a change that moves or
// removes children of its trees drops it.
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

struct PositionCacheEntry {
    pugi::xml_node parent;
    SiblingWalk walk = SiblingWalk::Items;
    SiblingPosition position;
    uint64_t generation = 0;
    uint64_t lastUse = 0;
};

// A few entries, so that nested walks (runs of each paragraph inside a walk
// over paragraphs, cells of each row) keep their places.
struct PositionCache {
    static constexpr int kEntries = 8;
    PositionCacheEntry entries[kEntries];
    uint64_t uses = 0;
    uint64_t generation = 1;  // entries of another generation hold nothing
};

// The remembered position of a walk over `parent`, if any and not after
// `index`; false when the walk must start from the first child.
bool PositionCache_Find(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk, int64_t index,
                        SiblingPosition& out);
void PositionCache_Store(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk,
                         const SiblingPosition& position);
// Forgets every position. Needed after any change that inserts, removes or
// moves a child before a remembered one, or changes whether a child counts
// (a run's field character). Appending children at the end keeps every
// remembered position right, and needs nothing.
void PositionCache_Invalidate(PositionCache& cache);
