// The plug-in loaded once per benchmark program, as a host program has it.
#pragma once

#include <vexrt/runtime.h>

inline vexrt::Runtime& BenchHost() {
    static vexrt::Runtime* rt = [] {
        auto* r = new vexrt::Runtime();
        r->loadPlugin(VEXWORD_PLUGIN_PATH);
        return r;
    }();
    return *rt;
}
