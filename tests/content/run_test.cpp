// Runs through the loaded plug-in: the text rule both ways, runs that hold
// pictures or shapes, tab segments, languages, field characters.
#include "content/paragraph_item.h"
#include "document/document_data.h"
#include "paragraph_fixture.h"

using vexrt::Object;

namespace {

class RunTest : public ParagraphFixture {
protected:
    std::string Segment(const Object& run, int index) {
        return rt().call(run, "TabSegmentText", {index}).text();
    }
};

const char* const kShape =
    "<w:r><w:rPr/><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing/></mc:Choice>"
    "<mc:Fallback><w:pict/></mc:Fallback></mc:AlternateContent></w:r>";

}  // namespace

TEST_F(RunTest, WrittenTextReadsBackAndKeepsWhatIsNotText) {
    Object doc = Create("text.new.docx");
    Object p = Call(doc, "AppendParagraph", {"x"});
    Object run = Call(p, "Run", {0});
    rt().set(run, "Text", "a\tb\nc ");
    EXPECT_EQ(Str(run, "Text"), "a\tb\nc ");
    std::vector<std::string> saved = SavedParagraphs(doc, "text-1.new.docx");
    EXPECT_EQ(saved[1], "<w:p><w:r><w:rPr/><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br w:type=\"textWrapping\"/>"
                        "<w:t xml:space=\"preserve\">c </w:t></w:r></w:p>");
    rt().set(run, "Text", vexrt::Nil{});
    EXPECT_EQ(Str(run, "Text"), "");
    saved = SavedParagraphs(doc, "text-2.new.docx");
    EXPECT_EQ(saved[1], "<w:p><w:r><w:rPr/><w:t/></w:r></w:p>");

    // Properties, page and column breaks and field characters stay; plain
    // line breaks, tabs and text go.
    Opened o = OpenParagraph("mixed.docx",
                             "<w:r><w:rPr><w:b/></w:rPr><w:t>old</w:t><w:br/><w:tab/><w:br w:type=\"page\"/>"
                             "<w:t xml:space=\"preserve\"> more</w:t><w:delText>gone</w:delText>"
                             "<w:br w:type=\"column\"/><w:br w:type=\"textWrapping\"/></w:r>");
    Object mixed = Call(o.paragraph, "Run", {0});
    EXPECT_EQ(Str(mixed, "Text"), "old\n\t more\n");
    EXPECT_EQ(Str(o.paragraph, "Text"), "old\n\t more\n");
    rt().set(mixed, "Text", "new");
    EXPECT_EQ(Str(mixed, "Text"), "new");
    EXPECT_TRUE(Bool(mixed, "IsPageBreak"));
    saved = SavedParagraphs(o.doc, "mixed-saved.docx");
    EXPECT_EQ(saved[0], "<w:p><w:r><w:rPr><w:b/></w:rPr><w:br w:type=\"page\"/><w:delText>gone</w:delText>"
                        "<w:br w:type=\"column\"/><w:t>new</w:t></w:r></w:p>");
}

TEST_F(RunTest, PictureAndShapeRunsRefuseText) {
    Opened o = OpenParagraph("drawings.bin", "<w:r><w:rPr/><w:drawing/><w:t>caption</w:t></w:r>" + std::string(kShape) +
                                                 "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"/>"
                                                 "</mc:AlternateContent></w:r>" + TextRun("plain"));
    const Object& p = o.paragraph;
    Object picture = Call(p, "Run", {0});
    Object shape = Call(p, "Run", {1});
    Object odd = Call(p, "Run", {2});
    Object plain = Call(p, "Run", {3});
    EXPECT_TRUE(Bool(picture, "IsDrawing"));
    EXPECT_FALSE(Bool(picture, "IsShape"));
    EXPECT_TRUE(Bool(shape, "IsShape"));
    EXPECT_FALSE(Bool(shape, "IsDrawing"));
    EXPECT_FALSE(Bool(odd, "IsShape"));
    EXPECT_FALSE(Bool(plain, "IsDrawing") || Bool(plain, "IsShape"));

    const std::vector<std::string> before = SavedParagraphs(o.doc, "drawings-1.bin");
    EXPECT_RAISED(rt().set(picture, "Text", "x"), "VexlomarWord.WordException", "Text cannot be set on drawing Run", -25);
    EXPECT_RAISED(rt().set(shape, "Text", "x"), "VexlomarWord.WordException", "Text cannot be set on shape Run", -26);
    // Alternate content of any kind is not overwritten.
    EXPECT_RAISED(rt().set(odd, "Text", "x"), "VexlomarWord.WordException", "Text cannot be set on shape Run", -26);
    EXPECT_EQ(SavedParagraphs(o.doc, "drawings-2.bin"), before);
    EXPECT_EQ(Str(picture, "Text"), "caption");
}

