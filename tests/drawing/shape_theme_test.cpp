// Shapes added to packages without a theme (some writers make none): the
// shape's colours come from the theme, so the blank package's theme comes
// with the first shape, and the shape looks as it does in a new document.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "libreoffice.h"
#include "rendered_page.h"
#include "shape_fixture.h"

using vexrt::Object;

namespace {

constexpr uint32_t kAccent1 = 0x004472C4;  // the blank theme's accent1

bool HasEntry(const std::string& file, const std::string& name) {
    const std::vector<std::string> entries = zip_entries(file);
    return std::find(entries.begin(), entries.end(), name) != entries.end();
}

class ShapeThemeTest : public ShapeFixture {
protected:
    // The colours of a rectangle in a new document, to compare with.
    void NewDocumentColors(uint32_t& fill, uint32_t& line) {
        Opened made = NewParagraph("reference.new.docx");
        Object shape = AppendShape(made.paragraph, kRectangle, 0, 0, 1, 1, kInches);
        fill = ColorOf(shape, "SolidFillColor");
        line = ColorOf(shape, "LineColor");
    }

    // Appends a rectangle to the document's first paragraph, checks its
    // colours against a new document's, saves it as `file` and checks the
    // saved package: a theme part, related and typed, and the checker.
    void AppendAndCheck(const Object& doc, const std::string& file, const std::string& themeEntry) {
        uint32_t fill = 0, line = 0;
        NewDocumentColors(fill, line);
        ASSERT_EQ(fill, kAccent1);
        Object shape = AppendShape(Call(doc, "Paragraph", {0}), kRectangle, 0.5, 0.2, 2, 1, kInches);
        ASSERT_TRUE(shape);
        EXPECT_EQ(ColorOf(shape, "SolidFillColor"), fill);
        EXPECT_EQ(ColorOf(shape, "LineColor"), line);
        EXPECT_NE(ColorOf(shape, "LineColor"), 0u);
        // A second shape finds the theme there.
        Object second = AppendShape(Call(doc, "Paragraph", {0}), kEllipse, 3, 0.2, 1, 1, kInches);
        EXPECT_EQ(ColorOf(second, "SolidFillColor"), fill);

        SaveCopy(doc, file);
        ASSERT_TRUE(HasEntry(path(file), themeEntry));
        EXPECT_NE(zip_read(path(file), themeEntry).find("<a:accent1>"), std::string::npos);
        const std::string rels = zip_read(path(file), "word/_rels/document.xml.rels");
        const std::string target = themeEntry.substr(5);  // "theme/themeN.xml"
        EXPECT_NE(rels.find("relationships/theme\" Target=\"" + target + "\""), std::string::npos) << rels;
        const std::string types = zip_read(path(file), "[Content_Types].xml");
        EXPECT_NE(types.find("PartName=\"/" + themeEntry +
                             "\" ContentType=\"application/vnd.openxmlformats-officedocument.theme+xml\""),
                  std::string::npos)
            << types;
        EXPECT_EQ(CheckerFailures(file), "");
    }

    // What LibreOffice draws: the page as pixels, and whether the theme's
    // fill is on it. Skipped without LibreOffice or poppler's tools.
    void ExpectRenderedFill(const std::string& file) {
        if (!libreoffice_available() || !pdf_tools_available() ||
            std::system("command -v pdftoppm >/dev/null") != 0)
            return;
        ASSERT_TRUE(libreoffice_convert(path(file), "pdf", outDir()));
        const std::string base = file.substr(0, file.size() - 5);
        command_output("pdftoppm -r 50 -f 1 -l 1 -singlefile '" + path(base + ".pdf") + "' '" + path(base) + "'");
        Pixmap page;
        ASSERT_TRUE(ReadPpm(path(base + ".ppm"), page));
        // A 2 in by 1 in rectangle at 50 dpi is 5000 pixels; most of it
        // shows the fill.
        EXPECT_GT(Pixmap_CountNear(page, kAccent1), 2500) << file << ": the shape's fill is not drawn";
    }
};

}  // namespace

