// FolderItem: a path in the file system. "Exists" asks the file system at
// each read; "TemporaryFile() as FolderItem" names a new file in the
// temporary folder without creating it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <iterator>
#include <new>

#include "host_classes.h"

namespace vexrt::detail {

namespace {

FolderItemPart* Part(REALobject self, const char* where) {
    Impl* rt = Impl::active();
    return rt ? rt->hostPart<FolderItemPart>(self, kFolderItem, where) : nullptr;
}

void Initialize(REALobject self) { new (HostClass_Part<FolderItemPart>(self, FolderItemClass)) FolderItemPart(); }

void Destroy(REALobject self) { HostClass_Part<FolderItemPart>(self, FolderItemClass)->~FolderItemPart(); }

bool GetExists(REALobject self, intptr_t) {
    const FolderItemPart* p = Part(self, "FolderItem.Exists");
    struct stat info;
    return p && !p->path.empty() && ::stat(p->path.c_str(), &info) == 0;
}

REALstring GetNativePath(REALobject self, intptr_t) {
    const FolderItemPart* p = Part(self, "FolderItem.NativePath");
    return p ? Impl::active()->newString(p->path, kREALTextEncodingUTF8) : nullptr;
}

REALobject TemporaryFile() {
    Impl* rt = Impl::active();
    return rt ? Handle(FolderItem_New(*rt, FolderItem_TemporaryPath(*rt))) : nullptr;
}

REALproperty Properties[] = {
    {nullptr, "Exists", "Boolean", REALmemberFlagPublic, HostClass_Function(GetExists), nullptr, 0},
    {nullptr, "NativePath", "String", REALmemberFlagPublic, HostClass_Function(GetNativePath),
     nullptr, 0},
};

REALmethodDefinition SharedMethods[] = {
    {HostClass_Function(TemporaryFile), nullptr, "TemporaryFile() as FolderItem",
     REALmemberFlagPublic},
};

}  // namespace

REALclassDefinition FolderItemClass =
    HostClass_Define(kFolderItem, "", sizeof(FolderItemPart), Initialize, Destroy, Properties,
                     std::size(Properties), nullptr, 0, SharedMethods, std::size(SharedMethods));

ObjectRec* FolderItem_New(Impl& rt, const std::string& path) {
    ClassRec* cls = rt.hostClass(kFolderItem);
    ObjectRec* f = cls ? rt.newInstance(*cls) : nullptr;
    if (f) static_cast<FolderItemPart*>(rt.part(*f, *cls))->path = path;
    return f;
}

std::string FolderItem_TemporaryPath(const Impl& rt) {
    std::string folder = rt.options.temporaryFolder;
    if (folder.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        folder = tmp && *tmp ? tmp : "/tmp";
    }
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    // Unique within the process by the counter, across processes by the id;
    // a name taken by some other file is skipped.
    static unsigned long counter = 0;
    std::string path;
    struct stat info;
    do {
        path = folder + "/vexrt-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) +
               ".tmp";
    } while (::stat(path.c_str(), &info) == 0);
    return path;
}

}  // namespace vexrt::detail
