// Host loops over tables: building a table of 4 columns row by row with
// text in every cell, walking it reading every cell's text, and removing
// its rows backwards or every second one forwards. Each must cost time
// linear in the rows: 100,000 rows at most about 12 times 10,000.
// Then the whole job as a user writes it: a new document of 100,000
// paragraphs of two runs (the second bold) and a 1,000 x 4 table, saved.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "host_fixture.h"

namespace {

constexpr int kColumns = 4;

// AppendTable, then the rows, then each cell's text.
vexrt::Object BuildTable(const vexrt::Object& container, int64_t rows) {
    vexrt::Runtime& rt = BenchHost();
    vexrt::Object table = rt.call(container, "AppendTable", {kColumns, 1}).object();
    for (int64_t r = 1; r < rows; ++r) rt.call(table, "AppendRow");
    vexrt::Value text("Cell text");
    for (int64_t r = 0; r < rows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            vexrt::Object cell = rt.call(table, "Cell", {c, r}).object();
            rt.call(rt.call(cell, "Paragraph", {0}).object(), "AppendRun", {text});
        }
    return table;
}

void BM_TableBuild(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        vexrt::Object doc = NewDocument(BenchFile("table-build.docx"));
        state.ResumeTiming();
        BuildTable(doc, state.range(0));
        state.PauseTiming();
        doc = vexrt::Object();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TableBuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TableWalk(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    vexrt::Object doc = NewDocument(BenchFile("table-walk.docx"));
    vexrt::Object table = BuildTable(doc, state.range(0));
    for (auto _ : state) {
        size_t bytes = 0;
        const int64_t rows = rt.get(table, "RowCount").integer();
        for (int64_t r = 0; r < rows; ++r) {
            vexrt::Object row = rt.call(table, "Row", {r}).object();
            for (int c = 0; c < kColumns; ++c) {
                vexrt::Object cell = rt.call(row, "Cell", {c}).object();
                bytes += rt.get(rt.call(cell, "Paragraph", {0}).object(), "Text").text().size();
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TableWalk)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Removing rows in a host loop, as a user writes it: backwards
// (`for i = RowCount-1 downto 0: RemoveRow(Row(i))`, down to the last row,
// which takes the table), and every second row while walking forward with
// RowCount in the loop's condition. Each removal keeps what the document
// remembers of the rows before it, so both stay linear: 100,000 rows at
// most about 12 times 10,000.
vexrt::Object EmptyRows(const vexrt::Object& container, int64_t rows) {
    vexrt::Runtime& rt = BenchHost();
    vexrt::Object table = rt.call(container, "AppendTable", {kColumns, 1}).object();
    for (int64_t r = 1; r < rows; ++r) rt.call(table, "AppendRow");
    return table;
}

void BM_TableRemoveRowsBackward(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    for (auto _ : state) {
        state.PauseTiming();
        vexrt::Object doc = NewDocument(BenchFile("table-remove-backward.docx"));
        vexrt::Object table = EmptyRows(doc, state.range(0));
        state.ResumeTiming();
        for (int64_t i = rt.get(table, "RowCount").integer() - 1; i >= 0; --i)
            rt.call(table, "RemoveRow", {rt.call(table, "Row", {i})});
        state.PauseTiming();
        if (rt.get(doc, "TableCount").integer() != 0) state.SkipWithError("the table is still there");
        table = vexrt::Object();
        doc = vexrt::Object();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TableRemoveRowsBackward)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TableRemoveEverySecondRow(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    for (auto _ : state) {
        state.PauseTiming();
        vexrt::Object doc = NewDocument(BenchFile("table-remove-forward.docx"));
        vexrt::Object table = EmptyRows(doc, state.range(0));
        state.ResumeTiming();
        for (int64_t i = 0; i < rt.get(table, "RowCount").integer(); ++i)
            rt.call(table, "RemoveRow", {rt.call(table, "Row", {i})});
        state.PauseTiming();
        if (rt.get(table, "RowCount").integer() != state.range(0) / 2) state.SkipWithError("wrong rows left");
        table = vexrt::Object();
        doc = vexrt::Object();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TableRemoveEverySecondRow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The whole job, from Document.Create to Save.
void BM_BuildJob(benchmark::State& state) {
    vexrt::Runtime& rt = BenchHost();
    const std::string file = BenchFile("build-job.docx");
    for (auto _ : state) {
        vexrt::Object doc = NewDocument(file);
        vexrt::Value first("The first run of a paragraph, ");
        vexrt::Value second("and the second in bold.");
        for (int i = 0; i < 100000; ++i) {
            vexrt::Object p = rt.call(doc, "AppendParagraph", {first}).object();
            rt.set(rt.call(p, "AppendRun", {second}).object(), "Bold", 1);
        }
        BuildTable(doc, 1000);
        rt.call(doc, "Save");
    }
}
BENCHMARK(BM_BuildJob)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
