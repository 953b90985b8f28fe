#include "table_text.h"

#include "paragraph_text.h"

namespace cli {

namespace {

bool IsTable(vexrt::Runtime& rt, const vexrt::Object& item) { return rt.className(item) == "VexlomarWord.Table"; }

// The cells of a row, until the first index that gives none.
std::vector<vexrt::Object> Cells(vexrt::Runtime& rt, const vexrt::Object& row) {
    std::vector<vexrt::Object> cells;
    for (int64_t c = 0;; ++c) {
        vexrt::Object cell = rt.call(row, "Cell", {c}).object();
        if (!cell) break;
        cells.push_back(cell);
    }
    return cells;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? separator : "") + parts[i];
    return out;
}

std::string CellText(vexrt::Runtime& rt, const vexrt::Object& cell, const CellLabels& labels,
                     const std::string& place);

// The cells' texts of one row.
std::vector<std::string> RowTexts(vexrt::Runtime& rt, const vexrt::Object& table, int64_t r,
                                  const CellLabels& labels, const std::string& place) {
    std::vector<std::string> cells;
    const std::vector<vexrt::Object> row = Cells(rt, rt.call(table, "Row", {r}).object());
    for (size_t c = 0; c < row.size(); ++c)
        cells.push_back(CellText(rt, row[c], labels, place + "/r" + std::to_string(r) + "/c" + std::to_string(c)));
    return cells;
}

// A nested table inside a cell's text: each row "[a | b]".
std::string NestedTableText(vexrt::Runtime& rt, const vexrt::Object& table, const CellLabels& labels,
                            const std::string& place) {
    std::vector<std::string> rows;
    for (int64_t r = 0, n = rt.get(table, "RowCount").integer(); r < n; ++r)
        rows.push_back("[" + Join(RowTexts(rt, table, r, labels, place), " | ") + "]");
    return Join(rows, " ");
}

std::string CellText(vexrt::Runtime& rt, const vexrt::Object& cell, const CellLabels& labels,
                     const std::string& place) {
    std::vector<std::string> parts;
    int64_t paragraphs = 0, tables = 0;
    for (int64_t i = 0, n = rt.get(cell, "ItemCount").integer(); i < n; ++i) {
        vexrt::Object item = rt.call(cell, "Item", {i}).object();
        std::string text;
        if (IsTable(rt, item)) {
            text = NestedTableText(rt, item, labels, place + "/t" + std::to_string(tables++));
        } else {
            text = ParagraphText(rt, item);
            auto label = labels.find(place + "/p" + std::to_string(paragraphs++));
            if (label != labels.end()) text = label->second.label + " " + text;
        }
        if (!text.empty()) parts.push_back(text);
    }
    return Join(parts, " ");
}

}  // namespace

std::vector<std::string> TableLines(vexrt::Runtime& rt, const vexrt::Object& table, const CellLabels& cells,
                                    const std::string& place) {
    std::vector<std::string> lines;
    for (int64_t r = 0, n = rt.get(table, "RowCount").integer(); r < n; ++r)
        lines.push_back(Join(RowTexts(rt, table, r, cells, place), "\t"));
    return lines;
}

std::vector<std::string> ContainerLines(
    vexrt::Runtime& rt, const vexrt::Object& container, const StoryLabels& labels, const CellLabels& cells,
    const std::function<void(const vexrt::Object& paragraph, std::vector<std::string>& lines)>& afterParagraph) {
    std::vector<std::string> lines;
    size_t paragraph = 0;
    int64_t tables = 0;
    for (int64_t i = 0, n = rt.get(container, "ItemCount").integer(); i < n; ++i) {
        vexrt::Object item = rt.call(container, "Item", {i}).object();
        if (IsTable(rt, item)) {
            for (std::string& line : TableLines(rt, item, cells, "t" + std::to_string(tables++)))
                lines.push_back(std::move(line));
            continue;
        }
        const std::string text = ParagraphText(rt, item);
        const ParagraphLabel* label = paragraph < labels.size() ? &labels[paragraph] : nullptr;
        ++paragraph;
        if (!label || label->label.empty())
            lines.push_back(text);
        else
            lines.push_back(std::string(static_cast<size_t>(label->level) * 2, ' ') + label->label + " " + text);
        if (afterParagraph) afterParagraph(item, lines);
    }
    return lines;
}

TableCounts CountTables(vexrt::Runtime& rt, const vexrt::Object& container) {
    TableCounts counts;
    for (int64_t t = 0, n = rt.get(container, "TableCount").integer(); t < n; ++t) {
        vexrt::Object table = rt.call(container, "Table", {t}).object();
        ++counts.tables;
        for (int64_t r = 0, rows = rt.get(table, "RowCount").integer(); r < rows; ++r) {
            ++counts.rows;
            for (const vexrt::Object& cell : Cells(rt, rt.call(table, "Row", {r}).object())) {
                ++counts.cells;
                const TableCounts inner = CountTables(rt, cell);
                counts.tables += inner.tables;
                counts.rows += inner.rows;
                counts.cells += inner.cells;
            }
        }
    }
    return counts;
}

}  // namespace cli
