// Hyperlinks through the host: made, read and edited in the relationships of
// the part that holds them, read by other tools, and removed.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "docx_builder.h"
#include "paragraph_fixture.h"

using vexrt::Object;

namespace {

const std::string kRelBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

class HyperlinkTest : public ParagraphFixture {
protected:
    // A saved entry, parsed.
    void Load(pugi::xml_document& xml, const std::string& file, const std::string& entry) {
        const std::string bytes = zip_read(path(file), entry);
        ASSERT_TRUE(xml.load_buffer(bytes.data(), bytes.size())) << entry;
    }
    static pugi::xml_node Rel(const pugi::xml_document& rels, const char* id) {
        return rels.child("Relationships").find_child_by_attribute("Relationship", "Id", id);
    }
    static int CountOfType(const pugi::xml_document& rels, const std::string& kind) {
        int n = 0;
        for (pugi::xml_node r : rels.child("Relationships").children("Relationship"))
            if (kRelBase + kind == r.attribute("Type").value()) ++n;
        return n;
    }
    static int AttributeCount(pugi::xml_node node, const char* name) {
        int n = 0;
        for (pugi::xml_attribute a : node.attributes())
            if (std::string(a.name()) == name) ++n;
        return n;
    }
};

int HyperlinkStyles(const pugi::xml_document& styles) {
    int n = 0;
    for (pugi::xml_node s : styles.child("w:styles").children("w:style"))
        if (std::string(s.attribute("w:styleId").value()) == "Hyperlink" &&
            std::string(s.attribute("w:type").value()) == "character")
            ++n;
    return n;
}

}  // namespace

// A link on a new document: its relationship, its element, its run and the
// style, added once however many links follow.
TEST_F(HyperlinkTest, AppendedLinkAndWhatItBrings) {
    Object doc = Create("links.new.docx");
    Object p = Call(doc, "AppendParagraph", {"See "});
    Object link = Call(p, "AppendHyperlink", {"our site", "https://example.com/a?b=1&c=2"});
    ASSERT_TRUE(link);
    EXPECT_EQ(rt().className(link), "VexlomarWord.Hyperlink");
    EXPECT_TRUE(rt().isA(link, "ParagraphItem"));
    EXPECT_EQ(Str(link, "Address"), "https://example.com/a?b=1&c=2");
    EXPECT_FALSE(Bool(link, "LinkToAnchor"));
    EXPECT_EQ(Int(link, "RunCount"), 1);
    EXPECT_EQ(Str(Call(link, "Run", {0}), "Text"), "our site");
    EXPECT_FALSE(Call(link, "Run", {1}));
    EXPECT_FALSE(Call(link, "Run", {-1}));
    Call(p, "AppendHyperlink", {"second", "mailto:a@example.com"});

    // The paragraph's items see the links as hyperlinks, and their owner.
    EXPECT_EQ(Int(p, "ParagraphItemCount"), 3);
    Object item = Call(p, "ParagraphItem", {1});
    EXPECT_EQ(rt().className(item), "VexlomarWord.Hyperlink");
    EXPECT_EQ(Str(item, "Address"), "https://example.com/a?b=1&c=2");
    EXPECT_EQ(rt().className(Call(p, "LogicalParagraphItem", {2})), "VexlomarWord.Hyperlink");
    EXPECT_TRUE(rt().get(item, "OwnerParagraph").object());

    SaveCopy(doc, "links-saved.new.docx");
    pugi::xml_document rels, xml, styles;
    Load(rels, "links-saved.new.docx", "word/_rels/document.xml.rels");
    Load(xml, "links-saved.new.docx", "word/document.xml");
    Load(styles, "links-saved.new.docx", "word/styles.xml");
    EXPECT_EQ(CountOfType(rels, "hyperlink"), 2);
    pugi::xml_node h = xml.select_node("//w:hyperlink").node();
    ASSERT_TRUE(h);
    pugi::xml_node rel = Rel(rels, h.attribute("r:id").value());
    EXPECT_STREQ(rel.attribute("Target").value(), "https://example.com/a?b=1&c=2");
    EXPECT_STREQ(rel.attribute("TargetMode").value(), "External");
    EXPECT_STREQ(h.first_attribute().name(), "r:id");
    EXPECT_STREQ(h.attribute("w:history").value(), "1");
    EXPECT_STREQ(h.child("w:r").child("w:rPr").child("w:rStyle").attribute("w:val").value(), "Hyperlink");
    EXPECT_EQ(HyperlinkStyles(styles), 1);
}

