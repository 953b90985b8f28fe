#include "file_problems.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <vexrt/runtime.h>

namespace cli {

namespace {

// "a character device", "a FIFO"...: a file that is not a regular one.
std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a symbolic link";
    return "not a regular file";
}

std::string Lowercase(std::string text) {
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

// Why stat or open failed, in the words of the messages.
std::string Because(int error) {
    switch (error) {
    case ENOENT: return "does not exist";
    case ENOTDIR: return "does not exist (a part of its path is a file, not a folder)";
    case EACCES:
    case EPERM: return "permission denied";
    case ELOOP: return "is a loop of symbolic links";
    default: return Lowercase(std::strerror(error));
    }
}

const unsigned char kOleSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// A ZIP archive ends with its directory's end record (22 bytes and a
// comment of at most 65535).
bool HasZipDirectory(std::ifstream& in, uint64_t size) {
    const uint64_t tail = std::min<uint64_t>(size, 22 + 65535);
    std::string bytes(tail, '\0');
    in.clear();
    in.seekg(std::streamoff(size - tail));
    if (!in.read(&bytes[0], std::streamsize(tail))) return false;
    for (size_t at = bytes.size() >= 22 ? bytes.size() - 22 + 1 : 0; at-- > 0;)
        if (bytes.compare(at, 4, "PK\x05\x06", 4) == 0) return true;
    return false;
}

// An encrypted .docx is an OLE compound file whose directory names the
// streams "EncryptionInfo" and "EncryptedPackage" (UTF-16LE).
bool NamesEncryptedPackage(std::ifstream& in, uint64_t size) {
    const std::string name("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    const uint64_t limit = std::min<uint64_t>(size, 64u << 20);
    std::string bytes(limit, '\0');
    in.clear();
    in.seekg(0);
    if (!in.read(&bytes[0], std::streamsize(limit))) return false;
    return bytes.find(name) != std::string::npos;
}

std::string ReadProblem(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        struct stat link;
        if (error == ENOENT && ::lstat(path.c_str(), &link) == 0) return "is a symbolic link to nothing";
        return Because(error);
    }
    if (S_ISDIR(st.st_mode)) return "is a directory";
    if (!S_ISREG(st.st_mode)) return "is " + KindOf(st.st_mode) + ", not a .docx file";
    if (::access(path.c_str(), R_OK) != 0) return Because(errno);
    if (st.st_size == 0) return "is empty";
    std::ifstream in(path, std::ios::binary);
    if (!in) return Because(errno ? errno : EACCES);
    unsigned char head[8] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    const uint64_t size = uint64_t(st.st_size);
    if (in.gcount() == sizeof head && std::memcmp(head, kOleSignature, sizeof head) == 0)
        return NamesEncryptedPackage(in, size)
                   ? "is encrypted (password-protected); save it without a password first"
                   : "is an OLE compound file (a Word 97-2003 .doc?), not a .docx package; save it as .docx first";
    if (!HasZipDirectory(in, size))
        return std::memcmp(head, "PK\x03\x04", 4) == 0
                   ? "is not a whole .docx package (a ZIP archive cut short: no ZIP directory at its end)"
                   : "is not a .docx package (no ZIP directory)";
    return "";
}

std::string WriteProblem(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0) {
        if (errno == ENOENT) return "folder does not exist";
        if (errno == ENOTDIR) return "folder does not exist (a part of its path is a file, not a folder)";
        if (errno == EACCES) return "folder is not accessible (permission denied)";
        return "folder: " + Lowercase(std::strerror(errno));
    }
    if (!S_ISDIR(st.st_mode))
        return S_ISREG(st.st_mode) ? "folder is a file, not a folder" : "folder is " + KindOf(st.st_mode) + ", not a folder";
    struct stat target;
    if (::lstat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode) && !S_ISLNK(target.st_mode))
        return "is " + KindOf(target.st_mode) + ", not a regular file";
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        if (errno == EROFS) return "folder is on a read-only file system";
        return "folder is not writable";
    }
    struct statvfs space;
    if (::statvfs(folder.c_str(), &space) == 0 && space.f_bavail == 0) return "no space left on the device";
    return "";
}

}  // namespace

std::string FileProblem_Describe(const std::string& path, FileUse use) {
    return use == FileUse::Read ? ReadProblem(path) : WriteProblem(path);
}

void FileProblem_Guard(const std::string& path, FileUse use, const std::function<void()>& work) {
    try {
        work();
    } catch (const vexrt::HostException& e) {
        const std::string problem = FileProblem_Describe(path, use);
        throw FileError(path + ": " + (problem.empty() ? e.describe() : problem + " (" + e.describe() + ")"));
    }
}

}  // namespace cli
