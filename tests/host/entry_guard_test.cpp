// No C++ exception reaches the host: a registered function that throws
// raises a WordException instead (out of memory -16, anything else -17) and
// returns its neutral value, with its own frames cleaned up and nothing
// left alive. The probe classes are registered through the same table
// shorthands as the library's classes, next to the linked module.
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/bridge.h"
#include "host/class_tables.h"
#include "host/entry_guard.h"
#include "host/module.h"
#include "host/strings.h"
#include "plugin_test.h"

namespace {

// Unlocks a host string on every way out.
struct HeldString {
    REALstring s;
    ~HeldString() {
        if (s) REALUnlockString(s);
    }
};

// Memory running out. (A real request too large for the machine would stop
// the AddressSanitizer build instead of throwing.)
RBInteger Allocate(REALobject) { throw std::bad_alloc(); }

RBInteger Resize(REALobject, RBInteger) {
    std::string text;
    text.resize(text.max_size() + 1);  // length_error
    return 1;
}

// Holds a host string when it throws: the string must be gone when the host
// sees the exception.
REALobject Fail(REALobject, REALstring message) {
    HeldString held{UTF8ToString("kept until the frame unwinds")};
    std::string text;
    StringToUTF8(message, text);
    throw std::runtime_error(text);
}

REALstring GetName(REALobject, intptr_t) { throw std::logic_error("no name"); }
void SetName(REALobject, intptr_t, REALstring) { throw std::out_of_range("no name"); }
double GetRatio(REALobject, intptr_t) { throw std::bad_alloc(); }
RBBoolean GetReady(REALobject, intptr_t) { throw 7; }  // not even a std::exception
RBColor Shade(REALobject, RBInteger) { throw std::bad_alloc(); }
void SetShade(REALobject, RBInteger, RBColor) { throw std::runtime_error("no shade"); }
RBInteger Twice(RBInteger value) {
    if (value < 0) throw std::bad_alloc();
    return value * 2;
}

REALproperty ProbeProperties[] = {
    VEX_PROPERTY("Name", "String", GetName, SetName),
    VEX_READONLY_PROPERTY("Ratio", "Double", GetRatio),
    VEX_READONLY_PROPERTY("Ready", "Boolean", GetReady),
};

REALmethodDefinition ProbeMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
    VEX_METHOD(Allocate, "Allocate() as Integer"),
    VEX_METHOD(Resize, "Resize(size as Integer) as Integer"),
    VEX_METHOD(Fail, "Fail(message as String) as GuardProbe"),
    VEX_ASSIGNABLE_METHOD(Shade, SetShade, "Shade(index as Integer) as Color"),
};

REALmethodDefinition ProbeSharedMethods[] = {
    VEX_METHOD(Twice, "Twice(value as Integer) as Integer"),
};

REALclassDefinition GuardProbeClass =
    ClassDefinition("GuardProbe", "", 0, nullptr, nullptr, ProbeProperties, VEX_COUNT(ProbeProperties),
                    ProbeMethods, VEX_COUNT(ProbeMethods), ProbeSharedMethods, VEX_COUNT(ProbeSharedMethods));

// A class whose initializer and destructor throw.
int gInitializerThrows = 0;
void BrokenInitializer(REALobject) {
    if (gInitializerThrows) throw std::bad_alloc();
}
void BrokenDestructor(REALobject) { throw std::runtime_error("destructor"); }

REALmethodDefinition BrokenMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(EmptyConstructor),
};

REALclassDefinition BrokenProbeClass = ClassDefinition("BrokenProbe", "", 0, BrokenInitializer, BrokenDestructor,
                                                       nullptr, 0, BrokenMethods, VEX_COUNT(BrokenMethods));

void ProbePluginMain(REALResolverProc resolver) {
    REALPluginMain(resolver);
    REALRegisterClass(&GuardProbeClass);
    REALRegisterClass(&BrokenProbeClass);
}

class EntryGuardTest : public PluginTest {
protected:
    const char* runtimeKind() const override { return "linked, with guard probes"; }
    void loadPlugin(vexrt::Runtime& rt) const override { rt.loadLinked(&ProbePluginMain); }

