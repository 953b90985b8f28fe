// A small archive layer over libzip with the operations the package code
// needs: open an archive for reading or writing, walk or look up entries,
// read an entry whole, write an entry, close. Nothing else in the package
// code talks to libzip.
//
// Writing is deferred: libzip keeps every entry's bytes until zip_close and
// compresses (unless they came compressed) and writes them there, so only
// the result of zip_close tells whether the archive reached the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace Zip {

struct Archive;

// mode 'r' opens an existing archive read-only; 'w' creates the archive
// (truncating any file at that path when it is closed). level is the
// DEFLATE level of every entry written. Null on failure.
Archive* zip_open(const char* path, int level, char mode);

// Selects an entry for reading (by name or by index) or, in write mode,
// starts a new entry of that name. 0 on success, negative on failure
// (no such entry, or an entry already open).
int zip_entry_open(Archive* archive, const char* name);
int zip_entry_openbyindex(Archive* archive, size_t index);
// Name of the open entry; null when none is open.
const char* zip_entry_name(Archive* archive);

// Reads the whole open entry, checking its CRC, into a new malloc'd buffer
// (one spare NUL byte after the data) that the caller frees with free().
// Returns the byte count, or -1 on failure (*buffer is then null).
ssize_t zip_entry_read(Archive* archive, void** buffer, size_t* size);
// The same into a string (replacing its contents).
ssize_t zip_entry_read(Archive* archive, std::string& out);

// Appends bytes to the entry being written. 0 on success.
int zip_entry_write(Archive* archive, const void* data, size_t size);
// Hands a whole buffer over to the entry without copying it.
int zip_entry_write(Archive* archive, std::string&& data);

// Ends the open entry. In write mode the entry is added to the archive
// (compressed at zip_close); 0 on success.
int zip_entry_close(Archive* archive);

// Adds an entry whose data is compressed already (`deflated`, a raw DEFLATE
// stream of `size` bytes of CRC-32 `crc`, as DeflateStream makes it): the
// archive takes the bytes over and writes them as they are at zip_close.
// No entry may be open. 0 on success.
int zip_entry_write_deflated(Archive* archive, const char* name, std::string&& deflated, uint32_t crc,
                             uint64_t size);

// Number of entries; -1 when the archive is null.
ssize_t zip_total_entries(Archive* archive);

// True when the archive holds (or, in write mode, has been given) an entry
// of that name.
bool zip_entry_exists(Archive* archive, const char* name);

// ---- Packages in memory and limits on what is inflated

// Opens an archive over bytes in memory, for reading. The bytes must stay
// alive and unchanged until the archive is closed. Null when they are not a
// ZIP archive.
Archive* zip_open_bytes(const std::string& bytes);
// A new archive whose file is a buffer in memory, for writing; end it with
// zip_close_bytes.
Archive* zip_open_memory(int level);
// Writes the archive into `out` and frees it: the buffer, allocated once at
// the size the entries given call for, becomes `out` without a copy. 0 on
// success; -1 (out empty) on failure. Always frees.
int zip_close_bytes(Archive* archive, std::string& out);

// What the central directory says of an entry.
struct EntryInfo {
    std::string name;
    uint64_t size = 0;            // declared inflated size (not trusted)
    uint64_t compressedSize = 0;  // bytes the entry takes in the archive
    uint32_t crc = 0;             // declared CRC-32 of the data
    bool encrypted = false;
    bool stored = false;            // kept without compression
    bool methodSupported = false;   // stored or deflated
};
// 0 on success.
int zip_entry_info(Archive* archive, size_t index, EntryInfo& info);

// The most an entry may inflate to, in bytes and as a multiple of its
// compressed size (the ratio applies above ratioFloor bytes), so that a
// small package cannot make a read exhaust memory.
struct ReadLimits {
    uint64_t maxBytes;
    uint64_t maxRatio;
    uint64_t ratioFloor;
};
constexpr ReadLimits kPartReadLimits = {256ull << 20, 200, 16ull << 20};
// Reads the open entry into `out` up to its real inflated size (the size
// the archive declares is not trusted), checking the CRC. Returns the byte
// count; -1 when the entry cannot be read, -2 when it exceeds the limits.
ssize_t zip_entry_read_limited(Archive* archive, std::string& out, const ReadLimits& limits);
// The same into a new malloc'd buffer (one spare NUL byte after the data)
// that the caller frees with free(); null on failure.
ssize_t zip_entry_read_limited(Archive* archive, char** buffer, size_t* size, const ReadLimits& limits);

// Reads entry `index` through to its end in chunks, without keeping it: its
// compressed bytes (which checks that its local header and data are where
// the directory says, as a copy needs them) and, with `inflate`, its data
// too, checked against its CRC and its declared size; an entry of more than
// a gigabyte, or of 16 MB or more compressed a thousandfold, fails then
// without being inflated. 0 when it reads whole.
int zip_entry_check(Archive* archive, size_t index, bool inflate);

// Adds entry `index` of `from` (opened for reading) to `to` (being written)
// under the same name, copying its compressed bytes as they are: nothing is
// inflated. `from` must stay open until `to` is closed. 0 on success. A
// stored entry is checked against its CRC when it is written (libzip does
// so): check such entries first (zip_entry_check).
int zip_entry_copy(Archive* to, Archive* from, size_t index);

// Writes the archive (write mode) and frees it. 0 on success; on failure
// -1, and whatever was at the path before is left as it was (libzip writes
// to a file beside it and renames that into place). Always frees.
int zip_close(Archive* archive);

// Closes an archive on every way out of the scope that opened it, an
// exception included. release() hands the archive back.
struct ArchiveCloser {
    Archive* archive;
    explicit ArchiveCloser(Archive* opened) : archive(opened) {}
    ArchiveCloser(const ArchiveCloser&) = delete;
    ArchiveCloser& operator=(const ArchiveCloser&) = delete;
    ~ArchiveCloser() {
        if (archive) zip_close(archive);
    }
    Archive* release() {
        Archive* a = archive;
        archive = nullptr;
        return a;
    }
};

}  // namespace Zip
