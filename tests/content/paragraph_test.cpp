// Paragraphs through the loaded plug-in: runs, items and their logical
// forms around fields and hyperlinks, text, page breaks, list levels,
// indents, languages, appending and removing runs.
#include <algorithm>

#include "paragraph_fixture.h"

using vexrt::Object;

namespace {

class ParagraphTest : public ParagraphFixture {
protected:
    std::string RunText(const Object& p, int index) { return Str(Call(p, "Run", {index}), "Text"); }
};

const char* const kHyperlinkOpen = "<w:hyperlink w:anchor=\"target\" w:history=\"1\">";

}  // namespace

TEST_F(ParagraphTest, RunsAndItemsAroundHyperlinks) {
    const std::string hyperlink = std::string(kHyperlinkOpen) + TextRun("b") + "</w:hyperlink>";
    Object doc = OpenBody("hyperlinks.docx",
                          "<w:p><w:pPr><w:jc w:val=\"left\"/></w:pPr>" + TextRun("a") + hyperlink +
                              "<w:bookmarkStart w:id=\"1\" w:name=\"m\"/><w:r><w:tab/></w:r>"
                              "<w:bookmarkEnd w:id=\"1\"/>" + TextRun("c") + "</w:p>"
                          "<w:p>" + hyperlink + TextRun("d") + "</w:p>"
                          "<w:p>" + hyperlink + "</w:p>");
    Object p = Call(doc, "Paragraph", {0});
    EXPECT_EQ(Int(p, "RunCount"), 3);
    EXPECT_EQ(Int(p, "ParagraphItemCount"), 4);
    EXPECT_EQ(Int(p, "LogicalRunCount"), 3);
    EXPECT_EQ(Int(p, "LogicalParagraphItemCount"), 4);
    // The hyperlink's text is not the paragraph's.
    EXPECT_EQ(Str(p, "Text"), "a\tc");
    EXPECT_EQ(RunText(p, 1), "\t");
    EXPECT_EQ(RunText(p, 2), "c");

    Object link = Call(p, "ParagraphItem", {1});
    ASSERT_TRUE(link);
    EXPECT_TRUE(rt().isA(link, "VexlomarWord.ParagraphItem"));
    EXPECT_FALSE(rt().isA(link, "VexlomarWord.Run"));
    EXPECT_EQ(Str(rt().get(link, "OwnerParagraph").object(), "Text"), "a\tc");
    Object tab = Call(p, "ParagraphItem", {2});
    EXPECT_TRUE(rt().isA(tab, "VexlomarWord.Run"));
    EXPECT_EQ(Str(tab, "Text"), "\t");
    EXPECT_FALSE(rt().isA(Call(p, "LogicalParagraphItem", {1}), "VexlomarWord.Run"));
    EXPECT_EQ(Str(Call(p, "LogicalParagraphItem", {3}), "Text"), "c");

    for (int index : {-1, 4, 100}) {
        EXPECT_TRUE(rt().call(p, "ParagraphItem", {index}).isNil()) << index;
        EXPECT_TRUE(rt().call(p, "LogicalParagraphItem", {index}).isNil()) << index;
    }
    for (int index : {-1, 3}) {
        EXPECT_TRUE(rt().call(p, "Run", {index}).isNil()) << index;
        EXPECT_TRUE(rt().call(p, "LogicalRun", {index}).isNil()) << index;
    }

    // A hyperlink first is item 0; the paragraph's text starts at its first
    // own run.
    Object second = Call(doc, "Paragraph", {1});
    EXPECT_FALSE(rt().isA(Call(second, "ParagraphItem", {0}), "VexlomarWord.Run"));
    EXPECT_EQ(Str(Call(second, "ParagraphItem", {1}), "Text"), "d");
    EXPECT_EQ(RunText(second, 0), "d");
    EXPECT_EQ(Str(second, "Text"), "d");
    Object onlyLink = Call(doc, "Paragraph", {2});
    EXPECT_EQ(Str(onlyLink, "Text"), "");
    EXPECT_EQ(Int(onlyLink, "RunCount"), 0);
    EXPECT_EQ(Int(onlyLink, "ParagraphItemCount"), 1);
}

