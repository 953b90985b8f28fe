// Anchored shapes and groups through the host: what is written, where they
// stand and how large they are, and what cannot be written.
#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "shape_fixture.h"

using vexrt::Object;

namespace {

class ShapeTest : public ShapeFixture {};

pugi::xml_node AnchorOf(pugi::xml_node run) {
    return run.child("mc:AlternateContent").child("mc:Choice").child("w:drawing").child("wp:anchor");
}

}  // namespace

// The markup of a new shape, in inches, as a reader finds it.
TEST_F(ShapeTest, AppendedShapeMarkup) {
    Opened opened = NewParagraph("ellipse.new.docx");
    Object shape = AppendShape(opened.paragraph, kEllipse, 1, 2, 3, 1.5, kInches);
    ASSERT_TRUE(shape);
    EXPECT_EQ(rt().className(shape), "VexlomarWord.Shape");
    EXPECT_TRUE(rt().isA(shape, "VexlomarWord.ShapeBase"));
    EXPECT_DOUBLE_EQ(Measure(shape, "X", kInches), 1.0);
    EXPECT_DOUBLE_EQ(Measure(shape, "Height", kCm), 1.5 * 2.54);

    pugi::xml_document xml;
    pugi::xml_node run = SavedBody(opened.doc, "ellipse.new.docx", xml).last_child().previous_sibling("w:p").last_child();
    EXPECT_TRUE(run.child("w:rPr").child("w:noProof"));
    EXPECT_STREQ(run.child("mc:AlternateContent").child("mc:Choice").attribute("Requires").value(), "wps");
    pugi::xml_node anchor = AnchorOf(run);
    EXPECT_STREQ(anchor.child("wp:positionH").attribute("relativeFrom").value(), "column");
    EXPECT_STREQ(anchor.child("wp:positionH").child_value("wp:posOffset"), "914400");
    EXPECT_STREQ(anchor.child("wp:positionV").child_value("wp:posOffset"), "1828800");
    EXPECT_STREQ(anchor.child("wp:extent").attribute("cx").value(), "2743200");
    EXPECT_STREQ(anchor.child("wp:extent").attribute("cy").value(), "1371600");
    EXPECT_TRUE(anchor.child("wp:wrapNone"));
    pugi::xml_node spPr = anchor.child("a:graphic").child("a:graphicData").child("wps:wsp").child("wps:spPr");
    EXPECT_STREQ(spPr.child("a:prstGeom").attribute("prst").value(), "ellipse");
    EXPECT_EQ(xml_print(spPr.child("a:xfrm")), "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"2743200\" cy=\"1371600\"/></a:xfrm>");
    EXPECT_EQ(CheckerFailures("ellipse.new.docx"), "");
}

// Positions and sizes read and written in every unit; fractions of an EMU
// are rounded, not cut.
TEST_F(ShapeTest, PositionAndSize) {
    Opened opened = NewParagraph("moved.new.docx");
    Object shape = AppendShape(opened.paragraph, kRectangle, 100, 200, 300, 400, kEmu);
    EXPECT_EQ(Measure(shape, "X", kEmu), 100);
    EXPECT_EQ(Measure(shape, "Y", kEmu), 200);
    EXPECT_EQ(Measure(shape, "Width", kEmu), 300);
    EXPECT_EQ(Measure(shape, "Height", kEmu), 400);
    rt().assign(shape, "X", {kEmu}, 5000.0);
    rt().assign(shape, "Y", {kCm}, 1.0);
    rt().assign(shape, "Width", {kInches}, 0.1);   // 91439.99999... EMU
    rt().assign(shape, "Height", {kEmu}, 999.6);
    EXPECT_EQ(Measure(shape, "Y", kEmu), 360000);
    pugi::xml_document xml;
    pugi::xml_node anchor = AnchorOf(SavedBody(opened.doc, "moved.new.docx", xml).last_child().previous_sibling("w:p").last_child());
    EXPECT_STREQ(anchor.child("wp:positionH").child_value("wp:posOffset"), "5000");
    EXPECT_STREQ(anchor.child("wp:extent").attribute("cx").value(), "91440");
    EXPECT_STREQ(anchor.child("wp:extent").attribute("cy").value(), "1000");
    pugi::xml_node ext = anchor.child("a:graphic").child("a:graphicData").child("wps:wsp").child("wps:spPr")
                             .child("a:xfrm").child("a:ext");
    EXPECT_STREQ(ext.attribute("cx").value(), "91440");
    EXPECT_STREQ(ext.attribute("cy").value(), "1000");
    // Beyond what the attributes hold: held at the limit.
    rt().assign(shape, "X", {kInches}, 1e9);
    EXPECT_EQ(Measure(shape, "X", kEmu), 2147483647.0);
}

