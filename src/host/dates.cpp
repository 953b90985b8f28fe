// Dates as ISO 8601 text and host DateTime objects. Class references are
// looked up on first use and forgotten at every load of the plug-in; the
// constructors are looked up on first use as well. Those caches are atomic
// for host threads meeting at a first use; looking up twice gives the same
// answer, so relaxed order is enough.
#include "host/dates.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "host/bridge.h"
#include "host/entry_guard.h"

namespace {

typedef void (*DateTimeConstructorProc)(REALobject self, RBInteger year, RBInteger month,
                                        RBInteger day, RBInteger hour, RBInteger minute,
                                        RBInteger second, RBInteger nanosecond,
                                        REALobject timeZone);
typedef void (*TimeZoneConstructorProc)(REALobject self, RBInteger offsetSeconds);

constexpr const char* kDateTimeConstructor =
    "Constructor(Year as Integer, Month as Integer, Day as Integer, hour as Integer, "
    "minute as Integer, second as Integer, nanosecond as Integer, timeZone as TimeZone)";
constexpr const char* kTimeZoneConstructor = "Constructor(gmtOffsetInSeconds As Integer)";

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

std::atomic<REALclassRef> gDateTimeClass{nullptr};
std::atomic<REALclassRef> gTimeZoneClass{nullptr};
std::atomic<DateTimeConstructorProc> gDateTimeConstructor{nullptr};
std::atomic<TimeZoneConstructorProc> gTimeZoneConstructor{nullptr};

// What the constructor callback needs; it runs inside the host's exception
// handler, so it gets everything through one pointer.
struct DateRecord {
    REALobject dateTime;
    RBInteger year, month, day, hour, minute, second;
    uint8_t withOffset;
    RBInteger offsetSeconds;
    bool constructed;  // the constructor was found and called
};

REALclassRef CachedClass(std::atomic<REALclassRef>& slot, const char* name) {
    REALclassRef cls = slot.load(kRelaxed);
    if (!cls) {
        cls = REALGetClassRef(name);
        if (cls) slot.store(cls, kRelaxed);
    }
    return cls;
}

REALclassRef DateTimeClass() { return CachedClass(gDateTimeClass, "DateTime"); }
REALclassRef TimeZoneClass() { return CachedClass(gTimeZoneClass, "TimeZone"); }

// The method of `instance` declared so, cached in `slot`.
template <typename Proc>
Proc CachedMethod(std::atomic<Proc>& slot, REALobject instance, const char* declaration) {
    Proc method = slot.load(kRelaxed);
    if (!method) {
        method = reinterpret_cast<Proc>(REALLoadObjectMethod(instance, declaration));
        if (method) slot.store(method, kRelaxed);
    }
    return method;
}

// Handed to the host's exception handler, so it runs in the entry guard
// like every other function the host calls.
void ConstructDateTime(void* arg) {
    DateRecord& r = *static_cast<DateRecord*>(arg);
    const DateTimeConstructorProc dateTimeConstructor =
        CachedMethod(gDateTimeConstructor, r.dateTime, kDateTimeConstructor);
    if (!dateTimeConstructor) return;

    // Released on every way out, also when a constructor raises through
    // this frame.
    struct TimeZoneReference {
        REALobject object = nullptr;
        ~TimeZoneReference() {
            if (object) REALUnlockObject(object);
        }
    } timeZone;
    if (r.withOffset) {
        timeZone.object = REALnewInstanceWithClass(TimeZoneClass());
        if (!timeZone.object) return;
        const TimeZoneConstructorProc timeZoneConstructor =
            CachedMethod(gTimeZoneConstructor, timeZone.object, kTimeZoneConstructor);
        if (!timeZoneConstructor) return;
        timeZoneConstructor(timeZone.object, r.offsetSeconds);
    }
    // Marked before the call: a constructor that raises still counts as
    // called, the handler reports the exception.
    r.constructed = true;
    dateTimeConstructor(r.dateTime, r.year, r.month, r.day, r.hour, r.minute, r.second, 0,
                        timeZone.object);
}

REALobject NewDateTime(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                       int64_t second, bool withOffset, int64_t offsetSeconds,
                       bool fallBack) {
    REALobject dateTime = REALnewInstanceWithClass(DateTimeClass());
    if (!dateTime) return nullptr;
    if (year < 2) year = 1;
    DateRecord record{dateTime, year, month, day, hour, minute, second,
                      uint8_t(withOffset ? 1 : 0), offsetSeconds, false};
    REALobject exception =
        REALCallFunctionWithExceptionHandler(GuardedEntry<ConstructDateTime>::Entry(), &record);
    if (exception) {
        REALUnlockObject(exception);
        REALUnlockObject(dateTime);
        // The fallback date is valid on every host; should it fail anyway,
        // give nil rather than retry for ever.
        return fallBack ? NewDateTime(2019, 1, 1, 0, 0, 0, false, 0, false) : nullptr;
    }
    if (!record.constructed) {
        // Without its constructor the instance is no date at all.
        REALUnlockObject(dateTime);
        return nullptr;
    }
    return dateTime;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Number(const char* text, int position, int digits) {
    int value = 0;
    for (int i = 0; i < digits; ++i) value = value * 10 + (text[position + i] - '0');
    return value;
}

RBInteger IntegerProperty(REALobject o, const char* name) {
    RBInteger value = 0;
    if (!REALGetPropValueInteger(o, name, &value)) return 0;
    return value;
}

}  // namespace

void DatesResetClassCache() {
    gDateTimeClass.store(nullptr, kRelaxed);
    gTimeZoneClass.store(nullptr, kRelaxed);
}

void DatesResetMethodCache() {
    gDateTimeConstructor.store(nullptr, kRelaxed);
    gTimeZoneConstructor.store(nullptr, kRelaxed);
}

REALobject CreateDateTime(int64_t year, int64_t month, int64_t day, int64_t hour,
                          int64_t minute, int64_t second, bool withOffset,
                          int64_t offsetSeconds) {
    return NewDateTime(year, month, day, hour, minute, second, withOffset, offsetSeconds, true);
}

REALobject ParseDateTimeFromISO8601(const char* text, size_t length) {
    static const char kLong[] = "0000-00-00T00:00:00+00:00";
    static const char kShort[] = "0000-00-00T00:00:00Z";
    if (!text) return nullptr;
    const char* pattern;
    if (length == sizeof(kLong) - 1)
        pattern = kLong;
    else if (length == sizeof(kShort) - 1)
        pattern = kShort;
    else
        return nullptr;

    for (size_t i = 0; i < length; ++i) {
        char p = pattern[i], c = text[i];
        bool ok = p == '0' ? IsDigit(c) : p == '+' ? (c == '+' || c == '-') : c == p;
        if (!ok) return nullptr;
    }

    int64_t offset = 0;
    if (pattern == kLong) {
        offset = Number(text, 20, 2) * 3600 + Number(text, 23, 2) * 60;
        if (text[19] == '-') offset = -offset;
    }
    return CreateDateTime(Number(text, 0, 4), Number(text, 5, 2), Number(text, 8, 2),
                          Number(text, 11, 2), Number(text, 14, 2), Number(text, 17, 2), true,
                          offset);
}

int FormatDateTimeToISO8601(REALobject dateTime, char* buffer, size_t size, bool dateOnly) {
    if (!dateTime) return 0;
    int year = int(IntegerProperty(dateTime, "Year"));
    int month = int(IntegerProperty(dateTime, "Month"));
    int day = int(IntegerProperty(dateTime, "Day"));
    int hour = 0, minute = 0, second = 0;
    long offset = 0;
    if (!dateOnly) {
        hour = int(IntegerProperty(dateTime, "Hour"));
        minute = int(IntegerProperty(dateTime, "Minute"));
        second = int(IntegerProperty(dateTime, "Second"));
        REALobject timeZone = nullptr;
        if (REALGetPropValueObject(dateTime, "Timezone", &timeZone) && timeZone) {
            offset = long(IntegerProperty(timeZone, "SecondsFromGMT"));
            REALUnlockObject(timeZone);
        }
    }
    return FormatDateTimeComponentsTimeToISO8601(year, month, day, hour, minute, second, offset,
                                                 buffer, size, dateOnly);
}

int FormatDateTimeComponentsTimeToISO8601(int year, int month, int day, int hour, int minute,
                                          int second, long offsetSeconds, char* buffer,
                                          size_t size, bool dateOnly) {
    if (!buffer || size == 0) return 0;
    if (dateOnly) hour = minute = second = 0;
    int written;
    if (offsetSeconds == 0) {
        written = std::snprintf(buffer, size, "%04d-%02d-%02dT%02d:%02d:%02dZ", year, month, day,
                                hour, minute, second);
    } else {
        long absolute = std::labs(offsetSeconds);
        written = std::snprintf(buffer, size, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", year,
                                month, day, hour, minute, second,
                                offsetSeconds > 0 ? '+' : '-', int(absolute / 3600),
                                int((absolute % 3600) / 60));
    }
    // Report what is in the buffer, not what a larger one would have held.
    if (written < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return size_t(written) < size ? written : int(size - 1);
}
