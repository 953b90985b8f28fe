// The content-type table of the package ([Content_Types].xml).
#pragma once

#include "package/document.h"

// Adds a Default for the extension (without dot) unless one exists.
void RegisterExtension(Word::Document& document, const char* extension, const char* contentType);
// Appends an Override for the part name ("/word/header1.xml"), even when
// the same one exists.
void ContentType_AddPart(Word::Document& document, const char* partName, const char* contentType);
// Gives the part name its content type: the Override that names the part
// (part names ignore case) is updated, or a new one appended.
void ContentType_SetPart(Word::Document& document, const char* partName, const char* contentType);
