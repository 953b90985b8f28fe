// Trimming a class list for hosts before 2019.02, on a list with every kind
// of class the trimming concerns.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "host/module.h"

namespace {

REALclassDefinition Class(const char* name, size_t properties, size_t methods) {
    REALclassDefinition def{};
    def.version = kREALPluginVersion;
    def.name = name;
    def.propertyCount = properties;
    def.methodCount = methods;
    return def;
}

struct ClassList {
    REALclassDefinition defs[9] = {
        Class("Document", 11, 17),      Class("WordException", 0, 1),
        Class("Paragraph", 12, 28),     Class("Container", 3, 12),
        Class("Hyperlink", 4, 5),       Class("StylePart", 14, 4),
        Class("ParagraphIterator", 0, 4), Class("RunIterator", 0, 4),
        Class("DocumentItemIterator", 0, 4)};
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
