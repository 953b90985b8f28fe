// `vexword text`, whole process, on documents of growing size: TEXT_PARAGRAPHS
// (100,000 body paragraphs with a header and footnotes beside them) and
// TEXT_LISTS (as many list instances as paragraphs, each restarting one
// definition, as a mail merge of lists leaves them). Every part is read in
// one pass, so ten times the size stays within about ten times the time.
#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>
#include <zip.h>

namespace {

std::string BenchPath(const std::string& name) { return std::string(VEXWORD_BENCH_DIR) + "/" + name; }

const char kNamespaces[] =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

void WritePackage(const std::string& path, const std::string& body, const std::string& numbering) {
    const std::string main = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
    const std::string types =
        "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" ContentType=\"" + main + "document.main+xml\"/>"
        "<Override PartName=\"/word/numbering.xml\" ContentType=\"" + main + "numbering+xml\"/></Types>";
    const std::string rels =
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"word/document.xml\"/></Relationships>";
    const std::string documentRels =
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "numbering\" Target=\"numbering.xml\"/></Relationships>";
    const std::string document = std::string("<?xml version=\"1.0\"?><w:document ") + kNamespaces + "><w:body>" +
                                 body + "<w:sectPr/></w:body></w:document>";
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    const std::pair<const char*, const std::string*> entries[] = {{"[Content_Types].xml", &types},
                                                                  {"_rels/.rels", &rels},
                                                                  {"word/_rels/document.xml.rels", &documentRels},
                                                                  {"word/document.xml", &document},
                                                                  {"word/numbering.xml", &numbering}};
    for (const auto& entry : entries) {
        zip_source_t* source = zip_source_buffer(zip, entry.second->data(), entry.second->size(), 0);
        zip_file_add(zip, entry.first, source, ZIP_FL_OVERWRITE);
    }
    zip_close(zip);
}

std::string Numbering(int64_t lists) {
    std::string xml = std::string("<?xml version=\"1.0\"?><w:numbering ") + kNamespaces +
                      "><w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt "
                      "w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>";
    for (int64_t i = 1; i <= lists; ++i)
        xml += "<w:num w:numId=\"" + std::to_string(i) +
               "\"><w:abstractNumId w:val=\"0\"/><w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"1\"/>"
               "</w:lvlOverride></w:num>";
    return xml + "</w:numbering>";
}

void RunText(benchmark::State& state, const std::string& file) {
    const std::string command = std::string("'") + VEXWORD_TOOL_PATH + "' text '" + file + "' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("vexword text failed");
    state.SetComplexityN(state.range(0));
}

std::string ParagraphsFile(int64_t paragraphs) {
    std::string body;
    for (int64_t i = 0; i < paragraphs; ++i)
        body += "<w:p><w:r><w:t xml:space=\"preserve\">Paragraph " + std::to_string(i) +
                " of the benchmark, </w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>bold</w:t></w:r></w:p>";
    const std::string file = BenchPath("text-paragraphs-" + std::to_string(paragraphs) + ".bin");
    WritePackage(file, body, Numbering(1));
    return file;
}

void BM_TextParagraphs(benchmark::State& state) { RunText(state, ParagraphsFile(state.range(0))); }
// The time is the child process's: real time, not this process's.
BENCHMARK(BM_TextParagraphs)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Complexity();

// `vexword resave` of the same file, whole process: what reading it costs
// against opening and writing it again through the plug-in.
void BM_ResaveParagraphs(benchmark::State& state) {
    const std::string file = ParagraphsFile(state.range(0));
    const std::string command = std::string("'") + VEXWORD_TOOL_PATH + "' resave --force '" + file + "' '" + file +
                                ".resaved.bin' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("vexword resave failed");
}
BENCHMARK(BM_ResaveParagraphs)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TextLists(benchmark::State& state) {
    const int64_t lists = state.range(0);
    std::string body;
    for (int64_t i = 1; i <= lists; ++i)
        body += "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"" + std::to_string(i) +
                "\"/></w:numPr></w:pPr><w:r><w:t>Item</w:t></w:r></w:p>";
    const std::string file = BenchPath("text-lists-" + std::to_string(lists) + ".bin");
    WritePackage(file, body, Numbering(lists));
    RunText(state, file);
}
BENCHMARK(BM_TextLists)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime()->Complexity();

}  // namespace
