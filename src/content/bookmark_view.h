// The host class Bookmark: the view of one w:bookmarkStart and its end.
#pragma once

#include "content/bookmarks.h"
#include "host/bridge.h"
#include "host/plugin_sdk.h"

// Instance record of a Bookmark (host memory starts zeroed).
struct BookmarkData {
    REALobject document;         // counted
    pugi::xml_node parentNode;   // holds the start: a w:p or a w:hyperlink
    pugi::xml_node startNode;
    pugi::xml_node endNode;      // the matching end, wherever it lies in the part; may be empty
};

extern REALclassDefinition BookmarkClass;

inline BookmarkData* BookmarkData_Of(REALobject bookmark) {
    return static_cast<BookmarkData*>(REALGetClassData(bookmark, &BookmarkClass));
}

// A Bookmark view over those nodes; counts the document.
REALobject CreateBookmark(REALobject document, const BookmarkNodes& nodes);
