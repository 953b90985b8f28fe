#include "cell_walk.h"

namespace cli {

void Container_EachParagraph(
    vexrt::Runtime& rt, const vexrt::Object& container, const std::string& where,
    const std::function<void(const vexrt::Object& paragraph, const std::string& where)>& visit) {
    int64_t tables = 0;
    for (int64_t i = 0, n = rt.get(container, "ItemCount").integer(); i < n; ++i) {
        vexrt::Object item = rt.call(container, "Item", {i}).object();
        if (!item) continue;
        if (rt.className(item) != "VexlomarWord.Table") {
            visit(item, where);
            continue;
        }
        const std::string table = where + " table " + std::to_string(++tables);
        for (int64_t r = 0, rows = rt.get(item, "RowCount").integer(); r < rows; ++r) {
            vexrt::Object row = rt.call(item, "Row", {r}).object();
            if (!row) continue;
            // Until there is no cell: ColumnCount is the grid's, which merged
            // cells leave short of and some tools' rows exceed.
            for (int64_t c = 0;; ++c) {
                vexrt::Object cell = rt.call(row, "Cell", {c}).object();
                if (!cell) break;
                Container_EachParagraph(rt, cell, table + " cell " + std::to_string(r + 1) + "," +
                                                      std::to_string(c + 1), visit);
            }
        }
    }
}

}  // namespace cli
