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

