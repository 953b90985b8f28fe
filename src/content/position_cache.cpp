#include "content/position_cache.h"

bool PositionCache_Find(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk, int64_t index,
                        SiblingPosition& out) {
    for (PositionCacheEntry& e : cache.entries) {
        if (e.generation == cache.generation && e.parent == parent && e.walk == walk &&
            e.position.index <= index && e.position.node) {
            e.lastUse = ++cache.uses;
            out = e.position;
            return true;
        }
    }
    return false;
}

void PositionCache_Store(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk,
                         const SiblingPosition& position) {
    for (PositionCacheEntry& e : cache.entries) {
        if (e.generation == cache.generation && e.parent == parent && e.walk == walk) {
            e.position = position;
            e.lastUse = ++cache.uses;
            return;
        }
    }
    // Entries of an older generation go first, then the one used longest
    // ago: the outer walk, used between every two inner walks, is never the
    // one to go.
    PositionCacheEntry* victim = &cache.entries[0];
    for (PositionCacheEntry& e : cache.entries) {
        const bool stale = e.generation != cache.generation;
        const bool victimStale = victim->generation != cache.generation;
        if ((stale && !victimStale) || (stale == victimStale && e.lastUse < victim->lastUse)) victim = &e;
    }
    victim->parent = parent;
    victim->walk = walk;
    victim->position = position;
    victim->generation = cache.generation;
    victim->lastUse = ++cache.uses;
}

void PositionCache_Invalidate(PositionCache& cache) { ++cache.generation; }

CountCacheEntry* PositionCache_FindCount(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk) {
    for (CountCacheEntry& e : cache.counts) {
        if (e.generation == cache.generation && e.parent == parent && e.walk == walk) {
            e.lastUse = ++cache.uses;
            return &e;
        }
    }
    return nullptr;
}

CountCacheEntry& PositionCache_NewCount(PositionCache& cache, pugi::xml_node parent, SiblingWalk walk) {
    CountCacheEntry* victim = &cache.counts[0];
    for (CountCacheEntry& e : cache.counts) {
        const bool stale = e.generation != cache.generation;
        const bool victimStale = victim->generation != cache.generation;
        if ((stale && !victimStale) || (stale == victimStale && e.lastUse < victim->lastUse)) victim = &e;
    }
    *victim = CountCacheEntry{};
    victim->parent = parent;
    victim->walk = walk;
    victim->generation = cache.generation;
    victim->lastUse = ++cache.uses;
    return *victim;
}

void PositionCache_ForgetParent(PositionCache& cache, pugi::xml_node parent) {
    for (PositionCacheEntry& e : cache.entries)
        if (e.parent == parent) e.generation = 0;
    for (CountCacheEntry& e : cache.counts)
        if (e.parent == parent) e.generation = 0;
}
