// Host FolderItem objects, read through their "Exists" and "NativePath"
// properties; the framework functions resolved at load time live here too.
#include "host/files.h"

#include "host/bridge.h"
#include "host/strings.h"

ReplaceAllProc EReplaceAll = nullptr;
TemporaryFileProc ETemporaryFile = nullptr;

bool FolderItemExists(REALobject f) {
    if (!f) return false;
    RBBoolean exists = false;
    return REALGetPropValueBoolean(f, "Exists", &exists) && exists;
}

bool FolderItemNativePath(REALobject f, std::string& out) {
    if (!f) return false;
    REALstring path = nullptr;
    if (!REALGetPropValueString(f, "NativePath", &path)) return false;
    // A nil path names no file.
    if (!path) return false;
    std::string utf8;
    bool converted = StringToUTF8(path, utf8);
    REALUnlockString(path);
    if (!converted) return false;
    out = std::move(utf8);
    return true;
}
