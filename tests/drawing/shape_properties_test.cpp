// Shape appearance through the host: type, handles, fill, line, rotation,
// text anchoring and wrap, and DrawingML colours resolved through the theme.
#include <fstream>
#include <iterator>
#include <string>

#include "shape_fixture.h"

using vexrt::Object;

namespace {

enum { kNoFill = 0, kSolidFill = 1, kGradientFill = 2, kPatternFill = 4 };
enum { kEndNone = 0, kArrow = 1, kOval = 2, kStealth = 5 };
enum { kWrapNone = 0, kSquare = 1, kThrough = 2, kTight = 3, kTopAndBottom = 4 };

class ShapePropertiesTest : public ShapeFixture {
protected:
    pugi::xml_node SavedWsp(const Object& doc, const std::string& file, pugi::xml_document& xml) {
        return SavedAnchor(doc, file, xml).child("a:graphic").child("a:graphicData").child("wps:wsp");
    }
    pugi::xml_node SavedAnchor(const Object& doc, const std::string& file, pugi::xml_document& xml) {
        return SavedBody(doc, file, xml).last_child().previous_sibling("w:p").last_child()
            .child("mc:AlternateContent").child("mc:Choice").child("w:drawing").child("wp:anchor");
    }
    // A shape of another tool: the given wps:spPr inner XML and wps:style.
    Object ForeignShape(const std::string& file, const std::string& spPr, const std::string& style = "",
                        const std::string& bodyPr = "<wps:bodyPr/>") {
        const std::string run =
            "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing>"
            "<wp:anchor distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" simplePos=\"0\" relativeHeight=\"1\" "
            "behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\"><wp:simplePos x=\"0\" y=\"0\"/>"
            "<wp:positionH relativeFrom=\"column\"><wp:posOffset>0</wp:posOffset></wp:positionH>"
            "<wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>0</wp:posOffset></wp:positionV>"
            "<wp:extent cx=\"1000\" cy=\"1000\"/><wp:wrapNone/><wp:docPr id=\"3\" name=\"Shape 3\"/>"
            "<wp:cNvGraphicFramePr/><a:graphic><a:graphicData "
            "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:wsp><wps:cNvSpPr/>"
            "<wps:spPr>" + spPr + "</wps:spPr>" + style + bodyPr +
            "</wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice></mc:AlternateContent></w:r>";
        // With the blank package's theme, which scheme colours name.
        std::ifstream themeFile(std::string(VEXWORD_SOURCE_DIR) + "/src/package/blank/word/theme/theme1.xml");
        const std::string theme((std::istreambuf_iterator<char>(themeFile)), std::istreambuf_iterator<char>());
        DocxParts parts;
        parts.body = "<w:p>" + run + "</w:p>";
        parts.extraEntries.push_back({"word/theme/theme1.xml", theme});
        parts.documentRelationships =
            "<Relationship Id=\"rIdTheme\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
            "relationships/theme\" Target=\"theme/theme1.xml\"/>";
        parts.overrides["[Content_Types].xml"] =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
            "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
            "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
            "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
            "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
            "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
            "<Override PartName=\"/word/theme/theme1.xml\" ContentType=\"application/"
            "vnd.openxmlformats-officedocument.theme+xml\"/></Types>";
        write_docx(path(file), parts);
        keep_ = rt().callShared("Document", "Open", {folderItem(path(file))}).object();
        if (!keep_) return Object();
        Object paragraph = Call(keep_, "Paragraph", {0});
        return rt().get(Call(paragraph, "Run", {0}), "Shape").object();
    }
    void TearDown() override {
        keep_ = Object();
        ShapeFixture::TearDown();
    }
    Object keep_;
};

}  // namespace

