#include "package/archive.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <deque>
#include <optional>
#include <zip.h>
#include <zlib.h>

#include "package/deflated_source.h"

namespace Zip {

struct Archive {
    zip_t* zip = nullptr;
    bool writing = false;
    int level = 6;
    // The entry selected for reading or being written.
    bool entryOpen = false;
    zip_uint64_t entryIndex = 0;
    std::string entryName;
    std::string* entryData = nullptr;  // write mode: the bytes of the entry
    // libzip reads entry bytes only at zip_close; they live here until then.
    // A deque keeps each string's address while more are added.
    std::deque<std::string> buffers;
    bool failed = false;  // an entry could not be added: the close fails
    struct MemoryFile* memory = nullptr;  // the archive's file, when it is in memory
    // What the archive's file is expected to take, from the entries given
    // so far: a file in memory is allocated once.
    uint64_t expectedBytes = 0;
};

Archive* zip_open(const char* path, int level, char mode) {
    if (!path) return nullptr;
    int flags;
    if (mode == 'r')
        flags = ZIP_RDONLY;
    else if (mode == 'w')
        flags = ZIP_CREATE | ZIP_TRUNCATE;
    else
        return nullptr;
    int error = 0;
    zip_t* zip = ::zip_open(path, flags, &error);
    if (!zip) return nullptr;
    Archive* archive = new Archive;
    archive->zip = zip;
    archive->writing = mode == 'w';
    archive->level = level;
    return archive;
}

int zip_entry_open(Archive* archive, const char* name) {
    if (!archive || !name || archive->entryOpen) return -1;
    if (archive->writing) {
        archive->buffers.emplace_back();
        archive->entryData = &archive->buffers.back();
        archive->entryName = name;
        archive->entryOpen = true;
        return 0;
    }
    zip_int64_t index = zip_name_locate(archive->zip, name, 0);
    if (index < 0) return -1;
    return zip_entry_openbyindex(archive, static_cast<size_t>(index));
}

int zip_entry_openbyindex(Archive* archive, size_t index) {
    if (!archive || archive->writing || archive->entryOpen) return -1;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive->zip, index, 0, &st) != 0) return -1;
    if (!(st.valid & ZIP_STAT_NAME)) return -1;
    archive->entryIndex = index;
    archive->entryName = st.name;
    archive->entryOpen = true;
    return 0;
}

const char* zip_entry_name(Archive* archive) {
    if (!archive || !archive->entryOpen) return nullptr;
    return archive->entryName.c_str();
}

namespace {

// Inflates the open entry into a malloc'd buffer, growing it as bytes come:
// the size the archive declares only sizes the first allocation. Reading to
// the end makes libzip check the CRC and the declared size. -1 on a read
// error, -2 when the limits are passed. One spare byte follows the data.
ssize_t ReadEntryLimited(Archive* archive, char** buffer, size_t* size, const ReadLimits& limits) {
    *buffer = nullptr;
    *size = 0;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive->zip, archive->entryIndex, 0, &st) != 0) return -1;
    const uint64_t compressed = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
    uint64_t allowed = limits.maxBytes;
    if (limits.maxRatio && compressed < allowed / limits.maxRatio) {
        uint64_t byRatio = compressed * limits.maxRatio;
        allowed = byRatio < limits.ratioFloor ? std::min<uint64_t>(limits.ratioFloor, allowed) : byRatio;
    }
    if (allowed >= static_cast<uint64_t>(SSIZE_MAX) - 1) allowed = static_cast<uint64_t>(SSIZE_MAX) - 2;

    zip_file_t* file = zip_fopen_index(archive->zip, archive->entryIndex, 0);
    if (!file) return -1;
    // An honest declared size gives one allocation; a lying one costs at
    // most the limit.
    size_t capacity = static_cast<size_t>(std::min<uint64_t>(std::max<uint64_t>(st.size, 4096), allowed + 1)) + 1;
    char* data = static_cast<char*>(std::malloc(capacity));
    size_t done = 0;
    ssize_t result = data ? 0 : -1;
    while (result == 0) {
        if (done + 1 >= capacity) {
            if (done > allowed) {
                result = -2;
                break;
            }
            size_t grown = static_cast<size_t>(std::min<uint64_t>(uint64_t(capacity) * 2, allowed + 2));
            char* bigger = static_cast<char*>(std::realloc(data, grown));
            if (!bigger) {
                result = -1;
                break;
            }
            data = bigger;
            capacity = grown;
        }
        zip_int64_t n = zip_fread(file, data + done, capacity - 1 - done);
        if (n < 0) {
            result = -1;
            break;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
        if (done > allowed) result = -2;
    }
    if (zip_fclose(file) != 0 && result == 0) result = -1;
    if (result != 0) {
        std::free(data);
        return result;
    }
    data[done] = 0;
    *buffer = data;
    *size = done;
    return static_cast<ssize_t>(done);
}

}  // namespace

