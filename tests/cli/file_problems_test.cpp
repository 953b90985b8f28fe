// What vexword says is wrong with a file it cannot open or save
// (cli/file_problems.h), judged on files made in the test's folder (those
// that are no package not named .docx: CI judges every .docx under
// build/out).
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "file_problems.h"

namespace {

using cli::FileProblem_Describe;
using cli::FileUse;

class FileProblemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::path(VEXWORD_OUT_DIR) / "cli" / "file-problems";
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    // An OLE compound file's header and directory entries of the names.
    static std::string Ole(const std::vector<std::string>& names) {
        std::string bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        bytes.resize(512, '\0');
        for (const std::string& name : names) {
            std::string entry;
            for (char c : name) entry += std::string(1, c) + '\0';
            entry.resize(128, '\0');
            bytes += entry;
        }
        return bytes;
    }
    std::filesystem::path folder_;
};

TEST_F(FileProblemsTest, ReadingSaysWhatTheFileIs) {
    std::filesystem::create_directories(path("folder.docx"));
    EXPECT_EQ(FileProblem_Describe(path("folder.docx"), FileUse::Read), "is a directory");
    EXPECT_EQ(FileProblem_Describe(path("missing.docx"), FileUse::Read), "does not exist");
    EXPECT_EQ(FileProblem_Describe(Write("empty.not-a-docx", ""), FileUse::Read), "is empty");
    EXPECT_EQ(FileProblem_Describe(Write("text.not-a-docx", "Dear Ada,\n"), FileUse::Read),
              "is not a .docx package (no ZIP directory)");
    EXPECT_EQ(FileProblem_Describe(Write("cut.not-a-docx", std::string("PK\x03\x04", 4) + std::string(500, 'x')),
                                   FileUse::Read),
              "is not a whole .docx package (a ZIP archive cut short: no ZIP directory at its end)");
    EXPECT_EQ(FileProblem_Describe(Write("locked.not-a-docx", Ole({"Root Entry", "EncryptionInfo", "EncryptedPackage"})),
                                   FileUse::Read),
              "is encrypted (password-protected); save it without a password first");
    EXPECT_EQ(FileProblem_Describe(Write("old.not-a-docx", Ole({"Root Entry", "WordDocument"})), FileUse::Read),
              "is an OLE compound file (a Word 97-2003 .doc?), not a .docx package; save it as .docx first");
    // An archive with its directory: nothing the tool can tell.
    EXPECT_EQ(FileProblem_Describe(Write("zip.not-a-docx", std::string("PK\x05\x06", 4) + std::string(18, '\0')),
                                   FileUse::Read),
              "");
    std::filesystem::create_symlink("nowhere.docx", path("dangling.docx"));
    EXPECT_EQ(FileProblem_Describe(path("dangling.docx"), FileUse::Read), "is a symbolic link to nothing");
    EXPECT_EQ(FileProblem_Describe(path("text.not-a-docx/inner.docx"), FileUse::Read),
              "does not exist (a part of its path is a file, not a folder)");
    ASSERT_EQ(::mkfifo(path("fifo.docx").c_str(), 0644), 0);
    EXPECT_EQ(FileProblem_Describe(path("fifo.docx"), FileUse::Read), "is a FIFO (named pipe), not a .docx file");
}

TEST_F(FileProblemsTest, WritingSaysWhatIsWrongWithTheFolder) {
    EXPECT_EQ(FileProblem_Describe(path("no-folder/out.docx"), FileUse::Write), "folder does not exist");
    Write("file", "x");
    EXPECT_EQ(FileProblem_Describe(path("file/out.docx"), FileUse::Write),
              "folder is a file, not a folder");
    std::filesystem::create_directories(path("out.docx"));
    EXPECT_EQ(FileProblem_Describe(path("out.docx"), FileUse::Write), "is a directory, not a regular file");
    EXPECT_EQ(FileProblem_Describe(path("new.docx"), FileUse::Write), "");
    EXPECT_EQ(FileProblem_Describe("relative-new.docx", FileUse::Write), "");
}

}  // namespace
