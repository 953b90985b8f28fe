// For-each walks over many paragraphs and all their runs (logical runs
// with fields too), beside the same walk through Paragraph(i) and Run(i).
// Each step of a for-each fetches its item through the lookup by index, so
// both must be linear: the time per paragraph stays flat from 10,000 to
// 100,000 paragraphs. Also a for-each over the runs of one long hyperlink.
#include <cstdio>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "host_fixture.h"

namespace {

using vexrt::Object;
using vexrt::Value;

// Documents of `paragraphs` paragraphs of three runs, the last of every ten
// holding a time field (five runs, one logical run); made once per size.
const Object& Paragraphs(int64_t paragraphs) {
    static std::map<int64_t, Object> documents;
    Object& doc = documents[paragraphs];
    if (doc) return doc;
    vexrt::Runtime& rt = BenchHost();
    const std::string file = std::string(VEXWORD_BENCH_DIR) + "/iterate-" + std::to_string(paragraphs) + ".docx";
    std::remove(file.c_str());
    doc = rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Object p = rt.call(doc, "AppendParagraph", {"Paragraph "}).object();
        rt.call(p, "AppendRun", {std::to_string(i)});
        if (i % 10 == 9)
            rt.call(p, "AppendTimeField", {1, 2, 3});
        else
            rt.call(p, "AppendRun", {" ends here."});
    }
    return doc;
}

size_t TextSize(const Value& run) { return BenchHost().get(run.object(), "Text").text().size(); }

void BM_ForEachParagraphAndItsRuns(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const Object& doc = Paragraphs(state.range(0));
    for (auto _ : state) {
        size_t bytes = 0;
        rt.forEach(rt.call(doc, "Paragraphs").object(), [&](const Value& p) {
            for (const char* runs : {"Runs", "LogicalRuns"})
                rt.forEach(rt.call(p.object(), runs).object(), [&](const Value& run) {
                    bytes += TextSize(run);
                    return true;
                });
            return true;
        });
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_IndexParagraphAndItsRuns(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const Object& doc = Paragraphs(state.range(0));
    for (auto _ : state) {
        size_t bytes = 0;
        const int64_t count = rt.get(doc, "ParagraphCount").integer();
        for (int64_t i = 0; i < count; ++i) {
            Object p = rt.call(doc, "Paragraph", {i}).object();
            for (auto [countName, lookup] : {std::pair{"RunCount", "Run"}, std::pair{"LogicalRunCount", "LogicalRun"}}) {
                const int64_t runs = rt.get(p, countName).integer();
                for (int64_t r = 0; r < runs; ++r) bytes += TextSize(rt.call(p, lookup, {r}));
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ForEachParagraphAndItsRuns)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexParagraphAndItsRuns)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One hyperlink of many runs.
void BM_ForEachHyperlinkRun(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const std::string file = std::string(VEXWORD_BENCH_DIR) + "/iterate-link.docx";
    std::remove(file.c_str());
    Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
    Object p = rt.call(doc, "AppendParagraph", {"See "}).object();
    Object link = rt.call(p, "AppendHyperlink", {"start", "https://example.org/"}).object();
    for (int64_t i = 1; i < state.range(0); ++i) rt.call(link, "AppendRun", {"more"});
    for (auto _ : state) {
        size_t bytes = 0;
        rt.forEach(rt.call(link, "Runs").object(), [&](const Value& run) {
            bytes += TextSize(run);
            return true;
        });
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ForEachHyperlinkRun)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// A for-each over the paragraphs that removes each one it holds: what the
// document remembers of its items is mended at each removal, so the walk
// stays linear (100,000 within 12 times the time of 10,000).
void BM_ForEachRemovingEachParagraph(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const std::string file = std::string(VEXWORD_BENCH_DIR) + "/remove-while-walking.docx";
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(file.c_str());
        Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
        for (int64_t i = 0; i < state.range(0); ++i) rt.call(doc, "AppendParagraph", {"x"});
        state.ResumeTiming();
        rt.forEach(rt.call(doc, "Paragraphs").object(), [&](const Value& p) {
            if (!p.isNil()) rt.call(doc, "RemoveItem", {p});
            return true;
        });
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ForEachRemovingEachParagraph)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
