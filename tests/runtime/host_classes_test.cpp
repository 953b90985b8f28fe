// The host's own classes: DateTime and TimeZone, FolderItem with its
// temporary files, and object arrays, reached from C++ and from plug-in code.
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "toy_test.h"

using vexrt::HostException;
using vexrt::HostOptions;
using vexrt::Object;
using vexrt::UsageError;
using vexrt::Value;

namespace {

// Sets the process's time zone for the life of the object.
class LocalZone {
public:
    explicit LocalZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) saved_ = old, hadOne_ = true;
        ::setenv("TZ", tz, 1);
        ::tzset();
    }
    ~LocalZone() {
        if (hadOne_)
            ::setenv("TZ", saved_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
private:
    std::string saved_;
    bool hadOne_ = false;
};

}  // namespace

TEST_F(ToyTest, ADateTimeKeepsItsFieldsAndTimeZone) {
    Object d = rt().makeDateTime(2024, 2, 29, 13, 5, 9, 9000);
    EXPECT_EQ(rt().className(d), "DateTime");
    const std::pair<const char*, int64_t> fields[] = {{"Year", 2024}, {"Month", 2}, {"Day", 29},
                                                      {"Hour", 13},   {"Minute", 5}, {"Second", 9},
                                                      {"Nanosecond", 0}};
    for (const auto& [name, value] : fields) EXPECT_EQ(rt().hostProperty(d, name).integer(), value) << name;
    Object zone = rt().hostProperty(d, "Timezone").object();
    EXPECT_EQ(rt().hostProperty(zone, "SecondsFromGMT").integer(), 9000);
    // 2024-02-29 13:05:09 at +02:30 is 10:35:09 UTC.
    EXPECT_EQ(rt().get(d, "SecondsFrom1970").number(), 1709202909.0);
}

TEST_F(ToyTest, TheConstructorRejectsDatesThatDoNotExist) {
    struct Case {
        int64_t y, mo, d, h, mi, s;
    };
    for (const Case& c : {Case{2024, 13, 40, 0, 0, 0}, Case{2024, 2, 30, 0, 0, 0}, Case{2023, 2, 29, 0, 0, 0},
                          Case{1900, 2, 29, 0, 0, 0}, Case{2024, 1, 1, 24, 0, 0}, Case{2024, 1, 1, 0, 60, 0},
                          Case{2024, 1, 1, 0, 0, 60}, Case{0, 1, 1, 0, 0, 0}, Case{2024, 0, 1, 0, 0, 0}}) {
        EXPECT_EQ(raised([&] { rt().makeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s, 0); }).className(),
                  "InvalidArgumentException")
            << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s;
    }
    EXPECT_NO_THROW(rt().makeDateTime(2000, 2, 29, 23, 59, 59, 0));
    EXPECT_NO_THROW(rt().makeDateTime(1, 1, 1, 0, 0, 0));
    EXPECT_THROW(rt().makeTimeZone(19 * 3600), HostException);
}

TEST_F(ToyTest, PlugInCodeMakesDatesThroughTheHandler) {
    Object s = shape("s");
    Object d = rt().call(s, "MakeDate", {2024, 2, 29, -9000, true}).object();
    ASSERT_FALSE(d.isNil());
    EXPECT_EQ(rt().call(s, "ZoneOffset", {d}).integer(), -9000);
    EXPECT_EQ(rt().hostProperty(d, "Hour").integer(), 13);
    // The host's rejection is caught by the plug-in's handler: nil, no exception.
    EXPECT_TRUE(rt().call(s, "MakeDate", {2024, 13, 40, 0, true}).isNil());
}

TEST_F(ToyTest, ALocalDateTakesTheLocalOffsetOfItsMoment) {
    LocalZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    Object winter = rt().makeDateTime(2024, 1, 15, 12, 0, 0);
    Object summer = rt().makeDateTime(2024, 7, 15, 12, 0, 0);
    Object s = shape("s");
    EXPECT_EQ(rt().call(s, "ZoneOffset", {winter}).integer(), 3600);
    EXPECT_EQ(rt().call(s, "ZoneOffset", {summer}).integer(), 7200);
    EXPECT_EQ(rt().localOffsetSeconds(1721044800), 7200);  // 2024-07-15 12:00 UTC
    Object local = rt().call(s, "MakeDate", {2024, 1, 15, 0, false}).object();
    EXPECT_EQ(rt().call(s, "ZoneOffset", {local}).integer(), 3600);
}

