// Shape groups and text boxes through the host: members added, counted,
// returned and resized with their group; a shape's text as a container.
#include <string>
#include <vector>

#include "shape_fixture.h"

using vexrt::Object;

namespace {

class ShapeGroupTest : public ShapeFixture {
protected:
    pugi::xml_node GroupXfrm(pugi::xml_node body) {
        return body.last_child().previous_sibling("w:p").last_child().child("mc:AlternateContent")
            .child("mc:Choice").child("w:drawing").child("wp:anchor").child("a:graphic").child("a:graphicData")
            .child("wpg:wgp").child("wpg:grpSpPr").child("a:xfrm");
    }
};

}  // namespace

// Members grow the group to cover them, on either side;
// members share the group's place and size, and out-of-range indexes raise.
TEST_F(ShapeGroupTest, MembersAddedCountedAndReturned) {
    Opened opened = NewParagraph("group.new.docx");
    Object group = AppendShape(opened.paragraph, kRectangle, 0, 0, 1000, 1000, kEmu, "AppendShapeGroup");
    ASSERT_TRUE(group);
    EXPECT_EQ(Int(group, "LastShapeIndex"), 0);
    Object member = Call(group, "AppendShape", {kEllipse, 500.0, 200.0, 1000.0, 300.0, kEmu});
    ASSERT_TRUE(member);
    EXPECT_EQ(Int(member, "Type"), kEllipse);
    EXPECT_EQ(Int(group, "LastShapeIndex"), 1);
    EXPECT_EQ(Measure(group, "Width", kEmu), 1500);
    EXPECT_EQ(Measure(group, "Height", kEmu), 1000);
    EXPECT_EQ(Measure(member, "Width", kEmu), 1500);  // the group's anchor
    Object left = Call(group, "AppendShape", {kTriangle, -400.0, 0.0, 1000.0, 100.0, kEmu});
    EXPECT_EQ(Measure(group, "Width", kEmu), 1900);  // grown by 400 to the left
    EXPECT_EQ(Measure(group, "X", kEmu), -400);
    EXPECT_EQ(Int(Call(group, "Shape", {0}), "Type"), kRectangle);
    EXPECT_EQ(Int(Call(group, "Shape", {2}), "Type"), kTriangle);
    EXPECT_RAISED(Call(group, "Shape", {3}), "OutOfBoundsException", "Parameter index is out of bounds", 1);
    EXPECT_RAISED(Call(group, "Shape", {-1}), "OutOfBoundsException", "Parameter index is out of bounds", 1);
    EXPECT_RAISED(Call(group, "AppendShape", {kUnknown, 0.0, 0.0, 1.0, 1.0, kEmu}), "InvalidArgumentException",
                  "Invalid value for shapoe type", 1);
    EXPECT_EQ(Int(group, "LastShapeIndex"), 2);
    // A member's appearance is its own.
    SetColor(member, "SolidFillColor", 0x0000FF00);
    EXPECT_EQ(ColorOf(Call(group, "Shape", {1}), "SolidFillColor"), 0x0000FF00u);
    EXPECT_NE(ColorOf(Call(group, "Shape", {0}), "SolidFillColor"), 0x0000FF00u);

    pugi::xml_document xml;
    pugi::xml_node xfrm = GroupXfrm(SavedBody(opened.doc, "group.new.docx", xml));
    EXPECT_EQ(xml_print(xfrm), "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"1900\" cy=\"1000\"/><a:chOff x=\"-400\" "
                               "y=\"0\"/><a:chExt cx=\"1900\" cy=\"1000\"/></a:xfrm>");
    EXPECT_EQ(CheckerFailures("group.new.docx"), "");
}

