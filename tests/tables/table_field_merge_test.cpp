// ApplyFieldData on tables and cells through the loaded plug-in: a table's
// merge reaches every cell, its hyperlinks and the tables nested in it at
// any depth; a cell's merge stays in that cell.
#include <string>

#include "table_fixture.h"

using vexrt::Object;

namespace {

class TableFieldMergeTest : public TableFixture {
protected:
    void Merge(const Object& o, const std::string& name, const std::string& data) {
        rt().call(o, "ApplyFieldData", {name, data});
    }
    // Every w:t of the saved body, "|"-separated, in document order.
    std::string SavedTexts(const Object& doc) {
        pugi::xml_document xml;
        std::string texts;
        for (pugi::xpath_node t : SavedBody(doc, xml).select_nodes(".//w:t"))
            texts += std::string(texts.empty() ? "" : "|") + t.node().child_value();
        return texts;
    }
};

const int kYes = 1;  // BooleanAttribute.YES

std::string P(const std::string& text) { return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>"; }

// Two tables, the first with a hyperlink in a cell, a table nested in a
// cell and one nested inside that; the second (and the body's paragraph)
// hold the placeholder too.
std::string Body() {
    const std::string deepest = docx_table({{P("deep {x}")}});
    const std::string nested = docx_table({{P("inner {x}") + deepest + "<w:p/>"}, {P("{x} below")}});
    const std::string link =
        "<w:p><w:hyperlink w:anchor=\"Top\"><w:r><w:t>link {x}</w:t></w:r></w:hyperlink></w:p>";
    return P("before {x}") +
           docx_table({{P("a {x}"), link}, {P("{x}") + nested + "<w:p/>", P("{x}{x} twice")}}) + P("between") +
           docx_table({{P("other {x}")}}) + "<w:p/>";
}

}  // namespace

// Table.ApplyFieldData: every cell, the link's text, each nested level;
// nothing outside the table.
TEST_F(TableFieldMergeTest, ATablesMergeReachesCellsLinksAndNestedTablesOnly) {
    Object doc = OpenBody("tables.docx", Body());
    ASSERT_TRUE(doc);
    Object first = Call(doc, "Table", {0});
    ASSERT_TRUE(first);
    Merge(first, "{x}", "X");
    EXPECT_EQ(SavedTexts(doc),
              "before {x}|a X|link X|X|inner X|deep X|X below|XX twice|between|other {x}");
    // Read back through the members as well.
    Object link = Call(Call(Call(first, "Cell", {1, 0}), "Paragraph", {0}), "ParagraphItem", {0});
    EXPECT_EQ(Str(Call(link, "Run", {0}), "Text"), "link X");
    Object nested = Call(Call(first, "Cell", {0, 1}), "Table", {0});
    EXPECT_EQ(CellText(Call(nested, "Cell", {0, 1})), "X below");
}

// Container.ApplyFieldData on a cell: its paragraphs and its nested
// tables, never the other cells; a blank at the edge of the data is kept.
TEST_F(TableFieldMergeTest, ACellsMergeStaysInThatCell) {
    Object doc = OpenBody("cell.docx", Body());
    Object table = Call(doc, "Table", {0});
    Object cell = Call(table, "Cell", {0, 1});
    ASSERT_TRUE(cell);
    EXPECT_EQ(rt().className(cell), "VexlomarWord.TableCell");
    Merge(cell, "{x}", "Y ");
    EXPECT_EQ(SavedTexts(doc),
              "before {x}|a {x}|link {x}|Y |inner Y |deep Y |Y  below|{x}{x} twice|between|other {x}");
    pugi::xml_document xml;
    pugi::xml_node body = SavedBody(doc, xml);
    pugi::xml_node replaced = body.select_node(".//w:tc//w:t[. = 'Y ']").node();
    ASSERT_TRUE(replaced);
    EXPECT_STREQ(replaced.attribute("xml:space").value(), "preserve");

    // A cell of the nested table, reached through its parent cell.
    Object inner = Call(Call(cell, "Table", {0}), "Cell", {0, 0});
    Merge(inner, "Y", "Z");
    EXPECT_EQ(SavedTexts(doc),
              "before {x}|a {x}|link {x}|Y |inner Z |deep Z |Y  below|{x}{x} twice|between|other {x}");
}

// A table the plug-in made, filled through the members, merged: the
// replacement in a new cell keeps the run's formatting.
TEST_F(TableFieldMergeTest, NewTablesMergeLikeTablesFromElsewhere) {
    Object doc = Create("made.new.docx");
    Object table = AppendTable(doc, 2, 1);
    Object run = rt().call(Call(Call(table, "Cell", {0, 0}), "Paragraph", {0}), "AppendRun", {"Dear {name},"}).object();
    rt().set(run, "Bold", kYes);
    Fill(Call(table, "Cell", {1, 0}), "{name}");
    Object nested = AppendTable(Call(table, "Cell", {1, 0}), 1, 1);
    Fill(Call(nested, "Cell", {0, 0}), "to {name}");
    Merge(table, "{name}", "Ada");
    EXPECT_EQ(SavedTexts(doc), "Dear Ada,|Ada|to Ada");
    EXPECT_EQ(Int(run, "Bold"), kYes);
    EXPECT_EQ(Str(run, "Text"), "Dear Ada,");
}
