// Paragraphs of tens of thousands of field characters through the loaded
// plug-in: begins that nothing ends, begins nested deep and then ended, and
// ends and separates without begins. Every run and item is read in order,
// each field's parts too, and the document is saved and opened again.
// Reading them all takes a fraction of a second; a pairing that walks from
// each run to its field's end took a minute, and these tests with it.
//
// The packages are valid, but their fields are not what a checker should
// judge a word processor's output by, so they are not named .docx.
#include <string>

#include "paragraph_fixture.h"

using vexrt::Object;

namespace {

constexpr int kFields = 50000;

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    out.reserve(piece.size() * size_t(times));
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

class DamagedFieldsTest : public ParagraphFixture {
protected:
    // Saves a copy, opens it and returns its first paragraph.
    Object Reopened(const Object& doc, const std::string& file) {
        SaveCopy(doc, file);
        Object copy = rt().callShared("Document", "Open", {folderItem(path(file))}).object();
        return copy ? Call(copy, "Paragraph", {0}) : Object();
    }
    // How many runs of the saved first paragraph have a field character of
    // each type: begin, separate, end.
    std::vector<int> SavedFieldChars(const Object& doc, const std::string& file) {
        const std::vector<std::string> paragraphs = SavedParagraphs(doc, file);
        std::vector<int> counts(3, 0);
        if (paragraphs.empty()) return counts;
        pugi::xml_document p;
        EXPECT_TRUE(p.load_string(paragraphs[0].c_str()));
        for (pugi::xml_node run : p.first_child().children("w:r")) {
            const std::string type = run.child("w:fldChar").attribute("w:fldCharType").value();
            if (type == "begin") ++counts[0];
            if (type == "separate") ++counts[1];
            if (type == "end") ++counts[2];
        }
        return counts;
    }
};

}  // namespace

