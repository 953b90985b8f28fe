#include "package/deflated_source.h"

#include <cstring>

namespace Zip {

namespace {

// What libzip reads an entry compressed already from: the bytes with what
// its directory records of them, so that it copies them as they are.
struct DeflatedSource {
    std::string bytes;
    uint64_t compressedSize = 0;
    uint32_t crc = 0;
    uint64_t size = 0;
    size_t readAt = 0;
    bool read = false;  // libzip has read the bytes, which are freed then
    zip_error_t error;
};

zip_int64_t DeflatedSource_Command(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    DeflatedSource* source = static_cast<DeflatedSource*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        // libzip reads each entry once, at zip_close; a reading after the
        // bytes are gone must fail rather than write them short.
        if (source->read) {
            zip_error_set(&source->error, ZIP_ER_INTERNAL, 0);
            return -1;
        }
        source->readAt = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const size_t left = source->bytes.size() - source->readAt;
        const size_t n = length < left ? static_cast<size_t>(length) : left;
        std::memcpy(data, source->bytes.data() + source->readAt, n);
        source->readAt += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        // Written whole: the archive's own copy is all that is needed now,
        // so a large part is not held twice while the rest are written.
        if (source->readAt == source->bytes.size()) {
            source->read = true;
            std::string().swap(source->bytes);
        }
        return 0;
    case ZIP_SOURCE_STAT: {
        if (length < sizeof(zip_stat_t)) {
            zip_error_set(&source->error, ZIP_ER_INVAL, 0);
            return -1;
        }
        zip_stat_t* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        // As a raw copy from another archive reports it: the method and
        // compressed size make libzip write the bytes without compressing
        // them again, the CRC and size go into the directory.
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC |
                    ZIP_STAT_ENCRYPTION_METHOD;
        st->size = source->size;
        st->comp_size = source->compressedSize;
        st->comp_method = ZIP_CM_DEFLATE;
        st->encryption_method = ZIP_EM_NONE;
        st->crc = source->crc;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&source->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&source->error);
        delete source;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&source->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

}  // namespace

zip_source_t* DeflatedSource_Make(zip_t* zip, std::string&& deflated, uint32_t crc, uint64_t size) {
    DeflatedSource* state = new DeflatedSource;
    zip_error_init(&state->error);
    state->bytes = std::move(deflated);
    state->compressedSize = state->bytes.size();
    state->crc = crc;
    state->size = size;
    zip_source_t* source = zip_source_function(zip, DeflatedSource_Command, state);
    if (!source) {
        zip_error_fini(&state->error);
        delete state;
    }
    // Otherwise the source owns the state (freed with it).
    return source;
}

}  // namespace Zip
