#include "package/archive.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <zip.h>

namespace Zip {

struct Archive {
    zip_t* zip = nullptr;
    bool writing = false;
    int level = 6;
    // The entry selected for reading or being written.
    bool entryOpen = false;
    zip_uint64_t entryIndex = 0;
    std::string entryName;
    zip_uint64_t entrySize = 0;
    std::string* entryData = nullptr;  // write mode: the bytes of the entry
    // libzip reads entry bytes only at zip_close; they live here until then.
    // A deque keeps each string's address while more are added.
    std::deque<std::string> buffers;
    bool failed = false;  // an entry could not be added: the close fails
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
    if (!(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE)) return -1;
    archive->entryIndex = index;
    archive->entryName = st.name;
    archive->entrySize = st.size;
    archive->entryOpen = true;
    return 0;
}

const char* zip_entry_name(Archive* archive) {
    if (!archive || !archive->entryOpen) return nullptr;
    return archive->entryName.c_str();
}

namespace {

// Reads exactly `size` bytes of the open entry into `into`, then asks for one
// more byte: libzip checks the CRC only when a read reaches the end.
bool ReadEntryInto(Archive* archive, char* into, zip_uint64_t size) {
    zip_file_t* file = zip_fopen_index(archive->zip, archive->entryIndex, 0);
    if (!file) return false;
    zip_uint64_t done = 0;
    bool ok = true;
    while (done < size) {
        zip_int64_t n = zip_fread(file, into + done, size - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<zip_uint64_t>(n);
    }
    if (ok) {
        char extra;
        if (zip_fread(file, &extra, 1) != 0) ok = false;
    }
    if (zip_fclose(file) != 0) ok = false;
    return ok;
}

}  // namespace

ssize_t zip_entry_read(Archive* archive, void** buffer, size_t* size) {
    if (buffer) *buffer = nullptr;
    if (size) *size = 0;
    if (!archive || archive->writing || !archive->entryOpen || !buffer) return -1;
    zip_uint64_t length = archive->entrySize;
    if (length >= static_cast<zip_uint64_t>(SSIZE_MAX)) return -1;
    char* data = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
    if (!data) return -1;
    if (!ReadEntryInto(archive, data, length)) {
        std::free(data);
        return -1;
    }
    data[length] = 0;
    *buffer = data;
    if (size) *size = static_cast<size_t>(length);
    return static_cast<ssize_t>(length);
}

ssize_t zip_entry_read(Archive* archive, std::string& out) {
    out.clear();
    if (!archive || archive->writing || !archive->entryOpen) return -1;
    zip_uint64_t length = archive->entrySize;
    if (length >= static_cast<zip_uint64_t>(SSIZE_MAX)) return -1;
    out.resize(static_cast<size_t>(length));
    if (!ReadEntryInto(archive, &out[0], length)) {
        out.clear();
        return -1;
    }
    return static_cast<ssize_t>(length);
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

}  // namespace Zip
