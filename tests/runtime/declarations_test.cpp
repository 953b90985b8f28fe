// Declarations, enumeration entries and constants read the way the host
// reads them: blanks and case do not matter, the structure does.
#include <gtest/gtest.h>

#include "declarations.h"

using namespace vexrt;
using namespace vexrt::detail;

namespace {

MethodInfo Parse(const std::string& declaration) {
    MethodInfo m;
    std::string error;
    EXPECT_TRUE(Declaration_ParseMethod(declaration, m, error)) << declaration << ": " << error;
    return m;
}

bool Rejects(const std::string& declaration) {
    MethodInfo m;
    std::string error;
    bool parsed = Declaration_ParseMethod(declaration, m, error);
    return !parsed && !error.empty();
}

}  // namespace

TEST(Declarations, NormalFormIgnoresBlanksAndCase) {
    EXPECT_EQ(Declaration_Normalise("LenB( s as string ) as integer"), "lenb(s as string) as integer");
    EXPECT_EQ(Declaration_Normalise("LenB(s As String) As Integer"), "lenb(s as string) as integer");
    EXPECT_EQ(Declaration_Normalise("  Open( f  as FolderItem )  AS  VexlomarWord . Document "),
              "open(f as folderitem) as vexlomarword.document");
    EXPECT_EQ(Declaration_Normalise("Resize( width As Double,visible as Boolean )"),
              Declaration_Normalise("Resize(width as Double, visible as Boolean)"));
    // Words stay apart: "ab" is no "a b".
    EXPECT_NE(Declaration_Normalise("F(a b as Integer)"), Declaration_Normalise("F(ab as Integer)"));
}

TEST(Declarations, MethodsWithParametersAndResults) {
    MethodInfo open = Parse("Open(f as FolderItem) as VexlomarWord.Document");
    EXPECT_EQ(open.name, "Open");
    ASSERT_EQ(open.params.size(), 1u);
    EXPECT_EQ(open.params[0].name, "f");
    EXPECT_EQ(open.params[0].type, "FolderItem");
    EXPECT_EQ(open.returnType, "VexlomarWord.Document");

    MethodInfo lenB = Parse("LenB( s as string ) as integer");
    EXPECT_EQ(lenB.name, "LenB");
    ASSERT_EQ(lenB.params.size(), 1u);
    EXPECT_EQ(lenB.params[0].type, "string");
    EXPECT_EQ(lenB.returnType, "integer");

    MethodInfo saveAs = Parse("SaveAs(f as FolderItem)");
    EXPECT_EQ(saveAs.returnType, "");

    MethodInfo none = Parse("Constructor()");
    EXPECT_TRUE(none.params.empty());
    EXPECT_EQ(none.declaration, "Constructor()");
}

TEST(Declarations, ArraysModifiersAndDefaults) {
    EXPECT_EQ(Parse("GetBookmarks() as VexlomarWord.Bookmark()").returnType, "VexlomarWord.Bookmark()");
    EXPECT_EQ(Parse("Items() As VexlomarWord.Bookmark ( )").returnType, "VexlomarWord.Bookmark()");

    MethodInfo m = Parse("SetValues(ByRef items() As Integer, Optional count as Integer = 3, "
                         "Assigns value As String)");
    ASSERT_EQ(m.params.size(), 3u);
    EXPECT_EQ(m.params[0].name, "items");
    EXPECT_EQ(m.params[0].type, "Integer()");
    EXPECT_EQ(m.params[1].name, "count");
    EXPECT_EQ(m.params[1].type, "Integer");
    EXPECT_EQ(m.params[2].name, "value");
}

TEST(Declarations, DeclarationsWithoutParentheses) {
    EXPECT_EQ(Parse("Save").name, "Save");
    MethodInfo count = Parse("Count As Integer");
    EXPECT_EQ(count.name, "Count");
    EXPECT_EQ(count.returnType, "Integer");
}

TEST(Declarations, MalformedDeclarationsAreRejected) {
    EXPECT_TRUE(Rejects(""));
    EXPECT_TRUE(Rejects("(x as Integer)"));
    EXPECT_TRUE(Rejects("Foo(x)"));
    EXPECT_TRUE(Rejects("Foo(x as )"));
    EXPECT_TRUE(Rejects("Foo(x as Integer"));
    EXPECT_TRUE(Rejects("Foo() Integer"));
    EXPECT_TRUE(Rejects("Foo() as"));
    EXPECT_TRUE(Rejects("Foo(x as Integer,)"));
    EXPECT_TRUE(Rejects("Foo(1x as Integer)"));
}

TEST(Declarations, EnumerationEntries) {
    struct Case {
        const char* entry;
        const char* name;
        int64_t value;
    };
    const Case cases[] = {
        {"NAME= 0", "NAME", 0},         {"NextPage  = 4", "NextPage", 4},
        {"None = -1", "None", -1},      {"Caps = 1", "Caps", 1},
        {"Mask = &h1F", "Mask", 31},    {"  Spaced  =  +7 ", "Spaced", 7},
        {"Bare", "Bare", 9},  // takes the next value
    };
    for (const Case& c : cases) {
        std::string name, error;
        int64_t value = 0;
        ASSERT_TRUE(Declaration_ParseEnumEntry(c.entry, 9, name, value, error)) << c.entry << ": " << error;
        EXPECT_EQ(name, c.name) << c.entry;
        EXPECT_EQ(value, c.value) << c.entry;
    }
    for (const char* bad : {"X = y", "= 3", "X = 1 2", "X = ", "X = --1"}) {
        std::string name, error;
        int64_t value = 0;
        EXPECT_FALSE(Declaration_ParseEnumEntry(bad, 0, name, value, error)) << bad;
    }
}

TEST(Declarations, Constants) {
    ConstantInfo c;
    std::string error;
    ASSERT_TRUE(Declaration_ParseConstant("Version = 4.62", c, error)) << error;
    EXPECT_EQ(c.name, "Version");
    EXPECT_EQ(c.value, "4.62");
    ASSERT_TRUE(Declaration_ParseConstant("ConditionalFormatApplyFirstRow=32", c, error)) << error;
    EXPECT_EQ(c.name, "ConditionalFormatApplyFirstRow");
    EXPECT_EQ(c.value, "32");
    EXPECT_EQ(c.declaration, "ConditionalFormatApplyFirstRow=32");
    ASSERT_TRUE(Declaration_ParseConstant("Limit As Integer = 3", c, error)) << error;
    EXPECT_EQ(c.name, "Limit");
    EXPECT_EQ(c.value, "3");
    EXPECT_FALSE(Declaration_ParseConstant("NoValue", c, error));
    EXPECT_FALSE(Declaration_ParseConstant("Two Words = 1", c, error));
}
