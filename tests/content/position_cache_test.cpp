// The remembered positions of sibling walks: a walk over the paragraphs of
// a body keeps its place while the runs of each paragraph are walked in
// turn, however many paragraphs there are; appending children keeps every
// remembered place right.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "content/fields.h"
#include "content/position_cache.h"
#include "content/run_text.h"
#include "content/sibling_walk.h"

TEST(PositionCache, AnOuterWalkSurvivesManyInnerWalks) {
    pugi::xml_document doc;
    pugi::xml_node body = doc.append_child("w:body");
    for (int i = 0; i < 50; ++i) {
        pugi::xml_node p = body.append_child("w:p");
        for (int r = 0; r < 3; ++r) p.append_child("w:r");
    }
    PositionCache cache;
    int64_t index = 0;
    for (pugi::xml_node p = body.first_child(); p; p = p.next_sibling(), ++index) {
        ASSERT_EQ(SiblingAt(body, SiblingWalk::Paragraphs, index, cache), p);
        for (int64_t r = 0; r < 3; ++r) {
            SiblingAt(p, SiblingWalk::Runs, r, cache);
            SiblingAt(p, SiblingWalk::LogicalRuns, r, cache);
            SiblingAt(p, SiblingWalk::ParagraphItems, r, cache);
        }
        // The body's place is remembered through the paragraph's walks.
        SiblingPosition found;
        ASSERT_TRUE(PositionCache_Find(cache, body, SiblingWalk::Paragraphs, index + 1, found)) << index;
        EXPECT_EQ(found.node, p);
    }
    // A change forgets everything.
    PositionCache_Invalidate(cache);
    SiblingPosition found;
    EXPECT_FALSE(PositionCache_Find(cache, body, SiblingWalk::Paragraphs, 49, found));

    // Another document's cache knows nothing of this one's walks.
    PositionCache other;
    SiblingAt(body, SiblingWalk::Paragraphs, 10, cache);
    EXPECT_FALSE(PositionCache_Find(other, body, SiblingWalk::Paragraphs, 10, found));
}

// Runs and fields appended (as AppendRun and the field members do, without
// dropping the cache) while walks over the same paragraphs are under way:
// every lookup agrees with a walk from the first child.
TEST(PositionCache, AppendedRunsAndFieldsKeepRememberedPlacesRight) {
    const SiblingWalk walks[] = {SiblingWalk::Runs, SiblingWalk::LogicalRuns, SiblingWalk::ParagraphItems,
                                 SiblingWalk::LogicalParagraphItems};
    std::mt19937 random(7);
    pugi::xml_document doc;
    pugi::xml_node body = doc.append_child("w:body");
    std::vector<pugi::xml_node> paragraphs;
    for (int i = 0; i < 3; ++i) paragraphs.push_back(body.append_child("w:p"));
    PositionCache cache;
    std::vector<int64_t> next(paragraphs.size() * 4, 0);  // per paragraph and walk: the index walked to
    for (int step = 0; step < 3000; ++step) {
        const size_t which = random() % paragraphs.size();
        pugi::xml_node p = paragraphs[which];
        switch (random() % 6) {
            case 0: InternalAddRun(p, std::string_view("text"), std::nullopt, true); break;
            case 1: p.append_child("w:hyperlink"); break;
            case 2: {
                std::vector<pugi::xml_node> parts;
                Paragraph_AppendSpecialField(p, "PAGE", "1", parts);
                break;
            }
            default: {
                // Walk on in order, mostly; now and then start over.
                const size_t w = random() % 4;
                int64_t& index = next[which * 4 + w];
                if (random() % 10 == 0) index = 0;
                PositionCache fresh;
                ASSERT_EQ(SiblingAt(p, walks[w], index, cache), SiblingAt(p, walks[w], index, fresh))
                    << "step " << step << ", walk " << w << ", index " << index;
                if (index < SiblingCount(p, walks[w])) ++index;
            }
        }
    }
}
