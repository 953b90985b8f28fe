// Wrappers of the host entry points. Each entry has one cache slot, filled
// the first time the resolver answers with an address; an entry the host
// lacks is asked for again at the next call and meanwhile gives the neutral
// result without calling anything.
//
// Host threads may reach a first use at the same time, so every slot is
// atomic. Relaxed order is enough: a slot holds a code address, not data
// published by another thread, and two threads resolving one entry both
// get the same address.
#include "host/bridge.h"

#include <atomic>

namespace {

enum Entry : int {
    kGetStringData,
    kDisposeStringData,
    kBuildStringWithEncoding,
    kStringGetCString,
    kAddStrings,
    kLockString,
    kUnlockString,
    kLockObject,
    kUnlockObject,
    kNewInstanceOfClass,
    kNewInstanceWithClass,
    kGetClassRef,
    kLoadObjectMethod,
    kLoadSharedMethod,
    kLoadGlobalMethod,
    kRaiseException,
    kCallFunctionWithExceptionHandler,
    kGetPropValueString,
    kGetPropValueBool,
    kGetPropValueInteger,
    kGetPropValueObject,
    kCreateArray,
    kObjectArrayInsert,
    kGetRBVersion,
    kInRuntime,
    kRegisterModule,
    kRegisterClass,
    kEntryCount
};

// Host entry names, indexed by Entry.
const char* const kEntryNames[kEntryCount] = {
    "PluginGetStringData",
    "PluginDisposeStringData",
    "REALBuildStringWithEncoding",
    "StringGetCString",
    "RuntimeAddString",
    "REALLockString",
    "REALUnlockString",
    "REALLockObject",
    "REALUnlockObject",
    "PluginNewInstanceOfClass",
    "CreateInstance",
    "pluginObjectType",
    "REALLoadObjectMethod",
    "PluginLoadSharedMethod",
    "REALLoadGlobalMethod",
    "RuntimeRaiseException",
    "PluginCallFunctionWithExceptionHandler",
    "REALGetPropValueString",
    "REALGetPropValueBool",
    "REALGetPropValueInteger",
    "REALGetPropValueObject",
    "RuntimeArrayCreateSingleDimBoundedArray",
    "PluginObjectArrayInsertProc",
    "REALGetRBVersion",
    "REALinRuntime",
    "PluginRegisterModule",
    "PluginRegisterClass",
};

constexpr const char* kLenBDeclaration = "LenB( s as string ) as integer";

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

std::atomic<REALResolverProc> gResolver{nullptr};
std::atomic<void*> gSlots[kEntryCount] = {};
// "LenB" is a framework function, reached through the global method loader
// rather than the resolver, but cached the same way.
std::atomic<void*> gLenBSlot{nullptr};

template <typename Proc>
Proc Resolve(Entry entry) {
    std::atomic<void*>& slot = gSlots[entry];
    void* address = slot.load(kRelaxed);
    if (!address) {
        REALResolverProc resolver = gResolver.load(kRelaxed);
        if (resolver && (address = resolver(kEntryNames[entry]))) slot.store(address, kRelaxed);
    }
    return reinterpret_cast<Proc>(address);
}

}  // namespace

void BridgeSetResolver(REALResolverProc resolver) { gResolver.store(resolver, kRelaxed); }

void BridgeReset() {
    for (std::atomic<void*>& slot : gSlots) slot.store(nullptr, kRelaxed);
    gLenBSlot.store(nullptr, kRelaxed);
}

bool REALGetStringData(REALstring s, uint32_t encoding, REALstringData* out) {
    auto fn = Resolve<PluginGetStringDataProc>(kGetStringData);
    return fn ? fn(s, encoding, out) != false : false;
}

void REALDisposeStringData(REALstringData* data) {
    if (auto fn = Resolve<PluginDisposeStringDataProc>(kDisposeStringData)) fn(data);
}

REALstring REALBuildStringWithEncoding(const char* bytes, size_t length, uint32_t encoding) {
    auto fn = Resolve<REALBuildStringWithEncodingProc>(kBuildStringWithEncoding);
    return fn ? fn(bytes, length, encoding) : nullptr;
}

REALstring REALBuildString(const char* bytes, size_t length, uint32_t encoding) {
    return REALBuildStringWithEncoding(bytes, length, encoding);
}

const char* REALGetStringContents(REALstring s, size_t* outLength) {
    if (!s) return nullptr;
    auto contents = Resolve<StringGetCStringProc>(kStringGetCString);
    void* lenBAddress = gLenBSlot.load(kRelaxed);
    if (!lenBAddress) {
        lenBAddress = REALLoadFrameworkMethod(kLenBDeclaration);
        if (lenBAddress) gLenBSlot.store(lenBAddress, kRelaxed);
    }
    auto lenB = reinterpret_cast<LenBProc>(lenBAddress);
    // Bytes without their count are of no use to a caller (they need not be
    // NUL-terminated), so a host lacking either entry gives nothing.
    if (!contents || !lenB) return nullptr;
    const char* bytes = contents(s);
    if (bytes && outLength) {
        RBInteger length = lenB(s);
        *outLength = length > 0 ? size_t(length) : 0;
    }
    return bytes;
}

