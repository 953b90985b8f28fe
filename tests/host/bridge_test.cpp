// The bridge: entries resolved by name once, neutral results while the host
// lacks an entry, and a fresh resolution at every load.
#include <string>

#include "host/bridge.h"
#include "host/strings.h"
#include "own_host.h"

using vexrt::Object;
using vexrt::String;

TEST(Bridge, AnEntryIsResolvedOnceAndThenCalledDirectly) {
    OwnHost host(vexrt::HostOptions{});
    vexrt::Runtime& rt = host.rt();
    for (int i = 0; i < 3; ++i) String(UTF8ToString("x"), true);
    EXPECT_EQ(rt.resolveCount("REALBuildStringWithEncoding"), 1);
    String text = rt.makeString("y");
    std::string out;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(StringToUTF8(text.get(), out));
    EXPECT_EQ(rt.resolveCount("PluginGetStringData"), 1);
    EXPECT_EQ(rt.resolveCount("PluginDisposeStringData"), 1);
}

TEST(Bridge, AMissingEntryGivesTheNeutralResultAndIsAskedForAgain) {
    OwnHost host(Withholding({"PluginGetStringData", "REALLockString", "pluginObjectType",
                              "RuntimeArrayCreateSingleDimBoundedArray",
                              "REALGetPropValueInteger", "REALLoadGlobalMethod"}));
    vexrt::Runtime& rt = host.rt();
    String text = rt.makeString("abc");

    const int asked = rt.resolveCount("PluginGetStringData");
    std::string out = "kept";
    EXPECT_FALSE(StringToUTF8(text.get(), out));
    EXPECT_FALSE(StringToUTF8(text.get(), out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(rt.resolveCount("PluginGetStringData"), asked + 2);

    REALLockString(text.get());  // does nothing: the count stays as it was
    EXPECT_EQ(REALGetClassRef("DateTime"), nullptr);
    EXPECT_EQ(REALCreateArray(kREALArrayTypeObject, 3), nullptr);
    RBInteger value = 5;
    Object date = rt.makeDateTime(2024, 1, 2, 3, 4, 5, 0);
    EXPECT_FALSE(REALGetPropValueInteger(date.get(), "Year", &value));
    EXPECT_EQ(REALLoadFrameworkMethod("LenB( s as string ) as integer"), nullptr);
    // Raw contents need the framework's byte count: without it, nothing.
    size_t length = 9;
    EXPECT_EQ(REALGetStringContents(text.get(), &length), nullptr);
    EXPECT_EQ(length, 9u);
}

TEST(Bridge, ClassesAreNotMadeFromANilReference) {
    OwnHost host(vexrt::HostOptions{});
    const int asked = host.rt().resolveCount("CreateInstance");
    EXPECT_EQ(REALnewInstanceWithClass(nullptr), nullptr);
    EXPECT_EQ(host.rt().resolveCount("CreateInstance"), asked);
}

TEST(Bridge, AHostWithoutVersionOrRuntimeEntriesLooksOldAndDesignTime) {
    OwnHost host(Withholding({"REALGetRBVersion", "REALinRuntime"}));
    EXPECT_EQ(REALGetRBVersion(), 0.0);
    EXPECT_FALSE(REALinRuntime());
    EXPECT_EQ(host.rt().module(), nullptr);
    EXPECT_TRUE(host.rt().looseClasses().empty());
}

TEST(Bridge, LenBIsReachedThroughTheGlobalMethodLoader) {
    OwnHost host(Withholding({"LenB( s as string ) as integer"}));
    String text = host.rt().makeString("abc");
    size_t length = 9;
    EXPECT_EQ(REALGetStringContents(text.get(), &length), nullptr);
    EXPECT_EQ(length, 9u);
}

// Linked code loaded again by a new host forgets every entry of the old one.
TEST(Bridge, ASecondLoadResolvesEverythingAgain) {
    {
        OwnHost first(vexrt::HostOptions{});
        String(UTF8ToString("cached"), true);
        EXPECT_GE(first.rt().resolveCount("REALBuildStringWithEncoding"), 1);
    }
    OwnHost second(Withholding({"REALBuildStringWithEncoding"}));
    EXPECT_EQ(UTF8ToString("not built"), nullptr);
    EXPECT_GE(second.rt().resolveCount("REALBuildStringWithEncoding"), 1);
}
