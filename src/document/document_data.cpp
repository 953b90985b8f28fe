#include "document/document_data.h"

#include <new>

#include "content/document_caches.h"

void DocumentData_Init(DocumentData* data) {
    data->sourceFile = nullptr;
    data->wordDocument = nullptr;
    new (&data->deletedFiles) Word::DeletedFileList();  // an empty list allocates nothing
    data->pendingImages.head = data->pendingImages.tail = nullptr;
    data->pendingImages.byEntry = nullptr;
    data->caches = nullptr;
}

void DocumentData_Destroy(DocumentData* data) {
    DeleteImagesMarkedToBeAdded(data);
    delete data->wordDocument;
    data->wordDocument = nullptr;
    if (data->sourceFile) REALUnlockObject(data->sourceFile);
    data->sourceFile = nullptr;
    // Left an empty list that holds no memory, like the other members are
    // left: the host frees the record without running C++ destructors, and
    // a record that is a C++ object (as in tests) is destroyed once more.
    Word::DeletedFileList().swap(data->deletedFiles);
    delete data->caches;
    data->caches = nullptr;
}
