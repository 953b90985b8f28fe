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

// A numbering part of `definitions` (w:abstractNum contents by id) and
// `nums` (w:num contents, numbered from 1).
std::string Part(const std::vector<std::string>& definitions, const std::vector<std::string>& nums) {
    std::string part = "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">";
    for (size_t i = 0; i < definitions.size(); ++i)
        part += "<w:abstractNum w:abstractNumId=\"" + std::to_string(i) + "\">" + definitions[i] + "</w:abstractNum>";
    for (size_t i = 0; i < nums.size(); ++i)
        part += "<w:num w:numId=\"" + std::to_string(i + 1) + "\">" + nums[i] + "</w:num>";
    return part + "</w:numbering>";
}

// A decimal level showing `text`, with a w:start unless `start` is negative.
std::string Level(int ilvl, const std::string& text, int start = 1, const char* format = "decimal") {
    return "<w:lvl w:ilvl=\"" + std::to_string(ilvl) + "\">" +
           (start < 0 ? std::string() : "<w:start w:val=\"" + std::to_string(start) + "\"/>") +
           "<w:numFmt w:val=\"" + format + "\"/><w:lvlText w:val=\"" + text + "\"/></w:lvl>";
}

// Levels 0..2 as "%1.", "%1.%2.", "%1.%2.%3.".
std::string Outline(int start = 1) {
    return Level(0, "%1.", start) + Level(1, "%1.%2.", start) + Level(2, "%1.%2.%3.", start);
}

std::string StartOverride(int ilvl, int value, const std::string& level = std::string()) {
    return "<w:lvlOverride w:ilvl=\"" + std::to_string(ilvl) + "\"><w:startOverride w:val=\"" +
           std::to_string(value) + "\"/>" + level + "</w:lvlOverride>";
}

const char* const kOfDefinition0 = "<w:abstractNumId w:val=\"0\"/>";

std::vector<std::string> LabelsOf(const std::string& part, const std::vector<std::pair<int, int>>& paragraphs) {
    pugi::xml_document doc;
    if (!doc.load_string(part.c_str())) return {"unreadable"};
    return Labels(doc.first_child(), paragraphs);
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

// Instances of one definition go on counting together; one with a
// w:startOverride restarts the shared counter, and the others go on from
// there; its own level replaces the definition's.
TEST(NumberingLabels, InstancesShareOrRestart) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kNumbering));
    EXPECT_EQ(Labels(doc.first_child(), {{1, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 0}, {1, 0}, {5, 0}, {5, 0}}),
              (std::vector<std::string>{"1.", "2.", "3.", "1.", "2.", "3.", "(G)", "(H)"}));
    EXPECT_EQ(Labels(doc.first_child(), {{4, 0}, {4, 1}, {4, 0}, {9, 0}, {1, 9}}),
              (std::vector<std::string>{"IV.", "\xE2\x80\xA2", "V.", "", ""}));
}

// An instance that restarts the definition and comes first does not keep
// the counter to itself: the instance without overrides goes on from it,
// and the restarted one goes on from the other's paragraphs.
TEST(NumberingLabels, RestartedInstanceSharesItsCounters) {
    const std::string part = Part({Outline()}, {kOfDefinition0, kOfDefinition0 + StartOverride(0, 1)});
    EXPECT_EQ(LabelsOf(part, {{2, 0}, {2, 0}, {1, 0}, {1, 0}, {2, 0}}),
              (std::vector<std::string>{"1.", "2.", "3.", "4.", "5."}));
    EXPECT_EQ(LabelsOf(part, {{1, 0}, {1, 0}, {2, 0}, {1, 0}, {2, 0}}),
              (std::vector<std::string>{"1.", "2.", "1.", "2.", "3."}));
    EXPECT_EQ(LabelsOf(part, {{1, 0}, {2, 0}, {1, 0}, {2, 0}}), (std::vector<std::string>{"1.", "1.", "2.", "3."}));
}

// The restart comes at the instance's first paragraph at a level it
// overrides, at the override's value, and only once: it spends all of the
// instance's overrides.
TEST(NumberingLabels, StartOverrideRestartsOnceAtItsLevel) {
    EXPECT_EQ(LabelsOf(Part({Outline()}, {kOfDefinition0, kOfDefinition0 + StartOverride(0, 1)}),
                       {{1, 0}, {1, 0}, {2, 1}, {2, 0}, {2, 0}}),
              (std::vector<std::string>{"1.", "2.", "2.1.", "1.", "2."}));
    EXPECT_EQ(LabelsOf(Part({Outline()}, {kOfDefinition0, kOfDefinition0 + StartOverride(0, 7) + StartOverride(1, 5)}),
                       {{1, 0}, {1, 1}, {1, 1}, {2, 1}, {2, 0}, {2, 1}}),
              (std::vector<std::string>{"1.", "1.1.", "1.2.", "1.5.", "2.", "2.1."}));
    EXPECT_EQ(LabelsOf(Part({Outline()}, {kOfDefinition0, kOfDefinition0 + StartOverride(1, 1)}),
                       {{1, 0}, {1, 0}, {2, 0}, {2, 0}}),
              (std::vector<std::string>{"1.", "2.", "3.", "4."}));
    EXPECT_EQ(LabelsOf(Part({Outline()}, {kOfDefinition0, kOfDefinition0 + StartOverride(0, 5)}),
                       {{1, 0}, {1, 0}, {2, 0}, {1, 0}}),
              (std::vector<std::string>{"1.", "2.", "5.", "6."}));
    EXPECT_EQ(LabelsOf(Part({Outline()}, {kOfDefinition0, kOfDefinition0 + StartOverride(0, 0)}),
                       {{1, 0}, {2, 0}, {2, 0}}),
              (std::vector<std::string>{"1.", "0.", "1."}));
    // Both instances restart, each at its own first paragraph.
    EXPECT_EQ(LabelsOf(Part({Outline()}, {kOfDefinition0 + StartOverride(0, 1), kOfDefinition0 + StartOverride(0, 1)}),
                       {{1, 0}, {1, 0}, {2, 0}, {2, 0}, {1, 0}}),
              (std::vector<std::string>{"1.", "2.", "1.", "2.", "3."}));
}

