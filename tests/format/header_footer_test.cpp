// Headers and footers through the host: found, made, filled, saved, and read
// back by other readers; their own relationships kept.
#include <string>

#include <gtest/gtest.h>

#include "../content/paragraph_fixture.h"
#include "docx_builder.h"
#include "libreoffice.h"

using vexrt::Object;

namespace {

enum { kDefault = 0, kFirst = 1, kEven = 2 };

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class HeaderFooterTest : public ParagraphFixture {
protected:
    Object Header(const Object& doc, int type, bool create) { return Call(doc, "Header", {type, create}); }
    Object Footer(const Object& doc, int type, bool create) { return Call(doc, "Footer", {type, create}); }

};

}  // namespace

// What a new part brings with it: relationship, content type, reference in
// its schema place, and what makes a first-page or even-page part show.
TEST_F(HeaderFooterTest, NewPartsAndTheirReferences) {
    Object doc = Create("parts.new.docx");
    EXPECT_FALSE(Header(doc, kDefault, false));
    Object header = Header(doc, kDefault, true);
    ASSERT_TRUE(header);
    EXPECT_EQ(rt().className(header), "VexlomarWord.Header");
    EXPECT_EQ(Int(header, "ItemCount"), 0);
    Call(header, "AppendParagraph", {"Head text"});
    // A second lookup sees the same part.
    Object again = Header(doc, kDefault, false);
    ASSERT_TRUE(again);
    EXPECT_EQ(Str(Call(again, "Paragraph", {0}), "Text"), "Head text");

    Object evenFooter = Footer(doc, kEven, true);
    Object evenHeader = Header(doc, 7, true);  // any other value is taken as even
    Object firstHeader = Header(doc, kFirst, true);
    ASSERT_TRUE(evenFooter && evenHeader && firstHeader);
    Call(evenFooter, "AppendParagraph", {"even foot"});
    Call(firstHeader, "AppendParagraph", {"first head"});
    Call(doc, "AppendParagraph", {"body text"});
    rt().call(doc, "Save");

    const std::string file = path("parts.new.docx");
    const std::string rels = zip_read(file, "word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("Id=\"rId6\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                        "header\" Target=\"header1.xml\""),
              std::string::npos)
        << rels;
    EXPECT_NE(rels.find("Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                        "footer\" Target=\"footer1.xml\""),
              std::string::npos);
    EXPECT_NE(rels.find("Id=\"rId8\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                        "header\" Target=\"header2.xml\""),
              std::string::npos);
    const std::string types = zip_read(file, "[Content_Types].xml");
    EXPECT_EQ(Count(types, "PartName=\"/word/header1.xml\""), 1u);
    EXPECT_EQ(Count(types, "PartName=\"/word/footer1.xml\""), 1u);

    const std::string body = zip_read(file, "word/document.xml");
    const size_t sectPr = body.find("<w:sectPr");
    // References open the section properties, before the page size.
    EXPECT_LT(body.find("<w:headerReference w:type=\"default\" r:id=\"rId6\"/>", sectPr), body.find("<w:pgSz"));
    EXPECT_LT(body.find("<w:headerReference w:type=\"even\""), body.find("<w:pgSz"));
    EXPECT_LT(body.find("<w:footerReference w:type=\"even\" r:id=\"rId7\"/>"), body.find("<w:pgSz"));
    EXPECT_NE(body.find("<w:titlePg/>"), std::string::npos);
    EXPECT_LT(body.find("<w:cols"), body.find("<w:titlePg/>"));
    EXPECT_LT(body.find("<w:titlePg/>"), body.find("<w:docGrid"));
    const std::string settings = zip_read(file, "word/settings.xml");
    EXPECT_EQ(Count(settings, "<w:evenAndOddHeaders/>"), 1u);
    EXPECT_LT(settings.find("<w:defaultTabStop"), settings.find("<w:evenAndOddHeaders/>"));
    EXPECT_LT(settings.find("<w:evenAndOddHeaders/>"), settings.find("<w:characterSpacingControl"));

    const std::string head = zip_read(file, "word/header1.xml");
    EXPECT_EQ(head.rfind("<w:hdr xmlns:wpc=", 0), 0u) << head;
    EXPECT_NE(head.find("mc:Ignorable=\"w14 w15 w16se w16cid w16 w16cex w16sdtdh wp14\""), std::string::npos);
    EXPECT_NE(head.find("<w:p><w:r><w:rPr/><w:t>Head text</w:t></w:r></w:p></w:hdr>"), std::string::npos) << head;
}

