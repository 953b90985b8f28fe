// What a document remembers about places in its own trees, so that index
// lookups and field detection in order stay linear. Each document has its
// own record: two documents used from two threads never share one.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "content/field_chars.h"
#include "content/position_cache.h"
#include "format/numbering.h"
#include "host/plugin_sdk.h"

struct DocumentCaches {
    PositionCache positions;
    FieldCharsCache fieldChars;
    NumberingIndex numbering;  // of the numbering part only: body changes keep it
    // The largest bookmark id in the document and given out since; -1
    // until first looked for. Removals leave it: ids are never reused.
    int64_t highestBookmarkId = -1;
    // The largest wp:docPr id in the document and given out since; -1
    // until first looked for (drawing/drawing_ids.h).
    int64_t highestDrawingId = -1;
    // Entry names (PackagePath_Key) under which a new picture must not be
    // stored: every archive entry, pending picture and relationship target
    // of any part; filled on first use (drawing/media_names.h). Names stay
    // once taken, so a deleted picture's name is never given out again.
    std::unordered_set<std::string> mediaNamesInUse;
    bool mediaNamesKnown = false;
    long long nextImageNumber = 1;
};

// Forgets everything: after any change that inserts, removes or moves
// children of a tree before the end (appending needs nothing).
void DocumentCaches_Invalidate(DocumentCaches& caches);

// The caches of a host Document object (what every view's record counts as
// its document), made on first use.
DocumentCaches& DocumentCaches_Of(REALobject document);
