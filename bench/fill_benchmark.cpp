// Filling templates. FILL: a template of 100,000 paragraphs and a 1,000 x 4
// table, each holding the placeholder once, filled through
// Document.ApplyFieldData and saved, beside the floor on the same bytes:
// inflate, parse, replace in every w:t, print, deflate (level 6), write.
// The aims: FILL within 1.3 times the floor's time and 1.5 times its peak
// memory. FILL_BATCH: `vexword fill --csv` over 1,000 rows of a one-page
// letter, in documents per second.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <zip.h>
#include <zlib.h>

#include "floor_codec.h"
#include "host_fixture.h"
#include "peak_memory.h"
#include "package/document.h"
#include "package/xml_string_writer.h"

namespace {

const int kParagraphs = 100000;
const int kTableRows = 1000, kTableColumns = 4;
const char* const kPlaceholder = "{customer}";
const char* const kValue = "Ann Example-Smith";

std::string BenchPath(const std::string& name) { return std::string(VEXWORD_BENCH_DIR) + "/" + name; }

std::string ReadEntry(const std::string& path, const char* name) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    std::string bytes;
    zip_stat_t st;
    if (archive && zip_stat(archive, name, 0, &st) == 0) {
        bytes.resize(st.size);
        zip_file_t* f = zip_fopen(archive, name, 0);
        zip_fread(f, &bytes[0], st.size);
        zip_fclose(f);
    }
    if (archive) zip_close(archive);
    return bytes;
}

// The template, made with the library through the host API: the
// paragraphs, then the table (AppendTable, each cell's first paragraph
// given its run in order) and the paragraph that follows it.
struct FillFixture {
    std::string path = BenchPath("fill-template.docx");
    std::string xml;         // its document.xml
    std::string compressed;  // the same as a raw deflate stream (level 6)

    FillFixture() {
        vexrt::Runtime& rt = BenchHost();
        std::filesystem::remove(path);
        {
            vexrt::Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(path)}).object();
            for (int i = 0; i < kParagraphs; ++i)
                rt.call(doc, "AppendParagraph",
                        {"Line " + std::to_string(i) + ": dear " + kPlaceholder + ", your order is on its way."});
            vexrt::Object table = rt.call(doc, "AppendTable", {kTableColumns, kTableRows}).object();
            for (int r = 0; r < kTableRows; ++r)
                for (int c = 0; c < kTableColumns; ++c) {
                    vexrt::Object cell = rt.call(table, "Cell", {c, r}).object();
                    rt.call(rt.call(cell, "Paragraph", {0}).object(), "AppendRun",
                            {std::to_string(r) + "." + std::to_string(c) + " " + kPlaceholder});
                }
            rt.call(doc, "AppendParagraph", {""});
            rt.call(doc, "Save");
        }
        xml = ReadEntry(path, "word/document.xml");
        compressed = Floor_Deflate(xml);
    }
};

FillFixture& TheFillFixture() {
    static FillFixture fixture;
    return fixture;
}

void BM_Fill(benchmark::State& state) {
    FillFixture& fixture = TheFillFixture();
    vexrt::Runtime& rt = BenchHost();
    const std::string out = BenchPath("fill-out.docx");
    PeakMemory memory;
    double peak = 0;
    for (auto _ : state) {
        std::filesystem::remove(out);  // SaveAs never overwrites
        memory.Reset();
        {
            vexrt::Object doc = rt.callShared("Document", "Open", {rt.makeFolderItem(fixture.path)}).object();
            rt.call(doc, "ApplyFieldData", {kPlaceholder, kValue});
            rt.call(doc, "SaveAs", {rt.makeFolderItem(out)});
        }
        peak = std::max(peak, memory.AboveResetMB());
    }
    state.counters["document_MB"] = fixture.xml.size() / 1e6;
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_Fill)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4);

