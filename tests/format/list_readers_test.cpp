// Lists the library makes, as other readers see them (LibreOffice through a
// PDF, pandoc, python-docx), and lists other tools made, added to.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "../content/paragraph_fixture.h"
#include "docx_builder.h"
#include "libreoffice.h"
#include "package_checker.h"

namespace fs = std::filesystem;
using vexrt::Object;

namespace {

std::string ReadFile(const std::string& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Have(const char* tools) {
    return std::system(("for t in " + std::string(tools) + "; do command -v $t >/dev/null 2>&1 || exit 1; done")
                           .c_str()) == 0;
}

// Each line that holds one of `texts`, with its spaces folded, in order.
std::vector<std::string> LinesWith(const std::string& text, const std::vector<std::string>& texts) {
    std::vector<std::string> found;
    std::istringstream in(text);
    std::string line;
    size_t next = 0;
    while (next < texts.size() && std::getline(in, line)) {
        if (line.find(texts[next]) == std::string::npos) continue;
        line = std::regex_replace(line, std::regex("\\s+"), " ");
        line = std::regex_replace(line, std::regex("^ | $"), "");
        found.push_back(line);
        ++next;
    }
    return found;
}

class ListReadersTest : public ParagraphFixture {
protected:
    // Two numbered lists, the first with a lettered level, and a bulleted
    // list with a nested level, between plain paragraphs.
    void MakeLists(const std::string& file) {
        Object doc = Create(file);
        auto item = [&](const Object& list, const char* text, int level) {
            Object p = Call(doc, "AppendParagraph", {text});
            rt().call(p, "SetListIndent", {list, level});
        };
        Call(doc, "AppendParagraph", {"Conditions"});
        Object first = Call(doc, "CreateListIndent", {false});
        item(first, "Alpha", 0);
        item(first, "Beta", 0);
        item(first, "Beta one", 1);
        item(first, "Beta two", 1);
        item(first, "Gamma", 0);
        Call(doc, "AppendParagraph", {"Between"});
        Object second = Call(doc, "CreateListIndent", {false});
        item(second, "Delta", 0);
        item(second, "Epsilon", 0);
        Call(doc, "AppendParagraph", {"Fruit"});
        Object bullets = Call(doc, "CreateListIndent", {true});
        item(bullets, "Apple", 0);
        item(bullets, "Apple core", 1);
        item(bullets, "Banana", 0);
        Call(doc, "AppendParagraph", {"End"});
        rt().call(doc, "Save");
    }
    const std::vector<std::string> kItems = {"Alpha", "Beta", "Beta one", "Beta two", "Gamma",
                                             "Delta", "Epsilon", "Apple", "Apple core", "Banana"};

    bool ConvertToPdf(const std::string& file) {
        std::string profile = (fs::temp_directory_path() / "vexword-lo-XXXXXX").string();
        EXPECT_NE(mkdtemp(profile.data()), nullptr);
        const std::string command = "timeout 300 soffice -env:UserInstallation=file://" + profile +
                                    " --headless --convert-to pdf --outdir '" + outDir() + "' '" + file +
                                    "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        fs::remove_all(profile);
        EXPECT_EQ(status, 0) << command;
        return status == 0;
    }
};

}  // namespace

// LibreOffice numbers the first list 1, 2, 3 with a, b below, starts the
// second list at 1 again, and bullets the third.
TEST_F(ListReadersTest, LabelsInAPdf) {
    if (!Have("soffice pdftotext")) GTEST_SKIP() << "LibreOffice or pdftotext is not installed";
    MakeLists("lists.new.docx");
    ASSERT_TRUE(ConvertToPdf(path("lists.new.docx")));
    ASSERT_EQ(std::system(("pdftotext -layout '" + path("lists.new.pdf") + "' '" + path("lists.txt") + "'").c_str()),
              0);
    const std::vector<std::string> lines = LinesWith(ReadFile(path("lists.txt")), kItems);
    ASSERT_EQ(lines.size(), kItems.size()) << ReadFile(path("lists.txt"));
    const std::vector<std::string> numbered(lines.begin(), lines.begin() + 7);
    EXPECT_EQ(numbered, (std::vector<std::string>{"1. Alpha", "2. Beta", "a. Beta one", "b. Beta two", "3. Gamma",
                                                  "1. Delta", "2. Epsilon"}));
    // The symbol font's bullet comes out as U+2022 or as the private-use
    // character itself; the second level's is an "o".
    EXPECT_TRUE(std::regex_match(lines[7], std::regex("(\xE2\x80\xA2|\xEF\x82\xB7) Apple"))) << lines[7];
    EXPECT_EQ(lines[8], "o Apple core");
    EXPECT_TRUE(std::regex_match(lines[9], std::regex("(\xE2\x80\xA2|\xEF\x82\xB7) Banana"))) << lines[9];
}

// pandoc reads the same structure: two ordered lists, the first with a
// nested lettered list, and a bullet list with a nested one.
TEST_F(ListReadersTest, StructureInPandocPlainText) {
    if (!Have("pandoc")) GTEST_SKIP() << "pandoc is not installed";
    MakeLists("lists.new.docx");
    ASSERT_EQ(std::system(("pandoc -f docx -t plain -o '" + path("lists.txt") + "' '" + path("lists.new.docx") + "'")
                              .c_str()),
              0);
    const std::string text = ReadFile(path("lists.txt"));
    const std::vector<std::string> lines = LinesWith(text, kItems);
    EXPECT_EQ(lines, (std::vector<std::string>{"1. Alpha", "2. Beta", "a. Beta one", "b. Beta two", "3. Gamma",
                                               "1. Delta", "2. Epsilon", "- Apple", "- Apple core", "- Banana"}))
        << text;
    // Nesting shows as indentation.
    EXPECT_NE(text.find("\n    a.  Beta one"), std::string::npos) << text;
    EXPECT_NE(text.find("\n    -   Apple core"), std::string::npos) << text;
}

// python-docx sees each list paragraph's numPr: its level and its list.
TEST_F(ListReadersTest, NumPrInPythonDocx) {
    SKIP_WITHOUT_PYTHON_DOCX();
    MakeLists("lists.new.docx");
    const std::string out = python_docx_run(
        "import sys, docx\n"
        "for p in docx.Document(sys.argv[1]).paragraphs:\n"
        "    n = p._p.pPr.numPr if p._p.pPr is not None else None\n"
        "    print(p.text + ('' if n is None else ' %d/%d' % (n.ilvl.val, n.numId.val)))\n",
        {path("lists.new.docx")});
    EXPECT_NE(out.find("Conditions\nAlpha 0/2\nBeta 0/2\nBeta one 1/2\nBeta two 1/2\nGamma 0/2\nBetween\n"
                       "Delta 0/3\nEpsilon 0/3\nFruit\nApple 0/4\nApple core 1/4\nBanana 0/4\nEnd"),
              std::string::npos)
        << out;
}

// Numbering parts other tools wrote: a list added to each; the checker
// passes the result, the lists that were there read as before, and the new
// one numbers from 1.
TEST_F(ListReadersTest, ListsAddedToOtherToolsParts) {
    if (!Have("pandoc soffice")) GTEST_SKIP() << "pandoc or LibreOffice is not installed";
    {
        std::ofstream md(path("in.md"));
        md << "Intro\n\n1. One\n2. Two\n    1. Two inner\n\nText\n\n- Dot\n- Dot two\n";
    }
    ASSERT_EQ(std::system(("pandoc -o '" + path("pandoc.docx") + "' '" + path("in.md") + "'").c_str()), 0);
    {
        std::ofstream html(path("office.html"));
        html << "<html><body><p>Intro</p><ol><li>One</li><li>Two<ol type=\"a\"><li>Two inner</li></ol></li></ol>"
                "<p>Text</p><ul><li>Dot</li><li>Dot two</li></ul></body></html>";
    }
    std::string profile = (fs::temp_directory_path() / "vexword-lo-XXXXXX").string();
    ASSERT_NE(mkdtemp(profile.data()), nullptr);
    const int converted = std::system(("cd '" + outDir() + "' && timeout 300 soffice -env:UserInstallation=file://" +
                                       profile + " --headless --convert-to 'docx:Office Open XML Text' office.html"
                                       " >/dev/null 2>&1")
                                          .c_str());
    fs::remove_all(profile);
    ASSERT_EQ(converted, 0);
    ASSERT_TRUE(fs::exists(path("office.docx")));

    for (const std::string name : {"pandoc", "office"}) {
        SCOPED_TRACE(name);
        Object doc = rt().callShared("Document", "Open", {folderItem(path(name + ".docx"))}).object();
        ASSERT_TRUE(doc);
        std::vector<std::string> before;
        for (int64_t i = 0, n = Int(doc, "ParagraphCount"); i < n; ++i) {
            Object list = rt().get(Call(doc, "Paragraph", {i}), "ListIndent").object();
            before.push_back(list ? std::to_string(Int(list, "Level")) + "/" + std::to_string(Int(list, "Type")) : "-");
        }
        const std::string oldNumbering = zip_read(path(name + ".docx"), "word/numbering.xml");
        // New lists before and between the document's own: those keep their
        // numbers (checked in LibreOffice's PDF below).
        Object ahead = Call(doc, "CreateListIndent", {false});
        rt().call(rt().call(Call(doc, "Paragraph", {0}), "InsertParagraphBefore", {"Ahead"}).object(), "SetListIndent",
                  {ahead, 0});
        before.insert(before.begin(), "0/1");
        Object between = Call(doc, "CreateListIndent", {false});
        for (int64_t i = 0, n = Int(doc, "ParagraphCount"); i < n; ++i) {
            Object p = Call(doc, "Paragraph", {i});
            if (rt().get(p, "Text").text() != "Text") continue;
            rt().call(rt().call(p, "InsertParagraphAfter", {"Between"}).object(), "SetListIndent", {between, 0});
            before.insert(before.begin() + i + 1, "0/1");
            break;
        }
        Object added = Call(doc, "CreateListIndent", {false});
        for (const char* text : {"Added one", "Added two"}) {
            Object p = Call(doc, "AppendParagraph", {text});
            rt().call(p, "SetListIndent", {added, 0});
        }
        Object dots = Call(doc, "CreateListIndent", {true});
        rt().call(Call(doc, "AppendParagraph", {"Added dot"}), "SetListIndent", {dots, 0});
        SaveCopy(doc, name + "-lists.docx");
        doc = Object();

        Object again = rt().callShared("Document", "Open", {folderItem(path(name + "-lists.docx"))}).object();
        for (size_t i = 0; i < before.size(); ++i) {
            Object list = rt().get(Call(again, "Paragraph", {int64_t(i)}), "ListIndent").object();
            EXPECT_EQ(list ? std::to_string(Int(list, "Level")) + "/" + std::to_string(Int(list, "Type")) : "-",
                      before[i])
                << "paragraph " << i;
        }
        // Every definition and instance that was there is still there, as it was.
        pugi::xml_document oldPart, newPart;
        ASSERT_TRUE(oldPart.load_string(oldNumbering.c_str()));
        const std::string newNumbering = zip_read(path(name + "-lists.docx"), "word/numbering.xml");
        ASSERT_TRUE(newPart.load_string(newNumbering.c_str()));
        for (pugi::xml_node child : oldPart.document_element().children()) {
            std::ostringstream text;
            child.print(text, "", pugi::format_raw);
            std::ostringstream newText;
            newPart.document_element().print(newText, "", pugi::format_raw);
            EXPECT_NE(newText.str().find(text.str()), std::string::npos) << text.str();
        }
        EXPECT_EQ(package_check_failures(path(name + "-lists.docx"), false), "");
        if (pdf_tools_available()) {
            ASSERT_TRUE(libreoffice_convert(path(name + "-lists.docx"), "pdf", outDir()));
            std::string shown = pdf_page_text(path(name + "-lists.pdf"), 1);
            std::vector<std::string> lines;
            std::istringstream in(shown);
            for (std::string line; std::getline(in, line);) {
                const size_t start = line.find_first_not_of(" \t");
                if (start == std::string::npos) continue;
                std::string text = line.substr(start);
                for (size_t at; (at = text.find("  ")) != std::string::npos;) text.erase(at, 1);
                for (const char* wanted : {"Ahead", "One", "Two", "Between", "Added one", "Added two"})
                    if (text.size() >= std::strlen(wanted) &&
                        text.compare(text.size() - std::strlen(wanted), std::string::npos, wanted) == 0 &&
                        text.find("inner") == std::string::npos)
                        lines.push_back(text);
            }
            EXPECT_EQ(lines, (std::vector<std::string>{"1. Ahead", "1. One", "2. Two", "1. Between", "1. Added one",
                                                       "2. Added two"}))
                << shown;
        }
        if (Have("pandoc")) {
            ASSERT_EQ(std::system(("pandoc -f docx -t plain -o '" + path(name + ".txt") + "' '" +
                                   path(name + "-lists.docx") + "'")
                                      .c_str()),
                      0);
            const std::string text = ReadFile(path(name + ".txt"));
            EXPECT_EQ(LinesWith(text, {"Added one", "Added two", "Added dot"}),
                      (std::vector<std::string>{"1. Added one", "2. Added two", "- Added dot"}))
                << text;
        }
    }
}
