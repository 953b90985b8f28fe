#include "document/document_bookmarks.h"

#include "content/bookmark_view.h"
#include "content/bookmarks.h"
#include "content/document_caches.h"
#include "document/document_data.h"
#include "host/bridge.h"
#include "package/discarded_nodes.h"

REALarray GetBookmarks(REALobject document) {
    REALarray list = REALCreateArray(kREALArrayTypeObject, -1);
    if (!list) return nullptr;
    pugi::xml_node body =
        DocumentData_Of(document)->wordDocument->documentXml.child("w:document").child("w:body");
    RBInteger index = 0;
    for (const BookmarkNodes& nodes : Bookmarks_OfBody(body)) {
        REALobject bookmark = CreateBookmark(document, nodes);
        if (!bookmark) continue;
        REALInsertArrayValueObject(list, index++, bookmark);
        REALUnlockObject(bookmark);
    }
    return list;
}

// Both ends go, the end found again by its id: it may lie in another
// paragraph, or have been moved since the view was made.
void RemoveBookmark(REALobject document, REALobject bookmark) {
    if (!bookmark) return;
    BookmarkData* data = BookmarkData_Of(bookmark);
    pugi::xml_node start = data->startNode;
    if (!start || start.parent() != data->parentNode) return;
    // Other views of the bookmark may still hold its ends: they are
    // discarded, not freed.
    if (pugi::xml_node end = Bookmark_FindEnd(start)) Xml_Discard(end);
    Xml_Discard(start);
    // This view no longer refers to anything.
    data->startNode = data->endNode = data->parentNode = pugi::xml_node();
    DocumentCaches_Invalidate(DocumentCaches_Of(document));
}