// A new shape takes its colours from the theme through its style.
TEST_F(ShapePropertiesTest, NewShapeColoursFromTheTheme) {
    Opened opened = NewParagraph("theme.new.docx");
    Object shape = AppendShape(opened.paragraph, kRectangle, 0, 0, 1, 1, kCm);
    EXPECT_EQ(Int(shape, "FillType"), kSolidFill);
    EXPECT_EQ(ColorOf(shape, "SolidFillColor"), 0x004472C4u);  // accent1
    EXPECT_EQ(ColorOf(shape, "LineColor"), 0x000A111Du);       // accent1, shade 15%
    EXPECT_FALSE(Bool(shape, "NoFill"));
    EXPECT_FALSE(Bool(shape, "NoLine"));
    EXPECT_DOUBLE_EQ(rt().get(shape, "LineWidth").number(), 1.0);
    EXPECT_EQ(Int(shape, "VerticalAlignment"), 1);
    EXPECT_EQ(Int(shape, "TextWrap"), kWrapNone);
    EXPECT_EQ(Int(shape, "LineCompundType"), 0);
    EXPECT_EQ(Int(shape, "LineHeadEnd"), kEndNone);
    for (int type = 0; type <= 17; ++type)
        EXPECT_EQ(Int(AppendShape(opened.paragraph, type, 0, 0, 1, 1, kCm), "Type"), type);
}

// Fills: a solid colour with transparency, no fill, and every other fill
// choice replaced whole; the fill stays before the line.
TEST_F(ShapePropertiesTest, Fills) {
    Opened opened = NewParagraph("fills.new.docx");
    Object shape = AppendShape(opened.paragraph, kEllipse, 0, 0, 1, 1, kCm);
    rt().set(shape, "LineWidth", 2.0);  // a:ln first, so the fill must go before it
    SetColor(shape, "SolidFillColor", 0x80FF0000);
    EXPECT_EQ(ColorOf(shape, "SolidFillColor"), 0x81FF0000u);  // alpha 49803 reads back as 126
    rt().set(shape, "NoFill", true);
    EXPECT_TRUE(Bool(shape, "NoFill"));
    EXPECT_EQ(Int(shape, "FillType"), kNoFill);
    SetColor(shape, "SolidFillColor", 0x0000FF00);
    EXPECT_FALSE(Bool(shape, "NoFill"));
    rt().set(shape, "NoFill", false);
    EXPECT_EQ(ColorOf(shape, "SolidFillColor"), 0x0000FF00u);
    pugi::xml_document xml;
    pugi::xml_node spPr = SavedWsp(opened.doc, "fills.new.docx", xml).child("wps:spPr");
    EXPECT_EQ(xml_print(spPr.child("a:solidFill")), "<a:solidFill><a:srgbClr val=\"00FF00\"/></a:solidFill>");
    EXPECT_FALSE(spPr.child("a:noFill"));
    EXPECT_STREQ(spPr.child("a:solidFill").next_sibling().name(), "a:ln");
    EXPECT_EQ(CheckerFailures("fills.new.docx"), "");

    Object gradient = ForeignShape("gradient.docx",
                                   "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom><a:gradFill><a:gsLst/></a:gradFill>"
                                   "<a:pattFill prst=\"pct5\"/>");
    ASSERT_TRUE(gradient);
    EXPECT_EQ(Int(gradient, "FillType"), kGradientFill);
    rt().set(gradient, "NoFill", true);
    SaveCopy(keep_, "gradient-nofill.docx");
    const std::string saved = zip_read(path("gradient-nofill.docx"), "word/document.xml");
    EXPECT_EQ(saved.find("a:gradFill"), std::string::npos);
    EXPECT_EQ(saved.find("a:pattFill"), std::string::npos);
}