// A level without w:start counts from 0.
TEST(NumberingLabels, LevelWithoutStartCountsFromZero) {
    EXPECT_EQ(LabelsOf(Part({Outline(-1)}, {kOfDefinition0}), {{1, 0}, {1, 0}, {1, 1}}),
              (std::vector<std::string>{"0.", "1.", "1.0."}));
}

// An instance's own level, on the shared counter, stands for a level down
// to the definition's deepest one, also one the definition lacks; beyond
// it, it is not shown.
TEST(NumberingLabels, InstanceLevelDownToTheDeepestDefinedLevel) {
    const std::string lettered =
        "<w:lvlOverride w:ilvl=\"0\">" + Level(0, "%1)", 1, "upperLetter") + "</w:lvlOverride>";
    const std::string roman =
        "<w:lvlOverride w:ilvl=\"3\">" + Level(3, "%4)", 1, "upperRoman") + "</w:lvlOverride>";
    EXPECT_EQ(LabelsOf(Part({Outline()}, {kOfDefinition0, kOfDefinition0 + lettered}), {{1, 0}, {1, 0}, {2, 0}, {1, 0}}),
              (std::vector<std::string>{"1.", "2.", "C)", "4."}));
    EXPECT_EQ(LabelsOf(Part({Level(0, "%1.")}, {kOfDefinition0 + roman}), {{1, 0}, {1, 3}}),
              (std::vector<std::string>{"1.", "1."}));
    EXPECT_EQ(LabelsOf(Part({Level(0, "%1.") + Level(5, "%6.")}, {kOfDefinition0 + roman}), {{1, 0}, {1, 3}}),
              (std::vector<std::string>{"1.", "I)"}));
    // It changes only what it gives: the definition's start and text stay.
    const std::string formatOnly =
        "<w:lvlOverride w:ilvl=\"0\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"upperLetter\"/></w:lvl></w:lvlOverride>";
    EXPECT_EQ(LabelsOf(Part({Level(0, "%1.", 3)}, {kOfDefinition0 + formatOnly}), {{1, 0}, {1, 0}}),
              (std::vector<std::string>{"C.", "D."}));
}

// A level the definition lacks: no label below its deepest level; its own
// decimal number from 1 beyond it, which a w:startOverride restarts.
TEST(NumberingLabels, LevelsTheDefinitionLacks) {
    EXPECT_EQ(LabelsOf(Part({Level(0, "%1.", 3)}, {kOfDefinition0}), {{1, 0}, {1, 1}, {1, 1}, {1, 2}, {1, 0}, {1, 8}}),
              (std::vector<std::string>{"3.", "1.", "2.", "1.", "4.", "1."}));
    EXPECT_EQ(LabelsOf(Part({Level(0, "%1.") + Level(2, "%1.%2.%3.")}, {kOfDefinition0}),
                       {{1, 0}, {1, 1}, {1, 2}, {1, 2}, {1, 1}, {1, 0}}),
              (std::vector<std::string>{"1.", "", "1.1.1.", "1.1.2.", "", "2."}));
    EXPECT_EQ(LabelsOf(Part({Level(1, "%2.")}, {kOfDefinition0}), {{1, 0}, {1, 1}, {1, 2}}),
              (std::vector<std::string>{"", "1.", "1."}));
    EXPECT_EQ(LabelsOf(Part({Level(0, "\xEF\x82\xB7", 1, "bullet")}, {kOfDefinition0 + StartOverride(1, 5)}),
                       {{1, 0}, {1, 1}, {1, 1}, {1, 2}}),
              (std::vector<std::string>{"\xE2\x80\xA2", "5.", "6.", "1."}));
}

// Levels skipped on the way down count once at their start: a paragraph
// there later goes on from it.
TEST(NumberingLabels, SkippedLevelsCountAtTheirStart) {
    const std::string part = Part({Outline()}, {kOfDefinition0});
    EXPECT_EQ(LabelsOf(part, {{1, 0}, {1, 2}, {1, 1}, {1, 2}}),
              (std::vector<std::string>{"1.", "1.1.1.", "1.2.", "1.2.1."}));
    EXPECT_EQ(LabelsOf(part, {{1, 2}, {1, 0}, {1, 1}}), (std::vector<std::string>{"1.1.1.", "2.", "2.1."}));
    EXPECT_EQ(LabelsOf(Part({Outline(5)}, {kOfDefinition0}), {{1, 0}, {1, 2}, {1, 1}}),
              (std::vector<std::string>{"5.", "5.5.5.", "5.6."}));
}
