// What is wrong with a file the tool was given, said in a user's words: the
// library's exceptions say what failed ("Error opening word document"), not
// which file or why. When a host exception comes out of opening or saving,
// the tool looks at the file itself (stat, access, its first bytes, the end
// of a ZIP archive) and names it and the reason in front of the library's
// message: "letter.docx: is a directory (WordException -4: Error opening
// word document)".
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace cli {

enum class FileUse { Read, Write };

// What is wrong with `path` as a document to read (Read: "does not exist",
// "is a directory", "is empty", "is not a .docx package (no ZIP directory)",
// "is encrypted (password-protected); ...", "permission denied"...) or as a
// file to write (Write: "folder does not exist", "folder is not writable",
// "is a directory"...); empty when nothing is found.
std::string FileProblem_Describe(const std::string& path, FileUse use);

// A failure to open or save a file, its message naming the file.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs `work`, which opens (Read) or saves (Write) `path`; a host exception
// out of it becomes a FileError "PATH: REASON (EXCEPTION NUMBER: MESSAGE)",
// or "PATH: EXCEPTION NUMBER: MESSAGE" when no reason is found.
void FileProblem_Guard(const std::string& path, FileUse use, const std::function<void()>& work);

}  // namespace cli
