#include "package_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <zip.h>

#include "package/blank_package.h"

namespace fs = std::filesystem;

namespace package_files {

std::string TestFolder() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    fs::path folder = fs::path(VEXWORD_OUT_DIR) / "package" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string() + "/";
}

namespace {

Entries ReadArchive(zip_t* zip) {
    Entries entries;
    zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st);
        std::string bytes(st.size, '\0');
        zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        EXPECT_NE(file, nullptr) << st.name;
        if (!file) continue;
        EXPECT_EQ(zip_fread(file, &bytes[0], st.size), static_cast<zip_int64_t>(st.size));
        zip_fclose(file);
        entries.emplace_back(st.name, bytes);
    }
    return entries;
}

}  // namespace

Entries BlankEntries() {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(BlankPackage, BlankPackageSize, 0, &error);
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    EXPECT_NE(zip, nullptr);
    if (!zip) return {};
    Entries entries = ReadArchive(zip);
    zip_close(zip);
    return entries;
}

void WriteZip(const std::string& path, const Entries& entries, bool stored) {
    fs::remove(path);
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr) << path;
    for (const auto& entry : entries) {
        zip_source_t* source =
            zip_source_buffer(zip, entry.second.data(), entry.second.size(), 0);
        zip_int64_t index = zip_file_add(zip, entry.first.c_str(), source, 0);
        ASSERT_GE(index, 0) << entry.first;
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index),
                                 stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    ASSERT_EQ(zip_close(zip), 0) << path;
}

Entries ReadZip(const std::string& path) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    EXPECT_NE(zip, nullptr) << path;
    if (!zip) return {};
    Entries entries = ReadArchive(zip);
    zip_close(zip);
    return entries;
}

std::vector<std::string> Names(const Entries& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.first);
    return names;
}

std::string Entry(const Entries& entries, const std::string& name) {
    for (const auto& entry : entries)
        if (entry.first == name) return entry.second;
    ADD_FAILURE() << "no entry " << name;
    return std::string();
}

void SetEntry(Entries& entries, const std::string& name, const std::string& bytes) {
    for (auto& entry : entries) {
        if (entry.first == name) {
            entry.second = bytes;
            return;
        }
    }
    entries.emplace_back(name, bytes);
}

void RemoveEntry(Entries& entries, const std::string& name) {
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const auto& entry) { return entry.first == name; }),
                  entries.end());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace package_files