// The line: colour, no line, width, compound type and ends, each in its
// schema place; every fill choice of the line replaced whole.
TEST_F(ShapePropertiesTest, Lines) {
    Object shape = ForeignShape("line.docx",
                                "<a:prstGeom prst=\"line\"><a:avLst/></a:prstGeom>"
                                "<a:ln w=\"6350\"><a:gradFill><a:gsLst/></a:gradFill><a:pattFill prst=\"pct5\"/>"
                                "<a:tailEnd type=\"oval\"/></a:ln>");
    ASSERT_TRUE(shape);
    EXPECT_DOUBLE_EQ(rt().get(shape, "LineWidth").number(), 0.5);
    EXPECT_EQ(Int(shape, "LineTailEnd"), kOval);
    SetColor(shape, "LineColor", 0x00336699);
    EXPECT_EQ(ColorOf(shape, "LineColor"), 0x00336699u);
    rt().set(shape, "LineHeadEnd", kStealth);
    rt().set(shape, "LineHeadEnd", 6);    // outside the list: nothing
    rt().set(shape, "LineTailEnd", -1);   // likewise
    EXPECT_EQ(Int(shape, "LineHeadEnd"), kStealth);
    EXPECT_EQ(Int(shape, "LineTailEnd"), kOval);
    rt().set(shape, "LineCompundType", 4);
    EXPECT_EQ(Int(shape, "LineCompundType"), 4);
    rt().set(shape, "LineWidth", 2.5);
    pugi::xml_document xml;
    pugi::xml_node line = SavedWsp(keep_, "line-saved.docx", xml).child("wps:spPr").child("a:ln");
    EXPECT_EQ(xml_print(line),
              "<a:ln w=\"31750\" cmpd=\"tri\"><a:solidFill><a:srgbClr val=\"336699\"/></a:solidFill>"
              "<a:headEnd type=\"stealth\" w=\"lg\" len=\"lg\"/><a:tailEnd type=\"oval\"/></a:ln>");
    EXPECT_EQ(CheckerFailures("line-saved.docx"), "");

    rt().set(shape, "NoLine", true);
    EXPECT_TRUE(Bool(shape, "NoLine"));
    rt().set(shape, "LineHeadEnd", kEndNone);
    rt().set(shape, "LineWidth", 1.0);
    rt().set(shape, "LineCompundType", 99);
    pugi::xml_document xml2;
    line = SavedWsp(keep_, "noline-saved.docx", xml2).child("wps:spPr").child("a:ln");
    EXPECT_EQ(xml_print(line), "<a:ln cmpd=\"sng\"><a:noFill/><a:tailEnd type=\"oval\"/></a:ln>");
    rt().set(shape, "NoLine", false);
    EXPECT_FALSE(Bool(shape, "NoLine"));
}

// Rotation, text anchoring (a missing anchor is top, and setting adds it)
// and handle adjustments.
TEST_F(ShapePropertiesTest, RotationAnchorAndHandles) {
    Object shape = ForeignShape("handles.docx",
                                "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"1000\" cy=\"1000\"/></a:xfrm>"
                                "<a:prstGeom prst=\"hexagon\"><a:avLst/></a:prstGeom>");
    ASSERT_TRUE(shape);
    EXPECT_EQ(Int(shape, "VerticalAlignment"), 0);
    rt().set(shape, "VerticalAlignment", 2);
    EXPECT_EQ(Int(shape, "VerticalAlignment"), 2);
    rt().set(shape, "VerticalAlignment", 7);
    EXPECT_EQ(Int(shape, "VerticalAlignment"), 2);
    rt().set(shape, "Rotation", 45.5);
    EXPECT_DOUBLE_EQ(rt().get(shape, "Rotation").number(), 45.5);
    EXPECT_FALSE(Bool(shape, "HasHandleAdjustment1"));
    rt().set(shape, "HandleAdjustment1", 70000);
    EXPECT_TRUE(Bool(shape, "HasHandleAdjustment1"));
    EXPECT_EQ(Int(shape, "HandleAdjustment1"), 50000);
    rt().set(shape, "HandleAdjustment2", 5);
    EXPECT_FALSE(Bool(shape, "HasHandleAdjustment2"));
    EXPECT_EQ(Int(shape, "HandleAdjustment2"), 0);
    pugi::xml_document xml;
    pugi::xml_node wsp = SavedWsp(keep_, "handles-saved.docx", xml);
    EXPECT_STREQ(wsp.child("wps:bodyPr").attribute("anchor").value(), "b");
    EXPECT_STREQ(wsp.child("wps:spPr").child("a:xfrm").attribute("rot").value(), "2730000");
    EXPECT_EQ(xml_print(wsp.child("wps:spPr").child("a:prstGeom").child("a:avLst")),
              "<a:avLst><a:gd name=\"adj\" fmla=\"val 50000\"/><a:gd name=\"vf\" fmla=\"val 115470\"/></a:avLst>");
    rt().set(shape, "Rotation", 0.0);
    EXPECT_DOUBLE_EQ(rt().get(shape, "Rotation").number(), 0.0);

    Opened opened = NewParagraph("callout.new.docx");
    Object callout = AppendShape(opened.paragraph, kEllipseCallout, 0, 0, 3, 2, kCm);
    rt().set(callout, "HandleAdjustment1", -20833);
    rt().set(callout, "HandleAdjustment2", 62500);
    EXPECT_EQ(Int(callout, "HandleAdjustment1"), -20833);
    EXPECT_EQ(Int(callout, "HandleAdjustment2"), 62500);
    Object rectangle = AppendShape(opened.paragraph, kRectangle, 0, 0, 3, 2, kCm);
    rt().set(rectangle, "HandleAdjustment1", 100);
    EXPECT_EQ(Int(rectangle, "HandleAdjustment1"), 0);
    SaveCopy(opened.doc, "callout.new.docx");
    EXPECT_EQ(CheckerFailures("callout.new.docx"), "");
}

