// Fields through the loaded plug-in: date, time and hyperlink fields as
// written, the kinds and data of fields in documents, including those other
// word processors write, and what other readers make of ours.
#include <fstream>

#include "libreoffice.h"
#include "paragraph_fixture.h"

using vexrt::Object;

namespace {

class FieldTest : public ParagraphFixture {};

const int kDateField = 1, kTimeField = 2, kHyperlinkField = 3, kPageNumberField = 4, kPageCountField = 5;
const int kUnknownField = -2, kNoField = 0;

}  // namespace

TEST_F(FieldTest, ATimeFieldIsFiveRunsAroundItsResult) {
    Object doc = Create("time.new.docx");
    Object p = Call(doc, "AppendParagraph", {"Now: "});
    rt().call(p, "SetLanguageCode", {"de-DE", false});
    Object run = Call(p, "AppendTimeField", {9, 5, 7});
    ASSERT_TRUE(run);
    EXPECT_EQ(Str(run, "Text"), "09:05:07");
    EXPECT_EQ(Str(run, "InstrText"), "TIME  \\@ \"HH:mm:ss\"  \\* MERGEFORMAT");
    EXPECT_TRUE(Bool(run, "IsPartOfComplexRun"));
    EXPECT_EQ(Int(run, "ComplexRunPartCount"), 5);
    EXPECT_EQ(Int(run, "ComplexRunFieldType"), kTimeField);
    EXPECT_EQ(Str(run, "ComplexRunFieldData"), "HH:mm:ss");
    EXPECT_EQ(Int(run, "FieldSeparator"), -1);
    EXPECT_EQ(Str(p, "Text"), "Now: 09:05:07");
    EXPECT_EQ(Int(p, "RunCount"), 6);
    EXPECT_EQ(Int(p, "LogicalRunCount"), 2);

    Object begin = Call(run, "ComplexRunPart", {0});
    EXPECT_EQ(Int(begin, "FieldSeparator"), 0);
    EXPECT_FALSE(Bool(begin, "IsPartOfComplexRun"));
    EXPECT_EQ(Str(rt().get(begin, "OwnerParagraph").object(), "Text"), "Now: 09:05:07");
    EXPECT_EQ(Int(Call(run, "ComplexRunPart", {4}), "FieldSeparator"), 1);
    for (int index : {-1, 5})
        EXPECT_RAISED(rt().call(run, "ComplexRunPart", {index}), "OutOfBoundsException", "index is out of bounds", 1);

    // Found again by walking the paragraph, the field reads the same.
    Object found = Call(p, "LogicalRun", {1});
    EXPECT_EQ(Str(found, "Text"), "09:05:07");
    EXPECT_EQ(Str(found, "InstrText"), Str(run, "InstrText"));
    EXPECT_EQ(Int(found, "ComplexRunFieldType"), kTimeField);

    std::vector<std::string> saved = SavedParagraphs(doc, "time-saved.new.docx");
    EXPECT_NE(saved[1].find("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
                            "<w:r><w:rPr><w:lang w:val=\"de-DE\"/></w:rPr>"
                            "<w:instrText xml:space=\"preserve\">TIME  \\@ \"HH:mm:ss\"  \\* MERGEFORMAT</w:instrText></w:r>"
                            "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"
                            "<w:r><w:rPr><w:noProof/><w:lang w:val=\"de-DE\"/></w:rPr><w:t>09:05:07</w:t></w:r>"
                            "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>"),
              std::string::npos) << saved[1];
}

TEST_F(FieldTest, TimesOutOfRangeAddNothing) {
    Object doc = Create("times.new.docx");
    Object p = Call(doc, "AppendParagraph", {""});
    const long long kBad[][3] = {{24, 0, 0}, {0, -1, 0}, {0, 60, 0}, {0, 0, 60}, {-1, 0, 0}, {0, 0, 1ll << 33}};
    for (const auto& t : kBad) {
        SCOPED_TRACE(std::to_string(t[0]) + ":" + std::to_string(t[1]) + ":" + std::to_string(t[2]));
        EXPECT_RAISED(rt().call(p, "AppendTimeField", {t[0], t[1], t[2]}), "OutOfBoundsException",
                      "Time is out of bounds", 1);
        EXPECT_EQ(Int(p, "RunCount"), 1);
    }
    EXPECT_EQ(Str(Call(p, "AppendTimeField", {23, 59, 59}), "Text"), "23:59:59");
    EXPECT_EQ(Str(Call(p, "AppendTimeField", {0, 0, 0}), "Text"), "00:00:00");
    EXPECT_EQ(Int(p, "RunCount"), 11);
}

