// Dates between ISO 8601 text and host DateTime objects, with the runtime's
// DateTime and TimeZone as the host's.
#include <cstring>
#include <new>
#include <string>

#include "host/bridge.h"
#include "host/dates.h"
#include "own_host.h"
#include "plugin_test.h"

using vexrt::Object;

namespace {

class DatesTest : public LinkedTest {
protected:
    Object parse(const std::string& text) {
        return Object(ParseDateTimeFromISO8601(text.data(), text.size()), true);
    }

    // "YYYY-MM-DD hh:mm:ss" and the offset of the date's time zone.
    std::string fields(const Object& date) {
        char text[64];
        std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld",
                      (long long)field(date, "Year"), (long long)field(date, "Month"),
                      (long long)field(date, "Day"), (long long)field(date, "Hour"),
                      (long long)field(date, "Minute"), (long long)field(date, "Second"));
        return text;
    }
    int64_t offset(const Object& date) {
        Object zone = rt().hostProperty(date, "Timezone").object();
        return rt().hostProperty(zone, "SecondsFromGMT").integer();
    }
    int64_t field(const Object& date, const char* name) {
        return rt().hostProperty(date, name).integer();
    }

    std::string format(const Object& date, bool dateOnly = false) {
        char buffer[30];
        int n = FormatDateTimeToISO8601(date.get(), buffer, sizeof buffer, dateOnly);
        EXPECT_EQ(size_t(n), std::strlen(buffer));
        return std::string(buffer, size_t(n));
    }
};

}  // namespace

TEST_F(DatesTest, BothFormsGiveADateInAFixedOffsetZone) {
    Object utc = parse("2024-02-29T13:05:09Z");
    ASSERT_FALSE(utc.isNil());
    EXPECT_EQ(rt().className(utc), "DateTime");
    EXPECT_EQ(fields(utc), "2024-02-29 13:05:09");
    EXPECT_EQ(offset(utc), 0);

    Object east = parse("2024-02-29T13:05:09+02:30");
    ASSERT_FALSE(east.isNil());
    EXPECT_EQ(fields(east), "2024-02-29 13:05:09");
    EXPECT_EQ(offset(east), 9000);

    Object west = parse("2024-02-29T13:05:09-02:30");
    ASSERT_FALSE(west.isNil());
    EXPECT_EQ(offset(west), -9000);

    // The explicit zone is kept even where it matches the local one.
    Object zero = parse("1999-12-31T23:59:59+00:00");
    ASSERT_FALSE(zero.isNil());
    EXPECT_EQ(fields(zero), "1999-12-31 23:59:59");
    EXPECT_EQ(offset(zero), 0);
}

TEST_F(DatesTest, TextsOutsideTheTwoPatternsGiveNil) {
    const char* rejected[] = {
        "",
        "2024-02-29T13:05:09.5Z",      // fraction: length 22
        "2024-02-29 13:05:09Z",        // blank instead of T
        "2024-02-29T13:05:09",         // no zone
        "2024-02-29T13:05:09+0230",    // offset without colon
        "2024-02-29T13:05:09*02:30",   // neither + nor -
        "2024-02-29T13:05:09+02:3x",   // letter for a digit
        "2024/02/29T13:05:09Z",
        "2024-02-29T13:05:09z",
        "2024-02-2913:05:09T+02:30",   // right length, T misplaced
    };
    for (const char* text : rejected) EXPECT_TRUE(parse(text).isNil()) << '"' << text << '"';
    EXPECT_EQ(ParseDateTimeFromISO8601(nullptr, 20), nullptr);
    // Only the given length counts: a longer buffer is not read past it.
    const char* longer = "2024-02-29T13:05:09Z and more";
    EXPECT_TRUE(Object(ParseDateTimeFromISO8601(longer, std::strlen(longer)), true).isNil());
    EXPECT_FALSE(Object(ParseDateTimeFromISO8601(longer, 20), true).isNil());
}

