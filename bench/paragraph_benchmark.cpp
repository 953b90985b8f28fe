// Host loops over runs: Run(i) and LogicalRun(i) for every i in order, over
// one paragraph of many runs (with and without fields) and over many
// paragraphs of a few runs. Each must cost time linear in the runs walked:
// the time per run stays flat as the count grows tenfold.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "host_fixture.h"

namespace {

// One paragraph of `runs` runs; with fields, every tenth logical run is a
// time field of five runs.
vexrt::Object LongParagraph(const vexrt::Object& doc, int64_t runs, bool withFields) {
    vexrt::Runtime& rt = BenchHost();
    vexrt::Object p = rt.call(doc, "AppendParagraph", {"start"}).object();
    vexrt::Value text("a run\tof text");
    for (int64_t n = 1; n < runs;) {
        if (withFields && n % 10 == 5 && n + 5 <= runs) {
            rt.call(p, "AppendTimeField", {12, 30, 0});
            n += 5;
        } else {
            rt.call(p, "AppendRun", {text});
            n += 1;
        }
    }
    return p;
}

// Reads the text of every run (or logical run) of `p` in order.
size_t WalkRuns(const vexrt::Object& p, const char* count, const char* lookup) {
    vexrt::Runtime& rt = BenchHost();
    size_t bytes = 0;
    const int64_t n = rt.get(p, count).integer();
    for (int64_t i = 0; i < n; ++i) bytes += rt.get(rt.call(p, lookup, {i}).object(), "Text").text().size();
    return bytes;
}

void WalkOneParagraph(benchmark::State& state, bool withFields, const char* count, const char* lookup) {
    vexrt::Object doc = NewDocument(BenchFile("runs.docx"));
    vexrt::Object p = LongParagraph(doc, state.range(0), withFields);
    int64_t walked = BenchHost().get(p, count).integer();
    for (auto _ : state) benchmark::DoNotOptimize(WalkRuns(p, count, lookup));
    state.SetItemsProcessed(state.iterations() * walked);
}

void BM_RunInOrder(benchmark::State& state) { WalkOneParagraph(state, false, "RunCount", "Run"); }
void BM_RunInOrderWithFields(benchmark::State& state) { WalkOneParagraph(state, true, "RunCount", "Run"); }
void BM_LogicalRunInOrderWithFields(benchmark::State& state) {
    WalkOneParagraph(state, true, "LogicalRunCount", "LogicalRun");
}
BENCHMARK(BM_RunInOrder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunInOrderWithFields)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogicalRunInOrderWithFields)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Paragraphs of three runs; the last paragraph of every ten holds a field.
void BM_RunsOfEveryParagraph(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    vexrt::Object doc = NewDocument(BenchFile("paragraphs.docx"));
    for (int64_t i = 0; i < state.range(0); ++i) {
        vexrt::Object p = rt.call(doc, "AppendParagraph", {"Paragraph "}).object();
        rt.call(p, "AppendRun", {std::to_string(i)});
        if (i % 10 == 9)
            rt.call(p, "AppendTimeField", {1, 2, 3});
        else
            rt.call(p, "AppendRun", {" ends here."});
    }
    for (auto _ : state) {
        size_t bytes = 0;
        const int64_t count = rt.get(doc, "ParagraphCount").integer();
        for (int64_t i = 0; i < count; ++i) {
            vexrt::Object p = rt.call(doc, "Paragraph", {i}).object();
            bytes += WalkRuns(p, "RunCount", "Run");
            bytes += WalkRuns(p, "LogicalRunCount", "LogicalRun");
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RunsOfEveryParagraph)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Runs and links appended to one paragraph without properties (what
// AppendParagraph makes): each append costs the same however many runs the
// paragraph holds (100,000 within 12 times the time of 10,000).
void AppendToOneParagraph(benchmark::State& state, bool links) {
    vexrt::Runtime& rt = BenchHost();
    for (auto _ : state) {
        state.PauseTiming();
        vexrt::Object doc = NewDocument(BenchFile("appended.docx"));
        vexrt::Object p = rt.call(doc, "AppendParagraph", {"start"}).object();
        state.ResumeTiming();
        for (int64_t i = 0; i < state.range(0); ++i) {
            if (links)
                rt.call(p, "AppendHyperlink", {"link", "https://example.com/"});
            else
                rt.call(p, "AppendRun", {"run"});
        }
    }
    state.SetComplexityN(state.range(0));
}
void BM_AppendRunsToOneParagraph(benchmark::State& state) { AppendToOneParagraph(state, false); }
void BM_AppendLinksToOneParagraph(benchmark::State& state) { AppendToOneParagraph(state, true); }
BENCHMARK(BM_AppendRunsToOneParagraph)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_AppendLinksToOneParagraph)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
