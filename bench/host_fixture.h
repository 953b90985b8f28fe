// The plug-in loaded once per benchmark program, as a host program has it.
#pragma once

#include <cstdio>
#include <string>

#include <vexrt/runtime.h>

inline vexrt::Runtime& BenchHost() {
    static vexrt::Runtime* rt = [] {
        auto* r = new vexrt::Runtime();
        r->loadPlugin(VEXWORD_PLUGIN_PATH);
        return r;
    }();
    return *rt;
}

// A file of the benchmarks' folder (away from build/out, which CI checks).
inline std::string BenchFile(const char* name) { return std::string(VEXWORD_BENCH_DIR) + "/" + name; }

// A new document at `file`, replacing one left by an earlier run.
inline vexrt::Object NewDocument(const std::string& file) {
    vexrt::Runtime& rt = BenchHost();
    std::remove(file.c_str());
    return rt.callShared("Document", "Create", {rt.makeFolderItem(file)}).object();
}
