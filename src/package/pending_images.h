// Pictures added since the last save, waiting to be written under
// word/media/ by the next save. The list lives in the document's record.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/plugin_sdk.h"

struct ImageToBeAdded {
    std::string relId;     // the relationship the picture was registered under
    REALstring data;       // the picture's bytes, locked while listed
    std::string fileName;  // image3.png: the entry is word/media/image3.png
    ImageToBeAdded* next;
    ImageToBeAdded* previous;
};

// The records of each entry (PackagePath_Key), in list order.
typedef std::unordered_map<std::string, std::vector<ImageToBeAdded*>> ImagesByEntry;

// Lives in zeroed host memory: all null is the empty list.
struct ImagesToBeAdded {
    ImageToBeAdded* head;
    ImageToBeAdded* tail;
    // Made on the first removal by entry, then kept: removing (and then
    // finding) a picture by entry costs the same however many wait.
    ImagesByEntry* byEntry;
};

// Appends a record (copies of both names, data locked).
void AddToImageToBeAdded(ImagesToBeAdded& list, std::string_view relId, std::string_view fileName,
                         REALstring bytes);
// The bytes of the first record of relId, locked once more for the caller
// (who unlocks them); nil when none.
REALstring GetDataFromImageToBeAdded(const ImagesToBeAdded& list, std::string_view relId);
// Drops the first record of relId; false when there is none.
bool RemoveIfHasImageToBeAdded(ImagesToBeAdded& list, std::string_view relId);
// The same, found by the entry the picture is written to ("word/media/
// image3.png"; case does not matter), which, unlike a relationship id, is
// the same from every part that relates the picture.
REALstring GetDataFromImageToBeAddedByEntry(const ImagesToBeAdded& list, std::string_view entryName);
bool RemoveImageToBeAddedByEntry(ImagesToBeAdded& list, std::string_view entryName);
// Drops every record (and the index by entry).
void DeleteImagesMarkedToBeAdded(ImagesToBeAdded& list);