TEST_F(ParagraphTest, AFieldIsOneLogicalRunRepresentedByItsEndRun) {
    Opened o = OpenParagraph("field.docx",
                             TextRun("before ") + Field("TIME \\@ \"HH:mm:ss\"", "12:00:00") + TextRun(" after"));
    const Object& p = o.paragraph;
    EXPECT_EQ(Int(p, "RunCount"), 7);
    EXPECT_EQ(Int(p, "LogicalRunCount"), 3);
    EXPECT_EQ(Int(p, "LogicalParagraphItemCount"), 3);
    EXPECT_EQ(Str(p, "Text"), "before 12:00:00 after");

    Object field = Call(p, "LogicalRun", {1});
    EXPECT_EQ(Int(field, "FieldSeparator"), 1);  // EndField: the end run stands for the field
    EXPECT_EQ(Str(field, "Text"), "12:00:00");
    EXPECT_TRUE(Bool(field, "IsPartOfComplexRun"));
    EXPECT_EQ(Int(field, "ComplexRunPartCount"), 5);
    EXPECT_EQ(Int(field, "ComplexRunFieldType"), 2);
    EXPECT_EQ(Str(Call(p, "LogicalRun", {0}), "Text"), "before ");
    EXPECT_EQ(Str(Call(p, "LogicalRun", {2}), "Text"), " after");
    EXPECT_FALSE(Bool(Call(p, "LogicalRun", {2}), "IsPartOfComplexRun"));
    EXPECT_TRUE(rt().call(p, "LogicalRun", {3}).isNil());
    EXPECT_EQ(Str(Call(p, "LogicalParagraphItem", {1}), "Text"), "12:00:00");
}

TEST_F(ParagraphTest, AHyperlinkInsideAFieldIsStillOneItem) {
    Opened o = OpenParagraph("field-link.docx", FieldChar("begin") + InstrRun("HYPERLINK \"https://example.com\"") +
                                                    FieldChar("separate") + kHyperlinkOpen + TextRun("site") +
                                                    "</w:hyperlink>" + FieldChar("end") + TextRun("x"));
    const Object& p = o.paragraph;
    EXPECT_EQ(Int(p, "RunCount"), 5);
    EXPECT_EQ(Int(p, "LogicalRunCount"), 2);
    EXPECT_EQ(Int(p, "ParagraphItemCount"), 6);
    EXPECT_EQ(Int(p, "LogicalParagraphItemCount"), 3);
    EXPECT_FALSE(rt().isA(Call(p, "LogicalParagraphItem", {0}), "VexlomarWord.Run"));
    Object end = Call(p, "LogicalParagraphItem", {1});
    EXPECT_EQ(Int(end, "FieldSeparator"), 1);
    EXPECT_EQ(Int(end, "ComplexRunFieldType"), 3);
    EXPECT_EQ(Str(end, "ComplexRunFieldData"), "https://example.com");
    EXPECT_EQ(Str(Call(p, "LogicalParagraphItem", {2}), "Text"), "x");
}

// Every run from a field's begin to its end knows the whole field, whatever
// order the runs are asked for in and however lookups of several paragraphs
// interleave; runs outside know none.
TEST_F(ParagraphTest, EveryRunOfAFieldKnowsItsParts) {
    const std::string inner = TextRun("a") + Field("PAGE", "3") + TextRun("b") + Field("NUMPAGES", "9") + TextRun("c");
    Object doc = OpenBody("parts.docx", "<w:p>" + inner + "</w:p><w:p>" + TextRun("z") + inner + "</w:p>");
    // Index -> field number (0: none), for the first paragraph.
    const int kField[] = {0, 1, 1, 1, 1, 1, 0, 2, 2, 2, 2, 2, 0};
    const int kSeparators[] = {0, -1, 2, -1, 1};
    auto check = [&](const Object& p, int index, int shift) {
        SCOPED_TRACE("run " + std::to_string(index + shift));
        Object run = Call(p, "Run", {index + shift});
        ASSERT_TRUE(run);
        const int field = kField[index];
        EXPECT_EQ(Bool(run, "IsPartOfComplexRun"), field != 0);
        if (field == 0) {
            EXPECT_EQ(Int(run, "ComplexRunPartCount"), 0);
            EXPECT_EQ(Int(run, "ComplexRunFieldType"), 0);
            return;
        }
        EXPECT_EQ(Int(run, "ComplexRunPartCount"), 5);
        EXPECT_EQ(Int(run, "ComplexRunFieldType"), field == 1 ? 4 : 5);
        EXPECT_EQ(Str(run, "Text"), field == 1 ? "3" : "9");
        for (int k = 0; k < 5; ++k) EXPECT_EQ(Int(Call(run, "ComplexRunPart", {k}), "FieldSeparator"), kSeparators[k]);
    };
    Object p0 = Call(doc, "Paragraph", {0});
    Object p1 = Call(doc, "Paragraph", {1});
    ASSERT_EQ(Int(p0, "RunCount"), 13);
    for (int i = 0; i < 13; ++i) check(p0, i, 0);
    for (int i = 12; i >= 0; --i) check(p0, i, 0);
    for (int i = 0; i < 13; ++i) {
        check(p0, i, 0);
        check(p1, i, 1);
    }
    for (int i : {9, 2, 12, 0, 7, 6, 1}) check(p0, i, 0);
    // After a change to the paragraph, earlier answers are not reused.
    rt().call(p0, "RemoveParagraphItem", {Call(p0, "Run", {0})});
    for (int i = 1; i < 13; ++i) check(p0, i, -1);
}

