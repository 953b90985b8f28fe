// Complex fields as runs see them: which runs make up the field a run
// belongs to, which of them carries the displayed text and the instruction,
// and what kind of field the instruction describes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "content/field_chars.h"

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

// The runs of one field, begin to end, as a stretch of a list of runs that
// may be shared: a field of many parts costs a run view no copy of them.
struct ComplexParts {
    std::shared_ptr<const std::vector<pugi::xml_node>> runs;
    size_t first = 0;
    size_t count = 0;  // 0: not part of a field
};
// Parts holding exactly `runs`.
ComplexParts ComplexParts_Of(std::vector<pugi::xml_node> runs);
// The index-th part; empty when out of range.
pugi::xml_node ComplexParts_At(const ComplexParts& parts, size_t index);
std::vector<pugi::xml_node> ComplexParts_Nodes(const ComplexParts& parts);

// The runs of the field `run` belongs to, from the begin run through the end
// run, in document order; none when the run is not part of a field. A run
// belongs to a field when it is a begin run, or when the nearest begin or end
// run before it (among its sibling w:r elements) is a begin run. A field
// whose end run is missing runs to the last sibling run.
//
// The pairing of the siblings is made once and kept in `cache`, so that
// asking for every run of a paragraph, in any order, costs linear time.
ComplexParts Run_FindComplexParts(pugi::xml_node run, FieldCharsCache& cache);

// The part whose content is the field's displayed text: the one before the
// end run, or the last part when the end run is missing. Empty for no parts.
pugi::xml_node ComplexParts_TextRun(const ComplexParts& parts);
// The part holding the instruction (the second); empty when there is none.
pugi::xml_node ComplexParts_InstructionRun(const ComplexParts& parts);

// Text of the run's first w:instrText; empty when it has none.
std::string Run_GetInstrText(pugi::xml_node run);
// The kind of field, from the start of its instruction (leading white space
// skipped, case-sensitive); None without parts or instruction.
ComplexRunFieldType ComplexParts_FieldType(const ComplexParts& parts);
// What the instruction quotes: the text between its first and last double
// quote, everything after a single one; empty without quotes.
std::string ComplexParts_FieldData(const ComplexParts& parts);
