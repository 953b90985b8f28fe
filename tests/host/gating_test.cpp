// Trimming a class list for hosts before 2019.02, on a list with every kind
// of class the trimming concerns.
#include <gtest/gtest.h>

#include <deque>
#include <iterator>
#include <vector>
#include <string>

#include "host/module.h"

namespace {

// Tables of `count` entries whose last entries carry the given names, the
// others made-up names.
struct Tables {
    std::deque<std::string> names;
    std::vector<REALproperty> properties;
    std::vector<REALmethodDefinition> methods;
};
std::deque<Tables> gTables;

REALclassDefinition Class(const char* name, size_t properties, std::vector<std::string> lastProperties,
                          size_t methods, std::vector<std::string> lastMethods) {
    Tables& t = gTables.emplace_back();
    for (size_t i = 0; i < properties; ++i) {
        const size_t fromEnd = properties - i;
        t.names.push_back(fromEnd <= lastProperties.size() ? lastProperties[lastProperties.size() - fromEnd]
                                                          : "P" + std::to_string(i));
        t.properties.push_back(REALproperty{"", t.names.back().c_str(), "Integer", 4, nullptr, nullptr, 0});
    }
    for (size_t i = 0; i < methods; ++i) {
        const size_t fromEnd = methods - i;
        t.names.push_back((fromEnd <= lastMethods.size() ? lastMethods[lastMethods.size() - fromEnd]
                                                         : "M" + std::to_string(i)) + "(x as Integer)");
        t.methods.push_back(REALmethodDefinition{nullptr, nullptr, t.names.back().c_str(), 4});
    }
    REALclassDefinition def{};
    def.version = kREALPluginVersion;
    def.name = name;
    def.properties = t.properties.data();
    def.propertyCount = properties;
    def.methods = t.methods.data();
    def.methodCount = methods;
    return def;
}

struct ClassList {
    REALclassDefinition defs[9] = {
        Class("Document", 11, {"CreatedDate", "ModifiedDate"}, 17, {}),
        Class("WordException", 0, {}, 1, {}),
        Class("Paragraph", 12, {}, 28, {"Runs", "LogicalRuns", "ParagraphItems", "LogicalParagraphItems", "AppendDateField"}),
        Class("Container", 3, {}, 12, {"Items", "Paragraphs", "Tables"}),
        Class("Hyperlink", 4, {}, 5, {"Runs"}),
        Class("StylePart", 14, {}, 4, {}),
        Class("ParagraphIterator", 0, {}, 4, {}),
        Class("RunIterator", 0, {}, 4, {}),
        Class("DocumentItemIterator", 0, {}, 4, {})};
    REALclassDefinition* list[9];
    ClassTableCounts full[9];
    ClassList() {
        for (size_t i = 0; i < std::size(defs); ++i) {
            list[i] = &defs[i];
            full[i] = {defs[i].propertyCount, defs[i].methodCount};
        }
    }
    size_t apply(bool hide) { return ClassList_ApplyVersionGating(list, full, std::size(list), hide); }
    std::string counts() const {
        std::string out;
        for (const REALclassDefinition& d : defs)
            out += std::to_string(d.propertyCount) + "/" + std::to_string(d.methodCount) + " ";
        return out;
    }
};

}  // namespace

TEST(VersionGating, OldHostsLoseTheNewerMembersAndTheTrailingIterators) {
    ClassList classes;
    EXPECT_EQ(classes.apply(true), 6u);
    EXPECT_EQ(classes.counts(), "9/17 0/1 12/23 3/9 4/4 14/4 0/4 0/4 0/4 ");
}

TEST(VersionGating, TrimmingAgainStartsFromTheFullTables) {
    ClassList classes;
    classes.apply(true);
    EXPECT_EQ(classes.apply(true), 6u);
    EXPECT_EQ(classes.counts(), "9/17 0/1 12/23 3/9 4/4 14/4 0/4 0/4 0/4 ");
    EXPECT_EQ(classes.apply(false), 9u);
    EXPECT_EQ(classes.counts(), "11/17 0/1 12/28 3/12 4/5 14/4 0/4 0/4 0/4 ");
}

TEST(VersionGating, OnlyIteratorsClosingTheListAreHidden) {
    ClassList classes;
    // An iterator first, Document just before the last two iterators.
    std::swap(classes.list[6], classes.list[0]);
    std::swap(classes.full[6], classes.full[0]);
    EXPECT_EQ(classes.apply(true), 7u);
    EXPECT_EQ(classes.list[0]->name, std::string("ParagraphIterator"));
    EXPECT_EQ(classes.list[6]->propertyCount, 9u);
}

// A table still being built lacks some of the newer members: only those it
// has are hidden, never the ones before them.
TEST(VersionGating, TablesWithoutSomeNewerMembersLoseOnlyThoseTheyHave) {
    REALclassDefinition paragraph =
        Class("Paragraph", 3, {}, 4, {"AppendTimeField", "AppendHyperlinkField", "AppendDateField"});
    REALclassDefinition container = Class("Container", 3, {}, 6, {"Table", "RemoveItem"});
    REALclassDefinition* list[] = {&paragraph, &container};
    ClassTableCounts full[] = {{3, 4}, {3, 6}};
    EXPECT_EQ(ClassList_ApplyVersionGating(list, full, 2, true), 2u);
    EXPECT_EQ(paragraph.methodCount, 3u);
    EXPECT_EQ(container.methodCount, 6u);
}
