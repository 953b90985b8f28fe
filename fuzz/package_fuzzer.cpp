// libFuzzer target: the input is a package file. It is opened, read, saved
// with SaveAs and the copy reopened through the host runtime, exactly as the
// mutation test does with its variants (tests/package/package_round_trip.h).
// A refusal with a WordException is a fine answer; anything else but a full
// round trip stops the fuzzer with the input kept.
//
// Most byte changes to a package only break a CRC. So the mutator mostly
// changes the bytes of one stored entry and writes the archive again with
// true sizes and CRC, letting the damage reach the XML; the seeds
// (package_fuzz_seeds) hold their entries stored for that.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <vexrt/runtime.h>

#include "package_round_trip.h"
#include "raw_zip.h"

extern "C" void REALPluginMain(REALResolverProc resolver);
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

// One runtime and one scratch folder for the whole run.
struct FuzzState {
    vexrt::Runtime runtime;
    std::string folder;

    FuzzState() {
        runtime.loadLinked(&REALPluginMain);
        // Saves sync the file: a folder in memory keeps that cheap.
        const char* tmp = std::getenv("TMPDIR");
        struct stat shm;
        const std::string base = tmp && *tmp ? tmp : ::stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode) ? "/dev/shm" : "/tmp";
        std::string name = base + "/vexword-fuzz.XXXXXX";
        if (!::mkdtemp(&name[0])) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder = name;
    }
    ~FuzzState() {
        std::remove(package().c_str());
        std::remove(copy().c_str());
        ::rmdir(folder.c_str());
    }
    std::string package() const { return folder + "/package.bin"; }
    std::string copy() const { return folder + "/copy.bin"; }
};

FuzzState& State() {
    static FuzzState state;
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzState& state = State();
    {
        std::ofstream out(state.package(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", state.package().c_str());
            std::abort();
        }
    }
    std::remove(state.copy().c_str());
    const RoundTripOutcome outcome = PackageRoundTrip(state.runtime, state.package(), state.copy());
    if (outcome.kind == RoundTripOutcome::Failed) {
        std::fprintf(stderr, "package round trip failed: %s\n", outcome.failure.c_str());
        std::abort();
    }
    return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    std::vector<raw_zip::Entry> entries;
    try {
        entries = raw_zip::Read(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception&) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    std::vector<size_t> stored;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].method == 0) stored.push_back(i);
    // One time in four, or when no entry is stored, the archive's own bytes.
    if (stored.empty() || seed % 4 == 0) return LLVMFuzzerMutate(data, size, maxSize);

    raw_zip::Entry& entry = entries[stored[(seed / 4) % stored.size()]];
    const size_t room = maxSize > size ? maxSize - size : 0;
    const size_t length = entry.data.size();
    entry.data.resize(length + room);
    entry.data.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(&entry.data[0]), length, length + room));
    entry.crc = raw_zip::Crc32(entry.data);
    entry.size = entry.data.size();
    const std::string archive = raw_zip::Write(entries);
    if (archive.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, archive.data(), archive.size());
    return archive.size();
}
