// Opening and saving a large document, beside the floor that any open and
// save of it must pay: inflating, parsing, printing and deflating (level 6)
// its main part. The aim is open plus save within 1.3 times the floor.
// Checking the same package (vexword check) should cost about what opening
// and saving it costs, and grow linearly with the document.
#include <cstdio>
#include <cstring>
#include <string>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <zip.h>
#include <zlib.h>

#include "check/package_check.h"
#include "floor_codec.h"
#include "package/blank_package.h"
#include "package/document.h"
#include "package/temporary_path.h"
#include "package/xml_string_writer.h"

namespace {

const int kParagraphs = 100000;

// 100,000 paragraphs of three runs with varied text, printed as the library
// prints parts (about 20 MB), so that a save writes the same bytes again.
std::string LargeDocumentXml(int paragraphs = kParagraphs) {
    std::string xml =
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>";
    xml.reserve(21u << 20);
    static const char* const kWords[] = {"alpha", "bravo",  "charlie", "delta", "echo",
                                         "foxtrot", "golf", "hotel",   "india", "juliet"};
    for (int i = 0; i < paragraphs; ++i) {
        const char* a = kWords[i % 10];
        const char* b = kWords[(i / 10) % 10];
        const char* c = kWords[(i / 100) % 10];
        xml += "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>Paragraph ";
        xml += std::to_string(i);
        xml += " </w:t></w:r><w:r><w:t xml:space=\"preserve\">";
        xml += a;
        xml += ' ';
        xml += b;
        xml += " and ";
        xml += c;
        xml += " </w:t></w:r><w:r><w:t>";
        xml += std::to_string(i * 7919 % 100003);
        xml += " units.</w:t></w:r></w:p>";
    }
    xml += "<w:sectPr><w:pgSz w:w=\"12240\" w:h=\"15840\"/></w:sectPr></w:body></w:document>";
    pugi::xml_document parsed;
    parsed.load_buffer(xml.data(), xml.size(), Word::kParseOptions);
    Word::xml_string_writer printed;
    Word::PrintPart(parsed, printed);
    return printed.result;
}

struct Fixture {
    std::string path = std::string(VEXWORD_BENCH_DIR) + "/large.docx";
    std::string xml;         // document.xml
    std::string compressed;  // document.xml as a raw deflate stream (level 6)

    explicit Fixture(int paragraphs = kParagraphs, const char* name = "large.docx") {
        path = std::string(VEXWORD_BENCH_DIR) + "/" + name;
        xml = LargeDocumentXml(paragraphs);
        compressed = Floor_Deflate(xml);
        WritePackage();
    }

    // The blank package with the large main part.
    void WritePackage() {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* blankSource =
            zip_source_buffer_create(BlankPackage, BlankPackageSize, 0, &error);
        zip_t* blank = zip_open_from_source(blankSource, ZIP_RDONLY, &error);
        int code = 0;
        zip_t* out = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
        std::string parts[16];
        zip_int64_t count = zip_get_num_entries(blank, 0);
        for (zip_int64_t i = 0; i < count && i < 16; ++i) {
            zip_stat_t st;
            zip_stat_index(blank, static_cast<zip_uint64_t>(i), 0, &st);
            if (std::strcmp(st.name, "word/document.xml") == 0) {
                parts[i] = xml;
            } else {
                parts[i].resize(st.size);
                zip_file_t* f = zip_fopen_index(blank, static_cast<zip_uint64_t>(i), 0);
                zip_fread(f, &parts[i][0], st.size);
                zip_fclose(f);
            }
            zip_source_t* s = zip_source_buffer(out, parts[i].data(), parts[i].size(), 0);
            zip_int64_t at = zip_file_add(out, st.name, s, 0);
            zip_set_file_compression(out, static_cast<zip_uint64_t>(at), ZIP_CM_DEFLATE, 6);
        }
        if (zip_close(out) != 0) std::fprintf(stderr, "cannot write %s\n", path.c_str());
        zip_close(blank);
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_OpenAndSave(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    for (auto _ : state) {
        Word::Document doc(fixture.path);
        if (doc.Open() != Word::success) {
            state.SkipWithError("open failed");
            break;
        }
        std::string temporary;
        if (!Document_NewTemporaryPath(temporary) ||
            !doc.Save(temporary.c_str(), nullptr, nullptr)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.counters["document_MB"] = fixture.xml.size() / 1e6;
}
BENCHMARK(BM_OpenAndSave)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4);

// Inflate, parse, print and deflate the same bytes, nothing else.
void BM_Floor(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    for (auto _ : state) {
        pugi::xml_document xml;
        Floor_InflateAndParse(fixture.compressed, fixture.xml.size(), xml);
        Word::xml_string_writer writer;
        Word::PrintPart(xml, writer);
        std::string deflated = Floor_Deflate(writer.result);
        benchmark::DoNotOptimize(deflated.data());
    }
    state.counters["document_MB"] = fixture.xml.size() / 1e6;
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4);

std::string FileBytes(const std::string& path) {
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[1 << 16];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

// The whole check of the package: read, inflate, every rule in one scan.
void BM_Check(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    cli::CheckOptions strict;
    strict.strict = true;
    for (auto _ : state) {
        const cli::CheckReport report = cli::Check_PackageFile(fixture.path, strict);
        if (!report.passed()) {
            state.SkipWithError("the large document does not pass the check");
            break;
        }
    }
    state.counters["document_MB"] = fixture.xml.size() / 1e6;
}
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4);

// The check at 10,000 and 100,000 paragraphs: ten times the document should
// take about ten times as long.
void BM_CheckScaled(benchmark::State& state) {
    const int paragraphs = static_cast<int>(state.range(0));
    const Fixture fixture(paragraphs, "check-scaled.docx");
    const std::string bytes = FileBytes(fixture.path);
    cli::CheckOptions options;
    for (auto _ : state) {
        const cli::CheckReport report = cli::Check_PackageBytes("scaled.docx", bytes, options);
        benchmark::DoNotOptimize(report.errors);
    }
    state.SetComplexityN(paragraphs);
}
BENCHMARK(BM_CheckScaled)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Complexity();

}  // namespace

BENCHMARK_MAIN();
