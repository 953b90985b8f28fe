// Formatting of runs and paragraphs through the loaded plug-in: every
// property both ways, fields formatted as one, and paragraph and run styles.
#include "paragraph_fixture.h"

using vexrt::Color;
using vexrt::Nil;
using vexrt::Object;

namespace {

class RunFormattingTest : public ParagraphFixture {
protected:
    // The saved "w:rPr" of the runs of the body's paragraph `index`.
    std::vector<std::string> SavedRunProperties(const Object& doc, const std::string& file, size_t index = 0) {
        SaveCopy(doc, file);
        const std::string xml = zip_read(path(file), "word/document.xml");
        pugi::xml_document parsed;
        EXPECT_TRUE(parsed.load_buffer(xml.data(), xml.size()));
        std::vector<std::string> properties;
        pugi::xml_node p = parsed.child("w:document").child("w:body").child("w:p");
        for (size_t i = 0; i < index; ++i) p = p.next_sibling("w:p");
        for (pugi::xml_node r : p.children("w:r")) properties.push_back(xml_print(r.child("w:rPr")));
        return properties;
    }
};

}  // namespace

TEST_F(RunFormattingTest, EveryPropertyRoundTripsAndItsUnsetValueRemovesIt) {
    Object doc = Create("props.new.docx");
    Object p = Call(doc, "AppendParagraph", {"x"});
    Object run = Call(p, "Run", {0});
    EXPECT_EQ(Str(run, "FontName"), "");
    EXPECT_EQ(Int(run, "FontSize"), -1);
    EXPECT_EQ(Int(run, "Bold"), -1);
    EXPECT_EQ(Int(run, "Spacing"), -10000);
    EXPECT_FALSE(Bool(run, "HasTextColor"));

    struct Property {
        const char* name;
        int64_t value;
        int64_t unset;
    };
    const Property enumerated[] = {
        {"FontSize", 13, -1},      {"Bold", 1, -1},       {"Bold", 0, -1},          {"Italic", 1, -1},
        {"Underline", 7, 0},       {"Strikethrough", 2, -1}, {"Strikethrough", 0, -1}, {"HighlightColor", 9, 0},
        {"VerticalAlignment", 1, 0}, {"Caps", 2, 0},     {"Spacing", -30, -10000},
    };
    for (const Property& property : enumerated) {
        rt().set(run, property.name, property.value);
        EXPECT_EQ(Int(run, property.name), property.value) << property.name;
        rt().set(run, property.name, property.unset);
        EXPECT_EQ(Int(run, property.name), property.unset) << property.name;
    }
    rt().set(run, "FontName", "Liberation Mono");
    EXPECT_EQ(Str(run, "FontName"), "Liberation Mono");
    rt().set(run, "FontName", "");
    rt().set(run, "TextColor", Color{0x00C00000});
    EXPECT_TRUE(Bool(run, "HasTextColor"));
    EXPECT_EQ(rt().get(run, "TextColor").color().value, 0x00C00000u);
    rt().call(run, "ClearTextColor");
    EXPECT_FALSE(Bool(run, "HasTextColor"));
    rt().call(run, "SetUnderlineWithColor", {2, Color{0x000000FF}});
    EXPECT_EQ(Int(run, "Underline"), 2);
    EXPECT_TRUE(Bool(run, "HasUnderlineColor"));
    EXPECT_EQ(rt().get(run, "UnderlineColor").color().value, 0x000000FFu);
    rt().call(run, "ClearUnderlineColor");
    EXPECT_FALSE(Bool(run, "HasUnderlineColor"));
    EXPECT_EQ(Int(run, "Underline"), 2);
    rt().set(run, "Underline", 0);
    // Everything unset again: the run keeps its (empty) properties only.
    EXPECT_EQ(SavedRunProperties(doc, "props-saved.new.docx", 1), std::vector<std::string>{"<w:rPr/>"});
}

