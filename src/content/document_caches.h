// What a document remembers about places in its own trees, so that index
// lookups and field detection in order stay linear. Each document has its
// own record: two documents used from two threads never share one.
#pragma once

#include <cstdint>
#include <unordered_set>

#include "content/complex_runs.h"
#include "content/position_cache.h"
#include "format/numbering.h"
#include "host/plugin_sdk.h"

struct DocumentCaches {
    PositionCache positions;
    FieldMarkerMemo fieldMarkers;
    NumberingIndex numbering;  // of the numbering part only: body changes keep it
    // The largest bookmark id in the document and given out since; -1
    // until first looked for. Removals leave it: ids are never reused.
    int64_t highestBookmarkId = -1;
    // Drawing ids (wp:docPr) of the document and given out since; filled
    // on first use. Removals leave them: an id is never given twice.
    std::unordered_set<int64_t> drawingIds;
    bool drawingIdsKnown = false;
};

// Forgets everything: after any change that inserts, removes or moves
// children of a tree before the end (appending needs nothing).
void DocumentCaches_Invalidate(DocumentCaches& caches);

// The caches of a host Document object (what every view's record counts as
// its document), made on first use.
DocumentCaches& DocumentCaches_Of(REALobject document);
