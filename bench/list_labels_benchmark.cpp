// Counting the labels of a document of many lists, one paragraph each, as
// vexword text does: each instance and definition is found once, so 20,000
// lists cost about five times what 4,000 cost.
#include <string>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include "format/numbering_labels.h"

namespace {

// A numbering part of one definition and `lists` instances restarting it.
std::string ManyListsNumbering(int64_t lists) {
    std::string xml =
        "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt "
        "w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>";
    for (int64_t i = 1; i <= lists; ++i)
        xml += "<w:num w:numId=\"" + std::to_string(i) +
               "\"><w:abstractNumId w:val=\"0\"/><w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"1\"/>"
               "</w:lvlOverride></w:num>";
    return xml + "</w:numbering>";
}

void BM_LabelsOfManyLists(benchmark::State& state) {
    const int64_t lists = state.range(0);
    pugi::xml_document part;
    const std::string xml = ManyListsNumbering(lists);
    part.load_buffer(xml.data(), xml.size());
    for (auto _ : state) {
        ListLabels labels;
        labels.numbering = part.document_element();
        size_t shown = 0;
        for (int64_t i = 1; i <= lists; ++i) shown += ListLabels_Next(labels, i, 0).size();
        benchmark::DoNotOptimize(shown);
    }
    state.SetComplexityN(lists);
}
BENCHMARK(BM_LabelsOfManyLists)->Arg(4000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
