// The iterator classes: cursors over the items of a container, the runs or
// items of a paragraph and the runs of a hyperlink, for the host's for-each
// loop. Each step fetches its item through the owner's ordinary index
// lookup, so a walk costs what a loop over indexes costs.
#pragma once

#include <cstdint>

#include "host/plugin_sdk.h"

extern REALclassDefinition ParagraphIteratorClass;
extern REALclassDefinition TableIteratorClass;
extern REALclassDefinition RunIteratorClass;
extern REALclassDefinition ParagraphItemIteratorClass;
extern REALclassDefinition DocumentItemIteratorClass;

// The owner's lookup by index: a new view, or nil when the index addresses
// no item.
typedef REALobject (*IteratorAccessor)(REALobject owner, RBInteger index);

struct IteratorData {
    REALobject owner;          // counted
    int64_t count;             // items when the iterator was made
    int64_t current;           // -1 before the first MoveNext
    IteratorAccessor accessor;
};

// A new iterator of `cls` over `count` items of `owner` (counted), before
// its first item.
REALobject Iterator_New(REALclassDefinition* cls, REALobject owner, int64_t count, IteratorAccessor accessor);
