// Building and inspecting package files for the package tests: entries of
// the embedded blank package, ZIP files made from (name, bytes) lists, and a
// fresh folder per test under the output directory.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace package_files {

typedef std::vector<std::pair<std::string, std::string>> Entries;

// A new empty folder build/out/package/<suite>.<test>/ (ends in '/').
std::string TestFolder();
// The entries of the embedded blank package, in archive order.
Entries BlankEntries();
// Writes a ZIP file; `stored` keeps the bytes uncompressed (so a test can
// find and damage them in the file).
void WriteZip(const std::string& path, const Entries& entries, bool stored = false);
// Entries of a ZIP file in archive order; fails the test when unreadable.
Entries ReadZip(const std::string& path);
std::vector<std::string> Names(const Entries& entries);
// Bytes of the named entry; "" (and a test failure) when missing.
std::string Entry(const Entries& entries, const std::string& name);
void SetEntry(Entries& entries, const std::string& name, const std::string& bytes);
void RemoveEntry(Entries& entries, const std::string& name);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// Names in a folder, sorted.
std::vector<std::string> FolderContents(const std::string& folder);

}  // namespace package_files