// A reference whose relationship is gone is pointed at the new part; an
// override that exists already is not doubled.
TEST_F(HeaderFooterTest, StaleReferencesAreRepaired) {
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>body</w:t></w:r></w:p>";
    parts.appendSectPr = false;
    parts.body += "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdGone\"/>"
                  "<w:pgSz w:w=\"12240\" w:h=\"15840\"/></w:sectPr>";
    write_docx(path("stale.zip"), parts);
    std::string types = zip_read(path("stale.zip"), "[Content_Types].xml");
    ASSERT_EQ(types.find("/word/header1.xml"), std::string::npos);
    parts.overrides["[Content_Types].xml"] =
        types.insert(types.rfind("</Types>"),
                     "<Override PartName=\"/word/header1.xml\" ContentType=\"application/"
                     "vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/>");
    write_docx(path("stale.zip"), parts);

    Object doc = rt().callShared("Document", "Open", {folderItem(path("stale.zip"))}).object();
    EXPECT_FALSE(Header(doc, kDefault, false));
    Object header = Header(doc, kDefault, true);
    ASSERT_TRUE(header);
    Call(header, "AppendParagraph", {"repaired"});
    SaveCopy(doc, "stale-saved.docx");
    const std::string body = zip_read(path("stale-saved.docx"), "word/document.xml");
    EXPECT_EQ(Count(body, "<w:headerReference"), 1u) << body;
    EXPECT_EQ(body.find("rIdGone"), std::string::npos);
    EXPECT_EQ(Count(zip_read(path("stale-saved.docx"), "[Content_Types].xml"), "/word/header1.xml"), 1u);
    Object reopened = rt().callShared("Document", "Open", {folderItem(path("stale-saved.docx"))}).object();
    EXPECT_EQ(Str(Call(Header(reopened, kDefault, false), "Paragraph", {0}), "Text"), "repaired");
}

// Default, first-page and even-page headers and footers, each with text:
// python-docx reads each back; LibreOffice shows the first-page header on
// page 1 only and the default one on page 2.
TEST_F(HeaderFooterTest, OtherReadersSeeEveryKind) {
    const std::string file = path("kinds.new.docx");
    {
        Object doc = Create("kinds.new.docx");
        const char* names[] = {"default", "first", "even"};
        for (int type : {kDefault, kFirst, kEven}) {
            Call(Header(doc, type, true), "AppendParagraph", {std::string(names[type]) + " head"});
            Call(Footer(doc, type, true), "AppendParagraph", {std::string(names[type]) + " foot"});
        }
        for (int i = 0; i < 90; ++i) Call(doc, "AppendParagraph", {"Line " + std::to_string(i)});
        rt().call(doc, "Save");
    }
    const std::string read = python_docx_run(
        "import sys, docx\n"
        "s = docx.Document(sys.argv[1]).sections[0]\n"
        "print(s.different_first_page_header_footer)\n"
        "for part in (s.header, s.first_page_header, s.even_page_header,\n"
        "             s.footer, s.first_page_footer, s.even_page_footer):\n"
        "    print(part.is_linked_to_previous, '|'.join(p.text for p in part.paragraphs))\n",
        {file});
    if (!read.empty()) {
        EXPECT_EQ(read,
                  "True\nFalse default head\nFalse first head\nFalse even head\n"
                  "False default foot\nFalse first foot\nFalse even foot\n");
    }

    if (!libreoffice_available() || !pdf_tools_available())
        GTEST_SKIP() << "LibreOffice or pdftotext is not installed";
    ASSERT_TRUE(libreoffice_convert(file, "pdf", outDir()));
    const std::string pdf = path("kinds.new.pdf");
    const std::string one = pdf_page_text(pdf, 1), two = pdf_page_text(pdf, 2);
    EXPECT_NE(one.find("first head"), std::string::npos) << one;
    EXPECT_NE(one.find("first foot"), std::string::npos) << one;
    EXPECT_EQ(one.find("default head"), std::string::npos) << one;
    EXPECT_NE(two.find("even head"), std::string::npos) << two;  // page 2 is an even page
    EXPECT_EQ(two.find("first head"), std::string::npos) << two;
}