// A hand-made package without a theme part gets the blank package's theme
// with its first shape; the shape reads and renders as in a new document.
TEST_F(ShapeThemeTest, PackageWithoutThemeGetsTheBlankTheme) {
    Object doc = OpenBody("no-theme.docx", "<w:p><w:r><w:t>Anchor</w:t></w:r></w:p>");
    ASSERT_TRUE(doc);
    ASSERT_FALSE(HasEntry(path("no-theme.docx"), "word/theme/theme1.xml"));
    AppendAndCheck(doc, "no-theme-shape.docx", "word/theme/theme1.xml");
    // Saved again, the theme is written once more, as it is.
    rt().call(doc, "SaveAs", {folderItem(path("no-theme-again.docx"))});
    EXPECT_EQ(zip_read(path("no-theme-again.docx"), "word/theme/theme1.xml"),
              zip_read(path("no-theme-shape.docx"), "word/theme/theme1.xml"));
    EXPECT_EQ(CheckerFailures("no-theme-again.docx"), "");
    ExpectRenderedFill("no-theme-shape.docx");
}

// An entry the package holds under the usual name without relating it is
// left as it was: the theme takes the next free name.
TEST_F(ShapeThemeTest, AddedThemeTakesAFreeName) {
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>Anchor</w:t></w:r></w:p>";
    parts.extraEntries.push_back({"word/theme/theme1.xml", "<keep/>"});
    write_docx(path("stray-theme.in"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("stray-theme.in"))}).object();
    ASSERT_TRUE(doc);
    AppendAndCheck(doc, "stray-theme-shape.docx", "word/theme/theme2.xml");
    EXPECT_EQ(zip_read(path("stray-theme-shape.docx"), "word/theme/theme1.xml"), "<keep/>");
}

// A package that has a theme keeps it, untouched.
TEST_F(ShapeThemeTest, PackageWithThemeKeepsIt) {
    Opened made = NewParagraph("themed.new.docx");
    AppendShape(made.paragraph, kRectangle, 0, 0, 1, 1, kInches);
    SaveCopy(made.doc, "themed.new.docx");
    EXPECT_FALSE(HasEntry(path("themed.new.docx"), "word/theme/theme2.xml"));
    const std::string rels = zip_read(path("themed.new.docx"), "word/_rels/document.xml.rels");
    size_t count = 0;
    for (size_t at = rels.find("relationships/theme\""); at != std::string::npos;
         at = rels.find("relationships/theme\"", at + 1))
        ++count;
    EXPECT_EQ(count, 1u);
}

// A group member of a package without a theme takes the theme's colours
// too, and a package written by LibreOffice (which may write no theme)
// gets shapes LibreOffice draws with their fill.
TEST_F(ShapeThemeTest, GroupsAndLibreOfficePackages) {
    Object doc = OpenBody("no-theme-group.docx", "<w:p><w:r><w:t>Anchor</w:t></w:r></w:p>");
    Object group = AppendShape(Call(doc, "Paragraph", {0}), kRectangle, 0, 0, 1, 1, kInches, "AppendShapeGroup");
    ASSERT_TRUE(group);
    EXPECT_EQ(ColorOf(Call(group, "Shape", {0}), "SolidFillColor"), kAccent1);
    EXPECT_EQ(ColorOf(Call(group, "AppendShape", {kEllipse, 1.0, 0.0, 1.0, 1.0, kInches}), "SolidFillColor"),
              kAccent1);
    SaveCopy(doc, "no-theme-group-saved.docx");
    EXPECT_EQ(CheckerFailures("no-theme-group-saved.docx"), "");

    if (!libreoffice_available()) GTEST_SKIP() << "LibreOffice is not installed";
    {
        std::ofstream out(path("plain.fodt"), std::ios::binary);
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
               "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
               "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.3\" "
               "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body><office:text>"
               "<text:p>Written elsewhere</text:p></office:text></office:body></office:document>";
    }
    ASSERT_TRUE(libreoffice_convert(path("plain.fodt"), "docx", outDir()));
    const bool hadTheme = HasEntry(path("plain.docx"), "word/theme/theme1.xml");
    Object written = rt().callShared("Document", "Open", {folderItem(path("plain.docx"))}).object();
    ASSERT_TRUE(written);
    if (hadTheme) {
        // This LibreOffice writes a theme of its own: the shape takes its
        // colours from that one, which must not read as black.
        Object shape = AppendShape(Call(written, "Paragraph", {0}), kRectangle, 0.5, 0.2, 2, 1, kInches);
        EXPECT_NE(ColorOf(shape, "SolidFillColor") & 0xFFFFFF, 0u);
        SaveCopy(written, "plain-shape.docx");
        EXPECT_EQ(CheckerFailures("plain-shape.docx"), "");
        return;
    }
    AppendAndCheck(written, "plain-shape.docx", "word/theme/theme1.xml");
    ExpectRenderedFill("plain-shape.docx");
}
