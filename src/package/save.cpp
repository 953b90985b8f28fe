// Writing the package: the rewritten entries, then every other entry of the
// package as it was opened, into an archive made in memory and checked
// before it replaces anything.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <random>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "host/bridge.h"
#include "package/archive.h"
#include "package/deflate_stream.h"
#include "package/document.h"
#include "package/package_paths.h"
#include "package/pending_images.h"
#include "package/xml_deflate_writer.h"
#include "package/xml_string_writer.h"

namespace Word {

namespace {

// The level every entry written is compressed at.
constexpr int kDeflateLevel = 6;

// Hands an ended stream's bytes to the archive.
bool WriteDeflated(Zip::Archive* out, const std::string& name, Zip::DeflateStream& deflate,
                   std::vector<std::string>* written) {
    if (Zip::zip_entry_write_deflated(out, name.c_str(), std::move(deflate.deflated), deflate.crc, deflate.size) != 0)
        return false;
    if (written) written->push_back(name);
    return true;
}

// Bytes stored as they are (a picture), compressed here.
bool WriteEntry(Zip::Archive* out, const std::string& name, const char* bytes, size_t size,
                std::vector<std::string>* written) {
    Zip::DeflateStream deflate;
    return Zip::DeflateStream_Begin(deflate, kDeflateLevel) && Zip::DeflateStream_Take(deflate, bytes, size) &&
           Zip::DeflateStream_End(deflate) && WriteDeflated(out, name, deflate, written);
}

// A part is compressed while it is printed (and sanitized on the way: text
// that is not UTF-8 would make it unreadable), so that its printed text is
// never held whole.
bool WritePart(Zip::Archive* out, const std::string& name, const pugi::xml_document& xml,
               std::vector<std::string>* written) {
    xml_deflate_writer writer(kDeflateLevel);
    PrintPart(xml, writer);
    return writer.finish() && WriteDeflated(out, name, writer.deflate, written);
}

// A header or footer must hold a block; one left empty is saved with an
// empty paragraph (the tree keeps no placeholder that later
// appends would have to step over).
bool WriteHeaderOrFooter(Zip::Archive* out, const std::string& name, const pugi::xml_document& xml,
                         std::vector<std::string>* written) {
    pugi::xml_node root = xml.document_element();
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        const char* n = child.name();
        if (!std::strcmp(n, "w:p") || !std::strcmp(n, "w:tbl") || !std::strcmp(n, "w:sdt") ||
            !std::strcmp(n, "w:customXml") || !std::strcmp(n, "w:altChunk") || !std::strcmp(n, "mc:AlternateContent"))
            return WritePart(out, name, xml, written);
    }
    // A part some relationship took for a header that is none (a theme, say)
    // is written as it is.
    if (!root || (std::strcmp(root.name(), "w:hdr") != 0 && std::strcmp(root.name(), "w:ftr") != 0))
        return WritePart(out, name, xml, written);
    pugi::xml_document copy;
    copy.reset(xml);
    copy.document_element().append_child("w:p");
    return WritePart(out, name, copy, written);
}

// A header or footer entry that no relationship of the main part names any
// more is left out: header and footer parts come from the parts the
// document holds. One a relationship still names (of a type the library
// does not take for a header) is kept, so that nothing it points to is lost.
bool IsUnreferencedHeaderOrFooter(const std::string& name, const std::unordered_set<std::string>& targets) {
    if (std::strncmp(name.c_str(), "word/header", 11) != 0 && std::strncmp(name.c_str(), "word/footer", 11) != 0)
        return false;
    return targets.count(PackagePath_Key(name)) == 0;
}

// Keys of the entries of the source package a save leaves out: those marked
// for deletion and unreferenced headers or footers.
std::unordered_set<std::string> EntriesLeftOut(const Document& document, Zip::Archive* in,
                                               const DeletedFileList* deleted) {
    std::unordered_set<std::string> targets;
    for (pugi::xml_node rel : document.relsXml.document_element().children("Relationship"))
        targets.insert(PackagePath_Key(PackagePath_Resolve(document.mainPartName, rel.attribute("Target").value())));
    std::unordered_set<std::string> marked;
    if (deleted)
        for (const std::string& name : *deleted) marked.insert(PackagePath_Key(name));
    std::unordered_set<std::string> leftOut;
    const ssize_t count = Zip::zip_total_entries(in);
    Zip::EntryInfo info;
    for (ssize_t i = 0; i < count; ++i) {
        if (Zip::zip_entry_info(in, static_cast<size_t>(i), info) != 0) continue;
        std::string key = PackagePath_Key(info.name);
        if (marked.count(key) || IsUnreferencedHeaderOrFooter(info.name, targets)) leftOut.insert(std::move(key));
    }
    return leftOut;
}

// A part that goes takes its Override with it: a content type for a part
// the package lacks makes strict readers refuse it. Dropped from the
// document's own table: every later save leaves those parts out too.
// Entries written anew (a picture added under the name of one deleted)
// keep theirs.
void DropOverridesOf(Document& document, const std::unordered_set<std::string>& leftOut,
                     const ImagesToBeAdded* pending) {
    if (leftOut.empty()) return;
    std::unordered_set<std::string> rewritten;
    if (pending)
        for (ImageToBeAdded* image = pending->head; image; image = image->next)
            rewritten.insert(PackagePath_Key("word/media/" + image->fileName));
    pugi::xml_node types = document.contentTypesXml.document_element();
    for (pugi::xml_node entry = types.child("Override"); entry;) {
        pugi::xml_node next = entry.next_sibling("Override");
        const char* name = entry.attribute("PartName").value();
        const std::string key = PackagePath_Key(*name == '/' ? name + 1 : name);
        if (leftOut.count(key) && !rewritten.count(key) && !document.HoldsPart(key)) types.remove_child(entry);
        entry = next;
    }
}

// Copies, compressed as they are, the entries of the source package that
// WriteData did not write and that the save does not leave out. Returns
// the number copied, -1 on error.
ssize_t CopyOldEntries(Zip::Archive* in, Zip::Archive* out, const std::unordered_set<std::string>& leftOut,
                       const std::vector<std::string>& written) {
    std::unordered_set<std::string> skip;
    for (const std::string& name : written) skip.insert(PackagePath_Key(name));
    ssize_t copied = 0;
    ssize_t count = Zip::zip_total_entries(in);
    if (count < 0) return -1;
    Zip::EntryInfo info;
    for (ssize_t i = 0; i < count; ++i) {
        if (Zip::zip_entry_info(in, static_cast<size_t>(i), info) != 0) return -1;
        const std::string key = PackagePath_Key(info.name);
        if (skip.count(key) || leftOut.count(key)) continue;
        if (Zip::zip_entry_copy(out, in, static_cast<size_t>(i)) != 0) return -1;
        ++copied;
    }
    return copied;
}

// The new package opens and lists every entry written.
bool PackageChecksOut(const std::string& bytes, ssize_t expectedEntries) {
    Zip::Archive* archive = Zip::zip_open_bytes(bytes);
    if (!archive) return false;
    bool ok = Zip::zip_total_entries(archive) == expectedEntries;
    Zip::EntryInfo info;
    for (ssize_t i = 0; ok && i < expectedEntries; ++i)
        ok = Zip::zip_entry_info(archive, static_cast<size_t>(i), info) == 0;
    Zip::zip_close(archive);
    return ok;
}

// Path of the file itself when `path` is a symbolic link, so that replacing
// the file keeps the link.
std::string ResolvedPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) return resolved;
    return path;
}