// External to anchor and back: the relationship goes, a new empty one comes.
TEST_F(HyperlinkTest, AddressFollowsTheKindOfLink) {
    Object doc = Create("kinds.new.docx");
    Object p = Call(doc, "AppendParagraph", {""});
    Object link = Call(p, "AppendHyperlink", {"go", "https://example.com/"});
    rt().set(link, "LinkToAnchor", true);
    EXPECT_TRUE(Bool(link, "LinkToAnchor"));
    EXPECT_EQ(Str(link, "Address"), "");
    rt().set(link, "Address", "Chapter_2");
    EXPECT_EQ(Str(link, "Address"), "Chapter_2");
    rt().set(link, "LinkToAnchor", true);  // already: nothing
    EXPECT_EQ(Str(link, "Address"), "Chapter_2");

    SaveCopy(doc, "anchor.new.docx");
    pugi::xml_document rels;
    Load(rels, "anchor.new.docx", "word/_rels/document.xml.rels");
    EXPECT_EQ(CountOfType(rels, "hyperlink"), 0);

    rt().set(link, "LinkToAnchor", false);
    EXPECT_FALSE(Bool(link, "LinkToAnchor"));
    EXPECT_EQ(Str(link, "Address"), "");
    rt().set(link, "Address", "https://example.org/new");
    EXPECT_EQ(Str(link, "Address"), "https://example.org/new");
    SaveCopy(doc, "external.new.docx");
    pugi::xml_document rels2, xml;
    Load(rels2, "external.new.docx", "word/_rels/document.xml.rels");
    Load(xml, "external.new.docx", "word/document.xml");
    EXPECT_EQ(CountOfType(rels2, "hyperlink"), 1);
    pugi::xml_node h = xml.select_node("//w:hyperlink").node();
    EXPECT_FALSE(h.attribute("w:anchor"));
    EXPECT_STREQ(Rel(rels2, h.attribute("r:id").value()).attribute("Target").value(), "https://example.org/new");
    EXPECT_STREQ(Rel(rels2, h.attribute("r:id").value()).attribute("TargetMode").value(), "External");

    // Tooltip: set, read, nil removes it.
    rt().set(link, "Tooltip", "Opens the site");
    EXPECT_EQ(Str(link, "Tooltip"), "Opens the site");
    rt().set(link, "Tooltip", nullptr);
    EXPECT_EQ(Str(link, "Tooltip"), "");
    EXPECT_FALSE(SavedParagraphs(doc, "tooltip.new.docx").back().find("w:tooltip") != std::string::npos);
}

