// The labels a reader sees in front of list paragraphs, read from the
// package itself. The plug-in's members tell a host a paragraph's number
// type and level, but not the level texts ("%1.%2."), start values or list
// instances of the numbering part, so the tool reads those parts next to
// the runtime and counts them with the library's own label counter.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace cli {

// A paragraph's label and its list level; an empty label: not in a list.
struct ParagraphLabel {
    std::string label;
    int level = 0;
};

// The labels of one story (the body, a header or a footer): the i-th entry
// belongs to the i-th w:p child of the story's element, the paragraph the
// runtime's Paragraph(i) of that container reads. Paragraphs nested in
// tables count but have no entry here (CellLabels holds those of cells).
using StoryLabels = std::vector<ParagraphLabel>;

// The labels of paragraphs in table cells of a story, by their place:
// "t1/r0/c2/p0" is the first paragraph of the third cell of the first row
// of the story's second table (indexes as Table(i), Row(i), Cell(i) and
// Paragraph(i) count them); a nested table adds its own "t/r/c" before the
// paragraph. Only paragraphs with a label have an entry.
using CellLabels = std::map<std::string, ParagraphLabel>;

// Each story's labels; index 0, 1, 2 of the headers and footers are the
// final section's default, first and even references.
struct PackageLabels {
    StoryLabels body;
    StoryLabels headers[3];
    StoryLabels footers[3];
    CellLabels bodyCells;
    CellLabels headerCells[3];
    CellLabels footerCells[3];
};

// Reads the package at `path`. A story whose part cannot be read, or a
// package without a numbering part, has no labels.
PackageLabels PackageLabels_Read(const std::string& path);

}  // namespace cli