TEST_F(FieldTest, AHyperlinkFieldNeedsNoRelationship) {
    Object doc = Create("link-field.new.docx");
    SaveCopy(doc, "link-before.new.docx");
    Object p = Call(doc, "AppendParagraph", {"See "});
    Object run = Call(p, "AppendHyperlinkField", {"the site", "https://example.com/a?b=1&c=2"});
    EXPECT_EQ(Str(run, "Text"), "the site");
    EXPECT_EQ(Str(run, "InstrText"), "HYPERLINK \"https://example.com/a?b=1&c=2\"");
    EXPECT_EQ(Int(run, "ComplexRunFieldType"), kHyperlinkField);
    EXPECT_EQ(Str(run, "ComplexRunFieldData"), "https://example.com/a?b=1&c=2");
    EXPECT_EQ(Str(p, "Text"), "See the site");

    std::vector<std::string> saved = SavedParagraphs(doc, "link-after.new.docx");
    EXPECT_EQ(zip_read(path("link-after.new.docx"), "word/_rels/document.xml.rels"),
              zip_read(path("link-before.new.docx"), "word/_rels/document.xml.rels"));
    EXPECT_EQ(saved[1].find("w:hyperlink"), std::string::npos) << saved[1];
    EXPECT_EQ(saved[1].find("w:rStyle"), std::string::npos) << saved[1];
    EXPECT_NE(saved[1].find("HYPERLINK \"https://example.com/a?b=1&amp;c=2\""), std::string::npos) << saved[1];
}

TEST_F(FieldTest, ADateFieldShowsTheHostsShortDate) {
    Object doc = Create("date.new.docx");
    Object p = Call(doc, "AppendParagraph", {"Date: "});
    Object run = Call(p, "AppendDateField", {rt().makeDateTime(2024, 2, 29, 13, 5, 9)});
    ASSERT_TRUE(run);
    EXPECT_EQ(Str(run, "Text"), "2/29/24");
    EXPECT_EQ(Str(run, "InstrText"), "DATE   \\* MERGEFORMAT");
    EXPECT_EQ(Int(run, "ComplexRunFieldType"), kDateField);
    EXPECT_EQ(Str(run, "ComplexRunFieldData"), "");
    EXPECT_EQ(Int(run, "ComplexRunPartCount"), 5);

    EXPECT_RAISED(rt().call(p, "AppendDateField", {vexrt::Nil{}}), "InvalidArgumentException",
                  "value parameter may not be nil", 1);
    EXPECT_EQ(Int(p, "RunCount"), 6);
}

TEST_F(FieldTest, KindsAndDataFromInstructions) {
    struct Case {
        const char* instruction;
        int kind;
        const char* data;
    };
    const Case kCases[] = {
        {"  PAGE", kPageNumberField, ""},
        {"PAGEREF _Toc1 \\h", kPageNumberField, ""},  // read by its prefix
        {" NUMPAGES ", kPageCountField, ""},
        {"\t\nDATE \\@ \"d MMMM yyyy\"", kDateField, "d MMMM yyyy"},
        {"date", kUnknownField, ""},
        {"SEQ Figure \\* ARABIC", kUnknownField, ""},
        {"TIME", kTimeField, ""},
        {"HYPERLINK \"unclosed", kHyperlinkField, "unclosed"},
        {"HYPERLINK \\l \"anchor\" \\o \"tip\"", kHyperlinkField, "anchor\" \\o \"tip"},
        {"", kUnknownField, ""},
    };
    std::string inner = TextRun("outside");
    for (const Case& c : kCases) inner += Field(c.instruction, "r");
    Opened o = OpenParagraph("kinds.docx", inner);
    Object outside = Call(o.paragraph, "LogicalRun", {0});
    EXPECT_EQ(Int(outside, "ComplexRunPartCount"), 0);
    EXPECT_EQ(Int(outside, "ComplexRunFieldType"), kNoField);
    EXPECT_EQ(Str(outside, "ComplexRunFieldData"), "");
    EXPECT_EQ(Str(outside, "InstrText"), "");
    for (size_t i = 0; i < std::size(kCases); ++i) {
        SCOPED_TRACE(kCases[i].instruction);
        Object field = Call(o.paragraph, "LogicalRun", {int(i + 1)});
        EXPECT_EQ(Str(field, "InstrText"), kCases[i].instruction);
        EXPECT_EQ(Int(field, "ComplexRunFieldType"), kCases[i].kind);
        EXPECT_EQ(Str(field, "ComplexRunFieldData"), kCases[i].data);
    }

    // An instruction spread over several runs: only its first piece counts.
    Opened split = OpenParagraph("split.docx", FieldChar("begin") + InstrRun("HYPER") + InstrRun("LINK \"x\"") +
                                                   FieldChar("separate") + TextRun("r") + FieldChar("end"));
    Object field = Call(split.paragraph, "Run", {4});
    EXPECT_EQ(Str(field, "InstrText"), "HYPER");
    EXPECT_EQ(Int(field, "ComplexRunFieldType"), kUnknownField);
    EXPECT_EQ(Int(field, "ComplexRunPartCount"), 6);
    // A field without instruction run: no kind.
    Opened bare = OpenParagraph("bare-field.zip", FieldChar("begin") + TextRun("r") + FieldChar("end"));
    EXPECT_EQ(Int(Call(bare.paragraph, "Run", {1}), "ComplexRunFieldType"), kNoField);
}

