// The resolver: every host entry point by the name plug-in code asks for.
// It counts each request, and answers null for the names a test withholds.
#include <cstring>

#include "declarations.h"
#include "entries.h"

namespace vexrt {

namespace detail {

double Entry_GetRBVersion() {
    Impl* rt = Impl::active();
    return rt ? rt->options.version : 0.0;
}

bool Entry_InRuntime() {
    Impl* rt = Impl::active();
    return rt && rt->options.inRuntime;
}

void Entry_RegisterPluginVersion(int version) {
    if (Impl* rt = Impl::active()) rt->pluginVersion = version;
}

namespace {

struct EntryPoint {
    const char* name;
    void* address;
};

// Each entry is checked against the signature plug-in code calls it with.
template <typename Proc>
EntryPoint Entry(const char* name, Proc address) {
    return {name, reinterpret_cast<void*>(address)};
}

const std::vector<EntryPoint>& EntryPoints() {
    static const std::vector<EntryPoint> entries = {
        Entry<PluginGetStringDataProc>("PluginGetStringData", Entry_GetStringData),
        Entry<PluginDisposeStringDataProc>("PluginDisposeStringData", Entry_DisposeStringData),
        Entry<REALBuildStringWithEncodingProc>("REALBuildStringWithEncoding",
                                               Entry_BuildStringWithEncoding),
        Entry<StringGetCStringProc>("StringGetCString", Entry_StringGetCString),
        Entry<RuntimeAddStringProc>("RuntimeAddString", Entry_AddString),
        Entry<REALLockStringProc>("REALLockString", Entry_LockString),
        Entry<REALUnlockStringProc>("REALUnlockString", Entry_UnlockString),
        Entry<REALLockObjectProc>("REALLockObject", Entry_LockObject),
        Entry<REALUnlockObjectProc>("REALUnlockObject", Entry_UnlockObject),
        Entry<PluginNewInstanceOfClassProc>("PluginNewInstanceOfClass", Entry_NewInstanceOfClass),
        Entry<CreateInstanceProc>("CreateInstance", Entry_CreateInstance),
        Entry<pluginObjectTypeProc>("pluginObjectType", Entry_ObjectType),
        Entry<REALLoadObjectMethodProc>("REALLoadObjectMethod", Entry_LoadObjectMethod),
        Entry<PluginLoadSharedMethodProc>("PluginLoadSharedMethod", Entry_LoadSharedMethod),
        Entry<REALLoadGlobalMethodProc>("REALLoadGlobalMethod", Entry_LoadGlobalMethod),
        Entry<RuntimeRaiseExceptionProc>("RuntimeRaiseException", Entry_RaiseException),
        Entry<PluginCallFunctionWithExceptionHandlerProc>("PluginCallFunctionWithExceptionHandler",
                                                          Entry_CallFunctionWithExceptionHandler),
        Entry<REALGetPropValueStringProc>("REALGetPropValueString", Entry_GetPropValueString),
        Entry<REALGetPropValueBoolProc>("REALGetPropValueBool", Entry_GetPropValueBool),
        Entry<REALGetPropValueIntegerProc>("REALGetPropValueInteger", Entry_GetPropValueInteger),
        Entry<REALGetPropValueObjectProc>("REALGetPropValueObject", Entry_GetPropValueObject),
        Entry<RuntimeArrayCreateSingleDimBoundedArrayProc>(
            "RuntimeArrayCreateSingleDimBoundedArray", Entry_CreateArray),
        Entry<PluginObjectArrayInsertProcProc>("PluginObjectArrayInsertProc",
                                               Entry_ObjectArrayInsert),
        Entry<REALGetRBVersionProc>("REALGetRBVersion", Entry_GetRBVersion),
        Entry<REALinRuntimeProc>("REALinRuntime", Entry_InRuntime),
        Entry<PluginRegisterModuleProc>("PluginRegisterModule", Entry_RegisterModule),
        Entry<PluginRegisterClassProc>("PluginRegisterClass", Entry_RegisterClass),
        Entry<RegisterPluginVersionProc>("RegisterPluginVersion", Entry_RegisterPluginVersion),
    };
    return entries;
}

}  // namespace

void* Entry_Resolve(const char* entryName) {
    Impl* rt = Impl::active();
    return rt && entryName ? rt->resolve(entryName) : nullptr;
}

}  // namespace detail

void* Runtime::Impl::resolve(const char* entryName) {
    ++resolveCounts[entryName];
    if (withholds(entryName)) return nullptr;
    for (const detail::EntryPoint& e : detail::EntryPoints())
        if (std::strcmp(e.name, entryName) == 0) return e.address;
    return nullptr;
}

bool Runtime::Impl::withholds(std::string_view nameOrDeclaration) const {
    if (options.withheld.empty()) return false;
    if (options.withheld.count(std::string(nameOrDeclaration))) return true;
    // Method declarations are withheld whatever their spelling.
    if (nameOrDeclaration.find('(') == std::string_view::npos) return false;
    const std::string wanted = detail::Declaration_Normalise(nameOrDeclaration);
    for (const std::string& w : options.withheld)
        if (detail::Declaration_Normalise(w) == wanted) return true;
    return false;
}

}  // namespace vexrt
