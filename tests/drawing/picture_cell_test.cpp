// Pictures in table cells: related from the part that holds the table,
// seen by other readers in their cells, and removed with the cell's
// paragraph.
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "libreoffice.h"
#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

class PictureCellTest : public PictureFixture {
protected:
    // The r:embed of every picture in the saved main part's cells, in order.
    static std::vector<std::string> CellEmbeds(const std::string& file) {
        std::vector<std::string> ids;
        pugi::xml_document xml = Parsed(file, "word/document.xml");
        for (pugi::xpath_node n : xml.select_nodes("//w:tc//a:blip")) ids.push_back(n.node().attribute("r:embed").value());
        return ids;
    }
    static std::string TargetOf(const std::string& file, const std::string& id) {
        for (const auto& rel : Relationships(file, "word/_rels/document.xml.rels"))
            if (rel.first == id) return rel.second;
        return "";
    }
};

// For every cell of every table python-docx finds: where, the picture's
// extent in EMU and its pixel size as read from the related part, which
// only resolves when the relationship is the main part's.
const char kCellPictures[] = R"(
import sys, docx
from docx.oxml.ns import qn
d = docx.Document(sys.argv[1])
for t, table in enumerate(d.tables):
    for r, row in enumerate(table.rows):
        for c, cell in enumerate(row.cells):
            for inline in cell._tc.xpath('.//wp:inline'):
                extent = inline.find(qn('wp:extent'))
                rid = inline.xpath('.//a:blip/@r:embed')[0]
                image = d.part.related_parts[rid].image
                print('table', t + 1, 'cell', r + 1, c + 1, extent.get('cx'), extent.get('cy'),
                      image.px_width, image.px_height)
)";

}  // namespace

