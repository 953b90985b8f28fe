// Strings and FolderItems across the host border.
#include <fstream>
#include <string>

#include "host/bridge.h"
#include "host/files.h"
#include "host/strings.h"
#include "plugin_test.h"

using vexrt::Object;
using vexrt::String;

using ConversionsTest = LinkedTest;

TEST_F(ConversionsTest, HostTextReadsAsUTF8AndTextThatCannotBeConvertedIsRefused) {
    String greeting = rt().makeString("Gr\xC3\xBC\xC3\x9F" "e");
    std::string out = "old";
    ASSERT_TRUE(StringToUTF8(greeting.get(), out));
    EXPECT_EQ(out, "Gr\xC3\xBC\xC3\x9F" "e");

    ASSERT_TRUE(StringToUTF8(nullptr, out));
    EXPECT_EQ(out, "");

    String legacy = rt().makeString("abc", kREALTextEncodingUnconvertible);
    out = "kept";
    EXPECT_FALSE(StringToUTF8(legacy.get(), out));
    EXPECT_EQ(out, "kept");
}

TEST_F(ConversionsTest, BuiltStringsCarryEveryByteAndTheirEncoding) {
    const std::string withNul("a\0b", 3);
    String text(UTF8ToString(withNul), true);
    EXPECT_EQ(text.bytes(), withNul);
    EXPECT_EQ(text.encoding(), kREALTextEncodingUTF8);

    String fromC(UTF8ToString("plain"), true);
    EXPECT_EQ(fromC.bytes(), "plain");
    String fromNull(UTF8ToString(static_cast<const char*>(nullptr)), true);
    EXPECT_FALSE(fromNull.isNil());
    EXPECT_EQ(fromNull.bytes(), "");

    const std::string picture("\x89PNG\r\n\x1A\n\0\xFF", 10);
    String binary(BytesToString(picture), true);
    EXPECT_EQ(binary.bytes(), picture);
    EXPECT_EQ(binary.encoding(), kREALTextEncodingNone);

    String joined(REALAddStrings(text.get(), fromC.get()), true);
    EXPECT_EQ(joined.bytes(), withNul + "plain");
}

TEST_F(ConversionsTest, StringContentsGiveTheRawBytesAndTheirCount) {
    const std::string picture("\x89PNG\0\x01", 6);
    String binary = rt().makeString(picture, kREALTextEncodingNone);
    size_t length = 0;
    const char* bytes = REALGetStringContents(binary.get(), &length);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, length), picture);

    length = 77;
    EXPECT_EQ(REALGetStringContents(nullptr, &length), nullptr);
    EXPECT_EQ(length, 77u);
}

TEST_F(ConversionsTest, FolderItemsAnswerExistsAndNativePath) {
    const std::string existing = path("present.txt");
    std::ofstream(existing) << "x";
    Object present = folderItem(existing);
    Object absent = folderItem(path("absent.txt"));

    EXPECT_TRUE(FolderItemExists(present.get()));
    EXPECT_FALSE(FolderItemExists(absent.get()));
    EXPECT_FALSE(FolderItemExists(nullptr));

    std::string nativePath;
    ASSERT_TRUE(FolderItemNativePath(absent.get(), nativePath));
    EXPECT_EQ(nativePath, path("absent.txt"));
    // The path string is given back to the host: the fixture counts strings.
    nativePath = "kept";
    EXPECT_FALSE(FolderItemNativePath(nullptr, nativePath));
    EXPECT_EQ(nativePath, "kept");
}

TEST_F(ConversionsTest, LoadTimeFrameworkFunctionsWorkInsideTheRuntime) {
    ASSERT_NE(EReplaceAll, nullptr);
    String source = rt().makeString("{name} and {name}");
    String from = rt().makeString("{name}");
    String to = rt().makeString("Ada");
    String replaced(EReplaceAll(source.get(), from.get(), to.get()), true);
    EXPECT_EQ(replaced.bytes(), "Ada and Ada");

    ASSERT_NE(ETemporaryFile, nullptr);
    Object temporary(ETemporaryFile(), true);
    ASSERT_FALSE(temporary.isNil());
    EXPECT_EQ(rt().className(temporary), "FolderItem");
    std::string nativePath;
    EXPECT_TRUE(FolderItemNativePath(temporary.get(), nativePath));
    EXPECT_FALSE(nativePath.empty());
}
