#include "package/pending_images.h"

#include "host/bridge.h"
#include "package/package_paths.h"

void AddToImageToBeAdded(ImagesToBeAdded& list, std::string_view relId, std::string_view fileName,
                         REALstring bytes) {
    ImageToBeAdded* image = new ImageToBeAdded{std::string(relId), bytes, std::string(fileName),
                                               nullptr};
    REALLockString(bytes);
    if (list.tail)
        list.tail->next = image;
    else
        list.head = image;
    list.tail = image;
}

REALstring GetDataFromImageToBeAdded(const ImagesToBeAdded& list, std::string_view relId) {
    for (ImageToBeAdded* image = list.head; image; image = image->next) {
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

bool EntryIs(const ImageToBeAdded* image, std::string_view entryName) {
    return PackagePath_SameName("word/media/" + image->fileName, std::string(entryName));
}

// Unlinks and frees the first record `matches` accepts.
template <class Match>
bool RemoveFirst(ImagesToBeAdded& list, Match matches) {
    ImageToBeAdded* previous = nullptr;
    for (ImageToBeAdded* image = list.head; image; previous = image, image = image->next) {
        if (!matches(image)) continue;
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

}  // namespace

bool RemoveIfHasImageToBeAdded(ImagesToBeAdded& list, std::string_view relId) {
    return RemoveFirst(list, [&](const ImageToBeAdded* image) { return image->relId == relId; });
}

REALstring GetDataFromImageToBeAddedByEntry(const ImagesToBeAdded& list, std::string_view entryName) {
    for (ImageToBeAdded* image = list.head; image; image = image->next) {
        if (EntryIs(image, entryName)) {
            REALLockString(image->data);
            return image->data;
        }
    }
    return nullptr;
}

bool RemoveImageToBeAddedByEntry(ImagesToBeAdded& list, std::string_view entryName) {
    return RemoveFirst(list, [&](const ImageToBeAdded* image) { return EntryIs(image, entryName); });
}

void DeleteImagesMarkedToBeAdded(ImagesToBeAdded& list) {
    ImageToBeAdded* image = list.head;
    while (image) {
        ImageToBeAdded* next = image->next;
        FreeImage(image);
        image = next;
    }
    list.head = list.tail = nullptr;
}
