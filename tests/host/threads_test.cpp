// Host entries, class references and constructors are looked up on first
// use and kept for the whole process; two host threads may reach a first
// use together. Here two threads make dates and read string bytes at once,
// again and again from empty caches (CI runs this under ThreadSanitizer).
// The runtime keeps its objects and its resolver's counts without locks,
// so the linked code resolves through a small host of the test's own whose
// entries may be called from any thread.
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/bridge.h"
#include "host/dates.h"
#include "own_host.h"
#include "run_together.h"

namespace {

constexpr int kRounds = 200;

// An instance of the small host: its class and what its constructor got.
struct FakeObject {
    REALclassRef cls;
    RBInteger year, month, day, hour, minute, second;
    RBInteger offsetSeconds;
};

char gDateTimeTag, gTimeZoneTag;
const REALclassRef kDateTime = reinterpret_cast<REALclassRef>(&gDateTimeTag);
const REALclassRef kTimeZone = reinterpret_cast<REALclassRef>(&gTimeZoneTag);
std::atomic<int> gLiveObjects{0};

FakeObject* Fake(REALobject o) { return reinterpret_cast<FakeObject*>(o); }

REALclassRef ObjectType(const char* fullName) {
    if (std::strcmp(fullName, "DateTime") == 0) return kDateTime;
    if (std::strcmp(fullName, "TimeZone") == 0) return kTimeZone;
    return nullptr;
}

REALobject CreateInstance(REALclassRef cls) {
    ++gLiveObjects;
    return reinterpret_cast<REALobject>(new FakeObject{cls, 0, 0, 0, 0, 0, 0, 0});
}

// Every instance here has one reference only.
void UnlockObject(REALobject o) {
    --gLiveObjects;
    delete Fake(o);
}

void ConstructTimeZone(REALobject self, RBInteger offsetSeconds) { Fake(self)->offsetSeconds = offsetSeconds; }

void ConstructDateTime(REALobject self, RBInteger year, RBInteger month, RBInteger day, RBInteger hour,
                       RBInteger minute, RBInteger second, RBInteger, REALobject timeZone) {
    *Fake(self) = {kDateTime, year, month, day, hour, minute, second,
                   timeZone ? Fake(timeZone)->offsetSeconds : -1};
}

void* LoadObjectMethod(REALobject o, const char* declaration) {
    const std::string d = declaration;
    if (Fake(o)->cls == kDateTime && d.rfind("Constructor(Year as Integer", 0) == 0)
        return reinterpret_cast<void*>(&ConstructDateTime);
    if (Fake(o)->cls == kTimeZone && d == "Constructor(gmtOffsetInSeconds As Integer)")
        return reinterpret_cast<void*>(&ConstructTimeZone);
    return nullptr;
}

REALobject CallFunctionWithExceptionHandler(REALExceptionHandlerCallback fn, void* arg) {
    fn(arg);
    return nullptr;
}

// A host string is its NUL-terminated bytes.
const char* StringGetCString(REALstring s) { return reinterpret_cast<const char*>(s); }
RBInteger LenB(REALstring s) { return RBInteger(std::strlen(StringGetCString(s))); }

void* LoadGlobalMethod(const char*, const char* declaration) {
    return std::strcmp(declaration, "LenB( s as string ) as integer") == 0 ? reinterpret_cast<void*>(&LenB)
                                                                             : nullptr;
}

template <typename Proc>
std::pair<const char*, void*> Entry(const char* name, Proc address) {
    return {name, reinterpret_cast<void*>(address)};
}

void* Resolve(const char* name) {
    static const std::pair<const char*, void*> entries[] = {
        Entry<pluginObjectTypeProc>("pluginObjectType", ObjectType),
        Entry<CreateInstanceProc>("CreateInstance", CreateInstance),
        Entry<REALUnlockObjectProc>("REALUnlockObject", UnlockObject),
        Entry<REALLoadObjectMethodProc>("REALLoadObjectMethod", LoadObjectMethod),
        Entry<PluginCallFunctionWithExceptionHandlerProc>("PluginCallFunctionWithExceptionHandler",
                                                          CallFunctionWithExceptionHandler),
        Entry<StringGetCStringProc>("StringGetCString", StringGetCString),
        Entry<REALLoadGlobalMethodProc>("REALLoadGlobalMethod", LoadGlobalMethod),
    };
    for (const auto& entry : entries)
        if (std::strcmp(entry.first, name) == 0) return entry.second;
    return nullptr;
}

void ForgetEverythingResolved() {
    BridgeReset();
    DatesResetClassCache();
    DatesResetMethodCache();
}

// One thread's dates and string; failures are kept, not asserted, so that
// the other thread is never left waiting.
struct Maker {
    int n;
    std::vector<std::string> failures;

    void fail(const std::string& what) {
        if (failures.size() < 10) failures.push_back("thread " + std::to_string(n) + ": " + what);
    }

    void run() {
        REALobject date = CreateDateTime(2000 + n, 1 + n, 10 + n, 8 + n, 30, 15, true, 3600 * (n + 1));
        if (!date) return fail("no date");
        const FakeObject& d = *Fake(date);
        if (d.cls != kDateTime || d.year != 2000 + n || d.month != 1 + n || d.day != 10 + n ||
            d.hour != 8 + n || d.minute != 30 || d.second != 15 || d.offsetSeconds != 3600 * (n + 1))
            fail("the date was constructed wrong");
        REALUnlockObject(date);

        const std::string text = "thread " + std::to_string(n);
        size_t length = 0;
        const char* bytes = REALGetStringContents(reinterpret_cast<REALstring>(const_cast<char*>(text.c_str())), &length);
        if (!bytes || std::string(bytes, length) != text) fail("string bytes");
    }
};

class Threads : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetEverythingResolved();
        BridgeSetResolver(&Resolve);
    }
    // The linked code goes back to a runtime's resolver, as other tests
    // expect it.
    void TearDown() override { OwnHost plain{vexrt::HostOptions{}}; }
};

}  // namespace

TEST_F(Threads, TwoThreadsMeetingAtFirstUseResolveTheSameHost) {
    for (int round = 0; round < kRounds; ++round) {
        ForgetEverythingResolved();
        Maker makers[2] = {{0, {}}, {1, {}}};
        run_together({[&] { makers[0].run(); }, [&] { makers[1].run(); }});
        for (const Maker& m : makers)
            for (const std::string& failure : m.failures) ADD_FAILURE() << "round " << round << ", " << failure;
        if (HasFailure()) break;
    }
    EXPECT_EQ(gLiveObjects.load(), 0);
}