// "a", then 50,000 begin runs and no end: each begin opens a field that runs
// to the last run, so run i has 50,001 - i parts and shows the last run's
// (empty) text; only "a" is a logical run.
TEST_F(DamagedFieldsTest, FiftyThousandUnendedBeginsAreReadAndSaved) {
    Opened o = OpenParagraph("unended.bin", TextRun("a") + Repeat(FieldChar("begin"), kFields));
    const Object& p = o.paragraph;
    ASSERT_TRUE(p);
    ASSERT_EQ(Int(p, "RunCount"), kFields + 1);
    EXPECT_EQ(Int(p, "ParagraphItemCount"), kFields + 1);
    EXPECT_EQ(Int(p, "LogicalRunCount"), 1);
    EXPECT_EQ(Int(p, "LogicalParagraphItemCount"), 1);
    EXPECT_EQ(Str(p, "Text"), "a");

    int wrong = 0;
    for (int i = 0; i <= kFields; ++i) {
        Object run = Call(p, "Run", {i});
        const int64_t expected = i == 0 ? 0 : kFields + 1 - i;
        if (Int(run, "ComplexRunPartCount") != expected || Str(run, "Text") != (i == 0 ? "a" : "")) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "runs read wrongly";
    wrong = 0;
    for (int i = 0; i <= kFields; ++i) {
        Object item = Call(p, "ParagraphItem", {i});
        if (Bool(item, "IsPartOfComplexRun") != (i > 0) || Int(item, "FieldSeparator") != (i == 0 ? -1 : 0)) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "items read wrongly";
    EXPECT_EQ(Str(Call(p, "LogicalParagraphItem", {0}), "Text"), "a");
    EXPECT_TRUE(rt().call(p, "LogicalParagraphItem", {1}).isNil());

    // The first field's parts are every begin run, in order.
    Object first = Call(p, "Run", {1});
    wrong = 0;
    for (int k = 0; k < kFields; ++k)
        if (Int(Call(first, "ComplexRunPart", {k}), "FieldSeparator") != 0) ++wrong;
    EXPECT_EQ(wrong, 0) << "parts read wrongly";
    EXPECT_RAISED(rt().call(first, "ComplexRunPart", {kFields}), "OutOfBoundsException", "index is out of bounds", 1);
    EXPECT_EQ(Str(first, "InstrText"), "");
    EXPECT_EQ(Int(first, "ComplexRunFieldType"), 0);

    // A run appended joins every open field, and gives them its text.
    rt().call(p, "AppendRun", {"z"});
    EXPECT_EQ(Int(Call(p, "Run", {1}), "ComplexRunPartCount"), kFields + 1);
    EXPECT_EQ(Str(Call(p, "Run", {kFields}), "Text"), "z");
    EXPECT_EQ(Int(Call(p, "Run", {kFields + 1}), "ComplexRunPartCount"), 2);
    EXPECT_EQ(Str(p, "Text"), "az");

    EXPECT_EQ(SavedFieldChars(o.doc, "unended-saved.bin"), (std::vector<int>{kFields, 0, 0}));
    Object again = Reopened(o.doc, "unended-again.bin");
    ASSERT_TRUE(again);
    EXPECT_EQ(Int(again, "RunCount"), kFields + 2);
    EXPECT_EQ(Int(again, "LogicalParagraphItemCount"), 1);
    EXPECT_EQ(Str(again, "Text"), "az");
    EXPECT_EQ(Int(Call(again, "Run", {kFields + 1}), "ComplexRunPartCount"), 2);
}

// 50,000 begins, then 50,000 ends: the first end closes every begin, so
// begin i has the parts from itself to that end and the ends after it are
// runs of their own, each a logical run.
TEST_F(DamagedFieldsTest, FiftyThousandNestedFieldsAreReadAndSaved) {
    Opened o = OpenParagraph("nested.bin", Repeat(FieldChar("begin"), kFields) + Repeat(FieldChar("end"), kFields));
    const Object& p = o.paragraph;
    ASSERT_TRUE(p);
    ASSERT_EQ(Int(p, "ParagraphItemCount"), 2 * kFields);
    EXPECT_EQ(Int(p, "LogicalRunCount"), kFields);
    EXPECT_EQ(Int(p, "LogicalParagraphItemCount"), kFields);
    EXPECT_EQ(Str(p, "Text"), "");

    int wrong = 0;
    for (int i = 0; i < 2 * kFields; ++i) {
        Object item = Call(p, "ParagraphItem", {i});
        const int64_t expected = i < kFields ? kFields + 1 - i : i == kFields ? 2 : 0;
        if (Int(item, "ComplexRunPartCount") != expected) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "items read wrongly";
    wrong = 0;
    for (int i = 0; i < kFields; ++i) {
        Object run = Call(p, "LogicalRun", {i});
        if (Int(run, "FieldSeparator") != 1 || Int(run, "ComplexRunPartCount") != (i == 0 ? 2 : 0)) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "logical runs read wrongly";
    // The innermost field: its begin and the first end.
    Object innermost = Call(p, "LogicalParagraphItem", {0});
    EXPECT_EQ(Int(Call(innermost, "ComplexRunPart", {0}), "FieldSeparator"), 0);
    EXPECT_EQ(Int(Call(innermost, "ComplexRunPart", {1}), "FieldSeparator"), 1);

    EXPECT_EQ(SavedFieldChars(o.doc, "nested-saved.bin"), (std::vector<int>{kFields, 0, kFields}));
    Object again = Reopened(o.doc, "nested-again.bin");
    ASSERT_TRUE(again);
    EXPECT_EQ(Int(again, "RunCount"), 2 * kFields);
    EXPECT_EQ(Int(again, "LogicalRunCount"), kFields);
}

// 25,000 times an end and a separate that no begin opened (50,000 stray
// field characters), and a text run;
// then one sound field. Only the field's runs are parts of a field.
TEST_F(DamagedFieldsTest, FiftyThousandStrayEndsAndSeparatesAreOrdinaryRuns) {
    const int kStray = kFields / 2;
    const std::string stray = FieldChar("end") + FieldChar("separate") + TextRun("x");
    Opened o = OpenParagraph("stray.bin", Repeat(stray, kStray) + Field("PAGE", "7"));
    const Object& p = o.paragraph;
    ASSERT_TRUE(p);
    const int runs = 3 * kStray + 5;
    ASSERT_EQ(Int(p, "RunCount"), runs);
    EXPECT_EQ(Int(p, "LogicalRunCount"), 3 * kStray + 1);
    const std::string text = std::string(size_t(kStray), 'x') + "7";
    EXPECT_EQ(Str(p, "Text"), text);

    int wrong = 0;
    for (int i = 0; i < runs; ++i)
        if (Bool(Call(p, "Run", {i}), "IsPartOfComplexRun") != (i >= 3 * kStray)) ++wrong;
    EXPECT_EQ(wrong, 0) << "runs read wrongly";
    // What vexword puts together from the logical items: the field once.
    std::string shown;
    const int64_t items = Int(p, "LogicalParagraphItemCount");
    for (int64_t i = 0; i < items; ++i) shown += Str(Call(p, "LogicalParagraphItem", {i}), "Text");
    EXPECT_EQ(shown, text);
    Object field = Call(p, "LogicalRun", {3 * kStray});
    EXPECT_EQ(Int(field, "ComplexRunPartCount"), 5);
    EXPECT_EQ(Int(field, "ComplexRunFieldType"), 4);

    EXPECT_EQ(SavedFieldChars(o.doc, "stray-saved.bin"), (std::vector<int>{1, kStray + 1, kStray + 1}));
    Object again = Reopened(o.doc, "stray-again.bin");
    ASSERT_TRUE(again);
    EXPECT_EQ(Str(again, "Text"), text);
    EXPECT_EQ(Int(again, "LogicalRunCount"), 3 * kStray + 1);
}
