// Fixtures for tests of the plug-in through the runtime, and the host
// exceptions calls raise.
//
// PluginTest: the plug-in as host programs see it, loaded from the shared
// library this build made (VEXWORD_PLUGIN_PATH) into one runtime per test
// binary. Each test gets a fresh empty folder under build/out/ and fails
// when it leaves host objects, strings or string data behind, or when plug-in
// code misused a handle outside a call (Runtime::takeFaults).
//
// Keep host values in locals of the test body: they are released before
// TearDown counts. Fixture members holding them must be reset in the
// subclass's own TearDown, before PluginTest::TearDown.
#pragma once

#include <map>
#include <string>

#include <gtest/gtest.h>
#include <vexrt/runtime.h>

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    vexrt::Runtime& rt() { return *rt_; }
    // This test's own folder: build/out/<test binary>/<Suite>.<Test>/, empty at start.
    const std::string& outDir() const { return outDir_; }
    // A path within outDir().
    std::string path(const std::string& name) const;
    vexrt::Object folderItem(const std::string& nativePath);

    // What kind of shared runtime the fixture uses, and how to load the
    // plug-in into a new one. One runtime of a kind lives per test binary
    // (it is replaced when a test of another kind comes).
    virtual const char* runtimeKind() const { return "shared library"; }
    virtual void loadPlugin(vexrt::Runtime& rt) const;

private:
    vexrt::Runtime* rt_ = nullptr;
    std::string outDir_;
    size_t objectsAtStart_ = 0, stringsAtStart_ = 0, stringDataAtStart_ = 0;
    std::map<std::string, size_t> censusAtStart_;
};

// The plug-in's code linked into the test binary (vexword_core), for tests
// of internal operations: the runtime calls REALPluginMain directly, so the
// test can call the library's functions with the runtime's handles.
class LinkedTest : public PluginTest {
protected:
    const char* runtimeKind() const override { return "linked"; }
    void loadPlugin(vexrt::Runtime& rt) const override;
};

// The host exception `f` raised; a test failure (and an empty exception)
// when it raised none.
template <class F>
vexrt::HostException raised(F&& f) {
    try {
        f();
    } catch (const vexrt::HostException& e) {
        return e;
    }
    ADD_FAILURE() << "no host exception was raised";
    return vexrt::HostException("", "", 0);
}

// Expects `expr` to raise the host exception of that class, message and
// error number.
#define EXPECT_RAISED(expr, cls, msg, number)                       \
    do {                                                            \
        vexrt::HostException raised_ = raised([&] { expr; });       \
        EXPECT_EQ(raised_.className(), cls);                        \
        EXPECT_EQ(raised_.message(), msg);                          \
        EXPECT_EQ(raised_.errorNumber(), number);                   \
    } while (false)
