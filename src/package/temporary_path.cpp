#include "package/temporary_path.h"

#include <cstdlib>
#include <unistd.h>

#include "host/bridge.h"
#include "host/files.h"

bool Document_NewTemporaryPath(std::string& out) {
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/') path += '/';
    path += "Word.XXXXXX";
    int fd = ::mkstemp(&path[0]);
    if (fd < 0) return false;
    ::close(fd);
    out = path;
    return true;
}

bool Document_TemporaryPath(std::string& out) {
    if (!ETemporaryFile) return Document_NewTemporaryPath(out);
    REALobject file = ETemporaryFile();
    if (!file) return false;
    bool ok = FolderItemNativePath(file, out);
    REALUnlockObject(file);
    return ok;
}
