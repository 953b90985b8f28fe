// vexword sees every drawing of a run (one writer puts every drawing
// anchored in a paragraph into one run): info counts each shape, text
// prints each text box, pictures lists each picture.
#include <string>

#include "docx_builder.h"
#include "drawing_snippets.h"
#include "image_files.h"
#include "plugin_test.h"
#include "vexword_tool.h"

namespace {

const char kImageType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

std::string ImageRelationship(const std::string& id, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kImageType + "\" Target=\"" + target + "\"/>";
}

std::string Png(uint32_t width, uint32_t height) {
    return example::Png_Encode(example::RgbImage_Draw(width, height, [](uint32_t, uint32_t) { return 0x2060C0u; }));
}

class VexwordDrawingsTest : public PluginTest {
protected:
    ToolResult Vexword(const std::vector<std::string>& args) { return Vexword_Run(args, path("tool-output.txt")); }

    // One paragraph of one run: a text-box shape, an inline picture, a
    // second text-box shape and a second picture, each a w:drawing.
    std::string WriteTogether() {
        DocxParts parts;
        parts.body = "<w:p><w:r><w:t>Drawings</w:t></w:r><w:r>" + docx_anchored_text_box(1, "First box") +
                     docx_inline_picture(2, "rIdLogo") + docx_anchored_text_box(3, "Second box") +
                     docx_inline_picture(4, "rIdPhoto") + "</w:r></w:p>";
        parts.documentRelationships =
            ImageRelationship("rIdLogo", "media/logo.png") + ImageRelationship("rIdPhoto", "media/photo.png");
        parts.extraEntries = {{"word/media/logo.png", Png(30, 20)}, {"word/media/photo.png", Png(8, 6)}};
        const std::string file = path("together.docx");
        write_docx(file, parts);
        return file;
    }
};

}  // namespace

TEST_F(VexwordDrawingsTest, InfoCountsEveryShapeOfARun) {
    ToolResult r = Vexword({"info", WriteTogether()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Shapes: 2, groups: 0, text boxes: 2\n"), std::string::npos) << r.output;
}

TEST_F(VexwordDrawingsTest, TextPrintsEveryTextBoxOfARun) {
    ToolResult r = Vexword({"text", WriteTogether()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Drawings\n  [text box] First box\n  [text box] Second box\n"), std::string::npos)
        << r.output;
}

TEST_F(VexwordDrawingsTest, PicturesListsEveryPictureOfARun) {
    ToolResult r = Vexword({"pictures", WriteTogether()});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "body: png logo.png 30 x 20 px \"\"\nbody: png photo.png 8 x 6 px \"\"\n");
}