TEST_F(RunFormattingTest, AFieldIsFormattedAsOneExceptCapsAndSpacing) {
    Opened o = OpenParagraph("field.docx", TextRun("Date: ") + Field(" DATE ", "8 December 2026"));
    Object field = Call(o.paragraph, "Run", {4});  // the result run
    ASSERT_TRUE(Bool(field, "IsPartOfComplexRun"));
    rt().set(field, "Bold", 1);
    rt().set(field, "FontSize", 10);
    rt().set(field, "TextColor", Color{0x00102030});
    rt().call(field, "SetUnderlineWithColor", {1, Color{0x00FF0000}});
    rt().set(field, "Caps", 1);
    rt().set(field, "Spacing", 20);
    const std::string shared =
        R"(<w:b/><w:color w:val="102030"/><w:sz w:val="20"/><w:szCs w:val="20"/><w:u w:val="single" w:color="FF0000"/>)";
    std::vector<std::string> saved = SavedRunProperties(o.doc, "field-saved.docx");
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_EQ(saved[0], "");  // the run before the field has none
    for (size_t i = 1; i < 6; ++i) {
        if (i == 4) continue;
        EXPECT_EQ(saved[i], "<w:rPr>" + shared + "</w:rPr>") << i;
    }
    EXPECT_EQ(saved[4], R"(<w:rPr><w:b/><w:caps/><w:color w:val="102030"/><w:spacing w:val="20"/>)"
                        R"(<w:sz w:val="20"/><w:szCs w:val="20"/><w:u w:val="single" w:color="FF0000"/></w:rPr>)");
    // Reading goes to the run's own element.
    Object begin = Call(o.paragraph, "Run", {1});
    EXPECT_EQ(Int(begin, "Caps"), 0);
    EXPECT_EQ(Int(begin, "Bold"), 1);
    rt().call(begin, "ClearTextColor");
    rt().call(begin, "ClearUnderlineColor");
    saved = SavedRunProperties(o.doc, "field-cleared.docx");
    for (size_t i = 1; i < 6; ++i) EXPECT_EQ(saved[i].find("FF0000"), std::string::npos) << i;
    for (size_t i = 1; i < 6; ++i) EXPECT_EQ(saved[i].find("w:color w:val"), std::string::npos) << i;
}

TEST_F(RunFormattingTest, ParagraphAlignment) {
    Opened o = OpenParagraph("align.docx", R"(<w:pPr><w:jc w:val="end"/><w:rPr><w:i/></w:rPr></w:pPr>)" + TextRun("x"));
    EXPECT_EQ(Int(o.paragraph, "Alignment"), -1);
    rt().set(o.paragraph, "Alignment", 2);
    EXPECT_EQ(Int(o.paragraph, "Alignment"), 2);
    Object added = Call(o.doc, "AppendParagraph", {"y"});
    rt().set(added, "Alignment", 3);
    std::vector<std::string> saved = SavedParagraphs(o.doc, "align-saved.docx");
    EXPECT_EQ(saved[0], R"(<w:p><w:pPr><w:jc w:val="right"/><w:rPr><w:i/></w:rPr></w:pPr><w:r><w:t>x</w:t></w:r></w:p>)");
    EXPECT_EQ(saved[1].rfind(R"(<w:p><w:pPr><w:jc w:val="both"/></w:pPr><w:r>)", 0), 0u) << saved[1];
    rt().set(added, "Alignment", -1);
    EXPECT_EQ(Int(added, "Alignment"), -1);
}

TEST_F(RunFormattingTest, ParagraphAndRunStyles) {
    const std::string body = R"(<w:p><w:pPr><w:pStyle w:val="Missing"/></w:pPr><w:r><w:rPr><w:rStyle w:val="Gone"/></w:rPr><w:t>a</w:t></w:r></w:p>)"
                             R"(<w:p><w:r><w:t>bare</w:t></w:r></w:p>)";
    Object doc = OpenBody("styles.docx", body);
    Object first = Call(doc, "Paragraph", {0});
    EXPECT_RAISED(rt().get(first, "Style"), "VexlomarWord.WordException",
                  "Paragraph has style but no matching style exists in the document", 1);
    EXPECT_RAISED(rt().get(Call(first, "Run", {0}), "Style"), "VexlomarWord.WordException",
                  "Run has style but no matching style exists in the document", 1);

    Object heading = Call(doc, "AddNewParagraphStyle", {"Title1", "Title One", Nil{}});
    Object strong = Call(doc, "AddNewCharacterStyle", {"Loud", "Loud", Nil{}});
    Object second = Call(doc, "Paragraph", {1});
    EXPECT_TRUE(rt().get(second, "Style").isNil());
    rt().set(second, "Style", heading);
    rt().set(first, "Style", heading);
    Object bare = Call(second, "Run", {0});  // no "w:rPr": it is made for the style
    EXPECT_TRUE(rt().get(bare, "Style").isNil());
    rt().set(bare, "Style", strong);
    EXPECT_EQ(Str(rt().get(second, "Style").object(), "Id"), "Title1");
    EXPECT_EQ(Str(rt().get(bare, "Style").object(), "Name"), "Loud");
    std::vector<std::string> saved = SavedParagraphs(doc, "styles-saved.docx");
    EXPECT_EQ(saved[1], R"(<w:p><w:pPr><w:pStyle w:val="Title1"/></w:pPr><w:r><w:rPr><w:rStyle w:val="Loud"/></w:rPr><w:t>bare</w:t></w:r></w:p>)");
    EXPECT_NE(saved[0].find(R"(<w:pStyle w:val="Title1"/>)"), std::string::npos);

    rt().set(second, "Style", Nil{});
    rt().set(bare, "Style", Nil{});
    saved = SavedParagraphs(doc, "styles-removed.docx");
    EXPECT_EQ(saved[1], R"(<w:p><w:pPr/><w:r><w:rPr/><w:t>bare</w:t></w:r></w:p>)");
}
