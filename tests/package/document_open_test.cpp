// Opening packages: the blank package, part discovery, and the result code
// and message of every kind of damage. Inputs are named .zip: only the
// documents worth judging as .docx files carry that extension.
#include <cstring>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "package/blank_package.h"
#include "package/document.h"
#include "package_files.h"
#include "xml_snippets.h"

using namespace package_files;

namespace {

const char kRelBase[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string Rel(const std::string& id, const std::string& kind, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelBase + kind + "\" Target=\"" + target +
           "\"/>";
}

// Blank rels plus the given relationships.
std::string RelsWith(const std::string& extra) {
    std::string rels = Entry(BlankEntries(), "word/_rels/document.xml.rels");
    size_t end = rels.rfind("</Relationships>");
    return rels.substr(0, end) + extra + rels.substr(end);
}

const char kHeaderXml[] =
    "<w:hdr xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:p><w:r><w:t>head</w:t></w:r></w:p></w:hdr>";
const char kFooterXml[] =
    "<w:ftr xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:p><w:r><w:t>foot</w:t></w:r></w:p></w:ftr>";

struct Opened {
    std::unique_ptr<Word::Document> document;
    Word::open_result_code result;
};

Opened OpenFile(const std::string& path) {
    Opened opened{std::make_unique<Word::Document>(path), Word::success};
    opened.result = opened.document->Open();
    return opened;
}

Opened OpenEntries(const std::string& path, const Entries& entries) {
    WriteZip(path, entries);
    return OpenFile(path);
}

// "0000-00-00T00:00:00Z" or "0000-00-00T00:00:00+00:00" with digits at the 0s.
bool IsTimeStamp(const std::string& text) {
    std::string pattern = text.size() == 20 ? "0000-00-00T00:00:00Z" : "0000-00-00T00:00:00+00:00";
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool ok = pattern[i] == '0'   ? text[i] >= '0' && text[i] <= '9'
                  : pattern[i] == '+' ? text[i] == '+' || text[i] == '-'
                                      : text[i] == pattern[i];
        if (!ok) return false;
    }
    return true;
}

}  // namespace