// A new empty file beside `path`, created with the mode new files get
// (0666 less the process's umask, applied by the system).
bool MakeSiblingFile(const std::string& path, std::string& sibling, int& fd) {
    std::random_device random;
    for (int attempt = 0; attempt < 64; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        sibling = path + suffix;
        fd = ::open(sibling.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

void SyncFolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Puts `bytes` at `target`: written and synced beside it, then renamed over
// it, so the target is at every moment either the old file or the complete
// new one, with the mode of the file it replaces. mustNotExist refuses to
// replace a file at all.
bool PutFile(const std::string& target, const std::string& bytes, bool mustNotExist) {
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && mustNotExist) return false;
    std::string sibling;
    int fd;
    if (!MakeSiblingFile(target, sibling, fd)) return false;
    bool ok = (!exists || ::fchmod(fd, st.st_mode & 07777) == 0) && WriteAll(fd, bytes) &&
              ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) {
        if (mustNotExist) {
            // A file that appeared meanwhile is not replaced either.
            ok = ::link(sibling.c_str(), target.c_str()) == 0;
            if (!ok && errno != EEXIST) ok = ::rename(sibling.c_str(), target.c_str()) == 0;
        } else {
            ok = ::rename(sibling.c_str(), target.c_str()) == 0;
        }
    }
    ::unlink(sibling.c_str());
    if (ok) SyncFolderOf(target);
    return ok;
}

}  // namespace

