// The rules about the package itself: zip, xml, types and rels. Each case
// breaks one thing in the minimal package and gives one finding.
#include <gtest/gtest.h>

#include "check_packages.h"

using namespace check_packages;

namespace {

const char kMain[] = "word/document.xml";
const char kStyles[] = "word/styles.xml";
const char kDocumentRels[] = "word/_rels/document.xml.rels";
const char kCt[] = "[Content_Types].xml";
const char kArchive[] = "(archive)";

// The minimal archive with one entry changed as it is written.
template <typename Change>
std::string WithEntry(const std::string& name, Change change) {
    std::vector<raw_zip::Entry> entries = Package().entries();
    for (raw_zip::Entry& e : entries)
        if (e.name == name) change(e);
    return raw_zip::Write(entries);
}

std::string WithBody(const std::string& body) { return Package().body(body).zip(); }

std::string AlternateContent(const std::string& requires) {
    return "<w:p><w:r><mc:AlternateContent><mc:Choice Requires=\"" + requires +
           "\"><w:t>a</w:t></mc:Choice><mc:Fallback><w:t>a</w:t></mc:Fallback></mc:AlternateContent></w:r></w:p>";
}

// A DOCTYPE whose entity would expand to 2,000,000,000 characters, used on
// a later line than the DOCTYPE's.
std::string EntityBomb() {
    std::string doctype = "<!DOCTYPE w:document [\n<!ENTITY e0 \"ha\">\n";
    for (int i = 1; i < 10; ++i) {
        doctype += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) doctype += "&e" + std::to_string(i - 1) + ";";
        doctype += "\">\n";
    }
    return Package()
        .body("<w:p><w:r><w:t>&e9;</w:t></w:r></w:p>")
        .replace(kMain, "<w:document", doctype + "]>\n<w:document")
        .zip();
}

}  // namespace

TEST(ZipRule, BrokenArchives) {
    ExpectSoleFindings({
        {"zip_not_a_zip", "zip", kArchive, Rated::Error, "no end of central directory",
         [] { return std::string("This is a plain text file, long enough to look for a ZIP end in."); }},
        {"zip_truncated", "zip", kArchive, Rated::Error, "truncated",
         [] { const std::string a = Package().zip(); return a.substr(0, a.size() / 2); }},
        {"zip_bad_crc", "zip", kStyles, Rated::Error, "CRC does not match",
         [] { return WithEntry(kStyles, [](raw_zip::Entry& e) { e.crc ^= 1; }); }},
        {"zip_duplicate_name", "zip", kStyles, Rated::Error, "duplicate entry name",
         [] { return Package().add(kStyles, Package().get(kStyles)).zip(); }},
        {"zip_names_differ_by_case", "zip", "word/Styles.xml", Rated::Error, "differ only in case",
         [] { return Package().add("word/Styles.xml", Package().get(kStyles)).zip(); }},
        {"zip_encrypted", "zip", kStyles, Rated::Error, "encrypted",
         [] {
             std::string a = Package().zip();
             const raw_zip::Layout layout = raw_zip::Locate(a);
             raw_zip::Put16(a, layout.local.back() + raw_zip::field::kLocalFlags, 1);
             raw_zip::Put16(a, layout.central.back() + raw_zip::field::kCentralFlags, 1);
             return a;
         }},
        {"zip_method_12", "zip", kStyles, Rated::Error, "compression method 12",
         [] { return WithEntry(kStyles, [](raw_zip::Entry& e) { e.method = 12; }); }},
        {"zip_dot_dot", "zip", "word/../extra.xml", Rated::Error, "'..' segment",
         [] { return Package().add("word/../extra.xml", "<x/>").zip(); }},
        {"zip_leading_slash", "zip", "/word/extra.xml", Rated::Error, "starts with '/'",
         [] { return Package().add("/word/extra.xml", "<x/>").zip(); }},
        {"zip_backslash", "zip", "word\\extra.xml", Rated::Error, "backslash",
         [] { return Package().add("word\\extra.xml", "<x/>").zip(); }},
        // An end record that asks for ZIP64, and a locator whose offset wraps
        // around when the record's size is added.
        {"zip_zip64_locator_wraps", "zip", kArchive, Rated::Error, "is damaged",
         [] {
             std::string a = Package().zip(), locator(20, '\0');
             const size_t end = raw_zip::Locate(a).end;
             raw_zip::Put16(a, end + raw_zip::field::kEndEntriesOnDisk, 0xFFFF);
             raw_zip::Put16(a, end + raw_zip::field::kEndEntries, 0xFFFF);
             raw_zip::Put32(locator, 0, 0x07064b50);
             raw_zip::Put32(locator, 8, 0xFFFFFFF0);
             raw_zip::Put32(locator, 12, 0xFFFFFFFF);
             return a.insert(end, locator);
         }},
    });
    ExpectNoFindings({
        {"stored entries", [] { return raw_zip::Write(Package().entries(false)); }},
        {"folder entries", [] { return Package().add("word/", "").add("word/media/", "").zip(); }},
        {"ZIP64 extra fields",
         [] {
             std::vector<raw_zip::Entry> entries = Package().entries();
             for (raw_zip::Entry& e : entries) e.zip64 = true;
             return raw_zip::Write(entries);
         }},
    });
}

