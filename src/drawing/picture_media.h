// Where a picture's bytes live: the relationship of the part that holds the
// picture, its target resolved as a package path, and the entry (in the
// package file or waiting in the pending list) it names.
#pragma once

#include <string>

#include <pugixml.hpp>

#include "host/plugin_sdk.h"
#include "package/document.h"

// The entry the relationship relId of `part` (null: the main document)
// targets, resolved against the part's folder ("media/a.png",
// "../media/a.png" and "/word/media/a.png" from word/document.xml all give
// word/media/a.png). found is false when there is no such relationship;
// the result is empty when its target is external or leaves the package.
std::string PictureMedia_Entry(Word::Document& document, Word::HeaderFooterPart* part, const char* relId,
                               bool& found);

// The bytes of the picture relId of `part` relates: the pending picture
// written to that entry, else the entry of the package file. *out is nil
// (and the result success) when the relationship is missing; a failure to
// read the package is returned with *out nil.
Word::open_result_code PictureMedia_Read(REALobject document, Word::HeaderFooterPart* part, const char* relId,
                                         REALstring* out);

// Deletes the picture relationship relId of `part`, which nothing of the
// part uses any more, and its entry (the pending picture, or the package
// entry, marked for deletion at the next save) when no relationship of any
// part still targets it.
void PictureMedia_Release(REALobject document, Word::HeaderFooterPart* part, const char* relId);