TEST_F(RunTest, TabSegmentsAndTheirBounds) {
    Object doc = Create("segments.new.docx");
    Object p = Call(doc, "AppendParagraph", {"a\tb\nc"});
    Object run = Call(p, "Run", {0});
    ASSERT_EQ(Int(run, "TabSegmentCount"), 3);
    EXPECT_EQ(Segment(run, 0), "a");
    EXPECT_EQ(Segment(run, 1), "b");
    EXPECT_EQ(Segment(run, 2), "c");
    for (int index : {-1, 3, 1 << 30}) {
        SCOPED_TRACE(index);
        EXPECT_RAISED(rt().call(run, "TabSegmentText", {index}), "OutOfBoundsException", "Index is out of bounds", 1);
        EXPECT_RAISED(rt().assign(run, "TabSegmentText", {index}, "z"), "OutOfBoundsException",
                      "Index is out of bounds", 1);
    }
    EXPECT_EQ(Str(run, "Text"), "a\tb\nc");

    rt().assign(run, "TabSegmentText", {1}, " x ");
    rt().assign(run, "TabSegmentText", {2}, "\xC2\xA0y");  // a no-break space is not white space
    EXPECT_EQ(Str(run, "Text"), "a\t x \n\xC2\xA0y");
    std::vector<std::string> saved = SavedParagraphs(doc, "segments-1.new.docx");
    EXPECT_NE(saved[1].find("<w:tab/><w:t xml:space=\"preserve\"> x </w:t><w:br w:type=\"textWrapping\"/>"
                            "<w:t>\xC2\xA0y</w:t>"),
              std::string::npos) << saved[1];
    // Back to plain text, then nil: the marker goes, nil empties the segment.
    rt().assign(run, "TabSegmentText", {0}, "plain");
    rt().assign(run, "TabSegmentText", {1}, vexrt::Nil{});
    EXPECT_EQ(Segment(run, 1), "");
    EXPECT_EQ(Str(run, "Text"), "plain\t\n\xC2\xA0y");
    saved = SavedParagraphs(doc, "segments-2.new.docx");
    EXPECT_NE(saved[1].find("<w:t>plain</w:t><w:tab/><w:t/><w:br"), std::string::npos) << saved[1];

    // A field's logical run is its end run, which has no segments of its own.
    Object field = Call(p, "AppendTimeField", {10, 0, 0});
    EXPECT_EQ(Int(field, "TabSegmentCount"), 1);
    EXPECT_EQ(Segment(field, 0), "10:00:00");
    Object end = Call(p, "LogicalRun", {1});
    EXPECT_EQ(Str(end, "Text"), "10:00:00");
    EXPECT_EQ(Int(end, "TabSegmentCount"), 0);
    EXPECT_RAISED(rt().assign(end, "TabSegmentText", {0}, "11:00:00"), "OutOfBoundsException",
                  "Index is out of bounds", 1);
    EXPECT_EQ(Str(end, "Text"), "10:00:00");
}

// Several result runs: a segment is written where its index was checked,
// in the run asked, not in the field's text run.
TEST_F(RunTest, TabSegmentsOfAFieldRunAreItsOwn) {
    Opened o = OpenParagraph("results.docx", FieldChar("begin") + InstrRun("PAGE") + FieldChar("separate") +
                                                 TextRun("1") + "<w:r><w:t>2</w:t><w:t>3</w:t></w:r>" + FieldChar("end"));
    Object first = Call(o.paragraph, "Run", {3});
    EXPECT_EQ(Str(first, "Text"), "23");
    EXPECT_EQ(Int(first, "TabSegmentCount"), 1);
    rt().assign(first, "TabSegmentText", {0}, "7");
    EXPECT_EQ(Segment(first, 0), "7");
    EXPECT_EQ(Str(first, "Text"), "23");
    Object second = Call(o.paragraph, "Run", {4});
    rt().assign(second, "TabSegmentText", {1}, "9");
    EXPECT_EQ(Str(first, "Text"), "29");
}

