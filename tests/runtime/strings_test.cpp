// Host strings: encodings and conversion to UTF-8, the framework's string
// functions, and the records PluginGetStringData hands out.
#include "entries.h"
#include "toy_test.h"

using vexrt::Object;
using vexrt::RuntimeAccess;
using vexrt::String;
using vexrt::Value;
using vexrt::detail::Activation;

TEST_F(ToyTest, TextConvertsToUTF8UnlessItsEncodingCannot) {
    Object s = shape("s");
    EXPECT_EQ(rt().call(s, "Utf8Length", {"Grüße"}).integer(), 7);
    EXPECT_EQ(rt().call(s, "Utf8Length", {rt().makeString("raw", kREALTextEncodingNone)}).integer(), 3);
    EXPECT_EQ(rt().call(s, "Utf8Length", {Value()}).integer(), 0);  // nil is the empty text
    EXPECT_EQ(rt().call(s, "Utf8Length", {rt().makeString("abc", kREALTextEncodingUnconvertible)}).integer(), -1);
}

TEST_F(ToyTest, ByteLengthAndBytesAgree) {
    Object s = shape("s");
    EXPECT_EQ(rt().call(s, "RawLength", {"Grüße"}).integer(), 7);
    EXPECT_EQ(rt().call(s, "RawLength", {rt().makeString("abc", kREALTextEncodingUnconvertible)}).integer(), 3);
    EXPECT_EQ(rt().call(s, "RawLength", {Value()}).integer(), 0);
}

TEST_F(ToyTest, ReplaceAllAndConcatenationKeepTheEncoding) {
    Object s = shape("s");
    EXPECT_EQ(rt().call(s, "Replace", {"a-b--c", "-", "+"}).text(), "a+b++c");
    EXPECT_EQ(rt().call(s, "Replace", {"abc", "", "x"}).text(), "abc");
    EXPECT_EQ(rt().call(s, "Replace", {"«x»", "x", "ÿ"}).text(), "«ÿ»");
    EXPECT_TRUE(rt().call(s, "Replace", {Value(), "a", "b"}).string().bytes().empty());

    String joined = rt().call(s, "Join", {"ab", "cd"}).string();
    EXPECT_EQ(joined.bytes(), "abcd");
    EXPECT_EQ(joined.encoding(), kREALTextEncodingUTF8);
    String raw = rt().makeString("\x01\x02", kREALTextEncodingNone);
    EXPECT_EQ(rt().call(s, "Join", {raw, raw}).string().encoding(), kREALTextEncodingNone);
    EXPECT_EQ(rt().call(s, "Join", {raw, "x"}).string().encoding(), kREALTextEncodingUTF8);
    String legacy = rt().makeString("l", kREALTextEncodingUnconvertible);
    EXPECT_EQ(rt().call(s, "Join", {"x", legacy}).string().encoding(), kREALTextEncodingUnconvertible);
    EXPECT_EQ(rt().call(s, "Join", {Value(), "b"}).text(), "b");
}

TEST_F(ToyTest, StringDataRecordsMustBeGivenBack) {
    Activation active(RuntimeAccess::impl(rt()));
    String s = rt().makeString("text");
    REALstringData data{};
    ASSERT_TRUE(vexrt::detail::Entry_GetStringData(s.get(), kREALTextEncodingUTF8, &data));
    EXPECT_EQ(std::string(static_cast<const char*>(data.data), data.length), "text");
    EXPECT_EQ(rt().openStringData(), 1u);
    REALstringData copy = data;
    vexrt::detail::Entry_DisposeStringData(&data);
    EXPECT_EQ(rt().openStringData(), 0u);
    vexrt::detail::Entry_DisposeStringData(&copy);
    EXPECT_EQ(rt().takeFaults().size(), 1u);

    // A failed conversion hands out nothing.
    String legacy = rt().makeString("l", kREALTextEncodingUnconvertible);
    EXPECT_FALSE(vexrt::detail::Entry_GetStringData(legacy.get(), kREALTextEncodingUTF8, &data));
    EXPECT_EQ(rt().openStringData(), 0u);
}

TEST_F(ToyTest, StringHandlesCountTheirCopies) {
    const size_t before = rt().liveStrings();
    String a = rt().makeString("abc");
    String b = a;
    String c = std::move(b);
    EXPECT_TRUE(b.isNil());
    EXPECT_EQ(rt().liveStrings(), before + 1);
    EXPECT_EQ(c.bytes(), "abc");
    EXPECT_EQ(Value(c).text(), "abc");
    a = String();
    EXPECT_EQ(rt().liveStrings(), before + 1);
    c = String();
    EXPECT_EQ(rt().liveStrings(), before);
    EXPECT_EQ(String().bytes(), "");
}
