// What the walks over a package's stories (the reading commands, the fill,
// the placeholder scan) share: how deep they go and how they name
// elements, the header and footer parts a section names, the labels of
// those parts, and the notes in the order readers number them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "package_reading.h"

namespace cli {

extern const char* const kStoryPartTypes[3];  // "default", "first", "even"

// Whether `node` is named `name` (as the part writes it, with its prefix).
inline bool Is(pugi::xml_node node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// How deep a walk follows elements into elements: a damaged or hostile
// part nests them without end.
constexpr int kStoryMaxDepth = 200;

// Counts a walk one level deeper while it lives; `ok` is false past the
// limit, where the walk goes no further.
struct StoryDepth {
    int& depth;
    bool ok;
    explicit StoryDepth(int& d) : depth(d), ok(++d <= kStoryMaxDepth) {}
    ~StoryDepth() { --depth; }
    StoryDepth(const StoryDepth&) = delete;
    StoryDepth& operator=(const StoryDepth&) = delete;
};

// The header and footer parts a w:sectPr names itself, by type (empty:
// none of its own).
struct SectionParts {
    std::string headers[3], footers[3];
};

SectionParts SectionParts_Of(pugi::xml_node sectPr, const PackageRelationships& rels);

// "section 2 header (first)": section counted from 1.
std::string SectionParts_Where(size_t section, bool header, int type);

// Note marks, numbered in the order their references come, in the note
// format the document states.
struct NoteMarks {
    std::string format;
    std::unordered_map<std::string, std::string> marks;  // note id -> mark
    std::vector<std::string> order;                      // ids as referenced
    int64_t next = 1;

    const std::string& Reference(const std::string& id);
};

// The w:numFmt of the final section's notes properties, else the settings',
// else `fallback`.
std::string NoteMarks_Format(pugi::xml_node settings, pugi::xml_node finalSectPr, const char* properties,
                             const char* fallback);

// The notes (`element`: "w:footnote", "w:endnote") of a notes part in the
// order readers number them: as referenced, then those no reference names
// (each given its mark); separators are left out.
std::vector<pugi::xml_node> NoteMarks_InOrder(NoteMarks& marks, pugi::xml_node notes, const char* element);

}  // namespace cli
