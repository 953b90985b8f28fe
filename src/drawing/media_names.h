// Names of new pictures under word/media/.
#pragma once

#include <string>
#include <unordered_set>

#include "host/plugin_sdk.h"
#include "package/document.h"
#include "package/pending_images.h"

// Every entry name (as PackagePath_Key gives it) that the package file,
// the pending pictures or a relationship of any part (main document,
// headers, footers; external ones aside) already uses.
void MediaNames_Collect(const Word::Document& document, const ImagesToBeAdded& pending,
                        std::unordered_set<std::string>& names);

// A file name "imageN" + extension (with its dot) whose entry
// word/media/<name> nothing in the document uses, nor used since it was
// opened: N is one above the highest imageN in use. The names in use are
// collected once and then kept with the document, so adding many pictures
// stays linear.
std::string Document_NewMediaName(REALobject document, const char* extension);