// A group resized scales its members with it; one whose child extent is 0
// cannot be scaled and stays as it is.
TEST_F(ShapeGroupTest, ResizedGroupsScaleTheirMembers) {
    Opened opened = NewParagraph("resized.new.docx");
    Object group = AppendShape(opened.paragraph, kRectangle, 0, 0, 1000, 600, kEmu, "AppendShapeGroup");
    Call(group, "AppendShape", {kEllipse, 250.0, 100.0, 500.0, 300.0, kEmu});
    rt().assign(group, "Width", {kEmu}, 2000.0);
    rt().assign(group, "Height", {kEmu}, 300.0);
    pugi::xml_document xml;
    pugi::xml_node body = SavedBody(opened.doc, "resized.new.docx", xml);
    pugi::xml_node xfrm = GroupXfrm(body);
    EXPECT_EQ(xml_print(xfrm), "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"2000\" cy=\"300\"/><a:chOff x=\"0\" "
                               "y=\"0\"/><a:chExt cx=\"2000\" cy=\"300\"/></a:xfrm>");
    pugi::xml_node second = xfrm.parent().parent().child("wps:wsp").next_sibling("wps:wsp");
    EXPECT_EQ(xml_print(second.child("wps:spPr").child("a:xfrm")),
              "<a:xfrm><a:off x=\"500\" y=\"50\"/><a:ext cx=\"1000\" cy=\"150\"/></a:xfrm>");

    Object flat = AppendShape(opened.paragraph, kRectangle, 0, 0, 1000, 0, kEmu, "AppendShapeGroup");
    rt().assign(flat, "Height", {kEmu}, 500.0);
    EXPECT_EQ(Measure(flat, "Height", kEmu), 0);
    SaveCopy(opened.doc, "flat.new.docx");
    const std::string saved = zip_read(path("flat.new.docx"), "word/document.xml");
    EXPECT_EQ(saved.find("inf"), std::string::npos);
    EXPECT_EQ(saved.find("nan"), std::string::npos);
}

// A group from another tool, whose child space is not its own size: a new
// member grows the child extent in child units and the group by the scaled
// difference, so the members already there keep their sizes on the page.
TEST_F(ShapeGroupTest, GroupsWithTheirOwnChildSpace) {
    const std::string run =
        "<w:r><mc:AlternateContent><mc:Choice Requires=\"wpg\"><w:drawing>"
        "<wp:anchor distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" simplePos=\"0\" relativeHeight=\"1\" "
        "behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\"><wp:simplePos x=\"0\" y=\"0\"/>"
        "<wp:positionH relativeFrom=\"column\"><wp:posOffset>0</wp:posOffset></wp:positionH>"
        "<wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>0</wp:posOffset></wp:positionV>"
        "<wp:extent cx=\"2000\" cy=\"1000\"/><wp:wrapNone/><wp:docPr id=\"7\" name=\"Group 7\"/>"
        "<wp:cNvGraphicFramePr/><a:graphic><a:graphicData "
        "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\"><wpg:wgp><wpg:cNvGrpSpPr/>"
        "<wpg:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"2000\" cy=\"1000\"/><a:chOff x=\"0\" y=\"0\"/>"
        "<a:chExt cx=\"1000\" cy=\"500\"/></a:xfrm></wpg:grpSpPr>"
        "<wps:wsp><wps:cNvSpPr/><wps:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"1000\" cy=\"500\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></wps:spPr><wps:bodyPr/></wps:wsp>"
        "</wpg:wgp></a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice></mc:AlternateContent></w:r>";
    Opened opened = OpenParagraph("scaled.docx", run);
    Object group = rt().get(Call(opened.paragraph, "Run", {0}), "ShapeGroup").object();
    ASSERT_TRUE(group);
    EXPECT_EQ(Int(group, "LastShapeIndex"), 0);
    Call(group, "AppendShape", {kEllipse, 0.0, 0.0, 1500.0, 200.0, kEmu});
    EXPECT_EQ(Measure(group, "Width", kEmu), 3000);  // 500 child units more, at 2 EMU each
    EXPECT_EQ(Measure(group, "Height", kEmu), 1000);
    pugi::xml_document xml;
    pugi::xml_node xfrm = GroupXfrm(SavedBody(opened.doc, "scaled-saved.docx", xml));
    EXPECT_STREQ(xfrm.child("a:ext").attribute("cx").value(), "3000");
    EXPECT_STREQ(xfrm.child("a:chExt").attribute("cx").value(), "1500");
    EXPECT_EQ(CheckerFailures("scaled-saved.docx"), "");
}

