#include "content/sibling_walk.h"

#include <cstring>

namespace {

bool Named(pugi::xml_node n, const char* name) { return std::strcmp(n.name(), name) == 0; }

// Whether `child` takes an index in the walk; `insideField` carries the
// logical-run state from one child to the next.
bool Counts(SiblingWalk walk, pugi::xml_node child, int& insideField) {
    switch (walk) {
    case SiblingWalk::Items: return Named(child, "w:p") || Named(child, "w:tbl");
    case SiblingWalk::Paragraphs: return Named(child, "w:p");
    case SiblingWalk::Tables: return Named(child, "w:tbl");
    case SiblingWalk::Runs: return Named(child, "w:r");
    case SiblingWalk::ParagraphItems: return Named(child, "w:r") || Named(child, "w:hyperlink");
    case SiblingWalk::Rows: return Named(child, "w:tr");
    case SiblingWalk::Cells: return Named(child, "w:tc");
    case SiblingWalk::GridColumns: return Named(child, "w:gridCol");
    case SiblingWalk::LogicalParagraphItems:
        // A hyperlink is one item, even between a field's begin and end.
        if (Named(child, "w:hyperlink")) return true;
        [[fallthrough]];
    case SiblingWalk::LogicalRuns: {
        if (!Named(child, "w:r")) return false;
        const int sep = Run_GetFieldSeparator(child);
        if (!insideField) {
            if (sep == FieldSeparatorBegin) {
                insideField = 1;
                return false;
            }
            return true;
        }
        if (sep == FieldSeparatorEnd) {
            insideField = 0;
            return true;
        }
        return false;
    }
    }
    return false;
}

// Whether a child counts by its name alone, so that taking one out changes
// no other child's standing.
bool Stateless(SiblingWalk walk) {
    return walk != SiblingWalk::LogicalRuns && walk != SiblingWalk::LogicalParagraphItems;
}

// The counted child before `child` (a walk without state); empty when none.
pugi::xml_node PreviousCounted(SiblingWalk walk, pugi::xml_node child) {
    int none = 0;
    pugi::xml_node before = child.previous_sibling();
    while (before && !(before.type() == pugi::node_element && Counts(walk, before, none)))
        before = before.previous_sibling();
    return before;
}

// Counts the children after the entry's last counted one (all of them
// when none was), and makes the last of them its last counted one. The
// children after the last counted one (the body's section properties, a
// paragraph's bookmark ends) are walked on every look: children added
// before them are counted too.
void CatchUp(CountCacheEntry& e) {
    int state = e.state;
    for (pugi::xml_node child = e.lastCounted ? e.lastCounted.next_sibling() : e.parent.first_child(); child;
         child = child.next_sibling()) {
        if (child.type() != pugi::node_element || !Counts(e.walk, child, state)) continue;
        ++e.count;
        e.lastCounted = child;
        e.state = state;
    }
}

}  // namespace

int Run_GetFieldSeparator(pugi::xml_node run) {
    pugi::xml_node fld = run.child("w:fldChar");
    if (!fld) return FieldSeparatorNone;
    const char* type = fld.attribute("w:fldCharType").value();
    if (std::strcmp(type, "begin") == 0) return FieldSeparatorBegin;
    if (std::strcmp(type, "end") == 0) return FieldSeparatorEnd;
    if (std::strcmp(type, "separate") == 0) return FieldSeparatorSeparate;
    return FieldSeparatorNone;
}

pugi::xml_node SiblingAt(pugi::xml_node parent, SiblingWalk walk, int64_t index, PositionCache& cache) {
    if (!parent || index < 0) return {};
    SiblingPosition pos;
    pugi::xml_node child;
    int64_t counted = 0;
    int state = 0;
    if (PositionCache_Find(cache, parent, walk, index, pos)) {
        if (pos.index == index) return pos.node;
        child = pos.node.next_sibling();
        counted = pos.index + 1;
        state = pos.state;
    } else {
        child = parent.first_child();
    }
    for (; child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element || !Counts(walk, child, state)) continue;
        if (counted == index) {
            PositionCache_Store(cache, parent, walk, SiblingPosition{child, index, state});
            return child;
        }
        ++counted;
    }
    return {};
}

int64_t SiblingCount(pugi::xml_node parent, SiblingWalk walk) {
    int64_t n = 0;
    int state = 0;
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && Counts(walk, child, state)) ++n;
    return n;
}

int64_t SiblingCount(pugi::xml_node parent, SiblingWalk walk, PositionCache& cache) {
    if (!parent) return 0;
    CountCacheEntry* e = PositionCache_FindCount(cache, parent, walk);
    // A last counted child that left the parent cannot say where the count
    // stopped (every removal that does not say what it removes drops the
    // counts, so this is only a guard).
    if (e && e->lastCounted && e->lastCounted.parent() != parent) {
        e->lastCounted = pugi::xml_node();
        e->count = 0;
        e->state = 0;
    }
    if (!e) e = &PositionCache_NewCount(cache, parent, walk);
    CatchUp(*e);
    return e->count;
}

namespace {

// What a remembered place or count of `walk` over the child's parent
// becomes when `child` is taken out: mended (true) or to be forgotten.
bool MendPlace(PositionCacheEntry& e, SiblingWalk walk, pugi::xml_node child) {
    int none = 0;
    const bool counted = child.type() == pugi::node_element && Counts(walk, child, none);
    if (!counted) return true;  // a child the walk does not count moves no index
    if (e.position.node != child) return false;  // its order against the child is not known
    // The place moves to the counted child before it, one index down.
    pugi::xml_node before = PreviousCounted(walk, child);
    if (!before) return false;
    e.position.node = before;
    --e.position.index;
    return true;
}

bool MendCount(CountCacheEntry& e, SiblingWalk walk, pugi::xml_node child, pugi::xml_node parent) {
    if (e.lastCounted && e.lastCounted.parent() != parent) return false;
    CatchUp(e);
    int none = 0;
    if (!(child.type() == pugi::node_element && Counts(walk, child, none))) return true;
    --e.count;
    if (e.lastCounted == child) e.lastCounted = PreviousCounted(walk, child);
    return true;
}

// Mends the places and counts over `parent` of the walks `mended` allows,
// and forgets the other walks' over it; other parents' stay.
template <typename Allowed>
void Removing(pugi::xml_node parent, pugi::xml_node child, PositionCache& cache, Allowed mended) {
    for (PositionCacheEntry& e : cache.entries) {
        if (e.generation != cache.generation || e.parent != parent) continue;
        if (!mended(e.walk) || !MendPlace(e, e.walk, child)) e.generation = 0;
    }
    for (CountCacheEntry& e : cache.counts) {
        if (e.generation != cache.generation || e.parent != parent) continue;
        if (!mended(e.walk) || !MendCount(e, e.walk, child, parent)) e.generation = 0;
    }
}

}  // namespace

void SiblingRemoving(pugi::xml_node parent, SiblingWalk walk, pugi::xml_node child, PositionCache& cache) {
    if (!parent || child.parent() != parent) return;
    if (!Stateless(walk)) {
        PositionCache_Invalidate(cache);
        return;
    }
    Removing(parent, child, cache, [walk](SiblingWalk w) { return w == walk; });
}

void SiblingRemovingBlock(pugi::xml_node parent, pugi::xml_node block, PositionCache& cache) {
    if (!parent || block.parent() != parent) return;
    Removing(parent, block, cache, [](SiblingWalk w) {
        return w == SiblingWalk::Items || w == SiblingWalk::Paragraphs || w == SiblingWalk::Tables;
    });
}
