#include "content/document_caches.h"

#include "document/document_data.h"

void DocumentCaches_Invalidate(DocumentCaches& caches) {
    PositionCache_Invalidate(caches.positions);
    FieldCharsCache_Clear(caches.fieldChars);
}

DocumentCaches& DocumentCaches_Of(REALobject document) {
    DocumentData* data = DocumentData_Of(document);
    if (!data->caches) data->caches = new DocumentCaches;
    return *data->caches;
}