TEST(XmlRule, PartsThatAreNotWellFormedXml) {
    ExpectSoleFindings({
        {"xml_mismatched_tag", "xml", kMain, Rated::Error, "not well-formed: mismatched tag",
         [] { return WithBody("<w:p><w:r></w:p>"); }},
        {"xml_undeclared_prefix", "xml", kMain, Rated::Error, "unbound prefix",
         [] { return WithBody("<w:p><x:r/></w:p>"); }},
        {"xml_duplicate_attribute", "xml", kMain, Rated::Error, "duplicate attribute",
         [] { return WithBody("<w:p w:rsidR=\"00A1\" w:rsidR=\"00A2\"/>"); }},
        {"xml_content_after_root", "xml", kMain, Rated::Error, "junk after document element",
         [] { return Package().set(kMain, Document("<w:p/>") + "<w:p/>").zip(); }},
        {"xml_invalid_utf8", "xml", kMain, Rated::Error, "not well-formed",
         [] { return WithBody("<w:p><w:r><w:t>caf\xe9</w:t></w:r></w:p>"); }},
        {"xml_doctype", "xml", kMain, Rated::Error, "DOCTYPE",
         [] { return Package().replace(kMain, "<w:document", "<!DOCTYPE w:document>\n<w:document").zip(); }},
        {"xml_entity_bomb", "xml", kMain, Rated::Error, "DOCTYPE", EntityBomb},
        {"xml_latin1", "xml", kMain, Rated::Error, "encoding ISO-8859-1",
         [] { return Package().replace(kMain, "encoding=\"UTF-8\"", "encoding=\"ISO-8859-1\"").zip(); }},
        {"xml_ignorable_undeclared", "xml", kMain, Rated::Error, "mc:Ignorable on <w:document> names prefix 'w15'",
         [] { return Package().replace(kMain, "mc:Ignorable=\"w14\"", "mc:Ignorable=\"w14 w15\"").zip(); }},
        {"xml_requires_undeclared", "xml", kMain, Rated::Error, "mc:Choice Requires=\"wpx\" names prefix 'wpx'",
         [] { return WithBody(AlternateContent("wpx")); }},
        {"xml_main_root_not_document", "xml", kMain, Rated::Error, "is <hdr>, not <w:document>",
         [] { return Package().set(kMain, Part("w:hdr", "<w:p/>")).zip(); }},
        {"xml_main_root_other_namespace", "xml", kMain, Rated::Error, "in namespace urn:example, not <w:document>",
         [] { return Package().set(kMain, "<x:document xmlns:x=\"urn:example\"><x:body/></x:document>").zip(); }},
    });
    // Nothing a DOCTYPE declares is read: the finding is at the DOCTYPE, not
    // at the entity's use.
    EXPECT_EQ(Check(EntityBomb()).findings.at(0).line, 2u);
    ExpectNoFindings({
        {"UTF-8 with a byte order mark",
         [] { return Package().set(kMain, "\xef\xbb\xbf" + Package().get(kMain)).zip(); }},
        {"UTF-16 with a byte order mark",
         [] {
             std::string utf8 = Package().get(kMain), utf16 = "\xff\xfe";
             utf8.replace(utf8.find("UTF-8"), 5, "UTF-16");
             for (char ch : utf8) utf16 += std::string{ch, '\0'};  // ASCII only
             return Package().set(kMain, utf16).zip();
         }},
        {"mc:Choice requiring a declared prefix", [] { return WithBody(AlternateContent("w14")); }},
    });
}

