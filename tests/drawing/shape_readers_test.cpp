// What other readers see of the shapes the library writes, and what the
// library reads of the shapes other tools write: LibreOffice renders a page
// of shapes (pixels of their fills, text of a text box), and converts a
// hand-written OpenDocument drawing to .docx for the library to read.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "libreoffice.h"
#include "rendered_page.h"
#include "shape_fixture.h"

using vexrt::Object;

namespace {

class ShapeReadersTest : public ShapeFixture {};

constexpr int kDpi = 50;

}  // namespace

// A page of shapes: every preset type, explicit and theme fills, lines in
// several colours, a rotated shape, a text box and a group of three.
TEST_F(ShapeReadersTest, LibreOfficeRendersShapesWithTheirFills) {
    if (!libreoffice_available() || !pdf_tools_available() || std::system("command -v pdftoppm >/dev/null") != 0)
        GTEST_SKIP() << "LibreOffice or poppler's tools are not installed";
    Object doc = Create("page.new.docx");
    Object paragraph = Call(doc, "AppendParagraph", {"Shapes"});
    // Positions in inches from the column's left and the paragraph's top.
    Object red = AppendShape(paragraph, kRectangle, 0, 0, 1.5, 1, kInches);
    SetColor(red, "SolidFillColor", 0x00FF0000);
    rt().set(red, "NoLine", true);
    AppendShape(paragraph, kEllipse, 2, 0, 1.5, 1, kInches);  // the theme's accent1 through its style
    Object turned = AppendShape(paragraph, kRectangle, 4, 0, 1, 1, kInches);
    SetColor(turned, "SolidFillColor", 0x0000A000);
    SetColor(turned, "LineColor", 0x00000000);
    rt().set(turned, "Rotation", 30.0);

    Object boxShape = AppendShape(paragraph, kRoundedRectangle, 0, 1.5, 3, 1.2, kInches);
    SetColor(boxShape, "SolidFillColor", 0x00FFF2CC);
    Object box = Call(boxShape, "Container", {true});
    Object boxRun = Call(Call(box, "Paragraph", {0}), "AppendRun", {"Thank you for reading"});
    rt().set(boxRun, "TextColor", vexrt::Color{0x00000000});
    Call(box, "AppendParagraph", {"Second text-box line"});

    Object group = AppendShape(paragraph, kRectangle, 3.5, 1.5, 0.8, 1, kInches, "AppendShapeGroup");
    SetColor(Call(group, "Shape", {0}), "SolidFillColor", 0x000000FF);
    SetColor(Call(group, "AppendShape", {kEllipse, 0.85, 0.0, 0.8, 1.0, kInches}), "SolidFillColor", 0x00FF00FF);
    SetColor(Call(group, "AppendShape", {kTriangle, 1.7, 0.0, 0.8, 1.0, kInches}), "SolidFillColor", 0x00FF8000);
    EXPECT_NEAR(Measure(group, "Width", kInches), 2.5, 1e-6);

    const uint32_t palette[] = {0x00C00000, 0x0000B050, 0x007030A0, 0x00FFC000, 0x0000B0F0, 0x00808080};
    for (int type = 0; type <= 17; ++type) {
        Object shape = AppendShape(paragraph, type, (type % 6) * 1.0, 3 + (type / 6) * 0.9, 0.8, 0.6, kInches);
        SetColor(shape, "SolidFillColor", palette[type % 6]);
        SetColor(shape, "LineColor", palette[(type + 3) % 6]);
        rt().set(shape, "LineWidth", 1.5);
    }
    rt().call(doc, "Save");
    EXPECT_EQ(CheckerFailures("page.new.docx"), "");

    ASSERT_TRUE(libreoffice_convert(path("page.new.docx"), "pdf", outDir()));
    const std::string text = command_output("pdftotext -layout '" + path("page.new.pdf") + "' -");
    EXPECT_NE(text.find("Thank you for reading"), std::string::npos) << text;
    EXPECT_NE(text.find("Second text-box line"), std::string::npos) << text;
    command_output("pdftoppm -r " + std::to_string(kDpi) + " -f 1 -l 1 -singlefile '" + path("page.new.pdf") +
                   "' '" + path("page") + "'");
    Pixmap page;
    ASSERT_TRUE(ReadPpm(path("page.ppm"), page));

    // The paragraph's top: the first red pixel down the red rectangle's
    // middle.
    const int left = kDpi;  // one-inch margin
    auto X = [&](double inches) { return left + int(inches * kDpi); };
    int top = -1;
    for (int y = 0; y < page.height && top < 0; ++y)
        if (Near(page.At(X(0.75), y), 0xFF0000)) top = y;
    ASSERT_GT(top, 0) << "no red rectangle";
    auto Y = [&](double inches) { return top + int(inches * kDpi); };
    struct Probe {
        const char* what;
        double x, y;
        uint32_t color;
    } probes[] = {
        {"red rectangle", 0.75, 0.5, 0xFF0000},      {"theme ellipse", 2.75, 0.5, 0x4472C4},
        {"rotated square", 4.5, 0.5, 0x00A000},      {"text box", 0.2, 2.5, 0xFFF2CC},
        {"group rectangle", 3.9, 2.0, 0x0000FF},     {"group ellipse", 4.75, 2.0, 0xFF00FF},
        {"group triangle", 5.6, 2.2, 0xFF8000},      {"preset rectangle", 0.4, 3.3, 0xC00000},
        {"preset ellipse", 2.4, 3.3, 0x7030A0},      {"preset octagon", 2.4, 4.2, 0x7030A0},
        {"preset dodecagon", 4.4, 4.2, 0x00B0F0},    {"preset diamond", 5.4, 4.2, 0x808080},
        {"preset teardrop", 5.4, 5.1, 0x808080},
    };
    for (const Probe& probe : probes)
        EXPECT_TRUE(Near(page.At(X(probe.x), Y(probe.y)), probe.color))
            << probe.what << ": " << Hex(page.At(X(probe.x), Y(probe.y))) << " instead of " << Hex(probe.color);
    // Outside every shape the page stays white.
    EXPECT_TRUE(Near(page.At(X(6.3), Y(0.5)), 0xFFFFFF));
}

