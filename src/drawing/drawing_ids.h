// Identifiers of the drawings of one document (wp:docPr ids).
#pragma once

#include <cstdint>

#include "host/plugin_sdk.h"

// A new drawing id for the Document object `document`: a random number in
// 1..134217726 that no wp:docPr of the main part, a header or a footer uses
// and that was not given out before (readers reject or renumber a document
// whose drawings share an id). The ids in use are gathered once a document.
int64_t Document_NextDrawingId(REALobject document);