// Page-number and page-count fields as another word processor writes them.
TEST_F(FieldTest, PageFieldsWrittenByAnotherWordProcessor) {
    if (!libreoffice_available()) GTEST_SKIP() << "LibreOffice is not installed";
    {
        std::ofstream source(path("pages.fodt"));
        source << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                  "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\" "
                  "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body><office:text>"
                  "<text:p>Page <text:page-number text:select-page=\"current\">1</text:page-number> of "
                  "<text:page-count>1</text:page-count></text:p>"
                  "</office:text></office:body></office:document>\n";
    }
    ASSERT_TRUE(libreoffice_convert(path("pages.fodt"), "docx", outDir()));

    Object doc = rt().callShared("Document", "Open", {folderItem(path("pages.docx"))}).object();
    Object p = Call(doc, "Paragraph", {0});
    EXPECT_EQ(Str(p, "Text"), "Page 1 of 1");
    std::vector<int> kinds;
    for (int64_t i = 0, n = Int(p, "LogicalRunCount"); i < n; ++i) {
        Object run = Call(p, "LogicalRun", {i});
        if (Bool(run, "IsPartOfComplexRun")) kinds.push_back(int(Int(run, "ComplexRunFieldType")));
    }
    EXPECT_EQ(kinds, (std::vector<int>{kPageNumberField, kPageCountField}));
}

// Tabs, line breaks, fields and languages: python-docx reads the saved
// paragraphs as this library does.
TEST_F(FieldTest, ASavedDocumentReadsTheSameElsewhere) {
    SKIP_WITHOUT_PYTHON_DOCX();
    const std::string file = path("mixed.new.docx");
    {
        Object doc = Create("mixed.new.docx");
        Object title = Call(doc, "AppendParagraph", {"Name:\tVexlomar\nDate:\t"});
        rt().call(title, "SetLanguageCode", {"en-GB", true});
        Call(title, "AppendDateField", {rt().makeDateTime(2023, 12, 24, 18, 0, 0)});
        Object times = Call(doc, "AppendParagraph", {"At "});
        Call(times, "AppendTimeField", {7, 30, 15});
        Call(times, "AppendRun", {" \tsharp"});
        Object links = Call(doc, "AppendParagraph", {"Link: "});
        Call(links, "AppendHyperlinkField", {"example", "https://example.com"});
        Object german = Call(doc, "AppendParagraph", {""});
        rt().call(german, "SetLanguageCode", {"de-DE", false});
        Object run = Call(german, "AppendRun", {"Gr\xC3\xBC\xC3\x9F" "e\n"});
        rt().assign(run, "TabSegmentText", {1}, "zweite Zeile");
        rt().call(doc, "Save");
    }
    Object doc = rt().callShared("Document", "Open", {folderItem(file)}).object();
    std::vector<std::string> ours;
    for (int64_t i = 0, n = Int(doc, "ParagraphCount"); i < n; ++i) ours.push_back(Str(Call(doc, "Paragraph", {i}), "Text"));
    const std::vector<std::string> expected = {
        "", "Name:\tVexlomar\nDate:\t12/24/23", "At 07:30:15 \tsharp", "Link: example",
        "Gr\xC3\xBC\xC3\x9F" "e\nzweite Zeile"};
    EXPECT_EQ(ours, expected);
    EXPECT_EQ(python_docx_paragraphs(file), ours);
}