TEST(DocumentOpen, BlankPackageHoldsTheListedParts) {
    std::string path = TestFolder() + "blank.docx";
    ASSERT_TRUE(WriteBlankPackage(path.c_str()));
    EXPECT_EQ(ReadFile(path).size(), BlankPackageSize);

    EXPECT_EQ(Names(ReadZip(path)),
              (std::vector<std::string>{"word/document.xml", "docProps/core.xml", "word/styles.xml",
                                        "[Content_Types].xml", "_rels/.rels",
                                        "word/_rels/document.xml.rels", "word/theme/theme1.xml",
                                        "word/settings.xml", "word/webSettings.xml",
                                        "word/fontTable.xml", "docProps/app.xml"}));
    for (const auto& entry : ReadZip(path))
        EXPECT_NE(entry.second.compare(0, 5, "<?xml"), 0) << entry.first << " has a declaration";

    Opened opened = OpenFile(path);
    ASSERT_EQ(opened.result, Word::success);
    Word::Document& doc = *opened.document;
    EXPECT_FALSE(doc.hasNumbering);
    EXPECT_EQ(doc.headers.head, nullptr);
    EXPECT_EQ(doc.footers.head, nullptr);

    pugi::xml_node root = doc.documentXml.document_element();
    ASSERT_STREQ(root.name(), "w:document");
    const char* prefixes[] = {"wpc",   "cx",    "cx1",    "cx2",    "cx3",      "cx4",  "cx5",
                              "cx6",   "cx7",   "cx8",    "mc",     "aink",     "am3d", "o",
                              "oel",   "r",     "m",      "v",      "wp14",     "wp",   "w10",
                              "w",     "w14",   "w15",    "w16cex", "w16cid",   "w16",  "w16sdtdh",
                              "w16se", "wpg",   "wpi",    "wne",    "wps"};
    pugi::xml_attribute attribute = root.first_attribute();
    for (const char* prefix : prefixes) {
        ASSERT_TRUE(attribute);
        EXPECT_EQ(std::string(attribute.name()), std::string("xmlns:") + prefix);
        attribute = attribute.next_attribute();
    }
    EXPECT_STREQ(attribute.name(), "mc:Ignorable");
    EXPECT_STREQ(attribute.value(), "w14 w15 w16se w16cid w16 w16cex w16sdtdh wp14");
    EXPECT_FALSE(attribute.next_attribute());

    pugi::xml_node body = root.child("w:body");
    pugi::xml_node paragraph = body.child("w:p");
    EXPECT_STREQ(paragraph.attribute("w14:paraId").value(), "722A44F0");
    EXPECT_STREQ(paragraph.attribute("w14:textId").value(), "77777777");
    EXPECT_STREQ(paragraph.attribute("w:rsidR").value(), "00FB25B7");
    EXPECT_STREQ(paragraph.attribute("w:rsidRDefault").value(), "00FB25B7");
    EXPECT_FALSE(paragraph.first_child());
    pugi::xml_node sectPr = body.child("w:sectPr");
    EXPECT_STREQ(sectPr.attribute("w:rsidR").value(), "00FB25B7");
    EXPECT_EQ(sectPr.child("w:pgSz").attribute("w:w").as_int(), 12240);
    EXPECT_EQ(sectPr.child("w:pgSz").attribute("w:h").as_int(), 15840);
    pugi::xml_node margins = sectPr.child("w:pgMar");
    for (const char* side : {"w:top", "w:right", "w:bottom", "w:left"})
        EXPECT_EQ(margins.attribute(side).as_int(), 1440) << side;
    EXPECT_EQ(margins.attribute("w:header").as_int(), 720);
    EXPECT_EQ(margins.attribute("w:footer").as_int(), 720);
    EXPECT_EQ(margins.attribute("w:gutter").as_int(), 0);
    EXPECT_EQ(sectPr.child("w:cols").attribute("w:space").as_int(), 720);
    EXPECT_EQ(sectPr.child("w:docGrid").attribute("w:linePitch").as_int(), 360);

    pugi::xml_node core = doc.coreXml.document_element();
    EXPECT_STREQ(core.child_value("dc:creator"), "Vexlomar Word document Generator");
    EXPECT_STREQ(core.child_value("cp:lastModifiedBy"), "Vexlomar Word document Generator");
    EXPECT_STREQ(core.child_value("cp:revision"), "1");
    EXPECT_STREQ(core.child_value("dcterms:created"), "2022-07-21T11:22:00Z");
    EXPECT_STREQ(core.child_value("dcterms:modified"), "2022-07-21T11:24:00Z");

    pugi::xml_node styles = doc.stylesXml.document_element();
    pugi::xml_node runDefaults = styles.child("w:docDefaults").child("w:rPrDefault").child("w:rPr");
    EXPECT_STREQ(runDefaults.child("w:sz").attribute("w:val").value(), "22");
    EXPECT_STREQ(runDefaults.child("w:lang").attribute("w:val").value(), "en-US");
    EXPECT_TRUE(styles.child("w:latentStyles"));
    for (const char* id : {"Normal", "DefaultParagraphFont", "TableNormal", "NoList"})
        EXPECT_TRUE(styles.find_child_by_attribute("w:style", "w:styleId", id)) << id;
}

TEST(DocumentOpen, ThemeColoursOfTheBlankPackage) {
    std::string path = TestFolder() + "blank.zip";
    ASSERT_TRUE(WriteBlankPackage(path.c_str()));
    Opened opened = OpenFile(path);
    ASSERT_EQ(opened.result, Word::success);
    const Word::Document& doc = *opened.document;
    const std::pair<const char*, const char*> scheme[] = {
        {"dk1", "000000"},     {"lt1", "FFFFFF"},     {"dk2", "44546A"},   {"lt2", "E7E6E6"},
        {"accent1", "4472C4"}, {"accent2", "ED7D31"}, {"accent3", "A5A5A5"}, {"accent4", "FFC000"},
        {"accent5", "5B9BD5"}, {"accent6", "70AD47"}, {"hlink", "0563C1"},  {"folHlink", "954F72"}};
    for (const auto& slot : scheme) EXPECT_STREQ(doc.LookupThemeColor(slot.first), slot.second);
    EXPECT_STREQ(doc.LookupThemeColor("tx1"), "");
    EXPECT_STREQ(doc.LookupThemeColor(""), "");

    Word::Document themeless("unused");
    EXPECT_STREQ(themeless.LookupThemeColor("accent1"), "");
}

