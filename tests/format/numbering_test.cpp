// Lists through the host: the numbering part made on demand, the templates
// reused, a new instance per CreateListIndent, paragraphs put in lists, and
// the numbering parts of other tools added to without breaking them.
#include <algorithm>
#include <cstring>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "../content/paragraph_fixture.h"
#include "docx_builder.h"
#include "package_checker.h"

using vexrt::Object;

namespace {

enum { kBullet = 0, kDecimal = 1, kLowerLetter = 2, kLowerRoman = 4, kUnknown = 20 };

std::string Print(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// A numbering part as another tool writes it: declares only w (and mc, with
// nothing ignorable), a picture bullet, one numbered definition with
// "%1.%2." levels, two instances and the cleanup marker.
std::string ForeignNumbering(const std::string& rootAttributes = "") {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                       "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"") +
           rootAttributes +
           ">"
           "<w:numPicBullet w:numPicBulletId=\"0\"><w:pict/></w:numPicBullet>"
           "<w:abstractNum w:abstractNumId=\"7\"><w:multiLevelType w:val=\"multilevel\"/>"
           "<w:lvl w:ilvl=\"0\"><w:start w:val=\"3\"/><w:numFmt w:val=\"upperRoman\"/><w:lvlText w:val=\"%1.\"/>"
           "<w:lvlJc w:val=\"left\"/></w:lvl>"
           "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.%2.\"/>"
           "<w:lvlJc w:val=\"left\"/></w:lvl></w:abstractNum>"
           "<w:num w:numId=\"5\"><w:abstractNumId w:val=\"7\"/></w:num>"
           "<w:num w:numId=\"9\"><w:abstractNumId w:val=\"42\"/></w:num>"
           "<w:numIdMacAtCleanup w:val=\"3\"/>"
           "</w:numbering>";
}

class NumberingTest : public ParagraphFixture {
protected:
    Object CreateList(const Object& doc, bool bullets) { return Call(doc, "CreateListIndent", {bullets}); }
    void SetList(const Object& paragraph, const Object& list, int level) {
        rt().call(paragraph, "SetListIndent", {list, level});
    }

    // A saved part of a copy, parsed.
    void Part(const std::string& file, const std::string& entry, pugi::xml_document& into) {
        const std::string xml = zip_read(path(file), entry);
        ASSERT_TRUE(into.load_buffer(xml.data(), xml.size()));
    }
    pugi::xml_node Numbering(pugi::xml_document& part) { return part.child("w:numbering"); }

    // The checker's verdict on a file this test wrote; "" when it passed.
    std::string CheckerFailures(const std::string& file, bool strict) {
        return package_check_failures(path(file), strict);
    }
};

}  // namespace

// The first list of a blank document brings the part with it; later lists
// reuse the definition of their kind and each get an instance of their own.
TEST_F(NumberingTest, PartDefinitionsAndInstancesOnDemand) {
    Object doc = Create("lists.new.docx");
    Object bullets = CreateList(doc, true);
    ASSERT_TRUE(bullets);
    EXPECT_EQ(rt().className(bullets), "VexlomarWord.ListIndent");
    EXPECT_EQ(Int(bullets, "Level"), -1);
    EXPECT_TRUE(Bool(bullets, "IsAbstract"));
    EXPECT_EQ(Int(bullets, "Type"), kUnknown);
    Object moreBullets = CreateList(doc, true);
    Object numbers = CreateList(doc, false);
    SaveCopy(doc, "lists-copy.new.docx");

    const std::string rels = zip_read(path("lists-copy.new.docx"), "word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("Id=\"rId6\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                        "numbering\" Target=\"numbering.xml\""),
              std::string::npos)
        << rels;
    const std::string types = zip_read(path("lists-copy.new.docx"), "[Content_Types].xml");
    EXPECT_NE(types.find("PartName=\"/word/numbering.xml\" ContentType=\"application/"
                         "vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml\""),
              std::string::npos);

