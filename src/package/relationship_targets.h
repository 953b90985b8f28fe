// How many relationships of all parts target each entry, so that a removal
// tells whether a media entry is still related without reading every
// relationship of every part. All parts means every relationships part of
// the package: the main document's, each header's and footer's (from the
// trees the document holds), and those of parts copied without being read
// (footnotes, comments, a glossary...; from the package's bytes, since they
// never change). Counted by one pass over all of them on first use, then
// kept by Rel_AddID, Rel_DeleteID and Rel_SetTarget
// (package/relationships.h), the only places that edit relationships once
// opened. Targets count as
// resolved against their part's folder, whatever their TargetMode: an
// external address never names an entry of the package.
#pragma once

#include <string>

#include "package/document.h"

// Relationships targeting `entry` (an entry name, any case).
long long RelTargets_Count(Word::Document& document, const std::string& entry);
// A relationship of `part` (null: the main document) now targets / no
// longer targets `target`, as written. Nothing until counted.
void RelTargets_Add(Word::Document& document, Word::HeaderFooterPart* part, const char* target);
void RelTargets_Drop(Word::Document& document, Word::HeaderFooterPart* part, const char* target);
