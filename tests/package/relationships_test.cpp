// Relationship ids, part names and content types of a package.
#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "package/blank_package.h"
#include "package/content_types.h"
#include "package/document.h"
#include "package/relationships.h"
#include "package_files.h"

using namespace package_files;

namespace {

const std::string kBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A document over the blank package, opened from a file of the test.
std::unique_ptr<Word::Document> OpenBlank(const std::string& name = "blank.zip") {
    std::string path = TestFolder() + name;
    EXPECT_TRUE(WriteBlankPackage(path.c_str()));
    auto doc = std::make_unique<Word::Document>(path);
    EXPECT_EQ(doc->Open(), Word::success);
    return doc;
}

// A document whose relationships are exactly the given ones (no file).
std::unique_ptr<Word::Document> WithRelationships(const std::string& relationships) {
    auto doc = std::make_unique<Word::Document>("unused");
    std::string xml =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
        relationships + "</Relationships>";
    EXPECT_TRUE(doc->relsXml.load_string(xml.c_str()));
    return doc;
}

std::string Rel(const std::string& id, const std::string& kind, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kBase + kind + "\" Target=\"" + target +
           "\"/>";
}

int CountChildren(const pugi::xml_node& parent, const char* name) {
    int n = 0;
    for (pugi::xml_node child : parent.children(name)) {
        (void)child;
        ++n;
    }
    return n;
}

}  // namespace

TEST(Relationships, NextFreeIdFollowsTheLargestNumber) {
    auto blank = OpenBlank();
    EXPECT_EQ(Rel_GetNextFreeID(*blank), "rId6");
    Rel_AddID(*blank, "rId6", "http://example.com/", "hyperlink");
    EXPECT_EQ(Rel_GetNextFreeID(*blank), "rId7");

    EXPECT_EQ(Rel_GetNextFreeID(*WithRelationships(Rel("rId2", "image", "media/image1.png") +
                                                    Rel("rId10", "image", "media/image2.png") +
                                                    Rel("rIdX", "image", "media/image3.png"))),
              "rId11");
    // The prefix is not looked at; ids without a number are passed over.
    EXPECT_EQ(Rel_GetNextFreeID(*WithRelationships(Rel("xyz7", "image", "a.png") +
                                                    Rel("rI", "image", "b.png") +
                                                    Rel("rId 3", "image", "c.png"))),
              "rId8");
    EXPECT_EQ(Rel_GetNextFreeID(*WithRelationships("")), "rId1");
    // A huge number does not overflow into a negative id.
    EXPECT_EQ(Rel_GetNextFreeID(*WithRelationships(Rel("rId99999999999999999999", "image", "a"))).substr(0, 4),
              "rId1");
}

TEST(Relationships, UniquePartNamesComeFromTheRelationships) {
    auto doc = WithRelationships(Rel("rId1", "header", "header1.xml") +
                                 Rel("rId2", "header", "header7.xml") +
                                 Rel("rId3", "footer", "footer2.xml") +
                                 Rel("rId4", "header", "first.xml") +
                                 Rel("rId5", "footer", "footer") +
                                 Rel("rId6", "image", "media/image4.png"));
    EXPECT_EQ(Rel_GetUniqueHeaderName(*doc), "header8.xml");
    EXPECT_EQ(Rel_GetUniqueFooterName(*doc), "footer3.xml");

    auto none = WithRelationships("");
    EXPECT_EQ(Rel_GetUniqueHeaderName(*none), "header1.xml");
    EXPECT_EQ(Rel_GetUniqueFooterName(*none), "footer1.xml");
    Rel_AddImageID(*none, "rId1", "image1.png");
    EXPECT_STREQ(none->relsXml.document_element().last_child().attribute("Target").value(),
                 "media/image1.png");
}

