// The Document members that list and remove bookmarks. Registered in the
// Document class's tables.
#pragma once

#include "host/plugin_sdk.h"

REALarray GetBookmarks(REALobject document);
void RemoveBookmark(REALobject document, REALobject bookmark);
