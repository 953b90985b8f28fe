#include "content/position_cache.h"

namespace {

struct Entry {
    pugi::xml_node parent;
    SiblingWalk walk = SiblingWalk::Items;
    SiblingPosition position;
    uint64_t generation = 0;
};

// A few entries, so that nested walks (runs of each paragraph inside a walk
// over paragraphs, cells of each row) keep their places.
constexpr int kEntries = 8;
Entry g_entries[kEntries];
int g_next = 0;
uint64_t g_generation = 1;

}  // namespace

bool PositionCache_Find(pugi::xml_node parent, SiblingWalk walk, int64_t index, SiblingPosition& out) {
    for (const Entry& e : g_entries) {
        if (e.generation == g_generation && e.parent == parent && e.walk == walk &&
            e.position.index <= index && e.position.node) {
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
            return;
        }
    }
    Entry& e = g_entries[g_next];
    g_next = (g_next + 1) % kEntries;
    e.parent = parent;
    e.walk = walk;
    e.position = position;
    e.generation = g_generation;
}

void PositionCache_Invalidate() { ++g_generation; }

uint64_t PositionCache_Generation() { return g_generation; }
