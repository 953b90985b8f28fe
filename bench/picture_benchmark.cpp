// Appending many inline pictures to one document and saving it: media
// names, drawing ids and relationship ids come from per-document records,
// so the time per picture stays flat as the count grows tenfold.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "host_fixture.h"

namespace {

// A 2 x 2 pixel PNG.
const char kDots[] =
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x02\x08\x02\x00"
    "\x00\x00\xFD\xD4\x9A\x73\x00\x00\x00\x13\x49\x44\x41\x54\x78\xDA\x63\xF8\xFF\xFF\xBF\xBC\x5F\x25\x03\x10\x03"
    "\x59\x00\x35\xC4\x07\xC7\xD7\xDC\x24\xFB\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82";

void BM_AppendPictures(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const std::string file = std::string(VEXWORD_BENCH_DIR) + "/pictures.docx";
    const int64_t pictures = state.range(0);
    const vexrt::Value bytes = rt.makeString(std::string(kDots, sizeof kDots - 1), kREALTextEncodingNone);
    const int kPng = 1;
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(file.c_str());
        vexrt::Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
        vexrt::Object header = rt.call(doc, "Header", {0, true}).object();
        state.ResumeTiming();
        for (int64_t i = 0; i < pictures; ++i) {
            // Every tenth in the header, with its own relationships.
            const vexrt::Object& container = i % 10 == 0 ? header : doc;
            rt.call(container, "AppendParagraph", {bytes, kPng, "dots.png", 16, 16});
        }
        rt.call(doc, "Save");
        state.PauseTiming();
        doc = vexrt::Object();
        header = vexrt::Object();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * pictures);
}
BENCHMARK(BM_AppendPictures)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