ssize_t zip_entry_read_limited(Archive* archive, char** buffer, size_t* size, const ReadLimits& limits) {
    *buffer = nullptr;
    *size = 0;
    if (!archive || archive->writing || !archive->entryOpen) return -1;
    return ReadEntryLimited(archive, buffer, size, limits);
}

ssize_t zip_entry_read_limited(Archive* archive, std::string& out, const ReadLimits& limits) {
    out.clear();
    char* data = nullptr;
    size_t size = 0;
    ssize_t n = zip_entry_read_limited(archive, &data, &size, limits);
    if (n >= 0) out.assign(data, size);
    std::free(data);
    return n;
}

ssize_t zip_entry_read(Archive* archive, void** buffer, size_t* size) {
    if (buffer) *buffer = nullptr;
    if (size) *size = 0;
    if (!buffer) return -1;
    char* data = nullptr;
    size_t length = 0;
    ssize_t n = zip_entry_read_limited(archive, &data, &length, kPartReadLimits);
    if (n < 0) return -1;
    *buffer = data;
    if (size) *size = length;
    return n;
}

ssize_t zip_entry_read(Archive* archive, std::string& out) {
    return zip_entry_read_limited(archive, out, kPartReadLimits) < 0 ? -1 : static_cast<ssize_t>(out.size());
}

int zip_entry_write(Archive* archive, const void* data, size_t size) {
    if (!archive || !archive->writing || !archive->entryOpen) return -1;
    if (size) archive->entryData->append(static_cast<const char*>(data), size);
    return 0;
}

int zip_entry_write(Archive* archive, std::string&& data) {
    if (!archive || !archive->writing || !archive->entryOpen) return -1;
    if (archive->entryData->empty())
        *archive->entryData = std::move(data);
    else
        archive->entryData->append(data);
    return 0;
}

int zip_entry_close(Archive* archive) {
    if (!archive || !archive->entryOpen) return -1;
    archive->entryOpen = false;
    if (!archive->writing) return 0;

    std::string* data = archive->entryData;
    archive->entryData = nullptr;
    zip_source_t* source = zip_source_buffer(archive->zip, data->data(), data->size(), 0);
    if (!source) {
        archive->failed = true;
        return -1;
    }
    zip_int64_t index =
        zip_file_add(archive->zip, archive->entryName.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        archive->failed = true;
        return -1;
    }
    zip_uint64_t at = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(archive->zip, at, ZIP_CM_DEFLATE,
                                 static_cast<zip_uint32_t>(archive->level)) != 0 ||
        zip_file_set_mtime(archive->zip, at, std::time(nullptr), 0) != 0) {
        archive->failed = true;
        return -1;
    }
    return 0;
}

namespace {

// The records an entry adds beside its data: a local and a central header
// with the name in each (libzip adds no extra field to those it writes).
uint64_t EntryRecordBytes(const char* name) { return 30 + 46 + 2 * std::strlen(name); }

}  // namespace