TEST(Relationships, AddFindAndDelete) {
    auto doc = OpenBlank();
    pugi::xml_node link = Rel_AddID(*doc, "rId6", "http://example.com/", "hyperlink");
    link.append_attribute("TargetMode") = "External";
    Rel_AddHeaderID(*doc, "rId7", "header1.xml");
    Rel_AddFooterID(*doc, "rId8", "footer1.xml");

    pugi::xml_node rels = doc->relsXml.document_element();
    pugi::xml_node header = rels.find_child_by_attribute("Relationship", "Id", "rId7");
    std::vector<std::string> attributes;
    for (pugi::xml_attribute a : header.attributes()) attributes.push_back(a.name());
    EXPECT_EQ(attributes, (std::vector<std::string>{"Id", "Type", "Target"}));
    EXPECT_EQ(header.attribute("Type").value(), kBase + "header");
    EXPECT_EQ(rels.find_child_by_attribute("Relationship", "Id", "rId8").attribute("Type").value(),
              kBase + "footer");

    bool found = false;
    EXPECT_STREQ(Rel_TargetFromID(*doc, "rId6", found).value(), "http://example.com/");
    EXPECT_TRUE(found);
    EXPECT_STREQ(Rel_TargetFromID(*doc, "rId5", found).value(), "theme/theme1.xml");
    pugi::xml_attribute missing = Rel_TargetFromID(*doc, "rId60", found);
    EXPECT_FALSE(found);
    EXPECT_FALSE(missing);
    EXPECT_STREQ(missing.value(), "");

    int before = CountChildren(rels, "Relationship");
    EXPECT_FALSE(Rel_DeleteID(*doc, "rId60"));
    EXPECT_FALSE(Rel_DeleteID(*doc, "rid6"));
    EXPECT_EQ(CountChildren(rels, "Relationship"), before);
    EXPECT_TRUE(Rel_DeleteID(*doc, "rId6"));
    EXPECT_EQ(CountChildren(rels, "Relationship"), before - 1);
    Rel_TargetFromID(*doc, "rId6", found);
    EXPECT_FALSE(found);
    EXPECT_EQ(Rel_GetNextFreeID(*doc), "rId9");
}

TEST(Relationships, NoNewDocumentPartWithoutAContentTypeTable) {
    auto doc = WithRelationships(Rel("rId1", "theme", "theme/theme1.xml"));
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string("<kept/>"));
    EXPECT_FALSE(Rel_AddDocumentPart(*doc, "settings.xml", "settings", "application/xml", xml, "w:settings"));
    EXPECT_EQ(CountChildren(doc->relsXml.document_element(), "Relationship"), 1);
    EXPECT_STREQ(xml.document_element().name(), "kept");
}

TEST(ContentTypes, ExtensionsOnceOverridesAlways) {
    auto doc = OpenBlank();
    pugi::xml_node types = doc->contentTypesXml.document_element();
    RegisterExtension(*doc, "png", "image/png");
    RegisterExtension(*doc, "png", "image/png");
    RegisterExtension(*doc, "jpeg", "image/jpeg");
    RegisterExtension(*doc, "xml", "text/plain");  // the blank package has one
    EXPECT_EQ(CountChildren(types, "Default"), 4);
    pugi::xml_node png = types.find_child_by_attribute("Default", "Extension", "png");
    EXPECT_STREQ(png.first_attribute().name(), "Extension");
    EXPECT_STREQ(png.attribute("ContentType").value(), "image/png");
    EXPECT_STREQ(types.find_child_by_attribute("Default", "Extension", "xml")
                     .attribute("ContentType")
                     .value(),
                 "application/xml");

    const char* header = "application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml";
    int overrides = CountChildren(types, "Override");
    ContentType_AddPart(*doc, "/word/header1.xml", header);
    ContentType_AddPart(*doc, "/word/header1.xml", header);
    EXPECT_EQ(CountChildren(types, "Override"), overrides + 2);
    pugi::xml_node added = types.last_child();
    EXPECT_STREQ(added.name(), "Override");
    EXPECT_STREQ(added.first_attribute().name(), "PartName");
    EXPECT_STREQ(added.attribute("PartName").value(), "/word/header1.xml");
    EXPECT_STREQ(added.attribute("ContentType").value(), header);
}

