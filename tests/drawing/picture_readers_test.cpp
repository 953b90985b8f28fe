// What other programs make of our pictures, and what we make of theirs:
// python-docx lists them at their sizes, LibreOffice prints them (pdfimages
// reads them back), and a document python-docx wrote keeps its pictures
// and their shared media through our edits.
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "libreoffice.h"
#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

class PictureReadersTest : public PictureFixture {
protected:
    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
};

// Prints, for every inline picture python-docx finds in the body and in
// the first section's header: where, width and height in EMU, and the
// alternative text.
const char kListInlinePictures[] = R"(
import sys, docx
from docx.oxml.ns import qn
d = docx.Document(sys.argv[1])
for s in d.inline_shapes:
    print('body', s.width, s.height, s._inline.docPr.get('descr'))
for i in d.sections[0].header._element.xpath('.//wp:inline'):
    e = i.find(qn('wp:extent'))
    print('header', e.get('cx'), e.get('cy'), i.find(qn('wp:docPr')).get('descr'))
)";

}  // namespace

// Pictures of both kinds in the body and a header (cells take pictures
// through the same Container member once tables come), each with its
// alternative text.
TEST_F(PictureReadersTest, ReadersSeeEveryPictureAtItsSize) {
    SKIP_WITHOUT_PYTHON_DOCX();
    Object doc = Create("readers.new.docx");
    Call(doc, "AppendParagraph", {"Pictures for other readers"});
    Object header = Call(doc, "Header", {0, true});
    struct Placed {
        Object container;
        std::string bytes;
        int type;
        int width, height;
        const char* alt;
    };
    const Placed placed[] = {{doc, Png(120, 60, 0x1F5FBF), kPng, 120, 60, "Blue stripes"},
                             {doc, Jpeg(200, 100), kJpeg, 200, 100, "Colour ramp"},
                             {header, Png(40, 20, 0xBF1F1F), kPng, 40, 20, "Red logo"}};
    for (const Placed& p : placed) {
        Object paragraph = AddPictureParagraph(p.container, p.bytes, p.type, "picture", p.width, p.height);
        ASSERT_TRUE(paragraph);
        rt().set(DrawingOf(paragraph), "AltTextDescription", p.alt);
    }
    rt().call(doc, "Save");
    const std::string file = path("readers.new.docx");
    ExpectCheckerPasses(file, true);

    EXPECT_EQ(python_docx_run(kListInlinePictures, {file}),
              "body 1143000 571500 Blue stripes\n"
              "body 1905000 952500 Colour ramp\n"
              "header 381000 190500 Red logo\n");

    if (!libreoffice_available() || !pdf_tools_available()) GTEST_SKIP() << "LibreOffice or poppler missing";
    ASSERT_TRUE(libreoffice_convert(file, "pdf", outDir()));
    // "page num type width height ..." after two heading lines.
    std::istringstream list(command_output("pdfimages -list '" + path("readers.new.pdf") + "'"));
    std::set<std::pair<int, int>> sizes;
    std::string line;
    for (int skip = 0; skip < 2 && std::getline(list, line); ++skip) {}
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        int page, num, width, height;
        std::string type;
        if (fields >> page >> num >> type >> width >> height && type == "image") sizes.insert({width, height});
    }
    EXPECT_EQ(sizes, (std::set<std::pair<int, int>>{{120, 60}, {200, 100}, {40, 20}}));
}

// A document python-docx wrote: the same picture twice (one media entry,
// one relationship), a JPEG, and a picture in the header. We add one and
// remove one of the pair; the others and their media stay as they were.
TEST_F(PictureReadersTest, DocumentFromAnotherToolKeepsItsPictures) {
    SKIP_WITHOUT_PYTHON_DOCX();
    const std::string twice = Png(30, 30, 0x208020), photo = Jpeg(50, 40), head = Png(20, 10, 0x802080);
    WriteFile("twice.png", twice);
    WriteFile("photo.jpg", photo);
    WriteFile("head.png", head);
    python_docx_run(R"(
import sys, docx
d = docx.Document()
d.add_paragraph('From another tool')
d.add_picture(sys.argv[1])
d.add_picture(sys.argv[1])
d.add_picture(sys.argv[2])
d.sections[0].header.paragraphs[0].add_run().add_picture(sys.argv[3])
d.save(sys.argv[4])
)",
                    {path("twice.png"), path("photo.jpg"), path("head.png"), path("python.docx")});
    if (HasFatalFailure() || IsSkipped()) return;
    const std::string input = path("python.docx");
    Object doc = rt().callShared("Document", "Open", {folderItem(input)}).object();
    ASSERT_TRUE(doc);
    Object first = Call(doc, "Paragraph", {1}), second = Call(doc, "Paragraph", {2});
    const std::string sharedName = Str(DrawingOf(first), "PictureFileName");
    EXPECT_EQ(Str(DrawingOf(second), "PictureFileName"), sharedName);
    EXPECT_EQ(DataOf(DrawingOf(second)), twice);
    Object header = Call(doc, "Header", {0, false});
    ASSERT_TRUE(header);
    Object headerPicture = DrawingOf(Call(header, "Paragraph", {0}));
    ASSERT_TRUE(headerPicture);
    EXPECT_EQ(DataOf(headerPicture), head);
    const std::string headerName = Str(headerPicture, "PictureFileName");

    Object added = AddPictureParagraph(doc, Png(50, 25), kPng, "added.png", 50, 25);
    ASSERT_TRUE(added);
    const std::string addedName = Str(DrawingOf(added), "PictureFileName");
    EXPECT_NE(addedName, sharedName);
    EXPECT_NE(addedName, headerName);
    rt().call(doc, "RemoveItem", {first});
    SaveCopy(doc, "python-edited.docx");

    const std::string file = path("python-edited.docx");
    EXPECT_EQ(zip_read(file, "word/media/" + sharedName), twice);
    EXPECT_EQ(zip_read(file, "word/media/" + headerName), head);
    EXPECT_EQ(zip_read(file, "word/media/" + addedName), Png(50, 25));
    // Every entry of the input is still there, pictures included.
    std::set<std::string> entries;
    for (const std::string& name : zip_entries(file)) entries.insert(name);
    for (const std::string& name : zip_entries(input)) EXPECT_TRUE(entries.count(name)) << name;
    ExpectCheckerPasses(file, false);

    // Read back: the remaining pair picture, the JPEG and ours, at their sizes.
    Object reopened = rt().callShared("Document", "Open", {folderItem(file)}).object();
    EXPECT_EQ(DataOf(DrawingOf(Call(reopened, "Paragraph", {1}))), twice);
    EXPECT_EQ(DataOf(DrawingOf(Call(reopened, "Paragraph", {2}))), photo);
    const std::string shapes = python_docx_run(R"(
import sys, docx
for s in docx.Document(sys.argv[1]).inline_shapes:
    print(s.width, s.height)
)",
                                               {file});
    std::istringstream lines(shapes);
    std::vector<std::string> sizes;
    for (std::string line; std::getline(lines, line);) sizes.push_back(line);
    ASSERT_EQ(sizes.size(), 3u) << shapes;
    EXPECT_EQ(sizes[2], "476250 238125");
}