// Types outside the table and negative sizes are refused before anything is
// written; the document stays as it was.
TEST_F(ShapeTest, ValuesThatCannotBeWritten) {
    Opened opened = NewParagraph("refused.new.docx");
    EXPECT_RAISED(AppendShape(opened.paragraph, kUnknown, 0, 0, 1, 1, kCm, "AppendShapeRun"),
                  "InvalidArgumentException", "Invalid value for shapoe type", 1);
    EXPECT_RAISED(AppendShape(opened.paragraph, 18, 0, 0, 1, 1, kCm), "InvalidArgumentException",
                  "Invalid value for shapoe type", 1);
    EXPECT_RAISED(AppendShape(opened.paragraph, 1000, 0, 0, 1, 1, kCm, "AppendShapeGroup"),
                  "InvalidArgumentException", "Invalid value for shapoe type", 1);
    EXPECT_RAISED(AppendShape(opened.paragraph, kRectangle, 0, 0, -1, 1, kCm, "AppendShapeGroupRun"),
                  "VexlomarWord.WordException", "Shape size cannot be negative", -40);
    EXPECT_EQ(Int(opened.paragraph, "RunCount"), 1);

    Object shape = AppendShape(opened.paragraph, kRectangle, 0, 0, 1, 1, kCm);
    EXPECT_RAISED(rt().assign(shape, "Height", {kCm}, -0.5), "VexlomarWord.WordException",
                  "Shape size cannot be negative", -40);
    EXPECT_EQ(Measure(shape, "Height", kCm), 1.0);
    EXPECT_EQ(Int(opened.paragraph, "RunCount"), 2);
}

