// Writing the package: the rewritten entries, then every other entry of the
// package file, into an archive that is read back before it replaces
// anything.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "host/bridge.h"
#include "package/archive.h"
#include "package/document.h"
#include "package/pending_images.h"
#include "package/xml_string_writer.h"

namespace Word {

namespace {

bool WriteEntry(Zip::Archive* out, const std::string& name, std::string&& bytes,
                std::vector<std::string>* written) {
    if (Zip::zip_entry_open(out, name.c_str()) != 0) return false;
    bool ok = Zip::zip_entry_write(out, std::move(bytes)) == 0;
    if (Zip::zip_entry_close(out) != 0) ok = false;
    if (ok && written) written->push_back(name);
    return ok;
}

bool WritePart(Zip::Archive* out, const std::string& name, const pugi::xml_document& xml,
               std::vector<std::string>* written) {
    xml_string_writer writer;
    PrintPart(xml, writer);
    return WriteEntry(out, name, std::move(writer.result), written);
}

bool IsRewrittenName(const char* name) {
    static const char* const kRewritten[] = {
        "word/document.xml",           "docProps/core.xml",   "word/styles.xml",
        "word/_rels/document.xml.rels", "[Content_Types].xml", "word/numbering.xml"};
    for (const char* rewritten : kRewritten)
        if (std::strcmp(name, rewritten) == 0) return true;
    // Header and footer entries come only from the parts the document holds.
    return std::strncmp(name, "word/header", 11) == 0 || std::strncmp(name, "word/footer", 11) == 0;
}

// Copies every entry of the package file that was not rewritten, not marked
// for deletion and not written under the same name by WriteData (a numbering
// or header part of an unusual name). Returns the number copied, -1 on error.
ssize_t CopyOldEntries(const std::string& filePath, Zip::Archive* out,
                       const DeletedFileList* deleted, const std::vector<std::string>& written) {
    Zip::Archive* in = Zip::zip_open(filePath.c_str(), 6, 'r');
    if (!in) return -1;
    std::unordered_set<std::string> skip(written.begin(), written.end());
    if (deleted) skip.insert(deleted->begin(), deleted->end());
    ssize_t copied = 0;
    ssize_t count = Zip::zip_total_entries(in);
    for (ssize_t i = 0; i < count && copied >= 0; ++i) {
        if (Zip::zip_entry_openbyindex(in, static_cast<size_t>(i)) != 0) {
            copied = -1;
            break;
        }
        std::string name = Zip::zip_entry_name(in);
        if (IsRewrittenName(name.c_str()) || skip.count(name)) {
            Zip::zip_entry_close(in);
            continue;
        }
        std::string bytes;
        bool ok = Zip::zip_entry_read(in, bytes) >= 0;
        if (Zip::zip_entry_close(in) != 0) ok = false;
        if (ok) ok = WriteEntry(out, name, std::move(bytes), nullptr);
        copied = ok ? copied + 1 : -1;
    }
    Zip::zip_close(in);
    return copied;
}

// Opens path, reads every entry whole (each CRC checked) and checks the count.
bool ArchiveReadsBack(const char* path, ssize_t expectedEntries) {
    Zip::Archive* archive = Zip::zip_open(path, 6, 'r');
    if (!archive) return false;
    ssize_t count = Zip::zip_total_entries(archive);
    bool ok = count == expectedEntries;
    std::string bytes;
    for (ssize_t i = 0; ok && i < count; ++i) {
        ok = Zip::zip_entry_openbyindex(archive, static_cast<size_t>(i)) == 0 &&
             Zip::zip_entry_read(archive, bytes) >= 0;
        if (Zip::zip_entry_close(archive) != 0) ok = false;
    }
    Zip::zip_close(archive);
    return ok;
}

// Forces a file's bytes to the disk before it is renamed over another.
bool SyncFile(const char* path) {
    int fd = ::open(path, O_RDONLY);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    return ok;
}

mode_t DefaultFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Path of the file itself when `path` is a symbolic link, so that replacing
// the file keeps the link.
std::string ResolvedPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) return resolved;
    return path;
}

// A new empty file beside `path`, for writing a replacement of it.
bool MakeSiblingFile(const std::string& path, std::string& sibling, int& fd) {
    sibling = path + ".XXXXXX";
    fd = ::mkstemp(&sibling[0]);
    return fd >= 0;
}

