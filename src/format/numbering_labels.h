// The labels of list paragraphs as readers show them, read from the
// numbering part: level formats and texts, start values, the instances'
// overrides, and counters shared the way word processors share them.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include <pugixml.hpp>

#include "format/number_labels.h"

// The counters of every list met so far in one pass over a document.
struct ListLabels {
    pugi::xml_node numbering;  // the w:numbering element
    std::map<std::string, NumberCounters> counters;
};

// Reads the levels of instance `numId` (its definition's w:lvl, replaced by
// the instance's own w:lvlOverride/w:lvl, with w:startOverride applied).
// False when the part has no such instance.
bool ListLabels_Levels(pugi::xml_node numbering, int64_t numId, NumberLevel (&levels)[9], std::string& listKey);

// Counts the next paragraph of instance `numId` at `level` and returns its
// label; empty when the instance or the level is unknown. Instances of one
// definition share its counters unless they restart it with
// w:startOverride.
std::string ListLabels_Next(ListLabels& labels, int64_t numId, int64_t level);
