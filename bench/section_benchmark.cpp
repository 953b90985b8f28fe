// Page and section breaks appended while a host walks a document's
// paragraphs: the breaks go at the end, so the places of the paragraphs
// stay known and the time per paragraph stays flat (32,000 paragraphs
// within 40 times the time of 1,000).
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "host_fixture.h"

namespace {

// The blank document with `paragraphs` more paragraphs, made through the host.
std::string WalkedDocument(vexrt::Runtime& rt, int64_t paragraphs) {
    const std::string file = std::string(VEXWORD_BENCH_DIR) + "/walked-" + std::to_string(paragraphs) + ".docx";
    std::remove(file.c_str());
    vexrt::Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
    for (int64_t i = 0; i < paragraphs; ++i) rt.call(doc, "AppendParagraph", {"x"});
    rt.call(doc, "Save");
    return file;
}

void BM_BreaksWhileWalking(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const int64_t n = state.range(0);
    const std::string file = WalkedDocument(rt, n);
    for (auto _ : state) {
        state.PauseTiming();
        vexrt::Object doc = rt.callShared("Document", "Open", {rt.makeFolderItem(file)}).object();
        state.ResumeTiming();
        for (int64_t i = 0; i < n; ++i) {
            benchmark::DoNotOptimize(rt.call(doc, "Paragraph", {i}).object());
            if (i % 8 == 0) rt.call(doc, "AppendPageBreak");
            if (i % 64 == 0) rt.call(doc, "AppendSectionBreak", {int64_t(1)});  // continuous
        }
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_BreaksWhileWalking)->Arg(1000)->Arg(32000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