// NaN and infinite values, which no file can hold: appending with one is
// refused (InvalidArgumentException by the parameter's place, nothing
// written); setting one changes nothing.
TEST_F(ShapeTest, NonFiniteValuesChangeNothing) {
    const double nan = std::nan(""), inf = HUGE_VAL;
    Opened opened = NewParagraph("non-finite.new.docx");
    EXPECT_RAISED(AppendShape(opened.paragraph, kRectangle, nan, 0, 1, 1, kCm), "InvalidArgumentException",
                  "Parameter x must be a finite number", 2);
    EXPECT_RAISED(AppendShape(opened.paragraph, kRectangle, 0, -inf, 1, 1, kCm, "AppendShapeRun"),
                  "InvalidArgumentException", "Parameter y must be a finite number", 3);
    EXPECT_RAISED(AppendShape(opened.paragraph, kRectangle, 0, 0, inf, 1, kCm, "AppendShapeGroup"),
                  "InvalidArgumentException", "Parameter cx must be a finite number", 4);
    EXPECT_RAISED(AppendShape(opened.paragraph, kRectangle, 0, 0, 1, nan, kCm, "AppendShapeGroupRun"),
                  "InvalidArgumentException", "Parameter cy must be a finite number", 5);
    EXPECT_EQ(Int(opened.paragraph, "RunCount"), 1);

    Object shape = AppendShape(opened.paragraph, kRectangle, 1, 2, 3, 4, kCm);
    rt().set(shape, "Rotation", 30.0);
    rt().set(shape, "LineWidth", 2.0);
    for (double bad : {nan, inf, -inf}) {
        for (const char* method : {"X", "Y", "Width", "Height"}) rt().assign(shape, method, {kCm}, bad);
        rt().set(shape, "Rotation", bad);
        rt().set(shape, "LineWidth", bad);
    }
    EXPECT_DOUBLE_EQ(Measure(shape, "X", kCm), 1.0);
    EXPECT_DOUBLE_EQ(Measure(shape, "Y", kCm), 2.0);
    EXPECT_DOUBLE_EQ(Measure(shape, "Width", kCm), 3.0);
    EXPECT_DOUBLE_EQ(Measure(shape, "Height", kCm), 4.0);
    EXPECT_DOUBLE_EQ(rt().get(shape, "Rotation").number(), 30.0);
    EXPECT_DOUBLE_EQ(rt().get(shape, "LineWidth").number(), 2.0);

    Object group = AppendShape(opened.paragraph, kRectangle, 0, 0, 1, 1, kCm, "AppendShapeGroup");
    EXPECT_RAISED(Call(group, "AppendShape", {kEllipse, 0.0, inf, 1.0, 1.0, kCm}), "InvalidArgumentException",
                  "Parameter y must be a finite number", 3);
    EXPECT_EQ(Int(group, "LastShapeIndex"), 0);
    for (double bad : {nan, inf})
        for (const char* method : {"X", "Y", "Width", "Height"}) rt().assign(group, method, {kCm}, bad);
    EXPECT_DOUBLE_EQ(Measure(group, "Width", kCm), 1.0);
    EXPECT_DOUBLE_EQ(Measure(group, "X", kCm), 0.0);
    Object member = Call(group, "Shape", {0});
    rt().set(member, "Rotation", inf);
    EXPECT_DOUBLE_EQ(rt().get(member, "Rotation").number(), 0.0);

    SaveCopy(opened.doc, "non-finite.new.docx");
    const std::string saved = zip_read(path("non-finite.new.docx"), "word/document.xml");
    EXPECT_EQ(saved.find("2147483647"), std::string::npos);
    EXPECT_EQ(saved.find("20116800"), std::string::npos);
    EXPECT_EQ(CheckerFailures("non-finite.new.docx"), "");
}

// Runs holding shapes and groups give them back; other runs give nil.
TEST_F(ShapeTest, RunsGiveTheirShapesBack) {
    Opened opened = NewParagraph("runs.new.docx");
    Object shapeRun = AppendShape(opened.paragraph, kCloud, 10, 20, 30, 40, kEmu, "AppendShapeRun");
    Object groupRun = AppendShape(opened.paragraph, kTriangle, 0, 0, 2, 1, kCm, "AppendShapeGroupRun");
    ASSERT_TRUE(shapeRun && groupRun);
    EXPECT_EQ(rt().className(shapeRun), "VexlomarWord.Run");
    EXPECT_TRUE(Bool(shapeRun, "IsShape"));
    EXPECT_TRUE(Bool(groupRun, "IsShape"));
    Object shape = rt().get(shapeRun, "Shape").object();
    ASSERT_TRUE(shape);
    EXPECT_EQ(Int(shape, "Type"), kCloud);
    EXPECT_EQ(Measure(shape, "Y", kEmu), 20);
    EXPECT_FALSE(rt().get(shapeRun, "ShapeGroup").object());
    Object group = rt().get(groupRun, "ShapeGroup").object();
    ASSERT_TRUE(group);
    EXPECT_EQ(rt().className(group), "VexlomarWord.ShapeGroup");
    EXPECT_FALSE(rt().get(groupRun, "Shape").object());
    EXPECT_FALSE(rt().get(Call(opened.paragraph, "Run", {0}), "Shape").object());
    EXPECT_FALSE(rt().get(Call(opened.paragraph, "Run", {0}), "ShapeGroup").object());
    // Text cannot be set on it.
    EXPECT_RAISED(rt().set(shapeRun, "Text", "x"), "VexlomarWord.WordException", "Text cannot be set on shape Run",
                  -26);

    pugi::xml_document xml;
    pugi::xml_node paragraph = SavedBody(opened.doc, "runs.new.docx", xml).last_child().previous_sibling("w:p");
    pugi::xml_node groupAnchor = AnchorOf(paragraph.last_child());
    EXPECT_STREQ(paragraph.last_child().child("mc:AlternateContent").child("mc:Choice").attribute("Requires").value(),
                 "wpg");
    pugi::xml_node wgp = groupAnchor.child("a:graphic").child("a:graphicData").child("wpg:wgp");
    EXPECT_EQ(xml_print(wgp.child("wpg:grpSpPr")),
              "<wpg:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"720000\" cy=\"360000\"/>"
              "<a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"720000\" cy=\"360000\"/></a:xfrm></wpg:grpSpPr>");
    pugi::xml_node member = wgp.child("wps:wsp");
    EXPECT_STREQ(member.child("wps:spPr").child("a:prstGeom").attribute("prst").value(), "triangle");
    EXPECT_FALSE(member.next_sibling("wps:wsp"));
    EXPECT_EQ(CheckerFailures("runs.new.docx"), "");
}