// The sound reading of fields a writer left unfinished: the part list ends
// at the paragraph's last run, never with an empty entry.
TEST_F(ParagraphTest, AFieldWithoutEndRunsToTheLastRun) {
    Opened o = OpenParagraph("unended.bin", TextRun("a") + FieldChar("begin") + InstrRun("PAGE") +
                                                FieldChar("separate") + TextRun("4") + TextRun("tail"));
    const Object& p = o.paragraph;
    EXPECT_EQ(Int(p, "RunCount"), 6);
    // Nothing ends the field, so only the run before it is a logical run.
    EXPECT_EQ(Int(p, "LogicalRunCount"), 1);
    for (int i = 1; i < 6; ++i) {
        SCOPED_TRACE(i);
        Object run = Call(p, "Run", {i});
        EXPECT_TRUE(Bool(run, "IsPartOfComplexRun"));
        ASSERT_EQ(Int(run, "ComplexRunPartCount"), 5);
        EXPECT_EQ(Str(run, "Text"), "tail");
        EXPECT_EQ(Int(run, "ComplexRunFieldType"), 4);
        for (int k = 0; k < 5; ++k) EXPECT_TRUE(Call(run, "ComplexRunPart", {k})) << k;
        EXPECT_EQ(Str(Call(run, "ComplexRunPart", {4}), "Text"), "tail");
        EXPECT_RAISED(rt().call(run, "ComplexRunPart", {5}), "OutOfBoundsException", "index is out of bounds", 1);
    }
    rt().set(Call(p, "Run", {2}), "Text", "5");
    EXPECT_EQ(RunText(p, 5), "5");
    // Field runs read the field's text; the run before the last keeps its own.
    EXPECT_EQ(RunText(p, 4), "5");
    EXPECT_EQ(rt().call(Call(p, "Run", {4}), "TabSegmentText", {0}).text(), "4");

    // A begin run that is the last run: a field of one part, no instruction.
    Opened last = OpenParagraph("begin-last.bin", TextRun("a") + FieldChar("begin"));
    Object begin = Call(last.paragraph, "Run", {1});
    EXPECT_EQ(Int(begin, "ComplexRunPartCount"), 1);
    EXPECT_EQ(Str(begin, "Text"), "");
    EXPECT_EQ(Str(begin, "InstrText"), "");
    EXPECT_EQ(Int(begin, "ComplexRunFieldType"), 0);
    EXPECT_EQ(Str(begin, "ComplexRunFieldData"), "");

    // An end run without a begin is an ordinary run.
    Opened stray = OpenParagraph("stray-end.bin", TextRun("a") + FieldChar("end") + TextRun("b"));
    EXPECT_EQ(Int(stray.paragraph, "LogicalRunCount"), 3);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(Bool(Call(stray.paragraph, "Run", {i}), "IsPartOfComplexRun")) << i;
}