// Each header or footer has its own relationships: operations that name the
// part work there and never in the main document's; the part's
// relationships are written back only once changed.
TEST(Relationships, EachPartHasItsOwn) {
    std::string folder = TestFolder();
    Entries entries = BlankEntries();
    std::string rels = Entry(entries, "word/_rels/document.xml.rels");
    rels.insert(rels.rfind("</Relationships>"), Rel("rId6", "header", "header1.xml") + Rel("rId7", "footer", "footer1.xml"));
    SetEntry(entries, "word/_rels/document.xml.rels", rels);
    const std::string w = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
    SetEntry(entries, "word/header1.xml", "<w:hdr " + w + "/>");
    SetEntry(entries, "word/footer1.xml", "<w:ftr " + w + "/>");
    const std::string headerRels =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
        Rel("rId1", "image", "media/image1.png") + "</Relationships>\n<!-- as written -->";
    SetEntry(entries, "word/_rels/header1.xml.rels", headerRels);
    SetEntry(entries, "word/media/image1.png", "png");
    WriteZip(folder + "parts.zip", entries);

    Word::Document doc(folder + "parts.zip");
    ASSERT_EQ(doc.Open(), Word::success);
    Word::HeaderFooterPart* header = doc.headers.head;
    Word::HeaderFooterPart* footer = doc.footers.head;
    ASSERT_TRUE(header && footer);
    EXPECT_TRUE(header->hasRels);
    EXPECT_FALSE(footer->hasRels);
    EXPECT_EQ(doc.PartOfNode(header->xml.document_element()), header);
    EXPECT_EQ(doc.PartOfNode(doc.documentXml.document_element()), nullptr);

    // Unchanged: copied as it was.
    EXPECT_TRUE(doc.SaveAs((folder + "same.zip").c_str(), nullptr, nullptr));
    EXPECT_EQ(Entry(ReadZip(folder + "same.zip"), "word/_rels/header1.xml.rels"), headerRels);

    EXPECT_EQ(Rel_GetNextFreeID(doc, header), "rId2");
    Rel_AddID(doc, "rId2", "https://example.com/", "hyperlink", header);
    EXPECT_EQ(Rel_GetNextFreeID(doc, footer), "rId1");
    Rel_AddID(doc, "rId1", "https://example.org/", "hyperlink", footer);
    EXPECT_EQ(Rel_GetNextFreeID(doc), "rId8");  // the main part's are untouched
    bool found = false;
    EXPECT_STREQ(Rel_TargetFromID(doc, "rId1", found, header).value(), "media/image1.png");
    EXPECT_STREQ(Rel_TargetFromID(doc, "rId1", found, footer).value(), "https://example.org/");
    EXPECT_STREQ(Rel_TargetFromID(doc, "rId1", found).value(), "styles.xml");
    EXPECT_EQ(Rel_PartName(doc, header), "word/header1.xml");

    EXPECT_TRUE(doc.SaveAs((folder + "changed.zip").c_str(), nullptr, nullptr));
    Entries saved = ReadZip(folder + "changed.zip");
    EXPECT_NE(Entry(saved, "word/_rels/header1.xml.rels").find("https://example.com/"), std::string::npos);
    EXPECT_NE(Entry(saved, "word/_rels/footer1.xml.rels").find("https://example.org/"), std::string::npos);
    EXPECT_EQ(Entry(saved, "word/_rels/document.xml.rels").find("example"), std::string::npos);
    std::vector<std::string> names = Names(saved);
    EXPECT_EQ(std::count(names.begin(), names.end(), "word/_rels/header1.xml.rels"), 1);

    EXPECT_TRUE(Rel_DeleteID(doc, "rId1", header));
    EXPECT_FALSE(Rel_DeleteID(doc, "rId2", footer));
    EXPECT_STREQ(Rel_TargetFromID(doc, "rId1", found).value(), "styles.xml");
}

// The index behind ids and lookups follows every add and delete: a deleted
// id is not handed out again, and of two relationships with one id the
// second is found once the first is gone.
TEST(Relationships, IndexFollowsAddsAndDeletes) {
    auto doc = WithRelationships(Rel("rId3", "image", "media/a.png") + Rel("rId3", "image", "media/b.png"));
    bool found = false;
    EXPECT_STREQ(Rel_TargetFromID(*doc, "rId3", found).value(), "media/a.png");
    EXPECT_EQ(Rel_GetNextFreeID(*doc), "rId4");
    Rel_AddID(*doc, "rId4", "https://example.com/", "hyperlink");
    EXPECT_EQ(Rel_GetNextFreeID(*doc), "rId5");
    EXPECT_STREQ(Rel_TargetFromID(*doc, "rId4", found).value(), "https://example.com/");
    EXPECT_TRUE(found);

    EXPECT_TRUE(Rel_DeleteID(*doc, "rId3"));
    EXPECT_STREQ(Rel_TargetFromID(*doc, "rId3", found).value(), "media/b.png");
    EXPECT_TRUE(Rel_DeleteID(*doc, "rId3"));
    EXPECT_FALSE(Rel_DeleteID(*doc, "rId3"));
    Rel_TargetFromID(*doc, "rId3", found);
    EXPECT_FALSE(found);
    EXPECT_TRUE(Rel_DeleteID(*doc, "rId4"));
    EXPECT_EQ(Rel_GetNextFreeID(*doc), "rId5");
    EXPECT_EQ(CountChildren(doc->relsXml.document_element(), "Relationship"), 0);
}
