// The archive layer: writing takes effect at close, and a failed close is a
// failed write.
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zip.h>

#include "package/archive.h"
#include "package/deflate_stream.h"
#include "package_files.h"
#include "raw_zip.h"

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

// Entries compressed by the caller go into the archive byte for byte, with
// the CRC and size they came with: libzip does not compress them again.
TEST(Archive, DeflatedEntriesAreStoredAsTheyCame) {
    std::string folder = TestFolder();
    std::string text;
    for (int i = 0; text.size() < 200000; ++i) text += "<w:p>paragraph " + std::to_string(i) + "</w:p>";
    Zip::DeflateStream deflate;
    ASSERT_TRUE(Zip::DeflateStream_Begin(deflate, 6));
    ASSERT_TRUE(Zip::DeflateStream_Take(deflate, text.data(), text.size()));
    ASSERT_TRUE(Zip::DeflateStream_End(deflate));
    const std::string deflated = deflate.deflated;
    Zip::DeflateStream nothing;
    ASSERT_TRUE(Zip::DeflateStream_Begin(nothing, 6) && Zip::DeflateStream_End(nothing));

    const std::string path = folder + "deflated.zip";
    Zip::Archive* out = Zip::zip_open(path.c_str(), 6, 'w');
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(Zip::zip_entry_write_deflated(out, "part.xml", std::move(deflate.deflated), deflate.crc, deflate.size), 0);
    ASSERT_EQ(Zip::zip_entry_write_deflated(out, "empty.xml", std::string(nothing.deflated), nothing.crc, 0), 0);
    ASSERT_EQ(Zip::zip_close(out), 0);

    const std::vector<raw_zip::Entry> entries = raw_zip::Read(ReadFile(path));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "part.xml");
    EXPECT_EQ(entries[0].method, 8);
    EXPECT_TRUE(entries[0].data == deflated);
    EXPECT_EQ(entries[0].crc, raw_zip::Crc32(text));
    EXPECT_EQ(entries[0].size, text.size());
    EXPECT_EQ(entries[1].data, nothing.deflated);
    Zip::Archive* in = Zip::zip_open(path.c_str(), 6, 'r');
    ASSERT_NE(in, nullptr);
    std::string read;
    ASSERT_EQ(Zip::zip_entry_open(in, "part.xml"), 0);
    EXPECT_EQ(Zip::zip_entry_read(in, read), static_cast<ssize_t>(text.size()));
    EXPECT_TRUE(read == text);
    Zip::zip_entry_close(in);
    ASSERT_EQ(Zip::zip_entry_open(in, "empty.xml"), 0);
    EXPECT_EQ(Zip::zip_entry_read(in, read), 0);
    Zip::zip_entry_close(in);
    EXPECT_EQ(Zip::zip_entry_check(in, 0, true), 0);
    EXPECT_EQ(Zip::zip_entry_check(in, 1, true), 0);
    EXPECT_EQ(Zip::zip_close(in), 0);

    // The CRC recorded is the one given: a wrong one makes the entry
    // unreadable, as readers check it.
    const std::string wrongPath = folder + "wrong-crc.zip";
    out = Zip::zip_open(wrongPath.c_str(), 6, 'w');
    ASSERT_EQ(Zip::zip_entry_write_deflated(out, "part.xml", std::string(deflated), raw_zip::Crc32(text) ^ 1,
                                            text.size()), 0);
    ASSERT_EQ(Zip::zip_close(out), 0);
    in = Zip::zip_open(wrongPath.c_str(), 6, 'r');
    ASSERT_NE(in, nullptr);
    ASSERT_EQ(Zip::zip_entry_open(in, "part.xml"), 0);
    EXPECT_EQ(Zip::zip_entry_read(in, read), -1);
    Zip::zip_entry_close(in);
    EXPECT_NE(Zip::zip_entry_check(in, 0, true), 0);
    Zip::zip_close(in);
    std::filesystem::rename(wrongPath, folder + "wrong-crc.bin");

    // A name given twice, or an entry still open, fails the archive.
    out = Zip::zip_open((folder + "twice.zip").c_str(), 6, 'w');
    ASSERT_EQ(Zip::zip_entry_write_deflated(out, "a.xml", std::string(nothing.deflated), nothing.crc, 0), 0);
    EXPECT_NE(Zip::zip_entry_write_deflated(out, "a.xml", std::string(nothing.deflated), nothing.crc, 0), 0);
    ASSERT_EQ(Zip::zip_entry_open(out, "b.xml"), 0);
    EXPECT_NE(Zip::zip_entry_write_deflated(out, "c.xml", std::string(nothing.deflated), nothing.crc, 0), 0);
    EXPECT_NE(Zip::zip_close(out), 0);
    EXPECT_FALSE(std::filesystem::exists(folder + "twice.zip"));

    // In memory, as a save makes it, beside an entry compressed at the
    // close and one copied from another archive.
    Zip::Archive* from = Zip::zip_open(path.c_str(), 6, 'r');
    ASSERT_NE(from, nullptr);
    out = Zip::zip_open_memory(6);
    ASSERT_EQ(Zip::zip_entry_write_deflated(out, "part.xml", std::string(deflated), raw_zip::Crc32(text), text.size()), 0);
    ASSERT_EQ(Zip::zip_entry_open(out, "plain.txt"), 0);
    ASSERT_EQ(Zip::zip_entry_write(out, std::string(5000, 'y')), 0);
    ASSERT_EQ(Zip::zip_entry_close(out), 0);
    ASSERT_EQ(Zip::zip_entry_copy(out, from, 1), 0);
    std::string bytes = "stale";
    ASSERT_EQ(Zip::zip_close_bytes(out, bytes), 0);
    Zip::zip_close(from);
    const std::vector<raw_zip::Entry> made = raw_zip::Read(bytes);
    ASSERT_EQ(made.size(), 3u);
    EXPECT_TRUE(made[0].data == deflated);
    EXPECT_EQ(made[2].name, "empty.xml");
    EXPECT_EQ(made[2].data, nothing.deflated);
    in = Zip::zip_open_bytes(bytes);
    ASSERT_NE(in, nullptr);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Zip::zip_entry_check(in, i, true), 0) << i;
    ASSERT_EQ(Zip::zip_entry_open(in, "plain.txt"), 0);
    EXPECT_EQ(Zip::zip_entry_read(in, read), 5000);
    EXPECT_EQ(read, std::string(5000, 'y'));
    Zip::zip_entry_close(in);
    Zip::zip_close(in);
    WriteFile(folder + "memory.zip", bytes);

    // A memory archive that fails gives no bytes.
    out = Zip::zip_open_memory(6);
    ASSERT_EQ(Zip::zip_entry_open(out, "open.txt"), 0);
    EXPECT_NE(Zip::zip_close_bytes(out, bytes), 0);
    EXPECT_EQ(bytes, "");
}
