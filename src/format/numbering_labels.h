// The labels of list paragraphs as readers show them, read from the
// numbering part: level formats and texts, start values, the instances'
// overrides, and counters shared the way word processors share them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include <pugixml.hpp>

#include "format/number_labels.h"

// The levels of one instance (its definition's w:lvl, changed by the
// instance's own w:lvlOverride/w:lvl), read once in a pass, and its
// w:startOverride values, which restart the shared counters once.
struct InstanceLevels {
    bool found = false;
    NumberLevel levels[9];
    std::string listKey;
    bool restarts[9] = {};       // the level has a w:startOverride
    int64_t restartAt[9] = {};   // its value
    bool restarted = false;      // one of them has been applied in this pass
};

// The counters of every list met so far in one pass over a document, and
// the instances and definitions of the part by number, found on first use
// (a document of many lists is counted in one pass, not one per paragraph).
struct ListLabels {
    pugi::xml_node numbering;  // the w:numbering element
    std::map<std::string, NumberCounters> counters;
    bool indexed = false;
    std::unordered_map<int64_t, pugi::xml_node> nums;              // the first w:num of each number
    std::unordered_map<std::string, pugi::xml_node> definitions;   // the first w:abstractNum of each id
    std::unordered_map<int64_t, InstanceLevels> instances;
};

// Counts the next paragraph of instance `numId` at `level` and returns its
// label; empty when the instance or the level is unknown. All instances of
// one definition share its counters. An instance's first paragraph at a
// level it gives a w:startOverride restarts that level there at the
// override's value; that spends all of the instance's overrides. A level
// the definition lacks shows no label when a deeper level is defined, and
// its own decimal number ("%N.") otherwise.
std::string ListLabels_Next(ListLabels& labels, int64_t numId, int64_t level);
