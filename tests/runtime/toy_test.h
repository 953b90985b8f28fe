// The runtime's tests drive the toy plug-in of tests/runtime/toy/ through
// the same fixture as the plug-in's tests: one shared runtime, a leak check
// after every test.
#pragma once

#include <string>

#include "plugin_test.h"

class ToyTest : public PluginTest {
protected:
    const char* runtimeKind() const override { return "toy"; }
    void loadPlugin(vexrt::Runtime& rt) const override { rt.loadPlugin(TOY_PLUGIN_PATH); }

    // A new Toy.Shape named `name`.
    vexrt::Object shape(const char* name) { return rt().callShared("Shape", "Make", {name}).object(); }
    // What the toy's initializers and destructors logged since the last call.
    std::string takeLog() {
        std::string log = rt().callShared("Shape", "Log").text();
        rt().callShared("Shape", "ClearLog");
        return log;
    }
};

// A runtime of its own for a test that needs particular host options,
// with the toy loaded into it.
inline std::unique_ptr<vexrt::Runtime> ToyRuntime(vexrt::HostOptions options, bool freshCopy = false) {
    auto rt = std::make_unique<vexrt::Runtime>(std::move(options));
    rt->loadPlugin(TOY_PLUGIN_PATH, freshCopy);
    return rt;
}