// A shape's text box: made on demand before wps:bodyPr, never empty, filled
// like any container; its runs report the shape's text colour.
TEST_F(ShapeGroupTest, TextBoxes) {
    Opened opened = NewParagraph("textbox.new.docx");
    Object shape = AppendShape(opened.paragraph, kRoundedRectangle, 0, 0, 4, 2, kCm);
    EXPECT_FALSE(Call(shape, "Container", {false}));
    Object box = Call(shape, "Container", {true});
    ASSERT_TRUE(box);
    EXPECT_EQ(rt().className(box), "VexlomarWord.ShapeContainer");
    EXPECT_TRUE(rt().isA(box, "VexlomarWord.Container"));
    EXPECT_EQ(Int(box, "ParagraphCount"), 1);
    Object first = Call(box, "Paragraph", {0});
    Object run = Call(first, "AppendRun", {"Thank you!"});
    EXPECT_EQ(ColorOf(run, "TextColor"), 0x00FFFFFFu);  // the theme's lt1
    EXPECT_FALSE(Bool(run, "HasTextColor"));
    Object second = Call(box, "AppendParagraph", {"Second line"});
    EXPECT_EQ(ColorOf(Call(second, "Run", {0}), "TextColor"), 0x00FFFFFFu);
    // Another view of the same text box.
    Object again = Call(shape, "Container", {false});
    ASSERT_TRUE(again);
    EXPECT_EQ(Int(again, "ParagraphCount"), 2);
    EXPECT_EQ(Str(Call(again, "Paragraph", {0}), "Text"), "Thank you!");
    // The body's paragraphs are not the text box's.
    EXPECT_EQ(Int(opened.doc, "ParagraphCount"), 2);

    pugi::xml_document xml;
    pugi::xml_node wsp = SavedBody(opened.doc, "textbox.new.docx", xml).last_child().previous_sibling("w:p")
                             .last_child().child("mc:AlternateContent").child("mc:Choice").child("w:drawing")
                             .child("wp:anchor").child("a:graphic").child("a:graphicData").child("wps:wsp");
    pugi::xml_node txbx = wsp.child("wps:txbx");
    ASSERT_TRUE(txbx);
    EXPECT_STREQ(txbx.next_sibling().name(), "wps:bodyPr");
    EXPECT_EQ(Str(Call(Call(opened.doc, "Paragraph", {1}), "Run", {0}), "Text"), "Anchor");
    EXPECT_EQ(CheckerFailures("textbox.new.docx"), "");
}

// A member before the group's start (negative offsets) grows the group to
// the left and to the top: the group moves back by as much, its extent and
// child extent grow alike, and every member keeps its size and its place on
// the page (members used to be squeezed into the group as it was).
TEST_F(ShapeGroupTest, MembersAtNegativeOffsetsGrowTheGroupBack) {
    Opened opened = NewParagraph("negative.new.docx");
    Object group = AppendShape(opened.paragraph, kRectangle, 2, 1, 1, 1, kInches, "AppendShapeGroup");
    ASSERT_TRUE(group);
    ASSERT_TRUE(Call(group, "AppendShape", {kEllipse, -1.0, -0.5, 1.0, 1.0, kInches}));
    EXPECT_NEAR(Measure(group, "X", kInches), 1.0, 1e-9);
    EXPECT_NEAR(Measure(group, "Y", kInches), 0.5, 1e-9);
    EXPECT_NEAR(Measure(group, "Width", kInches), 2.0, 1e-9);
    EXPECT_NEAR(Measure(group, "Height", kInches), 1.5, 1e-9);
    // A member inside the box changes nothing; one past its end grows it
    // to the right only.
    ASSERT_TRUE(Call(group, "AppendShape", {kTriangle, -0.5, 0.0, 0.5, 0.5, kInches}));
    EXPECT_NEAR(Measure(group, "X", kInches), 1.0, 1e-9);
    EXPECT_NEAR(Measure(group, "Width", kInches), 2.0, 1e-9);
    ASSERT_TRUE(Call(group, "AppendShape", {kHexagon, 1.5, 0.0, 1.0, 0.5, kInches}));
    EXPECT_NEAR(Measure(group, "X", kInches), 1.0, 1e-9);
    EXPECT_NEAR(Measure(group, "Width", kInches), 3.5, 1e-9);
    EXPECT_NEAR(Measure(group, "Height", kInches), 1.5, 1e-9);
    EXPECT_EQ(Int(group, "LastShapeIndex"), 3);

    pugi::xml_document xml;
    pugi::xml_node body = SavedBody(opened.doc, "negative.new.docx", xml);
    pugi::xml_node xfrm = GroupXfrm(body);
    // One child unit per EMU: the extent is the child extent, and the child
    // box starts at the leftmost, topmost member.
    EXPECT_EQ(xml_print(xfrm), "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"3200400\" cy=\"1371600\"/>"
                               "<a:chOff x=\"-914400\" y=\"-457200\"/><a:chExt cx=\"3200400\" cy=\"1371600\"/>"
                               "</a:xfrm>");
    pugi::xml_node anchor = xfrm.parent().parent().parent().parent().parent();
    ASSERT_STREQ(anchor.name(), "wp:anchor");
    EXPECT_STREQ(anchor.child("wp:extent").attribute("cx").value(), "3200400");
    EXPECT_STREQ(anchor.child("wp:extent").attribute("cy").value(), "1371600");
    EXPECT_STREQ(anchor.child("wp:positionH").child_value("wp:posOffset"), "914400");
    EXPECT_STREQ(anchor.child("wp:positionV").child_value("wp:posOffset"), "457200");
    // Each member as it was given, in child units: on the page the first
    // stays at 2 in, 1 in (group at 1 in plus 1 in from the child start).
    const char* const expected[] = {
        "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"914400\" cy=\"914400\"/></a:xfrm>",
        "<a:xfrm><a:off x=\"-914400\" y=\"-457200\"/><a:ext cx=\"914400\" cy=\"914400\"/></a:xfrm>",
        "<a:xfrm><a:off x=\"-457200\" y=\"0\"/><a:ext cx=\"457200\" cy=\"457200\"/></a:xfrm>",
        "<a:xfrm><a:off x=\"1371600\" y=\"0\"/><a:ext cx=\"914400\" cy=\"457200\"/></a:xfrm>",
    };
    int i = 0;
    for (pugi::xml_node member = xfrm.parent().parent().child("wps:wsp"); member;
         member = member.next_sibling("wps:wsp"), ++i) {
        ASSERT_LT(i, 4);
        EXPECT_EQ(xml_print(member.child("wps:spPr").child("a:xfrm")), expected[i]) << "member " << i;
    }
    EXPECT_EQ(i, 4);
    EXPECT_EQ(CheckerFailures("negative.new.docx"), "");
}