// Wrap: each change builds a whole new element with what the schema
// requires; values outside the list change nothing.
TEST_F(ShapePropertiesTest, TextWrap) {
    Opened opened = NewParagraph("wrap.new.docx");
    Object shape = AppendShape(opened.paragraph, kRectangle, 0, 0, 1, 1, kCm);
    rt().set(shape, "TextWrap", kTight);
    EXPECT_EQ(Int(shape, "TextWrap"), kTight);
    rt().set(shape, "TextWrap", 5);
    rt().set(shape, "TextWrap", -1);
    EXPECT_EQ(Int(shape, "TextWrap"), kTight);
    pugi::xml_document xml;
    pugi::xml_node anchor = SavedAnchor(opened.doc, "wrap.new.docx", xml);
    pugi::xml_node wrap = anchor.child("wp:wrapTight");
    EXPECT_STREQ(wrap.attribute("wrapText").value(), "bothSides");
    EXPECT_TRUE(wrap.child("wp:wrapPolygon").child("wp:start"));
    EXPECT_STREQ(wrap.next_sibling().name(), "wp:docPr");
    EXPECT_FALSE(anchor.child("wp:wrapNone"));
    EXPECT_EQ(CheckerFailures("wrap.new.docx"), "");
    for (int value : {kSquare, kThrough, kTopAndBottom, kWrapNone}) {
        rt().set(shape, "TextWrap", value);
        EXPECT_EQ(Int(shape, "TextWrap"), value);
    }
    rt().set(shape, "TextWrap", kSquare);
    SaveCopy(opened.doc, "square.new.docx");
    EXPECT_EQ(CheckerFailures("square.new.docx"), "");
}

// Colours of other tools: scheme colours through the theme's mapping,
// HSL hue in 60000ths of a degree, scRGB, system colours, transforms held
// within range.
TEST_F(ShapePropertiesTest, ColoursOfOtherTools) {
    struct Case {
        const char* fill;
        uint32_t expected;
    } cases[] = {
        {"<a:schemeClr val=\"tx1\"/>", 0x00000000},                  // dk1
        {"<a:schemeClr val=\"bg1\"/>", 0x00FFFFFF},
        {"<a:schemeClr val=\"accent2\"/>", 0x00ED7D31},
        {"<a:hslClr hue=\"7200000\" sat=\"100000\" lum=\"50000\"/>", 0x0000FF00},  // 120 degrees
        {"<a:scrgbClr r=\"100000\" g=\"0\" b=\"50000\"/>", 0x00FF007F},
        {"<a:sysClr val=\"windowText\" lastClr=\"123456\"/>", 0x00123456},
        {"<a:srgbClr val=\"000000\"><a:tint val=\"40000\"/></a:srgbClr>", 0x00999999},
        {"<a:srgbClr val=\"808080\"><a:shade val=\"250000\"/></a:srgbClr>", 0x00808080},
        {"<a:srgbClr val=\"FF0000\"><a:lumMod val=\"300000\"/><a:lumOff val=\"90000\"/></a:srgbClr>", 0x00FFFFFF},
        {"<a:srgbClr val=\"FF0000\"><a:alpha val=\"-5000\"/></a:srgbClr>", 0xFFFF0000},
    };
    int n = 0;
    for (const Case& c : cases) {
        Object shape = ForeignShape("colour" + std::to_string(n++) + ".docx",
                                    std::string("<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom><a:solidFill>") +
                                        c.fill + "</a:solidFill>");
        ASSERT_TRUE(shape);
        EXPECT_EQ(ColorOf(shape, "SolidFillColor"), c.expected) << c.fill;
    }
}
