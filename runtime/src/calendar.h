// Civil dates for the host's DateTime: validity, weekdays, the offset of the
// process's local time zone, and the English texts of DateTime.ToString.
#pragma once

#include <cstdint>
#include <string>

namespace vexrt::detail {

// DateTime.FormatStyles.
enum FormatStyle : int64_t { kStyleShort = 0, kStyleMedium = 1, kStyleLong = 2, kStyleFull = 3, kStyleNone = 4 };

bool Calendar_IsLeapYear(int64_t year);
int Calendar_DaysInMonth(int64_t year, int64_t month);  // 0 for a month out of range
// Years 1 to 9999; month, day, hour, minute, second and nanosecond in their ranges.
bool Calendar_IsValid(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                      int64_t second, int64_t nanosecond);
// Days from 1970-01-01 (proleptic Gregorian calendar).
int64_t Calendar_DaysFromCivil(int64_t year, int64_t month, int64_t day);
int Calendar_Weekday(int64_t year, int64_t month, int64_t day);  // 0 Sunday .. 6 Saturday

// Offset from UTC, in seconds, of the process's local time zone (TZ).
int64_t Calendar_LocalOffsetAt(int64_t unixTime);
int64_t Calendar_LocalOffsetOf(int64_t year, int64_t month, int64_t day, int64_t hour,
                               int64_t minute, int64_t second);

// "2/29/24", "Feb 29, 2024", "February 29, 2024", "Thursday, February 29, 2024"; "" for None.
std::string Calendar_FormatDate(FormatStyle style, int64_t year, int64_t month, int64_t day);
// "1:05 PM", "1:05:09 PM", "1:05:09 PM GMT+1", "1:05:09 PM GMT+01:00"; "" for None.
std::string Calendar_FormatTime(FormatStyle style, int64_t hour, int64_t minute, int64_t second,
                                int64_t offsetSeconds);

}  // namespace vexrt::detail
