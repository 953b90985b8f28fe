// Which runs make up the field a run belongs to, against a plain reading of
// the rule, for random paragraphs and every order of asking; and what the
// instruction of a field says.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "content/complex_runs.h"
#include "content/sibling_walk.h"
#include "package/discarded_nodes.h"

namespace {

bool IsRun(pugi::xml_node n) { return std::string(n.name()) == "w:r"; }

// The rule read literally: the begin run is the run itself, or the first
// begin run met walking backwards before any end run; then runs up to and
// including the first end run after the begin.
std::vector<pugi::xml_node> Reference(pugi::xml_node run) {
    pugi::xml_node begin;
    if (Run_GetFieldSeparator(run) == FieldSeparatorBegin) {
        begin = run;
    } else {
        for (pugi::xml_node n = run.previous_sibling(); n; n = n.previous_sibling()) {
            if (!IsRun(n)) continue;
            const int s = Run_GetFieldSeparator(n);
            if (s == FieldSeparatorEnd) break;
            if (s == FieldSeparatorBegin) {
                begin = n;
                break;
            }
        }
    }
    std::vector<pugi::xml_node> parts;
    if (!begin) return parts;
    parts.push_back(begin);
    for (pugi::xml_node n = begin.next_sibling(); n; n = n.next_sibling()) {
        if (!IsRun(n)) continue;
        parts.push_back(n);
        if (Run_GetFieldSeparator(n) == FieldSeparatorEnd) break;
    }
    return parts;
}

// Appends `count` children: plain runs, field characters, and elements
// that are not runs (hyperlinks, bookmarks).
void AppendRandomChildren(pugi::xml_node p, std::mt19937& random, int count) {
    for (int i = 0; i < count; ++i) {
        switch (random() % 8) {
            case 0: p.append_child("w:r").append_child("w:fldChar").append_attribute("w:fldCharType") = "begin"; break;
            case 1: p.append_child("w:r").append_child("w:fldChar").append_attribute("w:fldCharType") = "end"; break;
            case 2: p.append_child("w:r").append_child("w:fldChar").append_attribute("w:fldCharType") = "separate"; break;
            case 3: p.append_child("w:hyperlink").append_child("w:r").append_child("w:fldChar").append_attribute("w:fldCharType") = "end"; break;
            case 4: p.append_child("w:bookmarkStart"); break;
            default: p.append_child("w:r").append_child("w:t").text() = "x"; break;
        }
    }
}

pugi::xml_node RandomParagraph(pugi::xml_node body, std::mt19937& random, int count) {
    pugi::xml_node p = body.append_child("w:p");
    AppendRandomChildren(p, random, count);
    return p;
}

std::vector<pugi::xml_node> Runs(pugi::xml_node p) {
    std::vector<pugi::xml_node> runs;
    for (pugi::xml_node r = p.child("w:r"); r; r = r.next_sibling("w:r")) runs.push_back(r);
    return runs;
}

void ExpectAgrees(pugi::xml_node run, FieldCharsCache& cache, const char* order) {
    EXPECT_EQ(ComplexParts_Nodes(Run_FindComplexParts(run, cache)), Reference(run))
        << order << ", run at offset " << run.offset_debug();
}

}  // namespace

TEST(ComplexRuns, PartsAgreeWithTheRuleInEveryOrder) {
    std::mt19937 random(20240229);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        pugi::xml_document doc;
        pugi::xml_node body = doc.append_child("w:document").append_child("w:body");
        pugi::xml_node a = RandomParagraph(body, random, 60);
        pugi::xml_node b = RandomParagraph(body, random, 60);
        FieldCharsCache cache;
        std::vector<pugi::xml_node> runsA = Runs(a), runsB = Runs(b);

        for (pugi::xml_node r : runsA) ExpectAgrees(r, cache, "in order");
        for (auto r = runsA.rbegin(); r != runsA.rend(); ++r) ExpectAgrees(*r, cache, "backwards");
        for (size_t i = 0; i < std::max(runsA.size(), runsB.size()); ++i) {
            if (i < runsA.size()) ExpectAgrees(runsA[i], cache, "interleaved");
            if (i < runsB.size()) ExpectAgrees(runsB[i], cache, "interleaved");
        }
        std::vector<pugi::xml_node> shuffled = runsA;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        for (pugi::xml_node r : shuffled) ExpectAgrees(r, cache, "shuffled");

        // Children appended at the end, a few at a time between lookups,
        // need no clearing: fields left open take in the new runs.
        for (int more = 0; more < 6; ++more) {
            AppendRandomChildren(a, random, 1 + int(random() % 4));
            runsA = Runs(a);
            for (size_t i = runsA.size() > 8 ? runsA.size() - 8 : 0; i < runsA.size(); ++i)
                ExpectAgrees(runsA[i], cache, "after appending");
            ExpectAgrees(runsA.front(), cache, "after appending");
        }

        // Remove a few runs in the middle of a walk: what was remembered
        // about them must not survive.
        for (size_t i = 0; i < runsA.size(); ++i) {
            ExpectAgrees(runsA[i], cache, "while removing");
            if (i % 7 == 3 && i + 1 < runsA.size()) {
                FieldCharsCache_Clear(cache);
                Xml_Discard(runsA[i + 1]);
                runsA.erase(runsA.begin() + long(i) + 1);
            }
        }
    }
}

TEST(ComplexRuns, TextAndInstructionRuns) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>1</w:t></w:r><w:r><w:t>2</w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>"));
    FieldCharsCache cache;
    std::vector<pugi::xml_node> runs = Runs(doc.child("w:p"));
    const ComplexParts parts = Run_FindComplexParts(runs[0], cache);
    ASSERT_EQ(ComplexParts_Nodes(parts), runs);
    EXPECT_EQ(ComplexParts_TextRun(parts), runs[4]);
    EXPECT_EQ(ComplexParts_InstructionRun(parts), runs[1]);
    // Without the end run, the last run is the text run.
    ComplexParts unended = parts;
    --unended.count;
    EXPECT_EQ(ComplexParts_TextRun(unended), runs[4]);
    EXPECT_EQ(ComplexParts_TextRun(ComplexParts_Of({runs[0]})), runs[0]);
    EXPECT_FALSE(ComplexParts_InstructionRun(ComplexParts_Of({runs[0]})));
    EXPECT_FALSE(ComplexParts_TextRun({}));
    EXPECT_EQ(ComplexParts_FieldType({}), ComplexRunFieldNone);
    EXPECT_EQ(ComplexParts_FieldData({}), "");
}