// Every drawing of a document has an id of its own, headers included.
TEST_F(ShapeTest, DrawingIdsAreUnique) {
    Opened opened = NewParagraph("ids.new.docx");
    Object header = Call(opened.doc, "Header", {0, true});
    Object headerParagraph = Call(header, "AppendParagraph", {"Head"});
    for (int i = 0; i < 20; ++i) {
        AppendShape(opened.paragraph, i % 18, 0, 0, 1, 1, kCm);
        AppendShape(headerParagraph, kRectangle, 0, 0, 1, 1, kCm, "AppendShapeGroup");
    }
    SaveCopy(opened.doc, "ids.new.docx");
    std::set<std::string> ids;
    int count = 0;
    for (const char* part : {"word/document.xml", "word/header1.xml"}) {
        pugi::xml_document xml;
        const std::string bytes = zip_read(path("ids.new.docx"), part);
        ASSERT_TRUE(xml.load_buffer(bytes.data(), bytes.size()));
        for (pugi::xpath_node docPr : xml.select_nodes("//*[name()='wp:docPr']")) {
            ids.insert(docPr.node().attribute("id").value());
            EXPECT_STREQ(docPr.node().attribute("name").value(), "Rectangle");
            ++count;
        }
    }
    EXPECT_EQ(count, 40);
    EXPECT_EQ(ids.size(), 40u);
    EXPECT_EQ(CheckerFailures("ids.new.docx"), "");
}

// A part from another tool that lacks the drawing prefixes gets them
// declared; a namespace of its own that it put on one of them keeps its
// declaration under another prefix.
TEST_F(ShapeTest, PrefixesDeclaredInPartsFromElsewhere) {
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>Plain</w:t></w:r></w:p>";
    parts.overrides["word/document.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:wps=\"urn:example:not-shapes\">"
        "<w:body><w:p><w:r><w:t>Plain</w:t></w:r></w:p><w:sectPr/></w:body></w:document>";
    write_docx(path("bare.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("bare.docx"))}).object();
    ASSERT_TRUE(doc);
    Object paragraph = Call(doc, "Paragraph", {0});
    Object shape = AppendShape(paragraph, kRectangle, 0, 0, 2, 1, kCm);
    AppendShape(paragraph, kEllipse, 0, 0, 2, 1, kCm, "AppendShapeGroup");
    ASSERT_TRUE(shape);
    SetColor(shape, "SolidFillColor", 0x00FF0000);
    pugi::xml_document xml;
    SavedBody(doc, "bare-shapes.docx", xml);
    pugi::xml_node root = xml.child("w:document");
    EXPECT_STREQ(root.attribute("xmlns:mc").value(), "http://schemas.openxmlformats.org/markup-compatibility/2006");
    EXPECT_STREQ(root.attribute("xmlns:wp").value(),
                 "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
    EXPECT_STREQ(root.attribute("xmlns:wpg").value(), "http://schemas.microsoft.com/office/word/2010/wordprocessingGroup");
    EXPECT_STREQ(root.attribute("xmlns:wps").value(), "http://schemas.microsoft.com/office/word/2010/wordprocessingShape");
    EXPECT_TRUE(root.find_attribute([](pugi::xml_attribute a) { return std::strcmp(a.value(), "urn:example:not-shapes") == 0; }));
    EXPECT_EQ(CheckerFailures("bare-shapes.docx"), "");
}
