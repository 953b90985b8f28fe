// Parts that bind the library's namespaces to other prefixes (as other XML
// tools write them) read, edit and save as parts written with its own.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "docx_builder.h"
#include "package_checker.h"
#include "plugin_test.h"

using vexrt::Object;

namespace {

const char kW[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char kR[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char kMc[] = "http://schemas.openxmlformats.org/markup-compatibility/2006";
const char kW14[] = "http://schemas.microsoft.com/office/word/2010/wordml";
const char kOther[] = "urn:example:other";

class PartNamespacesTest : public PluginTest {
protected:
    Object Open(const std::string& file) { return rt().callShared("Document", "Open", {folderItem(file)}).object(); }

    std::vector<std::string> Texts(const Object& doc) {
        std::vector<std::string> texts;
        const int64_t count = rt().get(doc, "ParagraphCount").integer();
        for (int64_t i = 0; i < count; ++i)
            texts.push_back(rt().get(rt().call(doc, "Paragraph", {i}).object(), "Text").text());
        return texts;
    }

    // Writes `documentXml` as the main part, opens it, expects `texts`,
    // appends a paragraph and saves: the copy must read back with it in the
    // library and python-docx, and pass the checker. Returns the copy.
    std::string RoundTrip(const std::string& name, const std::string& documentXml, std::vector<std::string> texts) {
        DocxParts parts;
        parts.overrides["word/document.xml"] = documentXml;
        // Not .docx: only what the library saves is judged as its own.
        const std::string input = path(name + ".zip");
        write_docx(input, parts);
        const std::string saved = path(name + "-saved.docx");
        {
            Object doc = Open(input);
            EXPECT_EQ(Texts(doc), texts);
            rt().call(doc, "AppendParagraph", {"added"});
            rt().call(doc, "SaveAs", {folderItem(saved)});
        }
        texts.push_back("added");
        EXPECT_EQ(Texts(Open(saved)), texts);
        EXPECT_EQ(package_check_failures(saved, false), "");
        if (python_docx_available()) {
            EXPECT_EQ(python_docx_paragraphs(saved), texts);
        }
        return saved;
    }
};

pugi::xml_document Parsed(const std::string& xml) {
    pugi::xml_document parsed;
    EXPECT_TRUE(parsed.load_buffer(xml.data(), xml.size()));
    return parsed;
}

}  // namespace

TEST_F(PartNamespacesTest, OtherPrefixesAndTheDefaultNamespaceReadAndSaveAsOurs) {
    // As ElementTree writes it: ns0, ns1... declared on the root only.
    const std::string ns0 = std::string("<ns0:document xmlns:ns0=\"") + kW + "\" xmlns:ns1=\"" + kR +
                            "\"><ns0:body><ns0:p><ns0:r><ns0:rPr><ns0:b/></ns0:rPr><ns0:t>First</ns0:t></ns0:r></ns0:p>"
                            "<ns0:p><ns0:r><ns0:t xml:space=\"preserve\">Second </ns0:t></ns0:r></ns0:p>"
                            "<ns0:sectPr><ns0:pgSz ns0:w=\"12240\" ns0:h=\"15840\"/></ns0:sectPr></ns0:body></ns0:document>";
    const std::string saved = RoundTrip("ns0", ns0, {"First", "Second "});
    const std::string xml = zip_read(saved, "word/document.xml");
    EXPECT_EQ(xml.find("ns0"), std::string::npos) << xml;
    pugi::xml_document parsed = Parsed(xml);
    EXPECT_STREQ(parsed.document_element().name(), "w:document");
    EXPECT_STREQ(parsed.document_element().attribute("xmlns:w").value(), kW);
    EXPECT_STREQ(parsed.document_element().attribute("xmlns:r").value(), kR);
    EXPECT_STREQ(parsed.select_node("//w:pgSz").node().attribute("w:w").value(), "12240");

    // The default namespace, with the attributes' prefix bound too; a
    // declaration on an inner element, and an unprefixed attribute that
    // stays in no namespace.
    const std::string byDefault = std::string("<document xmlns=\"") + kW + "\" xmlns:w=\"" + kW +
                                  "\"><body><p><pPr><jc w:val=\"center\"/></pPr><r><t>Centred</t></r></p>"
                                  "<q:p xmlns:q=\"" + kW + "\" custom=\"kept\"><q:r><q:t>Inner</q:t></q:r></q:p>"
                                  "<sectPr><pgSz w:w=\"12240\" w:h=\"15840\"/></sectPr></body></document>";
    const std::string saved2 = RoundTrip("default", byDefault, {"Centred", "Inner"});
    pugi::xml_document parsed2 = Parsed(zip_read(saved2, "word/document.xml"));
    pugi::xml_node root = parsed2.document_element();
    EXPECT_STREQ(root.name(), "w:document");
    EXPECT_FALSE(root.attribute("xmlns"));
    EXPECT_STREQ(root.select_node("//w:jc").node().attribute("w:val").value(), "center");
    pugi::xml_node inner = root.child("w:body").child("w:p").next_sibling("w:p");
    EXPECT_STREQ(inner.attribute("custom").value(), "kept");
    EXPECT_FALSE(inner.attribute("xmlns:q"));
    EXPECT_FALSE(inner.attribute("xmlns:w"));  // the root's binding serves
}

TEST_F(PartNamespacesTest, AForeignNamespaceOnOurPrefixKeepsItsContentUnderAnother) {
    // w means something else here; WordprocessingML is ns0, and the foreign
    // namespace is ignorable, listed by its prefix.
    const std::string xml = std::string("<ns0:document xmlns:ns0=\"") + kW + "\" xmlns:w=\"" + kOther +
                            "\" xmlns:mc=\"" + kMc + "\" xmlns:w14=\"" + kW14 +
                            "\" mc:Ignorable=\"w w14\" w:stamp=\"7\"><ns0:body>"
                            "<ns0:p w14:paraId=\"1A2B3C4D\"><ns0:r><ns0:t>Kept</ns0:t></ns0:r></ns0:p>"
                            "<ns0:p><ns0:r><w:note><w:text>foreign</w:text></w:note><ns0:t>Also</ns0:t></ns0:r></ns0:p>"
                            "<ns0:sectPr/></ns0:body></ns0:document>";
    const std::string saved = RoundTrip("foreign-w", xml, {"Kept", "Also"});
    pugi::xml_document parsed = Parsed(zip_read(saved, "word/document.xml"));
    pugi::xml_node root = parsed.document_element();
    EXPECT_STREQ(root.attribute("xmlns:w").value(), kW);
    // The foreign namespace under a prefix of neither the part nor ours.
    std::string foreign;
    for (pugi::xml_attribute a : root.attributes())
        if (std::string(a.value()) == kOther) foreign = std::string(a.name()).substr(6);
    ASSERT_FALSE(foreign.empty());
    EXPECT_NE(foreign, "w");
    EXPECT_NE(foreign, "ns0");
    EXPECT_STREQ(root.attribute("mc:Ignorable").value(), (foreign + " w14").c_str());
    EXPECT_STREQ(root.attribute((foreign + ":stamp").c_str()).value(), "7");
    pugi::xml_node note = root.select_node(("//" + foreign + ":note").c_str()).node();
    EXPECT_STREQ(note.child((foreign + ":text").c_str()).text().get(), "foreign");
    EXPECT_FALSE(root.select_node("//w:note"));
    EXPECT_STREQ(root.select_node("//w:p").node().attribute("w14:paraId").value(), "1A2B3C4D");
}

TEST_F(PartNamespacesTest, ListsAddedToANumberingPartWithOtherPrefixesTakeNewIds) {
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>Item</w:t></w:r></w:p>";
    std::string numbering = std::string("<x:numbering xmlns:x=\"") + kW + "\">";
    for (int id : {1, 2, 3})
        numbering += "<x:abstractNum x:abstractNumId=\"" + std::to_string(id) + "\"><x:lvl x:ilvl=\"0\">"
                     "<x:start x:val=\"1\"/><x:numFmt x:val=\"decimal\"/><x:lvlText x:val=\"%1.\"/></x:lvl></x:abstractNum>";
    for (int id : {1, 2, 3})
        numbering += "<x:num x:numId=\"" + std::to_string(id) + "\"><x:abstractNumId x:val=\"" + std::to_string(id) +
                     "\"/></x:num>";
    numbering += "</x:numbering>";
    parts.numbering = numbering;
    const std::string input = path("numbering.zip");
    write_docx(input, parts);
    const std::string saved = path("numbering-lists.docx");
    {
        Object doc = Open(input);
        for (bool bullets : {false, true}) {
            Object list = rt().call(doc, "CreateListIndent", {bullets}).object();
            Object paragraph = rt().call(doc, "AppendParagraph", {bullets ? "dot" : "number"}).object();
            rt().call(paragraph, "SetListIndent", {list, int64_t(0)});
        }
        rt().call(doc, "SaveAs", {folderItem(saved)});
    }
    EXPECT_EQ(package_check_failures(saved, false), "");
    pugi::xml_document parsed = Parsed(zip_read(saved, "word/numbering.xml"));
    std::set<std::string> nums, abstracts;
    size_t numCount = 0, abstractCount = 0;
    for (pugi::xml_node n : parsed.document_element().children("w:num")) {
        nums.insert(n.attribute("w:numId").value());
        ++numCount;
    }
    for (pugi::xml_node n : parsed.document_element().children("w:abstractNum")) {
        abstracts.insert(n.attribute("w:abstractNumId").value());
        ++abstractCount;
    }
    EXPECT_EQ(numCount, 5u);
    EXPECT_EQ(nums.size(), numCount);
    EXPECT_GT(abstractCount, 3u);
    EXPECT_EQ(abstracts.size(), abstractCount);
    EXPECT_EQ(parsed.document_element().find_child([](pugi::xml_node n) { return std::string(n.name()).rfind("x:", 0) == 0; }),
              pugi::xml_node());
}
