// The framework's global functions that plug-in code reaches by
// declaration through REALLoadGlobalMethod(nullptr, declaration).
#include "declarations.h"
#include "entries.h"
#include "host_classes.h"

namespace vexrt::detail {

namespace {

// Bytes and encoding of a string argument; nil gives "" in UTF-8.
StringRec Argument(Impl& rt, REALstring s, const char* where) {
    StringRec copy;
    if (!s) return copy;
    if (StringRec* rec = rt.liveString(s, where)) {
        copy.encoding = rec->encoding;
        copy.bytes = rec->bytes;
    }
    return copy;
}

// "ReplaceAll(source as String, oldString as String, newString as String) as String"
REALstring ReplaceAll(REALstring source, REALstring oldString, REALstring newString) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    constexpr const char* kWhere = "ReplaceAll";
    StringRec text = Argument(*rt, source, kWhere);
    const std::string from = Argument(*rt, oldString, kWhere).bytes;
    const std::string to = Argument(*rt, newString, kWhere).bytes;
    if (from.empty()) return rt->newString(text.bytes, text.encoding);
    std::string out;
    size_t start = 0;
    for (size_t at; (at = text.bytes.find(from, start)) != std::string::npos; start = at + from.size())
        out.append(text.bytes, start, at - start).append(to);
    out.append(text.bytes, start, std::string::npos);
    return rt->newString(out, text.encoding);
}

// "LenB( s as string ) as integer"
RBInteger LenB(REALstring s) {
    Impl* rt = Impl::active();
    if (!rt || !s) return 0;
    StringRec* rec = rt->liveString(s, "LenB");
    return rec ? RBInteger(rec->bytes.size()) : 0;
}

// "GetTemporaryFolderItem() as FolderItem"
REALobject GetTemporaryFolderItem() {
    Impl* rt = Impl::active();
    return rt ? Handle(FolderItem_New(*rt, FolderItem_TemporaryPath(*rt))) : nullptr;
}

struct FrameworkFunction {
    const char* declaration;
    void* function;
};

const FrameworkFunction kFunctions[] = {
    {"ReplaceAll(source as String, oldString as String, newString as String) as String",
     HostClass_Function(ReplaceAll)},
    {"LenB( s as string ) as integer", HostClass_Function(LenB)},
    {"GetTemporaryFolderItem() as FolderItem", HostClass_Function(GetTemporaryFolderItem)},
};

}  // namespace

void* Framework_Find(std::string_view normalisedDeclaration) {
    for (const FrameworkFunction& f : kFunctions)
        if (Declaration_Normalise(f.declaration) == normalisedDeclaration) return f.function;
    return nullptr;
}

}  // namespace vexrt::detail
