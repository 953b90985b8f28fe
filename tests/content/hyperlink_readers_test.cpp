// Hyperlinks and bookmarks as other tools see them: python-docx and
// LibreOffice read what we write, and we read and edit what LibreOffice
// writes.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "docx_builder.h"
#include "paragraph_fixture.h"

namespace fs = std::filesystem;
using vexrt::Object;

namespace {

class HyperlinkReadersTest : public ParagraphFixture {
protected:
    // soffice --convert-to with a profile of its own, into outDir(); false
    // (and the test skipped) without LibreOffice.
    bool Convert(const std::string& file, const std::string& filter) {
        if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
            [] { GTEST_SKIP() << "LibreOffice is not installed"; }();
            return false;
        }
        std::string profile = (fs::temp_directory_path() / "vexword-lo-XXXXXX").string();
        EXPECT_NE(mkdtemp(profile.data()), nullptr);
        const std::string command = "timeout 300 soffice -env:UserInstallation=file://" + profile +
                                    " --headless --convert-to '" + filter + "' --outdir '" + outDir() + "' '" +
                                    file + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        fs::remove_all(profile);
        EXPECT_EQ(status, 0) << command;
        return status == 0;
    }

    // Every hyperlink of the body's paragraphs: "text -> address", anchor
    // links as "text -> #name".
    std::vector<std::string> Links(const Object& doc) {
        std::vector<std::string> links;
        const int64_t paragraphs = Int(doc, "ParagraphCount");
        for (int64_t i = 0; i < paragraphs; ++i) {
            Object p = Call(doc, "Paragraph", {i});
            const int64_t items = Int(p, "ParagraphItemCount");
            for (int64_t j = 0; j < items; ++j) {
                Object item = Call(p, "ParagraphItem", {j});
                if (rt().className(item) != "VexlomarWord.Hyperlink") continue;
                std::string text;
                for (int64_t r = 0; r < Int(item, "RunCount"); ++r) text += Str(Call(item, "Run", {r}), "Text");
                links.push_back(text + " -> " + (Bool(item, "LinkToAnchor") ? "#" : "") + Str(item, "Address"));
            }
        }
        return links;
    }
    std::vector<Object> Bookmarks(const Object& doc) {
        Object list = Call(doc, "GetBookmarks");
        std::vector<Object> out;
        for (size_t i = 0; i < rt().arrayCount(list); ++i) out.push_back(rt().arrayItem(list, i));
        return out;
    }
};

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The printed XML of an entry, whitespace between elements dropped.
std::string Canonical(const std::string& bytes) {
    pugi::xml_document xml;
    EXPECT_TRUE(xml.load_buffer(bytes.data(), bytes.size()));
    std::ostringstream out;
    xml.document_element().print(out, "", pugi::format_raw);
    return out.str();
}

// The /URI entries of a PDF's link annotations. LibreOffice writes link
// annotations as plain objects, so they can be read from the file's bytes.
std::set<std::string> PdfUris(const std::string& pdf) {
    std::set<std::string> uris;
    const std::string bytes = ReadFile(pdf);
    for (size_t at = bytes.find("/URI("); at != std::string::npos; at = bytes.find("/URI(", at + 1)) {
        const size_t begin = at + 5, end = bytes.find(')', begin);
        if (end != std::string::npos) uris.insert(bytes.substr(begin, end - begin));
    }
    return uris;
}

}  // namespace

// External links (one with a tooltip), an anchor link to a bookmark and a
// link in the header, as python-docx and LibreOffice read them.
TEST_F(HyperlinkReadersTest, OtherReadersFindEveryAddress) {
    Object doc = Create("readers.new.docx");
    Object p = Call(doc, "AppendParagraph", {"Visit "});
    Call(p, "AppendHyperlink", {"our site", "https://example.com/shop"});
    Object tip = Call(p, "AppendHyperlink", {"the help", "https://example.org/help?topic=links"});
    rt().set(tip, "Tooltip", "Opens the help pages");
    Object target = Call(doc, "AppendParagraph", {"Terms and conditions"});
    ASSERT_TRUE(Call(target, "AddBookmarkAround", {Call(target, "Run", {0}), "Terms"}));
    Object back = Call(doc, "AppendParagraph", {"See "});
    Object anchor = Call(back, "AppendHyperlink", {"the terms", ""});
    rt().set(anchor, "LinkToAnchor", true);
    rt().set(anchor, "Address", "Terms");
    Object header = Call(doc, "Header", {0, true});
    Call(Call(header, "AppendParagraph", {"Shop: "}), "AppendHyperlink", {"home", "https://example.net/home"});
    Call(doc, "Save");

    const std::string file = path("readers.new.docx");
    const std::string printed = python_docx_run(
        "import sys, docx\n"
        "from docx.oxml.ns import qn\n"
        "d = docx.Document(sys.argv[1])\n"
        "def show(where, part, element):\n"
        "    for h in element.iter(qn('w:hyperlink')):\n"
        "        rid = h.get(qn('r:id'))\n"
        "        if rid:\n"
        "            rel = part.rels[rid]\n"
        "            print(where, rel.target_ref, 'external' if rel.is_external else 'internal',\n"
        "                  h.get(qn('w:tooltip')) or '-')\n"
        "        else:\n"
        "            print(where, '#' + h.get(qn('w:anchor')), '-', '-')\n"
        "show('body', d.part, d.element.body)\n"
        "hdr = d.sections[0].header\n"
        "show('header', hdr.part, hdr._element)\n"
        "for b in d.element.body.iter(qn('w:bookmarkStart')):\n"
        "    print('bookmark', b.get(qn('w:name')))\n",
        {file});
    if (!printed.empty()) {
        EXPECT_EQ(printed,
                  "body https://example.com/shop external -\n"
                  "body https://example.org/help?topic=links external Opens the help pages\n"
                  "body #Terms - -\n"
                  "header https://example.net/home external -\n"
                  "bookmark Terms\n");
    }

    if (!Convert(file, "pdf")) return;
    EXPECT_EQ(PdfUris(path("readers.new.pdf")),
              (std::set<std::string>{"https://example.com/shop", "https://example.org/help?topic=links",
                                     "https://example.net/home"}));
    // The anchor link becomes a jump inside the file, to the bookmark.
    const std::string pdf = ReadFile(path("readers.new.pdf"));
    EXPECT_NE(pdf.find("/Dest"), std::string::npos);
}

