#include "calendar.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace vexrt::detail {

namespace {

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kWeekdayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
    char buffer[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// "GMT", "GMT+1", "GMT-2:30".
std::string ShortZone(int64_t offset) {
    if (offset == 0) return "GMT";
    const int64_t a = offset < 0 ? -offset : offset;
    const char sign = offset < 0 ? '-' : '+';
    if (a % 3600 == 0) return Format("GMT%c%lld", sign, (long long)(a / 3600));
    return Format("GMT%c%lld:%02lld", sign, (long long)(a / 3600), (long long)(a % 3600 / 60));
}

// "GMT+01:00", "GMT-02:30", "GMT+00:00".
std::string LongZone(int64_t offset) {
    const int64_t a = offset < 0 ? -offset : offset;
    return Format("GMT%c%02lld:%02lld", offset < 0 ? '-' : '+', (long long)(a / 3600),
                  (long long)(a % 3600 / 60));
}

}  // namespace

bool Calendar_IsLeapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int Calendar_DaysInMonth(int64_t year, int64_t month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && Calendar_IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool Calendar_IsValid(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                      int64_t second, int64_t nanosecond) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= Calendar_DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59 && nanosecond >= 0 &&
           nanosecond <= 999999999;
}

int64_t Calendar_DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    // Counted in eras of 400 years from 0000-03-01, so leap days fall last.
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int Calendar_Weekday(int64_t year, int64_t month, int64_t day) {
    const int64_t days = Calendar_DaysFromCivil(year, month, day);
    // 1970-01-01 was a Thursday.
    const int64_t weekday = (days + 4) % 7;
    return int(weekday < 0 ? weekday + 7 : weekday);
}

int64_t Calendar_LocalOffsetAt(int64_t unixTime) {
    std::time_t t = std::time_t(unixTime);
    std::tm local{};
    if (!localtime_r(&t, &local)) return 0;
    return local.tm_gmtoff;
}

int64_t Calendar_LocalOffsetOf(int64_t year, int64_t month, int64_t day, int64_t hour,
                               int64_t minute, int64_t second) {
    std::tm local{};
    local.tm_year = int(year - 1900);
    local.tm_mon = int(month - 1);
    local.tm_mday = int(day);
    local.tm_hour = int(hour);
    local.tm_min = int(minute);
    local.tm_sec = int(second);
    local.tm_isdst = -1;  // let the zone's rules decide
    std::time_t t = std::mktime(&local);
    if (t == std::time_t(-1)) return 0;
    return Calendar_LocalOffsetAt(t);
}

std::string Calendar_FormatDate(FormatStyle style, int64_t year, int64_t month, int64_t day) {
    if (month < 1 || month > 12) return std::string();
    const char* monthName = kMonthNames[month - 1];
    switch (style) {
        case kStyleShort:
            return Format("%lld/%lld/%02lld", (long long)month, (long long)day, (long long)(year % 100));
        case kStyleMedium:
            return Format("%.3s %lld, %lld", monthName, (long long)day, (long long)year);
        case kStyleLong: return Format("%s %lld, %lld", monthName, (long long)day, (long long)year);
        case kStyleFull:
            return Format("%s, %s %lld, %lld", kWeekdayNames[Calendar_Weekday(year, month, day)],
                          monthName, (long long)day, (long long)year);
        case kStyleNone: break;
    }
    return std::string();
}

std::string Calendar_FormatTime(FormatStyle style, int64_t hour, int64_t minute, int64_t second,
                                int64_t offsetSeconds) {
    const int64_t hour12 = hour % 12 == 0 ? 12 : hour % 12;
    const char* half = hour < 12 ? "AM" : "PM";
    switch (style) {
        case kStyleShort: return Format("%lld:%02lld %s", (long long)hour12, (long long)minute, half);
        case kStyleMedium:
            return Format("%lld:%02lld:%02lld %s", (long long)hour12, (long long)minute,
                          (long long)second, half);
        case kStyleLong:
            return Format("%lld:%02lld:%02lld %s %s", (long long)hour12, (long long)minute,
                          (long long)second, half, ShortZone(offsetSeconds).c_str());
        case kStyleFull:
            return Format("%lld:%02lld:%02lld %s %s", (long long)hour12, (long long)minute,
                          (long long)second, half, LongZone(offsetSeconds).c_str());
        case kStyleNone: break;
    }
    return std::string();
}

}  // namespace vexrt::detail