REALstring REALAddStrings(REALstring a, REALstring b) {
    auto fn = Resolve<RuntimeAddStringProc>(kAddStrings);
    return fn ? fn(a, b) : nullptr;
}

void REALLockString(REALstring s) {
    if (auto fn = Resolve<REALLockStringProc>(kLockString)) fn(s);
}

void REALUnlockString(REALstring s) {
    if (auto fn = Resolve<REALUnlockStringProc>(kUnlockString)) fn(s);
}

void REALLockObject(REALobject o) {
    if (auto fn = Resolve<REALLockObjectProc>(kLockObject)) fn(o);
}

void REALUnlockObject(REALobject o) {
    if (auto fn = Resolve<REALUnlockObjectProc>(kUnlockObject)) fn(o);
}

REALobject REALnewInstanceOfClass(REALclassDefinition* def) {
    auto fn = Resolve<PluginNewInstanceOfClassProc>(kNewInstanceOfClass);
    return fn ? fn(def) : nullptr;
}

REALobject REALnewInstanceWithClass(REALclassRef cls) {
    if (!cls) return nullptr;
    auto fn = Resolve<CreateInstanceProc>(kNewInstanceWithClass);
    return fn ? fn(cls) : nullptr;
}

REALclassRef REALGetClassRef(const char* fullName) {
    auto fn = Resolve<pluginObjectTypeProc>(kGetClassRef);
    return fn ? fn(fullName) : nullptr;
}

void* REALLoadObjectMethod(REALobject o, const char* declaration) {
    auto fn = Resolve<REALLoadObjectMethodProc>(kLoadObjectMethod);
    return fn ? fn(o, declaration) : nullptr;
}

void* REALLoadSharedMethod(REALclassRef cls, const char* declaration) {
    auto fn = Resolve<PluginLoadSharedMethodProc>(kLoadSharedMethod);
    return fn ? fn(cls, declaration) : nullptr;
}

void* REALLoadFrameworkMethod(const char* declaration) {
    auto fn = Resolve<REALLoadGlobalMethodProc>(kLoadGlobalMethod);
    return fn ? fn(nullptr, declaration) : nullptr;
}

void REALRaiseException(REALobject exception) {
    if (auto fn = Resolve<RuntimeRaiseExceptionProc>(kRaiseException)) fn(exception);
}

REALobject REALCallFunctionWithExceptionHandler(REALExceptionHandlerCallback callback, void* arg) {
    auto fn = Resolve<PluginCallFunctionWithExceptionHandlerProc>(kCallFunctionWithExceptionHandler);
    return fn ? fn(callback, arg) : nullptr;
}

bool REALGetPropValueString(REALobject o, const char* prop, REALstring* out) {
    auto fn = Resolve<REALGetPropValueStringProc>(kGetPropValueString);
    return fn ? fn(o, prop, out) != false : false;
}

bool REALGetPropValueBoolean(REALobject o, const char* prop, RBBoolean* out) {
    auto fn = Resolve<REALGetPropValueBoolProc>(kGetPropValueBool);
    return fn ? fn(o, prop, out) != false : false;
}

bool REALGetPropValueInteger(REALobject o, const char* prop, RBInteger* out) {
    auto fn = Resolve<REALGetPropValueIntegerProc>(kGetPropValueInteger);
    return fn ? fn(o, prop, out) != false : false;
}

bool REALGetPropValueObject(REALobject o, const char* prop, REALobject* out) {
    auto fn = Resolve<REALGetPropValueObjectProc>(kGetPropValueObject);
    return fn ? fn(o, prop, out) != false : false;
}

REALarray REALCreateArray(int elementType, RBInteger upperBound) {
    auto fn = Resolve<RuntimeArrayCreateSingleDimBoundedArrayProc>(kCreateArray);
    return fn ? fn(elementType, upperBound) : nullptr;
}

void REALInsertArrayValueObject(REALarray a, RBInteger index, REALobject value) {
    if (auto fn = Resolve<PluginObjectArrayInsertProcProc>(kObjectArrayInsert)) fn(a, index, value);
}

double REALGetRBVersion() {
    auto fn = Resolve<REALGetRBVersionProc>(kGetRBVersion);
    return fn ? fn() : 0.0;
}

bool REALinRuntime() {
    auto fn = Resolve<REALinRuntimeProc>(kInRuntime);
    return fn ? fn() != false : false;
}

void REALRegisterModule(REALmoduleDefinition* def) {
    if (auto fn = Resolve<PluginRegisterModuleProc>(kRegisterModule)) fn(def);
}

void REALRegisterClass(REALclassDefinition* def) {
    if (auto fn = Resolve<PluginRegisterClassProc>(kRegisterClass)) fn(def);
}