TEST(TypesRule, ContentTypes) {
    ExpectSoleFindings({
        {"types_none", "types", kArchive, Rated::Error, "no [Content_Types].xml",
         [] { return Package().remove(kCt).zip(); }},
        {"types_part_without_type", "types", "word/media/image1.png", Rated::Error, "no Default for extension 'png'",
         [] { return Package().add("word/media/image1.png", "png").zip(); }},
        {"types_override_for_missing_part", "types", kCt, Rated::Error, "'/word/numbering.xml', which is not in",
         [] { return Package().type("<Override PartName=\"/word/numbering.xml\" ContentType=\"text/xml\"/>").zip(); }},
        {"types_duplicate_default", "types", kCt, Rated::Error, "duplicate Default for extension 'XML'",
         [] { return Package().type("<Default Extension=\"XML\" ContentType=\"application/xml\"/>").zip(); }},
        {"types_duplicate_override", "types", kCt, Rated::Error, "duplicate Override for '/word/Styles.xml'",
         [] { return Package().type("<Override PartName=\"/word/Styles.xml\" ContentType=\"text/xml\"/>").zip(); }},
        {"types_main_part_wrong_type", "types", kMain, Rated::Error, "not a WordprocessingML main type",
         [] { return Package().replace(kCt, "ml.document.main+xml", "ml.styles+xml").zip(); }},
        {"types_header_wrong_type", "types", "word/header1.xml", Rated::Error, "header relationship has content type",
         [] {
             return Package().part("header1.xml", Part("w:hdr", "<w:p/>")).replace(kCt, "header+", "footer+").zip();
         }},
        {"types_rels_wrong_type", "types", kDocumentRels, Rated::Error, "content type text/xml, not",
         [] {
             return Package()
                 .type("<Override PartName=\"/word/_rels/document.xml.rels\" ContentType=\"text/xml\"/>")
                 .zip();
         }},
    });
    ExpectNoFindings({
        {"an Override and a target with %-escapes",
         [] {
             return Package()
                 .set("word/media/my image.png", "png")
                 .type("<Override PartName=\"/word/media/my%20image.png\" ContentType=\"image/png\"/>")
                 .relate(kMain, Relationship("rIdImage1", "image", "media/my%20image.png"))
                 .body("<w:p>" + Picture("1") + "</w:p>")
                 .zip();
         }},
    });
}