// A document another tool wrote, with a picture and a hyperlink in its
// header: adding to the header keeps the header's relationships and media,
// and the relationships of a part that did not change stay byte for byte.
TEST_F(HeaderFooterTest, HeadersOfOtherToolsKeepTheirRelationships) {
    const std::string made = path("foreign.docx");
    const std::string out = python_docx_run(
        "import sys, struct, zlib, io, docx\n"
        "from docx.opc.constants import RELATIONSHIP_TYPE as RT\n"
        "from docx.oxml.ns import qn\n"
        "from docx.oxml import OxmlElement\n"
        "def png(w, h):\n"
        "    row = b'\\x00' + b'\\xff\\x00\\x00' * w\n"
        "    def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))\n"
        "    return (b'\\x89PNG\\r\\n\\x1a\\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))\n"
        "            + chunk(b'IDAT', zlib.compress(row * h)) + chunk(b'IEND', b''))\n"
        "d = docx.Document()\n"
        "d.add_paragraph('body')\n"
        "h = d.sections[0].header\n"
        "p = h.paragraphs[0]\n"
        "p.add_run('logo ').add_picture(io.BytesIO(png(8, 8)))\n"
        "rid = h.part.relate_to('https://example.com/', RT.HYPERLINK, is_external=True)\n"
        "link = OxmlElement('w:hyperlink'); link.set(qn('r:id'), rid)\n"
        "r = OxmlElement('w:r'); t = OxmlElement('w:t'); t.text = 'site'; r.append(t); link.append(r)\n"
        "p._p.append(link)\n"
        "d.sections[0].footer.paragraphs[0].add_run('plain foot')\n"
        "d.save(sys.argv[1])\n"
        "print('ok')\n",
        {made});
    if (out.empty()) return;

    const std::vector<std::string> names = zip_entries(made);
    std::string headerRels, footerRels;
    for (const std::string& name : names) {
        if (name.rfind("word/_rels/header", 0) == 0) headerRels = name;
        if (name.rfind("word/_rels/footer", 0) == 0) footerRels = name;
    }
    ASSERT_FALSE(headerRels.empty());
    const std::string headerRelsBefore = zip_read(made, headerRels);
    ASSERT_NE(headerRelsBefore.find("image"), std::string::npos);
    ASSERT_NE(headerRelsBefore.find("https://example.com/"), std::string::npos);

    Object doc = rt().callShared("Document", "Open", {folderItem(made)}).object();
    Object header = Header(doc, kDefault, false);
    ASSERT_TRUE(header);
    EXPECT_EQ(Str(Call(header, "Paragraph", {0}), "Text"), "logo ");
    Call(header, "AppendParagraph", {"added to the header"});
    Call(Footer(doc, kDefault, false), "AppendParagraph", {"added to the footer"});
    SaveCopy(doc, "foreign-saved.docx");

    const std::string saved = path("foreign-saved.docx");
    EXPECT_EQ(zip_read(saved, headerRels), headerRelsBefore);
    if (!footerRels.empty()) {
        EXPECT_EQ(zip_read(saved, footerRels), zip_read(made, footerRels));
    }
    for (const std::string& name : names) {
        if (name.rfind("word/media/", 0) == 0) {
            EXPECT_EQ(zip_read(saved, name), zip_read(made, name)) << name;
        }
    }
    const std::string check = python_docx_run(
        "import sys, docx\n"
        "s = docx.Document(sys.argv[1]).sections[0]\n"
        "print('|'.join(p.text for p in s.header.paragraphs))\n"
        "print(len(s.header.part.rels))\n",
        {saved});
    EXPECT_NE(check.find("added to the header"), std::string::npos) << check;
}

