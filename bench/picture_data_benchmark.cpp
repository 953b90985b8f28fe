// Adding one large picture: its bytes are walked once to their end (PNG
// chunks with their checksums, JPEG segments and scan data), so the time
// grows with the size as a single pass over it does, and a 10 MB picture
// costs about what its checksum does.
#include <cstdio>
#include <random>
#include <string>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include "host_fixture.h"

namespace {

std::string BigEndian32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Chunk(const char* type, const std::string& data) {
    const std::string body = std::string(type, 4) + data;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return BigEndian32(uint32_t(data.size())) + body + BigEndian32(uint32_t(crc));
}

// Noise the size of `bytes`, with no 0xFF in it (JPEG scan data stuffs it).
std::string Noise(size_t bytes) {
    std::mt19937 random(7);
    std::string out(bytes, '\0');
    for (char& c : out) c = char(random() % 255);
    return out;
}

// A PNG stream whose image data is `bytes` long, in chunks of 64 KB: what a
// reader walks, not a picture a decoder draws.
std::string PngOf(size_t bytes) {
    const std::string header = BigEndian32(1000) + BigEndian32(1000) + std::string("\x08\x02\x00\x00\x00", 5);
    std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", header);
    const std::string noise = Noise(bytes);
    for (size_t at = 0; at < noise.size(); at += 65536) png += Chunk("IDAT", noise.substr(at, 65536));
    return png + Chunk("IEND", "");
}

// A JPEG stream: a frame header, one scan of `bytes`, the end of image.
std::string JpegOf(size_t bytes) {
    return std::string("\xFF\xD8\xFF\xC0\x00\x0B\x08\x03\xE8\x03\xE8\x01\x01\x11\x00", 15) +
           std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10) + Noise(bytes) + std::string("\xFF\xD9", 2);
}

void AppendLarge(benchmark::State& state, const std::string& picture, int type) {
    vexrt::Runtime& rt = BenchHost();
    const std::string file = std::string(VEXWORD_BENCH_DIR) + "/large-picture.docx";
    const vexrt::Value bytes = rt.makeString(picture, kREALTextEncodingNone);
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(file.c_str());
        vexrt::Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
        state.ResumeTiming();
        rt.call(doc, "AppendParagraph", {bytes, type, "large", 1000, 1000});
        state.PauseTiming();
        doc = vexrt::Object();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(picture.size()));
}

void BM_AppendLargePng(benchmark::State& state) { AppendLarge(state, PngOf(size_t(state.range(0)) << 20), 1); }
void BM_AppendLargeJpeg(benchmark::State& state) { AppendLarge(state, JpegOf(size_t(state.range(0)) << 20), 2); }
BENCHMARK(BM_AppendLargePng)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendLargeJpeg)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
