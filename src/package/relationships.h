// Relationships of a part: free ids, free part names, adding, finding and
// removing relationships, and new parts of the main document. Every part
// has its own: the operations that take a HeaderFooterPart work in that
// header's or footer's relationships (word/_rels/header1.xml.rels), and in
// the main document's (word/_rels/document.xml.rels) when it is null.
#pragma once

#include <string>

#include <pugixml.hpp>

#include "package/document.h"

// Every relationship type the library writes or follows is this base plus a
// kind: header, footer, image, hyperlink, numbering, theme.
constexpr const char* kRelationshipTypeBase =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// What the package's own relationships (_rels/.rels) name the main part
// and the core properties by, and the namespace of every relationships part.
constexpr const char* kOfficeDocumentType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr const char* kStrictOfficeDocumentType =
    "http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument";
constexpr const char* kCorePropertiesType =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
constexpr const char* kPackageRelationshipsNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";

// "rId" + (largest number after the first three characters of any Id) + 1.
std::string Rel_GetNextFreeID(Word::Document& document, Word::HeaderFooterPart* part = nullptr);
// kind + (largest number in the Targets of relationships of that kind, read
// from position prefixLength up to the last dot) + 1 + extension.
std::string Rel_GetFileName(Word::Document& document, const char* extension, const char* kind,
                            size_t prefixLength);
std::string Rel_GetUniqueHeaderName(Word::Document& document);  // headerN.xml
std::string Rel_GetUniqueFooterName(Word::Document& document);  // footerN.xml

// Appends a Relationship (Id, Type = base + kind, Target) and returns it.
// A header or footer without relationships gets its relationships part.
pugi::xml_node Rel_AddID(Word::Document& document, const char* id, const char* target,
                         const char* kind, Word::HeaderFooterPart* part = nullptr);
// An image relationship of `part` to word/media/<fileName>: relative to the
// part's folder when it lies below it, else absolute.
void Rel_AddImageID(Word::Document& document, const char* id, const char* fileName,
                    Word::HeaderFooterPart* part = nullptr);
void Rel_AddHeaderID(Word::Document& document, const char* id, const char* target);
void Rel_AddFooterID(Word::Document& document, const char* id, const char* target);
// Relates word/<name> to the main document as a part of `kind`: a
// relationship under a free id (returned) and the part's content type.
std::string Rel_RelateDocumentPart(Word::Document& document, const char* name, const char* kind,
                                   const char* contentType);
// Adds word/<name> as a new part of the main document: a relationship of
// `kind` under a free id, the part's content type, and in `xml` (emptied)
// the root element `root` declaring the WordprocessingML namespace, which is
// returned. Empty, and nothing added, when the package lacks the main
// document's relationships or the content-type table.
pugi::xml_node Rel_AddDocumentPart(Word::Document& document, const char* name, const char* kind,
                                   const char* contentType, pugi::xml_document& xml, const char* root);
// Removes the first relationship of that Id; false when there is none.
bool Rel_DeleteID(Word::Document& document, const char* id, Word::HeaderFooterPart* part = nullptr);
// Target of the first relationship of that Id; an empty attribute and
// found = false when there is none.
pugi::xml_attribute Rel_TargetFromID(Word::Document& document, const char* id, bool& found,
                                     Word::HeaderFooterPart* part = nullptr);
// The first Relationship of that Id; empty when there is none.
pugi::xml_node Rel_FromID(Word::Document& document, const char* id, Word::HeaderFooterPart* part = nullptr);
// Points the first relationship of that Id at `target` (one without a
// Target stays so); false when there is none. A header's or footer's relationships are then saved again.
bool Rel_SetTarget(Word::Document& document, const char* id, const char* target,
                   Word::HeaderFooterPart* part = nullptr);
// The entry name of the part whose relationships these are, against which
// their targets resolve: the main part for null.
std::string Rel_PartName(const Word::Document& document, Word::HeaderFooterPart* part);