// Word processors keep an external address's fragment in w:anchor beside
// r:id: such a link is external, its address has the fragment, and turning
// it "external" never writes a second r:id.
TEST_F(HyperlinkTest, ExternalLinkWithFragment) {
    DocxParts parts;
    parts.body = "<w:p><w:hyperlink r:id=\"rIdWeb\" w:anchor=\"part2\" w:history=\"1\"><w:r><w:t>Docs</w:t>"
                 "</w:r></w:hyperlink></w:p><w:p><w:hyperlink w:anchor=\"Intro\"><w:r><w:t>Up</w:t></w:r>"
                 "</w:hyperlink></w:p>";
    parts.documentRelationships =
        "<Relationship Id=\"rIdWeb\" Type=\"" + kRelBase +
        "hyperlink\" Target=\"https://example.com/guide.html\" TargetMode=\"External\"/>";
    write_docx(path("fragment.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("fragment.docx"))}).object();
    Object web = Call(Call(doc, "Paragraph", {0}), "ParagraphItem", {0});
    Object up = Call(Call(doc, "Paragraph", {1}), "ParagraphItem", {0});
    EXPECT_FALSE(Bool(web, "LinkToAnchor"));
    EXPECT_EQ(Str(web, "Address"), "https://example.com/guide.html#part2");
    EXPECT_TRUE(Bool(up, "LinkToAnchor"));
    EXPECT_EQ(Str(up, "Address"), "Intro");

    rt().set(web, "LinkToAnchor", false);  // it is external already
    const std::vector<std::string> kept = SavedParagraphs(doc, "kept.docx");
    EXPECT_EQ(kept[0].find("r:id=\"rIdWeb\""), kept[0].rfind("r:id="));

    // A new address replaces the whole one, fragment included.
    rt().set(web, "Address", "https://example.com/other.html");
    EXPECT_EQ(Str(web, "Address"), "https://example.com/other.html");
    rt().set(web, "LinkToAnchor", true);
    EXPECT_TRUE(Bool(web, "LinkToAnchor"));
    rt().set(web, "Address", "Intro");
    SaveCopy(doc, "anchored.docx");
    pugi::xml_document xml, rels;
    Load(xml, "anchored.docx", "word/document.xml");
    Load(rels, "anchored.docx", "word/_rels/document.xml.rels");
    pugi::xml_node h = xml.select_node("//w:hyperlink").node();
    EXPECT_EQ(AttributeCount(h, "w:anchor"), 1);
    EXPECT_EQ(AttributeCount(h, "r:id"), 0);
    EXPECT_STREQ(h.attribute("w:anchor").value(), "Intro");
    EXPECT_FALSE(Rel(rels, "rIdWeb"));
}

// A link in a header lives in the header's relationships: read, written and
// removed there, never touching the main part's relationship of that id.
TEST_F(HyperlinkTest, LinkInHeaderUsesTheHeadersRelationships) {
    Object doc = Create("header.new.docx");
    Object header = Call(doc, "Header", {0, true});
    Object p = Call(header, "AppendParagraph", {"Call us: "});
    Object link = Call(p, "AppendHyperlink", {"contact", "https://example.com/contact"});
    ASSERT_TRUE(link);
    EXPECT_EQ(Str(link, "Address"), "https://example.com/contact");

    SaveCopy(doc, "header-saved.new.docx");
    pugi::xml_document main, own, hdr;
    Load(main, "header-saved.new.docx", "word/_rels/document.xml.rels");
    Load(own, "header-saved.new.docx", "word/_rels/header1.xml.rels");
    Load(hdr, "header-saved.new.docx", "word/header1.xml");
    EXPECT_EQ(CountOfType(main, "hyperlink"), 0);
    EXPECT_EQ(CountOfType(own, "hyperlink"), 1);
    const std::string id = hdr.select_node("//w:hyperlink").node().attribute("r:id").value();
    // The same id names something else in the main part.
    ASSERT_TRUE(Rel(main, id.c_str())) << id;
    const std::string mainTarget = Rel(main, id.c_str()).attribute("Target").value();

    rt().set(link, "Address", "https://example.com/new-contact");
    EXPECT_EQ(Str(link, "Address"), "https://example.com/new-contact");
    SaveCopy(doc, "header-address.new.docx");
    pugi::xml_document main2, own2;
    Load(main2, "header-address.new.docx", "word/_rels/document.xml.rels");
    Load(own2, "header-address.new.docx", "word/_rels/header1.xml.rels");
    EXPECT_STREQ(Rel(own2, id.c_str()).attribute("Target").value(), "https://example.com/new-contact");
    EXPECT_EQ(Rel(main2, id.c_str()).attribute("Target").value(), mainTarget);

    Call(p, "RemoveParagraphItem", {link});
    EXPECT_EQ(Int(p, "ParagraphItemCount"), 1);
    SaveCopy(doc, "header-removed.new.docx");
    pugi::xml_document main3, own3;
    Load(main3, "header-removed.new.docx", "word/_rels/document.xml.rels");
    Load(own3, "header-removed.new.docx", "word/_rels/header1.xml.rels");
    EXPECT_FALSE(Rel(own3, id.c_str()));
    EXPECT_EQ(Rel(main3, id.c_str()).attribute("Target").value(), mainTarget);
}

// Removing a hyperlink takes its relationship; its runs come and go.
TEST_F(HyperlinkTest, RunsAndRemoval) {
    Object doc = Create("runs.new.docx");
    Object p = Call(doc, "AppendParagraph", {"x"});
    Object keep = Call(p, "AppendHyperlink", {"one", "https://example.com/1"});
    Object gone = Call(p, "AppendHyperlink", {"two", "https://example.com/2"});
    Object added = Call(keep, "AppendRun", {" more"});
    EXPECT_EQ(Int(keep, "RunCount"), 2);
    EXPECT_EQ(Str(Call(keep, "Run", {1}), "Text"), " more");
    EXPECT_FALSE(rt().get(added, "OwnerParagraph").object());

    // A run of another hyperlink, or of the paragraph, is not this one's.
    Call(keep, "RemoveRun", {Call(gone, "Run", {0})});
    Call(keep, "RemoveRun", {Call(p, "Run", {0})});
    Call(keep, "RemoveRun", {Value()});
    EXPECT_EQ(Int(gone, "RunCount"), 1);
    EXPECT_EQ(Int(p, "RunCount"), 1);
    Object removedRun = Call(gone, "Run", {0});
    Call(gone, "RemoveRun", {removedRun});
    EXPECT_EQ(Int(gone, "RunCount"), 0);
    // Views of what was removed stay usable: they still show it.
    EXPECT_EQ(Str(removedRun, "Text"), "two");

    Object keptRun = Call(keep, "Run", {0});
    Call(p, "RemoveParagraphItem", {gone});
    Call(p, "RemoveParagraphItem", {gone});  // not a child any more
    EXPECT_EQ(Int(p, "ParagraphItemCount"), 2);
    EXPECT_EQ(Int(gone, "RunCount"), 0);
    EXPECT_EQ(Str(keptRun, "Text"), "one");
    SaveCopy(doc, "removed.new.docx");
    pugi::xml_document rels;
    Load(rels, "removed.new.docx", "word/_rels/document.xml.rels");
    EXPECT_EQ(CountOfType(rels, "hyperlink"), 1);
    const std::string saved = SavedParagraphs(doc, "removed2.new.docx").back();
    EXPECT_EQ(saved.find("<w:hyperlink"), saved.rfind("<w:hyperlink"));
    EXPECT_NE(saved.find(" more"), std::string::npos);
}

// A package without a styles part gets one with the style.
TEST_F(HyperlinkTest, StyleMadeWhenThePackageHasNoStyles) {
    DocxParts parts;
    parts.body = "<w:p/>";
    parts.omit = {"word/styles.xml"};
    parts.overrides["word/_rels/document.xml.rels"] =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>";
    // Its content types still name the missing part: not for the checker.
    write_docx(path("nostyles.in"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("nostyles.in"))}).object();
    ASSERT_TRUE(Call(Call(doc, "Paragraph", {0}), "AppendHyperlink", {"x", "https://example.com/"}));
    SaveCopy(doc, "styled.docx");
    pugi::xml_document styles;
    Load(styles, "styled.docx", "word/styles.xml");
    EXPECT_EQ(HyperlinkStyles(styles), 1);
}

// Two links of another tool that share one relationship: a new address for
// one gives it a relationship of its own and leaves the other as it was.
TEST_F(HyperlinkTest, ANewAddressLeavesASharedRelationshipToTheOtherLink) {
    DocxParts parts;
    parts.body = "<w:p><w:hyperlink r:id=\"rIdShared\"><w:r><w:t>one</w:t></w:r></w:hyperlink>"
                 "<w:hyperlink r:id=\"rIdShared\"><w:r><w:t>two</w:t></w:r></w:hyperlink></w:p>";
    parts.documentRelationships =
        "<Relationship Id=\"rIdShared\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "hyperlink\" Target=\"https://shared.example/\" TargetMode=\"External\"/>";
    write_docx(path("shared.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("shared.docx"))}).object();
    ASSERT_TRUE(doc);
    Object p = Call(doc, "Paragraph", {0});
    rt().set(Call(p, "ParagraphItem", {int64_t(0)}), "Address", "https://changed.example/");
    EXPECT_EQ(Str(Call(p, "ParagraphItem", {int64_t(0)}), "Address"), "https://changed.example/");
    EXPECT_EQ(Str(Call(p, "ParagraphItem", {int64_t(1)}), "Address"), "https://shared.example/");
    // Once it is its own, a link's relationship is changed in place.
    rt().set(Call(p, "ParagraphItem", {int64_t(0)}), "Address", "https://again.example/");
    rt().call(doc, "Save");
    const std::string rels = zip_read(path("shared.docx"), "word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("https://shared.example/"), std::string::npos) << rels;
    EXPECT_NE(rels.find("https://again.example/"), std::string::npos) << rels;
    EXPECT_EQ(rels.find("https://changed.example/"), std::string::npos) << rels;
    Object again = rt().callShared("Document", "Open", {folderItem(path("shared.docx"))}).object();
    Object q = Call(again, "Paragraph", {0});
    EXPECT_EQ(Str(Call(q, "ParagraphItem", {int64_t(0)}), "Address"), "https://again.example/");
    EXPECT_EQ(Str(Call(q, "ParagraphItem", {int64_t(1)}), "Address"), "https://shared.example/");
}

// A link appended to the view of a removed paragraph adds nothing to the
// package: no relationship outlives the paragraph.
TEST_F(HyperlinkTest, ARemovedParagraphTakesNoLink) {
    Object doc = Create("removed-link.new.docx");
    Object p = Call(doc, "AppendParagraph", {"gone"});
    rt().call(doc, "RemoveItem", {p});
    EXPECT_TRUE(rt().call(p, "AppendHyperlink", {"link", "https://removed.example/"}).isNil());
    rt().call(doc, "Save");
    EXPECT_EQ(zip_read(path("removed-link.new.docx"), "word/_rels/document.xml.rels").find("removed.example"),
              std::string::npos);
}

// Links removed and bookmarks added paragraph after paragraph: each lookup
// still finds its paragraph and its items (the places of the paragraphs are
// kept across these edits).
TEST_F(HyperlinkTest, EditsInALoopOverParagraphsFindEachOne) {
    Object doc = Create("loop.new.docx");
    for (int i = 0; i < 50; ++i) {
        Object p = Call(doc, "AppendParagraph", {"p" + std::to_string(i) + " "});
        rt().call(p, "AppendHyperlink", {"link", "https://example.com/" + std::to_string(i)});
        Call(p, "AppendRun", {" end"});
    }
    for (int64_t i = 1; i <= 50; ++i) {
        Object p = Call(doc, "Paragraph", {i});
        ASSERT_EQ(Str(Call(p, "ParagraphItem", {int64_t(0)}), "Text"), "p" + std::to_string(i - 1) + " ");
        Object link = Call(p, "ParagraphItem", {int64_t(1)});
        if (i % 2)
            rt().call(p, "RemoveParagraphItem", {link});
        else
            ASSERT_TRUE(Call(p, "AddBookmarkAround", {link, "Mark" + std::to_string(i)}));
        ASSERT_EQ(Int(p, "ParagraphItemCount"), i % 2 ? 2 : 3);
        Object second = Call(p, "ParagraphItem", {int64_t(1)});
        if (i % 2)
            ASSERT_EQ(Str(second, "Text"), " end");
        else
            ASSERT_EQ(rt().className(second), "VexlomarWord.Hyperlink");
    }
    EXPECT_EQ(Int(doc, "ParagraphCount"), 51);
    rt().call(doc, "Save");
    const std::string rels = zip_read(path("loop.new.docx"), "word/_rels/document.xml.rels");
    EXPECT_EQ(rels.find("https://example.com/0\""), std::string::npos);
    EXPECT_NE(rels.find("https://example.com/1\""), std::string::npos);
}