TEST_F(ParagraphTest, PageBreakParagraphs) {
    const std::string pageBreak = "<w:r><w:br w:type=\"page\"/></w:r>";
    Object doc = OpenBody("breaks.docx", "<w:p>" + pageBreak + "</w:p>"
                                         "<w:p>" + pageBreak + TextRun("x") + "</w:p>"
                                         "<w:p><w:r><w:br/><w:br w:type=\"page\"/></w:r></w:p>"
                                         "<w:p><w:pPr/><w:bookmarkStart w:id=\"2\" w:name=\"b\"/>" + pageBreak + "</w:p>"
                                         "<w:p/>");
    const bool expected[] = {true, false, false, true, false};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Bool(Call(doc, "Paragraph", {i}), "IsPageBreak"), expected[i]) << i;
    // Only the run's first break is looked at.
    EXPECT_FALSE(Bool(Call(Call(doc, "Paragraph", {2}), "Run", {0}), "IsPageBreak"));
    EXPECT_TRUE(Bool(Call(Call(doc, "Paragraph", {1}), "Run", {0}), "IsPageBreak"));
}

TEST_F(ParagraphTest, ListIndentLevelReadsTheNumberingLevel) {
    Object doc = OpenBody("levels.docx",
                          "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"3\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr></w:p>"
                          "<w:p><w:pPr><w:numPr><w:numId w:val=\"1\"/></w:numPr></w:pPr></w:p>"
                          "<w:p><w:pPr><w:ilvl w:val=\"5\"/></w:pPr></w:p>");
    EXPECT_EQ(Int(Call(doc, "Paragraph", {0}), "ListIndentLevel"), 3);
    EXPECT_EQ(Int(Call(doc, "Paragraph", {1}), "ListIndentLevel"), 0);
    EXPECT_EQ(Int(Call(doc, "Paragraph", {2}), "ListIndentLevel"), 0);
}

TEST_F(ParagraphTest, IndentsInAllUnitsAndTheirRemoval) {
    Object doc = Create("indents.new.docx");
    Object p = Call(doc, "AppendParagraph", {"indented"});
    const int kTwips = 0, kInches = 1, kCm = 2;
    EXPECT_EQ(rt().call(p, "LeftIndent", {kTwips}).number(), 0.0);

    rt().assign(p, "LeftIndent", {kInches}, 0.5);
    EXPECT_EQ(rt().call(p, "LeftIndent", {kTwips}).number(), 720.0);
    EXPECT_EQ(rt().call(p, "LeftIndent", {kInches}).number(), 0.5);
    rt().assign(p, "RightIndent", {kCm}, 1.0);  // 566.93 twips, cut to 566
    EXPECT_EQ(rt().call(p, "RightIndent", {kTwips}).number(), 566.0);
    EXPECT_NEAR(rt().call(p, "RightIndent", {kCm}).number(), 0.9983611174, 1e-9);
    rt().assign(p, "FirstLineIndent", {kInches}, -0.25);
    EXPECT_EQ(rt().call(p, "FirstLineIndent", {kTwips}).number(), -360.0);
    rt().assign(p, "FirstLineIndent", {kTwips}, 99.9);  // updated in place, cut toward zero
    EXPECT_EQ(rt().call(p, "FirstLineIndent", {kTwips}).number(), 99.0);
    // An unknown unit selector converts nothing.
    EXPECT_EQ(rt().call(p, "LeftIndent", {7}).number(), 720.0);

    std::vector<std::string> saved = SavedParagraphs(doc, "indents-1.new.docx");
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_NE(saved[1].find("<w:pPr><w:ind w:left=\"720\" w:right=\"566\" w:firstLine=\"99\"/></w:pPr><w:r>"),
              std::string::npos) << saved[1];

    // 0 removes one attribute, and the element with the last one.
    rt().assign(p, "RightIndent", {kInches}, 0.0);
    rt().assign(p, "FirstLineIndent", {kCm}, 0.0);
    saved = SavedParagraphs(doc, "indents-2.new.docx");
    EXPECT_NE(saved[1].find("<w:ind w:left=\"720\"/>"), std::string::npos) << saved[1];
    rt().assign(p, "LeftIndent", {kTwips}, 0.0);
    rt().assign(p, "LeftIndent", {kTwips}, 0.0);
    saved = SavedParagraphs(doc, "indents-3.new.docx");
    EXPECT_EQ(saved[1].find("w:ind"), std::string::npos) << saved[1];
    EXPECT_EQ(rt().call(p, "LeftIndent", {kInches}).number(), 0.0);

    // Setting 0 where nothing is set creates no w:ind.
    Object plain = Call(doc, "AppendParagraph", {"plain"});
    rt().assign(plain, "RightIndent", {kCm}, 0.0);
    saved = SavedParagraphs(doc, "indents-4.new.docx");
    EXPECT_EQ(saved[2].find("w:ind"), std::string::npos) << saved[2];
}

