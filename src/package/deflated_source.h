// A libzip source for an entry compressed already: the bytes of a raw
// DEFLATE stream with what the archive's directory records of them (the
// CRC-32 and size of what they hold), so that libzip writes them as they
// are instead of compressing them again.
#pragma once

#include <cstdint>
#include <string>

#include <zip.h>

namespace Zip {

// A source of `deflated` for `zip`, which takes the bytes over (freed once
// libzip has read them whole); null when libzip cannot make one.
zip_source_t* DeflatedSource_Make(zip_t* zip, std::string&& deflated, uint32_t crc, uint64_t size);

}  // namespace Zip
