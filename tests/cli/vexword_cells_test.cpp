// vexword's listing commands look into table cells (nested ones too) and
// text boxes: pictures and links are placed by table, row and column, and
// a text box's table prints as rows.
#include <string>

#include "docx_builder.h"
#include "image_files.h"
#include "plugin_test.h"
#include "vexword_tool.h"

using vexrt::Object;
using vexrt::Value;

namespace {

class VexwordCellsTest : public PluginTest {
protected:
    Object Call(const Object& o, const char* method, const std::vector<Value>& args = {}) {
        return rt().call(o, method, args).object();
    }
    ToolResult Vexword(const std::vector<std::string>& args) { return Vexword_Run(args, path("tool-output.txt")); }

    // A letter with a table: a link and a picture in its cells, a link in
    // a table nested in a cell; and a shape whose text box holds a table.
    std::string WriteLetter() {
        const std::string file = path("cells.new.docx");
        Object doc = rt().callShared("Document", "Create", {folderItem(file)}).object();
        Object intro = Call(doc, "AppendParagraph", {"Intro "});
        Call(intro, "AppendHyperlink", {"site", "https://example.org/a"});
        Object table = Call(doc, "AppendTable", {2, 2});
        Call(Call(Call(table, "Cell", {0, 0}), "Paragraph", {0}), "AppendRun", {"Name"});
        Call(Call(Call(table, "Cell", {1, 0}), "Paragraph", {0}), "AppendHyperlink", {"docs", "https://example.org/docs"});
        const std::string png = example::Png_Encode(
            example::RgbImage_Draw(30, 20, [](uint32_t x, uint32_t) { return x < 15 ? 0x2060C0u : 0xFFFFFFu; }));
        Object picture = Call(Call(table, "Cell", {0, 1}), "AppendParagraph",
                              {rt().makeString(png, kREALTextEncodingNone), 1, "logo.png", 30, 20});
        rt().set(rt().get(Call(picture, "Run", {0}), "Drawing").object(), "AltTextDescription", "Cell logo");
        Object nested = Call(Call(table, "Cell", {1, 1}), "AppendTable", {1, 1});
        Call(Call(Call(nested, "Cell", {0, 0}), "Paragraph", {0}), "AppendHyperlink", {"deep", "https://example.org/deep"});

        Object anchor = Call(doc, "AppendParagraph", {"Prices"});
        Object shape = Call(anchor, "AppendShape", {0, 0.0, 0.2, 3.0, 1.5, 1});
        Object box = Call(shape, "Container", {true});
        Call(Call(box, "Paragraph", {0}), "AppendRun", {"In the box"});
        Object boxTable = Call(box, "AppendTable", {2, 1});
        Call(Call(Call(boxTable, "Cell", {0, 0}), "Paragraph", {0}), "AppendRun", {"Boxwood"});
        Call(Call(Call(boxTable, "Cell", {1, 0}), "Paragraph", {0}), "AppendRun", {"12.50"});
        rt().call(doc, "Save");
        return file;
    }
};

}  // namespace

TEST_F(VexwordCellsTest, PicturesAreListedWithTheirCell) {
    const std::string file = WriteLetter();
    ToolResult r = Vexword({"pictures", file});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "body table 1 cell 2,1: png image1.png 30 x 20 px \"Cell logo\"\n");
}

TEST_F(VexwordCellsTest, LinksInCellsAndNestedTablesAreListedWithTheirPlace) {
    const std::string file = WriteLetter();
    ToolResult r = Vexword({"links", file});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "body: site -> https://example.org/a\n"
              "body table 1 cell 1,2: docs -> https://example.org/docs\n"
              "body table 1 cell 2,2 table 1 cell 1,1: deep -> https://example.org/deep\n");
}

TEST_F(VexwordCellsTest, ATextBoxTablePrintsAsRowsAfterItsParagraph) {
    const std::string file = WriteLetter();
    ToolResult r = Vexword({"text", file});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Prices\n  [text box] In the box\n  [text box] Boxwood\t12.50\n  [text box] \n"),
              std::string::npos)
        << r.output;
}
