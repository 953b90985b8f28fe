// New runs and the rule by which text becomes run content.

#include <gtest/gtest.h>

#include "content/run_language.h"
#include "content/run_text.h"
#include "xml_snippets.h"

namespace {

// Snippets keep their blank-only text, as parts do.
pugi::xml_node Load(pugi::xml_document& doc, const char* xml) {
    return xml_load(doc, xml, pugi::parse_default | pugi::parse_ws_pcdata);
}

// The children a fresh run gets for `text`, printed.
std::string Written(std::string_view text) {
    pugi::xml_document doc;
    pugi::xml_node run = doc.append_child("w:r");
    Run_AddTextToRun(run, text);
    std::string result;
    for (pugi::xml_node child : run.children()) result += xml_print(child);
    return result;
}

const std::string kBr = R"(<w:br w:type="textWrapping"/>)";

}  // namespace

TEST(RunText, TabsLineFeedsAndEmptyPieces) {
    EXPECT_EQ(Written("a\tb\nc "), "<w:t>a</w:t><w:tab/><w:t>b</w:t>" + kBr + R"(<w:t xml:space="preserve">c </w:t>)");
    EXPECT_EQ(Written(""), "<w:t/>");
    EXPECT_EQ(Written("\n"), "<w:t/>" + kBr + "<w:t/>");
    EXPECT_EQ(Written("\t\t"), "<w:t/><w:tab/><w:t/><w:tab/><w:t/>");
    EXPECT_EQ(Written("x\n\ty"), "<w:t>x</w:t>" + kBr + "<w:t/><w:tab/><w:t>y</w:t>");
    EXPECT_EQ(Written("a<b>&c"), "<w:t>a&lt;b&gt;&amp;c</w:t>");
}

TEST(RunText, SpacePreservedOnlyWhereWhiteSpaceWouldBeLost) {
    EXPECT_EQ(Written(" lead"), R"(<w:t xml:space="preserve"> lead</w:t>)");
    EXPECT_EQ(Written("in the middle"), "<w:t>in the middle</w:t>");
    // Decided per segment.
    EXPECT_EQ(Written("a \tb\n c"),
              R"(<w:t xml:space="preserve">a </w:t><w:tab/><w:t>b</w:t>)" + kBr + R"(<w:t xml:space="preserve"> c</w:t>)");
    for (const char* edge : {" ", "\fx", "x\r", "\vx"}) EXPECT_TRUE(Text_NeedsPreserve(edge)) << edge;
    // Non-ASCII bytes (no-break space, ideographic space) are not white space.
    for (const char* inner : {"", "a b", "\xC2\xA0x\xC2\xA0", "\xE3\x80\x80"}) EXPECT_FALSE(Text_NeedsPreserve(inner));
    EXPECT_EQ(Written("\xC2\xA0Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"), "<w:t>\xC2\xA0Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC</w:t>");
}

TEST(RunText, TextGoesAfterExistingChildren) {
    pugi::xml_document doc;
    pugi::xml_node run = Load(doc, R"(<w:r><w:rPr><w:b/></w:rPr><w:br w:type="page"/></w:r>)");
    Run_AddTextToRun(run, "x");
    EXPECT_EQ(xml_print(run), R"(<w:r><w:rPr><w:b/></w:rPr><w:br w:type="page"/><w:t>x</w:t></w:r>)");
}