TEST_F(RunTest, LanguageOfARunAndOfEveryPartOfAField) {
    Opened o = OpenParagraph("run-language.docx",
                             "<w:r><w:rPr><w:lang w:val=\"en-US\" w:bidi=\"ar-SA\"/><w:b/></w:rPr><w:t>us</w:t></w:r>" +
                                 TextRun("none"));
    const Object& p = o.paragraph;
    Object us = Call(p, "Run", {0});
    Object none = Call(p, "Run", {1});
    EXPECT_EQ(Str(us, "LanguageCode"), "en-US");
    EXPECT_EQ(Str(none, "LanguageCode"), "");
    rt().set(us, "LanguageCode", "pt-BR");
    rt().set(none, "LanguageCode", "da-DK");
    EXPECT_EQ(Str(us, "LanguageCode"), "pt-BR");
    Object field = Call(p, "AppendTimeField", {8, 30, 0});
    rt().set(field, "LanguageCode", "sv-SE");
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Str(Call(field, "ComplexRunPart", {k}), "LanguageCode"), "sv-SE") << k;
    std::vector<std::string> saved = SavedParagraphs(o.doc, "run-language-1.docx");
    EXPECT_NE(saved[0].find("<w:r><w:rPr><w:lang w:val=\"pt-BR\" w:bidi=\"ar-SA\"/><w:b/></w:rPr><w:t>us</w:t></w:r>"
                            "<w:r><w:rPr><w:lang w:val=\"da-DK\"/></w:rPr><w:t>none</w:t></w:r>"
                            "<w:r><w:rPr><w:lang w:val=\"sv-SE\"/></w:rPr><w:fldChar w:fldCharType=\"begin\"/></w:r>"),
              std::string::npos) << saved[0];

    // Empty removes, from every part; a nil string does the same.
    rt().set(field, "LanguageCode", "");
    rt().set(us, "LanguageCode", vexrt::Nil{});
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Str(Call(field, "ComplexRunPart", {k}), "LanguageCode"), "") << k;
    EXPECT_EQ(Str(us, "LanguageCode"), "");
    saved = SavedParagraphs(o.doc, "run-language-2.docx");
    EXPECT_EQ(saved[0].find("sv-SE"), std::string::npos) << saved[0];
    EXPECT_NE(saved[0].find("<w:rPr><w:b/></w:rPr><w:t>us</w:t>"), std::string::npos) << saved[0];
}

TEST_F(RunTest, FieldCharactersAndTheirLock) {
    const char* const kChars[] = {
        "<w:fldChar w:fldCharType=\"begin\" w:fldLock=\"1\"/>", "<w:fldChar w:fldCharType=\"separate\" w:fldLock=\"true\"/>",
        "<w:fldChar w:fldCharType=\"end\" w:fldLock=\"on\"/>",  "<w:fldChar w:fldCharType=\"begin\" w:fldLock=\"0\"/>",
        "<w:fldChar w:fldCharType=\"end\" w:fldLock=\"True\"/>", "<w:fldChar w:fldCharType=\"begin\"/>",
        "<w:fldChar w:fldCharType=\"middle\" w:fldLock=\"1\"/>", "<w:fldChar/>",
        "<w:t>no field character</w:t>",
    };
    const int kSeparator[] = {0, 2, 1, 0, 1, 0, -1, -1, -1};
    const bool kLock[] = {true, true, true, false, false, false, true, false, false};
    std::string inner;
    for (const char* c : kChars) inner += std::string("<w:r>") + c + "</w:r>";
    Opened o = OpenParagraph("fldchars.bin", inner);
    for (int i = 0; i < 9; ++i) {
        Object run = Call(o.paragraph, "Run", {i});
        EXPECT_EQ(Int(run, "FieldSeparator"), kSeparator[i]) << kChars[i];
        EXPECT_EQ(Bool(run, "FieldSeparatorLock"), kLock[i]) << kChars[i];
    }
}

class RunViewTest : public LinkedTest {};

// Hyperlinks have no members of their own yet: the run inside one is made by
// the library's own operation, as the hyperlink will make it.
TEST_F(RunViewTest, ARunInsideAHyperlinkHasNoOwnerParagraph) {
    write_docx(path("link.docx"), "<w:p><w:hyperlink w:anchor=\"x\"><w:r><w:t>in</w:t></w:r></w:hyperlink>"
                                  "<w:r><w:t>out</w:t></w:r></w:p>");
    Object doc = rt().callShared("Document", "Open", {folderItem(path("link.docx"))}).object();
    pugi::xml_node p = DocumentData_Of(doc.get())->wordDocument->documentXml.child("w:document").child("w:body").child("w:p");
    pugi::xml_node link = p.child("w:hyperlink");
    Object inside(CreateRun(doc.get(), link.child("w:r"), link, nullptr, nullptr, false), /*adopt=*/true);
    EXPECT_EQ(rt().get(inside, "Text").text(), "in");
    EXPECT_TRUE(rt().get(inside, "OwnerParagraph").isNil());
    Object outside(CreateRun(doc.get(), p.child("w:r"), p, nullptr, nullptr, true), /*adopt=*/true);
    EXPECT_EQ(rt().get(rt().get(outside, "OwnerParagraph").object(), "Text").text(), "out");
}