// A first-page header stays with the first page it was made for: a section
// break keeps the distinction in the section it ends, not in the one that
// starts after it. Sections end only in the body: a break in a header is
// refused.
TEST_F(HeaderFooterTest, FirstPagesAndSectionBreaks) {
    Object doc = Create("breaks.new.docx");
    Call(Header(doc, kFirst, true), "AppendParagraph", {"letterhead"});
    Call(doc, "AppendParagraph", {"letter"});
    rt().call(doc, "AppendSectionBreak", {4});
    Call(doc, "AppendParagraph", {"appendix"});

    Object header = Header(doc, kDefault, true);
    Object inHeader = Call(header, "AppendParagraph", {"head"});
    const vexrt::HostException refused = raised([&] { rt().call(inHeader, "InsertSectionBreakAfter", {1}); });
    EXPECT_EQ(refused.className(), "VexlomarWord.WordException");
    EXPECT_EQ(refused.errorNumber(), -18);
    EXPECT_EQ(Int(header, "ItemCount"), 1);
    rt().call(doc, "Save");

    const std::string body = zip_read(path("breaks.new.docx"), "word/document.xml");
    const size_t ending = body.find("<w:pPr><w:sectPr");
    const size_t final = body.rfind("<w:sectPr");
    ASSERT_NE(ending, std::string::npos) << body;
    ASSERT_LT(ending, final);
    EXPECT_NE(body.substr(ending, final - ending).find("<w:titlePg/>"), std::string::npos);
    EXPECT_EQ(body.find("<w:titlePg/>", final), std::string::npos) << body.substr(final);
    EXPECT_NE(body.find("<w:type w:val=\"nextPage\"/>", final), std::string::npos);
}

// A final section that names no header of a kind shows the one the nearest
// earlier section names (a header linked to the previous section): that is
// the header Header gives, made or not, and no new part hides it.
TEST_F(HeaderFooterTest, AnInheritedHeaderIsTheFinalSections) {
    DocxParts parts;
    parts.headers = {{"default", "<w:p><w:r><w:t>Shared head</w:t></w:r></w:p>"}};
    parts.appendSectPr = false;
    parts.body =
        "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader1\"/>"
        "<w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" "
        "w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/></w:sectPr></w:pPr>"
        "<w:r><w:t>Section one</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>Section two</w:t></w:r></w:p>"
        "<w:sectPr><w:type w:val=\"nextPage\"/><w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" "
        "w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/>"
        "</w:sectPr>";
    write_docx(path("linked.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("linked.docx"))}).object();
    ASSERT_TRUE(doc);
    Object shown = Header(doc, kDefault, false);
    ASSERT_TRUE(shown);
    EXPECT_EQ(Str(Call(shown, "Paragraph", {0}), "Text"), "Shared head");
    Object made = Header(doc, kDefault, true);
    ASSERT_TRUE(made);
    Call(made, "AppendParagraph", {"on every page"});
    EXPECT_FALSE(Header(doc, kEven, false));
    rt().call(doc, "Save");

    EXPECT_EQ(Count(zip_read(path("linked.docx"), "[Content_Types].xml"), "PartName=\"/word/header"), 1u);
    const std::string body = zip_read(path("linked.docx"), "word/document.xml");
    EXPECT_EQ(Count(body, "w:headerReference"), 1u) << body;
    if (!libreoffice_available() || !pdf_tools_available()) GTEST_SKIP() << "LibreOffice or poppler is missing";
    ASSERT_TRUE(libreoffice_convert(path("linked.docx"), "pdf", outDir()));
    for (int page : {1, 2}) {
        const std::string text = pdf_page_text(path("linked.pdf"), page);
        EXPECT_NE(text.find("Shared head"), std::string::npos) << page << ": " << text;
        EXPECT_NE(text.find("on every page"), std::string::npos) << page << ": " << text;
    }
}