TEST(InternalAddRun, ParagraphRuns) {
    pugi::xml_document doc;
    pugi::xml_node p = Load(doc, R"(<w:p><w:pPr><w:rPr><w:lang w:val="de-DE" w:eastAsia="ja-JP"/></w:rPr></w:pPr><w:r/></w:p>)");
    pugi::xml_node run = InternalAddRun(p, std::string_view("Gr\xC3\xBC\xC3\x9F" "e"), std::nullopt, true);
    EXPECT_EQ(run, p.last_child());
    EXPECT_EQ(xml_print(run), "<w:r><w:rPr><w:lang w:val=\"de-DE\"/></w:rPr><w:t>Gr\xC3\xBC\xC3\x9F" "e</w:t></w:r>");
    EXPECT_EQ(xml_print(InternalAddRun(p, std::nullopt, std::nullopt, true)), R"(<w:r><w:rPr><w:lang w:val="de-DE"/></w:rPr></w:r>)");

    pugi::xml_document plain;
    pugi::xml_node q = Load(plain, R"(<w:p><w:pPr><w:jc w:val="center"/></w:pPr></w:p>)");
    InternalAddRun(q, std::string_view(""), std::nullopt, true);
    EXPECT_EQ(xml_print(q), R"(<w:p><w:pPr><w:jc w:val="center"/></w:pPr><w:r><w:rPr/><w:t/></w:r></w:p>)");

    // A w:lang without "w:val" is copied as an empty language.
    pugi::xml_document bidi;
    pugi::xml_node b = Load(bidi, R"(<w:p><w:pPr><w:rPr><w:lang w:bidi="ar-SA"/></w:rPr></w:pPr></w:p>)");
    EXPECT_EQ(xml_print(InternalAddRun(b, std::nullopt, std::nullopt, true)), R"(<w:r><w:rPr><w:lang w:val=""/></w:rPr></w:r>)");
    EXPECT_FALSE(InternalAddRun(pugi::xml_node(), std::string_view("x"), std::nullopt, true));
}

TEST(InternalAddRun, HyperlinkRunsTakeTheNearestParagraphWithinFiveLevels) {
    pugi::xml_document doc;
    pugi::xml_node p = Load(doc, R"(<w:p><w:pPr><w:rPr><w:lang w:val="de-DE"/></w:rPr></w:pPr><w:hyperlink r:id="rId9"/>)"
                                 R"(<a><b><c><d><five/><e><six/></e></d></c></b></a></w:p>)");
    pugi::xml_node link = p.child("w:hyperlink");
    InternalAddRun(link, std::string_view("Site"), std::string_view("Hyperlink"), false);
    EXPECT_EQ(xml_print(link), R"(<w:hyperlink r:id="rId9"><w:r><w:rPr><w:rStyle w:val="Hyperlink"/>)"
                           R"(<w:lang w:val="de-DE"/></w:rPr><w:t>Site</w:t></w:r></w:hyperlink>)");
    EXPECT_EQ(xml_print(InternalAddRun(p.first_element_by_path("a/b/c/d/five"), std::nullopt, std::nullopt, false)),
              R"(<w:r><w:rPr><w:lang w:val="de-DE"/></w:rPr></w:r>)");
    EXPECT_EQ(xml_print(InternalAddRun(p.first_element_by_path("a/b/c/d/e/six"), std::nullopt, std::nullopt, false)),
              "<w:r><w:rPr/></w:r>");

    // A text-box paragraph inside a paragraph governs its own runs.
    pugi::xml_node inner = p.append_child("w:txbxContent").append_child("w:p");
    EXPECT_EQ(xml_print(InternalAddRun(inner, std::nullopt, std::nullopt, true)), "<w:r><w:rPr/></w:r>");
    EXPECT_EQ(xml_print(InternalAddRun(inner.append_child("w:hyperlink"), std::nullopt, std::nullopt, false)),
              "<w:r><w:rPr/></w:r>");
}

TEST(RunLanguage, NewLanguageElementsGoWhereThePropertyOrderHasThem) {
    pugi::xml_document doc;
    pugi::xml_node p = Load(doc, R"(<w:p><w:pPr><w:pStyle w:val="T"/><w:jc w:val="center"/><w:sectPr/></w:pPr>)"
                                 R"(<w:r><w:rPr><w:rStyle w:val="S"/><w:b/><w:vertAlign w:val="subscript"/><w:oMath/></w:rPr></w:r></w:p>)");
    Paragraph_SetLanguageCode(p, "de-AT", true);
    EXPECT_EQ(xml_print(p), R"(<w:p><w:pPr><w:pStyle w:val="T"/><w:jc w:val="center"/><w:rPr><w:lang w:val="de-AT"/></w:rPr><w:sectPr/></w:pPr>)"
                        R"(<w:r><w:rPr><w:rStyle w:val="S"/><w:b/><w:vertAlign w:val="subscript"/><w:lang w:val="de-AT"/><w:oMath/></w:rPr></w:r></w:p>)");
}
