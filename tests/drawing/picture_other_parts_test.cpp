// Pictures whose media other parts share or describe: parts the library
// copies without reading (footnotes, a glossary) that show the same media
// keep it when the body's and header's pictures go, and media that goes
// takes its content type with it, in hand-made packages and in one
// LibreOffice wrote.
#include <fstream>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "libreoffice.h"
#include "picture_fixture.h"

using vexrt::Object;
using vexrt::Value;

namespace {

class PictureOtherPartsTest : public PictureFixture {};

const char kRelsNamespace[] = "http://schemas.openxmlformats.org/package/2006/relationships";
const char kOfficeRels[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string InlinePicture(int id, const std::string& relId) {
    return "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
           "<wp:extent cx=\"95250\" cy=\"95250\"/><wp:docPr id=\"" + std::to_string(id) + "\" name=\"Picture " +
           std::to_string(id) + "\"/><a:graphic><a:graphicData "
           "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:nvPicPr>"
           "<pic:cNvPr id=\"0\" name=\"p\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" + relId +
           "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm>"
           "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"95250\" cy=\"95250\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/>"
           "</a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
}

std::string Relationship(const std::string& id, const std::string& type, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kOfficeRels + type + "\" Target=\"" + target + "\"/>";
}
std::string RelsPart(const std::string& inner) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships xmlns=\"") +
           kRelsNamespace + "\">" + inner + "</Relationships>";
}

// The builder's [Content_Types].xml with `overrides` added: written once
// to read it, then given as the entry's bytes.
void WriteWithOverrides(const std::string& file, DocxParts parts, const std::string& overrides) {
    write_docx(file, parts);
    std::string types = zip_read(file, "[Content_Types].xml");
    types.insert(types.rfind("</Types>"), overrides);
    parts.overrides["[Content_Types].xml"] = types;
    write_docx(file, parts);
}

std::string Override(const std::string& part, const std::string& type) {
    return "<Override PartName=\"" + part + "\" ContentType=\"" + type + "\"/>";
}

// Every Override of a saved file whose part is not in it.
std::string OverridesOfMissingParts(const std::string& file) {
    std::set<std::string> entries;
    for (const std::string& name : zip_entries(file)) entries.insert("/" + name);
    pugi::xml_document types;
    const std::string bytes = zip_read(file, "[Content_Types].xml");
    EXPECT_TRUE(types.load_buffer(bytes.data(), bytes.size()));
    std::string missing;
    for (pugi::xml_node o : types.document_element().children("Override"))
        if (!entries.count(o.attribute("PartName").value())) missing += std::string(o.attribute("PartName").value()) + " ";
    return missing;
}

const char kPythonOpens[] = R"(
import sys, docx
d = docx.Document(sys.argv[1])
for r in d.part.rels.values():
    if not r.is_external: r.target_part.blob
for rel in d.part.package.iter_rels():
    if not rel.is_external: rel.target_part.blob
print(len(d.paragraphs))
)";

}  // namespace