    pugi::xml_document part;
    Part("lists-copy.new.docx", "word/numbering.xml", part);
    pugi::xml_node root = Numbering(part);
    // Definitions first (the numbered one, made later, in front), then the
    // instances in the order they were made.
    std::vector<std::string> children;
    for (pugi::xml_node child : root.children()) children.push_back(child.name());
    EXPECT_EQ(children, (std::vector<std::string>{"w:abstractNum", "w:abstractNum", "w:num", "w:num", "w:num",
                                                  "w:num"}));
    pugi::xml_node numbered = root.child("w:abstractNum");
    EXPECT_STREQ(numbered.attribute("w:abstractNumId").value(), "1");
    EXPECT_STREQ(numbered.child("w:nsid").attribute("w:val").value(), "5AFC50DB");
    EXPECT_STREQ(numbered.next_sibling("w:abstractNum").attribute("w:abstractNumId").value(), "0");
    EXPECT_STREQ(numbered.next_sibling("w:abstractNum").child("w:lvl").child("w:lvlText").attribute("w:val").value(),
                 "\xEF\x82\xB7");
    EXPECT_EQ(std::distance(numbered.children("w:lvl").begin(), numbered.children("w:lvl").end()), 9);

    const char* expected[][2] = {{"1", "0"}, {"2", "0"}, {"3", "0"}, {"4", "1"}};
    int i = 0;
    for (pugi::xml_node num : root.children("w:num")) {
        EXPECT_STREQ(num.attribute("w:numId").value(), expected[i][0]);
        EXPECT_STREQ(num.child("w:abstractNumId").attribute("w:val").value(), expected[i][1]);
        EXPECT_TRUE(num.attribute("w16cid:durableId"));
        ++i;
    }
    EXPECT_STREQ(root.child("w:num").attribute("w16cid:durableId").value(), "1135174457");
    EXPECT_EQ(CheckerFailures("lists-copy.new.docx", true), "");
}

// Word processors count on per definition: every instance made here
// restarts each of its levels, so a second list starts at 1 again.
TEST_F(NumberingTest, EachNewListRestartsEveryLevel) {
    Object doc = Create("restart.new.docx");
    CreateList(doc, false);
    CreateList(doc, false);
    SaveCopy(doc, "restart-copy.new.docx");
    pugi::xml_document part;
    Part("restart-copy.new.docx", "word/numbering.xml", part);
    int made = 0;
    for (pugi::xml_node num : Numbering(part).children("w:num")) {
        if (std::string(num.attribute("w:numId").value()) == "1") continue;  // the part's own first instance
        ++made;
        int level = 0;
        for (pugi::xml_node override : num.children("w:lvlOverride")) {
            EXPECT_EQ(override.attribute("w:ilvl").as_int(), level++);
            EXPECT_STREQ(override.child("w:startOverride").attribute("w:val").value(), "1");
        }
        EXPECT_EQ(level, 9);
    }
    EXPECT_EQ(made, 2);
}

// A paragraph joins a list at a level; the w:numPr goes in its place; the
// level's type comes from the definition.
TEST_F(NumberingTest, ParagraphsInListsAtLevels) {
    Object doc = Create("levels.new.docx");
    CreateList(doc, true);
    CreateList(doc, true);
    Object numbers = CreateList(doc, false);
    Object p = Call(doc, "AppendParagraph", {"Item"});
    rt().set(p, "Alignment", 2);   // w:jc, which the schema puts after w:numPr
    EXPECT_FALSE(rt().get(p, "ListIndent").object());
    EXPECT_EQ(Int(p, "ListIndentLevel"), 0);

    for (auto [level, type] : {std::pair{2, kLowerRoman}, {8, kLowerRoman}, {1, kLowerLetter}, {0, kDecimal}}) {
        SetList(p, numbers, level);
        Object read = rt().get(p, "ListIndent").object();
        ASSERT_TRUE(read);
        EXPECT_EQ(Int(read, "Level"), level);
        EXPECT_EQ(Int(read, "Type"), type) << "level " << level;
        EXPECT_TRUE(Bool(read, "IsAbstract"));
        EXPECT_EQ(Int(p, "ListIndentLevel"), level);
    }
    EXPECT_RAISED(SetList(p, numbers, 9), "InvalidArgumentException",
                  "Level parameter is out of range, only values from 0 to 8 are supported", 2);
    EXPECT_RAISED(SetList(p, numbers, -1), "InvalidArgumentException",
                  "Level parameter is out of range, only values from 0 to 8 are supported", 2);
    SetList(p, numbers, 3);
    std::vector<std::string> saved = SavedParagraphs(doc, "levels-copy.new.docx");
    ASSERT_FALSE(saved.empty());
    EXPECT_NE(saved.back().find("<w:pPr><w:numPr><w:ilvl w:val=\"3\"/><w:numId w:val=\"4\"/></w:numPr><w:jc "),
              std::string::npos)
        << saved.back();

    Object other = Call(doc, "AppendParagraph", {"Plain"});
    SetList(other, numbers, 0);
    rt().call(other, "SetListIndent", {Object(), 0});
    EXPECT_FALSE(rt().get(other, "ListIndent").object());
    EXPECT_EQ(CheckerFailures("levels-copy.new.docx", true), "");
}

