// Entries deflated in pieces side by side must read back as one stream
// with the right checksum, through zlib and through an archive.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include <zip.h>
#include <zlib.h>

#include "deflated_entry.h"
#include "package/deflated_source.h"

namespace {

std::string Inflate(const std::string& compressed, size_t size) {
    std::string out(size + 1, '\0');
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    z.avail_in = static_cast<uInt>(compressed.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    return result == Z_STREAM_END ? out : "(the stream does not end: " + std::to_string(result) + ")";
}

// Text that compresses (repeats within the window) with bytes that do not.
std::string Sample(size_t size) {
    std::mt19937 random(7);
    std::string text;
    while (text.size() < size) {
        text += "<w:p><w:r><w:t>Line " + std::to_string(text.size()) + "</w:t></w:r></w:p>";
        text += static_cast<char>(random() & 0xff);
    }
    text.resize(size);
    return text;
}

TEST(DeflatedEntry, PiecesJoinIntoOneStreamOfTheSameBytes) {
    for (size_t size : {size_t(0), size_t(1), size_t(3), size_t(70000), size_t(3000001)})
        for (unsigned pieces : {1u, 2u, 3u, 4u}) {
            const std::string bytes = Sample(size);
            cli::DeflatedEntry entry;
            ASSERT_TRUE(cli::DeflatedEntry_Make(bytes, 6, pieces, entry));
            EXPECT_EQ(entry.size, bytes.size());
            EXPECT_EQ(entry.crc, crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()))
                << size << " bytes in " << pieces;
            EXPECT_TRUE(Inflate(entry.compressed, bytes.size()) == bytes) << size << " bytes in " << pieces;
        }
}

TEST(DeflatedEntry, JoinsCostLittleInSize) {
    const std::string bytes = Sample(4000000);
    cli::DeflatedEntry one, four;
    ASSERT_TRUE(cli::DeflatedEntry_Make(bytes, 6, 1, one));
    ASSERT_TRUE(cli::DeflatedEntry_Make(bytes, 6, 4, four));
    EXPECT_LT(four.compressed.size(), one.compressed.size() + one.compressed.size() / 100);
}

TEST(DeflatedEntry, AnArchiveStoresItAsGivenAndReadsItBack) {
    const std::string path = (std::filesystem::temp_directory_path() / "deflated-entry-test.zip.bin").string();
    std::filesystem::remove(path);
    const std::string bytes = Sample(2500000);
    cli::DeflatedEntry entry;
    ASSERT_TRUE(cli::DeflatedEntry_Make(bytes, 6, 2, entry));
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_EXCL, &error);
    ASSERT_NE(zip, nullptr);
    const size_t compressedSize = entry.compressed.size();
    zip_source_t* source = Zip::DeflatedSource_Make(zip, std::move(entry.compressed), entry.crc, entry.size);
    ASSERT_NE(source, nullptr);
    ASSERT_GE(zip_file_add(zip, "word/document.xml", source, ZIP_FL_ENC_UTF_8), 0);
    ASSERT_EQ(zip_close(zip), 0);

    zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    ASSERT_NE(zip, nullptr);
    zip_stat_t stat;
    ASSERT_EQ(zip_stat(zip, "word/document.xml", 0, &stat), 0);
    EXPECT_EQ(stat.comp_method, ZIP_CM_DEFLATE);
    EXPECT_EQ(stat.comp_size, compressedSize) << "compressed again";
    EXPECT_EQ(stat.size, bytes.size());
    std::string read(bytes.size() + 1, '\0');
    zip_file_t* file = zip_fopen(zip, "word/document.xml", 0);
    ASSERT_NE(file, nullptr);
    zip_int64_t got = 0, n;
    while ((n = zip_fread(file, &read[static_cast<size_t>(got)], read.size() - static_cast<size_t>(got))) > 0) got += n;
    EXPECT_EQ(n, 0) << "the checksum or the stream is wrong";
    zip_fclose(file);
    zip_close(zip);
    read.resize(static_cast<size_t>(got));
    EXPECT_TRUE(read == bytes);
    std::filesystem::remove(path);
}

}  // namespace