int zip_entry_write_deflated(Archive* archive, const char* name, std::string&& deflated, uint32_t crc,
                             uint64_t size) {
    if (!archive || !name || !archive->writing || archive->entryOpen) return -1;
    archive->expectedBytes += deflated.size() + EntryRecordBytes(name);
    zip_source_t* source = DeflatedSource_Make(archive->zip, std::move(deflated), crc, size);
    if (!source) {
        archive->failed = true;
        return -1;
    }
    zip_int64_t index = zip_file_add(archive->zip, name, source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        archive->failed = true;
        return -1;
    }
    // The method stays libzip's default: the source's own, deflate, which
    // it then does not redo.
    if (zip_file_set_mtime(archive->zip, static_cast<zip_uint64_t>(index), std::time(nullptr), 0) != 0) {
        archive->failed = true;
        return -1;
    }
    return 0;
}

ssize_t zip_total_entries(Archive* archive) {
    if (!archive) return -1;
    zip_int64_t n = zip_get_num_entries(archive->zip, 0);
    return n < 0 ? -1 : static_cast<ssize_t>(n);
}

bool zip_entry_exists(Archive* archive, const char* name) {
    if (!archive || !name) return false;
    return zip_name_locate(archive->zip, name, 0) >= 0;
}

int zip_close(Archive* archive) {
    if (!archive) return -1;
    if (archive->memory) {
        std::string discarded;
        return zip_close_bytes(archive, discarded);
    }
    int result = 0;
    if (archive->entryOpen && archive->writing) {
        // An entry left open was never finished: do not write a partial package.
        archive->failed = true;
    }
    if (archive->failed) {
        zip_discard(archive->zip);
        result = -1;
    } else if (::zip_close(archive->zip) != 0) {
        zip_discard(archive->zip);
        result = -1;
    }
    delete archive;
    return result;
}

Archive* zip_open_bytes(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return nullptr;
    }
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (!zip) {
        zip_source_free(source);
        return nullptr;
    }
    Archive* archive = new Archive;
    archive->zip = zip;
    return archive;
}

// The file of an archive made in memory: libzip writes it as it writes a
// file on disk (seeking back to finish each local header), into a string
// the caller then takes without a copy.
struct MemoryFile {
    std::string data;     // as last committed
    std::string written;  // being written
    uint64_t at = 0;      // where the next write goes
    uint64_t readAt = 0;
    uint64_t reserve = 0;  // the size expected, allocated when writing starts
    zip_error_t error;
};

