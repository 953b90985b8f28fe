// Complex fields as runs see them: which runs make up the field a run
// belongs to, which of them carries the displayed text and the instruction,
// and what kind of field the instruction describes.
#pragma once

#include <string>
#include <vector>

#include <pugixml.hpp>

// Host enumeration ComplexRunFieldTypes.
enum ComplexRunFieldType : int {
    ComplexRunFieldUnknown = -2,
    ComplexRunFieldNone = 0,
    ComplexRunFieldDate = 1,
    ComplexRunFieldTime = 2,
    ComplexRunFieldHyperlink = 3,
    ComplexRunFieldPageNumber = 4,
    ComplexRunFieldPageCount = 5,
};

// For runs of a few paragraphs: the last begin or end run at or before each
// run asked about last (empty when there is none). Each document keeps its
// own (document_caches.h); it must be cleared whenever the position cache
// of the same document is dropped.
struct FieldMarkerMemoEntry {
    pugi::xml_node run;
    pugi::xml_node marker;
};
struct FieldMarkerMemo {
    static constexpr int kEntries = 4;
    FieldMarkerMemoEntry entries[kEntries];
    int next = 0;
};
void FieldMarkerMemo_Clear(FieldMarkerMemo& memo);

// The runs of the field `run` belongs to, from the begin run through the end
// run, in document order; empty when the run is not part of a field. A run
// belongs to a field when it is a begin run, or when the nearest begin or end
// run before it (among its sibling w:r elements) is a begin run. A field
// whose end run is missing runs to the last sibling run.
//
// Finding the nearest begin or end run walks backwards; the answer for the
// last run asked about in its paragraph is kept in `memo`, so asking for
// every run of a paragraph in order costs linear time.
std::vector<pugi::xml_node> Run_FindComplexParts(pugi::xml_node run, FieldMarkerMemo& memo);

// The part whose content is the field's displayed text: the one before the
// end run, or the last part when the end run is missing. Empty for no parts.
pugi::xml_node ComplexParts_TextRun(const std::vector<pugi::xml_node>& parts);
// The part holding the instruction (the second); empty when there is none.
pugi::xml_node ComplexParts_InstructionRun(const std::vector<pugi::xml_node>& parts);

// Text of the run's first w:instrText; empty when it has none.
std::string Run_GetInstrText(pugi::xml_node run);
// The kind of field, from the start of its instruction (leading white space
// skipped, case-sensitive); None without parts or instruction.
ComplexRunFieldType ComplexParts_FieldType(const std::vector<pugi::xml_node>& parts);
// What the instruction quotes: the text between its first and last double
// quote, everything after a single one; empty without quotes.
std::string ComplexParts_FieldData(const std::vector<pugi::xml_node>& parts);