// A picture paragraph appended to a cell and a picture run appended to a
// cell's paragraph: both related from the main part, read by python-docx in
// their cells, printed by LibreOffice at their sizes, and gone with their
// relationships and media when their paragraphs are removed.
TEST_F(PictureCellTest, PicturesInCellsBelongToTheMainPartAndLeaveWithTheirParagraph) {
    const std::string wide = Png(120, 40, 0x2080C0), photo = Jpeg(80, 60);
    Object doc = Create("cells.new.docx");
    Call(doc, "AppendParagraph", {"Pictures in a table"});
    Object table = Call(doc, "AppendTable", {2, 2});
    ASSERT_TRUE(table);
    Object topLeft = Call(table, "Cell", {0, 0}), bottomRight = Call(table, "Cell", {1, 1});
    Object pictureParagraph = AddPictureParagraph(topLeft, wide, kPng, "wide.png", 120, 40);
    ASSERT_TRUE(pictureParagraph);
    Object cellParagraph = Call(bottomRight, "Paragraph", {0});
    rt().call(cellParagraph, "AppendRun", {"Photo: "});
    Object photoRun = AddPicture(cellParagraph, photo, kJpeg, "photo.jpg", 80, 60);
    ASSERT_TRUE(photoRun);
    EXPECT_EQ(DataOf(DrawingOf(pictureParagraph)), wide);
    EXPECT_EQ(DataOf(rt().get(photoRun, "Drawing").object()), photo);
    // The cell's own empty paragraph stays first; the picture one follows.
    EXPECT_EQ(Int(topLeft, "ParagraphCount"), 2);
    rt().call(doc, "Save");

    const std::string file = path("cells.new.docx");
    ExpectCheckerPasses(file, true);
    const std::vector<std::string> embeds = CellEmbeds(file);
    ASSERT_EQ(embeds.size(), 2u);
    EXPECT_EQ(TargetOf(file, embeds[0]), "media/image1.png");
    EXPECT_EQ(TargetOf(file, embeds[1]), "media/image2.jpeg");
    EXPECT_EQ(zip_read(file, "word/media/image1.png"), wide);
    EXPECT_EQ(zip_read(file, "word/media/image2.jpeg"), photo);

    if (python_docx_available()) {
        EXPECT_EQ(python_docx_run(kCellPictures, {file}),
                  "table 1 cell 1 1 1143000 381000 120 40\n"
                  "table 1 cell 2 2 762000 571500 80 60\n");
    }

    if (libreoffice_available() && pdf_tools_available()) {
        ASSERT_TRUE(libreoffice_convert(file, "pdf", outDir()));
        // "page num type width height ..." after two heading lines.
        std::istringstream list(command_output("pdfimages -list '" + path("cells.new.pdf") + "'"));
        std::multiset<std::pair<int, int>> sizes;
        std::string line;
        for (int skip = 0; skip < 2 && std::getline(list, line); ++skip) {}
        while (std::getline(list, line)) {
            std::istringstream fields(line);
            int page, num, width, height;
            std::string type;
            if (fields >> page >> num >> type >> width >> height && type == "image") sizes.insert({width, height});
        }
        EXPECT_EQ(sizes, (std::multiset<std::pair<int, int>>{{120, 40}, {80, 60}}));
    }

    // Removed from the saved document: the cell paragraphs take their
    // pictures' relationships and media with them, and the cells still end
    // with a paragraph.
    Object reopened = rt().callShared("Document", "Open", {folderItem(file)}).object();
    ASSERT_TRUE(reopened);
    Object cells = Call(reopened, "Table", {0});
    Object first = Call(cells, "Cell", {0, 0}), last = Call(cells, "Cell", {1, 1});
    rt().call(first, "RemoveItem", {Call(first, "Paragraph", {1})});
    SaveCopy(reopened, "one-removed.docx");
    const std::string oneRemoved = path("one-removed.docx");
    EXPECT_FALSE(HasEntry(oneRemoved, "word/media/image1.png"));
    EXPECT_EQ(CountRelationshipsTo(oneRemoved, "word/_rels/document.xml.rels", "media/image1.png"), 0u);
    EXPECT_EQ(zip_read(oneRemoved, "word/media/image2.jpeg"), photo);
    ExpectCheckerPasses(oneRemoved, false);

    rt().call(last, "RemoveItem", {Call(last, "Paragraph", {0})});
    EXPECT_EQ(Int(last, "ParagraphCount"), 1);
    SaveCopy(reopened, "both-removed.docx");
    const std::string bothRemoved = path("both-removed.docx");
    EXPECT_FALSE(HasEntry(bothRemoved, "word/media/image2.jpeg"));
    EXPECT_EQ(CountRelationshipsTo(bothRemoved, "word/_rels/document.xml.rels", "media/image2.jpeg"), 0u);
    EXPECT_TRUE(CellEmbeds(bothRemoved).empty());
    ExpectCheckerPasses(bothRemoved, false);
}

// A picture in a header's table is related from the header, as pictures
// in the header's own paragraphs are.
TEST_F(PictureCellTest, PicturesInAHeadersCellUseTheHeadersRelationships) {
    Object doc = Create("header-cell.new.docx");
    Object header = Call(doc, "Header", {0, true});
    Object table = Call(header, "AppendTable", {1, 1});
    Object cell = Call(table, "Cell", {0, 0});
    ASSERT_TRUE(AddPictureParagraph(cell, Png(20, 10), kPng, "logo.png", 20, 10));
    rt().call(doc, "Save");
    const std::string file = path("header-cell.new.docx");
    pugi::xml_document xml = Parsed(file, "word/header1.xml");
    const std::string id = xml.select_node("//w:tc//a:blip").node().attribute("r:embed").value();
    ASSERT_FALSE(id.empty());
    EXPECT_TRUE(Relates(file, "word/_rels/header1.xml.rels", id, "media/image1.png"));
    EXPECT_EQ(CountRelationshipsTo(file, "word/_rels/document.xml.rels", "media/image1.png"), 0u);
    ExpectCheckerPasses(file, true);
}