TEST_F(ParagraphTest, ExistingIndentAttributesAreKept) {
    Opened o = OpenParagraph("hanging.docx", "<w:pPr><w:jc w:val=\"center\"/><w:ind w:left=\"1440\" w:hanging=\"360\"/>"
                                             "</w:pPr>" + TextRun("x"));
    EXPECT_EQ(rt().call(o.paragraph, "LeftIndent", {1}).number(), 1.0);
    EXPECT_EQ(rt().call(o.paragraph, "FirstLineIndent", {0}).number(), -360.0);
    rt().assign(o.paragraph, "LeftIndent", {1}, 0.0);
    // A first line indented again is no longer hanging; w:ind stays where
    // it was, even out of the schema's order.
    rt().assign(o.paragraph, "FirstLineIndent", {0}, 10.0);
    std::vector<std::string> saved = SavedParagraphs(o.doc, "hanging-saved.docx");
    EXPECT_NE(saved[0].find("<w:pPr><w:jc w:val=\"center\"/><w:ind w:firstLine=\"10\"/></w:pPr>"), std::string::npos)
        << saved[0];
}

// Word processors write a first line that starts left of the others as
// w:hanging, its size; the library offers it as a negative first-line
// indent, and writes it back the same way.
TEST_F(ParagraphTest, HangingIndentsAreNegativeFirstLines) {
    const int kTwips = 0, kInches = 1, kCm = 2;
    Object opened = OpenBody("hanging-read.docx",
                             "<w:p><w:pPr><w:ind w:left=\"567\" w:hanging=\"283\"/></w:pPr>" + TextRun("hanging") +
                                 "</w:p><w:p><w:pPr><w:ind w:firstLine=\"720\"/></w:pPr>" + TextRun("first") +
                                 "</w:p><w:p><w:pPr><w:ind w:firstLine=\"720\" w:hanging=\"1440\"/></w:pPr>" +
                                 TextRun("both") + "</w:p>");
    Object hanging = Call(opened, "Paragraph", {0});
    EXPECT_EQ(rt().call(hanging, "FirstLineIndent", {kTwips}).number(), -283.0);
    EXPECT_DOUBLE_EQ(rt().call(hanging, "FirstLineIndent", {kInches}).number(), -283.0 / 1440);
    EXPECT_NEAR(rt().call(hanging, "FirstLineIndent", {kCm}).number(), -283.0 * 2.54 / 1440, 1e-6);
    EXPECT_EQ(rt().call(hanging, "LeftIndent", {kTwips}).number(), 567.0);
    EXPECT_EQ(rt().call(Call(opened, "Paragraph", {1}), "FirstLineIndent", {kInches}).number(), 0.5);
    // Both given: the hanging indent wins, as it does for word processors.
    EXPECT_EQ(rt().call(Call(opened, "Paragraph", {2}), "FirstLineIndent", {kTwips}).number(), -1440.0);

    Object doc = Create("hanging.new.docx");
    Object item = Call(doc, "AppendParagraph", {"Item one, a long line that wraps under its first word"});
    rt().set(item, "Alignment", 3);
    rt().call(item, "SetLanguageCode", {"en-GB", false});
    rt().assign(item, "LeftIndent", {kCm}, 1.0);
    rt().assign(item, "FirstLineIndent", {kCm}, -0.5);  // 283.46 twips, cut to 283
    EXPECT_EQ(rt().call(item, "FirstLineIndent", {kTwips}).number(), -283.0);
    EXPECT_NEAR(rt().call(item, "FirstLineIndent", {kCm}).number(), -283.0 * 2.54 / 1440, 1e-6);
    std::vector<std::string> saved = SavedParagraphs(doc, "hanging-1.new.docx");
    // No negative w:firstLine; w:ind before w:jc, where the schema has it.
    EXPECT_NE(saved[1].find("<w:pPr><w:ind w:left=\"566\" w:hanging=\"283\"/><w:jc w:val=\"both\"/>"
                            "<w:rPr><w:lang w:val=\"en-GB\"/></w:rPr></w:pPr>"),
              std::string::npos) << saved[1];

    // Positive, negative and positive again: one attribute at a time.
    Object swapped = Call(doc, "AppendParagraph", {"swapped"});
    rt().assign(swapped, "FirstLineIndent", {kInches}, 0.5);
    rt().assign(swapped, "FirstLineIndent", {kInches}, -0.25);
    EXPECT_EQ(rt().call(swapped, "FirstLineIndent", {kInches}).number(), -0.25);
    saved = SavedParagraphs(doc, "hanging-2.new.docx");
    EXPECT_NE(saved[2].find("<w:pPr><w:ind w:hanging=\"360\"/></w:pPr>"), std::string::npos) << saved[2];
    rt().assign(swapped, "FirstLineIndent", {kTwips}, 144.9);
    EXPECT_EQ(rt().call(swapped, "FirstLineIndent", {kTwips}).number(), 144.0);
    saved = SavedParagraphs(doc, "hanging-3.new.docx");
    EXPECT_NE(saved[2].find("<w:pPr><w:ind w:firstLine=\"144\"/></w:pPr>"), std::string::npos) << saved[2];

    // 0 removes either, and w:ind with the last attribute.
    rt().assign(swapped, "FirstLineIndent", {kCm}, 0.0);
    Object flush = Call(doc, "AppendParagraph", {"flush"});
    rt().assign(flush, "LeftIndent", {kTwips}, 720.0);
    rt().assign(flush, "FirstLineIndent", {kTwips}, -720.0);
    rt().assign(flush, "FirstLineIndent", {kTwips}, 0.0);
    EXPECT_EQ(rt().call(flush, "FirstLineIndent", {kTwips}).number(), 0.0);
    Object deep = Call(doc, "AppendParagraph", {"deep"});
    rt().assign(deep, "FirstLineIndent", {kTwips}, -1440.0);
    saved = SavedParagraphs(doc, "hanging-4.new.docx");
    ASSERT_EQ(saved.size(), 5u);
    EXPECT_EQ(saved[2].find("w:ind"), std::string::npos) << saved[2];
    EXPECT_NE(saved[3].find("<w:pPr><w:ind w:left=\"720\"/></w:pPr>"), std::string::npos) << saved[3];

    // Another reader sees the same indents (python-docx in EMU, 635 a twip).
    const std::string seen = python_docx_run(
        "import sys, docx\n"
        "for p in docx.Document(sys.argv[1]).paragraphs:\n"
        "    f = p.paragraph_format\n"
        "    print(f.first_line_indent, f.left_indent)\n",
        {path("hanging-4.new.docx")});
    EXPECT_EQ(seen, "None None\n"
                    "-179705 359410\n"
                    "None None\n"
                    "None 457200\n"
                    "-914400 None\n");
}

