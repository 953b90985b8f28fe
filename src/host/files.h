// Host FolderItem objects, used only through "Exists" and "NativePath".
#pragma once

#include <string>

#include "host/plugin_sdk.h"

bool FolderItemExists(REALobject f);
// False when the path cannot be read or converted to UTF-8.
bool FolderItemNativePath(REALobject f, std::string& out);

// Framework functions resolved at load time inside the runtime; null outside.
typedef REALstring (*ReplaceAllProc)(REALstring source, REALstring oldString, REALstring newString);
typedef REALobject (*TemporaryFileProc)();
extern ReplaceAllProc EReplaceAll;
extern TemporaryFileProc ETemporaryFile;
