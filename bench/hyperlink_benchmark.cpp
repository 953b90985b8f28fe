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

namespace {

// A document of `paragraphs` paragraphs, each a run and a link.
vexrt::Object LinkedParagraphs(vexrt::Runtime& rt, int64_t paragraphs) {
    const std::string file = std::string(VEXWORD_BENCH_DIR) + "/linked-paragraphs.docx";
    std::remove(file.c_str());
    vexrt::Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
    for (int64_t i = 0; i < paragraphs; ++i) {
        vexrt::Object p = rt.call(doc, "AppendParagraph", {"See "}).object();
        rt.call(p, "AppendHyperlink", {"the site", "https://example.com/" + std::to_string(i)});
    }
    return doc;
}

// Paragraph(i).AddBookmarkAround and Paragraph(i).RemoveParagraphItem(link)
// in a loop over i: neither moves a paragraph, so the places of the
// paragraphs stay known (100,000 within 12 times the time of 10,000).
void EditEveryParagraph(benchmark::State& state, bool bookmark) {
    vexrt::Runtime& rt = BenchHost();
    for (auto _ : state) {
        state.PauseTiming();
        vexrt::Object doc = LinkedParagraphs(rt, state.range(0));
        state.ResumeTiming();
        for (int64_t i = 1; i <= state.range(0); ++i) {
            vexrt::Object p = rt.call(doc, "Paragraph", {i}).object();
            vexrt::Object link = rt.call(p, "ParagraphItem", {int64_t(1)}).object();
            if (bookmark)
                rt.call(p, "AddBookmarkAround", {link, "Mark" + std::to_string(i)});
            else
                rt.call(p, "RemoveParagraphItem", {link});
        }
    }
    state.SetComplexityN(state.range(0));
}
void BM_BookmarkEveryParagraph(benchmark::State& state) { EditEveryParagraph(state, true); }
void BM_RemoveTheLinkOfEveryParagraph(benchmark::State& state) { EditEveryParagraph(state, false); }
BENCHMARK(BM_BookmarkEveryParagraph)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_RemoveTheLinkOfEveryParagraph)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
