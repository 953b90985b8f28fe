// Removals that leave nothing broken and nothing orphaned: containers that
// must end with a paragraph, tables that must stay apart, and the pictures
// and links a removed element takes with it (and those it must leave).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

enum { kRoundedRectangle = 1, kCentimetres = 2 };

class RemovalTest : public PictureFixture {
protected:
    // A shape anchored in a new body paragraph, and its text box.
    Object TextBox(const Object& doc) {
        Object anchor = Call(doc, "AppendParagraph", {"Anchor"});
        Object shape = Call(anchor, "AppendShape", {kRoundedRectangle, 0.0, 0.0, 6.0, 4.0, kCentimetres});
        return shape ? Call(shape, "Container", {true}) : Object();
    }
    std::string ClassOf(const Object& o) { return rt().className(o); }
    // The element names of the blocks of `container` in a saved part.
    static std::vector<std::string> Blocks(pugi::xml_node container) {
        std::vector<std::string> names;
        for (pugi::xml_node n : container.children())
            if (std::string(n.name()) == "w:p" || std::string(n.name()) == "w:tbl") names.push_back(n.name());
        return names;
    }
};

const std::vector<std::string> kTableThenParagraph{"w:tbl", "w:p"};

}  // namespace

// A text box, like a cell, a header and a footer, ends with a paragraph
// whatever is removed from it: its last paragraph after a table, or
// everything it holds.
TEST_F(RemovalTest, ContainersOtherThanTheBodyEndWithAParagraph) {
    Object doc = Create("end-with-paragraph.new.docx");
    ASSERT_TRUE(doc);
    Object box = TextBox(doc);
    ASSERT_TRUE(box);
    Object first = Call(box, "Paragraph", {0});
    ASSERT_TRUE(Call(box, "AppendTable", {2, 1}));
    ASSERT_EQ(Int(box, "ItemCount"), 3);  // the table got a paragraph after it
    rt().call(box, "RemoveItem", {Call(box, "Item", {2})});
    rt().call(box, "RemoveItem", {first});
    ASSERT_EQ(Int(box, "ItemCount"), 2);
    EXPECT_EQ(ClassOf(Call(box, "Item", {1})), "VexlomarWord.Paragraph");
    // Emptied: one empty paragraph is left.
    Object emptied = TextBox(doc);
    rt().call(emptied, "RemoveItem", {Call(emptied, "Item", {0})});
    EXPECT_EQ(Int(emptied, "ItemCount"), 1);
    EXPECT_EQ(Str(Call(emptied, "Paragraph", {0}), "Text"), "");

    // A header under the same rule.
    Object header = Call(doc, "Header", {0, true});
    ASSERT_TRUE(header);
    Call(header, "AppendParagraph", {"Head"});
    ASSERT_TRUE(Call(header, "AppendTable", {1, 1}));
    rt().call(header, "RemoveItem", {Call(header, "Item", {Int(header, "ItemCount") - 1})});
    EXPECT_EQ(ClassOf(Call(header, "Item", {Int(header, "ItemCount") - 1})), "VexlomarWord.Paragraph");

    SaveCopy(doc, "end-with-paragraph-saved.new.docx");
    const std::string file = path("end-with-paragraph-saved.new.docx");
    pugi::xml_document xml = Parsed(file, "word/document.xml");
    std::vector<std::vector<std::string>> boxes;
    for (pugi::xpath_node n : xml.select_nodes("//w:txbxContent")) boxes.push_back(Blocks(n.node()));
    EXPECT_EQ(boxes, (std::vector<std::vector<std::string>>{kTableThenParagraph, {"w:p"}}));
    ExpectCheckerPasses(file, true);
}

// The paragraph between two tables removed: an empty paragraph stays
// between them, or readers would join the two into one, in every kind of
// container.
TEST_F(RemovalTest, TablesStayApartWhenTheParagraphBetweenGoes) {
    Object doc = Create("tables-apart.new.docx");
    ASSERT_TRUE(doc);
    Object outer = Call(doc, "AppendTable", {1, 1});
    ASSERT_TRUE(outer);
    Call(doc, "AppendParagraph", {"After the outer table"});
    std::vector<std::pair<std::string, Object>> containers{
        {"body", doc},
        {"cell", Call(outer, "Cell", {0, 0})},
        {"header", Call(doc, "Header", {0, true})},
        {"footer", Call(doc, "Footer", {0, true})},
        {"text box", TextBox(doc)},
    };
    for (auto& [name, container] : containers) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(container);
        const int64_t before = Int(container, "ItemCount");
        // Tables appended one after the other get a paragraph between them.
        ASSERT_TRUE(Call(container, "AppendTable", {2, 1}));
        ASSERT_TRUE(Call(container, "AppendTable", {2, 1}));
        Object between = Call(container, "Item", {before + 1});
        ASSERT_EQ(ClassOf(between), "VexlomarWord.Paragraph");
        rt().call(container, "RemoveItem", {between});
        EXPECT_EQ(Int(container, "TableCount"), name == "body" ? 3 : 2);
        Object kept = Call(container, "Item", {before + 1});
        ASSERT_TRUE(kept);
        EXPECT_EQ(ClassOf(kept), "VexlomarWord.Paragraph");
        EXPECT_EQ(Str(kept, "Text"), "");
        EXPECT_EQ(ClassOf(Call(container, "Item", {before + 2})), "VexlomarWord.Table");
    }
    SaveCopy(doc, "tables-apart-saved.new.docx");
    const std::string file = path("tables-apart-saved.new.docx");
    // No two tables touch anywhere in the saved parts.
    for (const char* entry : {"word/document.xml", "word/header1.xml", "word/footer1.xml"}) {
        pugi::xml_document xml = Parsed(file, entry);
        for (pugi::xpath_node n : xml.select_nodes("//w:tbl")) {
            pugi::xml_node next = n.node().next_sibling();
            while (next && std::string(next.name()) != "w:p" && std::string(next.name()) != "w:tbl")
                next = next.next_sibling();
            EXPECT_FALSE(next && std::string(next.name()) == "w:tbl") << entry;
        }
    }
    ExpectCheckerPasses(file, true);
}
