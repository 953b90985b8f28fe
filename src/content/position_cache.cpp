#include "content/position_cache.h"

namespace {

struct Entry {
    pugi::xml_node parent;
    SiblingWalk walk = SiblingWalk::Items;
    SiblingPosition position;
    uint64_t generation = 0;
    uint64_t lastUse = 0;
};

// A few entries, so that nested walks (runs of each paragraph inside a walk
// over paragraphs, cells of each row) keep their places. The entry used
// longest ago makes room for a new one: the outer walk, used between every
// two inner walks, is never the one to go.
constexpr int kEntries = 8;
Entry g_entries[kEntries];
uint64_t g_uses = 0;
uint64_t g_generation = 1;

}  // namespace

bool PositionCache_Find(pugi::xml_node parent, SiblingWalk walk, int64_t index, SiblingPosition& out) {
    for (Entry& e : g_entries) {
        if (e.generation == g_generation && e.parent == parent && e.walk == walk &&
            e.position.index <= index && e.position.node) {
            e.lastUse = ++g_uses;
            out = e.position;
            return true;
        }
    }
    return false;
}

void PositionCache_Store(pugi::xml_node parent, SiblingWalk walk, const SiblingPosition& position) {
    for (Entry& e : g_entries) {
        if (e.generation == g_generation && e.parent == parent && e.walk == walk) {
            e.position = position;
            e.lastUse = ++g_uses;
            return;
        }
    }
    // Entries of an older generation hold nothing; they go first.
    Entry* victim = &g_entries[0];
    for (Entry& e : g_entries) {
        const bool stale = e.generation != g_generation;
        const bool victimStale = victim->generation != g_generation;
        if ((stale && !victimStale) || (stale == victimStale && e.lastUse < victim->lastUse)) victim = &e;
    }
    victim->parent = parent;
    victim->walk = walk;
    victim->position = position;
    victim->generation = g_generation;
    victim->lastUse = ++g_uses;
}

void PositionCache_Invalidate() { ++g_generation; }

uint64_t PositionCache_Generation() { return g_generation; }
