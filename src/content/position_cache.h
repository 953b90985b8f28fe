// Index lookups among siblings (Paragraph(i), Item(i), Run(i), ...) walk the
// children from the start, so a host loop over i = 0, 1, 2, ... would cost
// quadratic time. The cache remembers, per parent element and kind of walk,
// the last position found, so the next lookup resumes from there. Views are
// made fresh on every call, so the cache cannot live in a view: each
// document keeps its own (document_caches.h), and a change that moves or
// removes children of its trees drops it, except a removal that says what
// it removes (a table's row), which mends it. The cache also keeps a few
// counts of children (ItemCount, RunCount, RowCount...), so that a loop
// testing one in its condition stays linear.
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
    GridColumns,             // w:gridCol (of a w:tblGrid)
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

// A count of the children a walk counts, and the last of them: each look
// counts on from there to the parent's end, so a count stays right across
// children added after it (at the end, or before the body's final section
// properties) without a walk over the whole parent.
struct CountCacheEntry {
    pugi::xml_node parent;
    SiblingWalk walk = SiblingWalk::Items;
    pugi::xml_node lastCounted;  // the last child counted; empty: none
    int64_t count = 0;
    int state = 0;               // walk state after lastCounted
    uint64_t generation = 0;
    uint64_t lastUse = 0;
};

// A few entries, so that nested walks (runs of each paragraph inside a walk
// over paragraphs, cells of each row) keep their places; as many counts,
// so that a loop testing a count in its condition (rows of a table, cells
// of each row) costs constant time a test.
struct PositionCache {
    static constexpr int kEntries = 8;
    PositionCacheEntry entries[kEntries];
    CountCacheEntry counts[kEntries];
    uint64_t uses = 0;
    uint64_t generation = 1;  // entries of another generation hold nothing
};

// The remembered position of a walk over `parent`, if any and not after
// `index`; false when the walk must start from the first child.
bool PositionCache_Find(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk, int64_t index,
                        SiblingPosition& out);
void PositionCache_Store(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk,
                         const SiblingPosition& position);
// The remembered count of a walk over `parent` (null when none), marked as
// used; a new one to fill (the entry used longest ago, or one of an older
// generation) with PositionCache_NewCount.
CountCacheEntry* PositionCache_FindCount(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk);
CountCacheEntry& PositionCache_NewCount(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk);

// Forgets every position and count. Needed after any change that removes
// or moves a child, inserts one before a child a walk counts, or changes
// whether a child counts (a run's field character); a removal that says
// what it removes (SiblingRemoving, sibling_walk.h) mends instead. Adding
// children after the last one a walk counts (at the end, or before the
// body's final section properties) keeps every remembered position and
// count right, and needs nothing.
void PositionCache_Invalidate(PositionCache& cache);
// Forgets the positions and counts of walks over `parent` only: after a
// change among its children that moves no other parent's.
void PositionCache_ForgetParent(PositionCache& cache, pugi::xml_node parent);