bool CopyFileContents(int from, int to) {
    static const size_t kChunk = 1 << 16;
    std::string buffer(kChunk, '\0');
    for (;;) {
        ssize_t n = ::read(from, &buffer[0], kChunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(to, buffer.data() + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += w;
        }
    }
}

// Replaces `target` by a copy of `source`: the copy is written and synced
// beside the target with the target's mode, then renamed over it, so the
// target is at every moment either the old file or the complete new one.
bool ReplaceFileWithCopy(const char* source, const std::string& targetPath) {
    std::string target = ResolvedPath(targetPath);
    struct stat st;
    mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : DefaultFileMode();
    int from = ::open(source, O_RDONLY);
    if (from < 0) return false;
    std::string sibling;
    int to;
    if (!MakeSiblingFile(target, sibling, to)) {
        ::close(from);
        return false;
    }
    bool ok = ::fchmod(to, mode) == 0 && CopyFileContents(from, to) && ::fsync(to) == 0;
    ::close(from);
    if (::close(to) != 0) ok = false;
    if (ok) ok = ::rename(sibling.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(sibling.c_str());
    return ok;
}

}  // namespace

bool Document::WriteData(Zip::Archive* out, const ImagesToBeAdded* pending,
                         std::vector<std::string>* written) {
    if (!WritePart(out, "word/document.xml", documentXml, written)) return false;
    if (coreXml.first_child() && !WritePart(out, "docProps/core.xml", coreXml, written))
        return false;
    if (!WritePart(out, "word/styles.xml", stylesXml, written)) return false;
    if (hasNumbering && !WritePart(out, "word/" + numberingTarget, numberingXml, written))
        return false;
    if (!WritePart(out, "word/_rels/document.xml.rels", relsXml, written)) return false;
    if (!WritePart(out, "[Content_Types].xml", contentTypesXml, written)) return false;
    for (const HeaderFooterList* list : {&headers, &footers})
        for (HeaderFooterPart* part = list->head; part; part = part->next)
            if (!WritePart(out, "word/" + part->target, part->xml, written)) return false;
    if (pending) {
        for (ImageToBeAdded* image = pending->head; image; image = image->next) {
            size_t length = 0;
            const char* bytes = REALGetStringContents(image->data, &length);
            std::string copy = bytes ? std::string(bytes, length) : std::string();
            if (!WriteEntry(out, "word/media/" + image->fileName, std::move(copy), written))
                return false;
        }
    }
    return true;
}

namespace {

// Writes the whole package into a new archive at path and reads it back.
bool WritePackage(Document& document, const char* path, const DeletedFileList* deleted,
                  const ImagesToBeAdded* pending) {
    Zip::Archive* out = Zip::zip_open(path, 6, 'w');
    if (!out) return false;
    std::vector<std::string> written;
    bool ok = document.WriteData(out, pending, &written);
    ssize_t copied = ok ? CopyOldEntries(document.filePath, out, deleted, written) : -1;
    if (copied < 0) ok = false;
    if (Zip::zip_close(out) != 0) ok = false;
    return ok && ArchiveReadsBack(path, static_cast<ssize_t>(written.size()) + copied);
}

}  // namespace

bool Document::SaveAs(const char* targetPath, const DeletedFileList* deleted,
                      const ImagesToBeAdded* pending) {
    if (!targetPath || !*targetPath) return false;
    std::string sibling;
    int fd;
    if (!MakeSiblingFile(targetPath, sibling, fd)) return false;
    ::close(fd);
    bool ok = WritePackage(*this, sibling.c_str(), deleted, pending) &&
              ::chmod(sibling.c_str(), DefaultFileMode()) == 0 && SyncFile(sibling.c_str()) &&
              ::rename(sibling.c_str(), targetPath) == 0;
    if (!ok) ::unlink(sibling.c_str());
    return ok;
}

bool Document::Save(const char* temporaryPath, const DeletedFileList* deleted,
                    const ImagesToBeAdded* pending) {
    if (!temporaryPath || !*temporaryPath) return false;
    // Never take the document's own file for the temporary one.
    if (ResolvedPath(temporaryPath) == ResolvedPath(filePath)) return false;
    bool ok = WritePackage(*this, temporaryPath, deleted, pending) &&
              ReplaceFileWithCopy(temporaryPath, filePath);
    ::unlink(temporaryPath);
    return ok;
}

}  // namespace Word
