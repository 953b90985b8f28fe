// Host strings: reference-counted byte strings with an encoding. UTF-8 and
// "no encoding" convert to UTF-8 by copying; the unconvertible encoding
// never converts, which lets tests drive the plug-in's silent failures.
#include <cstdlib>
#include <cstring>

#include "entries.h"

namespace vexrt {

namespace {

// Freed strings are kept a while before their memory is reused, so that a
// stale handle stays unknown instead of naming a newer string.
constexpr size_t kStringQuarantine = 256;

bool ConvertsToUTF8(uint32_t encoding) {
    return encoding == kREALTextEncodingUTF8 || encoding == kREALTextEncodingNone;
}

// Spare records out of quarantine, reused before anything is allocated.
constexpr size_t kSpareStrings = 64;

}  // namespace

REALstring Runtime::Impl::newString(std::string&& bytes, uint32_t encoding) {
    std::unique_ptr<StringRec> rec;
    if (spareStrings.empty()) {
        rec = std::make_unique<StringRec>();
    } else {
        rec = std::move(spareStrings.back());
        spareStrings.pop_back();
        *rec = StringRec{};
    }
    rec->encoding = encoding;
    rec->bytes = std::move(bytes);
    StringRec* s = rec.release();
    strings.insert(s);
    return detail::Handle(s);
}

REALstring Runtime::Impl::newString(std::string_view bytes, uint32_t encoding) {
    return newString(std::string(bytes.data() ? bytes.data() : "", bytes.size()), encoding);
}

StringRec* Runtime::Impl::liveString(REALstring s, const char* where) {
    auto* rec = reinterpret_cast<StringRec*>(s);
    if (strings.count(rec)) return rec;
    fault(std::string(where) + ": " + (s ? "dangling string handle" : "nil string"));
    return nullptr;
}

void Runtime::Impl::lockString(REALstring s, const char* where) {
    if (!s) return;
    if (StringRec* rec = liveString(s, where)) ++rec->refCount;
}

void Runtime::Impl::unlockString(REALstring s, const char* where) {
    if (!s || tearingDown) return;
    StringRec* rec = liveString(s, where);
    if (!rec || --rec->refCount > 0) return;
    strings.erase(rec);
    rec->bytes = std::string();
    deadStrings.emplace_back(rec);
    if (deadStrings.size() > kStringQuarantine) {
        if (spareStrings.size() < kSpareStrings) spareStrings.push_back(std::move(deadStrings.front()));
        deadStrings.pop_front();
    }
}

namespace detail {

bool Entry_GetStringData(REALstring s, uint32_t encoding, REALstringData* out) {
    Impl* rt = Impl::active();
    if (!rt) return false;
    if (!out) {
        rt->fault("PluginGetStringData: no out record");
        return false;
    }
    *out = REALstringData{};
    std::string_view bytes;
    if (s) {
        StringRec* rec = rt->liveString(s, "PluginGetStringData");
        if (!rec) return false;
        bool sameEncoding = rec->encoding == encoding;
        bool toUTF8 = encoding == kREALTextEncodingUTF8 && ConvertsToUTF8(rec->encoding);
        if (!sameEncoding && !toUTF8) return false;
        if (rec->encoding == kREALTextEncodingUnconvertible) return false;
        bytes = rec->bytes;
    }
    // A copy of its own, so the data stays valid whatever happens to the
    // string, and a dispose without a get (or twice) is caught.
    auto* copy = static_cast<char*>(std::malloc(bytes.size() + 1));
    if (!copy) return false;
    if (!bytes.empty()) std::memcpy(copy, bytes.data(), bytes.size());
    copy[bytes.size()] = '\0';
    rt->openStringData.insert(copy);
    out->data = copy;
    out->length = bytes.size();
    out->encoding = encoding;
    out->hostReserved = copy;
    return true;
}

void Entry_DisposeStringData(REALstringData* data) {
    Impl* rt = Impl::active();
    if (!rt || !data) return;
    if (!rt->openStringData.erase(data->hostReserved)) {
        rt->fault("PluginDisposeStringData: the record is not from PluginGetStringData, or "
                  "was disposed before");
        return;
    }
    std::free(data->hostReserved);
    *data = REALstringData{};
}

REALstring Entry_BuildStringWithEncoding(const char* bytes, size_t length, uint32_t encoding) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    if (!bytes && length > 0) {
        rt->fault("REALBuildStringWithEncoding: null bytes with a length of " +
                  std::to_string(length));
        return nullptr;
    }
    return rt->newString(std::string_view(bytes ? bytes : "", length), encoding);
}

const char* Entry_StringGetCString(REALstring s) {
    Impl* rt = Impl::active();
    if (!rt || !s) return "";
    StringRec* rec = rt->liveString(s, "StringGetCString");
    return rec ? rec->bytes.c_str() : "";
}

REALstring Entry_AddString(REALstring a, REALstring b) {
    Impl* rt = Impl::active();
    if (!rt) return nullptr;
    StringRec* ra = a ? rt->liveString(a, "RuntimeAddString") : nullptr;
    StringRec* rb = b ? rt->liveString(b, "RuntimeAddString") : nullptr;
    if ((a && !ra) || (b && !rb)) return nullptr;
    std::string bytes = (ra ? ra->bytes : std::string()) + (rb ? rb->bytes : std::string());
    // Text that cannot be converted stays so after concatenation; bytes
    // without encoding stay without encoding only when joined to their kind.
    auto is = [](StringRec* r, uint32_t e) { return r && r->encoding == e; };
    uint32_t encoding = kREALTextEncodingUTF8;
    if (is(ra, kREALTextEncodingUnconvertible) || is(rb, kREALTextEncodingUnconvertible))
        encoding = kREALTextEncodingUnconvertible;
    else if ((ra || rb) && (!ra || is(ra, kREALTextEncodingNone)) &&
             (!rb || is(rb, kREALTextEncodingNone)))
        encoding = kREALTextEncodingNone;
    return rt->newString(std::move(bytes), encoding);
}

void Entry_LockString(REALstring s) {
    if (Impl* rt = Impl::active()) rt->lockString(s, "REALLockString");
}

void Entry_UnlockString(REALstring s) {
    if (Impl* rt = Impl::active()) rt->unlockString(s, "REALUnlockString");
}

}  // namespace detail

}  // namespace vexrt
