// Parts the parser takes although XML forbids them are refused at opening,
// naming the part: saved as they were read, no reader would open them.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "docx_builder.h"
#include "package_checker.h"
#include "plugin_test.h"

using vexrt::HostException;
using vexrt::Object;

namespace {

const char kW[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

std::string Document(const std::string& rootAttributes, const std::string& body, const std::string& after = "") {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document xmlns:w=\"") + kW +
           "\"" + rootAttributes + "><w:body>" + body + "<w:sectPr/></w:body></w:document>" + after;
}

std::string Paragraph(const std::string& inner) { return "<w:p>" + inner + "<w:r><w:t>x</w:t></w:r></w:p>"; }

class WellFormedPartsTest : public PluginTest {
protected:
    Object Open(const std::string& file) { return rt().callShared("Document", "Open", {folderItem(file)}).object(); }
};

}  // namespace

TEST_F(WellFormedPartsTest, DamagedPartsAreRefusedNamingThePart) {
    struct Case {
        const char* name;
        const char* entry;
        std::string bytes;
    };
    const std::string styles = std::string("<w:styles xmlns:w=\"") + kW + "\">";
    const std::vector<Case> cases = {
        {"attribute-twice", "word/document.xml", Document("", "<w:p w:rsidR=\"1\" w:rsidR=\"2\"/>")},
        {"same-attribute-by-two-prefixes", "word/document.xml",
         Document(std::string(" xmlns:x=\"") + kW + "\"", Paragraph("<w:pPr><w:jc w:val=\"left\" x:val=\"right\"/></w:pPr>"))},
        {"element-after-root", "word/document.xml", Document("", Paragraph(""), "<w:p/>")},
        {"text-after-root", "word/document.xml", Document("", Paragraph(""), "\ntrailing")},
        {"text-before-root", "word/styles.xml", "junk" + styles + "</w:styles>"},
        {"bad-byte-in-element-name", "word/document.xml", Document("", Paragraph("<w:p\xff/>"))},
        {"bad-byte-in-attribute-name", "word/document.xml", Document("", "<w:p w:rsid\xc3=\"1\"/>")},
        {"local-name-with-a-digit-first", "word/document.xml", Document("", Paragraph("<w:1pPr/>"))},
        {"attribute-local-name-with-a-dash-first", "word/document.xml", Document("", "<w:p w:-x=\"1\"/>")},
        {"two-colons", "word/document.xml", Document("", Paragraph("<w:a:b/>"))},
        {"empty-prefix", "word/document.xml", Document("", Paragraph("<:b/>"))},
        {"undeclared-element-prefix", "word/document.xml", Document("", Paragraph("<q:b/>"))},
        {"undeclared-attribute-prefix", "word/styles.xml", styles + "<w:style q:x=\"1\"/></w:styles>"},
        {"prefix-bound-to-nothing", "word/document.xml", Document(" xmlns:q=\"\"", Paragraph(""))},
        {"xml-prefix-rebound", "word/document.xml", Document(" xmlns:xml=\"urn:other\"", Paragraph(""))},
        {"undeclared-in-a-header", "word/header1.xml", "<w:hdr><w:p/></w:hdr>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocxParts parts;
        parts.body = Paragraph("");
        if (std::string(c.entry) == "word/header1.xml") parts.headers.push_back(DocxHeaderPart{});
        parts.overrides[c.entry] = c.bytes;
        // Damaged packages are not named .docx: CI judges every .docx.
        const std::string file = path(std::string(c.name) + ".damaged");
        write_docx(file, parts);
        HostException e = raised([&] { Open(file); });
        EXPECT_EQ(e.className(), "VexlomarWord.WordException");
        EXPECT_EQ(e.errorNumber(), -7);
        EXPECT_EQ(e.message(), std::string("Error could not parse document: ") + c.entry);
    }
    EXPECT_EQ(rt().liveObjectCensus().count("VexlomarWord.Document"), 0u);
}

TEST_F(WellFormedPartsTest, WhatReadersTakeStillOpens) {
    // Names beyond ASCII, a prefix declared on an inner element, a
    // default namespace of another vocabulary, white space and a comment
    // around the root, and the text that parsers mend on saving.
    const std::string body =
        "<w:p><w:r><w:t>caf\xc3\xa9 &amp; co</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>x</w:t></w:r><q:\xc3\xa9t\xc3\xa9 xmlns:q=\"urn:example:q\" q:na\xc3\xafve=\"1\"/>"
        "<data xmlns=\"urn:example:data\"><item/></data></w:p>";
    DocxParts parts;
    parts.overrides["word/document.xml"] =
        "<!-- before -->\n" + Document("", body, "\n<!-- after -->\n");
    const std::string input = path("unusual.zip");
    write_docx(input, parts);
    const std::string saved = path("unusual-saved.docx");
    {
        Object doc = Open(input);
        EXPECT_EQ(rt().get(rt().call(doc, "Paragraph", {int64_t(0)}).object(), "Text").text(), "caf\xc3\xa9 & co");
        rt().call(doc, "AppendParagraph", {"added"});
        rt().call(doc, "SaveAs", {folderItem(saved)});
    }
    EXPECT_EQ(package_check_failures(saved, false), "");
    const std::string xml = zip_read(saved, "word/document.xml");
    EXPECT_NE(xml.find("<q:\xc3\xa9t\xc3\xa9 xmlns:q=\"urn:example:q\" q:na\xc3\xafve=\"1\"/>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<data xmlns=\"urn:example:data\"><item/></data>"), std::string::npos) << xml;

    // What another writer makes opens and saves.
    if (std::system("command -v pandoc >/dev/null 2>&1") != 0) return;
    const std::string written = path("pandoc.docx");
    ASSERT_EQ(std::system(("printf '# Title\\n\\nSome *text*.\\n' | pandoc -o '" + written + "'").c_str()), 0);
    Object doc = Open(written);
    EXPECT_TRUE(doc);
    rt().call(doc, "AppendParagraph", {"added"});
    rt().call(doc, "SaveAs", {folderItem(path("pandoc-saved.docx"))});
    EXPECT_EQ(package_check_failures(path("pandoc-saved.docx"), false), "");
}