namespace {

zip_int64_t MemoryFile_Command(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    MemoryFile* file = static_cast<MemoryFile*>(state);
    switch (command) {
    case ZIP_SOURCE_BEGIN_WRITE:
        file->written.clear();
        file->written.reserve(static_cast<size_t>(file->reserve));
        file->at = 0;
        return 0;
    case ZIP_SOURCE_WRITE: {
        const uint64_t end = file->at + length;
        if (end > file->written.max_size()) {
            zip_error_set(&file->error, ZIP_ER_MEMORY, 0);
            return -1;
        }
        if (end > file->written.size()) file->written.resize(static_cast<size_t>(end));
        std::memcpy(&file->written[static_cast<size_t>(file->at)], data, static_cast<size_t>(length));
        file->at = end;
        return static_cast<zip_int64_t>(length);
    }
    case ZIP_SOURCE_SEEK_WRITE: {
        const zip_int64_t to = zip_source_seek_compute_offset(file->at, file->written.size(), data, length, &file->error);
        if (to < 0) return -1;
        file->at = static_cast<uint64_t>(to);
        return 0;
    }
    case ZIP_SOURCE_TELL_WRITE:
        return static_cast<zip_int64_t>(file->at);
    case ZIP_SOURCE_COMMIT_WRITE:
        file->data.swap(file->written);
        std::string().swap(file->written);
        return 0;
    case ZIP_SOURCE_ROLLBACK_WRITE:
        std::string().swap(file->written);
        return 0;
    case ZIP_SOURCE_REMOVE:
        std::string().swap(file->data);
        return 0;
    case ZIP_SOURCE_OPEN:
        file->readAt = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const uint64_t left = file->readAt < file->data.size() ? file->data.size() - file->readAt : 0;
        const uint64_t n = length < left ? length : left;
        std::memcpy(data, file->data.data() + file->readAt, static_cast<size_t>(n));
        file->readAt += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_SEEK: {
        const zip_int64_t to = zip_source_seek_compute_offset(file->readAt, file->data.size(), data, length, &file->error);
        if (to < 0) return -1;
        file->readAt = static_cast<uint64_t>(to);
        return 0;
    }
    case ZIP_SOURCE_TELL:
        return static_cast<zip_int64_t>(file->readAt);
    case ZIP_SOURCE_STAT: {
        if (length < sizeof(zip_stat_t)) {
            zip_error_set(&file->error, ZIP_ER_INVAL, 0);
            return -1;
        }
        zip_stat_t* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->valid = ZIP_STAT_SIZE;
        st->size = file->data.size();
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&file->error, data, length);
    case ZIP_SOURCE_FREE:
        return 0;  // the archive frees the file (it outlives the source)
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(
            ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
            ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_WRITE,
            ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE,
            ZIP_SOURCE_REMOVE, -1);
    default:
        zip_error_set(&file->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

void MemoryFile_Free(MemoryFile* file) {
    zip_error_fini(&file->error);
    delete file;
}

}  // namespace

Archive* zip_open_memory(int level) {
    MemoryFile* file = new MemoryFile;
    zip_error_init(&file->error);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_function_create(MemoryFile_Command, file, &error);
    zip_t* zip = source ? zip_open_from_source(source, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!zip) {
        if (source) zip_source_free(source);
        MemoryFile_Free(file);
        return nullptr;
    }
    Archive* archive = new Archive;
    archive->zip = zip;
    archive->writing = true;
    archive->level = level;
    archive->memory = file;
    return archive;
}

int zip_close_bytes(Archive* archive, std::string& out) {
    out.clear();
    if (!archive) return -1;
    MemoryFile* file = archive->memory;
    archive->memory = nullptr;
    // The end of central directory record and some room for what libzip
    // adds beyond the estimate.
    if (file) file->reserve = archive->expectedBytes + 22 + 4096;
    int result = zip_close(archive);  // frees the archive and its source
    if (!file) return -1;
    // The bytes libzip wrote are taken as they are.
    if (result == 0) out.swap(file->data);
    MemoryFile_Free(file);
    return result;
}

int zip_entry_info(Archive* archive, size_t index, EntryInfo& info) {
    if (!archive) return -1;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive->zip, index, ZIP_FL_ENC_RAW, &st) != 0) return -1;
    if (!(st.valid & ZIP_STAT_NAME)) return -1;
    info.name = st.name;
    info.size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
    info.compressedSize = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
    info.crc = (st.valid & ZIP_STAT_CRC) ? st.crc : 0;
    info.encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    const bool knownMethod = st.valid & ZIP_STAT_COMP_METHOD;
    info.stored = knownMethod && st.comp_method == ZIP_CM_STORE;
    info.methodSupported = knownMethod && (st.comp_method == ZIP_CM_STORE || st.comp_method == ZIP_CM_DEFLATE);
    return 0;
}

namespace {

constexpr uint64_t kLargestCopiedEntry = 1ull << 30;
constexpr uint64_t kBombFloor = 16ull << 20;
constexpr uint64_t kBombRatio = 1000;

// Inflates raw deflate data in pieces, counting and summing what comes out.
struct InflateCheck {
    z_stream stream{};
    bool ready = false, ended = false, failed = false;
    uint64_t size = 0;
    uLong crc = crc32(0, nullptr, 0);
    InflateCheck() { ready = inflateInit2(&stream, -MAX_WBITS) == Z_OK; }
    ~InflateCheck() {
        if (ready) inflateEnd(&stream);
    }
    InflateCheck(const InflateCheck&) = delete;
    InflateCheck& operator=(const InflateCheck&) = delete;