TEST_F(ParagraphTest, AppendedRunsTakeTheParagraphLanguageAndKnowTheirParagraph) {
    Object doc = Create("append-run.new.docx");
    Object p = Call(doc, "AppendParagraph", {"first"});
    EXPECT_EQ(Str(p, "LanguageCode"), "");
    Object run = Call(p, "AppendRun", {"second\tpart"});
    ASSERT_TRUE(run);
    EXPECT_EQ(rt().className(run), "VexlomarWord.Run");
    EXPECT_EQ(Str(run, "Text"), "second\tpart");
    EXPECT_FALSE(Bool(run, "IsPartOfComplexRun"));
    EXPECT_EQ(Int(p, "RunCount"), 2);
    EXPECT_EQ(Str(p, "Text"), "firstsecond\tpart");
    Object owner = rt().get(run, "OwnerParagraph").object();
    ASSERT_TRUE(owner);
    EXPECT_EQ(Str(owner, "Text"), "firstsecond\tpart");
    // The owner is a working view: changes through it show in the first.
    Call(owner, "AppendRun", {"!"});
    EXPECT_EQ(Int(p, "RunCount"), 3);

    rt().call(p, "SetLanguageCode", {"de-DE", false});
    EXPECT_EQ(Str(p, "LanguageCode"), "de-DE");
    EXPECT_EQ(Str(run, "LanguageCode"), "");
    Object german = Call(p, "AppendRun", {"Stra\xC3\x9F" "e"});
    EXPECT_EQ(Str(german, "LanguageCode"), "de-DE");
    std::vector<std::string> saved = SavedParagraphs(doc, "append-run-saved.new.docx");
    EXPECT_NE(saved[1].find("<w:pPr><w:rPr><w:lang w:val=\"de-DE\"/></w:rPr></w:pPr>"), std::string::npos)
        << saved[1];
    EXPECT_NE(saved[1].find("<w:r><w:rPr><w:lang w:val=\"de-DE\"/></w:rPr><w:t>Stra\xC3\x9F" "e</w:t></w:r>"),
              std::string::npos) << saved[1];
}