bool Document::WriteData(Zip::Archive* out, const ImagesToBeAdded* pending,
                         std::vector<std::string>* written) {
    if (!WritePart(out, mainPartName, documentXml, written)) return false;
    if (coreXml.first_child() && !WritePart(out, corePartName, coreXml, written)) return false;
    if (packageRelsChanged && !WritePart(out, "_rels/.rels", packageRelsXml, written)) return false;
    if (hasStyles && !WritePart(out, stylesPartName, stylesXml, written)) return false;
    if (hasNumbering && !WritePart(out, numberingPartName, numberingXml, written))
        return false;
    if (hasSettings && !WritePart(out, settingsPartName, settingsXml, written)) return false;
    if (!themePartName.empty() && !WritePart(out, themePartName, themeXml, written)) return false;
    if ((hadMainRels || relsXml.document_element().first_child()) &&
        !WritePart(out, PackagePath_RelationshipsOf(mainPartName), relsXml, written))
        return false;
    if (!WritePart(out, "[Content_Types].xml", contentTypesXml, written)) return false;
    for (const HeaderFooterList* list : {&headers, &footers})
        for (HeaderFooterPart* part = list->head; part; part = part->next) {
            if (!WriteHeaderOrFooter(out, part->partName, part->xml, written)) return false;
            if (part->hasRels && part->relsChanged &&
                !WritePart(out, PackagePath_RelationshipsOf(part->partName), part->relsXml, written))
                return false;
        }
    if (pending) {
        for (ImageToBeAdded* image = pending->head; image; image = image->next) {
            size_t length = 0;
            const char* bytes = REALGetStringContents(image->data, &length);
            if (!bytes) length = 0;
            if (!WriteEntry(out, "word/media/" + image->fileName, bytes, length, written)) return false;
        }
    }
    return true;
}

namespace {

// The whole package as the bytes of a new archive; false when it cannot be
// made or does not check out.
bool BuildPackage(Document& document, const DeletedFileList* deleted,
                  const ImagesToBeAdded* pending, std::string& bytes) {
    bytes.clear();
    // The source stays open until the new archive is closed: its entries
    // are copied from it then.
    // Both archives are closed on every way out, an exception included (the
    // output is only ever in memory).
    Zip::ArchiveCloser in(Zip::zip_open_bytes(document.sourceBytes));
    if (!in.archive) return false;
    Zip::ArchiveCloser out(Zip::zip_open_memory(6));
    if (!out.archive) return false;
    const std::unordered_set<std::string> leftOut = EntriesLeftOut(document, in.archive, deleted);
    DropOverridesOf(document, leftOut, pending);
    std::vector<std::string> written;
    if (!document.WriteData(out.archive, pending, &written)) return false;
    const ssize_t copied = CopyOldEntries(in.archive, out.archive, leftOut, written);
    if (copied < 0) return false;
    const bool closed = Zip::zip_close_bytes(out.release(), bytes) == 0;
    return closed && PackageChecksOut(bytes, static_cast<ssize_t>(written.size()) + copied);
}

}  // namespace

bool Document::SaveAs(const char* targetPath, const DeletedFileList* deleted,
                      const ImagesToBeAdded* pending) {
    if (!targetPath || !*targetPath) return false;
    std::string bytes;
    return BuildPackage(*this, deleted, pending, bytes) && PutFile(targetPath, bytes, true);
}

bool Document::Save(const char* temporaryPath, const DeletedFileList* deleted,
                    const ImagesToBeAdded* pending) {
    const std::string target = ResolvedPath(filePath);
    // A file the host made for the save is not needed: the package is made
    // in memory. It is removed, unless it is the document's own file.
    if (temporaryPath && *temporaryPath && ResolvedPath(temporaryPath) != target)
        ::unlink(temporaryPath);
    std::string bytes;
    if (!BuildPackage(*this, deleted, pending, bytes) || !PutFile(target, bytes, false))
        return false;
    // The file now holds the pictures and lacks the deleted entries: later
    // saves copy from it.
    sourceBytes.swap(bytes);
    return true;
}

}  // namespace Word
