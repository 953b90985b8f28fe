// Host objects: the order of initializers and destructors, reference counts,
// the accounting of live objects and strings, and handles plug-in code gets
// wrong, which must be reported instead of crashing the runtime.
#include "entries.h"
#include "toy_test.h"

using vexrt::Object;
using vexrt::RuntimeAccess;
using vexrt::String;
using vexrt::UsageError;
using vexrt::detail::Activation;

namespace {

bool Mentions(const std::vector<std::string>& faults, const std::string& text) {
    for (const std::string& f : faults)
        if (f.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST_F(ToyTest, InitializersRunFromTheRootDownAndDestructorsFromTheLeafUp) {
    takeLog();
    {
        Object d = rt().callShared("Dot", "MakeDot").object();
        EXPECT_EQ(takeLog(), "+Shape +Circle +Dot");
    }
    EXPECT_EQ(takeLog(), "-Dot -Circle -Shape");
}

TEST_F(ToyTest, AnObjectLivesAsLongAsItsLastReference) {
    const size_t before = rt().liveObjects();
    takeLog();
    Object a = shape("a");
    Object b = a;
    a = Object();
    EXPECT_EQ(rt().liveObjects(), before + 1);
    EXPECT_EQ(rt().get(b, "Name").text(), "a");

    // A reference kept by the plug-in counts like any other.
    Object holder = shape("holder");
    rt().set(holder, "Owner", b);
    b = Object();
    EXPECT_EQ(rt().liveObjects(), before + 2);
    EXPECT_EQ(takeLog(), "+Shape +Shape");
    rt().set(holder, "Owner", nullptr);
    EXPECT_EQ(takeLog(), "-Shape");
    EXPECT_EQ(rt().liveObjects(), before + 1);
}

TEST_F(ToyTest, LiveObjectsAndStringsAreCounted) {
    const size_t objects = rt().liveObjects(), strings = rt().liveStrings();
    {
        Object s = shape("named");
        // The shape keeps its name; the argument string went with the call.
        EXPECT_EQ(rt().liveObjects(), objects + 1);
        EXPECT_EQ(rt().liveStrings(), strings + 1);
        EXPECT_EQ(rt().liveObjectCensus()["Toy.Shape"], 1u);
        String copy = rt().get(s, "Name").string();
        EXPECT_EQ(rt().liveStrings(), strings + 1);  // the same string, one more count
    }
    EXPECT_EQ(rt().liveObjects(), objects);
    EXPECT_EQ(rt().liveStrings(), strings);
}

TEST_F(ToyTest, DanglingHandlesFromPlugInCodeFailTheCall) {
    Object s = shape("s");
    const size_t strings = rt().liveStrings(), objects = rt().liveObjects();
    struct Case {
        const char* method;
        const char* message;
    };
    for (const Case& c : {Case{"Junk", "returned a dangling string handle"},
                          Case{"Overrelease", "REALUnlockString: dangling string handle"},
                          Case{"ReleaseTwice", "REALUnlockObject: dangling object handle"}}) {
        try {
            rt().call(s, c.method);
            ADD_FAILURE() << c.method << " went unnoticed";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    // Nothing leaked, nothing left over, and the runtime goes on.
    EXPECT_EQ(rt().liveStrings(), strings);
    EXPECT_EQ(rt().liveObjects(), objects);
    EXPECT_TRUE(rt().takeFaults().empty());
    EXPECT_EQ(rt().call(s, "Describe").text(), "Shape s");
}

TEST_F(ToyTest, FaultsOutsideACallWaitToBeTaken) {
    Activation active(RuntimeAccess::impl(rt()));
    String s = rt().makeString("x");
    REALstring raw = s.release();
    vexrt::detail::Entry_UnlockString(raw);
    vexrt::detail::Entry_UnlockString(raw);
    EXPECT_STREQ(vexrt::detail::Entry_StringGetCString(raw), "");

    int local = 0;
    vexrt::detail::Entry_LockObject(reinterpret_cast<REALobject>(&local));
    vexrt::detail::Entry_UnlockObject(reinterpret_cast<REALobject>(&local));

    const std::vector<std::string> faults = rt().takeFaults();
    EXPECT_EQ(faults.size(), 4u);
    EXPECT_TRUE(Mentions(faults, "REALUnlockString: dangling string handle"));
    EXPECT_TRUE(Mentions(faults, "StringGetCString: dangling string handle"));
    EXPECT_TRUE(Mentions(faults, "REALLockObject: dangling object handle"));
    EXPECT_TRUE(rt().takeFaults().empty());
}

TEST_F(ToyTest, AStaleHandleStaysUnknownWhileNewStringsAreMade) {
    Activation active(RuntimeAccess::impl(rt()));
    REALstring stale = rt().makeString("old").release();
    vexrt::detail::Entry_UnlockString(stale);
    std::vector<String> fresh;
    for (int i = 0; i < 64; ++i) fresh.push_back(rt().makeString("new"));
    // Locking the stale handle must not lock a newer string at its address.
    vexrt::detail::Entry_LockString(stale);
    EXPECT_EQ(rt().takeFaults().size(), 1u);
}

TEST_F(ToyTest, PluginClassDefinitionsAndClassReferencesAreChecked) {
    Activation active(RuntimeAccess::impl(rt()));
    REALclassDefinition unknown{};
    EXPECT_EQ(vexrt::detail::Entry_NewInstanceOfClass(&unknown), nullptr);
    int local = 0;
    EXPECT_EQ(vexrt::detail::Entry_CreateInstance(reinterpret_cast<REALclassRef>(&local)), nullptr);
    EXPECT_EQ(vexrt::detail::Entry_ObjectType("Nowhere"), nullptr);
    EXPECT_NE(vexrt::detail::Entry_ObjectType("Toy.Shape"), nullptr);
    EXPECT_EQ(vexrt::detail::Entry_ObjectType("Toy.Shape"), vexrt::detail::Entry_ObjectType("Shape"));
    const std::vector<std::string> faults = rt().takeFaults();
    EXPECT_TRUE(Mentions(faults, "PluginNewInstanceOfClass: a class is not registered"));
    EXPECT_TRUE(Mentions(faults, "CreateInstance: unknown class reference"));
}