TEST_F(ParagraphTest, LanguageOnTheParagraphAndOnAllItsRuns) {
    Opened o = OpenParagraph("languages.docx",
                             "<w:pPr><w:jc w:val=\"left\"/><w:rPr><w:b/><w:lang w:val=\"en-GB\" w:eastAsia=\"ja-JP\"/>"
                             "</w:rPr></w:pPr><w:r><w:t>bare</w:t></w:r>" +
                                 std::string(kHyperlinkOpen) + "<w:r><w:rPr><w:i/></w:rPr><w:t>link</w:t></w:r></w:hyperlink>" +
                                 Field("PAGE", "1"));
    const Object& p = o.paragraph;
    EXPECT_EQ(Str(p, "LanguageCode"), "en-GB");
    rt().call(p, "SetLanguageCode", {"fr-FR", true});
    EXPECT_EQ(Str(p, "LanguageCode"), "fr-FR");
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Str(Call(p, "Run", {i}), "LanguageCode"), "fr-FR") << i;
    std::vector<std::string> saved = SavedParagraphs(o.doc, "languages-1.docx");
    // The existing w:lang keeps its place and its other attributes; runs get
    // w:rPr first and w:lang where the run properties' order has it.
    EXPECT_NE(saved[0].find("<w:rPr><w:b/><w:lang w:val=\"fr-FR\" w:eastAsia=\"ja-JP\"/></w:rPr></w:pPr>"
                            "<w:r><w:rPr><w:lang w:val=\"fr-FR\"/></w:rPr><w:t>bare</w:t></w:r>"),
              std::string::npos) << saved[0];
    EXPECT_NE(saved[0].find("<w:r><w:rPr><w:i/><w:lang w:val=\"fr-FR\"/></w:rPr><w:t>link</w:t></w:r>"),
              std::string::npos) << saved[0];

    // Without setOnRuns only the paragraph changes.
    rt().call(p, "SetLanguageCode", {"it-IT", false});
    EXPECT_EQ(Str(p, "LanguageCode"), "it-IT");
    EXPECT_EQ(Str(Call(p, "Run", {0}), "LanguageCode"), "fr-FR");

    // Empty removes, from the paragraph and from every run.
    rt().call(p, "SetLanguageCode", {"", true});
    EXPECT_EQ(Str(p, "LanguageCode"), "");
    saved = SavedParagraphs(o.doc, "languages-2.docx");
    EXPECT_EQ(saved[0].find("w:lang"), std::string::npos) << saved[0];
    EXPECT_NE(saved[0].find("<w:pPr><w:jc w:val=\"left\"/><w:rPr><w:b/></w:rPr></w:pPr>"), std::string::npos)
        << saved[0];

    // A paragraph without properties gets them.
    Object fresh = Call(o.doc, "AppendParagraph", {"new"});
    rt().call(fresh, "SetLanguageCode", {"nl-NL", true});
    saved = SavedParagraphs(o.doc, "languages-3.docx");
    EXPECT_NE(saved[1].find("<w:p><w:pPr><w:rPr><w:lang w:val=\"nl-NL\"/></w:rPr></w:pPr>"
                            "<w:r><w:rPr><w:lang w:val=\"nl-NL\"/></w:rPr><w:t>new</w:t></w:r></w:p>"),
              std::string::npos) << saved[1];
}

