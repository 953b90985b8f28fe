#include "package/pending_images.h"

#include "host/bridge.h"
#include "package/package_paths.h"

namespace {

std::string EntryKey(const ImageToBeAdded* image) { return PackagePath_Key("word/media/" + image->fileName); }

ImagesByEntry& IndexOf(ImagesToBeAdded& list) {
    if (!list.byEntry) {
        list.byEntry = new ImagesByEntry;
        for (ImageToBeAdded* image = list.head; image; image = image->next)
            (*list.byEntry)[EntryKey(image)].push_back(image);
    }
    return *list.byEntry;
}

void FreeImage(ImageToBeAdded* image) {
    REALUnlockString(image->data);
    delete image;
}

}  // namespace

void AddToImageToBeAdded(ImagesToBeAdded& list, std::string_view relId, std::string_view fileName,
                         REALstring bytes) {
    ImageToBeAdded* image = new ImageToBeAdded{std::string(relId), bytes, std::string(fileName),
                                               nullptr, list.tail};
    REALLockString(bytes);
    if (list.tail)
        list.tail->next = image;
    else
        list.head = image;
    list.tail = image;
    if (list.byEntry) (*list.byEntry)[EntryKey(image)].push_back(image);
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

void Unlink(ImagesToBeAdded& list, ImageToBeAdded* image) {
    (image->previous ? image->previous->next : list.head) = image->next;
    (image->next ? image->next->previous : list.tail) = image->previous;
    if (list.byEntry) {
        auto found = list.byEntry->find(EntryKey(image));
        if (found != list.byEntry->end()) {
            std::vector<ImageToBeAdded*>& records = found->second;
            for (auto it = records.begin(); it != records.end(); ++it)
                if (*it == image) {
                    records.erase(it);
                    break;
                }
            if (records.empty()) list.byEntry->erase(found);
        }
    }
    FreeImage(image);
}

}  // namespace

bool RemoveIfHasImageToBeAdded(ImagesToBeAdded& list, std::string_view relId) {
    for (ImageToBeAdded* image = list.head; image; image = image->next)
        if (image->relId == relId) {
            Unlink(list, image);
            return true;
        }
    return false;
}

REALstring GetDataFromImageToBeAddedByEntry(const ImagesToBeAdded& list, std::string_view entryName) {
    // A reader changes nothing: the index is used when a removal made it.
    const std::string key = PackagePath_Key(std::string(entryName));
    const ImageToBeAdded* first = nullptr;
    if (list.byEntry) {
        auto found = list.byEntry->find(key);
        if (found != list.byEntry->end()) first = found->second.front();
    } else {
        for (const ImageToBeAdded* image = list.head; image && !first; image = image->next)
            if (EntryKey(image) == key) first = image;
    }
    if (!first) return nullptr;
    REALLockString(first->data);
    return first->data;
}

bool RemoveImageToBeAddedByEntry(ImagesToBeAdded& list, std::string_view entryName) {
    ImagesByEntry& index = IndexOf(list);
    auto found = index.find(PackagePath_Key(std::string(entryName)));
    if (found == index.end()) return false;
    Unlink(list, found->second.front());
    return true;
}

void DeleteImagesMarkedToBeAdded(ImagesToBeAdded& list) {
    ImageToBeAdded* image = list.head;
    while (image) {
        ImageToBeAdded* next = image->next;
        FreeImage(image);
        image = next;
    }
    list.head = list.tail = nullptr;
    delete list.byEntry;
    list.byEntry = nullptr;
}
