// Host loops over one paragraph of damaged or deeply nested complex fields:
// Run(i) and ParagraphItem(i) for every i in order, each view reading its
// text and part count, as vexword info and text do. Pairing the field
// characters is one pass per paragraph, so the time per run stays flat as
// the count grows tenfold (50,000 within about 12 times the time of 5,000).
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include "host_fixture.h"
#include "package/blank_package.h"
#include "package/document.h"

namespace {

enum class Damage { Unended, Nested, Stray };

void AppendFieldChar(pugi::xml_node paragraph, const char* type) {
    paragraph.append_child("w:r").append_child("w:fldChar").append_attribute("w:fldCharType") = type;
}

// The blank package with one more paragraph: "a" then `n` begin runs that
// nothing ends; `n` begins then their `n` ends; or `n` times a stray end,
// a separate without begin and a text run.
std::string WriteFieldChars(Damage damage, int64_t n) {
    const std::string path = std::string(VEXWORD_BENCH_DIR) + "/field-chars.docx";
    std::remove(path.c_str());
    WriteBlankPackage(path.c_str());
    Word::Document doc(path);
    if (doc.Open() != Word::success) return std::string();
    pugi::xml_node body = doc.documentXml.child("w:document").child("w:body");
    pugi::xml_node p = body.insert_child_before("w:p", body.child("w:sectPr"));
    switch (damage) {
        case Damage::Unended:
            p.append_child("w:r").append_child("w:t").text() = "a";
            for (int64_t i = 0; i < n; ++i) AppendFieldChar(p, "begin");
            break;
        case Damage::Nested:
            for (int64_t i = 0; i < n; ++i) AppendFieldChar(p, "begin");
            for (int64_t i = 0; i < n; ++i) AppendFieldChar(p, "end");
            break;
        case Damage::Stray:
            for (int64_t i = 0; i < n; ++i) {
                AppendFieldChar(p, "end");
                AppendFieldChar(p, "separate");
                p.append_child("w:r").append_child("w:t").text() = "x";
            }
            break;
    }
    return doc.Save(nullptr, nullptr, nullptr) ? path : std::string();
}

// The paragraph the package's body holds last.
vexrt::Object OpenLastParagraph(const std::string& path) {
    vexrt::Runtime& rt = BenchHost();
    vexrt::Object doc = rt.callShared("Document", "Open", {rt.makeFolderItem(path)}).object();
    if (!doc) return doc;
    const int64_t count = rt.get(doc, "ParagraphCount").integer();
    return rt.call(doc, "Paragraph", {count - 1}).object();
}

void WalkFieldChars(benchmark::State& state, Damage damage, const char* countName, const char* lookup) {
    vexrt::Runtime& rt = BenchHost();
    const std::string path = WriteFieldChars(damage, state.range(0));
    vexrt::Object p = path.empty() ? vexrt::Object() : OpenLastParagraph(path);
    if (!p) {
        state.SkipWithError("cannot write or open the document");
        return;
    }
    const int64_t n = rt.get(p, countName).integer();
    for (auto _ : state) {
        int64_t parts = 0;
        size_t bytes = 0;
        for (int64_t i = 0; i < n; ++i) {
            vexrt::Object item = rt.call(p, lookup, {i}).object();
            bytes += rt.get(item, "Text").text().size();
            parts += rt.get(item, "ComplexRunPartCount").integer();
        }
        benchmark::DoNotOptimize(bytes);
        benchmark::DoNotOptimize(parts);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_RunsOfUnendedFields(benchmark::State& state) {
    WalkFieldChars(state, Damage::Unended, "RunCount", "Run");
}
void BM_ItemsOfNestedFields(benchmark::State& state) {
    WalkFieldChars(state, Damage::Nested, "ParagraphItemCount", "ParagraphItem");
}
void BM_RunsAmongStrayFieldChars(benchmark::State& state) {
    WalkFieldChars(state, Damage::Stray, "RunCount", "Run");
}
BENCHMARK(BM_RunsOfUnendedFields)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ItemsOfNestedFields)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunsAmongStrayFieldChars)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
