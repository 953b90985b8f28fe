// Parts are found the way the package says, through relationships: a main
// part under another name, a main part without relationships, a package
// without core properties, and targets that name no part. Each opens,
// takes edits and saves to a package that other readers take.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "docx_builder.h"
#include "package_checker.h"
#include "package_files.h"
#include "plugin_test.h"

using vexrt::Object;
namespace pf = package_files;

namespace {

const char kRelBase[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A 2 x 2 PNG.
const std::string kPng(
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x02\x08\x02\x00"
    "\x00\x00\xFD\xD4\x9A\x73\x00\x00\x00\x11\x49\x44\x41\x54\x78\x9C\x63\xF8\xCF\xC0\x00\x44\x0C\x60\xF2\x3F\x00"
    "\x1B\xF2\x03\xFD\xF3\xE7\x4B\xB1\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
    74);

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

// Removes from a part the empty element that holds `marker`.
void EraseElementHolding(pf::Entries& entries, const std::string& part, const std::string& marker) {
    std::string xml = pf::Entry(entries, part);
    const size_t at = xml.find(marker);
    ASSERT_NE(at, std::string::npos) << marker;
    const size_t start = xml.rfind('<', at);
    xml.erase(start, xml.find("/>", at) + 2 - start);
    pf::SetEntry(entries, part, xml);
}

void Rename(pf::Entries& entries, const std::string& from, const std::string& to) {
    const std::string bytes = pf::Entry(entries, from);
    pf::RemoveEntry(entries, from);
    pf::SetEntry(entries, to, bytes);
}

class PackagePartsTest : public PluginTest {
protected:
    Object Open(const std::string& file) { return rt().callShared("Document", "Open", {folderItem(file)}).object(); }
    std::string Text(const Object& doc, int64_t i) {
        return rt().get(rt().call(doc, "Paragraph", {i}).object(), "Text").text();
    }
    int64_t Paragraphs(const Object& doc) { return rt().get(doc, "ParagraphCount").integer(); }
    bool Has(const std::string& file, const std::string& entry) {
        const std::vector<std::string> names = zip_entries(file);
        return std::find(names.begin(), names.end(), entry) != names.end();
    }
};

}  // namespace

// The main part is the target of the package's officeDocument relationship,
// whatever its name. New parts (a header, a picture, numbering) are named
// from it by targets that resolve.
TEST_F(PackagePartsTest, TheMainPartIsWhereThePackageSays) {
    pf::Entries entries = pf::BlankEntries();
    std::string body = pf::Entry(entries, "word/document.xml");
    Replace(body, "<w:body>", "<w:body><w:p><w:r><w:t>Moved main part</w:t></w:r></w:p>");
    pf::SetEntry(entries, "word/document.xml", body);
    Rename(entries, "word/document.xml", "content/main.xml");
    std::string rels = pf::Entry(entries, "word/_rels/document.xml.rels");
    // The main part's targets, relative to word/ before, stay on their parts.
    for (size_t at = rels.find("Target=\""); at != std::string::npos; at = rels.find("Target=\"", at + 1))
        rels.insert(at + 8, "../word/");
    pf::RemoveEntry(entries, "word/_rels/document.xml.rels");
    pf::SetEntry(entries, "content/_rels/main.xml.rels", rels);
    std::string types = pf::Entry(entries, "[Content_Types].xml");
    Replace(types, "/word/document.xml", "/content/main.xml");
    pf::SetEntry(entries, "[Content_Types].xml", types);
    std::string packageRels = pf::Entry(entries, "_rels/.rels");
    Replace(packageRels, "Target=\"word/document.xml\"", "Target=\"/content/main.xml\"");
    pf::SetEntry(entries, "_rels/.rels", packageRels);
    const std::string file = path("moved.docx");
    pf::WriteZip(file, entries);

    Object doc = Open(file);
    ASSERT_TRUE(doc);
    EXPECT_EQ(Text(doc, 0), "Moved main part");
    rt().call(doc, "AppendParagraph", {"Appended"});
    Object header = rt().call(doc, "Header", {int64_t(0), true}).object();
    ASSERT_TRUE(header);
    rt().call(header, "AppendParagraph", {"Header of the moved part"});
    Object list = rt().call(doc, "CreateListIndent", {true}).object();
    ASSERT_TRUE(list);
    rt().call(rt().call(doc, "AppendParagraph", {"Listed"}).object(), "SetListIndent", {list, int64_t(0)});
    rt().call(doc, "AppendParagraph", {rt().makeString(kPng, kREALTextEncodingNone), int64_t(1), "dot.png",
                                       int64_t(2), int64_t(2)});
    rt().set(doc, "Title", "Moved");
    rt().call(doc, "Save");

    EXPECT_FALSE(Has(file, "word/document.xml"));
    EXPECT_EQ(package_check_failures(file, false), "");
    Object again = Open(file);
    EXPECT_EQ(Text(again, 2), "Appended");
    Object headerAgain = rt().call(again, "Header", {int64_t(0), false}).object();
    ASSERT_TRUE(headerAgain);
    EXPECT_EQ(rt().get(rt().call(headerAgain, "Paragraph", {int64_t(0)}).object(), "Text").text(),
              "Header of the moved part");
    if (python_docx_available()) {
        EXPECT_EQ(python_docx_run("import docx, sys\n"
                                  "d = docx.Document(sys.argv[1])\n"
                                  "print([p.text for p in d.paragraphs][0:4], d.core_properties.title,\n"
                                  "      [p.text for p in d.sections[0].header.paragraphs],\n"
                                  "      len(d.inline_shapes))\n",
                                  {file}),
                  "['Moved main part', '', 'Appended', 'Listed'] Moved ['Header of the moved part'] 1\n");
    }
}

// A main part that relates to nothing may come without a relationships
// part; none is written until a relationship is added.
TEST_F(PackagePartsTest, AMainPartWithoutRelationshipsHasNoRelationshipsPart) {
    pf::Entries entries = pf::BlankEntries();
    pf::RemoveEntry(entries, "word/_rels/document.xml.rels");
    for (const char* part : {"word/styles.xml", "word/settings.xml", "word/webSettings.xml", "word/fontTable.xml",
                             "word/theme/theme1.xml"}) {
        pf::RemoveEntry(entries, part);
        EraseElementHolding(entries, "[Content_Types].xml", std::string("PartName=\"/") + part + "\"");
    }
    const std::string file = path("no-rels.docx");
    pf::WriteZip(file, entries);

    Object doc = Open(file);
    ASSERT_TRUE(doc);
    rt().call(doc, "AppendParagraph", {"Plain"});
    rt().call(doc, "SaveAs", {folderItem(path("no-rels-plain.docx"))});
    EXPECT_FALSE(Has(path("no-rels-plain.docx"), "word/_rels/document.xml.rels"));
    EXPECT_EQ(package_check_failures(path("no-rels-plain.docx"), false), "");

    Object paragraph = rt().call(doc, "AppendParagraph", {"See "}).object();
    rt().call(paragraph, "AppendHyperlink", {"the site", "https://example.org/"});
    rt().call(doc, "Save");
    EXPECT_NE(zip_read(file, "word/_rels/document.xml.rels").find("https://example.org/"), std::string::npos);
    EXPECT_EQ(package_check_failures(file, false), "");
    Object again = Open(file);
    EXPECT_EQ(Paragraphs(again), Paragraphs(doc));
}

// Core properties set on a package that has none are related from the
// package, with their content type: readers find the title.
TEST_F(PackagePartsTest, NewCorePropertiesAreRelated) {
    pf::Entries entries = pf::BlankEntries();
    pf::RemoveEntry(entries, "docProps/core.xml");
    EraseElementHolding(entries, "_rels/.rels", "metadata/core-properties");
    EraseElementHolding(entries, "[Content_Types].xml", "PartName=\"/docProps/core.xml\"");
    const std::string file = path("no-core.docx");
    pf::WriteZip(file, entries);

    Object doc = Open(file);
    ASSERT_TRUE(doc);
    rt().set(doc, "Title", "Titled later");
    rt().call(doc, "Save");
    EXPECT_NE(zip_read(file, "_rels/.rels").find("metadata/core-properties\" Target=\"docProps/core.xml\""),
              std::string::npos);
    EXPECT_NE(zip_read(file, "[Content_Types].xml").find("/docProps/core.xml"), std::string::npos);
    EXPECT_EQ(package_check_failures(file, false), "");
    Object again = Open(file);
    EXPECT_EQ(rt().get(again, "Title").text(), "Titled later");
    if (python_docx_available()) {
        EXPECT_EQ(python_docx_run("import docx, sys\nprint(docx.Document(sys.argv[1]).core_properties.title)\n",
                                  {file}),
                  "Titled later\n");
    }
}

// A target that decodes to a control character names no part: the package
// opens as if the relationship named nothing, and what opens saves.
TEST_F(PackagePartsTest, TargetsWithControlCharactersNameNoPart) {
    pf::Entries entries = pf::BlankEntries();
    std::string rels = pf::Entry(entries, "word/_rels/document.xml.rels");
    Replace(rels, "</Relationships>",
            std::string("<Relationship Id=\"rId90\" Type=\"") + kRelBase +
                "header\" Target=\"header1.xml%00\"/><Relationship Id=\"rId91\" Type=\"" + kRelBase +
                "footer\" Target=\"foot%0Aer1.xml\"/></Relationships>");
    pf::SetEntry(entries, "word/_rels/document.xml.rels", rels);
    const std::string file = path("control.zip");
    pf::WriteZip(file, entries);

    Object doc = Open(file);
    ASSERT_TRUE(doc);
    rt().call(doc, "AppendParagraph", {"Saved"});
    Object header = rt().call(doc, "Header", {int64_t(0), true}).object();
    ASSERT_TRUE(header);
    rt().call(header, "AppendParagraph", {"A header of its own"});
    rt().call(doc, "SaveAs", {folderItem(path("control-saved.zip"))});
    Object again = Open(path("control-saved.zip"));
    EXPECT_EQ(Text(again, Paragraphs(again) - 1), "Saved");
    EXPECT_TRUE(rt().call(again, "Header", {int64_t(0), false}).object());
}
