// Host loops over a body: appending paragraphs, and reading Paragraph(i) for
// every i in order. Both must cost time linear in the body: 100,000
// paragraphs at most about 12 times 10,000.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "host_fixture.h"

namespace {

void BM_AppendParagraph(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    for (auto _ : state) {
        state.PauseTiming();
        vexrt::Object doc = NewDocument(BenchFile("append.docx"));
        vexrt::Value text("A paragraph of ordinary length\twith a tab.");
        state.ResumeTiming();
        for (int64_t i = 0; i < state.range(0); ++i) rt.call(doc, "AppendParagraph", {text});
        state.PauseTiming();
        doc = vexrt::Object();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendParagraph)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ParagraphInOrder(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    vexrt::Object doc = NewDocument(BenchFile("walk.docx"));
    vexrt::Value text("Paragraph text");
    for (int64_t i = 0; i < state.range(0); ++i) rt.call(doc, "AppendParagraph", {text});
    for (auto _ : state) {
        const int64_t count = rt.get(doc, "ParagraphCount").integer();
        size_t bytes = 0;
        for (int64_t i = 0; i < count; ++i) {
            vexrt::Object p = rt.call(doc, "Paragraph", {i}).object();
            bytes += rt.get(p, "Text").text().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParagraphInOrder)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
