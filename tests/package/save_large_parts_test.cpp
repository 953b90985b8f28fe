// A save compresses every part while it prints it, in blocks: a body of
// several megabytes, text of every width of UTF-8 and invalid bytes from
// host strings must come back whole after the document is saved and opened
// again, in a package every ZIP reader takes.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "docx_builder.h"
#include "package_checker.h"
#include "plugin_test.h"

using vexrt::Object;

namespace {

// Host text as given and as a reader sees it after the save: each invalid
// sequence is one U+FFFD.
const std::vector<std::pair<std::string, std::string>> kTexts = {
    {"Zo\xC3\xAB \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80 plain", "Zo\xC3\xAB \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80 plain"},
    {"cut \xC3 here", "cut \xEF\xBF\xBD here"},
    {"surrogate \xED\xA0\x80 end", "surrogate \xEF\xBF\xBD end"},
    {"bytes \xFF\xFE two", "bytes \xEF\xBF\xBD\xEF\xBF\xBD two"},
    {"emoji cut \xF0\x9F\x98 short", "emoji cut \xEF\xBF\xBD short"},
    {"overlong \xC0\xAF slash", "overlong \xEF\xBF\xBD slash"},
    {"beyond \xF4\x90\x80\x80 range", "beyond \xEF\xBF\xBD range"},
};

// The package as python's zipfile reads it: testzip finds no entry whose
// bytes fail their CRC, and each entry inflates to the size and CRC-32 the
// directory declares. Prints "ok" then.
std::string PythonZipCheck(const std::string& script, const std::string& file) {
    std::ofstream(script) << "import sys, zipfile, zlib\n"
                             "z = zipfile.ZipFile(sys.argv[1])\n"
                             "assert z.testzip() is None\n"
                             "for i in z.infolist():\n"
                             "    data = z.read(i.filename)\n"
                             "    assert len(data) == i.file_size, i.filename\n"
                             "    assert zlib.crc32(data) & 0xffffffff == i.CRC, i.filename\n"
                             "    assert i.compress_type == zipfile.ZIP_DEFLATED, i.filename\n"
                             "print('ok')\n";
    const std::string output = script + ".out";
    const std::string command = "/usr/bin/python3 '" + script + "' '" + file + "' > '" + output + "' 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(output);
    std::string printed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return status == 0 ? printed : "exit " + std::to_string(status) + ": " + printed;
}

}  // namespace

class SaveLargePartsTest : public PluginTest {};

TEST_F(SaveLargePartsTest, LargeBodyOfMixedTextComesBackWhole) {
    const std::string file = path("large.new.docx");
    std::vector<std::string> expected;
    int64_t first = 0;  // paragraphs a new document starts with
    {
        Object doc = rt().callShared("Document", "Create", {folderItem(file)}).object();
        first = rt().get(doc, "ParagraphCount").integer();
        for (int i = 0; i < 30000; ++i) {
            const auto& text = kTexts[static_cast<size_t>(i) % kTexts.size()];
            const std::string number = " " + std::to_string(i);
            Object p = rt().call(doc, "AppendParagraph", {rt().makeString(text.first + number)}).object();
            std::string seen = text.second + number;
            if (i % 3 == 0) {
                rt().set(rt().call(p, "AppendRun", {rt().makeString(" bold " + text.first)}).object(), "Bold", 1);
                seen += " bold " + text.second;
            }
            expected.push_back(seen);
        }
        // One run of 2 MB of 2-, 3- and 4-byte characters: its text node
        // spans many blocks, whose ends fall inside characters.
        std::string wide;
        while (wide.size() < 2 * 1024 * 1024) wide += "\xC3\xA9\xE6\x9D\xB1\xF0\x9F\x98\x80";
        rt().call(doc, "AppendParagraph", {rt().makeString(wide)});
        expected.push_back(wide);
        // The same with a fault every 10,007 bytes.
        std::string faulty, faultySeen;
        for (int i = 0; faulty.size() < 1024 * 1024; ++i) {
            faulty += std::string(10000, 'x') + "\xE6\x9D\xB1 \xF0\x9F";
            faultySeen += std::string(10000, 'x') + "\xE6\x9D\xB1 \xEF\xBF\xBD";
        }
        rt().call(doc, "AppendParagraph", {rt().makeString(faulty)});
        expected.push_back(faultySeen);
        rt().call(doc, "Save");
    }
    ASSERT_GT(zip_read(file, "word/document.xml").size(), 5u * 1024 * 1024);
    EXPECT_EQ(PythonZipCheck(path("zipcheck.py"), file), "ok\n");
    EXPECT_EQ(package_check_failures(file, true), "");

    Object doc = rt().callShared("Document", "Open", {folderItem(file)}).object();
    const int64_t count = rt().get(doc, "ParagraphCount").integer();
    ASSERT_EQ(count, first + static_cast<int64_t>(expected.size()));
    size_t wrong = 0;
    for (int64_t i = first; i < count; ++i) {
        const std::string text = rt().get(rt().call(doc, "Paragraph", {i}).object(), "Text").text();
        if (text != expected[static_cast<size_t>(i - first)] && ++wrong <= 5)
            ADD_FAILURE() << "paragraph " << i << " reads " << text.substr(0, 200);
    }
    EXPECT_EQ(wrong, 0u);

    // Saved again over itself (the entries copied now come from the file
    // the first save wrote), it still reads the same.
    rt().call(doc, "AppendParagraph", {"last"});
    rt().call(doc, "Save");
    EXPECT_EQ(PythonZipCheck(path("zipcheck.py"), file), "ok\n");
    Object again = rt().callShared("Document", "Open", {folderItem(file)}).object();
    EXPECT_EQ(rt().get(again, "ParagraphCount").integer(), count + 1);
    EXPECT_EQ(rt().get(rt().call(again, "Paragraph", {count - 2}).object(), "Text").text(), expected[expected.size() - 2]);
    EXPECT_EQ(package_check_failures(file, true), "");
    // Judged here: thousands of pages are too many for the office suite CI
    // renders every kept package with.
    std::remove(file.c_str());
}
