// The instance record of the host Document class. The class reaches into
// every subsystem, so it sits above them all.
#pragma once

#include "host/bridge.h"
#include "host/plugin_sdk.h"
#include "package/document.h"
#include "package/pending_images.h"

struct DocumentCaches;

// The host hands over zeroed memory of this size; DocumentData_Init makes
// the record in it without allocating, so a record is never half-made.
struct DocumentData {
    REALobject sourceFile;             // FolderItem opened from, locked
    Word::Document* wordDocument;      // owned
    Word::DeletedFileList deletedFiles;  // entries the next Save leaves out
    ImagesToBeAdded pendingImages;     // pictures the next Save writes
    DocumentCaches* caches;            // owned; made on first use (DocumentCaches_Of)
};

// The host's class definition of Document, defined with its members.
extern REALclassDefinition DocumentClass;

inline DocumentData* DocumentData_Of(REALobject document) {
    return static_cast<DocumentData*>(REALGetClassData(document, &DocumentClass));
}

// Bodies of the class's initializer and destructor.
void DocumentData_Init(DocumentData* data);
void DocumentData_Destroy(DocumentData* data);

// The pending-picture operations on the document's list.
inline void AddToImageToBeAdded(DocumentData* data, std::string_view relId, std::string_view fileName,
                                REALstring bytes) {
    AddToImageToBeAdded(data->pendingImages, relId, fileName, bytes);
}
inline REALstring GetDataFromImageToBeAdded(DocumentData* data, std::string_view relId) {
    return GetDataFromImageToBeAdded(data->pendingImages, relId);
}
inline bool RemoveIfHasImageToBeAdded(DocumentData* data, std::string_view relId) {
    return RemoveIfHasImageToBeAdded(data->pendingImages, relId);
}
inline void DeleteImagesMarkedToBeAdded(DocumentData* data) { DeleteImagesMarkedToBeAdded(data->pendingImages); }

// The same reached through the host object.
inline void AddToImageToBeAdded(REALobject document, std::string_view relId,
                                std::string_view fileName, REALstring bytes) {
    AddToImageToBeAdded(DocumentData_Of(document), relId, fileName, bytes);
}
inline REALstring GetDataFromImageToBeAdded(REALobject document, std::string_view relId) {
    return GetDataFromImageToBeAdded(DocumentData_Of(document), relId);
}
inline bool RemoveIfHasImageToBeAdded(REALobject document, std::string_view relId) {
    return RemoveIfHasImageToBeAdded(DocumentData_Of(document), relId);
}
