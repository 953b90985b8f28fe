// Appending many hyperlinks to one document, a bookmark around every tenth
// and each address read back: relationship ids and bookmark ids come from
// per-document indexes, so the time per link stays flat as the count grows
// tenfold (100,000 links within 12 times the time of 10,000).
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "host_fixture.h"

namespace {

void BM_AppendHyperlinks(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const std::string file = std::string(VEXWORD_BENCH_DIR) + "/hyperlinks.docx";
    const int64_t links = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(file.c_str());
        vexrt::Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
        state.ResumeTiming();
        vexrt::Object p;
        size_t bytes = 0;
        for (int64_t i = 0; i < links; ++i) {
            if (i % 10 == 0) p = rt.call(doc, "AppendParagraph", {"Links: "}).object();
            const std::string n = std::to_string(i);
            vexrt::Object link = rt.call(p, "AppendHyperlink", {"link " + n, "https://example.com/" + n}).object();
            if (i % 10 == 0) rt.call(p, "AddBookmarkAround", {link, "Link" + n});
            bytes += rt.get(link, "Address").text().size();
        }
        benchmark::DoNotOptimize(bytes);
        state.PauseTiming();
        doc = vexrt::Object();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * links);
}
BENCHMARK(BM_AppendHyperlinks)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