// Footnotes and a glossary (parts copied, not read) show the media of body
// and header pictures, one through a "../" target: removing every body and
// header picture keeps that media; media only the body showed goes.
TEST_F(PictureOtherPartsTest, MediaCopiedPartsShowStays) {
    const std::string shared = Png(5, 5, 0x102030), glossed = Png(6, 6, 0x304050), only = Png(7, 7, 0x506070);
    DocxParts parts;
    parts.body = "<w:p>" + InlinePicture(1, "rIdShared") + "<w:r><w:footnoteReference w:id=\"1\"/></w:r></w:p>"
                 "<w:p>" + InlinePicture(2, "rIdGlossed") + "</w:p><w:p>" + InlinePicture(3, "rIdOnly") +
                 "</w:p><w:p><w:r><w:t>Text</w:t></w:r></w:p>";
    parts.headers.push_back({"default", "<w:p>" + InlinePicture(4, "rId1") + "</w:p>"});
    parts.documentRelationships =
        Relationship("rIdShared", "image", "media/shared.png") + Relationship("rIdGlossed", "image", "media/glossed.png") +
        Relationship("rIdOnly", "image", "media/only.png") + Relationship("rIdNotes", "footnotes", "footnotes.xml") +
        Relationship("rIdGlossary", "glossaryDocument", "glossary/document.xml");
    const std::string footnotes =
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:footnotes ") + kDocxNamespaces +
        "><w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>"
        "<w:footnote w:type=\"continuationSeparator\" w:id=\"0\"><w:p><w:r><w:continuationSeparator/></w:r></w:p>"
        "</w:footnote><w:footnote w:id=\"1\"><w:p>" + InlinePicture(5, "rId1") + "</w:p></w:footnote></w:footnotes>";
    const std::string glossary =
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:glossaryDocument ") +
        kDocxNamespaces + "><w:docParts><w:docPart><w:docPartPr><w:name w:val=\"Logo\"/><w:category><w:name "
        "w:val=\"General\"/><w:gallery w:val=\"autoTxt\"/></w:category><w:guid "
        "w:val=\"{5B2B1C4E-1111-4A2B-9C3D-0123456789AB}\"/></w:docPartPr><w:docPartBody><w:p>" +
        InlinePicture(1, "rIdLogo") + "</w:p></w:docPartBody></w:docPart></w:docParts></w:glossaryDocument>";
    parts.extraEntries = {
        {"word/_rels/header1.xml.rels", RelsPart(Relationship("rId1", "image", "media/shared.png"))},
        {"word/footnotes.xml", footnotes},
        {"word/_rels/footnotes.xml.rels", RelsPart(Relationship("rId1", "image", "media/shared.png"))},
        {"word/glossary/document.xml", glossary},
        {"word/glossary/_rels/document.xml.rels", RelsPart(Relationship("rIdLogo", "image", "../media/glossed.png"))},
        {"word/media/shared.png", shared}, {"word/media/glossed.png", glossed}, {"word/media/only.png", only}};
    WriteWithOverrides(
        path("notes.in"), parts,
        Override("/word/footnotes.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.footnotes+xml") +
            Override("/word/glossary/document.xml",
                     "application/vnd.openxmlformats-officedocument.wordprocessingml.document.glossary+xml"));
    Object doc = rt().callShared("Document", "Open", {folderItem(path("notes.in"))}).object();
    ASSERT_TRUE(doc);

    // The first picture's run alone, then the other paragraphs whole, then
    // the header's picture.
    Object first = Call(doc, "Paragraph", {0});
    rt().call(first, "RemoveParagraphItem", {Call(first, "Run", {0})});
    Object second = Call(doc, "Paragraph", {1}), third = Call(doc, "Paragraph", {2});
    rt().call(doc, "RemoveItem", {second});
    rt().call(doc, "RemoveItem", {third});
    Object header = Call(doc, "Header", {0, false});
    ASSERT_TRUE(header);
    rt().call(header, "RemoveItem", {Call(header, "Paragraph", {0})});
    Call(header, "AppendParagraph", {"Head"});
    SaveCopy(doc, "notes.docx");

    const std::string file = path("notes.docx");
    EXPECT_EQ(zip_read(file, "word/media/shared.png"), shared);
    EXPECT_EQ(zip_read(file, "word/media/glossed.png"), glossed);
    EXPECT_FALSE(HasEntry(file, "word/media/only.png"));
    EXPECT_EQ(CountRelationshipsTo(file, "word/_rels/document.xml.rels", "media/shared.png"), 0u);
    EXPECT_EQ(CountRelationshipsTo(file, "word/_rels/header1.xml.rels", "media/shared.png"), 0u);
    EXPECT_TRUE(Relates(file, "word/_rels/footnotes.xml.rels", "rId1", "media/shared.png"));
    ExpectCheckerPasses(file, false);
    SKIP_WITHOUT_PYTHON_DOCX();
    EXPECT_EQ(python_docx_run(kPythonOpens, {file}), "2\n");
}

// Media LibreOffice describes with an Override of its own: the Override
// goes with the media, whether the picture was saved before or added
// since, and stays while a part still shows it.
TEST_F(PictureOtherPartsTest, RemovedMediaTakesItsOverride) {
    const std::string a = Png(5, 5, 0x101010), b = Jpeg(6, 6), kept = Png(7, 7, 0x303030);
    DocxParts parts;
    parts.body = "<w:p>" + InlinePicture(1, "rIdA") + "</w:p><w:p>" + InlinePicture(2, "rIdB") + "</w:p><w:p>" +
                 InlinePicture(3, "rIdKept") + "</w:p><w:p><w:r><w:t>Text</w:t></w:r></w:p>";
    parts.headers.push_back({"default", "<w:p>" + InlinePicture(4, "rId1") + "</w:p>"});
    parts.documentRelationships = Relationship("rIdA", "image", "media/image1.png") +
                                  Relationship("rIdB", "image", "media/image2.jpeg") +
                                  Relationship("rIdKept", "image", "media/image3.png");
    parts.extraEntries = {
        {"word/_rels/header1.xml.rels", RelsPart(Relationship("rId1", "image", "media/image3.png"))},
        {"word/media/image1.png", a}, {"word/media/image2.jpeg", b}, {"word/media/image3.png", kept}};
    WriteWithOverrides(path("typed.in"), parts,
                       Override("/word/media/image1.png", "image/png") +
                           Override("/word/media/IMAGE2.jpeg", "image/jpeg") +
                           Override("/word/media/image3.png", "image/png"));
    Object doc = rt().callShared("Document", "Open", {folderItem(path("typed.in"))}).object();
    ASSERT_TRUE(doc);
    Object p0 = Call(doc, "Paragraph", {0}), p2 = Call(doc, "Paragraph", {2});
    rt().call(p0, "RemoveParagraphItem", {Call(p0, "Run", {0})});
    rt().call(doc, "RemoveItem", {Call(doc, "Paragraph", {1})});
    // The body's last use of image3.png: the header still shows it.
    rt().call(doc, "RemoveItem", {p2});
    SaveCopy(doc, "typed-1.docx");
    const std::string file1 = path("typed-1.docx");
    EXPECT_FALSE(HasEntry(file1, "word/media/image1.png"));
    EXPECT_FALSE(HasEntry(file1, "word/media/image2.jpeg"));
    EXPECT_EQ(zip_read(file1, "word/media/image3.png"), kept);
    EXPECT_EQ(OverridesOfMissingParts(file1), "");
    EXPECT_NE(zip_read(file1, "[Content_Types].xml").find("/word/media/image3.png"), std::string::npos);
    EXPECT_EQ(package_check_failures(file1, false), "");

    // Saved in place, then the header's picture goes too.
    rt().call(doc, "Save");
    Object header = Call(doc, "Header", {0, false});
    rt().call(header, "RemoveItem", {Call(header, "Paragraph", {0})});
    Call(header, "AppendParagraph", {"Head"});
    SaveCopy(doc, "typed-2.docx");
    const std::string file2 = path("typed-2.docx");
    EXPECT_FALSE(HasEntry(file2, "word/media/image3.png"));
    EXPECT_EQ(OverridesOfMissingParts(file2), "");
    EXPECT_EQ(package_check_failures(file2, false), "");
}

