#include "document/document_data.h"

#include "content/document_caches.h"

void DocumentData_Init(DocumentData* data) {
    data->sourceFile = nullptr;
    data->wordDocument = nullptr;
    data->deletedFiles = new Word::DeletedFileList;
    data->pendingImages.head = data->pendingImages.tail = nullptr;
    data->caches = nullptr;
}

void DocumentData_Destroy(DocumentData* data) {
    DeleteImagesMarkedToBeAdded(data);
    delete data->wordDocument;
    data->wordDocument = nullptr;
    if (data->sourceFile) REALUnlockObject(data->sourceFile);
    data->sourceFile = nullptr;
    delete data->deletedFiles;
    data->deletedFiles = nullptr;
    delete data->caches;
    data->caches = nullptr;
}
