// vexword's reading commands on a paragraph of tens of thousands of field
// characters, unended, nested or stray: each prints what the paragraph
// shows (as LibreOffice shows it), in a fraction of a second (a pairing walking from every run to its field's end
// took minutes). The packages are not named .docx: their fields are not
// what a checker should judge a word processor's output by.
#include <string>

#include "docx_builder.h"
#include "plugin_test.h"
#include "vexword_tool.h"

namespace {

constexpr int kFields = 50000;

std::string FieldChar(const char* type) {
    return std::string("<w:r><w:fldChar w:fldCharType=\"") + type + "\"/></w:r>";
}

std::string TextRun(const char* text) { return std::string("<w:r><w:t>") + text + "</w:t></w:r>"; }

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

class VexwordFieldsTest : public PluginTest {
protected:
    ToolResult Vexword(const std::vector<std::string>& args) { return Vexword_Run(args, path("tool-output.txt")); }

    std::string WriteParagraph(const std::string& file, const std::string& inner) {
        write_docx(path(file), "<w:p>" + inner + "</w:p>");
        return path(file);
    }

    // info counts one paragraph and nothing else; text prints `text`.
    void ExpectRead(const std::string& file, const std::string& text) {
        ToolResult info = Vexword({"info", file});
        EXPECT_EQ(info.status, 0) << info.output;
        EXPECT_NE(info.output.find("ParagraphCount: 1\nTableCount: 0\nShapes: 0, groups: 0, text boxes: 0\n"), std::string::npos)
            << info.output;
        ToolResult shown = Vexword({"text", file});
        EXPECT_EQ(shown.status, 0);
        EXPECT_EQ(shown.output, text);
    }
};

}  // namespace

// Only "a" shows: every begin after it opens a field that nothing ends.
TEST_F(VexwordFieldsTest, UnendedBegins) {
    ExpectRead(WriteParagraph("unended.bin", TextRun("a") + Repeat(FieldChar("begin"), kFields)), "a\n");
}

// "a" stands in the innermost field's code (no field is separated into a
// result), which readers do not show: nothing prints.
TEST_F(VexwordFieldsTest, NestedBeginsAndTheirEnds) {
    ExpectRead(WriteParagraph("nested.bin", Repeat(FieldChar("begin"), kFields) + TextRun("a") +
                                                Repeat(FieldChar("end"), kFields)),
               "");
}

// Ends and separates that no begin opened (20,000 of them) are runs without
// text.
TEST_F(VexwordFieldsTest, StrayEndsAndSeparates) {
    const std::string stray = FieldChar("end") + FieldChar("separate") + TextRun("x");
    ExpectRead(WriteParagraph("stray.bin", Repeat(stray, kFields / 5)), std::string(size_t(kFields / 5), 'x') + "\n");
}