// Shapes from another tool: LibreOffice writes a .docx from an OpenDocument
// drawing; the library reads type, place, size, colours, wrap and text, and
// adds a shape of its own to the file.
TEST_F(ShapeReadersTest, ShapesOfAnotherTool) {
    if (!libreoffice_available()) GTEST_SKIP() << "LibreOffice is not installed";
    const std::string fodt =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
        "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
        "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" office:version=\"1.3\" "
        "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:automatic-styles>"
        "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties draw:fill=\"solid\" "
        "draw:fill-color=\"#ff0000\" svg:stroke-color=\"#0000ff\" draw:stroke=\"solid\" style:wrap=\"none\" "
        "draw:auto-grow-height=\"false\" draw:auto-grow-width=\"false\" style:vertical-pos=\"from-top\" "
        "style:vertical-rel=\"paragraph\" style:horizontal-pos=\"from-left\" style:horizontal-rel=\"paragraph\"/>"
        "</style:style></office:automatic-styles><office:body><office:text>"
        "<text:p>Before the shape<draw:custom-shape text:anchor-type=\"paragraph\" draw:z-index=\"0\" "
        "draw:style-name=\"gr1\" svg:x=\"1in\" svg:y=\"0.5in\" svg:width=\"2in\" svg:height=\"1in\">"
        "<text:p>Box text</text:p><draw:enhanced-geometry svg:viewBox=\"0 0 21600 21600\" draw:type=\"ellipse\" "
        "draw:enhanced-path=\"U 10800 10800 10800 10800 0 360 Z N\"/></draw:custom-shape></text:p>"
        "</office:text></office:body></office:document>";
    {
        std::ofstream out(path("drawn.fodt"), std::ios::binary);
        out << fodt;
    }
    ASSERT_TRUE(libreoffice_convert(path("drawn.fodt"), "docx", outDir()));
    Object doc = rt().callShared("Document", "Open", {folderItem(path("drawn.docx"))}).object();
    ASSERT_TRUE(doc);
    Object paragraph = Call(doc, "Paragraph", {0});
    Object shape;
    for (int64_t i = 0; i < Int(paragraph, "RunCount") && !shape; ++i)
        shape = rt().get(Call(paragraph, "Run", {i}), "Shape").object();
    ASSERT_TRUE(shape) << "no shape read";
    EXPECT_EQ(Int(shape, "Type"), kEllipse);
    EXPECT_NEAR(Measure(shape, "X", kInches), 1.0, 1e-3);
    EXPECT_NEAR(Measure(shape, "Y", kInches), 0.5, 1e-3);
    EXPECT_NEAR(Measure(shape, "Width", kInches), 2.0, 1e-3);
    EXPECT_NEAR(Measure(shape, "Height", kInches), 1.0, 1e-3);
    EXPECT_EQ(ColorOf(shape, "SolidFillColor"), 0x00FF0000u);
    EXPECT_EQ(ColorOf(shape, "LineColor"), 0x000000FFu);
    Object box = Call(shape, "Container", {false});
    ASSERT_TRUE(box);
    EXPECT_EQ(Str(Call(box, "Paragraph", {0}), "Text"), "Box text");

    // A shape of our own beside it, in a part written by another tool.
    Object added = AppendShape(paragraph, kHexagon, 3.5, 0, 1, 1, kInches);
    ASSERT_TRUE(added);
    rt().set(added, "TextWrap", 1);
    SaveCopy(doc, "drawn-more.docx");
    EXPECT_EQ(CheckerFailures("drawn-more.docx"), "");
}