// `vexword fill` of the same template with one pair, whole process: the
// template opened through the plug-in once, filled in its package in one
// pass (the split-placeholder check in the same pass), written.
void BM_FillCommand(benchmark::State& state) {
    FillFixture& fixture = TheFillFixture();
    const std::string out = BenchPath("fill-command-out.docx");
    const std::string command = std::string("'") + VEXWORD_TOOL_PATH + "' fill --force '" + fixture.path + "' '" + out +
                                "' '" + kPlaceholder + "=" + kValue + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("vexword fill failed");
    state.counters["document_MB"] = fixture.xml.size() / 1e6;
}
BENCHMARK(BM_FillCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4);

// The floor: the least any fill of the main part pays.
void BM_FillFloor(benchmark::State& state) {
    FillFixture& fixture = TheFillFixture();
    const std::string out = BenchPath("fill-floor.bin");
    PeakMemory memory;
    double peak = 0;
    for (auto _ : state) {
        memory.Reset();
        {
            pugi::xml_document xml;
            Floor_InflateAndParse(fixture.compressed, fixture.xml.size(), xml);
            Floor_ReplaceInEveryText(xml.document_element(), kPlaceholder, kValue);
            Word::xml_string_writer writer;
            Word::PrintPart(xml, writer);
            const std::string deflated = Floor_Deflate(writer.result);
            if (FILE* f = std::fopen(out.c_str(), "wb")) {
                std::fwrite(deflated.data(), 1, deflated.size(), f);
                std::fclose(f);
            }
        }
        peak = std::max(peak, memory.AboveResetMB());
    }
    state.counters["document_MB"] = fixture.xml.size() / 1e6;
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_FillFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4);

// The same floor as a process of its own, started as BM_FillCommand starts
// vexword: what both pay to start, load and exit is in both figures.
void BM_FillFloorProcess(benchmark::State& state) {
    FillFixture& fixture = TheFillFixture();
    const std::string out = BenchPath("fill-floor-process.bin");
    const std::string command = std::string("'") + VEXWORD_FILL_FLOOR_PATH + "' '" + fixture.path + "' '" + out +
                                "' '" + kPlaceholder + "' '" + kValue + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("fill_floor failed");
    state.counters["document_MB"] = fixture.xml.size() / 1e6;
}
BENCHMARK(BM_FillFloorProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4);

// A one-page letter with five placeholders (one in the header) and 1,000
// rows of data for it.
struct LetterFixture {
    std::string letter = BenchPath("fill-letter.docx");
    std::string csv = BenchPath("fill-letter.csv");
    static const int kRows = 1000;

    LetterFixture() {
        vexrt::Runtime& rt = BenchHost();
        std::filesystem::remove(letter);
        {
            vexrt::Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(letter)}).object();
            vexrt::Object header = rt.call(doc, "Header", {0, true}).object();
            rt.call(header, "AppendParagraph", {"Letter to {name}"});
            for (const char* line :
                 {"{name}", "{street}", "{city}", "", "Dear {name},", "",
                  "thank you for your order of {date}. The amount of {amount} has been received and the goods "
                  "leave our store today.",
                  "Should anything be missing, please call us and quote your name, {name}, and the date of the "
                  "order.",
                  "", "Kind regards,", "", "The Demo Works"})
                rt.call(doc, "AppendParagraph", {std::string(line)});
            rt.call(doc, "Save");
        }
        std::ofstream out(csv, std::ios::binary);
        out << "{name},{street},{city},{date},{amount}\r\n";
        for (int i = 0; i < kRows; ++i)
            out << "\"Customer " << i << ", Jr.\",\"" << i << " Main Street\",Zürich,2026-12-0" << (i % 9 + 1)
                << ",\"€ " << (i * 37 % 1000) << ".50\"\r\n";
    }
};

void BM_FillBatch(benchmark::State& state) {
    static LetterFixture fixture;
    const std::string dir = BenchPath("fill-batch");
    const std::string command = std::string("'") + VEXWORD_TOOL_PATH + "' fill '" + fixture.letter + "' --csv '" +
                                fixture.csv + "' --out '" + dir + "' --jobs " + std::to_string(state.range(0)) +
                                " 2>/dev/null";
    for (auto _ : state) {
        std::filesystem::remove_all(dir);
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("vexword fill failed");
            break;
        }
    }
    state.counters["docs_per_s"] =
        benchmark::Counter(double(LetterFixture::kRows) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FillBatch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
