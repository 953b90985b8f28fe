// Documents other tools write, judged by the package checker before and
// after the library edits them: python-docx, pandoc and LibreOffice each
// write packages their own way (footnotes, numbering, settings, fonts,
// pictures), and the checker must pass what they write when they write it
// soundly, and everything the library saves of them.
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "../content/paragraph_fixture.h"
#include "libreoffice.h"
#include "package_checker.h"

using vexrt::Object;

namespace {

bool Have(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

class OtherWritersCheckTest : public ParagraphFixture {
protected:
    // Opens `file`, edits its first paragraph and its title, appends a
    // paragraph and a table (also to a body without final section
    // properties, as pandoc writes it), then saves it beside as
    // NAME-edited.docx.
    std::string Edited(const std::string& file) {
        const std::string edited = file.substr(0, file.size() - 5) + "-edited.docx";
        Object doc = rt().callShared("Document", "Open", {folderItem(file)}).object();
        EXPECT_TRUE(doc) << file;
        if (!doc) return edited;
        rt().set(doc, "Title", "Checked");
        if (Int(doc, "ParagraphCount") > 0) rt().call(Call(doc, "Paragraph", {0}), "AppendRun", {" (edited)"});
        EXPECT_TRUE(Call(doc, "AppendParagraph", {"Added by the library"})) << file;
        EXPECT_TRUE(Call(doc, "AppendTable", {int64_t(2), int64_t(2)})) << file;
        rt().call(doc, "SaveAs", {folderItem(edited)});
        return edited;
    }
};

}  // namespace

TEST_F(OtherWritersCheckTest, WhatOtherToolsWriteAndWhatWeSaveOfItPass) {
    std::vector<std::string> written;
    if (python_docx_available()) {
        python_docx_run(
            "import docx, sys\n"
            "d = docx.Document()\n"
            "d.add_heading('Report', 0)\n"
            "p = d.add_paragraph('Plain and ')\n"
            "p.add_run('bold').bold = True\n"
            "d.add_paragraph('first', style='List Number')\n"
            "d.add_paragraph('second', style='List Bullet')\n"
            "t = d.add_table(rows=2, cols=3)\n"
            "t.style = 'Table Grid'\n"
            "t.cell(0, 0).text = 'a'\n"
            "t.cell(1, 0).merge(t.cell(1, 1)).text = 'merged'\n"
            "s = d.sections[0]\n"
            "s.header.paragraphs[0].text = 'Header text'\n"
            "s.different_first_page_header_footer = True\n"
            "s.first_page_footer.paragraphs[0].text = 'First footer'\n"
            "d.add_section()\n"
            "d.add_paragraph('Second section')\n"
            "d.save(sys.argv[1])\n",
            {path("python-docx.docx")});
        written.push_back(path("python-docx.docx"));
    }
    if (Have("pandoc")) {
        std::ofstream(path("in.md")) << "# Title\n\nSome *text* with a [link](https://example.org) and a note.[^1]\n\n"
                                        "1. one\n2. two\n    - inner\n\n| A | B |\n|---|---|\n| 1 | 2 |\n\n"
                                        "> quoted\n\n[^1]: The note.\n";
        ASSERT_EQ(std::system(("pandoc -o '" + path("pandoc.docx") + "' '" + path("in.md") + "'").c_str()), 0);
        written.push_back(path("pandoc.docx"));
    }
    if (libreoffice_available()) {
        std::ofstream(path("office.html"))
            << "<html><body><h1>Heading</h1><p>Text with <a href=\"https://example.org\">a link</a> and "
               "<a name=\"mark\">a bookmark</a>.</p><ol><li>one</li><li>two<ul><li>inner</li></ul></li></ol>"
               "<table border=\"1\"><tr><td>a</td><td>b</td></tr><tr><td colspan=\"2\">wide</td></tr></table>"
               "</body></html>";
        if (libreoffice_convert(path("office.html"), "docx:MS Word 2007 XML", outDir()))
            written.push_back(path("office.docx"));
    }
    if (written.empty()) GTEST_SKIP() << "none of python-docx, pandoc and LibreOffice is installed";
    for (const std::string& file : written) {
        SCOPED_TRACE(file);
        EXPECT_EQ(package_check_failures(file, false), "");
        const std::string edited = Edited(file);
        EXPECT_EQ(package_check_failures(edited, false), "");
        // LibreOffice reads back what was saved.
        if (libreoffice_available() && pdf_tools_available()) {
            ASSERT_TRUE(libreoffice_convert(edited, "pdf", outDir()));
            const std::string pdf = edited.substr(0, edited.size() - 5) + ".pdf";
            EXPECT_NE(command_output("pdftotext '" + pdf + "' -").find("(edited)"), std::string::npos);
        }
    }
}
