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
// The same, remembered in `cache`: asked again, it costs constant time, and
// children appended since are counted on from where the last count stopped.
int64_t SiblingCount(pugi::xml_node parent, SiblingWalk walk, PositionCache& cache);
// Call right before taking `child` out of `parent` (the child still in
// place): what `cache` remembers of walks over `parent` is brought in line
// with the removal instead of forgotten. The count goes one down; the
// place of the child itself moves to the counted child before it; places
// whose order against the child is not known, and those of other walks
// over the parent, are dropped. Every other parent's places and counts
// stay. For a walk whose counting depends on the children before (logical
// runs), everything is forgotten.
void SiblingRemoving(pugi::xml_node parent, SiblingWalk walk, pugi::xml_node child, PositionCache& cache);
// The same for a block (a w:p or w:tbl) taken out of a container: the
// walks over its items, paragraphs and tables are all mended.
void SiblingRemovingBlock(pugi::xml_node parent, pugi::xml_node block, PositionCache& cache);

// Field separator of a run: its first w:fldChar's w:fldCharType.
enum FieldSeparator : int {
    FieldSeparatorNone = -1,
    FieldSeparatorBegin = 0,
    FieldSeparatorEnd = 1,
    FieldSeparatorSeparate = 2,
};
int Run_GetFieldSeparator(pugi::xml_node run);