    // Runs `call`, which must end in the host exception the guard raises.
    template <class Call>
    void ExpectWordException(Call call, const char* message, int64_t number, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_RAISED(call(), "VexlomarWord.WordException", message, number);
    }
    template <class Call>
    void ExpectOutOfMemory(Call call, const char* what) {
        ExpectWordException(call, "Out of memory", -16, what);
    }
    template <class Call>
    void ExpectInternalError(Call call, const char* what) {
        ExpectWordException(call, "Internal error", -17, what);
    }

    // The error number of the exception raised since the last look; 0 for none.
    int64_t raisedNumber() {
        std::optional<vexrt::HostException> e = rt().takeRaisedException();
        return e ? e->errorNumber() : 0;
    }
};

}  // namespace

TEST_F(EntryGuardTest, EveryKindOfMemberRaisesAWordExceptionInsteadOfThrowing) {
    vexrt::Object probe = rt().newInstance("GuardProbe");
    ASSERT_FALSE(probe.isNil());
    ExpectOutOfMemory([&] { rt().call(probe, "Allocate"); }, "method, bad_alloc");
    ExpectOutOfMemory([&] { rt().call(probe, "Resize", {5}); }, "method, length_error");
    ExpectInternalError([&] { rt().call(probe, "Fail", {"why"}); }, "method returning an object, runtime_error");
    ExpectInternalError([&] { rt().get(probe, "Name"); }, "getter, logic_error");
    ExpectInternalError([&] { rt().set(probe, "Name", "x"); }, "setter, out_of_range");
    ExpectOutOfMemory([&] { rt().get(probe, "Ratio"); }, "getter of a Double");
    ExpectInternalError([&] { rt().get(probe, "Ready"); }, "getter, not a std::exception");
    ExpectOutOfMemory([&] { rt().call(probe, "Shade", {1}); }, "assignable method, read form");
    ExpectInternalError([&] { rt().assign(probe, "Shade", {1}, vexrt::Color{0xFF0000}); },
                        "assignable method, assignment form");
    ExpectOutOfMemory([&] { rt().callShared("GuardProbe", "Twice", {-1}); }, "shared method");
    // The guard is transparent when nothing is thrown.
    EXPECT_EQ(rt().callShared("GuardProbe", "Twice", {21}).integer(), 42);
}

TEST_F(EntryGuardTest, InitializersAndDestructorsAreGuardedToo) {
    gInitializerThrows = 1;
    ExpectOutOfMemory([&] { rt().newInstance("BrokenProbe"); }, "initializer");
    gInitializerThrows = 0;
    // The host may release an object outside any call: the exception of the
    // destructor then waits for the host.
    { vexrt::Object broken = rt().newInstance("BrokenProbe"); }
    std::optional<vexrt::HostException> e = rt().takeRaisedException();
    ASSERT_TRUE(e.has_value()) << "destructor";
    EXPECT_EQ(e->className(), "VexlomarWord.WordException");
    EXPECT_EQ(e->errorNumber(), -17);
}

// Called directly, as the host calls them: the guarded functions return the
// neutral value of their result type, with the exception raised.
TEST_F(EntryGuardTest, GuardedFunctionsReturnTheirNeutralValue) {
    EXPECT_EQ(GuardedEntry<Allocate>::Call(nullptr), 0);
    EXPECT_EQ(raisedNumber(), -16);
    EXPECT_EQ(GuardedEntry<Fail>::Call(nullptr, nullptr), nullptr);
    EXPECT_EQ(raisedNumber(), -17);
    EXPECT_EQ(GuardedEntry<GetName>::Call(nullptr, 0), nullptr);
    EXPECT_EQ(raisedNumber(), -17);
    EXPECT_EQ(GuardedEntry<GetRatio>::Call(nullptr, 0), 0.0);
    EXPECT_EQ(raisedNumber(), -16);
    EXPECT_FALSE(GuardedEntry<GetReady>::Call(nullptr, 0));
    EXPECT_EQ(raisedNumber(), -17);
    EXPECT_EQ(GuardedEntry<Shade>::Call(nullptr, 0), 0u);
    EXPECT_EQ(raisedNumber(), -16);
    GuardedEntry<SetShade>::Call(nullptr, 0, 0);
    EXPECT_EQ(raisedNumber(), -17);
    EXPECT_EQ(GuardedEntry<Twice>::Call(4), 8);
    EXPECT_EQ(raisedNumber(), 0);
}
