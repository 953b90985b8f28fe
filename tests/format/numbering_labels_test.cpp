// List labels as readers show them: number formats, level texts, starts,
// overrides, and the counters instances share.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "format/number_labels.h"
#include "format/numbering_labels.h"

namespace {

std::vector<std::string> Labels(pugi::xml_node numbering, const std::vector<std::pair<int, int>>& paragraphs) {
    ListLabels labels;
    labels.numbering = numbering;
    std::vector<std::string> out;
    for (auto [numId, level] : paragraphs) out.push_back(ListLabels_Next(labels, numId, level));
    return out;
}

const char* const kNumbering =
    "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:abstractNum w:abstractNumId=\"0\">"
    "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl>"
    "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"lowerLetter\"/><w:lvlText w:val=\"%2)\"/></w:lvl>"
    "<w:lvl w:ilvl=\"2\"><w:start w:val=\"1\"/><w:numFmt w:val=\"lowerRoman\"/><w:lvlText w:val=\"%1.%2.%3\"/></w:lvl>"
    "</w:abstractNum>"
    "<w:abstractNum w:abstractNumId=\"1\">"
    "<w:lvl w:ilvl=\"0\"><w:start w:val=\"4\"/><w:numFmt w:val=\"upperRoman\"/><w:lvlText w:val=\"%1.\"/></w:lvl>"
    "<w:lvl w:ilvl=\"1\"><w:numFmt w:val=\"bullet\"/><w:lvlText w:val=\"\xEF\x82\xB7\"/></w:lvl>"
    "</w:abstractNum>"
    "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
    "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"0\"/></w:num>"
    "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"0\"/>"
    "<w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"1\"/></w:lvlOverride></w:num>"
    "<w:num w:numId=\"4\"><w:abstractNumId w:val=\"1\"/></w:num>"
    "<w:num w:numId=\"5\"><w:abstractNumId w:val=\"0\"/>"
    "<w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"7\"/>"
    "<w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"upperLetter\"/><w:lvlText w:val=\"(%1)\"/></w:lvl></w:lvlOverride></w:num>"
    "</w:numbering>";

}  // namespace

TEST(NumberLabels, FormatsOfACounter) {
    EXPECT_EQ(NumberLabel_Format(12, "decimal"), "12");
    EXPECT_EQ(NumberLabel_Format(3, "decimalZero"), "03");
    EXPECT_EQ(NumberLabel_Format(1, "lowerLetter"), "a");
    EXPECT_EQ(NumberLabel_Format(26, "upperLetter"), "Z");
    EXPECT_EQ(NumberLabel_Format(28, "lowerLetter"), "bb");
    EXPECT_EQ(NumberLabel_Format(4, "lowerRoman"), "iv");
    EXPECT_EQ(NumberLabel_Format(1994, "upperRoman"), "MCMXCIV");
    EXPECT_EQ(NumberLabel_Format(0, "lowerRoman"), "0");
    EXPECT_EQ(NumberLabel_Format(5, "bullet"), "");
    EXPECT_EQ(NumberLabel_Format(5, "ordinalText"), "5");
    EXPECT_EQ(NumberLabel_Bullet("\xEF\x82\xB7"), "\xE2\x80\xA2");
    EXPECT_EQ(NumberLabel_Bullet("\xEF\x82\xA7"), "\xE2\x96\xAA");
    EXPECT_EQ(NumberLabel_Bullet("o"), "o");
}

// Levels count under their parents and start again below a parent that
// counts; a level text names the counters of the levels above.
TEST(NumberingLabels, LevelsAndLevelTexts) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kNumbering));
    EXPECT_EQ(Labels(doc.first_child(), {{1, 0}, {1, 1}, {1, 1}, {1, 2}, {1, 2}, {1, 0}, {1, 1}, {1, 2}}),
              (std::vector<std::string>{"1.", "a)", "b)", "1.b.i", "1.b.ii", "2.", "a)", "2.a.i"}));
    // A level text naming a level that has not counted shows its start.
    EXPECT_EQ(Labels(doc.first_child(), {{1, 2}}), (std::vector<std::string>{"1.a.i"}));
}

// Instances of one definition go on counting together; one that restarts
// the definition counts on its own from its start; its own level replaces
// the definition's.
TEST(NumberingLabels, InstancesShareOrRestart) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kNumbering));
    EXPECT_EQ(Labels(doc.first_child(), {{1, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 0}, {1, 0}, {5, 0}, {5, 0}}),
              (std::vector<std::string>{"1.", "2.", "3.", "1.", "2.", "4.", "(G)", "(H)"}));
    EXPECT_EQ(Labels(doc.first_child(), {{4, 0}, {4, 1}, {4, 0}, {9, 0}, {1, 9}}),
              (std::vector<std::string>{"IV.", "\xE2\x80\xA2", "V.", "", ""}));
}