TEST_F(ParagraphTest, RemovingRunsAndFields) {
    Object doc = OpenBody("remove.docx", "<w:p>" + TextRun("a") + Field("PAGE", "2") + TextRun("b") + "</w:p>"
                                         "<w:p>" + TextRun("other") + "</w:p>");
    Object p = Call(doc, "Paragraph", {0});
    Object other = Call(doc, "Paragraph", {1});
    Object a = Call(p, "Run", {0});
    Object result = Call(p, "Run", {4});

    // Nil, and a run of another paragraph: nothing.
    rt().call(p, "RemoveParagraphItem", {vexrt::Nil{}});
    rt().call(p, "RemoveParagraphItem", {Call(other, "Run", {0})});
    EXPECT_EQ(Int(p, "RunCount"), 7);
    EXPECT_EQ(Int(other, "RunCount"), 1);

    // Any run of a field takes all five with it.
    rt().call(p, "RemoveParagraphItem", {result});
    EXPECT_EQ(Int(p, "RunCount"), 2);
    EXPECT_EQ(Str(p, "Text"), "ab");
    // The removed view still reads; removing it again changes nothing.
    EXPECT_EQ(Str(result, "Text"), "2");
    rt().call(p, "RemoveParagraphItem", {result});
    EXPECT_EQ(Int(p, "RunCount"), 2);

    rt().call(p, "RemoveParagraphItem", {a});
    rt().call(p, "RemoveParagraphItem", {a});
    EXPECT_EQ(Str(p, "Text"), "b");
    EXPECT_TRUE(rt().get(a, "OwnerParagraph").isNil());

    // A single part of a field (no part list of its own) goes alone.
    Object field = Call(p, "AppendTimeField", {1, 2, 3});
    rt().call(p, "RemoveParagraphItem", {Call(field, "ComplexRunPart", {0})});
    EXPECT_EQ(Int(p, "RunCount"), 5);

    std::vector<std::string> saved = SavedParagraphs(doc, "remove-saved.docx");
    EXPECT_EQ(saved[0].find("PAGE"), std::string::npos) << saved[0];
    EXPECT_EQ(saved[0].find("\"begin\""), std::string::npos) << saved[0];
    EXPECT_NE(saved[0].find("<w:t>b</w:t>"), std::string::npos) << saved[0];
}

TEST_F(ParagraphTest, RemovingAPictureRunDropsItsPictureOnlyWhenTheRunGoes) {
    const std::string pictureRun =
        "<w:r><w:drawing><wp:inline><wp:extent cx=\"9525\" cy=\"9525\"/><wp:docPr id=\"1\" name=\"p\"/>"
        "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
        "<pic:pic><pic:blipFill><a:blip r:embed=\"rIdImg\"/></pic:blipFill></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    DocxParts parts;
    parts.body = "<w:p>" + TextRun("keep") + pictureRun + "</w:p><w:p>" + TextRun("other") + "</w:p>";
    parts.documentRelationships =
        "<Relationship Id=\"rIdImg\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"media/image1.png\"/>";
    parts.extraEntries = {{"word/media/image1.png", "\x89PNG not really"}};
    write_docx(path("picture.zip"), parts);
    auto hasMedia = [&](const std::string& file) {
        const auto entries = zip_entries(path(file));
        return std::count(entries.begin(), entries.end(), "word/media/image1.png") == 1 &&
               zip_read(path(file), "word/_rels/document.xml.rels").find("rIdImg") != std::string::npos;
    };

    Object doc = rt().callShared("Document", "Open", {folderItem(path("picture.zip"))}).object();
    Object p = Call(doc, "Paragraph", {0});
    Object picture = Call(p, "Run", {1});
    ASSERT_TRUE(Bool(picture, "IsDrawing"));
    // Through a paragraph that does not hold it: the run and its picture stay.
    rt().call(Call(doc, "Paragraph", {1}), "RemoveParagraphItem", {picture});
    rt().call(doc, "SaveAs", {folderItem(path("still.zip"))});
    EXPECT_TRUE(hasMedia("still.zip"));
    EXPECT_EQ(Int(p, "RunCount"), 2);

    rt().call(p, "RemoveParagraphItem", {picture});
    rt().call(p, "RemoveParagraphItem", {picture});
    EXPECT_EQ(Int(p, "RunCount"), 1);
    rt().call(doc, "SaveAs", {folderItem(path("gone.zip"))});
    EXPECT_FALSE(hasMedia("gone.zip"));
    EXPECT_EQ(zip_read(path("gone.zip"), "word/document.xml").find("w:drawing"), std::string::npos);
}