TEST_F(DatesTest, ADateTheHostRejectsBecomesTheFirstOf2019LocalTime) {
    Object local2019 = rt().makeDateTime(2019, 1, 1, 0, 0, 0);
    for (const char* text : {"2024-13-40T00:00:00Z", "2023-02-29T10:00:00+01:00",
                             "2024-01-01T25:00:00Z"}) {
        Object date = parse(text);
        ASSERT_FALSE(date.isNil()) << text;
        EXPECT_EQ(fields(date), "2019-01-01 00:00:00") << text;
        EXPECT_EQ(offset(date), offset(local2019)) << text;
    }
    // An offset no time zone has is refused by the TimeZone constructor.
    Object farAway = Object(CreateDateTime(2024, 2, 29, 13, 5, 9, true, 30 * 3600), true);
    ASSERT_FALSE(farAway.isNil());
    EXPECT_EQ(fields(farAway), "2019-01-01 00:00:00");
}

TEST_F(DatesTest, CreateDateTimeUsesTheLocalZoneWithoutOffsetAndYearOneForEarlierYears) {
    Object local = Object(CreateDateTime(2024, 7, 1, 8, 30, 0, false, 0), true);
    ASSERT_FALSE(local.isNil());
    EXPECT_EQ(fields(local), "2024-07-01 08:30:00");
    EXPECT_EQ(offset(local), offset(rt().makeDateTime(2024, 7, 1, 8, 30, 0)));

    for (int64_t year : {1, 0, -40}) {
        Object early = Object(CreateDateTime(year, 3, 4, 5, 6, 7, true, 0), true);
        ASSERT_FALSE(early.isNil()) << year;
        EXPECT_EQ(fields(early), "0001-03-04 05:06:07") << year;
    }
}

TEST_F(DatesTest, FormattingWritesTheOffsetOfTheDatesZone) {
    EXPECT_EQ(format(rt().makeDateTime(2024, 2, 29, 13, 5, 9, 3600)), "2024-02-29T13:05:09+01:00");
    EXPECT_EQ(format(rt().makeDateTime(2024, 2, 29, 13, 5, 9, -5 * 3600)),
              "2024-02-29T13:05:09-05:00");
    EXPECT_EQ(format(rt().makeDateTime(2024, 2, 29, 13, 5, 9, 0)), "2024-02-29T13:05:09Z");
    EXPECT_EQ(format(rt().makeDateTime(2024, 2, 29, 13, 5, 9, -1800)), "2024-02-29T13:05:09-00:30");

    // Date only: midnight in UTC whatever the time and zone.
    EXPECT_EQ(format(rt().makeDateTime(2024, 2, 29, 13, 5, 9, 3600), true), "2024-02-29T00:00:00Z");
    EXPECT_EQ(format(rt().makeDateTime(2024, 2, 29, 23, 59, 59, -5 * 3600), true),
              "2024-02-29T00:00:00Z");

    char buffer[30] = "untouched";
    EXPECT_EQ(FormatDateTimeToISO8601(nullptr, buffer, sizeof buffer, false), 0);
    EXPECT_STREQ(buffer, "untouched");
}

TEST_F(DatesTest, ParsedTextFormatsBackToItself) {
    for (const char* text : {"2024-02-29T13:05:09Z", "2024-02-29T13:05:09+02:30",
                             "2024-02-29T13:05:09-02:30", "0001-01-01T00:00:00Z",
                             "2100-12-31T23:59:59+14:00"})
        EXPECT_EQ(format(parse(text)), text);
}

