// Where Save writes the package before it replaces the document's file.
#pragma once

#include <string>

// A new empty file "Word.XXXXXX" (mkstemp) under TMPDIR, else /tmp.
bool Document_NewTemporaryPath(std::string& out);
// The host's temporary file when the host offers one (its FolderItem is
// released once its path is read), else Document_NewTemporaryPath. False
// when no path could be had.
bool Document_TemporaryPath(std::string& out);
