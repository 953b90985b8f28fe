// The plug-in's exported entry: store the resolver, announce the record
// version, read what kind of host this is, and register the module; inside
// the entry guard, like every function the host calls.
#include "host/bridge.h"
#include "host/dates.h"
#include "host/entry_guard.h"
#include "host/files.h"
#include "host/module.h"

namespace {

constexpr double kFirstModuleHost = 2013.4;     // hosts that take a whole module
constexpr double kFirstDateTimeHost = 2019.02;  // DateTime and iterators
constexpr double kClassByClassHost = 100.0;     // registers classes one by one

double gHostVersion = 0.0;

}  // namespace

double Plugin_HostVersion() { return gHostVersion; }

void PluginEntry() {
    DatesResetClassCache();
    gHostVersion = REALGetRBVersion();

    // Outside a built application the framework functions are not there;
    // callers fall back to their own means.
    EReplaceAll = nullptr;
    ETemporaryFile = nullptr;
    if (REALinRuntime()) {
        EReplaceAll = reinterpret_cast<ReplaceAllProc>(REALLoadFrameworkMethod(
            "ReplaceAll(source as String, oldString as String, newString as String) as String"));
        if (gHostVersion >= kFirstDateTimeHost) {
            // A host that cannot name FolderItem has no shared method to give.
            if (REALclassRef folderItem = REALGetClassRef("FolderItem"))
                ETemporaryFile = reinterpret_cast<TemporaryFileProc>(
                    REALLoadSharedMethod(folderItem, "TemporaryFile() as FolderItem"));
        } else {
            ETemporaryFile = reinterpret_cast<TemporaryFileProc>(
                REALLoadFrameworkMethod("GetTemporaryFolderItem() as FolderItem"));
        }
    }

    Module_ApplyVersionGating(gHostVersion < kFirstDateTimeHost &&
                              gHostVersion != kClassByClassHost);

    if (gHostVersion >= kFirstModuleHost) {
        REALRegisterModule(&VexlomarWordModule);
    } else if (gHostVersion == kClassByClassHost && VexlomarWordModule.classCount != 0) {
        for (size_t i = 0; i < VexlomarWordModule.classCount; ++i)
            REALRegisterClass(VexlomarWordModule.classes[i]);
    }

    REALGetClassRef("VexlomarWord.WordException");
}

namespace {

void LoadPlugin(REALResolverProc resolver) {
    // Linked code can be loaded again by a new host in the same process:
    // nothing resolved from the previous one may survive.
    BridgeReset();
    DatesResetMethodCache();
    BridgeSetResolver(resolver);
    if (resolver) {
        auto announce = reinterpret_cast<RegisterPluginVersionProc>(resolver("RegisterPluginVersion"));
        if (announce) announce(kREALPluginVersion);
    }
    PluginEntry();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void REALPluginMain(REALResolverProc resolver) {
    GuardedEntry<LoadPlugin>::Call(resolver);
}
