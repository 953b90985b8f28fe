// DateTime and TimeZone. A DateTime holds its civil fields and either a
// fixed offset or the host's local time zone (the process's TZ); its
// constructor rejects a date that does not exist by raising an
// InvalidArgumentException, as the host does.
#include <cstdio>
#include <iterator>

#include "calendar.h"
#include "host_classes.h"

namespace vexrt::detail {

namespace {

// Offsets beyond any time zone in use.
constexpr RBInteger kMaxOffsetSeconds = 18 * 3600;

DateTimePart* DatePart(REALobject self, const char* where) {
    Impl* rt = Impl::active();
    return rt ? rt->hostPart<DateTimePart>(self, kDateTime, where) : nullptr;
}

TimeZonePart* ZonePart(REALobject self, const char* where) {
    Impl* rt = Impl::active();
    return rt ? rt->hostPart<TimeZonePart>(self, kTimeZone, where) : nullptr;
}

// The offset in effect for a date: its fixed one, or the local zone's at
// that moment.
RBInteger OffsetOf(const DateTimePart& d) {
    if (d.fixedOffset) return d.offsetSeconds;
    return Calendar_LocalOffsetOf(d.year, d.month, d.day, d.hour, d.minute, d.second);
}

std::string DateText(RBInteger y, RBInteger mo, RBInteger d, RBInteger h, RBInteger mi, RBInteger s) {
    char text[128];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", (long long)y,
                  (long long)mo, (long long)d, (long long)h, (long long)mi, (long long)s);
    return text;
}

// ------------------------------------------------------------ DateTime

void DateTimeConstruct(REALobject self, RBInteger year, RBInteger month, RBInteger day,
                       RBInteger hour, RBInteger minute, RBInteger second, RBInteger nanosecond,
                       REALobject timeZone) {
    constexpr const char* kWhere = "DateTime.Constructor";
    DateTimePart* d = DatePart(self, kWhere);
    if (!d) return;
    Impl& rt = *Impl::active();
    const TimeZonePart* zone = nullptr;
    if (timeZone && !(zone = ZonePart(timeZone, kWhere))) return;
    if (!Calendar_IsValid(year, month, day, hour, minute, second, nanosecond)) {
        rt.raiseNew(kInvalidArgumentException,
                    "Invalid date or time: " + DateText(year, month, day, hour, minute, second), 0);
        return;
    }
    *d = DateTimePart{year, month, day, hour, minute, second, nanosecond, zone != nullptr,
                      zone ? zone->offsetSeconds : 0};
}

RBInteger GetYear(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.Year");
    return d ? d->year : 0;
}
RBInteger GetMonth(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.Month");
    return d ? d->month : 0;
}
RBInteger GetDay(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.Day");
    return d ? d->day : 0;
}
RBInteger GetHour(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.Hour");
    return d ? d->hour : 0;
}
RBInteger GetMinute(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.Minute");
    return d ? d->minute : 0;
}
RBInteger GetSecond(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.Second");
    return d ? d->second : 0;
}
RBInteger GetNanosecond(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.Nanosecond");
    return d ? d->nanosecond : 0;
}

double GetSecondsFrom1970(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.SecondsFrom1970");
    if (!d) return 0;
    const int64_t local = Calendar_DaysFromCivil(d->year, d->month, d->day) * 86400 +
                          d->hour * 3600 + d->minute * 60 + d->second;
    return double(local - OffsetOf(*d)) + double(d->nanosecond) / 1e9;
}

// A new TimeZone with the offset in effect for this date.
REALobject GetTimezone(REALobject self, intptr_t) {
    const DateTimePart* d = DatePart(self, "DateTime.Timezone");
    if (!d) return nullptr;
    return Handle(TimeZone_New(*Impl::active(), OffsetOf(*d)));
}

REALstring ToString(REALobject self, RBInteger dateStyle, RBInteger timeStyle) {
    const DateTimePart* d = DatePart(self, "DateTime.ToString");
    if (!d) return nullptr;
    Impl& rt = *Impl::active();
    if (dateStyle < kStyleShort || dateStyle > kStyleNone || timeStyle < kStyleShort ||
        timeStyle > kStyleNone) {
        rt.raiseNew(kInvalidArgumentException, "Invalid DateTime.FormatStyles value", 0);
        return nullptr;
    }
    std::string date = Calendar_FormatDate(FormatStyle(dateStyle), d->year, d->month, d->day);
    std::string time = Calendar_FormatTime(FormatStyle(timeStyle), d->hour, d->minute, d->second,
                                           OffsetOf(*d));
    std::string text = date.empty() || time.empty() ? date + time : date + " " + time;
    return rt.newString(text, kREALTextEncodingUTF8);
}

REALproperty DateTimeProperties[] = {
    {nullptr, "Year", "Integer", REALmemberFlagPublic, HostClass_Function(GetYear), nullptr, 0},
    {nullptr, "Month", "Integer", REALmemberFlagPublic, HostClass_Function(GetMonth), nullptr, 0},
    {nullptr, "Day", "Integer", REALmemberFlagPublic, HostClass_Function(GetDay), nullptr, 0},
    {nullptr, "Hour", "Integer", REALmemberFlagPublic, HostClass_Function(GetHour), nullptr, 0},
    {nullptr, "Minute", "Integer", REALmemberFlagPublic, HostClass_Function(GetMinute), nullptr, 0},
    {nullptr, "Second", "Integer", REALmemberFlagPublic, HostClass_Function(GetSecond), nullptr, 0},
    {nullptr, "Nanosecond", "Integer", REALmemberFlagPublic, HostClass_Function(GetNanosecond),
     nullptr, 0},
    {nullptr, "SecondsFrom1970", "Double", REALmemberFlagPublic,
     HostClass_Function(GetSecondsFrom1970), nullptr, 0},
    {nullptr, "Timezone", "TimeZone", REALmemberFlagPublic, HostClass_Function(GetTimezone),
     nullptr, 0},
};

REALmethodDefinition DateTimeMethods[] = {
    {HostClass_Function(DateTimeConstruct), nullptr,
     "Constructor(Year as Integer, Month as Integer, Day as Integer, hour as Integer, "
     "minute as Integer, second as Integer, nanosecond as Integer, timeZone as TimeZone)",
     REALmemberFlagPublic},
    {HostClass_Function(ToString), nullptr,
     "ToString(dateStyle as DateTime.FormatStyles, timeStyle as DateTime.FormatStyles) as String",
     REALmemberFlagPublic},
};

// ------------------------------------------------------------ TimeZone

void TimeZoneConstruct(REALobject self, RBInteger offsetSeconds) {
    TimeZonePart* z = ZonePart(self, "TimeZone.Constructor");
    if (!z) return;
    if (offsetSeconds < -kMaxOffsetSeconds || offsetSeconds > kMaxOffsetSeconds) {
        Impl::active()->raiseNew(kInvalidArgumentException,
                                 "Invalid time zone offset: " + std::to_string(offsetSeconds), 0);
        return;
    }
    z->offsetSeconds = offsetSeconds;
}

RBInteger GetSecondsFromGMT(REALobject self, intptr_t) {
    const TimeZonePart* z = ZonePart(self, "TimeZone.SecondsFromGMT");
    return z ? z->offsetSeconds : 0;
}

REALproperty TimeZoneProperties[] = {
    {nullptr, "SecondsFromGMT", "Integer", REALmemberFlagPublic,
     HostClass_Function(GetSecondsFromGMT), nullptr, 0},
};

REALmethodDefinition TimeZoneMethods[] = {
    {HostClass_Function(TimeZoneConstruct), nullptr, "Constructor(gmtOffsetInSeconds As Integer)",
     REALmemberFlagPublic},
};

}  // namespace

// Both parts are plain values: zeroed memory is a valid start.
REALclassDefinition DateTimeClass =
    HostClass_Define(kDateTime, "", sizeof(DateTimePart), nullptr, nullptr, DateTimeProperties,
                     std::size(DateTimeProperties), DateTimeMethods, std::size(DateTimeMethods));

REALclassDefinition TimeZoneClass =
    HostClass_Define(kTimeZone, "", sizeof(TimeZonePart), nullptr, nullptr, TimeZoneProperties,
                     std::size(TimeZoneProperties), TimeZoneMethods, std::size(TimeZoneMethods));

ObjectRec* TimeZone_New(Impl& rt, RBInteger offsetSeconds) {
    ClassRec* cls = rt.hostClass(kTimeZone);
    ObjectRec* zone = cls ? rt.newInstance(*cls) : nullptr;
    if (zone) static_cast<TimeZonePart*>(rt.part(*zone, *cls))->offsetSeconds = offsetSeconds;
    return zone;
}

}  // namespace vexrt::detail