TEST(RelsRule, RelationshipsAndTheirUses) {
    ExpectSoleFindings({
        {"rels_missing_target", "rels", kDocumentRels, Rated::Error,
         "rId2 (numbering) target 'numbering.xml' -> 'word/numbering.xml' is not in the package",
         [] { return Package().relate(kMain, Relationship("rId2", "numbering", "numbering.xml")).zip(); }},
        {"rels_missing_target_up", "rels", kDocumentRels, Rated::Error, "-> 'customXml/item1.xml' is not in",
         [] { return Package().relate(kMain, Relationship("rId2", "customXml", "../customXml/item1.xml")).zip(); }},
        {"rels_target_outside", "rels", kDocumentRels, Rated::Error, "points outside the package",
         [] { return Package().relate(kMain, Relationship("rId2", "customXml", "../../item1.xml")).zip(); }},
        {"rels_duplicate_id", "rels", kDocumentRels, Rated::Error, "duplicate relationship id 'rId1'",
         [] { return Package().relate(kMain, Relationship("rId1", "styles", "styles.xml")).zip(); }},
        {"rels_no_main_document", "rels", "_rels/.rels", Rated::Error, "no officeDocument relationship",
         [] { return Package().replace("_rels/.rels", "officeDocument", "customXml").zip(); }},
        {"rels_unknown_id", "rels", kMain, Rated::Error,
         "<hyperlink r:id=\"rId99\"> names no relationship of word/_rels/document.xml.rels",
         [] { return WithBody("<w:p><w:hyperlink r:id=\"rId99\"/></w:p>"); }},
        // The header's picture names a relationship of the document.
        {"rels_id_of_another_part", "rels", "word/header1.xml", Rated::Error,
         "names no relationship of word/_rels/header1.xml.rels",
         [] {
             return Package()
                 .image()
                 .part("header1.xml", Part("w:hdr", "<w:p>" + Picture("1") + "</w:p>"))
                 .relate("word/header1.xml", Relationship("rId1", "hyperlink", "https://example.com/", true))
                 .zip();
         }},
        {"rels_header_reference_to_hyperlink", "rels", kMain, Rated::Error, "relationships/hyperlink, not header",
         [] {
             return Package()
                 .relate(kMain, Relationship("rIdLink", "hyperlink", "https://example.com/", true))
                 .replace(kMain, "<w:sectPr>", "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdLink\"/>")
                 .zip();
         }},
        {"rels_blip_to_styles", "rels", kMain, Rated::Error, "relationships/styles, not image",
         [] { return WithBody("<w:p>" + Picture("1", "rId1") + "</w:p>"); }},
        // Outside word/ a dangling id is only a warning.
        {"rels_outside_word_unknown_id", "rels", "customXml/item1.xml", Rated::Warning,
         "names no relationship of customXml/_rels/item1.xml.rels",
         [] { return Package().add("customXml/item1.xml", Part("w:x", "<w:y r:id=\"rId3\"/>")).zip(); }},
        {"rels_id_not_xsd_id", "rels", kDocumentRels, Rated::StrictError, "'1abc' is not a valid xsd:ID",
         [] { return Package().replace(kDocumentRels, "Id=\"rId1\"", "Id=\"1abc\"").zip(); }},
    });
    ExpectNoFindings({
        {"targets with ../ and /word/",
         [] {
             return Package()
                 .replace(kDocumentRels, "Target=\"styles.xml\"", "Target=\"../word/./styles.xml\"")
                 .replace("_rels/.rels", "Target=\"word/document.xml\"", "Target=\"/word/document.xml\"")
                 .zip();
         }},
        // Part names are equal whatever their case.
        {"relationships parts named in another case",
         [] {
             Package p;
             p.relate(kMain, Relationship("rId5", "hyperlink", "https://example.com/", true))
                 .body("<w:p><w:hyperlink r:id=\"rId5\"/></w:p>");
             const std::string package = p.get("_rels/.rels"), document = p.get(kDocumentRels);
             return p.remove("_rels/.rels")
                 .remove(kDocumentRels)
                 .add("_RELS/.RELS", package)
                 .add("word/_rels/Document.xml.rels", document)
                 .zip();
         }},
        {"the strict namespaces",
         [] {
             return Strict(Package()
                               .image()
                               .part("header1.xml", Part("w:hdr", "<w:p>" + Picture("2", "rIdH") + "</w:p>"))
                               .relate("word/header1.xml", Relationship("rIdH", "image", "media/image1.png"))
                               .body("<w:p>" + Picture("1") + "</w:p>")
                               .replace(kMain, "<w:sectPr>",
                                        "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader1\"/>"))
                 .zip();
         }},
        {"an empty click action",
         [] {
             std::string run = Picture("1");
             run.replace(run.find("\"/><a:graphic>"), 3, "\"><a:hlinkClick r:id=\"\"/></wp:docPr>");
             return Package().image().body("<w:p>" + run + "</w:p>").zip();
         }},
    });
}
