// The remembered positions of sibling walks: a walk over the paragraphs of
// a body keeps its place while the runs of each paragraph are walked in
// turn, however many paragraphs there are.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "content/position_cache.h"
#include "content/sibling_walk.h"

TEST(PositionCache, AnOuterWalkSurvivesManyInnerWalks) {
    pugi::xml_document doc;
    pugi::xml_node body = doc.append_child("w:body");
    for (int i = 0; i < 50; ++i) {
        pugi::xml_node p = body.append_child("w:p");
        for (int r = 0; r < 3; ++r) p.append_child("w:r");
    }
    PositionCache_Invalidate();
    int64_t index = 0;
    for (pugi::xml_node p = body.first_child(); p; p = p.next_sibling(), ++index) {
        ASSERT_EQ(SiblingAt(body, SiblingWalk::Paragraphs, index), p);
        for (int64_t r = 0; r < 3; ++r) {
            SiblingAt(p, SiblingWalk::Runs, r);
            SiblingAt(p, SiblingWalk::LogicalRuns, r);
            SiblingAt(p, SiblingWalk::ParagraphItems, r);
        }
        // The body's place is remembered through the paragraph's walks.
        SiblingPosition found;
        ASSERT_TRUE(PositionCache_Find(body, SiblingWalk::Paragraphs, index + 1, found)) << index;
        EXPECT_EQ(found.node, p);
    }
    // A change forgets everything.
    PositionCache_Invalidate();
    SiblingPosition found;
    EXPECT_FALSE(PositionCache_Find(body, SiblingWalk::Paragraphs, 49, found));
}