// A part from elsewhere: its definitions and instances stay as they were,
// new ones take their schema places, the prefixes the new attributes need
// are declared, and what its instances name is read as they say.
TEST_F(NumberingTest, ForeignPartKeptAndExtended) {
    DocxParts parts;
    parts.body = "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"1\"/><w:numId w:val=\"5\"/></w:numPr></w:pPr>"
                 "<w:r><w:t>Old</w:t></w:r></w:p>"
                 "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"9\"/></w:numPr></w:pPr></w:p>"
                 "<w:p><w:pPr><w:numPr><w:numId w:val=\"77\"/></w:numPr></w:pPr></w:p>";
    parts.numbering = ForeignNumbering(" xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"");
    write_docx(path("foreign.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("foreign.docx"))}).object();
    ASSERT_TRUE(doc);

    Object old = rt().get(Call(doc, "Paragraph", {0}), "ListIndent").object();
    ASSERT_TRUE(old);
    EXPECT_EQ(Int(old, "Level"), 1);
    EXPECT_EQ(Int(old, "Type"), kDecimal);
    // An instance of a definition the part lacks reads as bullets.
    Object orphan = rt().get(Call(doc, "Paragraph", {1}), "ListIndent").object();
    ASSERT_TRUE(orphan);
    EXPECT_EQ(Int(orphan, "Type"), kBullet);
    // A number the part has no instance of: no list.
    EXPECT_FALSE(rt().get(Call(doc, "Paragraph", {2}), "ListIndent").object());

    // New lists take definitions of the library's own (ids 8 and 9), never
    // the part's: one counter per definition would renumber its lists.
    Object numbers = CreateList(doc, false);
    Object bullets = CreateList(doc, true);
    SetList(Call(doc, "AppendParagraph", {"New"}), bullets, 0);
    SaveCopy(doc, "foreign-copy.docx");

    pugi::xml_document before, after;
    ASSERT_TRUE(before.load_string(parts.numbering.c_str()));
    Part("foreign-copy.docx", "word/numbering.xml", after);
    pugi::xml_node root = Numbering(after);
    std::vector<std::string> children;
    for (pugi::xml_node child : root.children()) children.push_back(child.name());
    EXPECT_EQ(children, (std::vector<std::string>{"w:numPicBullet", "w:abstractNum", "w:abstractNum",
                                                  "w:abstractNum", "w:num", "w:num", "w:num", "w:num",
                                                  "w:numIdMacAtCleanup"}));
    pugi::xml_node added = root.child("w:numPicBullet").next_sibling();
    EXPECT_STREQ(added.attribute("w:abstractNumId").value(), "9");
    EXPECT_STREQ(added.child("w:nsid").attribute("w:val").value(), "46E32890");
    EXPECT_STREQ(added.next_sibling().attribute("w:abstractNumId").value(), "8");
    EXPECT_STREQ(added.next_sibling().child("w:nsid").attribute("w:val").value(), "5AFC50DB");
    EXPECT_STREQ(added.attribute("w15:restartNumberingAfterBreak").value(), "0");
    // The old definition and instances, unchanged.
    EXPECT_EQ(Print(added.next_sibling().next_sibling()), Print(Numbering(before).child("w:abstractNum")));
    EXPECT_EQ(Print(root.find_child_by_attribute("w:num", "w:numId", "5")),
              Print(Numbering(before).find_child_by_attribute("w:num", "w:numId", "5")));
    EXPECT_STREQ(root.find_child_by_attribute("w:num", "w:numId", "10").child("w:abstractNumId").attribute("w:val").value(),
                 "8");
    EXPECT_STREQ(root.find_child_by_attribute("w:num", "w:numId", "11").child("w:abstractNumId").attribute("w:val").value(),
                 "9");
    // Made again in the copy, a list takes the library's definitions again.
    Object copy = rt().callShared("Document", "Open", {folderItem(path("foreign-copy.docx"))}).object();
    CreateList(copy, true);
    CreateList(copy, false);
    SaveCopy(copy, "foreign-copy-2.docx");
    pugi::xml_document again;
    Part("foreign-copy-2.docx", "word/numbering.xml", again);
    EXPECT_EQ(std::distance(Numbering(again).children("w:abstractNum").begin(),
                            Numbering(again).children("w:abstractNum").end()),
              3);
    // The prefixes of the new attributes, declared and ignorable.
    EXPECT_STREQ(root.attribute("xmlns:w15").value(), "http://schemas.microsoft.com/office/word/2012/wordml");
    EXPECT_STREQ(root.attribute("xmlns:w16cid").value(), "http://schemas.microsoft.com/office/word/2016/wordml/cid");
    EXPECT_STREQ(root.attribute("mc:Ignorable").value(), "w15 w16cid");
    EXPECT_EQ(CheckerFailures("foreign-copy.docx", false), "");
}

// A part without mc, and one that binds w15 to something else: the
// declarations are made where they can be, the attribute is left out where
// they cannot.
TEST_F(NumberingTest, UndeclaredPrefixesNeverWritten) {
    DocxParts parts;
    parts.body = "<w:p/>";
    parts.numbering = ForeignNumbering(" xmlns:w15=\"urn:example:other\"");
    write_docx(path("bound.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("bound.docx"))}).object();
    ASSERT_TRUE(doc);
    CreateList(doc, true);
    SaveCopy(doc, "bound-copy.docx");
    pugi::xml_document part;
    Part("bound-copy.docx", "word/numbering.xml", part);
    pugi::xml_node root = Numbering(part);
    // The part's own namespace keeps its declaration under another prefix.
    EXPECT_STREQ(root.attribute("xmlns:w15").value(), "http://schemas.microsoft.com/office/word/2012/wordml");
    EXPECT_TRUE(root.find_attribute([](pugi::xml_attribute a) { return std::strcmp(a.value(), "urn:example:other") == 0; }));
    EXPECT_STREQ(root.attribute("xmlns:mc").value(), "http://schemas.openxmlformats.org/markup-compatibility/2006");
    EXPECT_NE(std::string(root.attribute("mc:Ignorable").value()).find("w16cid"), std::string::npos);
    EXPECT_TRUE(root.find_child_by_attribute("w:num", "w:numId", "10").attribute("w16cid:durableId"));
    EXPECT_EQ(CheckerFailures("bound-copy.docx", false), "");
}

// Making many lists, or reading the lists of many paragraphs, costs the
// same per call however many there are already: four times the work takes
// about four times as long, not sixteen.
TEST_F(NumberingTest, ManyListsAndParagraphsStayLinear) {
    Object doc = Create("many.new.docx");
    Object p = Call(doc, "AppendParagraph", {"Item"});
    auto timed = [&](int count) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) {
            Object list = CreateList(doc, (i & 1) != 0);
            SetList(p, list, i % 9);
            Object read = rt().get(p, "ListIndent").object();
            if (!read) ADD_FAILURE() << "no list at " << i;
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const double small = timed(2500);
    const double large = timed(10000);
    EXPECT_LT(large, 9 * small + 0.05) << small << " s for 2500, " << large << " s for 10000 more";
}

// A numbering part that could not be read is replaced under its own
// relationship when a list is made: the main part names one numbering part.
// A numbering part that cannot be read is refused with the package: a list
// made in its place would lose the lists it holds.
TEST_F(NumberingTest, UnreadablePartIsRefused) {
    DocxParts parts;
    parts.body = "<w:p/>";
    parts.numbering = "<w:numbering><w:num";
    write_docx(path("broken.bin"), parts);
    EXPECT_RAISED(rt().callShared("Document", "Open", {folderItem(path("broken.bin"))}), "VexlomarWord.WordException",
                  "Error could not parse document: word/numbering.xml", -7);
}

// Numbers up to the largest a file holds: a new list takes the lowest free
// one, never none.
TEST_F(NumberingTest, ANewListFindsAFreeNumberAtTheTop) {
    DocxParts parts;
    parts.body = "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"2147483647\"/></w:numPr></w:pPr>"
                 "<w:r><w:t>Top</w:t></w:r></w:p>";
    parts.numbering = "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                      "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"decimal\"/>"
                      "<w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>"
                      "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
                      "<w:num w:numId=\"2147483647\"><w:abstractNumId w:val=\"0\"/></w:num></w:numbering>";
    write_docx(path("top.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("top.docx"))}).object();
    ASSERT_TRUE(doc);
    for (const char* text : {"Second", "Third"}) {
        Object list = CreateList(doc, false);
        ASSERT_TRUE(list) << text;
        SetList(Call(doc, "AppendParagraph", {text}), list, 0);
    }
    SaveCopy(doc, "top-copy.docx");
    pugi::xml_document part;
    Part("top-copy.docx", "word/numbering.xml", part);
    std::vector<std::string> ids;
    for (pugi::xml_node num : Numbering(part).children("w:num")) ids.push_back(num.attribute("w:numId").value());
    EXPECT_EQ(ids, (std::vector<std::string>{"1", "2147483647", "2", "3"}));
    EXPECT_EQ(CheckerFailures("top-copy.docx", false), "");
}

// Definition ids up to the largest a file may hold (and one out of range
// below): a new list's definition takes the lowest free id, so the new
// definitions neither overflow nor collide.
TEST_F(NumberingTest, ANewDefinitionFindsAFreeIdAtTheTop) {
    DocxParts parts;
    parts.body = "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>"
                 "<w:r><w:t>Top</w:t></w:r></w:p>";
    parts.numbering = "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                      "<w:abstractNum w:abstractNumId=\"2147483647\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"decimal\"/>"
                      "<w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>"
                      "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"decimal\"/>"
                      "<w:lvlText w:val=\"%1)\"/></w:lvl></w:abstractNum>"
                      "<w:abstractNum w:abstractNumId=\"-4\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"decimal\"/>"
                      "<w:lvlText w:val=\"(%1)\"/></w:lvl></w:abstractNum>"
                      "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"2147483647\"/></w:num></w:numbering>";
    write_docx(path("top-definition.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("top-definition.docx"))}).object();
    ASSERT_TRUE(doc);
    for (bool bullets : {false, true, false}) {
        Object list = CreateList(doc, bullets);
        ASSERT_TRUE(list) << bullets;
        SetList(Call(doc, "AppendParagraph", {bullets ? "Bullet" : "Number"}), list, 0);
    }
    SaveCopy(doc, "top-definition-copy.docx");
    pugi::xml_document part;
    Part("top-definition-copy.docx", "word/numbering.xml", part);
    std::vector<std::string> ids;
    for (pugi::xml_node abstractNum : Numbering(part).children("w:abstractNum"))
        ids.push_back(abstractNum.attribute("w:abstractNumId").value());
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{"-4", "0", "1", "2", "2147483647"}));
    // The new instances name the new definitions.
    std::vector<std::string> named;
    for (pugi::xml_node num : Numbering(part).children("w:num"))
        named.push_back(num.child("w:abstractNumId").attribute("w:val").value());
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, (std::vector<std::string>{"1", "1", "2", "2147483647"}));
    EXPECT_EQ(CheckerFailures("top-definition-copy.docx", false), "");
}
