// What vexword prints of the blocks of a container: paragraphs (list
// paragraphs with their labels) and tables in document order, a table row
// a line with its cells separated by tabs; and the table counts of `info`.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <vexrt/runtime.h>

#include "package_list_labels.h"

namespace cli {

// Every paragraph and table row of the container, in document order. The
// i-th paragraph gets the i-th label (labels belong to the container's own
// paragraphs), a paragraph in a cell the label `cells` holds for its place.
// `afterParagraph`, when given, adds lines after each paragraph of the
// container's own (its text boxes, say).
std::vector<std::string> ContainerLines(
    vexrt::Runtime& rt, const vexrt::Object& container, const StoryLabels& labels, const CellLabels& cells,
    const std::function<void(const vexrt::Object& paragraph, std::vector<std::string>& lines)>& afterParagraph = {});

// One line per row: each cell's text, separated by tabs. A cell's text is
// its non-empty paragraphs (a list paragraph with its label), separated by
// a blank; a table nested in the cell shows there as "[a | b]" a row.
// `place` is the table's own ("t0"), for finding labels in `cells`.
std::vector<std::string> TableLines(vexrt::Runtime& rt, const vexrt::Object& table, const CellLabels& cells = {},
                                    const std::string& place = "t0");

// Tables (nested ones too), their rows and cells, in a container.
struct TableCounts {
    int64_t tables = 0;
    int64_t rows = 0;
    int64_t cells = 0;
};
TableCounts CountTables(vexrt::Runtime& rt, const vexrt::Object& container);

}  // namespace cli
