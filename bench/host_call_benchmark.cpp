// What one call through the runtime costs: a property read on a small
// paragraph and a run appended, each reported per call, and the whole build
// job made of such calls (100,000 paragraphs of a plain run and a bold one,
// a 1,000 x 4 table with text in every cell, saved), with its peak memory.
#include <algorithm>
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "host_fixture.h"
#include "peak_memory.h"

namespace {

void BM_HostCallParagraphText(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    vexrt::Object doc = NewDocument(BenchFile("host-call-text.docx"));
    vexrt::Object p = rt.call(doc, "AppendParagraph", {"A short paragraph."}).object();
    for (auto _ : state) {
        vexrt::Value text = rt.get(p, "Text");
        benchmark::DoNotOptimize(text);
    }
    if (rt.get(p, "Text").text() != "A short paragraph.") state.SkipWithError("wrong text");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HostCallParagraphText)->Unit(benchmark::kNanosecond);

// A new paragraph every 1,000 runs (its cost spread over them), a new
// document every 100,000, so the document stays of an ordinary size.
void BM_HostCallAppendRun(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const std::string file = BenchFile("host-call-run.docx");
    vexrt::Value text("a run");
    vexrt::Object doc = NewDocument(file);
    vexrt::Object p = rt.call(doc, "AppendParagraph", {""}).object();
    int64_t runs = 0;
    for (auto _ : state) {
        vexrt::Object run = rt.call(p, "AppendRun", {text}).object();
        benchmark::DoNotOptimize(run);
        if (++runs % 1000 == 0) {
            if (runs % 100000 == 0) {
                state.PauseTiming();
                p = vexrt::Object();
                doc = NewDocument(file);
                state.ResumeTiming();
            }
            p = rt.call(doc, "AppendParagraph", {""}).object();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HostCallAppendRun)->Unit(benchmark::kNanosecond);

// The whole job as a user writes it, from Document.Create to Save.
void BM_Build(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const std::string file = BenchFile("build.docx");
    PeakMemory memory;
    double peak = 0;
    for (auto _ : state) {
        memory.Reset();
        {
            vexrt::Object doc = NewDocument(file);
            vexrt::Value plain("The first run of a paragraph, ");
            vexrt::Value bold("and the second in bold.");
            for (int i = 0; i < 100000; ++i) {
                vexrt::Object p = rt.call(doc, "AppendParagraph", {""}).object();
                rt.call(p, "AppendRun", {plain});
                rt.set(rt.call(p, "AppendRun", {bold}).object(), "Bold", 1);
            }
            vexrt::Object table = rt.call(doc, "AppendTable", {4, 1000}).object();
            vexrt::Value text("Cell text");
            for (int r = 0; r < 1000; ++r)
                for (int c = 0; c < 4; ++c) {
                    vexrt::Object cell = rt.call(table, "Cell", {c, r}).object();
                    rt.call(rt.call(cell, "Paragraph", {0}).object(), "AppendRun", {text});
                }
            rt.call(doc, "Save");
        }
        peak = std::max(peak, memory.AboveResetMB());
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_Build)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
