#include "package/pending_images.h"

#include "host/bridge.h"
#include "package/document_data.h"

void AddToImageToBeAdded(DocumentData* data, std::string_view relId, std::string_view fileName,
                         REALstring bytes) {
    ImageToBeAdded* image = new ImageToBeAdded{std::string(relId), bytes, std::string(fileName),
                                               nullptr};
    REALLockString(bytes);
    ImagesToBeAdded& list = data->pendingImages;
    if (list.tail)
        list.tail->next = image;
    else
        list.head = image;
    list.tail = image;
}

REALstring GetDataFromImageToBeAdded(DocumentData* data, std::string_view relId) {
    for (ImageToBeAdded* image = data->pendingImages.head; image; image = image->next) {
        if (image->relId == relId) {
            REALLockString(image->data);
            return image->data;
        }
    }
    return nullptr;
}

namespace {

void FreeImage(ImageToBeAdded* image) {
    REALUnlockString(image->data);
    delete image;
}

}  // namespace

bool RemoveIfHasImageToBeAdded(DocumentData* data, std::string_view relId) {
    ImagesToBeAdded& list = data->pendingImages;
    ImageToBeAdded* previous = nullptr;
    for (ImageToBeAdded* image = list.head; image; previous = image, image = image->next) {
        if (image->relId != relId) continue;
        if (previous)
            previous->next = image->next;
        else
            list.head = image->next;
        if (list.tail == image) list.tail = previous;
        FreeImage(image);
        return true;
    }
    return false;
}

void DeleteImagesMarkedToBeAdded(DocumentData* data) {
    ImageToBeAdded* image = data->pendingImages.head;
    while (image) {
        ImageToBeAdded* next = image->next;
        FreeImage(image);
        image = next;
    }
    data->pendingImages.head = data->pendingImages.tail = nullptr;
}