TEST(DocumentOpen, DamagedPackagesGiveTheirCodeAndMessage) {
    std::string folder = TestFolder();
    struct Case {
        const char* name;
        Entries entries;
        Word::open_result_code code;
        RBInteger errorNumber;
        const char* message;
    };
    auto without = [](const char* name) {
        Entries entries = BlankEntries();
        RemoveEntry(entries, name);
        return entries;
    };
    auto replacing = [](const char* name, const std::string& bytes) {
        Entries entries = BlankEntries();
        SetEntry(entries, name, bytes);
        return entries;
    };
    const std::string missing = "Could not open internal file in document: ";
    std::vector<Case> cases = {
        {"no-document", without("word/document.xml"), Word::entry_missing, -3,
         "Could not open internal file in document: word/document.xml"},
        {"no-styles", without("word/styles.xml"), Word::entry_missing, -3,
         "Could not open internal file in document: word/styles.xml"},
        {"no-content-types", without("[Content_Types].xml"), Word::entry_missing, -3,
         "Could not open internal file in document: [Content_Types].xml"},
        {"no-theme", without("word/theme/theme1.xml"), Word::entry_missing, -3,
         "Could not open internal file in document: word/theme/theme1.xml"},
        {"missing-header",
         replacing("word/_rels/document.xml.rels", RelsWith(Rel("rId9", "header", "header1.xml"))),
         Word::entry_missing, -3, "Could not open internal file in document: word/header1.xml"},
        {"malformed-document", replacing("word/document.xml", "<w:document><w:body></w:document>"),
         Word::parse_failed, -7, "Error could not parse document: word/document.xml"},
        {"malformed-core", replacing("docProps/core.xml", "<cp:coreProperties>"),
         Word::parse_failed, -7, "Error could not parse document: docProps/core.xml"},
        {"malformed-styles", replacing("word/styles.xml", "not xml at all <"), Word::parse_failed,
         -7, "Error could not parse document: word/styles.xml"},
        {"malformed-rels", replacing("word/_rels/document.xml.rels", "<Relationships>"),
         Word::parse_failed, -7, "Error could not parse document: word/_rels/document.xml.rels"},
        {"malformed-content-types", replacing("[Content_Types].xml", "<Types><Default></Types>"),
         Word::parse_failed, -7, "Error could not parse document: [Content_Types].xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Opened opened = OpenEntries(folder + c.name + ".zip", c.entries);
        EXPECT_EQ(opened.result, c.code);
        RBInteger number = 0;
        EXPECT_EQ(opened.document->GetErrorDescriptionAndCode(opened.result, number), c.message);
        EXPECT_EQ(number, c.errorNumber);
    }
}

TEST(DocumentOpen, FilesThatAreNoPackageFailToOpen) {
    std::string folder = TestFolder();
    std::string blank(reinterpret_cast<const char*>(BlankPackage), BlankPackageSize);
    WriteFile(folder + "text.zip", "This is not a ZIP archive.\n");
    WriteFile(folder + "truncated.zip", blank.substr(0, blank.size() / 2));
    WriteFile(folder + "empty.zip", "");
    std::filesystem::create_directories(folder + "folder.zip");
    for (const char* name : {"text.zip", "truncated.zip", "empty.zip", "absent.zip", "folder.zip"}) {
        SCOPED_TRACE(name);
        Opened opened = OpenFile(folder + name);
        EXPECT_EQ(opened.result, Word::zip_open_failed);
        RBInteger number = 0;
        EXPECT_EQ(opened.document->GetErrorDescriptionAndCode(opened.result, number),
                  "Error opening word document");
        EXPECT_EQ(number, -4);
    }
}

TEST(DocumentOpen, DamagedEntryBytesGiveAReadError) {
    std::string path = TestFolder() + "crc.zip";
    Entries entries = BlankEntries();
    SetEntry(entries, "word/styles.xml", "<w:styles>MARKER-TEXT</w:styles>");
    WriteZip(path, entries, /*stored=*/true);
    std::string bytes = ReadFile(path);
    size_t at = bytes.find("MARKER-TEXT");
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'X';  // same length, wrong CRC
    WriteFile(path, bytes);

    Opened opened = OpenFile(path);
    EXPECT_EQ(opened.result, Word::entry_read_failed);
    RBInteger number = 0;
    EXPECT_EQ(opened.document->GetErrorDescriptionAndCode(opened.result, number),
              "Error reading zip entry: word/styles.xml");
    EXPECT_EQ(number, -5);
}

TEST(DocumentOpen, HeadersAndFootersFollowRelationshipOrder) {
    std::string path = TestFolder() + "headers.zip";
    Entries entries = BlankEntries();
    SetEntry(entries, "word/_rels/document.xml.rels",
             RelsWith(Rel("rId7", "header", "header1.xml") + Rel("rId8", "footer", "footer1.xml") +
                      Rel("rId9", "header", "header2.xml")));
    SetEntry(entries, "word/header1.xml", kHeaderXml);
    SetEntry(entries, "word/footer1.xml", kFooterXml);
    SetEntry(entries, "word/header2.xml", kHeaderXml);
    Opened opened = OpenEntries(path, entries);
    ASSERT_EQ(opened.result, Word::success);
    const Word::Document& doc = *opened.document;

    ASSERT_NE(doc.headers.head, nullptr);
    EXPECT_EQ(doc.headers.head->id, "rId7");
    EXPECT_EQ(doc.headers.head->target, "header1.xml");
    ASSERT_NE(doc.headers.head->next, nullptr);
    EXPECT_EQ(doc.headers.head->next->id, "rId9");
    EXPECT_EQ(doc.headers.head->next->target, "header2.xml");
    EXPECT_EQ(doc.headers.head->next->next, nullptr);
    EXPECT_EQ(doc.headers.tail, doc.headers.head->next);
    ASSERT_NE(doc.footers.head, nullptr);
    EXPECT_EQ(doc.footers.head->id, "rId8");
    EXPECT_EQ(doc.footers.head->next, nullptr);
    EXPECT_STREQ(doc.footers.head->xml.document_element().name(), "w:ftr");
}

TEST(DocumentOpen, MalformedHeaderPartFailsAndStaysListed) {
    std::string path = TestFolder() + "bad-header.zip";
    Entries entries = BlankEntries();
    SetEntry(entries, "word/_rels/document.xml.rels",
             RelsWith(Rel("rId7", "header", "header1.xml")));
    SetEntry(entries, "word/header1.xml", "<w:hdr>");
    Opened opened = OpenEntries(path, entries);
    EXPECT_EQ(opened.result, Word::parse_failed);
    ASSERT_NE(opened.document->headers.head, nullptr);
    EXPECT_EQ(opened.document->headers.head->id, "rId7");
}

TEST(DocumentOpen, NumberingPartOfAnyNameIsFollowed) {
    std::string folder = TestFolder();
    Entries entries = BlankEntries();
    SetEntry(entries, "word/_rels/document.xml.rels",
             RelsWith(Rel("rId6", "numbering", "numbering2.xml")));
    SetEntry(entries, "word/numbering2.xml",
             "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/"
             "main\"><w:abstractNum w:abstractNumId=\"0\"/></w:numbering>");
    Opened opened = OpenEntries(folder + "numbering.zip", entries);
    ASSERT_EQ(opened.result, Word::success);
    EXPECT_TRUE(opened.document->hasNumbering);
    EXPECT_EQ(opened.document->numberingTarget, "numbering2.xml");
    EXPECT_TRUE(opened.document->numberingXml.document_element().child("w:abstractNum"));

    // A malformed numbering or theme part is refused, naming it: a save
    // would copy it as no reader takes it, or replace it and lose its lists.
    SetEntry(entries, "word/numbering2.xml", "<w:numbering>");
    Opened malformed = OpenEntries(folder + "malformed-numbering.zip", entries);
    EXPECT_EQ(malformed.result, Word::parse_failed);
    EXPECT_EQ(malformed.document->lastError, "Error could not parse document: word/numbering2.xml");
    SetEntry(entries, "word/numbering2.xml", "<w:numbering xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"/>");
    SetEntry(entries, "word/theme/theme1.xml", "<a:theme");
    Opened theme = OpenEntries(folder + "malformed-theme.zip", entries);
    EXPECT_EQ(theme.result, Word::parse_failed);
    EXPECT_EQ(theme.document->lastError, "Error could not parse document: word/theme/theme1.xml");
    SetEntry(entries, "word/theme/theme1.xml", "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"/>");

    RemoveEntry(entries, "word/numbering2.xml");
    Opened missing = OpenEntries(folder + "missing-numbering.zip", entries);
    EXPECT_EQ(missing.result, Word::entry_missing);
    EXPECT_EQ(missing.document->lastError,
              "Could not open internal file in document: word/numbering2.xml");
}

TEST(DocumentOpen, PackageWithoutCorePartOpensWithEmptyCore) {
    Entries entries = BlankEntries();
    RemoveEntry(entries, "docProps/core.xml");
    Opened opened = OpenEntries(TestFolder() + "no-core.zip", entries);
    ASSERT_EQ(opened.result, Word::success);
    EXPECT_FALSE(opened.document->coreXml.first_child());
}

TEST(DocumentOpen, DeclarationDroppedAndBlankTextKept) {
    Entries entries = BlankEntries();
    SetEntry(entries, "word/document.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
             "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
             "<w:body><w:p><w:r><w:t xml:space=\"preserve\"> </w:t></w:r></w:p><w:sectPr/>"
             "</w:body></w:document>");
    Opened opened = OpenEntries(TestFolder() + "declaration.zip", entries);
    ASSERT_EQ(opened.result, Word::success);
    const Word::Document& doc = *opened.document;
    EXPECT_STREQ(doc.documentXml.first_child().name(), "w:document");
    pugi::xml_node text =
        doc.documentXml.document_element().child("w:body").child("w:p").child("w:r").child("w:t");
    EXPECT_STREQ(text.text().get(), " ");
    std::string printed = xml_print_part(doc.documentXml);
    EXPECT_EQ(printed.compare(0, 12, "<w:document "), 0) << printed;
    EXPECT_NE(printed.find("<w:t xml:space=\"preserve\"> </w:t>"), std::string::npos) << printed;
}

TEST(DocumentOpen, CreateCoreBuildsAFreshCorePart) {
    Word::Document doc("unused");
    doc.CreateCore();
    pugi::xml_node root = doc.coreXml.document_element();
    ASSERT_STREQ(root.name(), "cp:coreProperties");
    std::vector<std::pair<std::string, std::string>> namespaces;
    for (pugi::xml_attribute a : root.attributes()) namespaces.emplace_back(a.name(), a.value());
    EXPECT_EQ(namespaces,
              (std::vector<std::pair<std::string, std::string>>{
                  {"xmlns:cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
                  {"xmlns:dc", "http://purl.org/dc/elements/1.1/"},
                  {"xmlns:dcterms", "http://purl.org/dc/terms/"},
                  {"xmlns:dcmitype", "http://purl.org/dc/dcmitype/"},
                  {"xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance"}}));
    std::vector<std::string> children;
    for (pugi::xml_node child : root.children()) children.push_back(child.name());
    EXPECT_EQ(children, (std::vector<std::string>{"dc:title", "dc:subject", "dc:creator",
                                                  "cp:keywords", "dc:description",
                                                  "cp:lastModifiedBy", "cp:revision",
                                                  "dcterms:created", "dcterms:modified"}));
    EXPECT_FALSE(root.child("dc:title").first_child());
    EXPECT_STREQ(root.child_value("cp:revision"), "1");
    for (const char* name : {"dcterms:created", "dcterms:modified"}) {
        EXPECT_STREQ(root.child(name).attribute("xsi:type").value(), "dcterms:W3CDTF");
        EXPECT_TRUE(IsTimeStamp(root.child_value(name))) << root.child_value(name);
    }

    // A second call starts over instead of adding a second root.
    root.child("dc:title").text() = "kept?";
    doc.CreateCore();
    EXPECT_FALSE(doc.coreXml.document_element().child("dc:title").first_child());
    EXPECT_FALSE(doc.coreXml.document_element().next_sibling());
}

TEST(DocumentOpen, FileIsMarkedForDeleteComparesWholeNames) {
    Word::DeletedFileList list = {"word/media/image1.png", "word/media/image10.png"};
    EXPECT_TRUE(Word::Document::FileIsMarkedForDelete("word/media/image1.png", &list));
    EXPECT_TRUE(Word::Document::FileIsMarkedForDelete("word/media/image10.png", &list));
    EXPECT_FALSE(Word::Document::FileIsMarkedForDelete("word/media/image1", &list));
    EXPECT_FALSE(Word::Document::FileIsMarkedForDelete("word/media/image1.png2", &list));
    Word::DeletedFileList empty;
    EXPECT_FALSE(Word::Document::FileIsMarkedForDelete("word/media/image1.png", &empty));
    EXPECT_FALSE(Word::Document::FileIsMarkedForDelete("word/media/image1.png", nullptr));
}
