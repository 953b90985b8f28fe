// Tables in a shape's text box: the box always ends with a paragraph, as a
// table cell does, and other readers show the cells.
#include <string>

#include <gtest/gtest.h>

#include "libreoffice.h"
#include "shape_fixture.h"

using vexrt::Object;

namespace {

class ShapeTableTest : public ShapeFixture {
protected:
    // The element names of the first text box of the saved main part.
    std::vector<std::string> BoxChildren(const Object& doc, const std::string& file) {
        pugi::xml_document xml;
        SavedBody(doc, file, xml);
        std::vector<std::string> names;
        for (pugi::xml_node child : xml.select_node("//w:txbxContent").node().children())
            if (child.type() == pugi::node_element) names.push_back(child.name());
        return names;
    }
};

using Names = std::vector<std::string>;

}  // namespace

// A table appended to a text box is followed by a paragraph; removing
// that paragraph, or the table's last row, leaves a paragraph last.
// LibreOffice prints the cells' texts inside the shape.
TEST_F(ShapeTableTest, ATextBoxTableIsFollowedByAParagraphAndPrinted) {
    Opened made = NewParagraph("box.new.docx");
    Object shape = AppendShape(made.paragraph, kRectangle, 0, 0.5, 4, 2, kInches);
    ASSERT_TRUE(shape);
    rt().set(shape, "NoFill", true);
    Object box = Call(shape, "Container", {true});
    ASSERT_TRUE(box);
    rt().call(Call(box, "Paragraph", {0}), "AppendRun", {"Prices"});
    Object table = Call(box, "AppendTable", {2, 2});
    ASSERT_TRUE(table);
    EXPECT_EQ(rt().className(table), "VexlomarWord.Table");
    const char* const texts[2][2] = {{"Boxwood", "Rowan"}, {"12.50", "7.25"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            rt().call(Call(Call(table, "Cell", {c, r}), "Paragraph", {0}), "AppendRun", {texts[r][c]});
    EXPECT_EQ(Int(box, "ItemCount"), 3);
    EXPECT_EQ(Int(box, "TableCount"), 1);
    EXPECT_EQ(Names(BoxChildren(made.doc, "box.new.docx")), (Names{"w:p", "w:tbl", "w:p"}));
    EXPECT_EQ(CheckerFailures("box.new.docx"), "");

    if (libreoffice_available() && pdf_tools_available()) {
        ASSERT_TRUE(libreoffice_convert(path("box.new.docx"), "pdf", outDir()));
        const std::string text = command_output("pdftotext '" + path("box.new.pdf") + "' -");
        for (const char* expected : {"Prices", "Boxwood", "Rowan", "12.50", "7.25"})
            EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
    }

    // The paragraph after the table is put back when it is removed.
    rt().call(box, "RemoveItem", {Call(box, "Item", {2})});
    EXPECT_EQ(Names(BoxChildren(made.doc, "no-last.new.docx")), (Names{"w:p", "w:tbl", "w:p"}));
    // Removing the first paragraph, then the table row by row, never leaves
    // the box without a paragraph last, nor empty.
    rt().call(box, "RemoveItem", {Call(box, "Item", {0})});
    rt().call(table, "RemoveRow", {Call(table, "Row", {1})});
    rt().call(table, "RemoveRow", {Call(table, "Row", {0})});
    EXPECT_EQ(Int(box, "TableCount"), 0);
    EXPECT_EQ(Names(BoxChildren(made.doc, "no-table.new.docx")), (Names{"w:p"}));
    rt().call(box, "RemoveItem", {Call(box, "Item", {0})});
    EXPECT_EQ(Names(BoxChildren(made.doc, "emptied.new.docx")), (Names{"w:p"}));
    EXPECT_EQ(CheckerFailures("emptied.new.docx"), "");
}

// Two tables appended one after the other in a text box do not touch.
TEST_F(ShapeTableTest, TwoTextBoxTablesKeepAParagraphBetweenThem) {
    Opened made = NewParagraph("two.new.docx");
    Object box = Call(AppendShape(made.paragraph, kRectangle, 0, 0, 3, 2, kInches), "Container", {true});
    ASSERT_TRUE(Call(box, "AppendTable", {1, 1}));
    ASSERT_TRUE(Call(box, "AppendTable", {1, 1}));
    // The first table takes the place of the new box's empty paragraph.
    EXPECT_EQ(Names(BoxChildren(made.doc, "two.new.docx")), (Names{"w:tbl", "w:p", "w:tbl", "w:p"}));
    EXPECT_EQ(CheckerFailures("two.new.docx"), "");
}
