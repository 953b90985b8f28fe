// Dates as ISO 8601 text and host DateTime objects.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/plugin_sdk.h"

// "0000-00-00T00:00:00Z" or "0000-00-00T00:00:00+00:00" -> DateTime with a
// fixed-offset time zone; nil for any other text.
REALobject ParseDateTimeFromISO8601(const char* text, size_t length);
// New DateTime; an invalid date falls back to 2019-01-01 00:00:00 local time.
REALobject CreateDateTime(int64_t year, int64_t month, int64_t day, int64_t hour,
                          int64_t minute, int64_t second, bool withOffset,
                          int64_t offsetSeconds);
// Characters written (0 for nil).
int FormatDateTimeToISO8601(REALobject dateTime, char* buffer, size_t size, bool dateOnly);
int FormatDateTimeComponentsTimeToISO8601(int year, int month, int day, int hour, int minute,
                                          int second, long offsetSeconds, char* buffer,
                                          size_t size, bool dateOnly);
// Forget cached class references (called by the plug-in entry).
void DatesResetClassCache();
// Forget the cached DateTime and TimeZone constructors (a new host in the
// same process, as when linked code is loaded again).
void DatesResetMethodCache();
