// The archive layer: writing takes effect at close, and a failed close is a
// failed write.
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <zip.h>

#include "package/archive.h"
#include "package_files.h"

using namespace package_files;

TEST(Archive, WritesAndReadsEntriesInOrder) {
    std::string path = TestFolder() + "entries.zip";
    std::time_t before = std::time(nullptr);
    Zip::Archive* out = Zip::zip_open(path.c_str(), 6, 'w');
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(Zip::zip_entry_open(out, "b.txt"), 0);
    EXPECT_EQ(Zip::zip_entry_open(out, "c.txt"), -1);  // one entry at a time
    EXPECT_EQ(Zip::zip_entry_write(out, "hello ", 6), 0);
    EXPECT_EQ(Zip::zip_entry_write(out, std::string("world")), 0);
    EXPECT_EQ(Zip::zip_entry_close(out), 0);
    ASSERT_EQ(Zip::zip_entry_open(out, "a/empty.txt"), 0);
    EXPECT_EQ(Zip::zip_entry_close(out), 0);
    EXPECT_TRUE(Zip::zip_entry_exists(out, "b.txt"));
    // An entry name is written once only.
    ASSERT_EQ(Zip::zip_entry_open(out, "b.txt"), 0);
    EXPECT_NE(Zip::zip_entry_close(out), 0);
    EXPECT_NE(Zip::zip_close(out), 0);
    EXPECT_FALSE(std::filesystem::exists(path));

    out = Zip::zip_open(path.c_str(), 6, 'w');
    ASSERT_EQ(Zip::zip_entry_open(out, "b.txt"), 0);
    Zip::zip_entry_write(out, std::string(10000, 'x'));
    Zip::zip_entry_close(out);
    ASSERT_EQ(Zip::zip_entry_open(out, "a/empty.txt"), 0);
    Zip::zip_entry_close(out);
    ASSERT_EQ(Zip::zip_close(out), 0);
    EXPECT_LT(ReadFile(path).size(), 1000u);  // deflated

    Zip::Archive* in = Zip::zip_open(path.c_str(), 6, 'r');
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(Zip::zip_total_entries(in), 2);
    ASSERT_EQ(Zip::zip_entry_openbyindex(in, 0), 0);
    EXPECT_STREQ(Zip::zip_entry_name(in), "b.txt");
    void* data = nullptr;
    size_t size = 0;
    EXPECT_EQ(Zip::zip_entry_read(in, &data, &size), 10000);
    EXPECT_EQ(size, 10000u);
    EXPECT_EQ(std::string(static_cast<char*>(data), size), std::string(10000, 'x'));
    EXPECT_EQ(static_cast<char*>(data)[size], '\0');
    std::free(data);
    EXPECT_EQ(Zip::zip_entry_close(in), 0);
    ASSERT_EQ(Zip::zip_entry_open(in, "a/empty.txt"), 0);
    std::string empty = "not yet";
    EXPECT_EQ(Zip::zip_entry_read(in, empty), 0);
    EXPECT_EQ(empty, "");
    Zip::zip_entry_close(in);
    EXPECT_NE(Zip::zip_entry_open(in, "missing.txt"), 0);
    EXPECT_EQ(Zip::zip_entry_name(in), nullptr);
    EXPECT_NE(Zip::zip_entry_openbyindex(in, 2), 0);
    EXPECT_EQ(Zip::zip_close(in), 0);

    // Entries are dated when they are written (DOS times step by 2 s).
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(zip, nullptr);
    zip_stat_t st;
    ASSERT_EQ(zip_stat_index(zip, 0, 0, &st), 0);
    EXPECT_LE(std::abs(static_cast<long>(st.mtime - before)), 4L);
    zip_close(zip);
}

TEST(Archive, CloseThatCannotWriteFails) {
    std::string folder = TestFolder();
    Zip::Archive* out = Zip::zip_open((folder + "missing/x.zip").c_str(), 6, 'w');
    ASSERT_NE(out, nullptr);  // nothing touches the disk before the close
    ASSERT_EQ(Zip::zip_entry_open(out, "a.txt"), 0);
    Zip::zip_entry_write(out, "a", 1);
    Zip::zip_entry_close(out);
    EXPECT_NE(Zip::zip_close(out), 0);

    // An entry left open is an unfinished package: nothing is written.
    out = Zip::zip_open((folder + "open.zip").c_str(), 6, 'w');
    ASSERT_EQ(Zip::zip_entry_open(out, "a.txt"), 0);
    EXPECT_NE(Zip::zip_close(out), 0);
    EXPECT_TRUE(FolderContents(folder).empty());

    EXPECT_EQ(Zip::zip_open((folder + "absent.zip").c_str(), 6, 'r'), nullptr);
    EXPECT_EQ(Zip::zip_open((folder + "x.zip").c_str(), 6, 'x'), nullptr);
}