// A document LibreOffice wrote, with a picture in a table cell, one in a
// link, one in a text box and a floating one: every picture removed, the
// file passes the checker and has no Override of a part it lacks.
TEST_F(PictureOtherPartsTest, LibreOfficeDocumentLosesItsPictures) {
    if (!libreoffice_available()) GTEST_SKIP() << "LibreOffice missing";
    auto image = [&](const std::string& name, const std::string& bytes, const std::string& anchor,
                     const std::string& size) {
        static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string b64;
        for (size_t i = 0; i < bytes.size(); i += 3) {
            uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
            if (i + 1 < bytes.size()) v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
            if (i + 2 < bytes.size()) v |= uint8_t(bytes[i + 2]);
            b64 += digits[v >> 18 & 63];
            b64 += digits[v >> 12 & 63];
            b64 += i + 1 < bytes.size() ? digits[v >> 6 & 63] : '=';
            b64 += i + 2 < bytes.size() ? digits[v & 63] : '=';
        }
        return "<draw:frame draw:name=\"" + name + "\" text:anchor-type=\"" + anchor + "\" svg:width=\"" + size +
               "\" svg:height=\"" + size + "\"><draw:image><office:binary-data>" + b64 +
               "</office:binary-data></draw:image></draw:frame>";
    };
    const std::string fodt =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
        "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" office:version=\"1.3\" "
        "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body><office:text>"
        "<text:p>Pictures from LibreOffice</text:p>"
        "<table:table table:name=\"T\"><table:table-column/><table:table-row><table:table-cell><text:p>" +
        image("cell", Png(20, 20, 0xC02020), "as-char", "0.5cm") +
        "</text:p></table:table-cell></table:table-row></table:table>"
        "<text:p><text:a xlink:type=\"simple\" xlink:href=\"https://example.com/\">" +
        image("linked", Png(21, 21, 0x20C020), "as-char", "0.5cm") +
        "</text:a></text:p>"
        "<text:p><draw:frame draw:name=\"box\" text:anchor-type=\"paragraph\" svg:width=\"4cm\" svg:height=\"3cm\">"
        "<draw:text-box><text:p>In a box " + image("boxed", Png(22, 22, 0x2020C0), "as-char", "0.5cm") +
        "</text:p></draw:text-box></draw:frame>Box</text:p>"
        "<text:p>" + image("floating", Jpeg(40, 30), "paragraph", "1cm") + "Floating</text:p>"
        "<text:p>End</text:p></office:text></office:body></office:document>";
    std::ofstream(path("office.fodt"), std::ios::binary) << fodt;
    ASSERT_TRUE(libreoffice_convert(path("office.fodt"), "docx:MS Word 2007 XML", outDir()));
    const std::string input = path("office.docx");
    size_t media = 0;
    for (const std::string& name : zip_entries(input)) media += name.rfind("word/media/", 0) == 0;
    ASSERT_GE(media, 4u) << "LibreOffice wrote fewer pictures";

    Object doc = rt().callShared("Document", "Open", {folderItem(input)}).object();
    ASSERT_TRUE(doc);
    // Every item but the first and the last paragraph.
    while (Int(doc, "ItemCount") > 2) rt().call(doc, "RemoveItem", {Call(doc, "Item", {1})});
    SaveCopy(doc, "office-bare.docx");
    const std::string file = path("office-bare.docx");
    for (const std::string& name : zip_entries(file)) EXPECT_NE(name.rfind("word/media/", 0), 0u) << name;
    EXPECT_EQ(OverridesOfMissingParts(file), "");
    ExpectCheckerPasses(file, false);
}