TEST_F(ToyTest, ToStringWritesEnglishDatesAndTimes) {
    Object d = rt().makeDateTime(2024, 2, 29, 13, 5, 9, 3600);
    auto text = [&](int dateStyle, int timeStyle) {
        return rt().call(d, "ToString", {dateStyle, timeStyle}).text();
    };
    enum { Short, Medium, Long, Full, None };
    EXPECT_EQ(text(Short, None), "2/29/24");
    EXPECT_EQ(text(Medium, None), "Feb 29, 2024");
    EXPECT_EQ(text(Long, None), "February 29, 2024");
    EXPECT_EQ(text(Full, None), "Thursday, February 29, 2024");
    EXPECT_EQ(text(None, Short), "1:05 PM");
    EXPECT_EQ(text(None, Medium), "1:05:09 PM");
    EXPECT_EQ(text(None, Long), "1:05:09 PM GMT+1");
    EXPECT_EQ(text(None, Full), "1:05:09 PM GMT+01:00");
    EXPECT_EQ(text(Medium, Short), "Feb 29, 2024 1:05 PM");
    EXPECT_EQ(text(None, None), "");
    EXPECT_THROW(text(7, None), HostException);

    Object midnight = rt().makeDateTime(1999, 12, 31, 0, 0, 0, -9000);
    EXPECT_EQ(rt().call(midnight, "ToString", {Full, Long}).text(), "Friday, December 31, 1999 12:00:00 AM GMT-2:30");
}

TEST_F(ToyTest, AFolderItemAsksTheFileSystemEachTime) {
    const std::string file = path("note.txt");
    Object f = folderItem(file);
    Object s = shape("s");
    EXPECT_EQ(rt().get(f, "NativePath").text(), file);
    EXPECT_FALSE(rt().get(f, "Exists").boolean());
    EXPECT_EQ(rt().call(s, "FileInfo", {f}).text(), file + "|0");
    std::ofstream(file) << "x";
    EXPECT_TRUE(rt().get(f, "Exists").boolean());
    EXPECT_EQ(rt().call(s, "FileInfo", {f}).text(), file + "|1");
}

TEST_F(ToyTest, TemporaryFilesAreNewPathsInTheTemporaryFolder) {
    HostOptions options;
    options.temporaryFolder = path("missing") + "/";
    auto own = ToyRuntime(options);
    Object s = own->callShared("Shape", "Make", {"s"}).object();
    std::set<std::string> paths;
    for (bool shared : {true, false, true}) {
        Object f = own->call(s, "Temporary", {shared}).object();
        ASSERT_FALSE(f.isNil());
        const std::string p = own->get(f, "NativePath").text();
        EXPECT_EQ(p.rfind(path("missing/vexrt-"), 0), 0u) << p;
        EXPECT_FALSE(own->get(f, "Exists").boolean());
        paths.insert(p);
    }
    EXPECT_EQ(paths.size(), 3u);
}

TEST_F(ToyTest, ArraysHoldTheirItems) {
    const size_t before = rt().liveObjects();
    Object s = shape("s");
    {
        Object children = rt().call(s, "Children", {3}).object();
        EXPECT_EQ(rt().className(children), "Object()");
        ASSERT_EQ(rt().arrayCount(children), 3u);
        EXPECT_EQ(rt().get(children, "Count").integer(), 3);
        // Each child went in at the front.
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(rt().get(rt().arrayItem(children, i), "Name").text(), std::to_string(2 - i));
        EXPECT_THROW(rt().arrayItem(children, 3), UsageError);
        EXPECT_THROW(rt().arrayCount(s), UsageError);
        EXPECT_EQ(rt().liveObjects(), before + 5);
    }
    EXPECT_EQ(rt().liveObjects(), before + 1);

    Object empty = rt().call(s, "Slots", {-1, 0}).object();
    ASSERT_EQ(rt().arrayCount(empty), 1u);
    EXPECT_TRUE(rt().arrayItem(empty, 0).isNil());
    EXPECT_EQ(rt().arrayCount(rt().call(s, "Slots", {2, 1}).object()), 4u);
    // Inserting past the end is refused.
    EXPECT_EQ(raised([&] { rt().call(s, "Slots", {1, 3}); }).className(), "OutOfBoundsException");
}