TEST_F(DatesTest, ComponentsFormatIntoTheBufferTheyAreGiven) {
    char buffer[30];
    EXPECT_EQ(FormatDateTimeComponentsTimeToISO8601(2024, 2, 29, 13, 5, 9, 9000, buffer,
                                                    sizeof buffer, false),
              25);
    EXPECT_STREQ(buffer, "2024-02-29T13:05:09+02:30");
    EXPECT_EQ(FormatDateTimeComponentsTimeToISO8601(2024, 2, 29, 13, 5, 9, -9000, buffer,
                                                    sizeof buffer, true),
              25);
    EXPECT_STREQ(buffer, "2024-02-29T00:00:00-02:30");

    // A short buffer holds a terminated prefix; the count says what it holds.
    char shortBuffer[11];
    EXPECT_EQ(FormatDateTimeComponentsTimeToISO8601(2024, 2, 29, 13, 5, 9, 0, shortBuffer,
                                                    sizeof shortBuffer, false),
              10);
    EXPECT_STREQ(shortBuffer, "2024-02-29");
    EXPECT_EQ(FormatDateTimeComponentsTimeToISO8601(2024, 2, 29, 13, 5, 9, 0, buffer, 0, false), 0);
}

// A host whose DateTime cannot be made gives nil and leaves nothing behind.
TEST(DatesOnABareHost, MissingHostPiecesGiveNil) {
    for (const char* missing : {"CreateInstance", "PluginCallFunctionWithExceptionHandler"}) {
        OwnHost host(Withholding({missing}));
        EXPECT_EQ(ParseDateTimeFromISO8601("2024-02-29T13:05:09Z", 20), nullptr) << missing;
    }
    {
        OwnHost host(Withholding({"Constructor(gmtOffsetInSeconds As Integer)"}));
        EXPECT_EQ(CreateDateTime(2024, 2, 29, 13, 5, 9, true, 0), nullptr);
        // The local zone needs no TimeZone constructor.
        Object local(CreateDateTime(2024, 2, 29, 13, 5, 9, false, 0), true);
        EXPECT_FALSE(local.isNil());
    }
}

namespace {

// A host out of memory the C++ way, as the runtime's instance maker is when
// its allocation fails: it throws bad_alloc for the class named here.
REALResolverProc gHostResolver = nullptr;
CreateInstanceProc gHostCreateInstance = nullptr;
REALclassRef gOutOfMemoryFor = nullptr;

REALobject CreateInstanceOutOfMemory(REALclassRef cls) {
    if (cls && cls == gOutOfMemoryFor) throw std::bad_alloc();
    return gHostCreateInstance(cls);
}

void* ResolveOutOfMemory(const char* name) {
    void* entry = gHostResolver(name);
    if (entry && std::strcmp(name, "CreateInstance") == 0) {
        gHostCreateInstance = reinterpret_cast<CreateInstanceProc>(entry);
        return reinterpret_cast<void*>(&CreateInstanceOutOfMemory);
    }
    return entry;
}

void OutOfMemoryPluginMain(REALResolverProc resolver) {
    gHostResolver = resolver;
    REALPluginMain(&ResolveOutOfMemory);
}

}  // namespace

// The time zone is made inside the host's exception handler: what is thrown
// there must not unwind through the handler, but be raised like anything
// else the construction raises, so the date falls back and nothing is left.
TEST(DatesOnAHostOutOfMemory, ATimeZoneThatCannotBeMadeGivesTheFallbackDate) {
    OwnHost host(vexrt::HostOptions{}, &OutOfMemoryPluginMain);
    gOutOfMemoryFor = REALGetClassRef("TimeZone");
    ASSERT_NE(gOutOfMemoryFor, nullptr);
    REALobject made = nullptr;
    EXPECT_NO_THROW(made = ParseDateTimeFromISO8601("2024-02-29T13:05:09+02:00", 25));
    gOutOfMemoryFor = nullptr;
    Object date(made, true);
    ASSERT_FALSE(date.isNil());
    vexrt::Runtime& rt = host.rt();
    EXPECT_EQ(rt.hostProperty(date, "Year").integer(), 2019);
    EXPECT_EQ(rt.hostProperty(date, "Month").integer(), 1);
    EXPECT_EQ(rt.hostProperty(date, "Day").integer(), 1);
    EXPECT_EQ(rt.hostProperty(date, "Hour").integer(), 0);
}
