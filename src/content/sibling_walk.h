// Counting and finding children of an element by the rules that give items,
// paragraphs, tables, runs, logical runs and paragraph items their indexes.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "content/position_cache.h"

// The index-th child of `parent` that the walk counts; empty when there is
// none (negative indexes never match). Lookups in order resume where the
// last one, remembered in `cache`, stopped: they are linear overall.
pugi::xml_node SiblingAt(pugi::xml_node parent, SiblingWalk walk, int64_t index, PositionCache& cache);
// How many children of `parent` the walk counts.
int64_t SiblingCount(pugi::xml_node parent, SiblingWalk walk);

// Field separator of a run: its first w:fldChar's w:fldCharType.
enum FieldSeparator : int {
    FieldSeparatorNone = -1,
    FieldSeparatorBegin = 0,
    FieldSeparatorEnd = 1,
    FieldSeparatorSeparate = 2,
};
int Run_GetFieldSeparator(pugi::xml_node run);