// The paragraph a new text box holds to stay valid is the first one put
// in: one append gives a box of one paragraph, a table appended first
// leaves no empty paragraph before it, and a box left empty keeps it.
TEST_F(ShapeGroupTest, TextBoxHoldsWhatWasPutIn) {
    Opened opened = NewParagraph("box-content.new.docx");
    Object hello = Call(AppendShape(opened.paragraph, kRectangle, 0, 0, 2, 1, kInches), "Container", {true});
    ASSERT_TRUE(hello);
    Object paragraph = Call(hello, "AppendParagraph", {"Hello"});
    ASSERT_TRUE(paragraph);
    EXPECT_EQ(Int(hello, "ParagraphCount"), 1);
    EXPECT_EQ(Int(hello, "ItemCount"), 1);
    EXPECT_EQ(Str(Call(hello, "Paragraph", {0}), "Text"), "Hello");
    EXPECT_EQ(Str(paragraph, "Text"), "Hello");
    // The next one comes after it.
    Object two = Call(AppendShape(opened.paragraph, kRectangle, 0, 1.5, 2, 1, kInches), "Container", {true});
    Call(two, "AppendParagraph", {"One"});
    Call(two, "AppendParagraph", {"Two"});
    EXPECT_EQ(Int(two, "ParagraphCount"), 2);
    EXPECT_EQ(Str(Call(two, "Paragraph", {1}), "Text"), "Two");
    Object table = Call(AppendShape(opened.paragraph, kRectangle, 0, 3, 2, 1, kInches), "Container", {true});
    ASSERT_TRUE(Call(table, "AppendTable", {2, 1}));
    EXPECT_EQ(Int(table, "ItemCount"), 2);  // the table, and the paragraph a box ends with
    EXPECT_EQ(rt().className(Call(table, "Item", {0})), "VexlomarWord.Table");
    Object empty = Call(AppendShape(opened.paragraph, kRectangle, 0, 4.5, 2, 1, kInches), "Container", {true});
    EXPECT_EQ(Int(empty, "ParagraphCount"), 1);

    pugi::xml_document xml;
    SavedBody(opened.doc, "box-content.new.docx", xml);
    std::vector<std::string> boxes;
    for (pugi::xpath_node n : xml.select_nodes("//w:txbxContent")) {
        std::string names;
        for (pugi::xml_node child : n.node().children()) names += std::string(child.name()) + " ";
        boxes.push_back(names);
    }
    EXPECT_EQ(boxes, (std::vector<std::string>{"w:p ", "w:p w:p ", "w:tbl w:p ", "w:p "}));
    pugi::xml_node first = xml.select_node("//w:txbxContent").node();
    EXPECT_EQ(first.select_nodes(".//w:p").size(), 1u);
    EXPECT_STREQ(first.child("w:p").child("w:r").child_value("w:t"), "Hello");
    EXPECT_EQ(CheckerFailures("box-content.new.docx"), "");
}
