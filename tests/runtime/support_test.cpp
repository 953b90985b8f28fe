// The test support library: the packages the .docx builder writes, the ZIP
// readers, python-docx as an outside reader, and the fixture's own checks.
#include <filesystem>

#include <gtest/gtest-spi.h>

#include "docx_builder.h"
#include "toy_test.h"

using vexrt::Object;

TEST_F(ToyTest, TheFixtureGivesAnEmptyFolderOfItsOwn) {
    EXPECT_EQ(outDir(), std::string(VEXWORD_OUT_DIR) + "/test_runtime/ToyTest.TheFixtureGivesAnEmptyFolderOfItsOwn");
    ASSERT_TRUE(std::filesystem::is_directory(outDir()));
    EXPECT_TRUE(std::filesystem::is_empty(outDir()));
    EXPECT_EQ(path("a.docx"), outDir() + "/a.docx");
}

namespace {

// The toy fixture with its checks reachable from a test.
class Probe : public ToyTest {
public:
    void TestBody() override {}
    void Begin() { SetUp(); }
    void End() { TearDown(); }
};

Object* gLeaked = nullptr;
Probe* gProbe = nullptr;

}  // namespace

TEST_F(ToyTest, TheFixtureReportsWhatATestLeavesBehind) {
    Probe probe;
    probe.Begin();
    Object leaked = rt().callShared("Circle", "MakeCircle").object();
    gLeaked = &leaked;
    gProbe = &probe;
    EXPECT_NONFATAL_FAILURE(gProbe->End(), "leaves 1 host objects alive: Toy.Circle x1;");
    *gLeaked = Object();

    probe.Begin();
    vexrt::String kept = rt().makeString("kept");
    EXPECT_NONFATAL_FAILURE(gProbe->End(), "leaves 1 host strings alive");
}

TEST(DocxBuilder, WritesAMinimalPackageThatPythonDocxReads) {
    SKIP_WITHOUT_PYTHON_DOCX();
    const std::string file = std::string(VEXWORD_OUT_DIR) + "/test_runtime/minimal.docx";
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    write_docx(file, "<w:p><w:r><w:t>Hello</w:t></w:r></w:p><w:p/><w:p><w:r><w:t xml:space=\"preserve\">Grüße </w:t></w:r></w:p>");
    const std::vector<std::string> expected = {"[Content_Types].xml", "_rels/.rels", "word/document.xml",
                                               "word/_rels/document.xml.rels", "word/styles.xml"};
    EXPECT_EQ(zip_entries(file), expected);
    EXPECT_EQ(python_docx_paragraphs(file), (std::vector<std::string>{"Hello", "", "Grüße "}));
    const std::string document = zip_read(file, "word/document.xml");
    EXPECT_NE(document.find("<w:sectPr><w:pgSz"), std::string::npos);
}

TEST(DocxBuilder, OptionalPartsOmissionsAndOverrides) {
    const std::string file = std::string(VEXWORD_OUT_DIR) + "/test_runtime/parts.zip";
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    DocxParts parts;
    parts.body = "<w:p/>";
    parts.headers.push_back({"default", "<w:p><w:r><w:t>Head</w:t></w:r></w:p>"});
    parts.footers.push_back({"first", "<w:p/>"});
    parts.numbering = "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"/>";
    parts.omit = {"word/styles.xml"};
    parts.overrides = {{"_rels/.rels", "broken"}, {"word/added.xml", "<added/>"}};
    parts.extraEntries = {{"word/media/image1.png", std::string("\x89PNG", 4)}};
    write_docx(file, parts);

    const std::vector<std::string> expected = {
        "[Content_Types].xml", "_rels/.rels",        "word/document.xml", "word/_rels/document.xml.rels",
        "word/numbering.xml",  "word/header1.xml",   "word/footer1.xml",  "word/added.xml",
        "word/media/image1.png"};
    EXPECT_EQ(zip_entries(file), expected);
    EXPECT_EQ(zip_read(file, "_rels/.rels"), "broken");
    EXPECT_EQ(zip_read(file, "word/media/image1.png"), std::string("\x89PNG", 4));
    const std::string document = zip_read(file, "word/document.xml");
    EXPECT_NE(document.find("<w:headerReference w:type=\"default\" r:id=\"rIdHeader1\"/>"), std::string::npos);
    EXPECT_NE(document.find("<w:footerReference w:type=\"first\" r:id=\"rIdFooter1\"/>"), std::string::npos);
    const std::string rels = zip_read(file, "word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("Id=\"rIdHeader1\""), std::string::npos);
    EXPECT_NE(rels.find("Target=\"numbering.xml\""), std::string::npos);
    EXPECT_THROW(zip_read(file, "word/styles.xml"), std::runtime_error);
    EXPECT_THROW(zip_entries(file + ".missing"), std::runtime_error);
}