// A document LibreOffice made from HTML: every link and bookmark is read;
// one of each removed, and nothing else in the package changes.
TEST_F(HyperlinkReadersTest, DocumentWrittenByLibreOffice) {
    {
        std::ofstream html(path("source.html"));
        html << "<html><body><h1><a name=\"intro\"></a>Introduction</h1>"
                "<p>Read <a href=\"https://example.com/guide.html\">the guide</a> or "
                "<a href=\"https://example.org/faq.html\">the questions</a>.</p>"
                "<p><a name=\"details\"></a>Details come here.</p>"
                "<p>Back to <a href=\"#intro\">the introduction</a> or on to <a href=\"#details\">the details</a>.</p>"
                "</body></html>";
    }
    if (!Convert(path("source.html"), "docx:Office Open XML Text")) return;
    const std::string source = path("source.docx");
    Object doc = rt().callShared("Document", "Open", {folderItem(source)}).object();
    ASSERT_TRUE(doc);
    EXPECT_EQ(Links(doc), (std::vector<std::string>{"the guide -> https://example.com/guide.html",
                                                    "the questions -> https://example.org/faq.html",
                                                    "the introduction -> #intro", "the details -> #details"}));
    std::vector<Object> bookmarks = Bookmarks(doc);
    ASSERT_EQ(bookmarks.size(), 2u);
    EXPECT_EQ(Str(bookmarks[0], "Name"), "intro");
    EXPECT_EQ(Str(bookmarks[1], "Name"), "details");

    // What the removals must leave: the source with exactly those elements
    // and that relationship taken out.
    pugi::xml_document expectedBody, expectedRels;
    const std::string body = zip_read(source, "word/document.xml");
    const std::string rels = zip_read(source, "word/_rels/document.xml.rels");
    ASSERT_TRUE(expectedBody.load_buffer(body.data(), body.size()));
    ASSERT_TRUE(expectedRels.load_buffer(rels.data(), rels.size()));
    pugi::xml_node guide = expectedBody.select_node("//w:hyperlink[@r:id]").node();
    ASSERT_TRUE(guide);
    const std::string guideId = guide.attribute("r:id").value();
    guide.parent().remove_child(guide);
    pugi::xml_node start = expectedBody.select_node("//w:bookmarkStart[@w:name='details']").node();
    ASSERT_TRUE(start);
    const std::string endPath = "//w:bookmarkEnd[@w:id='" + std::string(start.attribute("w:id").value()) + "']";
    pugi::xml_node end = expectedBody.select_node(endPath.c_str()).node();
    ASSERT_TRUE(end);
    start.parent().remove_child(start);
    end.parent().remove_child(end);
    pugi::xml_node rel =
        expectedRels.document_element().find_child_by_attribute("Relationship", "Id", guideId.c_str());
    expectedRels.document_element().remove_child(rel);

    Object paragraph = Call(doc, "Paragraph", {1});
    Call(paragraph, "RemoveParagraphItem", {Call(paragraph, "ParagraphItem", {1})});
    ASSERT_EQ(Str(bookmarks[1], "Name"), "details");
    Call(doc, "RemoveBookmark", {bookmarks[1]});
    SaveCopy(doc, "edited.docx");

    const std::string edited = path("edited.docx");
    std::ostringstream out;
    expectedBody.document_element().print(out, "", pugi::format_raw);
    EXPECT_EQ(Canonical(zip_read(edited, "word/document.xml")), out.str());
    std::ostringstream relsOut;
    expectedRels.document_element().print(relsOut, "", pugi::format_raw);
    EXPECT_EQ(Canonical(zip_read(edited, "word/_rels/document.xml.rels")), relsOut.str());
    std::vector<std::string> entries = zip_entries(source), editedEntries = zip_entries(edited);
    std::sort(entries.begin(), entries.end());
    std::sort(editedEntries.begin(), editedEntries.end());
    EXPECT_EQ(editedEntries, entries);
    for (const std::string& entry : entries) {
        if (entry == "word/document.xml" || entry == "word/_rels/document.xml.rels") continue;
        const std::string before = zip_read(source, entry), after = zip_read(edited, entry);
        const bool xml = entry.find(".xml") != std::string::npos || entry.find(".rels") != std::string::npos;
        if (xml) {
            EXPECT_EQ(Canonical(after), Canonical(before)) << entry;
        } else {
            EXPECT_EQ(after, before) << entry;
        }
    }

    Object reopened = rt().callShared("Document", "Open", {folderItem(edited)}).object();
    EXPECT_EQ(Links(reopened), (std::vector<std::string>{"the questions -> https://example.org/faq.html",
                                                         "the introduction -> #intro", "the details -> #details"}));
    EXPECT_EQ(Bookmarks(reopened).size(), 1u);
}