    // Takes `length` compressed bytes; stops early once more comes out than
    // `limit` (a bomb) or the data goes on past the stream's end.
    void take(const char* data, size_t length, uint64_t limit) {
        if (!ready || failed) return;
        if (ended) {
            failed = length > 0;
            return;
        }
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        stream.avail_in = static_cast<uInt>(length);
        unsigned char out[1 << 16];
        while (stream.avail_in > 0 && !ended && !failed) {
            stream.next_out = out;
            stream.avail_out = sizeof out;
            const int result = inflate(&stream, Z_NO_FLUSH);
            const size_t produced = sizeof out - stream.avail_out;
            crc = crc32(crc, out, static_cast<uInt>(produced));
            size += produced;
            if (result == Z_STREAM_END) ended = true;
            else if (result != Z_OK && !(result == Z_BUF_ERROR && produced > 0)) failed = true;
            if (size > limit) failed = true;
        }
        if (ended && stream.avail_in > 0) failed = true;
    }
};

}  // namespace

int zip_entry_check(Archive* archive, size_t index, bool inflate) {
    if (!archive || archive->writing) return -1;
    EntryInfo info;
    if (zip_entry_info(archive, index, info) != 0) return -1;
    // What no reader takes: more than a gigabyte, or a bomb (16 MB or more
    // at a thousandfold).
    if (inflate && (info.size > kLargestCopiedEntry ||
                    (info.size >= kBombFloor && info.size / kBombRatio > info.compressedSize)))
        return -1;
    // The compressed bytes as a copy takes them: where the directory says,
    // as many as it says.
    zip_file_t* file = zip_fopen_index(archive->zip, index, ZIP_FL_COMPRESSED);
    if (!file) return -1;
    // A deflate stream is only set up for an entry that is inflated.
    std::optional<InflateCheck> inflated;
    if (inflate && !info.stored) inflated.emplace();
    uLong storedCrc = crc32(0, nullptr, 0);
    char chunk[1 << 16];
    zip_int64_t n;
    uint64_t total = 0;
    while ((n = zip_fread(file, chunk, sizeof chunk)) > 0) {
        total += static_cast<uint64_t>(n);
        if (total > info.compressedSize) break;
        if (!inflate) continue;
        if (info.stored)
            storedCrc = crc32(storedCrc, reinterpret_cast<const Bytef*>(chunk), static_cast<uInt>(n));
        else
            inflated->take(chunk, static_cast<size_t>(n), info.size);
    }
    if (zip_fclose(file) != 0) n = -1;
    if (n < 0 || total != info.compressedSize) return -1;
    if (!inflate) return 0;
    // The data: a deflate stream that ends where the bytes end, of the
    // declared size and CRC.
    if (info.stored) return storedCrc == info.crc && total == info.size ? 0 : -1;
    return inflated->ready && inflated->ended && !inflated->failed && inflated->size == info.size &&
                   inflated->crc == info.crc
               ? 0
               : -1;
}

int zip_entry_copy(Archive* to, Archive* from, size_t index) {
    if (!to || !from || !to->writing || from->writing || to->entryOpen) return -1;
    EntryInfo info;
    if (zip_entry_info(from, index, info) != 0) return -1;
    // A whole entry is taken with its compressed bytes; libzip writes them
    // as they are when the method stays the same.
    zip_source_t* source = zip_source_zip(to->zip, from->zip, index, 0, 0, -1);
    if (!source) {
        to->failed = true;
        return -1;
    }
    to->expectedBytes += info.compressedSize + EntryRecordBytes(info.name.c_str());
    zip_int64_t at = zip_file_add(to->zip, info.name.c_str(), source, ZIP_FL_ENC_RAW);
    if (at < 0) {
        zip_source_free(source);
        to->failed = true;
        return -1;
    }
    if (info.stored &&
        zip_set_file_compression(to->zip, static_cast<zip_uint64_t>(at), ZIP_CM_STORE, 0) != 0) {
        to->failed = true;
        return -1;
    }
    return 0;
}

}  // namespace Zip
