// Ids of drawings ("wp:docPr" id), unique in the document. Inline pictures
// and anchored shapes take theirs from here.
#pragma once

#include <cstdint>

#include <pugixml.hpp>

#include "host/plugin_sdk.h"
#include "package/document.h"

// The largest "wp:docPr" id in the main document, its headers and its
// footers (removed elements not counted); 0 when there is none.
int64_t Document_HighestDrawingId(const Word::Document& document);

// A new drawing id: one more than the highest in use or given out before in
// this document (never 0, never repeated). The highest is looked for once
// and then kept with the document.
int64_t Document_NextDrawingId(REALobject document);
