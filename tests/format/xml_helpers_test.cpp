// Attribute and property-child helpers, checked on the XML they leave.
#include <gtest/gtest.h>

#include "format/xml_helpers.h"
#include "xml_snippets.h"

TEST(XmlHelpers, StringAttributes) {
    pugi::xml_document doc;
    pugi::xml_node rPr = xml_load(doc, R"(<w:rPr><w:rStyle w:val="Strong"/><w:lang w:eastAsia="ja-JP"/><w:b/></w:rPr>)");
    EXPECT_EQ(ChildNode_GetStringAttribute(rPr, "w:rStyle", "w:val"), std::string("Strong"));
    EXPECT_EQ(ChildNode_GetStringAttribute(rPr, "w:lang", "w:val"), std::string());
    EXPECT_EQ(ChildNode_GetStringAttribute(rPr, "w:color", "w:val"), std::nullopt);

    // Existing children keep their place (a missing attribute is added);
    // missing ones are appended; an empty value removes the whole child.
    ChildNode_SetStringAttribute(rPr, "w:lang", "w:val", "de-DE");
    ChildNode_SetStringAttribute(rPr, "w:color", "w:val", "FF0000");
    ChildNode_SetStringAttribute(rPr, "w:rStyle", "w:val", "");
    ChildNode_SetStringAttribute(rPr, "w:sz", "w:val", "");
    EXPECT_EQ(xml_print(rPr), R"(<w:rPr><w:lang w:eastAsia="ja-JP" w:val="de-DE"/><w:b/><w:color w:val="FF0000"/></w:rPr>)");

    pugi::xml_node docPr = rPr.append_child("wp:docPr");
    Node_SetStringAttribute(docPr, "name", "x");
    Node_SetStringAttribute(docPr, "descr", "d");
    Node_SetStringAttribute(docPr, "name", "");
    EXPECT_EQ(xml_print(docPr), R"(<wp:docPr descr="d"/>)");
    SetStringAttribute(docPr.attribute("descr"), std::string_view("Heading 1 and more", 9));
    EXPECT_STREQ(docPr.attribute("descr").value(), "Heading 1");
    SetStringAttribute(docPr.attribute("descr"), std::string_view());  // the host's nil string
    EXPECT_EQ(xml_print(docPr), R"(<wp:docPr descr=""/>)");
}

TEST(XmlHelpers, WriteAttribute) {
    pugi::xml_document doc;
    pugi::xml_node shd = xml_load(doc, R"(<w:shd w:val="clear" w:fill="auto"/>)");
    WriteAttribute(shd, "w:color", "auto");
    WriteAttribute(shd, "w:fill", "FF8000");
    WriteAttribute(shd, "w:val", "nil", false);
    WriteAttribute(shd, "w:themeFill", "accent1", false);
    WriteAttribute(shd, "w:sz", -360);
    EXPECT_EQ(xml_print(shd), R"(<w:shd w:fill="FF8000" w:color="auto" w:sz="-360"/>)");
}

TEST(XmlHelpers, ChildWithValue) {
    pugi::xml_document doc;
    pugi::xml_node rPr = xml_load(doc, R"(<w:rPr><w:b/><w:sz w:val="20" w:x="1"/><w:u/></w:rPr>)");
    // Existing children keep their position and only change (or gain) "w:val".
    PrependChildWith_wVal(rPr, "w:sz", 48);
    EXPECT_EQ(PrependChildWith_wVal(rPr, "w:u", "double"), rPr.child("w:u"));
    // Missing children go first (Prepend...) or last (Append...).
    PrependChildWith_wVal(rPr, "w:highlight", "yellowish", 6);
    AppendChildWith_wVal(rPr, "w:spacing", -20);
    AppendChildWith_wVal(rPr, "w:b", 0);
    EXPECT_EQ(xml_print(rPr),
              R"(<w:rPr><w:highlight w:val="yellow"/><w:b w:val="0"/><w:sz w:val="48" w:x="1"/><w:u w:val="double"/><w:spacing w:val="-20"/></w:rPr>)");

    pugi::xml_node pPr = PrependChildIfNeeded(rPr, "w:pPr");
    EXPECT_EQ(PrependChildIfNeeded(rPr, "w:pPr"), pPr);
    EXPECT_EQ(AppendChildIfNeeded(rPr, "w:pPr"), pPr);
    pugi::xml_node end = AppendChildIfNeeded(rPr, "w:end");
    EXPECT_EQ(AppendChildIfNeeded(rPr, "w:end"), end);
    EXPECT_EQ(xml_print(rPr.first_child()) + xml_print(rPr.last_child()), "<w:pPr/><w:end/>");
    EXPECT_FALSE(PrependChildWith_wVal(pugi::xml_node(), "w:sz", 10));  // empty handles: nothing
}

TEST(XmlHelpers, ReOrderChildrenPutsListedElementsLastInListOrder) {
    static const char* const kBorders[] = {"w:top", "w:left", "w:bottom", "w:right",
                                           "w:insideH", "w:insideV", "w:tl2br", "w:tr2bl"};
    const char* ordered = R"(<b><w:start/><w:end/><w:top w:val="double"/><w:left/><w:bottom/><w:insideH/></b>)";
    pugi::xml_document doc;
    pugi::xml_node borders = xml_load(doc, R"(<b><w:bottom/><w:start/><w:top w:val="double"/><w:insideH/><w:end/><w:left/></b>)");
    ReOrderChildren(borders, kBorders, 8);
    EXPECT_EQ(xml_print(borders), ordered);
    ReOrderChildren(borders, kBorders, 8);
    EXPECT_EQ(xml_print(borders), ordered);

    // Only the first child of a name moves; the count limits the list.
    pugi::xml_document doc2;
    pugi::xml_node twice = xml_load(doc2, R"(<x><w:top w:id="1"/><w:left/><w:top w:id="2"/></x>)");
    ReOrderChildren(twice, kBorders, 1);
    EXPECT_EQ(xml_print(twice), R"(<x><w:left/><w:top w:id="2"/><w:top w:id="1"/></x>)");
}

TEST(XmlHelpers, OnOffValues) {
    pugi::xml_document doc;
    pugi::xml_node rPr = xml_load(doc, R"(<w:rPr><w:b/><on w:val="1"/><on w:val="true"/><on w:val="on"/>
        <off w:val="0"/><off w:val="false"/><off w:val="off"/><off w:val=""/><off w:val="True"/><off w:val=" 1"/></w:rPr>)");
    EXPECT_TRUE(ResolveST_OnOff(rPr.child("w:b").attribute("w:val")));  // absent means on
    for (pugi::xml_node n : rPr.children("on")) EXPECT_TRUE(ResolveST_OnOff(n.attribute("w:val")));
    for (pugi::xml_node n : rPr.children("off"))
        EXPECT_FALSE(ResolveST_OnOff(n.attribute("w:val"))) << n.attribute("w:val").value();
}
